#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

class Connection;
class ReportEngine;
class ReportEvaluator;

// One text read by number: "select column from table where [index] = n"; empty without a row.
QString GetString(Connection& db, int n, const QString& column, const QString& table);
// "select count(column) from table".
int GetCount(Connection& db, const QString& column, const QString& table);

// An empty text becomes a line of 12 underscores to write on by hand.
QString BlankIfEmpty(const QString& text);

// The names and functions the commercial documents' templates use. The viewer supplies only the
// values: the report data dialog's fields, the VAT rate and the two enterprises' numbers; the
// requisites and the basket count are read from the catalogue when a template asks.
class ReportVariables {
public:
    explicit ReportVariables(Connection& db) : db(db) {}

    // Enterprise numbers (Index of enterprise), full integers; 0 matches no row.
    int SupplierIndex = 0;
    int BuyerIndex = 0;
    // The report data dialog's fields by component name ("eInvoiceNumber", "meMailPData", ...).
    QHash<QString, QString> fields;
    // The text of the VAT rate field of the settings, e.g. "20".
    QString vatText;

    // The value of a name of the table (letter case ignored); false for any other name.
    bool value(const QString& name, QVariant& value) const;
    // SUMPROPIS, CALCW, CALCH (letter case ignored); false for any other function.
    bool function(const QString& name, const QStringList& args, ReportEvaluator& evaluator,
                  QVariant& result) const;

    // Every name of the table, as written there.
    static QStringList names();

    // Makes the engine ask these values and functions first.
    void install(ReportEngine& engine);

private:
    Connection& db;
};
