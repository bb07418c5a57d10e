// The basket panel, its totals and scroll bar, the price-dependent grid columns and the price
// display fields.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "app/widgets.h"
#include "basket/Newgrid.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/shared.h"
#include "data/sql.h"
#include "search/keyform.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

namespace {

const QColor PlantGreen(192, 220, 192);

QString lit(const QVariant& v) {
    return v.isNull() ? QStringLiteral("NULL") : QString::number(v.toDouble(), 'g', 15);
}

void addLine(CatalogFixture& f, int n, const QString& id, const QString& name, int k, double v,
             const QVariant& price, const QVariant& priceZ) {
    f.exec(QStringLiteral("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values "
                          "(%1, %2, %3, %4, %5, %6, %7, %8)")
               .arg(n)
               .arg(Sql::quote(id), Sql::quote(keyForm(id)), Sql::quote(name))
               .arg(k)
               .arg(lit(v), lit(price), lit(priceZ)));
}

void addLines(CatalogFixture& f, int count) {
    for (int n = 1; n <= count; ++n)
        addLine(f, n, QStringLiteral("50-%1").arg(n), QStringLiteral("Деталь %1").arg(n), 1, 1, 1,
                1);
}

QAbstractItemModel* modelOf(QAbstractItemView* grid) {
    return grid->model();
}

QStringList fields(const TDBGrid* grid) {
    QStringList out;
    for (const GridColumn& c : grid->columns())
        out << QStringLiteral("%1|%2|%3").arg(c.field, c.title).arg(c.width);
    return out;
}

QStringList green(const TDBGrid* grid) {
    QStringList out;
    for (const GridColumn& c : grid->columns())
        if (c.background == PlantGreen) out << c.field;
    return out;
}

QStringList row(const TDBGrid* grid, int r) {
    QStringList out;
    for (int c = 0; c < int(grid->columns().size()); ++c)
        out << grid->cellText(r, c);
    return out;
}

QStringList components(const TQuery& q) {
    QStringList out;
    for (const TField& f : q.fields())
        if (f.displayFormat == "0.00") out << f.componentName + "=" + f.fieldName;
    return out;
}

} // namespace

class TestBasket : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gridColumnsFollowThePriceColumns();
    void plantPriceIsSetOffByItsName();
    void hiddenPriceColumnsAreStillComputed();
    void basketStatementAndTotals();
    void vatZeroGivesThePricesThemselves();
    void lineMadeBeforeAPriceColumnExisted();
    void scrollBarRule();
    void gridHasNoVerticalBarButFollowsItsLine();
    void emptyBasket();
    void totalsRowIsPaintedAsARowNotASelection();
    void gridEnterAndClickEnableLineCommands();
    void popupRunsTheToolbarItems();
    void failingStatementIsShown();
    void displayFieldBlocks();
    void layoutInsideTheScrollBoxes();
};

void TestBasket::gridColumnsFollowThePriceColumns() {
    CatalogFixture f;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    QCOMPARE(fields(m.dbgFind),
             QStringList({"MODName|Модификация|140", "N|Номер|140", "Name|Наименование|240",
                          "V|Вес|50", "Price|Цена|90", "PriceZ|Цена ЮЛЗ|90"}));
    QCOMPARE(fields(m.dbgOrder),
             QStringList({"N|№|30", "ID|Номер|100", "Name|Наименование|150", "K|Кол-во|50",
                          "V|Вес|100", "Price|Цена|100", "PriceNDS|Цена с НДС|100",
                          "PriceZ|Цена ЮЛЗ|100", "PriceZNDS|Цена ЮЛЗ с НДС|100"}));
    const QStringList totals = {"OB_VES||100", "OB_Price||100", "OB_PriceNDS||100",
                                "OB_PriceZ||100", "OB_PriceZNDS||100"};
    QCOMPARE(fields(m.dbgItogo), totals);
    QCOMPARE(fields(m.dbgHistory),
             QStringList({"Supplier|Поставщик|80", "Buyer|Покупатель|80", "Date_|Дата|60",
                          "ID|Номер|100", "Name|Наименование|150", "K|Кол-во|50", "V|Вес|100",
                          "Price|Цена|100", "PriceNDS|Цена с НДС|100", "PriceZ|Цена ЮЛЗ|100",
                          "PriceZNDS|Цена ЮЛЗ с НДС|100"}));
    QCOMPARE(fields(m.dbgHistoryItogo), totals);
    // Each grid is as wide as its columns plus the room of its scrolling.
    QCOMPARE(m.dbgOrder->width(), 20 + 830);
    QCOMPARE(m.dbgHistory->width(), 20 + 1020);
    QCOMPARE(m.dbgItogo->width(), 17 + 500);
    QCOMPARE(m.dbgHistoryItogo->width(), 17 + 500);
    QVERIFY(m.sBoxHistory->widget()->width() >= m.dbgHistory->width());
}

void TestBasket::plantPriceIsSetOffByItsName() {
    CatalogFixture f;
    addLine(f, 1, "50-1002015", "Гильза цилиндра", 4, 2.35, 100, 90);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    QCOMPARE(green(m.dbgFind), QStringList({"PriceZ"}));
    QCOMPARE(green(m.dbgOrder), QStringList({"PriceZ", "PriceZNDS"}));
    QCOMPARE(green(m.dbgItogo), QStringList({"OB_PriceZ", "OB_PriceZNDS"}));
    QCOMPARE(green(m.dbgHistory), QStringList({"PriceZ", "PriceZNDS"}));
    QCOMPARE(green(m.dbgHistoryItogo), QStringList({"OB_PriceZ", "OB_PriceZNDS"}));
    m.sbView->click();
    const QModelIndex cell = modelOf(m.dbgOrder)->index(0, 7);
    QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), PlantGreen);
    QVERIFY(!modelOf(m.dbgOrder)->index(0, 5).data(Qt::BackgroundRole).isValid());

    // The colour goes with the exact name at the next rebuild.
    f.exec("update PriceFields set Name='Цена завода' where FieldName='PriceZ'");
    f.exec("update PriceFields set Name='Цена ЮЛЗ' where FieldName='Price'");
    m.NewDBGrid();
    QCOMPARE(green(m.dbgOrder), QStringList({"Price", "PriceNDS"}));
    QCOMPARE(green(m.dbgFind), QStringList({"Price"}));
    f.exec("update PriceFields set Name='цена ЮЛЗ' where FieldName='Price'");
    m.NewDBGrid();
    QCOMPARE(green(m.dbgOrder), QStringList());
}

void TestBasket::hiddenPriceColumnsAreStillComputed() {
    CatalogFixture f;
    addLine(f, 1, "50-1002015", "Гильза цилиндра", 4, 2.35, 100, 90);
    f.exec("update PriceFields set Visible=False");
    auto forms = f.start();
    TmainForm& m = *mainForm;
    QCOMPARE(m.dbgOrder->columns().size(), size_t(5));
    QCOMPARE(fields(m.dbgItogo), QStringList({"OB_VES||100"}));
    QCOMPARE(m.dbgFind->columns().size(), size_t(4));
    QCOMPARE(m.dbgHistory->columns().size(), size_t(7));
    QCOMPARE(m.dbgOrder->width(), 20 + 430);
    m.sbView->click();
    QCOMPARE(DM->QOrder.asFloat("PriceZNDS"), 108.0);
    QCOMPARE(DM->QItogo.asFloat("OB_PriceNDS"), 480.0);
}

void TestBasket::basketStatementAndTotals() {
    CatalogFixture f;
    addLine(f, 2, "50.12.003-1", "Втулка", 3, 0.125, 10.25, 9.5);
    addLine(f, 1, "50-1002015", "Гильза цилиндра", 4, 2.35, 100, 90);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    QCOMPARE(DM->QOrder.text(), QString("SELECT *,([Price]*(100+20)/100) AS PriceNDS,([PriceZ]*"
                                        "(100+20)/100) AS PriceZNDS\nFROM Order_\nORDER BY N"));
    QCOMPARE(DM->QItogo.text(),
             QString("SELECT Sum([V]*[K]) AS OB_VES, Sum([Price]*[K]) AS OB_Price, "
                     "Sum([Price]*(100+20)*[K]/100) AS OB_PriceNDS, Sum([PriceZ]*[K]) AS "
                     "OB_PriceZ, Sum([PriceZ]*(100+20)*[K]/100) AS OB_PriceZNDS\nFROM Order_"));
    QCOMPARE(row(m.dbgOrder, 0), QStringList({"1", "50-1002015", "Гильза цилиндра", "4", "2,350",
                                              "100,00", "120,00", "90,00", "108,00"}));
    QCOMPARE(row(m.dbgOrder, 1), QStringList({"2", "50.12.003-1", "Втулка", "3", "0,125", "10,25",
                                              "12,30", "9,50", "11,40"}));
    QCOMPARE(row(m.dbgItogo, 0), QStringList({"9,775", "430,75", "516,90", "388,50", "466,20"}));
    QCOMPARE(m.lbKOrder->text(), QString("2"));
    QVERIFY(!m.LabelNaidOrder->isHidden());
    QVERIFY(!m.sbPutToHistory->isHidden());
    QVERIFY(m.sbChange->isEnabled());
    QVERIFY(m.sbDel->isEnabled());
    QVERIFY(m.sbExcel->isEnabled());
}

void TestBasket::vatZeroGivesThePricesThemselves() {
    CatalogFixture f;
    addLine(f, 1, "50.12.003-1", "Втулка", 3, 0.125, 10.005, 9.5);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    Shared->setNdsPercent(0);
    m.sbView->click();
    QVERIFY(DM->QOrder.text().contains("([Price]*(100+0)/100) AS PriceNDS"));
    QCOMPARE(DM->QOrder.asFloat("PriceNDS"), DM->QOrder.asFloat("Price"));
    QCOMPARE(DM->QOrder.asFloat("PriceZNDS"), 9.5);
    QCOMPARE(DM->QItogo.asFloat("OB_PriceNDS"), DM->QItogo.asFloat("OB_Price"));
    QCOMPARE(row(m.dbgOrder, 0).mid(5), QStringList({"10,01", "10,01", "9,50", "9,50"}));
}

void TestBasket::lineMadeBeforeAPriceColumnExisted() {
    CatalogFixture f;
    addLine(f, 1, "50-1002015", "Гильза цилиндра", 4, 2.35, 100, 90);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    for (const char* table : {"Price", "Order_", "OrderAll", "History"})
        f.exec(QStringLiteral("alter table %1 add Price1 float").arg(table));
    f.exec("insert into PriceFields (FieldName, Name, Visible) values ('Price1', 'Опт', True)");
    DM->QOrder.close();
    DM->NewField("Price1");
    f.exec("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ, Price1) values "
           "(2, '50-3501010', '503501010', 'Тормоз в сборе', 2, 12, 2500.5, 2400, 50)");
    m.NewDBGrid();
    m.sbView->click();
    QCOMPARE(row(m.dbgOrder, 0).mid(9), QStringList({"", ""}));
    QCOMPARE(row(m.dbgOrder, 1).mid(9), QStringList({"50,00", "60,00"}));
    QCOMPARE(row(m.dbgItogo, 0).mid(5), QStringList({"100,00", "120,00"}));
    QCOMPARE(row(m.dbgItogo, 0).mid(1, 1), QStringList({"5401,00"}));
}

void TestBasket::scrollBarRule() {
    CatalogFixture f;
    addLines(f, 9);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    // 180 pixels: a title row and nine lines.
    m.dbgOrder->resize(m.dbgOrder->width(), 180);
    m.sbView->click();
    QVERIFY(m.sbVert->isHidden());
    addLine(f, 10, "50-10", "Деталь 10", 1, 1, 1, 1);
    m.NewOrder();
    QVERIFY(!m.sbVert->isHidden());
    QCOMPARE(m.sbVert->minimum(), 1);
    QCOMPARE(m.sbVert->maximum(), 10);
    QCOMPARE(m.sbVert->value(), 1);
    DM->QOrder.moveTo(6);
    QCOMPARE(m.sbVert->value(), 7);
    // The user drags the bar: the line of that number becomes current.
    m.sbVert->setValue(3);
    QCOMPARE(DM->QOrder.asInteger("N"), 3);
    QCOMPARE(m.dbgOrder->currentIndex().row(), 2);
    m.sbVert->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(DM->QOrder.asInteger("N"), 10);
}

void TestBasket::gridHasNoVerticalBarButFollowsItsLine() {
    CatalogFixture f;
    addLines(f, 30);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.show();
    m.dbgOrder->resize(m.dbgOrder->width(), 180);
    m.sbView->click();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    QVERIFY(!m.dbgOrder->verticalScrollBar()->isVisible());
    m.sbVert->setValue(30);
    QApplication::processEvents();
    const int top = m.dbgOrder->rowViewportPosition(29);
    QVERIFY2(top >= 0 && top + TDBGrid::RowHeight <= m.dbgOrder->viewport()->height(),
             qPrintable(QString::number(top)));
    QVERIFY(!m.dbgOrder->verticalScrollBar()->isVisible());
}

void TestBasket::emptyBasket() {
    CatalogFixture f;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    QVERIFY(!m.panelOrder->isHidden());
    for (QWidget* w : std::initializer_list<QWidget*>{m.LabelNaidOrder, m.lbKOrder,
                                                      m.sbPutToHistory, m.sPutToHistory, m.sbVert})
        QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
    for (QAction* a : {m.sbChange, m.sbDel, m.sbExcel})
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(m.sbAdd->isEnabled());
    // Sums over no lines are empty, not 0.
    QCOMPARE(modelOf(m.dbgItogo)->rowCount(), 1);
    QCOMPARE(row(m.dbgItogo, 0), QStringList({"", "", "", "", ""}));
    m.dbgOrderEnter();
    QVERIFY(!m.sbChange->isEnabled());

    addLine(f, 1, "50-1002015", "Гильза цилиндра", 4, 2.35, 100, 90);
    m.NewOrder();
    QVERIFY(!m.LabelNaidOrder->isHidden());
    QCOMPARE(m.lbKOrder->text(), QString("1"));
    QVERIFY(!m.sbPutToHistory->isHidden());
    QVERIFY(!m.sPutToHistory->isHidden());
    QVERIFY(m.sbExcel->isEnabled());
}

void TestBasket::totalsRowIsPaintedAsARowNotASelection() {
    CatalogFixture f;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    const QColor background(255, 255, 231);
    // The colour the user sees in the totals row, above its text.
    auto rowColour = [](TDBGrid* grid) {
        const QImage shot = grid->viewport()->grab().toImage();
        const QRect cell = grid->visualRect(modelOf(grid)->index(0, 0));
        return QColor(shot.pixel(cell.center().x(), cell.top() + 2));
    };
    QCOMPARE(rowColour(m.dbgItogo), background);
    addLine(f, 1, "50-1002015", "Гильза цилиндра", 4, 2.35, 100, 90);
    m.NewOrder();
    QCOMPARE(rowColour(m.dbgItogo), background);
    QTest::mouseClick(m.dbgItogo->viewport(), Qt::LeftButton, {},
                      m.dbgItogo->visualRect(modelOf(m.dbgItogo)->index(0, 1)).center());
    QCOMPARE(rowColour(m.dbgItogo), background);
    QVERIFY(!m.dbgItogo->selectionModel()->hasSelection());
    // Painted as the history's totals row is.
    QCOMPARE(m.dbgHistoryItogo->selectionMode(), m.dbgItogo->selectionMode());
    QCOMPARE(m.dbgHistoryItogo->focusPolicy(), m.dbgItogo->focusPolicy());
}

void TestBasket::gridEnterAndClickEnableLineCommands() {
    CatalogFixture f;
    addLines(f, 2);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.show();
    m.sbView->click();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    m.sbChange->setEnabled(false);
    m.sbDel->setEnabled(false);
    const QRect cell = m.dbgOrder->visualRect(modelOf(m.dbgOrder)->index(1, 2));
    QTest::mouseClick(m.dbgOrder->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(m.sbChange->isEnabled());
    QVERIFY(m.sbDel->isEnabled());
    QCOMPARE(DM->QOrder.asInteger("N"), 2);
    m.sbChange->setEnabled(false);
    m.sbDel->setEnabled(false);
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(m.dbgOrder, &in);
    QVERIFY(m.sbChange->isEnabled());
    QVERIFY(m.sbDel->isEnabled());
}

void TestBasket::popupRunsTheToolbarItems() {
    ModalScript script;
    script.close();      // the add-to-basket dialog
    script.press("bNo"); // "Удалить запись?"
    CatalogFixture f;
    addLines(f, 1);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    QSignalSpy add(m.sbAdd, &QAction::triggered);
    QSignalSpy del(m.sbDel, &QAction::triggered);
    m.tbiAdd->trigger();
    m.tbiDel->trigger();
    QCOMPARE(add.count(), 1);
    QCOMPARE(del.count(), 1);
    m.sbDel->setEnabled(false);
    Q_EMIT m.pmOrder->aboutToShow();
    QVERIFY(!m.tbiDel->isEnabled());
    m.tbiDel->trigger();
    QCOMPARE(del.count(), 1);
    QVERIFY(!m.tbiClear->isVisible());
    QCOMPARE(script.captions,
             QStringList({"Добавить деталь", "Каталог деталей и сборочных единиц"}));
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(m.dbgOrder->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestBasket::failingStatementIsShown() {
    ModalScript script;
    CatalogFixture f;
    addLines(f, 1);
    auto forms = f.start();
    f.exec("insert into PriceFields (FieldName, Name, Visible) values ('Price9', 'Нет', True)");
    script.press("bOK");
    mainForm->sbView->click();
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages.first().contains("Price9"), qPrintable(script.messages.first()));
    QCOMPARE(modelOf(mainForm->dbgOrder)->rowCount(), 0);
    QVERIFY(script.unexpected.isEmpty());
}

void TestBasket::displayFieldBlocks() {
    CatalogFixture f;
    auto forms = f.start();
    TDM& dm = *DM;
    // The settings dialog declared one block per price column at start-up.
    QCOMPARE(dm.PriceDisplayFields.size(), size_t(20));
    QCOMPARE(dm.PriceDisplayFields[0].componentName, QString("QFindPrice"));
    QCOMPARE(dm.PriceDisplayFields[19].componentName, QString("QHistoryItogoOB_PriceZNDS"));
    QCOMPARE(components(dm.QOrder),
             QStringList({"QOrderPrice=Price", "QOrderPriceNDS=PriceNDS", "QOrderPriceZ=PriceZ",
                          "QOrderPriceZNDS=PriceZNDS"}));
    QVERIFY_THROWS_EXCEPTION(DbError, dm.NewField("Price"));
    QCOMPARE(dm.PriceDisplayFields.size(), size_t(20));
    QCOMPARE(components(dm.QFind).size(), 2);

    dm.NewField("Price1");
    QCOMPARE(dm.PriceDisplayFields.size(), size_t(30));
    dm.DelField("PriceZ");
    QCOMPARE(dm.PriceDisplayFields.size(), size_t(20));
    QStringList names;
    for (const auto& d : dm.PriceDisplayFields)
        names << d.componentName;
    QCOMPARE(names, QStringList({"QFindPrice",
                                 "QOrderPrice",
                                 "QOrderPriceNDS",
                                 "QItogoOB_Price",
                                 "QItogoOB_PriceNDS",
                                 "QOrderAllPrice",
                                 "QHistoryPrice",
                                 "QHistoryPriceNDS",
                                 "QHistoryItogoOB_Price",
                                 "QHistoryItogoOB_PriceNDS",
                                 "QFindPrice1",
                                 "QOrderPrice1",
                                 "QOrderPrice1NDS",
                                 "QItogoOB_Price1",
                                 "QItogoOB_Price1NDS",
                                 "QOrderAllPrice1",
                                 "QHistoryPrice1",
                                 "QHistoryPrice1NDS",
                                 "QHistoryItogoOB_Price1",
                                 "QHistoryItogoOB_Price1NDS"}));
    QCOMPARE(components(dm.QOrder),
             QStringList({"QOrderPrice=Price", "QOrderPriceNDS=PriceNDS", "QOrderPrice1=Price1",
                          "QOrderPrice1NDS=Price1NDS"}));
    QCOMPARE(components(dm.QHistoryItogo),
             QStringList({"QHistoryItogoOB_Price=OB_Price", "QHistoryItogoOB_PriceNDS=OB_PriceNDS",
                          "QHistoryItogoOB_Price1=OB_Price1",
                          "QHistoryItogoOB_Price1NDS=OB_Price1NDS"}));
    // The renamed block is a real block again: a second one for Price1 is refused.
    QVERIFY_THROWS_EXCEPTION(DbError, dm.NewField("Price1"));
    dm.NewField("PriceZ");
    QCOMPARE(dm.PriceDisplayFields.size(), size_t(30));
    dm.DelField("NoSuchColumn");
    QCOMPARE(dm.PriceDisplayFields.size(), size_t(30));
    dm.DelField("PriceZ");
    dm.DelField("Price");
    QCOMPARE(dm.PriceDisplayFields.size(), size_t(10));
    QCOMPARE(components(dm.QFind), QStringList({"QFindPrice1=Price1"}));
}

void TestBasket::layoutInsideTheScrollBoxes() {
    CatalogFixture f;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    const int clientHeight = m.sBoxOrder->height();
    QCOMPARE(m.dbgOrder->pos(), QPoint(0, 0));
    QCOMPARE(m.dbgOrder->height(), (clientHeight - 19 - 2) / 18 * 18);
    QCOMPARE(m.dbgItogo->geometry(),
             QRect(30 + 100 + 150 + 50 + 4, m.dbgOrder->height() + 2, 517, 17));
    QCOMPARE(m.lbItogo->x() + m.lbItogo->width(), m.dbgItogo->x() - 20);
    QCOMPARE(m.lbItogo->y(), m.dbgItogo->y() + 3);
    QCOMPARE(m.sbVert->geometry(), QRect(m.sBoxOrder->x() + m.sBoxOrder->width() - 1,
                                         m.sBoxOrder->y() + 21, 17, m.dbgOrder->height() - 21));
    QCOMPARE(m.dbgHistoryItogo->x(), 80 + 80 + 60 + 100 + 150 + 50 + 4);
    QCOMPARE(m.dbgHistoryItogo->y(), m.dbgHistory->height() + 2);
    QCOMPARE(m.dbgHistory->height() % 18, 0);
    QCOMPARE(m.sbVertHistory->y() + m.sbVertHistory->height(),
             m.sBoxHistory->y() + m.dbgHistory->height());
}

CATALOG_TEST_MAIN(TestBasket)
#include "tst_basket.moc"
