#include "data/dialect.h"

#include "data/dberror.h"

#include <QChar>
#include <QDate>
#include <sqlite3.h>

namespace Dialect {

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
    for (int i = 0; i < extra && (*p & 0xC0) == 0x80; ++i) cp = (cp << 6) | (*p++ & 0x3F);
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
    while (*p == '%') ++p;
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
