#include "settings/priceupdate.h"

#include "data/connection.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/dbmessage.h"
#include "data/sql.h"
#include "search/keyform.h"
#include "settings/pricetable.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace PriceUpdate {

namespace {

// Every value of the first column of a select.
QSet<QString> column(TQuery& q, const QString& select) {
    q.clear();
    q.add(select);
    q.open();
    QSet<QString> out;
    out.reserve(q.recordCount());
    for (int r = 0; r < q.recordCount(); ++r)
        out.insert(q.cell(r, 0).toString());
    q.close();
    return out;
}

// The same kind of error, with a word that nothing was written.
[[noreturn]] void rethrowUnwritten(const CatalogError& e) {
    const QString text = e.message() + QStringLiteral("\n\nЦены в каталоге не изменены.");
    if (dynamic_cast<const FileError*>(&e)) throw FileError(text);
    if (dynamic_cast<const ReadOnlyError*>(&e)) throw ReadOnlyError(text);
    if (dynamic_cast<const BusyError*>(&e)) throw BusyError(text);
    if (dynamic_cast<const DbError*>(&e)) throw DbError(text);
    throw CatalogError(text);
}

} // namespace

void check(TDM& dm, const PriceTable& table, const Mapping& m) {
    const int columns = int(table.columns().size());
    for (const int c : {m.number, m.name, m.price})
        if (c < 0 || c >= columns)
            throw CatalogError(QStringLiteral("Не указаны поля номера, наименования и цены"));
    // Prices are read as text: character and numeric fields only (binary FoxPro numbers,
    // dates and logicals would read as garbage).
    const PriceTable::Column& priceColumn = table.columns()[size_t(m.price)];
    if (!QByteArray("CNF").contains(priceColumn.type))
        throw FileError(
            QStringLiteral("Файл %1: поле %2 (тип %3) не может содержать цену")
                .arg(table.path(), priceColumn.name, QChar::fromLatin1(priceColumn.type)));
    TQuery& q = dm.QPrice;
    q.clear();
    q.add(QStringLiteral("select * from Price where 0"));
    q.open();
    const bool known = !m.field.isEmpty() && q.hasField(m.field);
    q.close();
    if (!known) throw DbError(QStringLiteral("В таблице цен нет столбца %1").arg(m.field));
}

Counts run(TDM& dm, const PriceTable& table, const Mapping& m,
           const std::function<void(int)>& progress) {
    check(dm, table, m);
    TQuery& q = dm.QPrice;
    // The numbers already priced and the parts already in the catalogue, read once instead
    // of one select per row.
    QSet<QString> priced = column(q, QStringLiteral("select ID_P from Price"));
    QSet<QString> parts;
    if (m.append) parts = column(q, QStringLiteral("select distinct N_f from Detail"));

    Counts counts;
    Connection& db = *dm.Database;
    // One transaction: a fault anywhere leaves the prices as they were, so a list is never half
    // from one supplier's table and half from the old one.
    Transaction transaction(db);
    // One statement object for all rows: making one per statement costs a third more.
    QSqlQuery statement(db.database());
    const auto exec = [&statement, &db](const QString& sql) {
        if (!statement.exec(sql)) DbMessage::raise(db.path(), statement.lastError());
    };
    const QString field = m.field;
    try {
        for (int row = 0; row < table.rowCount(); ++row) {
            if (table.isDeleted(row)) {
                if (progress) progress(row + 1);
                continue;
            }
            const QString id = table.text(row, m.number);
            const QString name = table.text(row, m.name);
            const ParsedPrice price = parsePrice(table.text(row, m.price));
            if (id.isEmpty() || !price.ok) {
                ++counts.skipped;
            } else {
                const QString p = QString::number(price.value, 'g', 15);
                if (priced.contains(id)) {
                    exec(QStringLiteral("update Price set Name_P=%1, %2=%3 where ID_P=%4")
                             .arg(Sql::quote(name), field, p, Sql::quote(id)));
                    ++counts.updated;
                } else {
                    exec(QStringLiteral("insert into Price(ID_P,Name_P,%1) values(%2,%3,%4)")
                             .arg(field, Sql::quote(id), Sql::quote(name), p));
                    priced.insert(id);
                    ++counts.added;
                }
                const QString key = keyForm(id);
                if (m.append && !parts.contains(key)) {
                    exec(QStringLiteral("insert into Detail(modif, N_f, N, Name) "
                                        "values(0, %1, %2, %3)")
                             .arg(Sql::quote(key), Sql::quote(id), Sql::quote(name)));
                    exec(QStringLiteral("insert into DataTab(modif, N_f, SE_f, SE, Picture, "
                                        "Position, Quantity, remN) "
                                        "values(0, %1, ' ', ' ', 0, 0, 0, 0)")
                             .arg(Sql::quote(key)));
                    parts.insert(key);
                    ++counts.parts;
                }
            }
            if (progress) progress(row + 1);
        }
        transaction.commit();
    } catch (const CatalogError& e) {
        rethrowUnwritten(e);
    }
    return counts;
}

} // namespace PriceUpdate
