#include "search/quicksql.h"

#include "data/dialect.h"
#include "data/nameindex.h"
#include "data/sql.h"
#include "search/keyform.h"

namespace QuickSql {

namespace {

// The text just above every text beginning with prefix in binary order: its last character
// incremented, so "N_f > prefix and N_f < above" reads the prefix's run of the index.
QString above(const QString& prefix) {
    QList<uint> codes = prefix.toUcs4();
    ++codes.last();
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codes.data()), codes.size());
}

// The typed key form as written and in capitals (numbers are printed in capitals, but typed in
// either case).
QStringList keys(const QString& typed) {
    QStringList out{keyForm(typed)};
    if (out.first().isEmpty()) return {};
    const QString upper = out.first().toUpper();
    if (upper != out.first()) out << upper;
    return out;
}

QString anyOf(const QStringList& tests) {
    return QLatin1Char('(') + tests.join(QStringLiteral(" or ")) + QLatin1Char(')');
}

QString numberBranches(const QStringList& keyForms, const QString& modFilter, int limit) {
    QStringList exact, prefix;
    for (const QString& k : keyForms) {
        exact << QStringLiteral("N_f = ") + Sql::quote(k);
        prefix
            << QStringLiteral("(N_f > %1 and N_f < %2)").arg(Sql::quote(k), Sql::quote(above(k)));
    }
    return QStringLiteral("select %1 as Rank, rowid as r from Detail where %2 and %3")
               .arg(ExactNumber)
               .arg(anyOf(exact), modFilter) +
           QStringLiteral(" union all select * from (select %1, rowid from Detail where %2 and %3"
                          " order by N_f limit %4)")
               .arg(NumberPrefix)
               .arg(anyOf(prefix), modFilter)
               .arg(limit);
}

// Names holding the text: narrowed by the index of part names where the text has a run of
// three characters, else read in table order until enough are found (beginnings only).
QString nameBranch(const QString& typed, const QString& modFilter, bool nameIndex, int limit) {
    const QString folded = Sql::quote(Dialect::foldCase(typed));
    const QString name = Dialect::foldedColumn(QStringLiteral("Name"));
    const QString match = nameIndex ? NameIndex::matchQuery(Dialect::foldCase(typed)) : QString();
    if (match.isEmpty())
        return QStringLiteral(" union all select * from (select %1, rowid from Detail where %2"
                              " and substr(%3, 1, length(%4)) = %4 limit %5)")
            .arg(NameStart)
            .arg(modFilter, name, folded)
            .arg(limit);
    return QStringLiteral(" union all select * from (select %1 + (instr(%2, %3) <> 1) as Rank,"
                          " rowid from Detail where %4 and %5 and instr(%2, %3) > 0"
                          " order by Rank, Name limit %6)")
        .arg(NameStart)
        .arg(name, folded, modFilter, NameIndex::numbersMatching(match))
        .arg(limit);
}

} // namespace

QString matches(const QString& typed, const QString& modFilter, bool nameIndex, int limit) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) return {};
    const QStringList keyForms = keys(text);
    QString branches = keyForms.isEmpty() ? QString() : numberBranches(keyForms, modFilter, limit);
    branches += nameBranch(text, modFilter, nameIndex, limit);
    if (branches.startsWith(QStringLiteral(" union all "))) branches = branches.mid(11);
    return QStringLiteral(
               "select h.Rank as Rank, d.N_f as N_f, d.N as N, d.Name as Name, d.V as V,"
               " d.modif as modif, m.MODName as MODName, (select count(distinct t.Picture) from"
               " DataTab t where t.N_f = d.N_f and t.modif = d.modif and t.Picture > 0) as"
               " Drawings from (select min(Rank) as Rank, r from (%1) group by r) h"
               " join Detail d on d.rowid = h.r join Modif m on m.modif = d.modif"
               " order by h.Rank, case when h.Rank >= %2 then d.Name end, d.N_f, d.modif"
               " limit %3")
        .arg(branches)
        .arg(NameStart)
        .arg(limit);
}

QStringList occurrences(const QString& nf, int modif) {
    return {QStringLiteral("select * from Find where N_f=%1 and modif=%2")
                .arg(Sql::quote(nf))
                .arg(modif),
            QStringLiteral("order by Picture <= 0, Picture, Position")};
}

QString part(const QString& nf, int modif) {
    return QStringLiteral("select * from forFind where N_f=%1 and modif=%2")
        .arg(Sql::quote(nf))
        .arg(modif);
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
