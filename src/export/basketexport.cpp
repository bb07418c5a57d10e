#include "export/basketexport.h"

#include "data/tquery.h"
#include "export/workbook.h"

#include <QColor>

namespace BasketExport {

namespace {

const QColor HeadingGrey(198, 195, 198);
constexpr int WeightColumn = 5; // E

QString cell(int column, int row) {
    return Sheet::cellName(column, row);
}

// Every cell is addressed as a block from the cell to itself.
Sheet::Range at(Sheet::Worksheet& s, int column, int row) {
    return s.range(column, row, column, row);
}

void borders(Sheet::Worksheet& s, int column1, int row1, int column2, int row2, int lastIndex) {
    s.range(column1, row1, column2, row2).select();
    for (int b = Sheet::EdgeLeft; b <= lastIndex; ++b)
        s.selection().setBorder(b, Sheet::Continuous, Sheet::Thin, Sheet::ColorIndexAutomatic);
}

} // namespace

void fill(Sheet::Worksheet& s, const std::vector<TDM::PriceColumn>& columns, TQuery& lines,
          int ndsPercent, const std::function<void()>& step) {
    const QStringList heading{QStringLiteral("№"), QStringLiteral("Номер"),
                              QStringLiteral("Наименование"), QStringLiteral("Кол-во"),
                              QStringLiteral("Вес")};
    for (int c = 0; c < heading.size(); ++c)
        at(s, c + 1, 1).setValue(heading[c]);

    QStringList fields;
    for (const TDM::PriceColumn& p : columns) {
        if (p.visible) {
            const int price = WeightColumn + 1 + 2 * int(fields.size());
            at(s, price, 1).setValue(p.name);
            at(s, price + 1, 1).setValue(p.name + QStringLiteral(" с НДС"));
            fields << p.field;
        }
        step();
    }
    const int n = int(fields.size());
    const int last = WeightColumn + 2 * n;

    // The totals are computed here as the formulas compute them, so that the file shows them
    // to a reader that does not recalculate.
    std::vector<double> totals(size_t(last - WeightColumn + 1), 0.0);
    int r = 2;
    for (lines.first(); !lines.eof(); lines.next(), ++r) {
        const int k = lines.asInteger(QStringLiteral("K"));
        const double v = lines.asFloat(QStringLiteral("V"));
        at(s, 1, r).setValue(lines.asInteger(QStringLiteral("N")));
        at(s, 2, r).setValue(lines.asString(QStringLiteral("ID")));
        at(s, 3, r).setValue(lines.asString(QStringLiteral("Name")));
        at(s, 4, r).setValue(k);
        at(s, WeightColumn, r).setValue(v);
        totals[0] += v * k;
        for (int j = 0; j < n; ++j) {
            const int price = WeightColumn + 1 + 2 * j;
            const double value = lines.asFloat(fields[j]);
            const double withVat = value * (100 + ndsPercent) / 100;
            at(s, price, r).setValue(value);
            at(s, price + 1, r)
                .setFormula(QStringLiteral("=%1*(100+%2)/100").arg(cell(price, r)).arg(ndsPercent),
                            withVat);
            totals[size_t(price - WeightColumn)] += value * k;
            totals[size_t(price + 1 - WeightColumn)] += withVat * k;
        }
        step();
    }
    const int m = r - 2;
    const int t = m + 3;

    Sheet::Range itogo = at(s, 4, t);
    itogo.setValue(QStringLiteral("ИТОГО"));
    itogo.setBold(true);
    itogo.setInteriorColor(HeadingGrey);
    step();

    for (int c = WeightColumn; c <= last; ++c) {
        const QString x = Sheet::columnName(c);
        QString formula = QStringLiteral("=") + x + QStringLiteral("2*D2");
        for (int i = 3; i <= m + 1; ++i)
            formula += QStringLiteral("+%1%2*D%2").arg(x).arg(i);
        at(s, c, t).setFormula(formula, totals[size_t(c - WeightColumn)]);
    }
    step();

    Sheet::Range head = s.range(1, 1, last, 1);
    head.setBold(true);
    head.setInteriorColor(HeadingGrey);
    s.range(2, 2, 3, t).setNumberFormat(QStringLiteral("@"));
    s.range(WeightColumn, 2, WeightColumn, t).setNumberFormatLocal(QStringLiteral("0,000"));
    // With no visible price column the price block would fall back onto the weights.
    if (n > 0) s.range(WeightColumn + 1, 2, last, t).setNumberFormatLocal(QStringLiteral("0,00"));
    for (int c : {1, 4, WeightColumn})
        s.range(c, 1, c, t).autoFitColumns();
    s.setColumnWidth(2, 14);
    s.setColumnWidth(3, 25);
    for (int c = WeightColumn + 1; c <= last; ++c)
        s.setColumnWidth(c, 15);
    step();

    borders(s, 1, 1, last, m + 1, Sheet::InsideHorizontal);
    step();
    borders(s, 4, t, last, t, Sheet::InsideVertical);
    step();

    at(s, 1, 1).select();
}

} // namespace BasketExport
