// Adding, changing and deleting basket lines through the add-to-basket dialog.
#include "app/mainform.h"

#include "app/messbox.h"
#include "basket/order.h"
#include "basket/ordersql.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/sql.h"
#include "platform/errordisplay.h"

#include <QAction>
#include <QToolButton>

namespace {

std::vector<OrderSql::Price> typedPrices(const std::vector<TDM::PriceColumn>& columns,
                                         const QStringList& typed) {
    std::vector<OrderSql::Price> prices;
    for (size_t i = 0; i < columns.size(); ++i)
        prices.push_back(
            {columns[i].field, columns[i].name, int(i) < typed.size() ? typed[int(i)] : QString()});
    return prices;
}

// Each price column's value in the current row of q as plain number text, or fallback.
QStringList pricesOf(TDM& dm, const TQuery& q, const QString& fallback) {
    QStringList out;
    for (const TDM::PriceColumn& p : dm.priceColumns()) {
        const QString text = q.isEmpty() ? QString() : q.asString(p.field);
        out << (text.isEmpty() ? fallback : text);
    }
    return out;
}

bool basketLines(TDM& dm) {
    return dm.QOrder.active() && !dm.QOrder.isEmpty();
}

} // namespace

void TmainForm::AddPrice() {
    orderForm->AddPrice();
    ++PriceRowsMade;
}

void TmainForm::sbOrderClick() {
    TQuery& price = dm->QPrice;
    price.setText({QStringLiteral("select * from Price where ID_P=") + Sql::quote(CurN)});
    price.open();
    const QStringList prices = pricesOf(*dm, price, QStringLiteral("0"));
    price.close();
    orderForm->prepareCurrent(CurN, CurName, CurV, prices);
    orderForm->run([this](const OrderInput& in) { return orderConfirm(in); });
}

void TmainForm::miOrderClick() {
    sbOrderClick();
}

void TmainForm::sbAddClick() {
    orderForm->prepareArbitrary();
    orderForm->run([this](const OrderInput& in) { return orderConfirm(in); });
}

void TmainForm::sbChangeClick() {
    if (!basketLines(*dm)) return;
    const TQuery& line = dm->QOrder;
    orderForm->prepareChange(line.asString(QStringLiteral("ID")),
                             line.asString(QStringLiteral("Name")),
                             line.asString(QStringLiteral("K")), pricesOf(*dm, line, QString()));
    orderForm->run([this](const OrderInput& in) { return orderConfirm(in); });
}

bool TmainForm::orderConfirm(const OrderInput& in) {
    // Everything typed is checked before the first statement runs.
    const int k = OrderSql::quantity(in.quantity);
    if (k == 0) {
        NewOrder();
        return false;
    }
    const auto prices = typedPrices(dm->priceColumns(), in.prices);
    const QString key = StrToFind(in.number);
    TQuery& q = dm->QOrder2;
    if (in.change) {
        q.setText(OrderSql::changeLine(key, k, prices));
        q.execSQL();
    } else {
        q.setText(OrderSql::findLine(key));
        q.open();
        const bool merge = !q.isEmpty();
        if (merge) {
            q.setText(OrderSql::addToLine(key, k));
        } else {
            q.setText(OrderSql::lastLine());
            q.open();
            const int n = q.asInteger(QStringLiteral("N")) + 1;
            q.setText(OrderSql::insertLine(n, in.number, key, in.name, k, in.weight, prices));
        }
        q.execSQL();
    }
    NewOrder();
    return true;
}

void TmainForm::sbDelClick() {
    if (!basketLines(*dm)) return;
    messForm->ShowBox(QStringLiteral("Удалить запись?"), CatalogCaption, TmessForm::kindYesNo);
    if (messForm->Answer != TmessForm::mrYes) return;
    const int n = dm->QOrder.asInteger(QStringLiteral("N"));
    deleteNumbered(QStringLiteral("Order_"), n);
    NewOrder();
}

void TmainForm::deleteNumbered(const QString& table, int n) {
    // The delete and the renumbering stand or fall together, so the numbers never gap.
    Transaction t(*dm->Database);
    TQuery& q = table == QStringLiteral("Order_") ? dm->QOrder2 : dm->QHistory2;
    q.setText(OrderSql::deleteNumbered(table, n));
    q.execSQL();
    q.setText(OrderSql::closeUp(table, n));
    q.execSQL();
    t.commit();
}

void TmainForm::connectLines() {
    using ErrorDisplay::connect;
    connect(sbOrder, &QToolButton::clicked, this, [this] { sbOrderClick(); });
    connect(miOrder, &QAction::triggered, this, [this] { miOrderClick(); });
    connect(sbAdd, &QAction::triggered, this, [this] { sbAddClick(); });
    connect(sbChange, &QAction::triggered, this, [this] { sbChangeClick(); });
    connect(sbDel, &QAction::triggered, this, [this] { sbDelClick(); });
    connect(sbOrderAll, &QToolButton::clicked, this, [this] { sbOrderAllClick(); });
}
