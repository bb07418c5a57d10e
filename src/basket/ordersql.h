#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class Connection;

// The statements of the basket lines and of the order history, built from what the user typed
// or chose. Every text value is quoted (apostrophes doubled); every number is checked before it
// enters a statement, so a refused input never reaches the database.
namespace OrderSql {

// A price as typed or read, beside the column that holds it and the caption the user knows it by.
struct Price {
    QString field;   // FieldName
    QString caption; // Name
    QString text;    // as typed: empty is 0, the first comma is the decimal point
};

// The quantity typed (digits only): 0 for an empty or zero text. Throws CatalogError with a
// message for the user when it is too large for the quantity column (a 32-bit integer).
int quantity(const QString& typed);

// A price as it enters a statement; throws CatalogError naming the price's caption when the
// text is not a number.
QString price(const Price& p);

// The basket line with this key form.
QStringList findLine(const QString& key);
// The highest line number of the basket (NULL when it is empty).
QStringList lastLine();
// A new line numbered n.
QStringList insertLine(int n, const QString& number, const QString& key, const QString& name, int k,
                       const QString& weight, const std::vector<Price>& prices);
// The quantity added to the line with this key form (its prices stay).
QStringList addToLine(const QString& key, int k);
// The line's quantity and every price replaced.
QStringList changeLine(const QString& key, int k, const std::vector<Price>& prices);
// Deleting line or record n of table (Order_ or History), and closing up the numbers behind it.
QStringList deleteNumbered(const QString& table, int n);
QStringList closeUp(const QString& table, int n);

// The history's filter: "Любой" is any supplier or buyer, any other text is a like pattern as
// typed; dates are dd.mm.yyyy, both inclusive.
struct HistoryFilter {
    QString supplier;
    QString buyer;
    QString from;
    QString to;
};
inline const QString Any = QStringLiteral("Любой");

// The record of one basket line filed as number n (date dd.mm.yyyy).
QStringList historyRecord(int n, const QString& supplier, const QString& buyer, const QString& date,
                          const QString& number, const QString& name, const QString& k,
                          const QString& weight, const std::vector<Price>& prices);
// The highest record number of the history (NULL when it is empty).
QStringList lastRecord();
// The records the filter shows, with a with-VAT column per price field, in number order.
QStringList historySelect(const QStringList& priceFields, int ndsPercent,
                          const HistoryFilter& filter);
// The totals row over the records the filter shows.
QStringList historyTotals(const QStringList& priceFields, int ndsPercent,
                          const HistoryFilter& filter);

// The enterprises in register order.
QStringList enterprises();

} // namespace OrderSql
