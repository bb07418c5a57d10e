#include "reports/plantsql.h"

#include "data/dialect.h"
#include "data/sql.h"

namespace PlantSql {

const QStringList& columns() {
    static const QStringList c = {"Type",       "Address", "R_schet_n", "R_schet", "INN",
                                  "BIK",        "K_schet", "OKONH",     "OKPO",    "Director",
                                  "Accountant", "Tel",     "Fax",       "Email",   "Rem"};
    return c;
}

const QStringList& contactColumns() {
    static const QStringList c = {"Tel", "Fax", "Email"};
    return c;
}

QStringList list() {
    return {QStringLiteral("select * from enterprise order by ") + Dialect::IndexColumn};
}

QStringList atPosition(int position) {
    return {QStringLiteral("select * from enterprise where %1=%2")
                .arg(Dialect::IndexColumn)
                .arg(qint64(position) + 1)};
}

QStringList byName(const QString& name) {
    return {QStringLiteral("select * from enterprise where Name=") + Sql::quote(name)};
}

QStringList insert(int n, const PlantRecord& record) {
    QString values = QStringLiteral("values(%1,").arg(n) + Sql::quote(record.name);
    for (const QString& c : columns())
        values += QLatin1Char(',') + Sql::quote(record.field(c));
    values += QLatin1Char(')');
    return {QStringLiteral("insert into enterprise(%1, Name, %2)")
                .arg(Dialect::IndexColumn, columns().join(QStringLiteral(", "))),
            values};
}

QStringList update(const PlantRecord& record) {
    // Address first, then the others in the insert's order.
    QString set = QStringLiteral("set Address=") + Sql::quote(record.field("Address"));
    for (const QString& c : columns())
        if (c != QLatin1String("Address"))
            set += QStringLiteral(", %1=").arg(c) + Sql::quote(record.field(c));
    return {QStringLiteral("update enterprise"), set,
            QStringLiteral("where Name=") + Sql::quote(record.name)};
}

QStringList remove(const QString& name) {
    return {QStringLiteral("delete from enterprise"),
            QStringLiteral("where Name=") + Sql::quote(name)};
}

QStringList renumberAfter(int d) {
    return {QStringLiteral("update enterprise"),
            QStringLiteral("set %1=%1-1").arg(Dialect::IndexColumn),
            QStringLiteral("where %1>%2").arg(Dialect::IndexColumn).arg(d)};
}

} // namespace PlantSql
