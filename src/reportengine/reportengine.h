#pragma once

#include "reportengine/reportdocument.h"
#include "reportengine/reportscript.h"
#include "reportengine/reporttemplate.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class Connection;
class TQuery;

// The report engine: loads a template from a table of the catalogue, fills it over a master
// dataset with the values the program supplies, and lays it out in pages.
//
// A name in an expression is resolved in this order: the program (getValue), the columns of
// the master data's current row, the engine's own names PAGE and PAGES (page header and footer
// only), LINE (the row's number, 1-based) and DATE (today, dd.mm.yyyy). A function that is not
// the engine's own (SUM, COUNT, MIN, MAX over the master data; NUM for fixed decimals) goes to
// the program (userFunction) with its arguments as text and an evaluator for them.
class ReportEngine {
public:
    // Sets value and answers true for a name of the program's.
    using ValueHook = std::function<bool(const QString& name, QVariant& value)>;
    // Sets result and answers true for a function of the program's.
    using FunctionHook = std::function<bool(const QString& name, const QStringList& args,
                                            ReportEvaluator& evaluator, QVariant& result)>;

    explicit ReportEngine(Connection& db);
    ~ReportEngine();

    ValueHook getValue;
    FunctionHook userFunction;

    // Loads the template of the first row of table whose first column equals number (the
    // template is the second column). Throws TemplateError when the row is missing, the
    // template is empty or does not parse; DbError when the table cannot be read.
    void loadFromTable(const QString& table, int number);
    // Loads a template from its text; title names it in messages.
    void loadFromText(const QString& text, const QString& title);
    bool loaded() const { return tmpl != nullptr; }
    const ReportTemplate& currentTemplate() const { return *tmpl; }

    // The master data: a select run afresh by every prepare (empty: no master rows).
    void setMasterSql(const QString& sql) { masterSql = sql; }

    // Limit for one expression's run, in milliseconds.
    void setTimeLimit(int milliseconds);

    // Runs the master select and fills the template. Throws TemplateError naming the template
    // and the place of a failing expression, DbError for the master select.
    ReportDocument prepare();

private:
    bool resolve(const QString& name, QVariant& value);
    bool call(const QString& name, const QStringList& args, QVariant& result);
    QString fill(Band band);
    QString fillPage(Band band, int page, int pages);
    QVariant aggregate(const QString& function, const QStringList& args);
    ReportScript& js();

    Connection& db;
    std::unique_ptr<TQuery> master;
    std::unique_ptr<ReportScript> script;
    int timeLimit = 0; // 0: the evaluator's own
    std::unique_ptr<ReportTemplate> tmpl;
    QString masterSql;
    int row = -1;   // current master row, -1 outside the rows
    int pageNo = 0; // page in the page bands, 0 elsewhere
    int pageTotal = 0;
    int dataRow = 0; // for messages: the master row being filled, 1-based
    QHash<QString, QVariant> aggregates;
};
