#include "search/quicksql.h"

#include "data/dialect.h"
#include "data/nameindex.h"
#include "data/sql.h"
#include "search/keyform.h"

namespace QuickSql {

namespace {

// Every piece of a statement is put in at once: a piece holding typed text (which may hold "%1")
// is never searched for further placeholders.
QString num(int n) {
    return QString::number(n);
}

// A standard part may occur on thousands of places: its drawings are counted among this many
// occurrences, so that a list of such parts comes as fast as any.
constexpr int DrawingsRead = 100;

// The text just above every text beginning with prefix in binary order: its last character
// incremented, so "N_f > prefix and N_f < above" reads the prefix's run of the index.
QString above(const QString& prefix) {
    QList<uint> codes = prefix.toUcs4();
    ++codes.last();
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codes.data()), codes.size());
}

// Numbers are compared without regard to case (typed in small letters, printed in capitals or
// mixed). The index on N_f is binary, so each way of writing the first letters in either case
// is read as a range of its own, and the rest of the key is compared folded.
constexpr int CaseLetters = 3;

QStringList caseSeeds(const QString& key, QString* rest) {
    QStringList seeds{QString()};
    int letters = 0, i = 0;
    for (; i < key.size(); ++i) {
        const QChar c = key.at(i);
        const bool cased = c.toUpper() != c.toLower();
        if (cased && ++letters > CaseLetters) break;
        QStringList next;
        for (const QString& s : seeds) {
            next << s + (cased ? c.toLower() : c);
            if (cased) next << s + c.toUpper();
        }
        seeds = next;
    }
    *rest = key.mid(i);
    return seeds;
}

// Exact numbers and numbers beginning with the key, each way of writing it in index order.
QString numberBranches(const QString& key, const QString& modFilter, int limit) {
    QString rest;
    const QStringList seeds = caseSeeds(key, &rest);
    const QString folded = Sql::quote(Dialect::foldCase(key));
    const QString column = Dialect::foldedColumn(QStringLiteral("N_f"));
    QStringList branches;
    for (const QString& seed : seeds) {
        const QString range =
            QStringLiteral("N_f >= %1 and N_f < %2").arg(Sql::quote(seed), Sql::quote(above(seed)));
        // With the whole key in the range, every row of it begins with the key.
        const QString fold =
            rest.isEmpty()
                ? QString()
                : QStringLiteral(" and substr(%1, 1, length(%2)) = %2").arg(column, folded);
        const QString exact = rest.isEmpty() ? QStringLiteral("N_f = ") + Sql::quote(seed)
                                             : column + QStringLiteral(" = ") + folded;
        branches << QStringLiteral(
                        "select * from (select case when %1 then %2 else %3 end"
                        " as Rank, rowid as r from Detail where %4%5 and %6 order by N_f limit %7)")
                        .arg(exact, num(ExactNumber), num(NumberPrefix), range, fold, modFilter,
                             num(limit));
    }
    return branches.join(QStringLiteral(" union all "));
}

// Names beginning with the text, then names holding it, each read in catalogue order until
// enough are found: through the index of part names where the text has a run of three
// characters (a phrase marked ^ must begin the name), else by the beginnings of names alone.
// The index drives the reading, so a frequent word stops at the first rows found.
QString nameBranches(const QString& typed, const QString& modFilter, bool nameIndex, int limit) {
    const QString folded = Sql::quote(Dialect::foldCase(typed));
    const QString name = Dialect::foldedColumn(QStringLiteral("d.Name"));
    const QString start = QStringLiteral("substr(%1, 1, length(%2)) = %2").arg(name, folded);
    const QString match = nameIndex ? NameIndex::matchQuery(Dialect::foldCase(typed)) : QString();
    if (match.isEmpty())
        return QStringLiteral("select * from (select %1 as Rank, d.rowid as r from Detail d"
                              " where %2 and %3 limit %4)")
            .arg(num(NameStart), modFilter, start, num(limit));
    const auto indexed = [&](int rank, const QString& query, const QString& test) {
        return QStringLiteral("select * from (select %1 as Rank, d.rowid as r from DetailNames n"
                              " cross join Detail d on d.N_f = n.N_f where DetailNames match %2"
                              " and %3 and %4 limit %5)")
            .arg(num(rank), Sql::quote(query), modFilter, test, num(limit));
    };
    QString out;
    // A text with wildcards makes several phrases, of which only the first could begin a name.
    if (!typed.contains(QLatin1Char('%')) && !typed.contains(QLatin1Char('_')))
        out = indexed(NameStart, QLatin1Char('^') + match, start) + QStringLiteral(" union all ");
    return out + indexed(NameInside, match, QStringLiteral("instr(%1, %2) > 0").arg(name, folded));
}

} // namespace

QString matches(const QString& typed, const QString& modFilter, bool nameIndex, int limit) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) return {};
    const QString key = keyForm(text);
    QString branches = key.isEmpty()
                           ? QString()
                           : numberBranches(key, modFilter, limit) + QStringLiteral(" union all ");
    branches += nameBranches(text, modFilter, nameIndex, limit);
    return QStringLiteral("select h.Rank as Rank, d.N_f as N_f, d.N as N, d.Name as Name, d.V as V,"
                          " d.modif as modif, m.MODName as MODName,"
                          " (select count(distinct Picture) from (%4 limit %5)) as Drawings,"
                          " (select count(*) from (%4 limit %5 + 1)) > %5 as MoreDrawings"
                          " from (select min(Rank) as Rank, r from (%1) group by r) h"
                          " join Detail d on d.rowid = h.r join Modif m on m.modif = d.modif"
                          " order by h.Rank, case when h.Rank >= %2 then d.Name end, d.N_f, d.modif"
                          " limit %3")
        .arg(branches, num(NameStart), num(limit),
             QStringLiteral("select t.Picture from DataTab t where t.N_f = d.N_f and"
                            " t.modif = d.modif and t.Picture > 0"),
             num(DrawingsRead));
}

QStringList occurrences(const QString& nf, int modif) {
    return {QStringLiteral("select * from Find where N_f=%1 and modif=%2")
                .arg(Sql::quote(nf), num(modif)),
            QStringLiteral("order by Picture <= 0, Picture, Position")};
}

QString part(const QString& nf, int modif) {
    return QStringLiteral("select * from forFind where N_f=%1 and modif=%2")
        .arg(Sql::quote(nf), num(modif));
}

namespace {

QString placed(const QString& extraColumns, const QString& extraJoin, const QString& condition,
               const QString& modFilter) {
    return QStringLiteral(
               "select * from (select d.modif as modif, m.MODName as MODName,"
               " g.GroupN as GroupN, g.GroupName as GroupName, d.Picture as Picture,"
               " w.PicName as PicName, d.Position as Position, d.Quantity as Quantity, %1,"
               " g.indexGr as indexGr, w.PicN as PicN from DataTab d"
               " join Modif m on m.modif = d.modif%2"
               " left join Drawing w on w.modif = d.modif and w.Picture = d.Picture"
               " left join ModGroup g on g.modif = w.modif and g.indexGr = w.indexGr"
               " where %3) where %4 order by modif, indexGr, PicN, Picture, Position")
        .arg(extraColumns, extraJoin, condition, modFilter);
}

} // namespace

QString whereUsed(const QString& nf, const QString& modFilter) {
    return placed(QStringLiteral("d.SE as SE"), QString(),
                  QStringLiteral("d.N_f = ") + Sql::quote(nf), modFilter);
}

QString members(const QString& se, const QString& modFilter) {
    return placed(QStringLiteral("t.N as N, t.Name as Name, d.N_f as N_f"),
                  QStringLiteral(" join Detail t on t.N_f = d.N_f and t.modif = d.modif"),
                  QStringLiteral("d.SE_f = ") + Sql::quote(se), modFilter);
}

} // namespace QuickSql
