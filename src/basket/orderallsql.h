#pragma once

#include "basket/ordersql.h"

#include <QString>
#include <QStringList>
#include <vector>

// The statements of the staging table OrderAll, which holds a search result's parts, one row
// per key form, while the user ticks the ones that go into the basket.
namespace OrderAllSql {

QStringList clear();
// The staging rows in staging order.
QStringList staged();
// Staging row nn, ticked, with quantity 1.
QStringList stage(int nn, const QString& number, const QString& key, const QString& name,
                  const QString& weight, const std::vector<OrderSql::Price>& prices);
// The row with this key form ticked or unticked.
QStringList tick(const QString& key, bool ins);

} // namespace OrderAllSql
