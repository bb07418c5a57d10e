#pragma once

#include <QColor>
#include <QString>
#include <QVariant>
#include <array>
#include <map>
#include <utility>

// A spreadsheet built the way one drives a spreadsheet program by automation: ranges named by
// their corner cells, values, formulas, fonts, fills, number formats, borders and column
// widths. It is kept in memory and saved as .xlsx or as CSV; nothing is shown.
namespace Sheet {

// Column letters: 1 is "A", 26 "Z", 27 "AA", 28 "AB" ...
QString columnName(int column);
// "B7" from column 2, row 7.
QString cellName(int column, int row);
// Column and row (1-based) of a cell name such as "AB12"; false when it is not one.
bool parseCell(const QString& name, int* column, int* row);

// Border indexes and settings as the automation interface numbers them.
enum BorderIndex {
    EdgeLeft = 7,
    EdgeTop = 8,
    EdgeBottom = 9,
    EdgeRight = 10,
    InsideVertical = 11,
    InsideHorizontal = 12
};
enum LineStyle { Continuous = 1, Dash = -4115, Dot = -4118, Double = -4119, LineNone = -4142 };
enum BorderWeight { Hairline = 1, Thin = 2, Medium = -4138, Thick = 4 };
constexpr int ColorIndexAutomatic = -4105;

struct BorderSide {
    int lineStyle = LineNone;
    int weight = Thin;
};

struct Cell {
    QVariant value;    // text, integer or floating; invalid for an empty cell
    QString formula;   // "=..." or empty
    double cached = 0; // the formula's value as computed by the program
    bool bold = false;
    QColor interior;      // invalid: no fill
    QString numberFormat; // in the file's notation ("0.00"), empty: general
    // left, top, bottom, right
    std::array<BorderSide, 4> borders{};
};

class Worksheet;

// The block between two corner cells of a sheet.
class Range {
public:
    Range(Worksheet& sheet, int column1, int row1, int column2, int row2);

    // Value of every cell: a text, an integer or a floating number.
    void setValue(const QVariant& value);
    // A formula such as "=F2*(100+20)/100" with the value it computes, stored beside it so that
    // a reader that does not recalculate shows the right number. Written into every cell as it
    // stands (references are not shifted).
    void setFormula(const QString& formula, double computed);
    void setBold(bool bold);
    void setInteriorColor(const QColor& color);
    // A number format in the file's notation: "." before decimals, "," groups thousands.
    void setNumberFormat(const QString& format);
    // A number format as a Russian user types it: "," before decimals ("0,00"), a blank
    // between thousands; converted to the file's notation.
    void setNumberFormatLocal(const QString& format);
    // Fits the widths of the range's columns to the texts of the range's cells.
    void autoFitColumns();
    // One border of the block (an edge, or the lines between its cells).
    void setBorder(int index, int lineStyle = Continuous, int weight = Thin,
                   int colorIndex = ColorIndexAutomatic);
    // Makes this block the sheet's selection.
    void select();

    int column1() const { return c1; }
    int row1() const { return r1; }
    int column2() const { return c2; }
    int row2() const { return r2; }

private:
    template <typename F> void each(F f);

    Worksheet& sheet;
    int c1, r1, c2, r2;
};

class Worksheet {
public:
    // The block with the given corner cells ("A1", "G7"); throws CatalogError on a bad name.
    Range range(const QString& from, const QString& to);
    Range range(int column1, int row1, int column2, int row2);
    Range selection() { return range(sel[0], sel[1], sel[2], sel[3]); }

    // Width in characters of the default font.
    void setColumnWidth(int column, double width);
    double columnWidth(int column) const; // 0: the default width

    // The cell, or nullptr when nothing was ever set on it.
    const Cell* cell(int column, int row) const;
    Cell& at(int column, int row) { return cells[{row, column}]; }
    // Cells in row order, then column order; keys are (row, column).
    const std::map<std::pair<int, int>, Cell>& allCells() const { return cells; }
    const std::map<int, double>& columnWidths() const { return widths; }
    int lastRow() const;
    int lastColumn() const;

    // The text a cell shows: formulas their computed value, numbers in their number format
    // with the given decimal separator.
    QString displayText(int column, int row, QChar decimalPoint = QLatin1Char('.')) const;

private:
    friend class Range;
    std::map<std::pair<int, int>, Cell> cells;
    std::map<int, double> widths;
    std::array<int, 4> sel{1, 1, 1, 1};
};

// A workbook of one sheet.
class Workbook {
public:
    Worksheet& activeSheet() { return sheet; }
    const Worksheet& activeSheet() const { return sheet; }
    // Writes an .xlsx file (libxlsxwriter) beside path and puts it in place when complete.
    // Throws FileError naming the file.
    void saveXlsx(const QString& path) const;
    // Writes the shown texts as CSV: UTF-8 with a byte-order mark, ";" between cells, "," as
    // the decimal separator, texts quoted where needed. Throws FileError naming the file.
    void saveCsv(const QString& path) const;

private:
    Worksheet sheet;
};

} // namespace Sheet
