#include "basket/basketsql.h"

namespace BasketSql {

QStringList lines(const QStringList& priceFields, int ndsPercent) {
    QString select = QStringLiteral("SELECT *");
    for (const QString& f : priceFields)
        select += QStringLiteral(",([%1]*(100+%2)/100) AS %1NDS").arg(f).arg(ndsPercent);
    return {select, QStringLiteral("FROM Order_"), QStringLiteral("ORDER BY N")};
}

QStringList totals(const QStringList& priceFields, int ndsPercent) {
    QString sums = QStringLiteral("SELECT Sum([V]*[K]) AS OB_VES");
    for (const QString& f : priceFields)
        sums += QStringLiteral(", Sum([%1]*[K]) AS OB_%1, Sum([%1]*(100+%2)*[K]/100) AS OB_%1NDS")
                    .arg(f)
                    .arg(ndsPercent);
    return {sums, QStringLiteral("FROM Order_")};
}

} // namespace BasketSql
