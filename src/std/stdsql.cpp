#include "std/stdsql.h"

#include "data/sql.h"

namespace StdSql {

namespace {

QStringList startingWith(const QString& column, const QString& typed) {
    // The typed text is a prefix: an apostrophe in it is matched as typed.
    return {QStringLiteral("select * from STD where %1 LIKE'%2%'").arg(column, Sql::escape(typed))};
}

} // namespace

QStringList bySubgroup(const QString& typed) {
    return startingWith(QStringLiteral("PodName"), typed);
}

QStringList byFullName(const QString& typed) {
    return startingWith(QStringLiteral("FullName"), typed);
}

QString clearSheet() {
    return QStringLiteral("delete from stdrep");
}

QString sheetRow(const QString& name, const QString& value) {
    return QStringLiteral("insert into stdrep(paramname,param) values(%1,%2)")
        .arg(Sql::quote(name), Sql::quote(value));
}

QStringList sheetRows() {
    return {QStringLiteral("select * from stdrep")};
}

} // namespace StdSql
