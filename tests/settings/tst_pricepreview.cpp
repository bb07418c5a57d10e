// What the automatic price update would change, shown before anything is written: the counts
// on a supplier's table, the warning rule, and the wizard's "Назад" and "Готово".
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "settings/Upprice.h"
#include "settings/pricepreview.h"
#include "settings/pricepreviewpage.h"
#include "settings/pricetable.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/suppliertable.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace {

// Everything the update may write.
QStringList written(CatalogFixture& f) {
    return tableRows(f, "select * from Price order by ID_P") +
           tableRows(f, "select * from Detail order by modif, N_f") +
           tableRows(f, "select * from DataTab order by modif, N_f, Picture, Position");
}

// Prices in the column Price of the fixture: 50-1002010 15000, 50-1002015 100,
// 50-1002030 0, 50-3501010 2500.5, 50-1003010 7000; ИЗ-12.001 has no Price row.
const QList<Row> Supplier{{"50-1002010", "Блок", "15000"},      // unchanged
                          {"50-1002015", "Гильза", "120"},      // +20 %
                          {"50-1002030", "Крышка", "5"},        // from 0: no percent
                          {"ИЗ-99", "Пробка", "1"},             // not in the catalogue
                          {"", "Без номера", "5"},              // unreadable
                          {"50-3501010", "Тормоз", "около 3"},  // unreadable
                          {"50-1003010", "Головка", "7000,00"}, // unchanged
                          {"ИЗ-12.001", "Шайба", "3"}};         // first price

const PriceUpdate::Mapping ToPrice{0, 1, 2, "Price", false};

QStringList numbers(const std::vector<PricePreview::Change>& rows) {
    QStringList out;
    for (const auto& c : rows)
        out << c.number;
    return out;
}

QStringList column(QTableWidget* t, int c) {
    QStringList out;
    for (int r = 0; r < t->rowCount(); ++r)
        out << t->item(r, c)->text();
    return out;
}

// A click on a column's caption, as the user sorts.
void clickCaption(QTableWidget* t, int c) {
    QHeaderView* h = t->horizontalHeader();
    QTest::mouseClick(
        h->viewport(), Qt::LeftButton, {},
        QPoint(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2));
}

void choose(QComboBox* box, const QString& entry) {
    const int i = box->findText(entry);
    QVERIFY2(i >= 0, qPrintable(entry));
    box->setCurrentIndex(i);
    Q_EMIT box->activated(i);
}

// Takes the wizard from its first screen to the preview of path into "Цена".
void toPreview(TpriceForm& w, ModalScript& script, const QString& path, bool append) {
    w.bbForw->click();
    script.file(path);
    w.bbAuto->click();
    choose(w.cbFieldN, "NOMER");
    choose(w.cbFieldName, "NAIM");
    choose(w.cbFieldPrice, "CENA");
    choose(w.cbUpPrice, "Цена");
    w.cbAppend->setChecked(append);
    w.bbForw->click();
    w.bbForw->click();
    QCOMPARE(w.Screen, 6);
}

} // namespace

class TestPricePreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countsOnASupplierTable();
    void warningThreshold_data();
    void warningThreshold();
    void wrongColumnWarns();
    void backWritesNothing();
    void doneWritesWhatThePreviewShowed();
};

void TestPricePreview::countsOnASupplierTable() {
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, Supplier);
    const QStringList before = written(f);
    TDM dm(f.dir());
    const PriceTable table(path);
    const PricePreview::Preview p = PricePreview::compute(dm, table, ToPrice);
    QCOMPARE(numbers(p.changes), QStringList({"50-1002015", "50-1002030", "ИЗ-12.001"}));
    QCOMPARE(p.unchanged, 2);
    QCOMPARE(numbers(p.notFound), QStringList{"ИЗ-99"});
    QCOMPARE(p.unreadable.size(), size_t(2));
    QCOMPARE(p.unreadable[0].row, 5);
    QCOMPARE(p.unreadable[1].row, 6);
    QCOMPARE(p.unreadable[1].reason, QString("цена \"около 3\" не является числом"));
    const PricePreview::Change& sleeve = p.changes[0];
    QVERIFY(sleeve.hasPercent());
    QCOMPARE(sleeve.oldPrice, 100.0);
    QCOMPARE(sleeve.newPrice, 120.0);
    QCOMPARE(sleeve.percent(), 20.0);
    QVERIFY(!p.changes[1].hasPercent()); // from 0
    QVERIFY(!p.changes[2].hadPrice);
    QCOMPARE(p.compared, 3);
    QCOMPARE(p.bigChanges, 0);
    QVERIFY(!p.warn());
    QCOMPARE(written(f), before);
}

void TestPricePreview::warningThreshold_data() {
    QTest::addColumn<int>("compared");
    QTest::addColumn<int>("big");
    QTest::addColumn<bool>("warn");
    QTest::newRow("nothing compared") << 0 << 0 << false;
    QTest::newRow("one of one") << 1 << 1 << true;
    QTest::newRow("a tenth exactly") << 10 << 1 << false;
    QTest::newRow("just over a tenth") << 10 << 2 << true;
    QTest::newRow("20 of 200") << 200 << 20 << false;
    QTest::newRow("21 of 200") << 200 << 21 << true;
    QTest::newRow("none of many") << 300000 << 0 << false;
}

void TestPricePreview::warningThreshold() {
    QFETCH(int, compared);
    QFETCH(int, big);
    QFETCH(bool, warn);
    QCOMPARE(PricePreview::Preview::suspicious(compared, big), warn);
}

void TestPricePreview::wrongColumnWarns() {
    // Exactly half is not "more than half"; one price in three jumping is more than a tenth.
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, {{"50-1002010", "Блок", "22500"},
                      {"50-1002015", "Гильза", "151"},
                      {"50-1003010", "Головка", "7000"}});
    TDM dm(f.dir());
    const PriceTable table(path);
    const PricePreview::Preview p = PricePreview::compute(dm, table, ToPrice);
    QCOMPARE(p.compared, 3);
    QCOMPARE(p.bigChanges, 1);
    QVERIFY(p.warn());
}

void TestPricePreview::backWritesNothing() {
    ModalScript script;
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, Supplier);
    const QStringList before = written(f);
    auto forms = f.start();
    script.then([&](QDialog& d) {
        auto& w = static_cast<TpriceForm&>(d);
        toPreview(w, script, path, true);
        w.bbBack->click();
        QCOMPARE(w.Screen, 0);
        w.bbCancel->click();
    });
    mainForm->N4->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QCOMPARE(written(f), before);
}

void TestPricePreview::doneWritesWhatThePreviewShowed() {
    ModalScript script;
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, Supplier);
    auto forms = f.start();
    QStringList shown, prices;
    script.then([&](QDialog& d) {
        auto& w = static_cast<TpriceForm&>(d);
        toPreview(w, script, path, false);
        PricePreviewPage& page = *w.preview;
        QCOMPARE(page.lbSummary->text(), QString("Изменится цен: 3. Без изменений: 2. Нет в "
                                                 "каталоге: 1. Не прочитано строк: 2."));
        QVERIFY(page.lbWarning->isHidden());
        QCOMPARE(page.tabs->tabText(0), QString("Изменения (3)"));
        QCOMPARE(page.tabs->tabText(1), QString("Нет в каталоге (1)"));
        QCOMPARE(page.tabs->tabText(2), QString("Не прочитаны (2)"));
        QCOMPARE(column(page.tUnreadable, 0), QStringList({"5", "6"}));
        // Sorted by a click on the caption, numerically, a missing old price first.
        clickCaption(page.tChanges, 2);
        QCOMPARE(column(page.tChanges, 2), QStringList({"", "0.00", "100.00"}));
        clickCaption(page.tChanges, 3);
        QCOMPARE(column(page.tChanges, 3), QStringList({"3.00", "5.00", "120.00"}));
        QCOMPARE(column(page.tChanges, 4), QStringList({"", "", "20.0"}));
        shown = column(page.tChanges, 0) + column(page.tNotFound, 0);
        prices = column(page.tChanges, 3) + column(page.tNotFound, 2);
        w.bbForw->click();
        QCOMPARE(w.Screen, 3);
        w.bbForw->click();
    });
    mainForm->N4->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QCOMPARE(shown, QStringList({"ИЗ-12.001", "50-1002030", "50-1002015", "ИЗ-99"}));
    for (int i = 0; i < shown.size(); ++i)
        QCOMPARE(tableRows(f, QString("select printf('%.2f', Price) from Price where ID_P = '%1'")
                                  .arg(shown[i])),
                 QStringList{prices[i]});
    // The rows that could not be read changed nothing.
    QCOMPARE(tableRows(f, "select Price from Price where ID_P = '50-3501010'"),
             QStringList{"2500.5"});
}

CATALOG_TEST_MAIN(TestPricePreview)
#include "tst_pricepreview.moc"
