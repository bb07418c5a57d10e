#pragma once

#include <QString>
#include <QStringList>

// The statements of the quick search box and of the where-used window.
namespace QuickSql {

// How a row of the quick search matched what was typed; the list is ordered by it.
enum Rank { ExactNumber = 0, NumberPrefix = 1, NameStart = 2, NameInside = 3 };

// Up to limit parts of the visible modifications (modFilter) for a typed text: the key form
// equal to the typed number's, then key forms beginning with it (both without regard to
// case), then names beginning with the text, then names holding it (through the index of part
// names from three characters on; the first found in catalogue order, listed by name). Columns:
// Rank, N_f, N, Name, V, modif, MODName, Drawings (how many drawings show the part, counted
// among its first hundred occurrences) and MoreDrawings (it has more occurrences). Empty
// for a blank text. Without the name index (nameIndex false) names are matched by their
// beginning only.
QString matches(const QString& typed, const QString& modFilter, bool nameIndex, int limit = 20);

// The occurrences of a part in one modification, those on a drawing first, in drawing and
// position order; columns of the view Find.
QStringList occurrences(const QString& nf, int modif);

// The part itself in one modification, columns of the view forFind.
QString part(const QString& nf, int modif);

// Every occurrence of a part (key form nf) in the visible modifications: modif, MODName,
// GroupN, GroupName, Picture, PicName, Position, Quantity, SE (the assembly it belongs to), in
// modification, group and drawing order.
QString whereUsed(const QString& nf, const QString& modFilter);

// The members of an assembly (key form se) in the visible modifications: the columns of
// whereUsed, SE replaced by N, Name and N_f of the member.
QString members(const QString& se, const QString& modFilter);

} // namespace QuickSql
