#pragma once

#include <QStringList>

// The basket's statements. priceFields are the price columns of the table (Price, PriceZ ...);
// ndsPercent the VAT rate.
namespace BasketSql {

// The basket's lines with a with-VAT column <field>NDS per price column, by number.
QStringList lines(const QStringList& priceFields, int ndsPercent);
// The totals row: weight OB_VES and per price column OB_<field> and OB_<field>NDS.
QStringList totals(const QStringList& priceFields, int ndsPercent);

} // namespace BasketSql
