#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class TQuery;

// A standardized item as the panel shows it and the sheet prints it: the names of its
// illustrations, how they are fitted, and which of its thirteen parameters are listed.
namespace StdItem {

struct Param {
    QString name;
    QString value;
    bool operator==(const Param& other) const { return name == other.name && value == other.value; }
};

// A value as two digits or more: 3 is "03", 15 "15", 100 "100".
QString twoDigits(int value);

// The panel's illustration: modification, "_", subgroup and picture number ("2_0315.bmp").
QString panelPicture(int modif, int podGroup, int picGost);
// The sheet's illustration: "s", subgroup and picture number ("s1203.bmp").
QString sheetPicture(int podGroup, int picGost);
// The pictures shown when an item's own is missing (or no item is shown).
inline const QString PanelFallback = QStringLiteral("1_0100.bmp");
inline const QString SheetFallback = QStringLiteral("s0100.bmp");

// dir + name when that file exists, else dir + fallback (which may be missing too).
QString pictureOrFallback(const QString& dir, const QString& name, const QString& fallback);

// The panel's picture in a box, proportions kept: a picture taller than the box's shape takes
// its height and is centred across, any other its width and is centred down.
QRect panelFit(QSize box, QSize picture);
// The sheet's picture in screen pixels: proportions kept within 400 x 800.
QSize sheetSize(QSize picture);

// The parameters of the current row of an STD query. The panel lists every filled one in
// column order; the sheet stops at the first without a name and skips those without a value.
std::vector<Param> panelParams(const TQuery& row);
std::vector<Param> sheetParams(const TQuery& row);

} // namespace StdItem
