#pragma once

#include "basket/ordersql.h"

#include <QString>
#include <QStringList>
#include <vector>

class Connection;

// The statements of the part editing wizard and the routine that runs them. The wizard
// collects what the user confirmed into a DetSql::Part; write() adds the part or changes it
// in one transaction, so a failure leaves the catalogue as it was.
namespace DetSql {

// One occurrence of a part as confirmed: texts as typed, numbers as typed (checked by write()).
struct Part {
    bool add = false; // add mode; otherwise change mode
    QString key;      // K: key form of the typed number
    QString number;   // lbZN: the number as typed
    QString stored;   // Nn: the written form kept (change mode)
    QString name;     // lbZName
    QString okp;      // lbZOKP
    QString weight;   // lbZV
    QString assembly; // lbZSE, without the modification prefix
    QString quantity; // lbZKol, digits only
    int modif = 0;    // m
    int picture = 0;  // p
    QString note;     // the memo
    std::vector<OrderSql::Price> prices;
};

// The weight as it enters a statement; throws CatalogError naming the field.
QString weight(const QString& typed);
// The quantity as it enters a statement: an empty text is 0.
QString quantity(const QString& typed);

QStringList insertDetail(const Part& p, const QString& v);
QStringList lastNote(int modif);
QStringList insertNote(int remN, const QString& note, int modif);
QStringList storedNote(int remN, int modif);
QStringList occurrence(const QString& key, const QString& assemblyKey, int modif);
QStringList insertOccurrence(const Part& p, const QString& assemblyKey, int position,
                             const QString& k, int remN);
QStringList updateDetail(const Part& p, const QString& v);
QStringList updateOccurrence(const Part& p, const QString& assemblyKey, int position,
                             const QString& k, int remN);
QStringList findPrice(const QString& number);
QStringList insertPrice(const QString& number, const QString& name,
                        const std::vector<OrderSql::Price>& prices);
QStringList updatePrice(const QString& number, const QString& name,
                        const std::vector<OrderSql::Price>& prices);

// Runs the statements of add or change mode in their order, in one transaction. Every number
// is checked before the first statement runs. Throws CatalogError or DbError.
void write(Connection& db, const Part& part);

} // namespace DetSql
