#include "settings/pricecolumns.h"

#include "data/datamod.h"
#include "data/sql.h"

namespace PriceColumns {

const QStringList Tables{QStringLiteral("Price"), QStringLiteral("Order_"),
                         QStringLiteral("OrderAll"), QStringLiteral("History")};

QString nextFieldName(const QStringList& fields) {
    const QString base = QStringLiteral("Price");
    int number = 0; // 0: the bare "Price"
    if (!fields.isEmpty()) {
        const QString rest = fields.last().mid(base.size());
        if (rest.isEmpty())
            number = 1;
        else if (rest.compare(QStringLiteral("Z"), Qt::CaseInsensitive) != 0)
            number = rest.toInt() + 1;
    }
    auto taken = [&](const QString& f) { return fields.contains(f, Qt::CaseInsensitive); };
    QString field = number == 0 ? base : base + QString::number(number);
    // The rule repeats a name when the last row is not the newest column.
    while (taken(field))
        field = base + QString::number(++number);
    return field;
}

int parseNds(const QString& text) {
    const QChar first = text.size() > 0 ? text[0] : QChar();
    const QChar second = text.size() > 1 ? text[1] : QChar();
    QString digits =
        first.isDigit() && first.unicode() < 0x80 ? QString(first) : QStringLiteral("0");
    if (second.isDigit() && second.unicode() < 0x80) digits += second;
    return digits.toInt();
}

QStringList createStatements(const QString& field, const QString& name) {
    QStringList s{
        QStringLiteral("insert into PriceFields(FieldName,Name,Visible) values(%1,%2,True)")
            .arg(Sql::quote(field), Sql::quote(name))};
    for (const QString& table : Tables)
        s << QStringLiteral("alter table %1 add %2 float").arg(table, field);
    return s;
}

QStringList deleteStatements(const QString& field) {
    QStringList s{
        QStringLiteral("delete from PriceFields where FieldName=%1").arg(Sql::quote(field))};
    for (const QString& table : Tables)
        s << QStringLiteral("alter table %1 drop %2").arg(table, field);
    return s;
}

QString renameStatement(const QString& field, const QString& name) {
    return QStringLiteral("update PriceFields set Name=%1 where FieldName=%2")
        .arg(Sql::quote(name), Sql::quote(field));
}

QString visibleStatement(const QString& field, bool visible) {
    return QStringLiteral("update PriceFields set Visible=%1 where FieldName=%2")
        .arg(visible ? QStringLiteral("True") : QStringLiteral("False"), Sql::quote(field));
}

namespace {

// The queries that read the price tables are closed while their columns change (an open
// statement would lock the table); the search comes back as it was.
class QueriesClosed {
public:
    explicit QueriesClosed(TDM& dm) : dm(dm), findOpen(dm.QFind.active()) {
        for (TQuery* q : {&dm.QFind, &dm.QOrder, &dm.QOrderAll, &dm.QHistory})
            q->close();
    }
    void reopen() {
        if (findOpen) dm.QFind.open();
    }

private:
    TDM& dm;
    bool findOpen;
};

} // namespace

QString create(TDM& dm, const QString& name) {
    QStringList fields;
    for (const TDM::PriceColumn& p : dm.priceColumns())
        fields << p.field;
    const QString field = nextFieldName(fields);
    QueriesClosed closed(dm);
    dm.NewField(field);
    try {
        dm.Database->execAll(createStatements(field, name));
    } catch (...) {
        dm.DelField(field);
        throw;
    }
    closed.reopen();
    return field;
}

void remove(TDM& dm, const QString& field) {
    QueriesClosed closed(dm);
    dm.Database->execAll(deleteStatements(field));
    dm.DelField(field);
    closed.reopen();
}

} // namespace PriceColumns
