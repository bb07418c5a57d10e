#include "data/nameindex.h"

#include "data/connection.h"
#include "data/dberror.h"
#include "data/dialect.h"
#include "data/sql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace NameIndex {

namespace {

const QString Table = QStringLiteral("DetailNames");
const QStringList Triggers = {QStringLiteral("DetailNamesInsert"),
                              QStringLiteral("DetailNamesDelete"),
                              QStringLiteral("DetailNamesUpdate")};

// Removes one index row of the Detail row "old": found through the index by its whole name
// when that is long enough, else by reading the index.
QString removeOld() {
    return QStringLiteral(
        "delete from DetailNames where rowid = coalesce("
        "case when length(old.Name) >= 3 then (select rowid from DetailNames where DetailNames"
        " match '\"' || replace(foldcase(old.Name), '\"', '\"\"') || '\"'"
        " and N_f is old.N_f and Name is foldcase(old.Name) limit 1) end,"
        " (select rowid from DetailNames where N_f is old.N_f and Name is foldcase(old.Name)"
        " limit 1));");
}

QString addNew() {
    return QStringLiteral(
        "insert into DetailNames (Name, N_f) values (foldcase(new.Name), new.N_f);");
}

QVariant scalar(Connection& db, const QString& sql) {
    QSqlQuery q(db.database());
    if (!q.exec(sql) || !q.next()) throw DbError(q.lastError().databaseText());
    return q.value(0);
}

} // namespace

QStringList schema() {
    return {
        QStringLiteral("create virtual table DetailNames using fts5(Name, N_f unindexed,"
                       " tokenize='trigram case_sensitive 1')"),
        QStringLiteral("create trigger DetailNamesInsert after insert on Detail begin ") +
            addNew() + QStringLiteral(" end"),
        QStringLiteral("create trigger DetailNamesDelete after delete on Detail begin ") +
            removeOld() + QStringLiteral(" end"),
        QStringLiteral("create trigger DetailNamesUpdate after update of Name, N_f on Detail"
                       " begin ") +
            removeOld() + QLatin1Char(' ') + addNew() + QStringLiteral(" end"),
    };
}

bool present(Connection& db) {
    QSqlQuery q(db.database());
    if (!q.exec(QStringLiteral("select name from sqlite_master where type in ('table', 'trigger')"
                               " and name like 'DetailNames%'")))
        return false;
    QStringList names;
    while (q.next())
        names << q.value(0).toString().toLower();
    if (!names.contains(Table.toLower())) return false;
    for (const QString& t : Triggers)
        if (!names.contains(t.toLower())) return false;
    return true;
}

void drop(Connection& db) {
    for (const QString& t : Triggers)
        db.exec(QStringLiteral("drop trigger if exists ") + t);
    db.exec(QStringLiteral("drop table if exists ") + Table);
}

void build(Connection& db, const Progress& progress) {
    QSqlDatabase& sql = db.database();
    Transaction t(db);
    drop(db);
    for (const QString& s : schema())
        db.exec(s);
    const int total = scalar(db, QStringLiteral("select count(*) from Detail")).toInt();
    const qint64 first = scalar(db, QStringLiteral("select min(rowid) from Detail")).toLongLong();
    const qint64 last = scalar(db, QStringLiteral("select max(rowid) from Detail")).toLongLong();
    constexpr int Steps = 20;
    const qint64 step = (last - first) / Steps + 1;
    QSqlQuery fill(sql);
    if (!fill.prepare(
            QStringLiteral("insert into DetailNames (Name, N_f) select foldcase(Name), N_f"
                           " from Detail where rowid >= ? and rowid < ?")))
        throw DbError(fill.lastError().databaseText());
    int done = 0;
    if (progress) progress(0, total);
    for (qint64 from = first; total > 0 && from <= last; from += step) {
        fill.bindValue(0, from);
        fill.bindValue(1, from + step);
        if (!fill.exec()) throw DbError(fill.lastError().databaseText());
        done += fill.numRowsAffected();
        if (progress) progress(done, total);
    }
    t.commit();
}

bool ensure(Connection& db, const Progress& progress) {
    if (present(db)) return true;
    try {
        build(db, progress);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

QString matchQuery(const QString& likePattern) {
    QStringList phrases;
    const QList<uint> codes = Dialect::foldCase(likePattern).toUcs4();
    QList<uint> run;
    const auto endRun = [&] {
        if (run.size() >= 3) {
            const QString text =
                QString::fromUcs4(reinterpret_cast<const char32_t*>(run.data()), run.size());
            phrases << QLatin1Char('"') +
                           QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                           QLatin1Char('"');
        }
        run.clear();
    };
    for (const uint c : codes) {
        if (c == '%' || c == '_')
            endRun();
        else
            run << c;
    }
    endRun();
    return phrases.join(QStringLiteral(" AND "));
}

QString matchAny(const QStringList& likePatterns) {
    QStringList queries;
    for (const QString& p : likePatterns) {
        const QString q = matchQuery(p);
        if (q.isEmpty()) return {};
        queries << q;
    }
    if (queries.size() == 1) return queries.first();
    return QLatin1Char('(') + queries.join(QStringLiteral(") OR (")) + QLatin1Char(')');
}

QString numbersMatching(const QString& query) {
    return QStringLiteral("N_f in (select N_f from DetailNames where DetailNames match ") +
           Sql::quote(query) + QLatin1Char(')');
}

} // namespace NameIndex
