#include "basket/orderallsql.h"

#include "data/sql.h"

namespace OrderAllSql {

QStringList clear() {
    return {QStringLiteral("delete from OrderAll")};
}

QStringList staged() {
    return {QStringLiteral("select * from OrderAll"), QStringLiteral("order by nn")};
}

QStringList stage(int nn, const QString& number, const QString& key, const QString& name,
                  const QString& weight, const std::vector<OrderSql::Price>& prices) {
    QString columns = QStringLiteral("insert into OrderAll(nn,ins, N, N_f, Name, K, V");
    QString values =
        QStringLiteral("values(%1,True,%2,%3,%4,1,%5")
            .arg(nn)
            .arg(Sql::quote(number), Sql::quote(key), Sql::quote(name), Sql::number(weight));
    for (const OrderSql::Price& p : prices) {
        columns += QStringLiteral(", ") + p.field;
        values += QStringLiteral(", ") + OrderSql::price(p);
    }
    return {columns + QLatin1Char(')'), values + QLatin1Char(')')};
}

QStringList tick(const QString& key, bool ins) {
    return {QStringLiteral("UPDATE OrderAll"),
            ins ? QStringLiteral("SET ins=True") : QStringLiteral("SET ins=False"),
            QStringLiteral("WHERE N_f=") + Sql::quote(key)};
}

} // namespace OrderAllSql
