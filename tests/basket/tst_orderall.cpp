// "Добавить найденные детали в корзину...": the search result staged with a check column, and
// the ticked rows merged into the basket by key form.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/Newgrid.h"
#include "basket/orderAll.h"
#include "basketsteps.h"
#include "data/datamod.h"
#include "search/findsql.h"
#include "support/testmain.h"

#include <QProgressBar>
#include <QToolButton>

using BasketSteps::basket;
using BasketSteps::rows;

namespace {

// Every visible part, as a search for "*" gives it.
void searchAll() {
    FindSql::Statement s;
    s.condition = QStringLiteral("where ((modif=1) OR (modif=2))");
    s.lines = {QStringLiteral("select * from forFind where ((modif=1) OR (modif=2))"),
               QStringLiteral("order by N_f, modif")};
    mainForm->showSearchResult(s, false);
}

void onOrderAll(ModalScript& script, std::function<void(TorderAllForm&)> act) {
    script.then([act](QDialog& d) { act(static_cast<TorderAllForm&>(d)); });
}

// The staging row of this number, 0-based.
int rowOf(const QString& number) {
    const TQuery& q = DM->QOrderAll;
    for (int r = 0; r < q.recordCount(); ++r)
        if (q.cell(r, q.fieldIndex("N")).toString() == number) return r;
    return -1;
}

void clickCheck(TorderAllForm& o, int row) {
    const QRect cell =
        o.dbgIns->visualRect(static_cast<QAbstractItemView*>(o.dbgIns)->model()->index(row, 0));
    QTest::mouseClick(o.dbgIns->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList staging(CatalogFixture& f) {
    return rows(f, "select nn, ins, N, N_f, Name, K, V, Price, PriceZ from OrderAll order by nn");
}

} // namespace

class TestOrderAll : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeResultMergedUntickedLeftOut();
    void flippingKeepsTheRowCurrent();
    void cancelAndNothingTickedLeaveTheBasket();
    void failureAddsNothingAndSaysWhy();
    void layout();
};

void TestOrderAll::wholeResultMergedUntickedLeftOut() {
    ModalScript script;
    CatalogFixture f;
    f.addPart(1, "50-777", "Гайка 'М8'", 0.01);
    f.addOccurrence(1, "50-777", "", 2, 2, 1);
    // A line already there with its own prices, typed in another written form of the key.
    f.exec("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values "
           "(1, '50 1002015', '501002015', 'Гильза', 2, 2.35, 111, 99)");
    auto forms = f.start();
    searchAll();
    QVERIFY(!mainForm->sbOrderAll->isHidden());
    QStringList staged;
    onOrderAll(script, [&](TorderAllForm& o) {
        QCOMPARE(o.windowTitle(), QString("Заказ группы деталей"));
        staged = staging(f);
        clickCheck(o, rowOf("ИЗ-12.001"));
        o.bbOK->click();
    });
    mainForm->sbOrderAll->click();
    QVERIFY(script.unexpected.isEmpty());
    QVERIFY(script.messages.isEmpty());
    QVERIFY(!mainForm->gProgress->isVisible());
    // One row per key (the block is found in two modifications), in search order, quantity 1;
    // a part without prices gets 0.
    QCOMPARE(staged.size(), 8);
    QCOMPARE(staged.filter("|50-1002010|").size(), 1);
    QCOMPARE(staged.filter("|Гайка 'М8'|").value(0).section('|', 1),
             QString("1|50-777|50777|Гайка 'М8'|1|0.01|0|0"));
    const QString washer = staged.filter("|ИЗ-12.001|").value(0);
    QCOMPARE(washer.section('|', 1, 1), QString("1"));
    QCOMPARE(washer.section('|', 4), QString("Шайба|1|0|0|0"));
    const QStringList lines = basket(f);
    QCOMPARE(lines.size(), 7);
    // The existing line: quantity raised, its prices and position kept.
    QCOMPARE(lines[0], QString("1|50 1002015|501002015|Гильза|3|2.35|111|99"));
    QCOMPARE(lines.filter("ИЗ-12.001").size(), 0);
    QCOMPARE(lines.filter("|50-1002010|").value(0).section('|', 4), QString("1|95.5|15000|14000"));
    QCOMPARE(lines.filter("Гайка 'М8'").value(0).section('|', 3), QString("Гайка 'М8'|1|0.01|0|0"));
    // New lines numbered on from the basket's last, in staging order.
    QStringList expected;
    for (const QString& s : staged) {
        const QString n = s.section('|', 2, 2);
        if (n != "50-1002015" && n != "ИЗ-12.001") expected << n;
    }
    QStringList numbered;
    for (int i = 1; i < lines.size(); ++i) {
        QCOMPARE(lines[i].section('|', 0, 0), QString::number(i + 1));
        numbered << lines[i].section('|', 1, 1);
    }
    QCOMPARE(numbered, expected);
    // The basket panel shows the new lines.
    QCOMPARE(DM->QOrder.recordCount(), 7);
}

void TestOrderAll::flippingKeepsTheRowCurrent() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    searchAll();
    QStringList seen;
    onOrderAll(script, [&](TorderAllForm& o) {
        const int row = 3;
        const QString key = DM->QOrderAll.cell(row, DM->QOrderAll.fieldIndex("N_f")).toString();
        const QString ins = "select ins from OrderAll where N_f='" + key + "'";
        for (int i = 0; i < 2; ++i) {
            clickCheck(o, row);
            seen << f.scalar(ins).toString() + "@" + QString::number(DM->QOrderAll.recNo()) + "/" +
                        QString::number(o.dbgOrderAll->currentIndex().row());
        }
        o.bbCancel->click();
    });
    mainForm->sbOrderAll->click();
    QCOMPARE(seen, QStringList({"0@4/3", "1@4/3"}));
}

void TestOrderAll::cancelAndNothingTickedLeaveTheBasket() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    searchAll();
    onOrderAll(script, [](TorderAllForm& o) { o.bbCancel->click(); });
    mainForm->sbOrderAll->click();
    QCOMPARE(basket(f), QStringList());
    f.exec("update OrderAll set ins=0");
    onOrderAll(script, [&](TorderAllForm& o) {
        // A new staging run ticks every row again.
        QCOMPARE(f.scalar("select count(*) from OrderAll where ins").toInt(), 7);
        f.exec("update OrderAll set ins=0");
        DM->QOrderAll.open();
        o.bbOK->click();
    });
    mainForm->sbOrderAll->click();
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(basket(f), QStringList());
}

void TestOrderAll::failureAddsNothingAndSaysWhy() {
    ModalScript script;
    CatalogFixture f;
    f.exec("create trigger refuse before insert on Order_ when new.ID='50-3501010' "
           "begin select raise(abort, 'строка отвергнута'); end");
    auto forms = f.start();
    searchAll();
    bool open = false;
    onOrderAll(script, [&](TorderAllForm& o) {
        o.bbOK->click();
        open = o.isVisible();
        o.bbCancel->click();
    });
    script.press("bOK");
    mainForm->sbOrderAll->click();
    QVERIFY(script.unexpected.isEmpty());
    QVERIFY(open);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("строка отвергнута"), qPrintable(script.messages[0]));
    QCOMPARE(basket(f), QStringList());
}

void TestOrderAll::layout() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    searchAll();
    onOrderAll(script, [&](TorderAllForm& o) {
        QCOMPARE(o.height(), mainForm->height() - 30);
        QCOMPARE(o.dbgOrderAll->x(), 27);
        QCOMPARE(o.dbgOrderAll->height() % 18, 0);
        QCOMPARE(o.bbOK->y(), o.bbCancel->y());
        QCOMPARE(o.bbCancel->x() + 75 + 15, o.contentsRect().width());
        QCOMPARE(o.dbgIns->columnWidth(0), 26);
        QVERIFY(o.gProgress->isHidden());
        QStringList titles;
        for (const GridColumn& c : o.dbgOrderAll->columns())
            titles << c.title;
        QCOMPARE(titles.mid(0, 4), QStringList({"Номер", "Наименование", "Кол-во", "Вес"}));
        QCOMPARE(o.ilCheck[0].size(), QSize(16, 16));
        QVERIFY(o.ilCheck[0].toImage() != o.ilCheck[1].toImage());
        o.bbCancel->click();
    });
    mainForm->sbOrderAll->click();
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestOrderAll)
#include "tst_orderall.moc"
