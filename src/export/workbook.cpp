#include "export/workbook.h"

#include "data/dberror.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace Sheet {

QString columnName(int column) {
    QString name;
    for (int c = column; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

QString cellName(int column, int row) {
    return columnName(column) + QString::number(row);
}

bool parseCell(const QString& name, int* column, int* row) {
    static const QRegularExpression re(QStringLiteral("^([A-Za-z]{1,3})([1-9][0-9]{0,6})$"));
    const auto m = re.match(name.trimmed());
    if (!m.hasMatch()) return false;
    int c = 0;
    for (const QChar ch : m.captured(1).toUpper())
        c = c * 26 + (ch.unicode() - u'A' + 1);
    *column = c;
    *row = m.captured(2).toInt();
    return true;
}

Range::Range(Worksheet& s, int column1, int row1, int column2, int row2)
    : sheet(s), c1(std::min(column1, column2)), r1(std::min(row1, row2)),
      c2(std::max(column1, column2)), r2(std::max(row1, row2)) {}

template <typename F> void Range::each(F f) {
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            f(sheet.at(c, r));
}

void Range::setValue(const QVariant& value) {
    each([&](Cell& cell) {
        cell.value = value;
        cell.formula.clear();
    });
}

void Range::setFormula(const QString& formula, double computed) {
    each([&](Cell& cell) {
        cell.value = QVariant();
        cell.formula = formula;
        cell.cached = computed;
    });
}

void Range::setBold(bool bold) {
    each([&](Cell& cell) { cell.bold = bold; });
}

void Range::setInteriorColor(const QColor& color) {
    each([&](Cell& cell) { cell.interior = color; });
}

void Range::setNumberFormat(const QString& format) {
    each([&](Cell& cell) { cell.numberFormat = format; });
}

void Range::setNumberFormatLocal(const QString& format) {
    // Outside quoted text: "," becomes ".", a blank (the thousands separator) becomes ",".
    QString out;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == QLatin1Char('"')) quoted = !quoted;
        if (!quoted && ch == QLatin1Char(','))
            out += QLatin1Char('.');
        else if (!quoted && (ch == QLatin1Char(' ') || ch == QChar(0x00A0)))
            out += QLatin1Char(',');
        else
            out += ch;
    }
    setNumberFormat(out);
}

void Range::autoFitColumns() {
    for (int c = c1; c <= c2; ++c) {
        double widest = 0;
        for (int r = r1; r <= r2; ++r) {
            const Cell* cell = sheet.cell(c, r);
            if (!cell) continue;
            const double chars = double(sheet.displayText(c, r).size());
            widest = std::max(widest, cell->bold ? chars * 1.1 : chars);
        }
        // A little room for the cell's margins; an empty column keeps a narrow width.
        sheet.setColumnWidth(c, std::max(2.0, std::ceil(widest) + 1.0));
    }
}

void Range::setBorder(int index, int lineStyle, int weight, int /*colorIndex: automatic*/) {
    const BorderSide side{lineStyle, weight};
    enum { Left, Top, Bottom, Right };
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) {
            auto& b = sheet.at(c, r).borders;
            switch (index) {
            case EdgeLeft:
                if (c == c1) b[Left] = side;
                break;
            case EdgeTop:
                if (r == r1) b[Top] = side;
                break;
            case EdgeBottom:
                if (r == r2) b[Bottom] = side;
                break;
            case EdgeRight:
                if (c == c2) b[Right] = side;
                break;
            case InsideVertical:
                if (c < c2) b[Right] = side;
                if (c > c1) b[Left] = side;
                break;
            case InsideHorizontal:
                if (r < r2) b[Bottom] = side;
                if (r > r1) b[Top] = side;
                break;
            default:
                throw CatalogError(QStringLiteral("Неизвестная граница ячеек: %1").arg(index));
            }
        }
}

void Range::select() {
    sheet.sel = {c1, r1, c2, r2};
}

Range Worksheet::range(const QString& from, const QString& to) {
    int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    if (!parseCell(from, &c1, &r1) || !parseCell(to, &c2, &r2))
        throw CatalogError(QStringLiteral("Неверный адрес ячеек: %1:%2").arg(from, to));
    return Range(*this, c1, r1, c2, r2);
}

Range Worksheet::range(int column1, int row1, int column2, int row2) {
    if (std::min({column1, row1, column2, row2}) < 1)
        throw CatalogError(QStringLiteral("Неверный адрес ячеек"));
    return Range(*this, column1, row1, column2, row2);
}

void Worksheet::setColumnWidth(int column, double width) {
    widths[column] = width;
}

double Worksheet::columnWidth(int column) const {
    const auto it = widths.find(column);
    return it == widths.end() ? 0 : it->second;
}

const Cell* Worksheet::cell(int column, int row) const {
    const auto it = cells.find({row, column});
    return it == cells.end() ? nullptr : &it->second;
}

int Worksheet::lastRow() const {
    return cells.empty() ? 0 : cells.rbegin()->first.first;
}

int Worksheet::lastColumn() const {
    int last = 0;
    for (const auto& [key, cell] : cells)
        last = std::max(last, key.second);
    return last;
}

namespace {

// Decimals a number format asks for: the zeros after its decimal point; -1 for general.
int decimalsOf(const QString& format) {
    if (format.isEmpty() || format == QLatin1String("General")) return -1;
    const int point = int(format.indexOf(QLatin1Char('.')));
    if (point < 0) return 0;
    int n = 0;
    while (point + 1 + n < format.size() && format[point + 1 + n] == QLatin1Char('0'))
        ++n;
    return n;
}

} // namespace

QString Worksheet::displayText(int column, int row, QChar decimalPoint) const {
    const Cell* c = cell(column, row);
    if (!c) return QString();
    QVariant v = c->formula.isEmpty() ? c->value : QVariant(c->cached);
    if (!v.isValid() || v.isNull()) return QString();
    if (c->numberFormat == QLatin1String("@") || v.typeId() == QMetaType::QString)
        return v.toString();
    const int id = v.typeId();
    const bool integral = id == QMetaType::Int || id == QMetaType::LongLong ||
                          id == QMetaType::UInt || id == QMetaType::ULongLong;
    const int decimals = decimalsOf(c->numberFormat);
    QString text;
    if (decimals >= 0)
        text = QString::number(v.toDouble(), 'f', decimals);
    else
        text = integral ? QString::number(v.toLongLong()) : QString::number(v.toDouble(), 'g', 15);
    text.replace(QLatin1Char('.'), decimalPoint);
    return text;
}

} // namespace Sheet
