#include "search/findsql.h"

#include "data/dialect.h"
#include "data/nameindex.h"
#include "data/sql.h"
#include "search/keyform.h"

namespace FindSql {

namespace {

// Up to this many alternatives are written as the chain of LIKE tests; a longer list (a pasted
// supplier's list of numbers) is tested as sets, since SQLite refuses a chain of several hundred.
constexpr int ChainLimit = 50;

// The pattern of one alternative: "*" and "?" become "%" and "_", other characters are kept.
QString likePattern(const QString& alternative) {
    QString p = alternative;
    p.replace(QLatin1Char('*'), QLatin1Char('%'));
    p.replace(QLatin1Char('?'), QLatin1Char('_'));
    return p;
}

bool hasWildcard(const QString& pattern) {
    return pattern.contains(QLatin1Char('%')) || pattern.contains(QLatin1Char('_'));
}

// Whether the like compares every character of text only with itself (no letter, no case).
bool caseless(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F || c.isLetter()) return false;
    return true;
}

QString likeTest(const QString& column, const QString& pattern) {
    return QLatin1Char('(') + column + QStringLiteral(" LIKE ") + Sql::quote(pattern) +
           QLatin1Char(')');
}

QString inList(const QString& expr, const QStringList& values) {
    QStringList quoted;
    for (const QString& v : values)
        quoted << Sql::quote(v);
    return QLatin1Char('(') + expr + QStringLiteral(" in (") + quoted.join(QStringLiteral(", ")) +
           QStringLiteral("))");
}

// The tests joined by OR as a balanced tree, so the expression stays shallow however many.
QString anyOf(const QStringList& tests) {
    if (tests.size() <= 8) return tests.join(QStringLiteral(" OR "));
    const int half = int(tests.size()) / 2;
    return QLatin1Char('(') + anyOf(tests.mid(0, half)) + QStringLiteral(") OR (") +
           anyOf(tests.mid(half)) + QLatin1Char(')');
}

QString setPiece(const QString& column, const QStringList& alternatives) {
    QStringList plain, folded, wild;
    for (const QString& a : alternatives) {
        const QString p = likePattern(a);
        if (hasWildcard(p))
            wild << likeTest(column, p);
        else if (caseless(p))
            plain << p;
        else
            folded << Dialect::foldCase(p);
    }
    QStringList tests;
    if (!plain.isEmpty()) tests << inList(column, plain);
    if (!folded.isEmpty()) tests << inList(Dialect::foldedColumn(column), folded);
    tests += wild;
    return QStringLiteral(" AND (") + anyOf(tests) + QLatin1Char(')');
}

} // namespace

QString likePiece(const QString& column, const QString& value) {
    const QStringList alternatives = value.split(QLatin1Char('&'));
    if (alternatives.size() > ChainLimit) return setPiece(column, alternatives);
    const bool several = alternatives.size() > 1;
    QStringList tests;
    for (const QString& a : alternatives)
        tests << likeTest(column, likePattern(a));
    const QString chain = tests.join(QStringLiteral(" OR "));
    return QStringLiteral(" AND ") +
           (several ? QLatin1Char('(') + chain + QLatin1Char(')') : chain);
}

namespace {

QString modificationPiece(const QString& modName) {
    return QStringLiteral(" AND (MODName=") + Sql::quote(modName) + QLatin1Char(')');
}

// The index's narrowing of a name search: the parts whose names hold every run of three
// characters of one of the alternatives. Empty when an alternative has no such run, or for a
// pasted list, which the index would only slow down.
QString nameNarrowing(const QString& value) {
    const QStringList alternatives = value.split(QLatin1Char('&'));
    if (alternatives.size() > ChainLimit) return {};
    QStringList patterns;
    for (const QString& a : alternatives)
        patterns << likePattern(a);
    const QString query = NameIndex::matchAny(patterns);
    return query.isEmpty() ? QString() : NameIndex::numbersMatching(query);
}

} // namespace

Statement build(const Criteria& c) {
    Statement s;
    QString test = c.modFilter;
    if (c.number) test += likePiece(QStringLiteral("N_f"), keyForm(*c.number));
    if (c.assembly && !c.standardized)
        test += likePiece(QStringLiteral("SE_f"), keyForm(*c.assembly));
    if (c.name) test += likePiece(QStringLiteral("Name"), *c.name);
    if (c.modification && !c.standardized) {
        s.modification = modificationPiece(*c.modification);
        test += s.modification;
    }
    if (c.group && !c.standardized) {
        if (!c.group->modification.isEmpty()) {
            s.modification = modificationPiece(c.group->modification);
            test += s.modification;
        }
        test += QStringLiteral(" AND (GroupN=") + Sql::quote(c.group->number) + QLatin1Char(')');
    }
    s.condition = QStringLiteral("where ") + test;
    const QString visible = QStringLiteral(" AND ") + c.modFilter + s.modification;
    const QString order = QStringLiteral("order by N_f, modif");
    if (c.standardized) {
        s.lines << QStringLiteral("select * from STD ") + s.condition + visible;
        return s;
    }
    // A search on the part's own columns reads the matching parts and looks up one occurrence
    // of each, instead of joining every occurrence's drawing, group and remark: the same
    // numbers, a third less work on a large catalogue.
    const bool partColumnsOnly = !c.assembly && s.modification.isEmpty() && !c.group;
    const QString drawn = QStringLiteral(
        "exists (select * from DataTab d where d.N_f=Detail.N_f and d.modif=Detail.modif)");
    const QString narrowing =
        partColumnsOnly && c.name && c.nameIndex ? nameNarrowing(*c.name) : QString();
    if (!narrowing.isEmpty()) {
        // Through the index of part names the rows come in their order as each part is tested,
        // so the first screens are shown before the whole result is found.
        s.lines << QStringLiteral("select * from forFind where ") + narrowing +
                       QStringLiteral(" AND exists (select * from Detail where "
                                      "Detail.N_f=forFind.N_f AND ") +
                       test + QStringLiteral(" AND ") + drawn + QLatin1Char(')') + visible
                << order;
        return s;
    }
    const QString parts = partColumnsOnly ? QStringLiteral("select N_f from Detail ") +
                                                s.condition + QStringLiteral(" AND ") + drawn
                                          : QStringLiteral("select N_f from Find ") + s.condition;
    s.lines << QStringLiteral("select * from forFind where (N_f in (") + parts +
                   QStringLiteral("))") + visible
            << order;
    return s;
}

QStringList groupList(const QString& modName) {
    const QString withDrawings = QStringLiteral(
        "exists (select * from Drawing w where w.modif=GrMOD.modif and w.indexGr=GrMOD.indexGr)");
    if (modName.isEmpty())
        return {QStringLiteral("select * from GrMOD where ") + withDrawings,
                QStringLiteral("order by modif, indexGr")};
    return {QStringLiteral("select * from GrMOD where MODName=") + Sql::quote(modName) +
                QStringLiteral(" and ") + withDrawings,
            QStringLiteral("order by modif, indexGr")};
}

} // namespace FindSql
