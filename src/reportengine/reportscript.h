#pragma once

#include "data/dberror.h"

#include <QHash>
#include <QJSEngine>
#include <QJSValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class ScriptWatchdog;

// An expression that does not compile or fails while it runs (unknown name or function, an
// error of the program's function, too long a run).
class ScriptError : public CatalogError {
public:
    explicit ScriptError(const QString& message, int line = 1)
        : CatalogError(message), lineInExpression(line) {}
    int line() const { return lineInExpression; }

private:
    int lineInExpression;
};

// What a program's function gets to evaluate its arguments with: the text of one argument,
// evaluated in the place where the function was called (same row, same page).
class ReportEvaluator {
public:
    virtual ~ReportEvaluator() = default;
    virtual QVariant evaluate(const QString& expression) = 0; // throws ScriptError
};

// The expression language of the templates: ECMAScript run by QJSEngine, where every free name
// is first offered to resolveName and every call of a function that is not a method or one of
// a few conversion functions goes to callFunction with its arguments as unevaluated text.
//
// Templates may come with someone else's catalogue, so their expressions reach nothing but
// these two hooks and the language's own objects: the engine has no file, process or network
// objects, and eval, the Function constructors and import are taken away. An evaluation that
// runs longer than the time limit is interrupted from a watchdog thread.
class ReportScript : public QObject, public ReportEvaluator {
    Q_OBJECT
public:
    using NameHook = std::function<bool(const QString& name, QVariant& value)>;
    using FunctionHook =
        std::function<bool(const QString& name, const QStringList& args, QVariant& result)>;

    ReportScript(NameHook resolveName, FunctionHook callFunction);
    ~ReportScript() override;

    void setTimeLimit(int milliseconds) { limitMs = milliseconds; }
    int timeLimit() const { return limitMs; }

    // Checks that the expression compiles; throws ScriptError with the line within it.
    void compile(const QString& expression);
    QVariant evaluate(const QString& expression) override;

    // The hooks the scope object calls; not for the program.
    Q_INVOKABLE bool has(const QString& name);
    Q_INVOKABLE QJSValue get(const QString& name);
    Q_INVOKABLE QJSValue call(const QString& name, const QStringList& args);

    // An expression's text with calls rewritten to the function hook; throws ScriptError.
    static QString rewriteCalls(const QString& expression);

private:
    QJSValue compiled(const QString& expression);
    QJSValue toScript(const QVariant& value);

    NameHook resolveName;
    FunctionHook callFunction;
    QJSEngine js;
    QJSValue factory;
    QHash<QString, QJSValue> cache;
    std::unique_ptr<ScriptWatchdog> watchdog;
    int limitMs = 3000;
    int depth = 0;
    QString lastName;
    QVariant lastValue;
    std::unique_ptr<CatalogError> pending;
};

// A value as a template prints it: numbers in the shortest form with the locale's separator,
// empty for null.
QString reportText(const QVariant& value);
