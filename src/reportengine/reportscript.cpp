#include "reportengine/reportscript.h"

#include "data/textfmt.h"

#include <QSet>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

// Interrupts the engine when one armed evaluation outlasts its limit. One thread for the life of
// the script; arming and disarming cost a mutex each.
class ScriptWatchdog {
public:
    explicit ScriptWatchdog(QJSEngine& engine) : js(engine), thread([this] { run(); }) {}
    ~ScriptWatchdog() {
        {
            std::lock_guard<std::mutex> lock(m);
            quit = true;
        }
        cv.notify_one();
        thread.join();
    }
    void arm(int ms) {
        std::lock_guard<std::mutex> lock(m);
        armed = true;
        fired = false;
        deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        ++generation;
        // A thread already waiting for an earlier deadline rechecks then; waking it for every
        // expression would cost a thread switch each.
        if (idle) cv.notify_one();
    }
    // Whether the limit was reached.
    bool disarm() {
        std::lock_guard<std::mutex> lock(m);
        armed = false;
        return fired;
    }

private:
    void run() {
        std::unique_lock<std::mutex> lock(m);
        while (!quit) {
            if (!armed) {
                idle = true;
                cv.wait(lock);
                idle = false;
                continue;
            }
            const auto g = generation;
            const auto until = deadline;
            cv.wait_until(lock, until);
            if (armed && generation == g && std::chrono::steady_clock::now() >= until) {
                fired = true;
                armed = false;
                js.setInterrupted(true);
            }
        }
    }
    QJSEngine& js;
    std::mutex m;
    std::condition_variable cv;
    bool quit = false, armed = false, fired = false, idle = false;
    unsigned long generation = 0;
    std::chrono::steady_clock::time_point deadline;
    std::thread thread;
};

namespace {

bool idStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$');
}
bool idPart(QChar c) {
    return idStart(c) || c.isDigit() || c.isMark();
}

// Past the string literal that starts at i; -1 when it is not closed.
int skipString(const QString& s, int i) {
    const QChar quote = s[i];
    for (++i; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\\'))
            ++i;
        else if (s[i] == quote)
            return i + 1;
        else if (s[i] == QLatin1Char('\n'))
            return -1;
    }
    return -1;
}

QString jsString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case 0x2028:
            out += QStringLiteral("\\u2028");
            break;
        case 0x2029:
            out += QStringLiteral("\\u2029");
            break;
        default:
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

// Words after which "name(" is not a call of a template function.
const QSet<QString>& notCalls() {
    static const QSet<QString> words{
        "if",     "for",    "while",   "switch",   "catch",      "function", "return",
        "typeof", "new",    "void",    "delete",   "in",         "of",       "instanceof",
        "with",   "do",     "else",    "case",     "throw",      "try",      "yield",
        "await",  "let",    "var",     "const",    "class",      "super",    "this",
        "Number", "String", "Boolean", "parseInt", "parseFloat", "isNaN",    "isFinite"};
    return words;
}

} // namespace

ReportScript::ReportScript(NameHook names, FunctionHook functions)
    : resolveName(std::move(names)), callFunction(std::move(functions)) {
    // Take away what could compile text at run time (and so reach import()).
    const QJSValue hardened = js.evaluate(QStringLiteral(
        "(function() {"
        "  var protos = [Function.prototype, Object.getPrototypeOf(function*(){})];"
        "  for (var i = 0; i < protos.length; ++i)"
        "    Object.defineProperty(protos[i], 'constructor',"
        "                          {value: undefined, writable: false, configurable: false});"
        "  return true; })()"));
    if (hardened.isError()) qFatal("report expressions: %s", qPrintable(hardened.toString()));
    js.globalObject().deleteProperty(QStringLiteral("eval"));
    js.globalObject().deleteProperty(QStringLiteral("Function"));
    js.setObjectOwnership(this, QJSEngine::CppOwnership);
    factory =
        js.evaluate(QStringLiteral("(function(r) {"
                                   "  var scope = new Proxy(Object.create(null), {"
                                   "    has: function(t, k) {"
                                   "      return typeof k === 'string' && k !== '__fn' && k !== "
                                   "'__scope' && r.has(k); },"
                                   "    get: function(t, k) { return typeof k === 'string' ? "
                                   "r.get(k) : undefined; } });"
                                   "  var fn = function(name, args) { return r.call(name, args); };"
                                   "  return function(make) { return make(scope, fn); }; })"))
            .call({js.newQObject(this)});
    if (factory.isError()) qFatal("report expressions: %s", qPrintable(factory.toString()));
    watchdog = std::make_unique<ScriptWatchdog>(js);
}

ReportScript::~ReportScript() = default;

QString ReportScript::rewriteCalls(const QString& s) {
    QString out;
    QChar prev;
    QString prevWord;
    const int n = int(s.size());
    auto lineAt = [&](int i) { return int(s.left(i).count(QLatin1Char('\n'))) + 1; };
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int end = skipString(s, i);
            if (end < 0)
                throw ScriptError(QStringLiteral("строка в кавычках не закрыта"), lineAt(i));
            out += s.mid(i, end - i);
            i = end;
            prev = c;
            continue;
        }
        if (c == QLatin1Char('`'))
            throw ScriptError(QStringLiteral("обратные кавычки в выражениях не допускаются"),
                              lineAt(i));
        if (c.isDigit()) {
            int j = i;
            while (j < n && (idPart(s[j]) || s[j] == QLatin1Char('.')))
                ++j;
            out += s.mid(i, j - i);
            i = j;
            prev = c;
            continue;
        }
        if (!idStart(c)) {
            out += c;
            if (!c.isSpace()) prev = c;
            if (!c.isSpace()) prevWord.clear();
            ++i;
            continue;
        }
        int j = i;
        while (j < n && idPart(s[j]))
            ++j;
        const QString word = s.mid(i, j - i);
        if (word == QLatin1String("import"))
            throw ScriptError(QStringLiteral("слово import в выражениях не допускается"),
                              lineAt(i));
        int k = j;
        while (k < n && s[k].isSpace())
            ++k;
        const bool call = k < n && s[k] == QLatin1Char('(') && prev != QLatin1Char('.') &&
                          prevWord != QLatin1String("function") &&
                          prevWord != QLatin1String("new") && !notCalls().contains(word);
        if (!call) {
            out += word;
            prev = word.back();
            prevWord = word;
            i = j;
            continue;
        }
        // The arguments as text, split at the commas outside brackets and strings.
        QStringList args;
        int level = 0, start = k + 1, close = -1;
        for (int p = k; p < n && close < 0; ++p) {
            const QChar d = s[p];
            if (d == QLatin1Char('\'') || d == QLatin1Char('"')) {
                const int end = skipString(s, p);
                if (end < 0)
                    throw ScriptError(QStringLiteral("строка в кавычках не закрыта"), lineAt(p));
                p = end - 1;
            } else if (d == QLatin1Char('(') || d == QLatin1Char('[') || d == QLatin1Char('{')) {
                ++level;
            } else if (d == QLatin1Char(')') || d == QLatin1Char(']') || d == QLatin1Char('}')) {
                if (--level == 0) {
                    args << s.mid(start, p - start).trimmed();
                    close = p;
                }
            } else if (d == QLatin1Char(',') && level == 1) {
                args << s.mid(start, p - start).trimmed();
                start = p + 1;
            }
        }
        if (close < 0)
            throw ScriptError(QStringLiteral("у функции %1 нет закрывающей скобки").arg(word),
                              lineAt(i));
        if (args.size() == 1 && args[0].isEmpty()) args.clear();
        QStringList quoted;
        for (const QString& a : args)
            quoted << jsString(a);
        out += QStringLiteral("__fn(%1, [%2])").arg(jsString(word), quoted.join(QLatin1Char(',')));
        i = close + 1;
        prev = QLatin1Char(')');
        prevWord.clear();
    }
    return out;
}

QJSValue ReportScript::compiled(const QString& expression) {
    const auto found = cache.constFind(expression);
    if (found != cache.constEnd()) return *found;
    const QString source =
        QStringLiteral(
            "(function(__scope, __fn) { return function() { with (__scope) { return (\n") +
        rewriteCalls(expression) + QStringLiteral("\n); } }; })");
    const QJSValue maker = js.evaluate(source, QStringLiteral("expression"), 0);
    if (maker.isError()) {
        // A fault found at the closing line belongs to the expression's last line.
        const int lines = int(expression.count(QLatin1Char('\n'))) + 1;
        const int line = maker.property(QStringLiteral("lineNumber")).toInt();
        throw ScriptError(maker.property(QStringLiteral("message")).toString(),
                          qBound(1, line, lines));
    }
    const QJSValue fn = factory.call({maker});
    if (fn.isError()) throw ScriptError(fn.toString());
    cache.insert(expression, fn);
    return fn;
}

void ReportScript::compile(const QString& expression) {
    compiled(expression);
}

QVariant ReportScript::evaluate(const QString& expression) {
    QJSValue fn = compiled(expression);
    if (depth == 0) {
        pending.reset();
        watchdog->arm(limitMs);
    }
    ++depth;
    const QJSValue result = fn.call();
    --depth;
    bool timedOut = false;
    if (depth == 0) {
        timedOut = watchdog->disarm();
        if (timedOut || js.isInterrupted()) js.setInterrupted(false);
    }
    if (timedOut && result.isError())
        throw ScriptError(QStringLiteral("выражение выполнялось дольше %1 с и остановлено")
                              .arg(double(limitMs) / 1000.0));
    if (pending && depth == 0) {
        const std::unique_ptr<CatalogError> e = std::move(pending);
        throw ScriptError(e->message());
    }
    if (result.isError()) {
        if (js.isInterrupted()) throw ScriptError(QStringLiteral("выражение остановлено"));
        QString message = result.property(QStringLiteral("message")).toString();
        if (result.property(QStringLiteral("name")).toString() == QLatin1String("ReferenceError"))
            message = QStringLiteral("неизвестное имя: ") + message;
        throw ScriptError(message);
    }
    if (result.isUndefined() || result.isNull()) return QVariant(QString());
    if (result.isNumber()) return result.toNumber();
    if (result.isBool()) return result.toBool();
    return result.toString();
}

bool ReportScript::has(const QString& name) {
    QVariant v;
    try {
        if (!resolveName(name, v)) return false;
    } catch (const CatalogError& e) {
        if (!pending) pending = std::make_unique<CatalogError>(e);
        return false;
    }
    lastName = name;
    lastValue = v;
    return true;
}

QJSValue ReportScript::get(const QString& name) {
    if (name != lastName && !has(name)) return QJSValue();
    return toScript(lastValue);
}

QJSValue ReportScript::call(const QString& name, const QStringList& args) {
    QVariant result;
    try {
        if (callFunction(name, args, result)) return toScript(result);
        throw ScriptError(QStringLiteral("неизвестная функция: %1").arg(name));
    } catch (const CatalogError& e) {
        if (!pending) pending = std::make_unique<CatalogError>(e);
        js.throwError(e.message());
    }
    return QJSValue();
}

QJSValue ReportScript::toScript(const QVariant& value) {
    // A null QString would reach the script as undefined.
    if (value.isNull() || !value.isValid()) return QJSValue(QStringLiteral(""));
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QJSValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return QJSValue(value.toDouble());
    case QMetaType::QByteArray:
        return QJSValue(QString::fromUtf8(value.toByteArray()));
    default: {
        const QString text = value.toString();
        return QJSValue(text.isNull() ? QStringLiteral("") : text);
    }
    }
}

QString reportText(const QVariant& value) {
    if (value.isNull() || !value.isValid()) return QString();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float: {
        const double x = value.toDouble();
        if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 1e15)
            return QString::number(static_cast<long long>(x));
        return Fmt::floatToStr(x);
    }
    default:
        return value.toString();
    }
}
