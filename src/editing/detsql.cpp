#include "editing/detsql.h"

#include "data/connection.h"
#include "data/dberror.h"
#include "data/sql.h"
#include "data/tquery.h"
#include "search/keyform.h"

namespace DetSql {

QString weight(const QString& typed) {
    try {
        return Sql::number(typed);
    } catch (const CatalogError&) {
        throw CatalogError(
            QStringLiteral("Вес введён неверно: «%1» не является числом.").arg(typed));
    }
}

QString quantity(const QString& typed) {
    return QString::number(OrderSql::quantity(typed));
}

QStringList insertDetail(const Part& p, const QString& v) {
    return {
        QStringLiteral("insert into Detail(N_f, N, OKP, Name, V, modif)"),
        QStringLiteral("values(%1,%2,%3,%4,%5,%6)")
            .arg(Sql::quote(p.key), Sql::quote(p.number), Sql::quote(p.okp), Sql::quote(p.name), v)
            .arg(p.modif)};
}

QStringList lastNote(int modif) {
    return {QStringLiteral("select max(remN) as remN from Rem"),
            QStringLiteral("where modif=%1").arg(modif)};
}

QStringList insertNote(int remN, const QString& note, int modif) {
    return {QStringLiteral("insert into Rem(remN, Rem, modif)"),
            QStringLiteral("values(%1,%2,%3)").arg(remN).arg(Sql::quote(note)).arg(modif)};
}

QStringList storedNote(int remN, int modif) {
    return {QStringLiteral("select * from Rem"),
            QStringLiteral("where (remN=%1) and (modif=%2)").arg(remN).arg(modif)};
}

namespace {

QString occurrenceWhere(const QString& key, const QString& assemblyKey, int modif) {
    return QStringLiteral("where (N_f=%1) and (SE_f=%2) and (modif=%3)")
        .arg(Sql::quote(key), Sql::quote(assemblyKey))
        .arg(modif);
}

} // namespace

QStringList occurrence(const QString& key, const QString& assemblyKey, int modif) {
    return {QStringLiteral("select * from DataTab"), occurrenceWhere(key, assemblyKey, modif)};
}

QStringList insertOccurrence(const Part& p, const QString& assemblyKey, int position,
                             const QString& k, int remN) {
    return {QStringLiteral(
                "insert into DataTab(N_f, SE_f, SE, Picture, Position, Quantity, remN, modif)"),
            QStringLiteral("values(%1,%2,%3,%4,%5,%6,%7,%8)")
                .arg(Sql::quote(p.key), Sql::quote(assemblyKey), Sql::quote(p.assembly))
                .arg(p.picture)
                .arg(position)
                .arg(k)
                .arg(remN)
                .arg(p.modif)};
}

QStringList updateDetail(const Part& p, const QString& v) {
    return {QStringLiteral("update Detail"),
            QStringLiteral("set N=%1, OKP=%2, Name=%3, V=%4")
                .arg(Sql::quote(p.stored), Sql::quote(p.okp), Sql::quote(p.name), v),
            QStringLiteral("where (N_f=%1) and (modif=%2)").arg(Sql::quote(p.key)).arg(p.modif)};
}

QStringList updateOccurrence(const Part& p, const QString& assemblyKey, int position,
                             const QString& k, int remN) {
    return {QStringLiteral("update DataTab"),
            QStringLiteral("set Picture=%1, Position=%2, Quantity=%3, remN=%4")
                .arg(p.picture)
                .arg(position)
                .arg(k)
                .arg(remN),
            occurrenceWhere(p.key, assemblyKey, p.modif)};
}

QStringList findPrice(const QString& number) {
    return {QStringLiteral("select * from Price where ID_P=") + Sql::quote(number)};
}

QStringList insertPrice(const QString& number, const QString& name,
                        const std::vector<OrderSql::Price>& prices) {
    QString columns = QStringLiteral("insert into Price(ID_P, Name_P");
    QString values = QStringLiteral("values(%1,%2").arg(Sql::quote(number), Sql::quote(name));
    for (const OrderSql::Price& p : prices) {
        columns += QLatin1Char(',') + p.field;
        values += QLatin1Char(',') + OrderSql::price(p);
    }
    return {columns + QLatin1Char(')'), values + QLatin1Char(')')};
}

QStringList updatePrice(const QString& number, const QString& name,
                        const std::vector<OrderSql::Price>& prices) {
    QString set = QStringLiteral("set Name_P=") + Sql::quote(name);
    for (const OrderSql::Price& p : prices)
        set += QStringLiteral(", ") + p.field + QLatin1Char('=') + OrderSql::price(p);
    return {QStringLiteral("update Price"), set,
            QStringLiteral("where ID_P=") + Sql::quote(number)};
}

namespace {

// A new note numbered after the highest of its modification.
int addNote(TQuery& q, const QString& note, int modif) {
    q.setText(lastNote(modif));
    q.open();
    const int remN = q.asInteger(QStringLiteral("remN")) + 1;
    q.setText(insertNote(remN, note, modif));
    q.execSQL();
    return remN;
}

} // namespace

void write(Connection& db, const Part& part) {
    // Every number is checked before anything is written.
    const QString v = weight(part.weight);
    const QString k = quantity(part.quantity);
    for (const OrderSql::Price& p : part.prices)
        OrderSql::price(p);
    const QString assemblyKey = keyForm(part.assembly);

    TQuery q(db, QStringLiteral("QDetWrite"));
    Transaction t(db);
    if (part.add) {
        q.setText(insertDetail(part, v));
        q.execSQL();
        const int remN = part.note.isEmpty() ? 0 : addNote(q, part.note, part.modif);
        q.setText(insertOccurrence(part, assemblyKey, 0, k, remN));
        q.execSQL();
        q.setText(insertPrice(part.number, part.name, part.prices));
        q.execSQL();
        t.commit();
        return;
    }

    q.setText(occurrence(part.key, assemblyKey, part.modif));
    q.open();
    int position = 0;
    int remN = 0;
    if (!q.isEmpty()) {
        if (q.asInteger(QStringLiteral("Picture")) == part.picture)
            position = q.asInteger(QStringLiteral("Position"));
        remN = q.asInteger(QStringLiteral("remN"));
    }
    if (!part.note.isEmpty()) {
        // With no note linked the stored note counts as empty, so the typed one is added.
        QString stored;
        if (remN > 0) {
            q.setText(storedNote(remN, part.modif));
            q.open();
            if (!q.isEmpty()) stored = q.asString(QStringLiteral("Rem"));
        }
        if (stored != part.note) remN = addNote(q, part.note, part.modif);
    }
    q.setText(updateDetail(part, v));
    q.execSQL();
    q.setText(occurrence(part.key, assemblyKey, part.modif));
    q.open();
    q.setText(q.isEmpty() ? insertOccurrence(part, assemblyKey, position, k, remN)
                          : updateOccurrence(part, assemblyKey, position, k, remN));
    q.execSQL();
    q.setText(findPrice(part.stored));
    q.open();
    q.setText(q.isEmpty() ? insertPrice(part.stored, part.name, part.prices)
                          : updatePrice(part.stored, part.name, part.prices));
    q.execSQL();
    t.commit();
}

} // namespace DetSql
