// Adding a whole search result to the basket: staging it into OrderAll, and merging the rows
// the user left ticked.
#include "app/mainform.h"

#include "basket/orderAll.h"
#include "basket/orderallsql.h"
#include "basket/ordersql.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "search/keyform.h"

#include <QProgressBar>
#include <QSet>
#include <algorithm>

namespace {

struct GaugeRun {
    QProgressBar* gauge;
    int stride;
    GaugeRun(QProgressBar* g, int count) : gauge(g), stride(std::max(1, count / 100)) {
        gauge->setRange(0, count);
        gauge->setValue(0);
        gauge->show();
    }
    ~GaugeRun() { gauge->hide(); }
    // The gauge moves in hundredths: painting it for every row would cost more than the rows.
    void step(int done) {
        if (done % stride == 0 || done == gauge->maximum()) gauge->setValue(done);
    }
};

std::vector<OrderSql::Price> rowPrices(const std::vector<TDM::PriceColumn>& columns,
                                       const TQuery& row) {
    std::vector<OrderSql::Price> prices;
    for (const TDM::PriceColumn& p : columns)
        prices.push_back({p.field, p.name, row.asString(p.field)});
    return prices;
}

} // namespace

void TmainForm::sbOrderAllClick() {
    TQuery& found = dm->QFind2;
    found.setText(dm->QFind.text().split(QLatin1Char('\n')));
    found.open();
    {
        GaugeRun run(gProgress, found.recordCount());
        const auto columns = dm->priceColumns();
        // A part found in several modifications comes in consecutive rows; it is staged once.
        QSet<QString> staged;
        TQuery& q = dm->QOrderAll2;
        Transaction t(*dm->Database);
        q.setText(OrderAllSql::clear());
        q.execSQL();
        int nn = 1;
        for (int done = 1; !found.eof(); found.next(), ++done) {
            const QString key = found.asString(QStringLiteral("N_f"));
            if (!staged.contains(key)) {
                staged.insert(key);
                q.setText(OrderAllSql::stage(nn++, found.asString(QStringLiteral("N")), key,
                                             found.asString(QStringLiteral("Name")),
                                             found.asString(QStringLiteral("V")),
                                             rowPrices(columns, found)));
                q.execSQL();
            }
            run.step(done);
        }
        t.commit();
    }
    found.close();
    orderAllForm->run(size(), [this](QProgressBar* gauge) { orderAllConfirm(gauge); });
}

void TmainForm::orderAllConfirm(QProgressBar* gauge) {
    TQuery& rows = dm->QOrderAll2;
    rows.setText(OrderAllSql::staged());
    rows.open();
    TQuery& q = dm->QOrder2;
    q.setText({QStringLiteral("select ID_f from Order_")});
    q.open();
    QSet<QString> inBasket;
    for (; !q.eof(); q.next())
        inBasket.insert(q.asString(QStringLiteral("ID_f")));
    q.setText(OrderSql::lastLine());
    q.open();
    int n = q.asInteger(QStringLiteral("N")) + 1;
    const auto columns = dm->priceColumns();
    {
        GaugeRun run(gauge, rows.recordCount());
        // All ticked rows or none: a failure leaves the basket as it was.
        Transaction t(*dm->Database);
        for (int done = 1; !rows.eof(); rows.next(), ++done) {
            if (rows.asBoolean(QStringLiteral("ins"))) {
                const QString key = rows.asString(QStringLiteral("N_f"));
                const int k = rows.asInteger(QStringLiteral("K"));
                if (inBasket.contains(key)) {
                    q.setText(OrderSql::addToLine(key, k));
                } else {
                    q.setText(OrderSql::insertLine(n++, rows.asString(QStringLiteral("N")), key,
                                                   rows.asString(QStringLiteral("Name")), k,
                                                   rows.asString(QStringLiteral("V")),
                                                   rowPrices(columns, rows)));
                    inBasket.insert(key);
                }
                q.execSQL();
            }
            run.step(done);
        }
        t.commit();
    }
    rows.close();
    NewOrder();
}
