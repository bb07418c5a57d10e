#include "data/catalogcheck.h"

#include "data/connection.h"
#include "data/dberror.h"
#include "data/dbmessage.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace CatalogCheck {

namespace {

QStringList column(Connection& db, const QString& sql) {
    QSqlQuery q(db.database());
    if (!q.exec(sql)) DbMessage::raise(db.path(), q.lastError());
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

QStringList columnsOf(Connection& db, const QString& table) {
    QStringList names;
    for (const QString& n :
         column(db, QStringLiteral("select name from pragma_table_info('%1')").arg(table)))
        names << n.toLower();
    return names;
}

} // namespace

QStringList priceTables() {
    return {QStringLiteral("Price"), QStringLiteral("Order_"), QStringLiteral("OrderAll"),
            QStringLiteral("History")};
}

QStringList missingPriceColumns(Connection& db) {
    const QStringList fields = column(db, QStringLiteral("select FieldName from PriceFields"));
    QStringList missing;
    for (const QString& table : priceTables()) {
        const QStringList present = columnsOf(db, table);
        for (const QString& f : fields)
            if (!present.contains(f.trimmed().toLower()))
                missing << table + QLatin1Char('.') + f.trimmed();
    }
    return missing;
}

bool hasCommonModification(Connection& db) {
    return !column(db, QStringLiteral("select modif from Modif where modif = 0")).isEmpty();
}

void verify(Connection& db) {
    if (!hasCommonModification(db))
        throw FileError(
            QStringLiteral("В файле %1 нет строки общей модификации (modif = 0) в таблице "
                           "Modif: без неё список модификаций показал бы не те модификации. "
                           "Каталог не может быть открыт; восстановите файл из резервной копии "
                           "или обратитесь к разработчикам.")
                .arg(db.path()));
    const QStringList missing = missingPriceColumns(db);
    if (!missing.isEmpty())
        throw FileError(
            QStringLiteral("В файле %1 нет столбцов цен, перечисленных в таблице PriceFields: "
                           "%2. Каталог не может быть открыт; восстановите файл из резервной "
                           "копии или обратитесь к разработчикам.")
                .arg(db.path(), missing.join(QStringLiteral(", "))));
}

} // namespace CatalogCheck
