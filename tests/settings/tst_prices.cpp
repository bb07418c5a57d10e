// The settings dialog's page "Цены": the VAT rate, and price columns created, renamed, hidden
// and deleted through the dialog and its prompt, with the tables and grids following.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "app/messbox.h"
#include "basket/Newgrid.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "settings/change.h"
#include "settings/option.h"
#include "settings/pricecolumns.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QToolButton>

namespace {

// Acts on the settings dialog and closes it with "Закрыть".
void inSettings(ModalScript& script, std::function<void(ToptionForm&)> act) {
    script.then([act](QDialog& d) {
        auto& o = static_cast<ToptionForm&>(d);
        act(o);
        o.fbCancel->click();
    });
}

// Answers the name prompt: types the name and presses Enter.
void answerPrompt(ModalScript& script, const QString& name, QString* caption = nullptr) {
    script.then([name, caption](QDialog& d) {
        auto& c = static_cast<TchangeForm&>(d);
        if (caption) *caption = c.windowTitle();
        c.eStr->setText(name);
        QTest::keyClick(c.eStr, Qt::Key_Return);
    });
}

QStringList priceFields(CatalogFixture& f) {
    QSqlQuery q(f.db().database());
    q.exec("select FieldName, Name, Visible from PriceFields");
    QStringList out;
    while (q.next())
        out << QStringLiteral("%1|%2|%3")
                   .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    return out;
}

// The price columns each of the four tables has, "Table:Price,PriceZ".
QStringList tableColumns(CatalogFixture& f) {
    QStringList out;
    for (const QString& table : PriceColumns::Tables) {
        QSqlQuery q(f.db().database());
        q.exec(QStringLiteral("pragma table_info(%1)").arg(table));
        QStringList cols;
        while (q.next()) {
            const QString name = q.value(1).toString();
            if (name.startsWith("Price") && name != "PriceToReport") cols << name;
        }
        out << table + ":" + cols.join(',');
    }
    return out;
}

QStringList titles(const TDBGrid* grid) {
    QStringList out;
    for (const GridColumn& c : grid->columns())
        out << c.title;
    return out;
}

QStringList everywhere(const QString& columns) {
    QStringList out;
    for (const QString& table : PriceColumns::Tables)
        out << table + ":" + columns;
    return out;
}

} // namespace

class TestPrices : public QObject {
    Q_OBJECT
private slots:
    void fieldNameRule_data();
    void fieldNameRule();
    void vatRateParsing_data();
    void vatRateParsing();
    void typedVatRateChangesTheBasket();
    void createRenameHideDelete();
    void deletingTheLastColumnDisablesTheButtons();
    void partPanelFollowsOnClosing();
    void failedCreateOrDeleteChangesNothing_data();
    void failedCreateOrDeleteChangesNothing();
    void clearingThePriceTable();
};

void TestPrices::fieldNameRule_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("next");
    QTest::newRow("empty") << QStringList() << "Price";
    QTest::newRow("Price") << QStringList{"Price"} << "Price1";
    QTest::newRow("Price, PriceZ, Price1") << QStringList{"Price", "PriceZ", "Price1"} << "Price2";
    QTest::newRow("PriceZ alone") << QStringList{"PriceZ"} << "Price";
    QTest::newRow("PriceZ after Price") << QStringList{"Price", "PriceZ"} << "Price1";
    QTest::newRow("PriceZ after Price, Price1")
        << QStringList{"Price", "Price1", "PriceZ"} << "Price2";
    QTest::newRow("repeated number") << QStringList{"Price", "Price2", "Price1"} << "Price3";
}

void TestPrices::fieldNameRule() {
    QFETCH(QStringList, fields);
    QFETCH(QString, next);
    QCOMPARE(PriceColumns::nextFieldName(fields), next);
}

void TestPrices::vatRateParsing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rate");
    QTest::newRow("20") << "20" << 20;
    QTest::newRow("5 then blank") << "5_" << 5;
    QTest::newRow("blank then 5") << "_5" << 5;
    QTest::newRow("cleared") << "__" << 0;
    QTest::newRow("07") << "07" << 7;
    QTest::newRow("empty") << "" << 0;
}

void TestPrices::vatRateParsing() {
    QFETCH(QString, text);
    QFETCH(int, rate);
    QCOMPARE(PriceColumns::parseNds(text), rate);
}

void TestPrices::typedVatRateChangesTheBasket() {
    ModalScript script;
    CatalogFixture f;
    f.exec("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) "
           "values (1, '50-1', '501', 'Втулка', 1, 1, 100, 10)");
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    QCOMPARE(optionForm->emNDS->displayText(), QString("20"));
    const int withVat = titles(m.dbgOrder).indexOf("Цена с НДС");
    QVERIFY(withVat > 0);
    QCOMPARE(m.dbgOrder->cellText(0, withVat), QString("120,00"));
    inSettings(script, [](ToptionForm& o) {
        o.emNDS->setFocus();
        o.emNDS->selectAll();
        QTest::keyClick(o.emNDS, Qt::Key_Delete);
        QCOMPARE(Shared->ndsPercent(), 0);
        o.emNDS->setCursorPosition(0);
        QTest::keyClicks(o.emNDS, "5");
        QCOMPARE(Shared->ndsPercent(), 5);
    });
    m.N17->trigger();
    QCOMPARE(m.dbgOrder->cellText(0, withVat), QString("105,00"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestPrices::createRenameHideDelete() {
    ModalScript script;
    CatalogFixture f;
    f.exec("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) "
           "values (1, '50-1', '501', 'Втулка', 1, 1, 100, 10)");
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    QCOMPARE(priceFields(f), QStringList({"Price|Цена|1", "PriceZ|Цена ЮЛЗ|1"}));

    // Create: the rule would repeat "Price"; the next free name is taken.
    QString caption;
    inSettings(script, [&](ToptionForm& o) {
        o.fbNew->click();
        QCOMPARE(o.clbList->count(), 3);
        QCOMPARE(o.clbList->currentItem()->text(), QString("Опт 'А'"));
        QCOMPARE(o.clbList->currentItem()->checkState(), Qt::Checked);
        // The basket query has the new column at once.
        QVERIFY(DM->QOrder.active());
        QVERIFY(DM->QOrder.hasField("Price1NDS"));
    });
    answerPrompt(script, "Опт 'А'", &caption);
    m.N17->trigger();
    QCOMPARE(caption, QString("Добавить цену"));
    QCOMPARE(priceFields(f).last(), QString("Price1|Опт 'А'|1"));
    QCOMPARE(tableColumns(f), everywhere("Price,PriceZ,Price1"));
    QVERIFY(titles(m.dbgOrder).contains("Опт 'А' с НДС"));
    QVERIFY(titles(m.dbgHistory).contains("Опт 'А'"));
    QVERIFY(titles(m.dbgFind).contains("Опт 'А'"));

    // Rename the selected column.
    inSettings(script, [&](ToptionForm& o) {
        o.clbList->setCurrentRow(2);
        o.fbRename->click();
        QCOMPARE(o.clbList->item(2)->text(), QString("Розница"));
    });
    script.then([&](QDialog& d) {
        auto& c = static_cast<TchangeForm&>(d);
        caption = c.windowTitle();
        QCOMPARE(c.eStr->text(), QString("Опт 'А'"));
        c.eStr->setText("Розница");
        c.fbOk->click();
    });
    m.N17->trigger();
    QCOMPARE(caption, QString("Изменить название цены"));
    QCOMPARE(priceFields(f).last(), QString("Price1|Розница|1"));
    QVERIFY(titles(m.dbgOrder).contains("Розница с НДС"));

    // Hide PriceZ: gone from the grids, values kept.
    inSettings(script, [](ToptionForm& o) { o.clbList->item(1)->setCheckState(Qt::Unchecked); });
    m.N17->trigger();
    QCOMPARE(priceFields(f)[1], QString("PriceZ|Цена ЮЛЗ|0"));
    QVERIFY(!titles(m.dbgOrder).contains("Цена ЮЛЗ"));
    QCOMPARE(f.scalar("select PriceZ from Order_").toDouble(), 10.0);

    // A cancelled prompt and a "Нет" to the question change nothing.
    inSettings(script, [](ToptionForm& o) {
        o.fbNew->click();
        o.clbList->setCurrentRow(0);
        o.fbDel->click();
    });
    script.press("fbCancel");
    script.press("bNo");
    m.N17->trigger();
    QCOMPARE(priceFields(f).size(), 3);

    // Delete Price1, then create again: Price1 once more.
    inSettings(script, [](ToptionForm& o) {
        o.clbList->setCurrentRow(2);
        o.fbDel->click();
        QCOMPARE(o.clbList->count(), 2);
        QVERIFY(!DM->QOrder.hasField("Price1NDS"));
    });
    script.press("bYes");
    m.N17->trigger();
    QCOMPARE(script.messages.last(), QString("Удалить цену с названием \"Розница\"?"));
    QCOMPARE(tableColumns(f), everywhere("Price,PriceZ"));
    QVERIFY(!titles(m.dbgOrder).contains("Розница"));
    inSettings(script, [](ToptionForm& o) { o.fbNew->click(); });
    answerPrompt(script, "Новая");
    m.N17->trigger();
    QCOMPARE(priceFields(f).last(), QString("Price1|Новая|1"));
    QCOMPARE(tableColumns(f), everywhere("Price,PriceZ,Price1"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestPrices::deletingTheLastColumnDisablesTheButtons() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    inSettings(script, [](ToptionForm& o) {
        for (int i = 0; i < 2; ++i) {
            o.fbDel->click();
        }
        QCOMPARE(o.clbList->count(), 0);
        QVERIFY(!o.fbDel->isEnabled());
        QVERIFY(!o.fbRename->isEnabled());
    });
    script.press("bYes");
    script.press("bYes");
    m.N17->trigger();
    QCOMPARE(priceFields(f), QStringList());
    QCOMPARE(tableColumns(f), everywhere(""));
    QCOMPARE(titles(m.dbgOrder), QStringList({"№", "Номер", "Наименование", "Кол-во", "Вес"}));
    // The first column made on an empty list is Price.
    inSettings(script, [](ToptionForm& o) {
        o.fbNew->click();
        QVERIFY(o.fbDel->isEnabled());
    });
    answerPrompt(script, "Цена");
    m.N17->trigger();
    QCOMPARE(priceFields(f), QStringList({"Price|Цена|1"}));
    QVERIFY(script.unexpected.isEmpty());
}

// A part shown on the drawing: its queries stay open while the column is made, and its price
// rows follow when the dialog closes.
void TestPrices::partPanelFollowsOnClosing() {
    ModalScript script;
    CatalogFixture f;
    auto forms = ViewerTest::startShown(f);
    QVERIFY(forms);
    ViewerTest::openDrawing(1, 1);
    ViewerTest::click(ViewerTest::marker(3));
    QCOMPARE(mainForm->sgPrice->rowCount(), 4);
    inSettings(script, [](ToptionForm& o) { o.fbNew->click(); });
    answerPrompt(script, "Опт");
    mainForm->N17->trigger();
    QCOMPARE(mainForm->sgPrice->rowCount(), 6);
    QCOMPARE(mainForm->sgPrice->item(4, 0)->text(), QString("Опт"));
    QCOMPARE(mainForm->SelLabel, ViewerTest::marker(3));
    QVERIFY(script.unexpected.isEmpty());
}

void TestPrices::failedCreateOrDeleteChangesNothing_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<bool>("create");
    QTest::newRow("create: History has the column")
        << "alter table History add Price1 float" << true;
    QTest::newRow("delete: History indexes the column")
        << "create index HistoryPriceZ on History(PriceZ)" << false;
}

// All four tables and PriceFields change together or not at all.
void TestPrices::failedCreateOrDeleteChangesNothing() {
    QFETCH(QString, obstacle);
    QFETCH(bool, create);
    ModalScript script;
    CatalogFixture f;
    f.exec(obstacle);
    const QStringList fields = priceFields(f);
    const QStringList columns = tableColumns(f);
    auto forms = f.start();
    const size_t declared = DM->PriceDisplayFields.size();
    inSettings(script, [create](ToptionForm& o) {
        if (create) {
            o.fbNew->click();
        } else {
            o.clbList->setCurrentRow(1);
            o.fbDel->click();
        }
        QCOMPARE(o.clbList->count(), 2);
    });
    if (create)
        answerPrompt(script, "Опт");
    else
        script.press("bYes");
    script.press("bOK"); // the database's message
    mainForm->N17->trigger();
    QCOMPARE(script.messages.size(), create ? 1 : 2);
    QCOMPARE(priceFields(f), fields);
    QCOMPARE(tableColumns(f), columns);
    QCOMPARE(DM->PriceDisplayFields.size(), declared);
    QVERIFY(script.unexpected.isEmpty());
}

void TestPrices::clearingThePriceTable() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    const int prices = f.scalar("select count(*) from Price").toInt();
    QVERIFY(prices > 0);
    script.press("bNo");
    mainForm->N15->trigger();
    QCOMPARE(f.scalar("select count(*) from Price").toInt(), prices);
    script.press("bYes");
    mainForm->N15->trigger();
    QCOMPARE(script.messages, QStringList({"Очистить таблицу цен?", "Очистить таблицу цен?"}));
    QCOMPARE(f.scalar("select count(*) from Price").toInt(), 0);
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestPrices)
#include "tst_prices.moc"
