#include "data/dialect.h"

#include "data/dberror.h"
#include "data/sql.h"

#include <QChar>
#include <QDate>
#include <sqlite3.h>

namespace Dialect {

QStringList durabilityPragmas() {
    return {QStringLiteral("pragma journal_mode=DELETE"),
            QStringLiteral("pragma synchronous=FULL")};
}

QString countAs(const QString& expr) {
    return QStringLiteral("count(%1) AS Expr1000").arg(expr);
}

QString qualified(const QString& table, const QString& column) {
    return table + QLatin1Char('.') + column;
}

QString isoDate(const QString& ddmmyyyy) {
    const QDate date = QDate::fromString(ddmmyyyy.trimmed(), QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid())
        throw CatalogError(QStringLiteral("«%1» не является правильной датой").arg(ddmmyyyy));
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString dateLiteral(const QString& ddmmyyyy) {
    return QLatin1Char('\'') + isoDate(ddmmyyyy) + QLatin1Char('\'');
}

QString shownDate(const QString& iso) {
    const QDate date = QDate::fromString(iso, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : iso;
}

namespace {

// Reads one code point of UTF-8 text and advances; malformed bytes are taken as they are.
char32_t nextCodePoint(const unsigned char*& p) {
    const unsigned char c = *p++;
    if (c < 0x80) return c;
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return c;
    }
    for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i)
        cp = (cp << 6) | (*p++ & 0x3F);
    return cp;
}

char32_t fold(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// Iterative matcher: on a mismatch it returns to the last "%" and lets it take one more
// character, which is linear for the usual patterns and never recursive.
bool match(const unsigned char* pat, const unsigned char* str, char32_t esc) {
    const unsigned char* p = pat;
    const unsigned char* s = str;
    const unsigned char* starP = nullptr;
    const unsigned char* starS = nullptr;
    while (*s) {
        if (*p) {
            const unsigned char* q = p;
            char32_t pc = nextCodePoint(q);
            bool literal = false;
            if (esc != 0 && pc == esc && *q) {
                pc = nextCodePoint(q);
                literal = true;
            }
            if (!literal && pc == '%') {
                starP = q;
                starS = s;
                p = q;
                continue;
            }
            const unsigned char* t = s;
            const char32_t sc = nextCodePoint(t);
            if ((!literal && pc == '_') || fold(pc) == fold(sc)) {
                p = q;
                s = t;
                continue;
            }
        }
        if (!starP) return false;
        nextCodePoint(starS);
        s = starS;
        p = starP;
    }
    while (*p == '%')
        ++p;
    return *p == 0;
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto* pattern = sqlite3_value_text(argv[0]);
    const auto* text = sqlite3_value_text(argv[1]);
    char32_t esc = 0;
    if (argc == 3) {
        const auto* e = sqlite3_value_text(argv[2]);
        if (!e) return;
        const unsigned char* q = e;
        esc = nextCodePoint(q);
        if (esc == 0 || *q != 0) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    if (!pattern || !text) return; // NULL like anything is NULL
    sqlite3_result_int(ctx, match(pattern, text, esc) ? 1 : 0);
}

} // namespace

namespace {

bool identChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// End of the literal that opens at i (the index after its closing quote), or -1.
int literalEnd(const QString& sql, int i) {
    for (int j = i + 1; j < sql.size(); ++j) {
        if (sql[j] != QLatin1Char('\'')) continue;
        if (j + 1 < sql.size() && sql[j + 1] == QLatin1Char('\''))
            ++j;
        else
            return j + 1;
    }
    return -1;
}

int skipBlanks(const QString& sql, int i) {
    while (i < sql.size() && sql[i].isSpace())
        ++i;
    return i;
}

bool keyColumn(const QString& word) {
    for (const char* k : {"N_f", "SE_f", "ID_f"})
        if (word.compare(QLatin1String(k), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// A character that the like compares only with itself and that sorts as it is matched.
bool caseless(QChar c) {
    return c.unicode() >= 0x20 && c.unicode() < 0x7F && !c.isLetter() && c != QLatin1Char('%') &&
           c != QLatin1Char('_');
}

// At word (a key column at i .. wordEnd), the end of "LIKE '<pattern>'" when it stands alone
// (followed by ")", AND, OR or the end), with the pattern's range; -1 otherwise.
int likeTest(const QString& sql, int wordEnd, QString& lo, QString& hi) {
    int i = skipBlanks(sql, wordEnd);
    if (i == wordEnd || sql.mid(i, 4).compare(QLatin1String("like"), Qt::CaseInsensitive) != 0)
        return -1;
    i += 4;
    const int open = skipBlanks(sql, i);
    if (open == i || open >= sql.size() || sql[open] != QLatin1Char('\'')) return -1;
    const int end = literalEnd(sql, open);
    if (end < 0) return -1;
    const int after = skipBlanks(sql, end);
    int nextEnd = after;
    while (nextEnd < sql.size() && identChar(sql[nextEnd]))
        ++nextEnd;
    const QString next = sql.mid(after, nextEnd - after).toLower();
    const bool alone = after == sql.size() || sql[after] == QLatin1Char(')') ||
                       sql[after] == QLatin1Char(';') || next == QLatin1String("and") ||
                       next == QLatin1String("or") || next == QLatin1String("order");
    if (!alone) return -1;
    const QString pattern =
        sql.mid(open + 1, end - open - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    int n = 0;
    while (n < pattern.size() && caseless(pattern[n]))
        ++n;
    if (n == 0) return -1;
    lo = pattern.left(n);
    hi = lo;
    hi[n - 1] = QChar(hi[n - 1].unicode() + 1);
    return end;
}

// Whether what stands before i lets a test begin there: "(", the start, or a keyword that
// joins conditions (so no operator of the like's own precedence binds the column first).
bool startsCondition(const QString& sql, int i) {
    int k = i - 1;
    while (k >= 0 && sql[k].isSpace())
        --k;
    if (k < 0 || sql[k] == QLatin1Char('(')) return true;
    int b = k;
    while (b >= 0 && identChar(sql[b]))
        --b;
    const QString word = sql.mid(b + 1, k - b).toLower();
    for (const char* w : {"where", "and", "or", "not", "on", "having"})
        if (word == QLatin1String(w)) return true;
    return false;
}

} // namespace

QString indexFriendly(const QString& sql) {
    if (!sql.contains(QLatin1String("like"), Qt::CaseInsensitive)) return sql;
    QString out;
    out.reserve(sql.size() + 64);
    int i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            const int end = literalEnd(sql, i);
            const int stop = end < 0 ? int(sql.size()) : end;
            out += QStringView(sql).mid(i, stop - i);
            i = stop;
            continue;
        }
        const bool wordStart =
            identChar(c) && (i == 0 || (!identChar(sql[i - 1]) && sql[i - 1] != QLatin1Char('.')));
        if (!wordStart) {
            out += c;
            ++i;
            continue;
        }
        int j = i;
        while (j < sql.size() && identChar(sql[j]))
            ++j;
        const QString word = sql.mid(i, j - i);
        QString lo, hi;
        const int end = keyColumn(word) && startsCondition(sql, i) ? likeTest(sql, j, lo, hi) : -1;
        if (end < 0) {
            out += word;
            i = j;
            continue;
        }
        out += QLatin1Char('(') + word + QStringLiteral(" >= ") + Sql::quote(lo) +
               QStringLiteral(" AND ") + word + QStringLiteral(" < ") + Sql::quote(hi) +
               QStringLiteral(" AND ") + sql.mid(i, end - i) + QLatin1Char(')');
        i = end;
    }
    return out;
}

void registerFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    for (int args : {2, 3}) {
        const int rc = sqlite3_create_function_v2(db, "like", args, flags, nullptr, likeFunction,
                                                  nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw DbError(QStringLiteral("Не удалось зарегистрировать функцию like: %1")
                              .arg(QString::fromUtf8(sqlite3_errmsg(db))));
    }
}

bool likeMatch(const QString& pattern, const QString& text, char32_t escape) {
    const QByteArray p = pattern.toUtf8();
    const QByteArray t = text.toUtf8();
    return match(reinterpret_cast<const unsigned char*>(p.constData()),
                 reinterpret_cast<const unsigned char*>(t.constData()), escape);
}

} // namespace Dialect
