#pragma once

#include <QString>
#include <QStringList>

class TDM;

// Price columns: a row of PriceFields and a float column of that name in each of the tables
// Price, Order_, OrderAll and History. These routines are the one writer of both.
namespace PriceColumns {

// The tables that carry a column per price column.
extern const QStringList Tables;

// The FieldName of a new price column, made from the last FieldName in table order: none gives
// "Price", "Price" gives "Price1", "Price"+n gives "Price"+(n+1), "PriceZ" gives "Price". A name
// the rule would repeat is replaced by the next free "Price"+number.
QString nextFieldName(const QStringList& fields);

// The VAT rate typed into its two-place masked input: the first two characters, a first one
// that is no digit counting as 0, a second one that is no digit ending the number.
int parseNds(const QString& text);

// The statements, all in one transaction, that make or remove column field everywhere.
QStringList createStatements(const QString& field, const QString& name);
QStringList deleteStatements(const QString& field);
QString renameStatement(const QString& field, const QString& name);
QString visibleStatement(const QString& field, bool visible);

// Creates a price column named name (visible) in PriceFields, the four tables and the display
// fields of the data module; returns its FieldName. On failure nothing is left changed.
QString create(TDM& dm, const QString& name);
// Removes price column field from PriceFields, the four tables and the display fields.
void remove(TDM& dm, const QString& field);

} // namespace PriceColumns
