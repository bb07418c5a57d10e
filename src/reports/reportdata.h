#pragma once

#include <QStringList>
#include <QVariant>

class QSettings;

// The report data's own statement and the remembered choices of the settings key.
namespace ReportData {

// The settings values: positions (0-based, -1 for none) of the basket panel's buyer and
// supplier boxes and of the report data dialog's price column.
inline const QString BuyerKey = QStringLiteral("Buyer");
inline const QString SupplierKey = QStringLiteral("Supplier");
inline const QString PriceKey = QStringLiteral("PriceToReport");

// Every basket line's PriceToReport set to its price in the column field (a column of
// Order_ named by PriceFields.FieldName).
QStringList copyPrice(const QString& field);

// A stored position: a whole number as stored; a missing value or one that is no whole
// number counts as 0.
int storedPosition(const QSettings& settings, const QString& key);

// The entry a box of count entries shows for a stored position: none (-1) beyond the list.
int entryFor(int position, int count);

} // namespace ReportData
