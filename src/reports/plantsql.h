#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// One enterprise of the register as its columns hold it: the name (the key) and the fifteen
// text columns by column name ("Type", "Address" ... "Rem"). A column not set is empty.
struct PlantRecord {
    QString name;
    QHash<QString, QString> fields;

    QString field(const QString& column) const { return fields.value(column); }
};

// The enterprise register's statements. Every text value is quoted; the enterprise number
// (Index) is a full integer.
namespace PlantSql {

// The fifteen text columns besides Name, in the order of the insert statement.
const QStringList& columns();
// Of them, the contacts kept in the packed form (telephones, faxes, e-mail).
const QStringList& contactColumns();

// Every enterprise in register order (by Index: a bare "select Name" would come back in the
// order of the unique index on Name).
QStringList list();
// The enterprise at list position p (0-based), that is Index p + 1.
QStringList atPosition(int position);
// The enterprise with this name.
QStringList byName(const QString& name);
// A new enterprise with Index n.
QStringList insert(int n, const PlantRecord& record);
// Every column of the enterprise named record.name.
QStringList update(const PlantRecord& record);
// Removing the named enterprise, and closing up the numbers behind Index d.
QStringList remove(const QString& name);
QStringList renumberAfter(int d);

} // namespace PlantSql
