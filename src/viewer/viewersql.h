#pragma once

#include <QString>
#include <QStringList>

// The drawing viewer's statements.
namespace ViewerSql {

// The positions of drawing picture of modification modif, in position order.
QStringList markers(int picture, int modif);
// The drawing itself: its modification's name, its group and its name.
QStringList drawing(int picture, int modif);
// The part at a position of a drawing.
QStringList partAt(int modif, int picture, int position);
// The part numbered n on a drawing (an assembly chosen in the list of assemblies).
QStringList partOnDrawing(int picture, const QString& n);
// The members of assembly se on a drawing.
QStringList membersOf(int picture, const QString& se);
// The standardized items of a part (key form nf), of one modification or of any.
QStringList standardOf(int modif, const QString& nf);
QStringList standardOf(const QString& nf);
// The tree's groups over the visible modifications (modFilter), in tree order, each with its
// number of drawings (column Drawings): the tree is built from these at start, and a group's
// drawings are read when it is first opened.
QStringList treeGroups(const QString& modFilter);
// The drawings of one group of a modification, in tree order.
QStringList treeDrawings(int modif, int indexGr);

} // namespace ViewerSql
