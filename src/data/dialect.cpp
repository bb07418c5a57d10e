#include "data/dialect.h"

#include "data/dberror.h"
#include "data/nameindex.h"
#include "data/sql.h"

#include <QChar>
#include <QDate>
#include <QRegularExpression>
#include <sqlite3.h>
#include <vector>

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

void appendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The text with every code point folded as the like compares it, so that two texts are equal
// here exactly when one matches the other as a like pattern without wildcards.
QByteArray folded(const unsigned char* text) {
    QByteArray out;
    const unsigned char* p = text;
    while (*p)
        appendUtf8(out, fold(nextCodePoint(p)));
    return out;
}

void foldFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto* text = sqlite3_value_text(argv[0]);
    if (!text) return;
    const QByteArray f = folded(text);
    sqlite3_result_text(ctx, f.constData(), int(f.size()), SQLITE_TRANSIENT);
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
int likeTest(const QString& sql, int wordEnd, QString& lo, QString& hi, QString* whole = nullptr) {
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
    if (whole) {
        *whole = pattern;
        return end;
    }
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

namespace {

// The word after position i (blanks skipped), lower case, and where it ends.
QString wordAt(const QString& sql, int i, int* end) {
    i = skipBlanks(sql, i);
    int j = i;
    while (j < sql.size() && identChar(sql[j]))
        ++j;
    *end = j;
    return sql.mid(i, j - i).toLower();
}

// Whether the statement names one part by its number, so that its few occurrences are read
// faster than the name index.
bool pinsNumber(const QString& sql) {
    static const QRegularExpression equality(QStringLiteral("\\bN_f\\s*=\\s*'"),
                                             QRegularExpression::CaseInsensitiveOption);
    return sql.contains(equality);
}

} // namespace

QString indexFriendly(const QString& sql, bool nameIndex) {
    if (!sql.contains(QLatin1String("like"), Qt::CaseInsensitive)) return sql;
    // A statement that reads the index of names itself is narrowed already.
    nameIndex = nameIndex && !pinsNumber(sql) &&
                !sql.contains(QLatin1String("DetailNames"), Qt::CaseInsensitive);
    // Per open bracket: whether the text stands in the where clause of a select over the parts'
    // views (Find, forFind) or over Detail itself, whose Name and N_f they show.
    std::vector<bool> partsWhere{false};
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
        if (c == QLatin1Char('(')) partsWhere.push_back(partsWhere.back());
        if (c == QLatin1Char(')') && partsWhere.size() > 1) partsWhere.pop_back();
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
        const QString lower = word.toLower();
        if (lower == QLatin1String("select")) partsWhere.back() = false;
        if (lower == QLatin1String("from")) {
            int tableEnd = 0, whereEnd = 0;
            const QString table = wordAt(sql, j, &tableEnd);
            partsWhere.back() =
                (table == QLatin1String("find") || table == QLatin1String("forfind") ||
                 table == QLatin1String("detail")) &&
                wordAt(sql, tableEnd, &whereEnd) == QLatin1String("where");
        }
        QString lo, hi;
        const bool condition = startsCondition(sql, i);
        const int end = keyColumn(word) && condition ? likeTest(sql, j, lo, hi) : -1;
        if (end >= 0) {
            out += QLatin1Char('(') + word + QStringLiteral(" >= ") + Sql::quote(lo) +
                   QStringLiteral(" AND ") + word + QStringLiteral(" < ") + Sql::quote(hi) +
                   QStringLiteral(" AND ") + sql.mid(i, end - i) + QLatin1Char(')');
            i = end;
            continue;
        }
        QString pattern;
        const int nameEnd =
            nameIndex && partsWhere.back() && condition && lower == QLatin1String("name")
                ? likeTest(sql, j, lo, hi, &pattern)
                : -1;
        const QString query = nameEnd >= 0 ? NameIndex::matchQuery(pattern) : QString();
        if (!query.isEmpty()) {
            out += QLatin1Char('(') + sql.mid(i, nameEnd - i) + QStringLiteral(" AND ") +
                   NameIndex::numbersMatching(query) + QLatin1Char(')');
            i = nameEnd;
            continue;
        }
        out += word;
        i = j;
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
    if (sqlite3_create_function_v2(db, "foldcase", 1, flags, nullptr, foldFunction, nullptr,
                                   nullptr, nullptr) != SQLITE_OK)
        throw DbError(QStringLiteral("Не удалось зарегистрировать функцию foldcase: %1")
                          .arg(QString::fromUtf8(sqlite3_errmsg(db))));
}

QString foldCase(const QString& text) {
    const QByteArray t = text.toUtf8();
    return QString::fromUtf8(folded(reinterpret_cast<const unsigned char*>(t.constData())));
}

QString foldedColumn(const QString& column) {
    return QStringLiteral("foldcase(") + column + QLatin1Char(')');
}

bool likeMatch(const QString& pattern, const QString& text, char32_t escape) {
    const QByteArray p = pattern.toUtf8();
    const QByteArray t = text.toUtf8();
    return match(reinterpret_cast<const unsigned char*>(p.constData()),
                 reinterpret_cast<const unsigned char*>(t.constData()), escape);
}

} // namespace Dialect
