// Adding, changing and deleting basket lines through the add-to-basket dialog.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/longlabel.h"
#include "basket/order.h"
#include "basketsteps.h"
#include "data/datamod.h"
#include "search/find.h"
#include "support/testmain.h"
#include "support/viewertest.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>

using namespace BasketSteps;
using namespace ViewerTest;

namespace {

void addLine(CatalogFixture& f, int n, const QString& id, const QString& key, int k,
             const QString& price, const QString& priceZ) {
    f.exec(QStringLiteral("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values "
                          "(%1, '%2', '%3', 'Деталь %1', %4, 1.5, %5, %6)")
               .arg(n)
               .arg(id, key)
               .arg(k)
               .arg(price, priceZ));
}

QStringList priceTexts(const TorderForm& o) {
    QStringList out;
    for (const QLineEdit* e : o.ePrice)
        out << e->text();
    return out;
}

} // namespace

class TestOrder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fromTheDrawingThenMergedByKeyForm();
    void fromTheResultTableNumberedAfterTheLast();
    void typedPartConfirmedByEnter();
    void zeroOrEmptyQuantityKeepsTheDialogOpen();
    void refusedInputKeepsTheDialogOpen_data();
    void refusedInputKeepsTheDialogOpen();
    void changeLine();
    void hiddenPriceColumnTakesItsInput();
    void deleteClosesUpTheNumbers();
    void commandStates();
    void layoutAndPriceRows();
    void longLabel();
};

void TestOrder::fromTheDrawingThenMergedByKeyForm() {
    ModalScript script;
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(2));
    QVERIFY(mainForm->sbOrder->isEnabled());
    onOrderForm(script, [](TorderForm& o) {
        QCOMPARE(o.windowTitle(), QString("Добавить деталь"));
        QCOMPARE(o.bbAppend->text(), QString("Добавить"));
        QVERIFY(o.lbN->isVisible() && o.lbName->isVisible());
        QVERIFY(!o.eN->isVisible() && !o.eName->isVisible());
        QCOMPARE(o.lbN->text(), QString("50-1002015"));
        QCOMPARE(o.lbName->toolTip(), QString("Гильза цилиндра"));
        QCOMPARE(priceTexts(o), QStringList({"100", "90"}));
        QCOMPARE(o.eK->text(), QString("1"));
        type(o.eK, "3");
        o.bbAppend->click();
        QVERIFY(!o.isVisible());
    });
    QTest::mouseClick(mainForm->sbOrder, Qt::LeftButton);
    QCOMPARE(basket(f), QStringList({"1|50-1002015|501002015|Гильза цилиндра|3|2.35|100|90"}));

    // Again from the drawing's popup: the quantity adds up, the prices typed are not used.
    onOrderForm(script, [](TorderForm& o) {
        type(o.ePrice[0], "555");
        type(o.eK, "2");
        o.bbAppend->click();
    });
    mainForm->miOrder->trigger();
    // A number that differs only in what the key form drops is the same part.
    mainForm->sbView->click();
    onOrderForm(script, [](TorderForm& o) {
        typeIn(o.eN, "50.1002015 X");
        o.bbAppend->click();
    });
    mainForm->sbAdd->trigger();
    QCOMPARE(basket(f), QStringList({"1|50-1002015|501002015|Гильза цилиндра|6|2.35|100|90"}));
    QCOMPARE(mainForm->lbKOrder->text(), QString("1"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestOrder::fromTheResultTableNumberedAfterTheLast() {
    ModalScript script;
    CatalogFixture f;
    addLine(f, 1, "1", "1", 1, "1", "1");
    addLine(f, 2, "2", "2", 1, "1", "1");
    auto forms = startShown(f);
    QVERIFY(forms);
    script.then([](QDialog& d) {
        auto& form = static_cast<TfindForm&>(d);
        form.bbClearClick();
        form.findEditN->setText("50-3501010");
        form.bbOk->click();
    });
    mainForm->sbFind->click();
    QVERIFY(!mainForm->panelTable->isHidden());
    QVERIFY(mainForm->sbOrder->isEnabled());
    onOrderForm(script, [](TorderForm& o) {
        QCOMPARE(o.lbN->toolTip(), QString("50-3501010"));
        QCOMPARE(priceTexts(o), QStringList({"2500,5", "2400"}));
        o.bbAppend->click();
    });
    QTest::mouseClick(mainForm->sbOrder, Qt::LeftButton);
    QCOMPARE(basket(f).last(), QString("3|50-3501010|503501010|Тормоз в сборе|1|12|2500.5|2400"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestOrder::typedPartConfirmedByEnter() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    mainForm->sbView->click();
    onOrderForm(script, [](TorderForm& o) {
        QVERIFY(o.eN->isVisible() && o.eName->isVisible());
        QVERIFY(!o.lbN->isVisible());
        QCOMPARE(priceTexts(o), QStringList({"", ""}));
        typeIn(o.eN, "50-9'1");
        typeIn(o.eName, "Кольцо 'А'");
        QCOMPARE(o.lbN->toolTip(), QString("50-9'1"));
        QCOMPARE(o.lbName->toolTip(), QString("Кольцо 'А'"));
        typeIn(o.ePrice[0], "12,5");
        // Only digits go into the quantity.
        type(o.eK, "1x2-");
        QCOMPARE(o.eK->text(), QString("12"));
        QTest::keyClick(o.eK, Qt::Key_Return);
        QVERIFY(!o.isVisible());
    });
    mainForm->sbAdd->trigger();
    // The same typed number merges with its line, apostrophes and all.
    onOrderForm(script, [](TorderForm& o) {
        typeIn(o.eN, "50-9'1");
        QTest::keyClick(o.eK, Qt::Key_Enter);
    });
    mainForm->tbiAdd->trigger();
    QCOMPARE(basket(f), QStringList({"1|50-9'1|509'1|Кольцо 'А'|13|0|12.5|0"}));
    // An empty number is a line of its own, and a second one merges with it.
    confirmWith(script, "2");
    mainForm->sbAdd->trigger();
    confirmWith(script, "3");
    mainForm->sbAdd->trigger();
    QCOMPARE(basket(f).last(), QString("2||||5|0|0|0"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestOrder::zeroOrEmptyQuantityKeepsTheDialogOpen() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    mainForm->sbView->click();
    onOrderForm(script, [&f](TorderForm& o) {
        typeIn(o.eN, "50-1");
        for (const char* typed : {"", "0", "00"}) {
            type(o.eK, typed);
            o.bbAppend->click();
            QVERIFY(o.isVisible());
            QCOMPARE(o.eK->text(), QString("0"));
        }
        QTest::keyClick(o.eK, Qt::Key_Return);
        QVERIFY(o.isVisible());
        QCOMPARE(basket(f), QStringList());
        type(o.eK, "4");
        o.bbAppend->click();
    });
    mainForm->sbAdd->trigger();
    QCOMPARE(basket(f), QStringList({"1|50-1|501||4|0|0|0"}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestOrder::refusedInputKeepsTheDialogOpen_data() {
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("message");
    QTest::newRow("quantity too large")
        << "2147483648"
        << "1"
        << "Количество 2147483648 слишком велико: можно заказать не более 2147483647 штук.";
    QTest::newRow("price not a number") << "2"
                                        << "12,5,0"
                                        << "Цена «Цена» введена неверно: «12,5,0» не является "
                                           "числом.";
}

void TestOrder::refusedInputKeepsTheDialogOpen() {
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, message);
    ModalScript script;
    CatalogFixture f;
    addLine(f, 1, "50-1", "501", 1, "1", "1");
    auto forms = f.start();
    mainForm->sbView->click();
    for (bool change : {false, true}) {
        onOrderForm(script, [&](TorderForm& o) {
            if (!change) typeIn(o.eN, "50-2");
            type(o.eK, quantity);
            type(o.ePrice[0], price);
            o.bbAppend->click();
            QVERIFY(o.isVisible());
            QCOMPARE(o.eK->text(), quantity);
            QCOMPARE(o.ePrice[0]->text(), price);
            o.bbCancel->click();
        });
        script.press("bOK");
        (change ? mainForm->sbChange : mainForm->sbAdd)->trigger();
        QCOMPARE(script.messages.last(), message);
        QCOMPARE(basket(f), QStringList({"1|50-1|501|Деталь 1|1|1.5|1|1"}));
    }
    QVERIFY(script.unexpected.isEmpty());
}

void TestOrder::changeLine() {
    ModalScript script;
    CatalogFixture f;
    addLine(f, 1, "50-1", "501", 1, "1", "1");
    addLine(f, 2, "50-2", "502", 4, "10.25", "NULL");
    auto forms = f.start();
    mainForm->sbView->click();
    DM->QOrder.moveTo(1);
    onOrderForm(script, [](TorderForm& o) {
        QCOMPARE(o.windowTitle(), QString("Изменить количество"));
        QCOMPARE(o.bbAppend->text(), QString("Изменить"));
        QCOMPARE(o.lbN->text(), QString("50-2"));
        QVERIFY(!o.eN->isVisible());
        QCOMPARE(o.eK->text(), QString("4"));
        QCOMPARE(priceTexts(o), QStringList({"10,25", ""}));
        type(o.eK, "9");
        type(o.ePrice[1], "7,5");
        o.bbAppend->click();
    });
    mainForm->tbiChange->trigger();
    QCOMPARE(basket(f),
             QStringList({"1|50-1|501|Деталь 1|1|1.5|1|1", "2|50-2|502|Деталь 2|9|1.5|10.25|7.5"}));
    // Cancel writes nothing.
    onOrderForm(script, [](TorderForm& o) {
        type(o.eK, "100");
        o.bbCancel->click();
    });
    mainForm->sbChange->trigger();
    QCOMPARE(basket(f).size(), 2);
    QCOMPARE(basket(f).last(), QString("2|50-2|502|Деталь 2|9|1.5|10.25|7.5"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestOrder::hiddenPriceColumnTakesItsInput() {
    ModalScript script;
    CatalogFixture f;
    f.exec("update PriceFields set Visible=False where FieldName='PriceZ'");
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(2));
    onOrderForm(script, [](TorderForm& o) {
        QVERIFY(!o.ePrice[1]->isVisible());
        QCOMPARE(priceTexts(o), QStringList({"100", "90"}));
        o.bbAppend->click();
    });
    mainForm->sbOrder->click();
    mainForm->sbView->click();
    confirmWith(script, "1");
    mainForm->sbAdd->trigger();
    DM->QOrder.first();
    onOrderForm(script, [](TorderForm& o) {
        QCOMPARE(priceTexts(o), QStringList({"100", "90"}));
        type(o.ePrice[0], "101");
        o.bbAppend->click();
    });
    mainForm->sbChange->trigger();
    QCOMPARE(basket(f),
             QStringList({"1|50-1002015|501002015|Гильза цилиндра|1|2.35|101|90", "2||||1|0|0|0"}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestOrder::deleteClosesUpTheNumbers() {
    ModalScript script;
    CatalogFixture f;
    for (int n = 1; n <= 5; ++n)
        addLine(f, n, QString("50-%1").arg(n), QString("50%1").arg(n), n, "1", "1");
    auto forms = f.start();
    mainForm->sbView->click();
    DM->QOrder.moveTo(2);
    script.press("bNo");
    mainForm->sbDel->trigger();
    QCOMPARE(basket(f).size(), 5);
    script.press("bYes");
    mainForm->tbiDel->trigger();
    QCOMPARE(script.messages, QStringList({"Удалить запись?", "Удалить запись?"}));
    QCOMPARE(script.captions.last(), QString("Каталог деталей и сборочных единиц"));
    QCOMPARE(rows(f, "select N, ID from Order_ order by N"),
             QStringList({"1|50-1", "2|50-2", "3|50-4", "4|50-5"}));
    QCOMPARE(DM->QOrder.recNo(), 1);
    QCOMPARE(mainForm->lbKOrder->text(), QString("4"));
    for (int left = 4; left > 0; --left) {
        script.press("bYes");
        mainForm->sbDel->trigger();
    }
    QCOMPARE(basket(f), QStringList());
    QVERIFY(!mainForm->sbChange->isEnabled());
    QVERIFY(!mainForm->sbDel->isEnabled());
    QVERIFY(mainForm->sbPutToHistory->isHidden());
    QVERIFY(script.unexpected.isEmpty());
}

void TestOrder::commandStates() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    QCOMPARE(m.pmOrder->actions()[0]->text(), QString("Добавить"));
    QCOMPARE(m.pmOrder->actions()[1]->text(), QString("Изменить"));
    QCOMPARE(m.pmOrder->actions()[2]->text(), QString("Удалить"));
    // Off the basket panel the basket line commands are off.
    QVERIFY(!m.sbAdd->isEnabled());
    m.sbView->click();
    QVERIFY(m.sbAdd->isEnabled());
    QVERIFY(!m.sbChange->isEnabled());
    Q_EMIT m.pmOrder->aboutToShow();
    QVERIFY(m.tbiAdd->isEnabled());
    QVERIFY(!m.tbiChange->isEnabled() && !m.tbiDel->isEnabled());
    // Changing or deleting in an empty basket does nothing.
    m.sbChangeClick();
    m.sbDelClick();
    confirmWith(script, "1");
    m.tbiAdd->trigger();
    QVERIFY(m.sbChange->isEnabled() && m.sbDel->isEnabled());
    Q_EMIT m.pmOrder->aboutToShow();
    QVERIFY(m.tbiChange->isEnabled() && m.tbiDel->isEnabled());
    m.sbHistory->click();
    for (QAction* a : {m.sbAdd, m.sbChange, m.sbDel})
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(script.captions.size(), 1);
}

void TestOrder::layoutAndPriceRows() {
    CatalogFixture f;
    for (const char* table : {"Price", "Order_", "OrderAll", "History"})
        f.exec(QStringLiteral("alter table %1 add Price1 float").arg(table));
    f.exec("insert into PriceFields (FieldName, Name, Visible) values ('Price1', 'Опт', True)");
    f.exec("update PriceFields set Visible=False where FieldName='PriceZ'");
    auto forms = f.start();
    TorderForm& o = *orderForm;
    QCOMPARE(o.lbN->pos(), QPoint(135, 20));
    QCOMPARE(o.labelN->pos(), QPoint(20, 20));
    QCOMPARE(o.eN->geometry(), QRect(135, 16, 200, 21));
    QCOMPARE(o.eName->geometry(), QRect(135, 38, 200, 21));
    QCOMPARE(o.sBoxP->geometry(), QRect(0, 60, 355, 100));
    QCOMPARE(o.labelK->pos(), QPoint(20, 162));
    QCOMPARE(o.eK->geometry(), QRect(135, 162, 200, 21));
    QCOMPARE(o.bbCancel->x() + o.bbCancel->width(), 335);
    QCOMPARE(o.bbCancel->y(), 188);
    QCOMPARE(o.bbAppend->x() + o.bbAppend->width(), o.bbCancel->x() - 5);
    QCOMPARE(o.size(), QSize(355, o.bbCancel->y() + o.bbCancel->height() + 5));
    QCOMPARE(o.minimumSize(), o.maximumSize());

    // Visible rows stack 22 apart in column order; the hidden one lies at 0, unseen.
    QCOMPARE(mainForm->PriceRowsMade, 3);
    QCOMPARE(o.ePrice[0]->geometry(), QRect(135, 0, 200, 21));
    QCOMPARE(o.labelPrice[0]->pos(), QPoint(20, 4));
    QVERIFY(o.ePrice[1]->isHidden() && o.labelPrice[1]->isHidden());
    QCOMPARE(o.ePrice[2]->y(), 22);
    QCOMPARE(o.labelPrice[2]->y(), 26);
    QCOMPARE(o.labelPrice[2]->text(), QString("Опт"));

    // A deleted column leaves its row empty; a new one takes it again.
    f.exec("delete from PriceFields where FieldName='Price1'");
    mainForm->NewDBGrid();
    QVERIFY(o.ePrice[2]->isHidden());
    QCOMPARE(o.ePrice[2]->y(), 0);
    QCOMPARE(o.ePrice[2]->toolTip(), QString("_empty_"));
    QCOMPARE(o.labelPrice[2]->toolTip(), QString("_empty_"));
    f.exec("insert into PriceFields (FieldName, Name, Visible) values ('Price1', 'Опт', True)");
    mainForm->NewDBGrid();
    QCOMPARE(mainForm->PriceRowsMade, 3);
    QCOMPARE(o.ePrice.size(), 3);
    QVERIFY(!o.ePrice[2]->isHidden());
    QCOMPARE(o.ePrice[2]->toolTip(), QString());
}

void TestOrder::longLabel() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    const QString name = QString("Кронштейн крепления ").repeated(4);
    mainForm->CurN = "50-1";
    mainForm->CurName = name;
    mainForm->CurV = "1,5";
    onOrderForm(script, [&](TorderForm& o) {
        QVERIFY(o.lbName->text().endsWith("..."));
        QVERIFY(name.startsWith(o.lbName->text().chopped(3)));
        QCOMPARE(o.lbName->toolTip(), name);
        QCOMPARE(o.lbN->text(), QString("50-1"));
        o.bbAppend->click();
    });
    mainForm->sbOrderClick();
    QCOMPARE(basket(f), QStringList({"1|50-1|501|" + name + "|1|1.5|0|0"}));
    // The shortened text is the first that reaches the limit less 12.
    QLabel label;
    label.setText(name);
    LongLabel(&label, 200);
    const QString kept = label.text().chopped(3);
    QLabel shorter(kept.chopped(1));
    shorter.adjustSize();
    QLabel exact(kept);
    exact.adjustSize();
    QVERIFY(shorter.width() < 188);
    QVERIFY(exact.width() >= 188);
    QLabel fits("50-1");
    LongLabel(&fits, 200);
    QCOMPARE(fits.text(), QString("50-1"));
}

CATALOG_TEST_MAIN(TestOrder)
#include "tst_order.moc"
