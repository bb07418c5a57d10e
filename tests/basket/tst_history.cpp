// Filing the basket into the order history, the filtered history with its totals, deleting
// records, and the enterprise lists the filter offers.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/Newgrid.h"
#include "basketsteps.h"
#include "data/datamod.h"
#include "data/sql.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QToolButton>

using namespace BasketSteps;

namespace {

const QString Today = QDate::currentDate().toString("yyyy-MM-dd");

void enterprises(CatalogFixture& f) {
    int index = 2;
    for (const char* name : {"Ромашка", "ООО 'Лютик'", "Астра"})
        f.exec(QStringLiteral("insert into enterprise ([Index], Name) values (%1, %2)")
                   .arg(++index)
                   .arg(Sql::quote(name)));
}

void addLine(CatalogFixture& f, int n, const QString& name, int k, const QString& price) {
    f.exec(QStringLiteral("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values "
                          "(%1, '50-%1', '50%1', %2, %3, 0.5, %4, NULL)")
               .arg(n)
               .arg(Sql::quote(name))
               .arg(k)
               .arg(price));
}

void addRecord(CatalogFixture& f, int n, const QString& supplier, const QString& buyer,
               const QString& iso, int k, double price) {
    f.exec(QStringLiteral("insert into History (N, Supplier, Buyer, Date_, ID, Name, K, V, Price, "
                          "PriceZ) values (%1, %2, %3, '%4', '50-%1', 'Деталь', %5, 1, %6, 1)")
               .arg(n)
               .arg(Sql::quote(supplier), Sql::quote(buyer), iso)
               .arg(k)
               .arg(price));
}

void choose(QComboBox* box, const QString& entry) {
    const int i = box->findText(entry);
    QVERIFY2(i >= 0, qPrintable(entry));
    box->setCurrentIndex(i);
    Q_EMIT box->activated(i);
}

void focus(QWidget* w, QEvent::Type type) {
    QFocusEvent e(type, Qt::TabFocusReason);
    QApplication::sendEvent(w, &e);
}

// The Ns the history grid shows.
QStringList shownNumbers() {
    QStringList out;
    TQuery& q = DM->QHistory;
    for (int r = 0; r < q.recordCount(); ++r)
        out << q.cell(r, q.fieldIndex("N")).toString();
    return out;
}

QStringList totalsRow() {
    QStringList out;
    for (int c = 0; c < int(mainForm->dbgHistoryItogo->columns().size()); ++c)
        out << mainForm->dbgHistoryItogo->cellText(0, c);
    return out;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filingNumbersOnAndEmptiesTheBasket();
    void answeringNoKeepsTheBasket();
    void failedFilingWritesNothing();
    void filterBySupplierBuyerAndDates();
    void totalsAndScrollBarFollowTheShownRecords();
    void deletingRecordsAndClearing();
    void enterpriseListsInRegisterOrder();
};

void TestHistory::filingNumbersOnAndEmptiesTheBasket() {
    ModalScript script;
    CatalogFixture f;
    enterprises(f);
    for (int n = 1; n <= 7; ++n)
        addRecord(f, n, "Ромашка", "Астра", "2003-01-01", 1, 1);
    addLine(f, 1, "Кольцо 'А'", 2, "10.5");
    addLine(f, 2, "Втулка", 3, "NULL");
    addLine(f, 3, "Шайба", 1, "7");
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    m.cbOrSupplier->setCurrentIndex(3); // ООО 'Лютик'
    m.cbOrBuyer->setCurrentIndex(2);
    m.meDate->setDate(QDate(2003, 3, 5));
    script.then([&](QDialog& d) {
        // Asked once the history holds the whole basket; the gauge has run through it.
        QCOMPARE(history(f).size(), 10);
        QVERIFY(m.gProgress2->isHidden());
        QCOMPARE(m.gProgress2->maximum(), 3);
        QCOMPARE(m.gProgress2->value(), 3);
        d.findChild<QAbstractButton*>("bYes")->click();
    });
    QTest::mouseClick(m.sbPutToHistory, Qt::LeftButton);
    QCOMPARE(script.messages, QStringList({"Очистить таблицу заказа?"}));
    QCOMPARE(history(f).mid(7),
             QStringList({"8|ООО 'Лютик'|Ромашка|2003-03-05|50-1|Кольцо 'А'|2|0.5|10.5|0",
                          "9|ООО 'Лютик'|Ромашка|2003-03-05|50-2|Втулка|3|0.5|0|0",
                          "10|ООО 'Лютик'|Ромашка|2003-03-05|50-3|Шайба|1|0.5|7|0"}));
    QCOMPARE(basket(f), QStringList());
    QVERIFY(m.sbPutToHistory->isHidden());

    // Filed records are found under their supplier, apostrophe and all.
    m.sbHistory->click();
    m.meDate1->setDate(QDate(2003, 3, 1));
    choose(m.cbSupplier, "ООО 'Лютик'");
    QCOMPARE(shownNumbers(), QStringList({"8", "9", "10"}));
    QCOMPARE(m.dbgHistory->cellText(0, 2), QString("05.03.2003"));
    // Price and price with VAT beside it.
    QCOMPARE(m.dbgHistory->cellText(0, 7), QString("10,50"));
    QCOMPARE(m.dbgHistory->cellText(0, 8), QString("12,60"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestHistory::answeringNoKeepsTheBasket() {
    ModalScript script;
    CatalogFixture f;
    addLine(f, 1, "Втулка", 2, "1");
    auto forms = f.start();
    mainForm->sbView->click();
    for (int i = 0; i < 2; ++i) {
        script.press("bNo");
        mainForm->sbPutToHistory->click();
    }
    QCOMPARE(basket(f).size(), 1);
    const QString filed = "|Не указано|Не указано|" + Today + "|50-1|Втулка|2|0.5|1|0";
    QCOMPARE(history(f), QStringList({"1" + filed, "2" + filed}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestHistory::failedFilingWritesNothing() {
    ModalScript script;
    CatalogFixture f;
    addRecord(f, 1, "Ромашка", "Астра", Today, 1, 1);
    addLine(f, 1, "Втулка", 2, "1");
    addLine(f, 2, "Шайба", 2, "'abc'");
    addLine(f, 3, "Кольцо", 2, "1");
    auto forms = f.start();
    mainForm->sbView->click();
    script.press("bOK");
    mainForm->sbPutToHistory->click();
    // The error is shown instead of the question; nothing of the basket reached the history.
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages.first().contains("abc"), qPrintable(script.messages.first()));
    QCOMPARE(history(f).size(), 1);
    QCOMPARE(basket(f).size(), 3);
    QVERIFY(mainForm->gProgress2->isHidden());
    QVERIFY(script.unexpected.isEmpty());
}

void TestHistory::filterBySupplierBuyerAndDates() {
    ModalScript script;
    CatalogFixture f;
    enterprises(f);
    addRecord(f, 1, "Ромашка", "Астра", "2025-12-31", 1, 1);
    addRecord(f, 2, "Ромашка", "ООО 'Лютик'", Today, 1, 1);
    addRecord(f, 3, "Астра", "Ромашка", Today, 1, 1);
    addRecord(f, 4, "Любой", "Ромашка", Today, 1, 1);
    addRecord(f, 5, "Ромашка", "Астра", "2026-01-02", 1, 1);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbHistory->click();
    QCOMPARE(m.cbSupplier->currentText(), QString("Любой"));
    QCOMPARE(shownNumbers(), QStringList({"2", "3", "4"}));
    QVERIFY(m.sbDelHistory->isEnabled() && m.sbDelAllHistory->isEnabled());

    choose(m.cbSupplier, "Ромашка");
    QCOMPARE(shownNumbers(), QStringList({"2"}));
    choose(m.cbBuyer, "Астра");
    QCOMPARE(shownNumbers(), QStringList());
    QVERIFY(!m.sbDelHistory->isEnabled() && !m.sbDelAllHistory->isEnabled());

    // A date changed in the picker counts on Enter or on leaving it changed, not before.
    focus(m.meDate1, QEvent::FocusIn);
    m.meDate1->setDate(QDate(2025, 12, 1));
    QCOMPARE(shownNumbers(), QStringList());
    focus(m.meDate1, QEvent::FocusOut);
    QCOMPARE(shownNumbers(), QStringList({"1", "5"}));
    m.meDate2->setDate(QDate(2025, 12, 31));
    QTest::keyClick(m.meDate2, Qt::Key_Return);
    QCOMPARE(shownNumbers(), QStringList({"1"}));
    QCOMPARE(m.dbgHistory->cellText(0, 2), QString("31.12.2025"));

    // Typed text is a pattern; only the exact "Любой" is any supplier.
    m.meDate2->setDate(QDate::currentDate());
    QTest::keyClick(m.meDate2, Qt::Key_Return);
    focus(m.cbBuyer, QEvent::FocusIn);
    m.cbBuyer->setEditText("%");
    focus(m.cbBuyer, QEvent::FocusOut);
    QCOMPARE(shownNumbers(), QStringList({"1", "2", "5"}));
    m.cbSupplier->setEditText("любой");
    QTest::keyClick(m.cbSupplier, Qt::Key_Return);
    QCOMPARE(shownNumbers(), QStringList({"4"}));
    m.cbSupplier->setEditText("Любой");
    QTest::keyClick(m.cbSupplier, Qt::Key_Return);
    QCOMPARE(shownNumbers(), QStringList({"1", "2", "3", "4", "5"}));
    m.cbBuyer->setEditText("%'Лют%");
    QTest::keyClick(m.cbBuyer, Qt::Key_Return);
    QCOMPARE(shownNumbers(), QStringList({"2"}));
    // Leaving a box whose text did not change does nothing.
    f.exec("delete from History where N=2");
    focus(m.cbBuyer, QEvent::FocusIn);
    focus(m.cbBuyer, QEvent::FocusOut);
    QCOMPARE(shownNumbers(), QStringList({"2"}));
    QCOMPARE(m.cbBuyer->count(), 4);
    QVERIFY(script.unexpected.isEmpty());
}

void TestHistory::totalsAndScrollBarFollowTheShownRecords() {
    CatalogFixture f;
    for (int n = 1; n <= 20; ++n)
        addRecord(f, n, n % 2 ? "Ромашка" : "Астра", "Б", Today, n, 2.5);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.dbgHistory->resize(m.dbgHistory->width(), 180);
    m.sbHistory->click();
    QVERIFY(!m.sbVertHistory->isHidden());
    QCOMPARE(m.sbVertHistory->maximum(), 20);
    m.cbSupplier->setEditText("Астра");
    QTest::keyClick(m.cbSupplier, Qt::Key_Return);
    QCOMPARE(shownNumbers().size(), 10);
    // Ten records of N 2, 4 ... 20: weight 110, prices 110 × 2.5, with VAT × 1.2.
    QCOMPARE(totalsRow(), QStringList({"110,000", "275,00", "330,00", "110,00", "132,00"}));
    QVERIFY(!m.sbVertHistory->isHidden());
    QCOMPARE(m.sbVertHistory->minimum(), 1);
    QCOMPARE(m.sbVertHistory->maximum(), 10);
    DM->QHistory.moveTo(4);
    QCOMPARE(m.sbVertHistory->value(), 5);
    m.sbVertHistory->setValue(10);
    QCOMPARE(DM->QHistory.asInteger("N"), 20);
    m.sbVertHistory->setValue(2);
    QCOMPARE(DM->QHistory.asInteger("N"), 4);
    QCOMPARE(m.dbgHistory->currentIndex().row(), 1);
    // Nine records fit under the title row: no bar.
    m.meDate1->setDate(QDate::currentDate().addDays(1));
    m.meDate2->setDate(QDate::currentDate().addDays(1));
    QTest::keyClick(m.meDate2, Qt::Key_Return);
    QVERIFY(m.sbVertHistory->isHidden());
    QCOMPARE(totalsRow(), QStringList({"", "", "", "", ""}));
}

void TestHistory::deletingRecordsAndClearing() {
    ModalScript script;
    CatalogFixture f;
    for (int n = 1; n <= 10; ++n)
        addRecord(f, n, n <= 5 ? "Ромашка" : "Астра", "Б", Today, 1, 1);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbHistory->click();
    m.cbSupplier->setEditText("Ромашка");
    QTest::keyClick(m.cbSupplier, Qt::Key_Return);
    DM->QHistory.moveTo(4);
    script.press("bNo");
    m.sbDelHistory->trigger();
    QCOMPARE(history(f).size(), 10);
    script.press("bYes");
    m.sbDelHistory->trigger();
    // Record 5 gone; 6..10, hidden by the filter, are now 5..9.
    QCOMPARE(rows(f, "select N, Supplier from History order by N"),
             QStringList({"1|Ромашка", "2|Ромашка", "3|Ромашка", "4|Ромашка", "5|Астра", "6|Астра",
                          "7|Астра", "8|Астра", "9|Астра"}));
    QCOMPARE(shownNumbers(), QStringList({"1", "2", "3", "4"}));
    script.press("bNo");
    m.sbDelAllHistory->trigger();
    QCOMPARE(history(f).size(), 9);
    script.press("bYes");
    m.sbDelAllHistory->trigger();
    QCOMPARE(history(f), QStringList());
    QCOMPARE(script.messages,
             QStringList({"Удалить запись?", "Удалить запись?", "Очистить таблицу истории?",
                          "Очистить таблицу истории?"}));
    QVERIFY(!m.sbDelHistory->isEnabled() && !m.sbDelAllHistory->isEnabled());
    QVERIFY(script.unexpected.isEmpty());
}

void TestHistory::enterpriseListsInRegisterOrder() {
    CatalogFixture f;
    enterprises(f);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    auto items = [](const QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    };
    const QStringList all = {"Не указано", "Новое предприятие", "Ромашка", "ООО 'Лютик'", "Астра"};
    QCOMPARE(items(m.cbOrSupplier), all);
    QCOMPARE(items(m.cbOrBuyer), all);
    const QStringList filter = {"Любой", "Ромашка", "ООО 'Лютик'", "Астра"};
    QCOMPARE(items(m.cbSupplier), filter);
    QCOMPARE(items(m.cbBuyer), filter);
    for (const QComboBox* box : {m.cbOrSupplier, m.cbOrBuyer, m.cbSupplier, m.cbBuyer})
        QCOMPARE(box->currentIndex(), 0);
}

CATALOG_TEST_MAIN(TestHistory)
#include "tst_history.moc"
