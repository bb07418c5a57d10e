#include "basket/ordersql.h"

#include "data/connection.h"
#include "data/dberror.h"
#include "data/dialect.h"
#include "data/sql.h"

#include <QSqlError>
#include <limits>

namespace OrderSql {

int quantity(const QString& typed) {
    const QString digits = typed.trimmed();
    if (digits.isEmpty()) return 0;
    bool ok = false;
    const qlonglong k = digits.toLongLong(&ok);
    if (!ok || k > std::numeric_limits<qint32>::max() || k < 0)
        throw CatalogError(QStringLiteral("Количество %1 слишком велико: можно заказать не более "
                                          "%2 штук.")
                               .arg(digits)
                               .arg(std::numeric_limits<qint32>::max()));
    return int(k);
}

QString price(const Price& p) {
    try {
        return Sql::number(p.text);
    } catch (const CatalogError&) {
        throw CatalogError(QStringLiteral("Цена «%1» введена неверно: «%2» не является числом.")
                               .arg(p.caption, p.text));
    }
}

QStringList findLine(const QString& key) {
    return {QStringLiteral("select * from Order_"),
            QStringLiteral("where ID_f=") + Sql::quote(key)};
}

QStringList lastLine() {
    return {QStringLiteral("select max(N) as N from Order_")};
}

QStringList insertLine(int n, const QString& number, const QString& key, const QString& name, int k,
                       const QString& weight, const std::vector<Price>& prices) {
    QString columns = QStringLiteral("insert into Order_(N, ID, ID_f, Name, K, V");
    QString values = QStringLiteral("values (%1, %2, %3, %4, %5, %6")
                         .arg(n)
                         .arg(Sql::quote(number), Sql::quote(key), Sql::quote(name))
                         .arg(k)
                         .arg(Sql::number(weight));
    for (const Price& p : prices) {
        columns += QStringLiteral(", ") + p.field;
        values += QStringLiteral(", ") + price(p);
    }
    return {columns + QLatin1Char(')'), values + QLatin1Char(')')};
}

QStringList addToLine(const QString& key, int k) {
    return {QStringLiteral("update Order_"), QStringLiteral("set K=K+%1").arg(k),
            QStringLiteral("where ID_f=") + Sql::quote(key)};
}

QStringList changeLine(const QString& key, int k, const std::vector<Price>& prices) {
    QString set = QStringLiteral("set K=%1").arg(k);
    for (const Price& p : prices)
        set += QStringLiteral(", ") + p.field + QLatin1Char('=') + price(p);
    return {QStringLiteral("update Order_"), set, QStringLiteral("where ID_f=") + Sql::quote(key)};
}

QStringList deleteNumbered(const QString& table, int n) {
    return {QStringLiteral("delete from ") + table, QStringLiteral("where N=%1").arg(n)};
}

QStringList closeUp(const QString& table, int n) {
    return {QStringLiteral("update ") + table, QStringLiteral("set N=N-1"),
            QStringLiteral("where N>%1").arg(n)};
}

QStringList historyRecord(int n, const QString& supplier, const QString& buyer, const QString& date,
                          const QString& number, const QString& name, const QString& k,
                          const QString& weight, const std::vector<Price>& prices) {
    QString columns =
        QStringLiteral("insert into History(N,Supplier, Buyer, Date_, ID, Name, K, V");
    QString values =
        QStringLiteral("values(%1,%2,%3,%4,%5,%6,%7,%8")
            .arg(n)
            .arg(Sql::quote(supplier), Sql::quote(buyer), Dialect::dateLiteral(date),
                 Sql::quote(number), Sql::quote(name), Sql::number(k), Sql::number(weight));
    for (const Price& p : prices) {
        columns += QStringLiteral(", ") + p.field;
        values += QStringLiteral(", ") + price(p);
    }
    return {columns + QLatin1Char(')'), values + QLatin1Char(')')};
}

QStringList lastRecord() {
    return {QStringLiteral("select max(N) as N from History")};
}

namespace {

QString pattern(const QString& text) {
    return text == Any ? QStringLiteral("'%'") : Sql::quote(text);
}

QString where(const HistoryFilter& f) {
    return QStringLiteral("where (Supplier like %1) and (Buyer like %2) and (Date_ between %3 and "
                          "%4)")
        .arg(pattern(f.supplier), pattern(f.buyer), Dialect::dateLiteral(f.from),
             Dialect::dateLiteral(f.to));
}

} // namespace

QStringList historySelect(const QStringList& priceFields, int ndsPercent,
                          const HistoryFilter& filter) {
    QString select = QStringLiteral("select *");
    for (const QString& f : priceFields)
        select += QStringLiteral(",([%1]*(100+%2)/100) as %1NDS").arg(f).arg(ndsPercent);
    return {select, QStringLiteral("from History"), where(filter), QStringLiteral("order by N")};
}

QStringList historyTotals(const QStringList& priceFields, int ndsPercent,
                          const HistoryFilter& filter) {
    QString sums = QStringLiteral("SELECT Sum([V]*[K]) AS OB_VES");
    for (const QString& f : priceFields)
        sums += QStringLiteral(", Sum([%1]*[K]) AS OB_%1, Sum([%1]*(100+%2)*[K]/100) AS OB_%1NDS")
                    .arg(f)
                    .arg(ndsPercent);
    return {sums, QStringLiteral("FROM History"), where(filter)};
}

QStringList enterprises() {
    return {QStringLiteral("select * from enterprise order by ") + Dialect::IndexColumn};
}

} // namespace OrderSql
