// The standardized-items panel: the item of the current row with its parameters and picture,
// the two searches, the way from the drawing and the current part.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "std/stditem.h"
#include "stdtest.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

using namespace StdTest;
using namespace ViewerTest;

namespace {

// Three items: a bolt of modification 2 with its own picture, a bolt of the hidden
// modification 3 without one, and a washer whose numbers name the fallback picture.
void addItems(CatalogFixture& f) {
    addItem(f, {2,
                "М-315.04-01",
                "М8-6gх25.58.016",
                "Болт",
                0.012,
                "Болт с шестигранной головкой",
                "Болт М8-6gх25.58.016 ГОСТ 7798-70",
                3,
                15,
                {"d=М8", "L=25", "", "", "s=13"}});
    QStringList thirteen;
    for (int n = 1; n <= 13; ++n)
        thirteen << QStringLiteral("p%1=%1").arg(n);
    addItem(f, {3, "М-315.04-02", "М10-6gх40.109", "Болт откидной", 0.05, "болт откидной",
                "Болт откидной М10 ГОСТ 3033-79", 4, 2, thirteen});
    addItem(f, {1,
                "М-315.04",
                "8.65Г.019",
                "Шайба",
                0.002,
                "Шайба пружинная",
                "Шайба 8.65Г.019 ГОСТ 6402-70",
                1,
                0,
                {"d=8,2"}});
    writeGrey(f.picDir() + "std/2_0315.bmp", QSize(200, 400));
}

// Types into an edit and releases Enter there, as the user searches.
void typeAndEnter(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    QTest::keyRelease(edit, Qt::Key_Return);
}

QStringList gridColumn(int column) {
    QStringList out;
    for (int r = 0; r < mainForm->dbgSTD->QTableView::model()->rowCount(); ++r)
        out << mainForm->dbgSTD->cellText(r, column);
    return out;
}

QStringList paramRows() {
    QStringList out;
    const QTableWidget* g = mainForm->sgParam;
    for (int r = 0; r < g->rowCount(); ++r)
        out << g->item(r, 0)->text() + "|" + g->item(r, 1)->text();
    return out;
}

void clickRow(int row) {
    TDBGrid* grid = mainForm->dbgSTD;
    const QRect cell = grid->visualRect(grid->QTableView::model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class TestStdPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchesFindByPrefixOverEveryModification();
    void rowShowsItsItem_data();
    void rowShowsItsItem();
    void clickedRowIsTheCurrentPart();
    void parameterGridScrollsWhenThePanelCannotHoldIt();
    void noRowsEmptyTheDetailSide();
    void missingFallbackIsReportedAndThePanelStaysUsable();
    void dopShowsTheItemOfThePartShown();
    void plainPartOnTheDrawingKeepsItPrintable();
    void unfocusedParameterGridShowsNoSelection();
};

void TestStdPanel::searchesFindByPrefixOverEveryModification() {
    CatalogFixture f;
    addItems(f);
    ModalScript script;
    auto forms = f.start();
    mainForm->pressPanelButton(mainForm->sbSTD);
    // Case does not matter, hidden modifications are listed too.
    typeAndEnter(mainForm->ePodGr, "болт");
    QCOMPARE(DM->QSTD.text(), QString("select * from STD where PodName LIKE'болт%'"));
    QCOMPARE(gridColumn(0), QStringList({"М-315.04-01", "М-315.04-02"}));
    QCOMPARE(gridColumn(1), QStringList({"ГОСТ 7798-70", "ГОСТ 7798-70"}));
    // The first row is shown: its subgroup replaces the typed text.
    QCOMPARE(mainForm->ePodGr->text(), QString("Болт с шестигранной головкой"));

    mainForm->eFullName->setText("Шайба 8");
    QTest::mouseClick(mainForm->sbFullName, Qt::LeftButton);
    QCOMPARE(gridColumn(0), QStringList({"М-315.04"}));
    QCOMPARE(mainForm->CurN, QString("8.65Г.019"));
    // A typed apostrophe is searched for as it stands.
    typeAndEnter(mainForm->eFullName, "Болт'");
    QCOMPARE(DM->QSTD.recordCount(), 0);
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
}

void TestStdPanel::rowShowsItsItem_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QSize>("picture");
    QTest::newRow("own picture 2_0315, parameters 1, 2 and 5")
        << 0 << "М8-6gх25.58.016"
        << "0,012" << QStringList{"d|М8", "L|25", "s|13"} << QSize(200, 400);
    QStringList thirteen;
    for (int n = 1; n <= 13; ++n)
        thirteen << QStringLiteral("p%1|%1").arg(n);
    QTest::newRow("missing picture falls back") << 1 << "М10-6gх40.109"
                                                << "0,05" << thirteen << QSize(100, 100);
    QTest::newRow("1_0100 is the fallback's name")
        << 2 << "8.65Г.019"
        << "0,002" << QStringList{"d|8,2"} << QSize(100, 100);
}

void TestStdPanel::rowShowsItsItem() {
    QFETCH(int, row);
    QFETCH(QString, number);
    QFETCH(QString, weight);
    QFETCH(QStringList, params);
    QFETCH(QSize, picture);
    CatalogFixture f;
    addItems(f);
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.pressPanelButton(m.sbSTD);
    // Room for all thirteen rows.
    m.panelSTD->resize(m.panelSTD->width(), m.sgParam->y() + 400);
    typeAndEnter(m.ePodGr, ""); // every item
    QCOMPARE(DM->QSTD.recordCount(), 3);
    m.ScrollBoxSTD->verticalScrollBar()->setValue(10);
    clickRow(row);

    QCOMPARE(DM->QSTD.recNo(), row + 1);
    QCOMPARE(m.CurN, number);
    QCOMPARE(m.CurName, DM->QSTD.asString("Name"));
    QCOMPARE(m.CurV, weight);
    QCOMPARE(m.ePodGr->text(), DM->QSTD.asString("PodName"));
    QCOMPARE(m.eFullName->text(), DM->QSTD.asString("FullName"));
    QVERIFY(!m.lbParam->isHidden() && !m.sgParam->isHidden());
    QCOMPARE(paramRows(), params);
    QCOMPARE(m.sgParam->height(), int(params.size()) * 18 + 5);
    QCOMPARE(m.sgParam->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < m.sgParam->rowCount(); ++r)
        QCOMPARE(m.sgParam->rowHeight(r), 18);

    QCOMPARE(m.ImageSTD->pixmap().size(), picture);
    const QSize box = m.ScrollBoxSTD->size();
    QCOMPARE(m.ImageSTD->geometry(), StdItem::panelFit(box, picture));
    QCOMPARE(m.ScrollBoxSTD->verticalScrollBar()->value(), 0);
    QVERIFY(m.sbPrint->isEnabled());
    QVERIFY(m.sbOrder->isEnabled() && m.miOrder->isEnabled());
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
}

void TestStdPanel::clickedRowIsTheCurrentPart() {
    CatalogFixture f;
    addItems(f);
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.pressPanelButton(m.sbSTD);
    typeAndEnter(m.ePodGr, "");
    for (int row : {2, 0, 1, 2}) {
        clickRow(row);
        QCOMPARE(DM->QSTD.recNo(), row + 1);
        QCOMPARE(m.CurN, DM->QSTD.asString("N"));
        QCOMPARE(m.eFullName->text(), DM->QSTD.asString("FullName"));
    }
    QCOMPARE(m.CurN, QString("8.65Г.019"));
    QCOMPARE(m.CurName, QString("Шайба"));
}

void TestStdPanel::parameterGridScrollsWhenThePanelCannotHoldIt() {
    CatalogFixture f;
    addItems(f);
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.pressPanelButton(m.sbSTD);
    typeAndEnter(m.ePodGr, "болт отк");
    QCOMPARE(m.sgParam->rowCount(), 13);
    // 13 x 18 + 5 = 239 fits exactly in a room of 239.
    m.panelSTD->resize(m.panelSTD->width(), m.sgParam->y() + 2 + 239);
    m.NewSTD();
    QCOMPARE(m.sgParam->height(), 239);
    QCOMPARE(m.sgParam->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    // One pixel less: a scroll bar, and the room as its height.
    m.panelSTD->resize(m.panelSTD->width(), m.sgParam->y() + 2 + 238);
    m.NewSTD();
    QCOMPARE(m.sgParam->height(), 238);
    QCOMPARE(m.sgParam->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestStdPanel::noRowsEmptyTheDetailSide() {
    CatalogFixture f;
    addItems(f);
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.pressPanelButton(m.sbSTD);
    typeAndEnter(m.ePodGr, "Болт");
    const QRect frame = m.ImageSTD->geometry();
    QCOMPARE(m.ImageSTD->pixmap().size(), QSize(200, 400));
    typeAndEnter(m.ePodGr, "Гайка");
    QCOMPARE(DM->QSTD.recordCount(), 0);
    QVERIFY(m.lbParam->isHidden() && m.sgParam->isHidden());
    QCOMPARE(m.ePodGr->text(), QString());
    QCOMPARE(m.eFullName->text(), QString());
    QVERIFY(!m.sbPrint->isEnabled());
    QVERIFY(!m.sbOrder->isEnabled() && !m.miOrder->isEnabled());
    // The fallback picture in the frame the last one had.
    QCOMPARE(m.ImageSTD->pixmap().size(), QSize(100, 100));
    QCOMPARE(m.ImageSTD->geometry(), frame);
    // Away and back: still nothing to print.
    m.pressPanelButton(m.sbTree);
    m.pressPanelButton(m.sbSTD);
    QVERIFY(!m.sbPrint->isEnabled());
    QVERIFY(script.unexpected.isEmpty());
}

void TestStdPanel::missingFallbackIsReportedAndThePanelStaysUsable() {
    CatalogFixture f;
    addItems(f);
    const QString fallback = f.picDir() + "std/1_0100.bmp";
    QVERIFY(QFile::remove(fallback));
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    script.press("bOK");
    m.pressPanelButton(m.sbSTD); // the empty panel shows the fallback
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains(fallback), qPrintable(script.messages[0]));
    typeAndEnter(m.ePodGr, ""); // the first row has a picture of its own
    QCOMPARE(script.messages.size(), 1);
    script.press("bOK");
    clickRow(1); // no picture of its own, no fallback
    QCOMPARE(script.messages.size(), 2);
    QVERIFY2(script.messages[1].contains(fallback), qPrintable(script.messages[1]));
    QVERIFY(m.ImageSTD->pixmap().isNull());
    // The rest of the item is shown, and it can be added and printed.
    QCOMPARE(m.sgParam->rowCount(), 13);
    QCOMPARE(m.CurN, QString("М10-6gх40.109"));
    QVERIFY(m.sbPrint->isEnabled() && m.sbOrder->isEnabled());
    // Back to a row with its own picture: shown without a word.
    clickRow(0);
    QCOMPARE(script.messages.size(), 2);
    QCOMPARE(m.ImageSTD->pixmap().size(), QSize(200, 400));
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
}

void TestStdPanel::dopShowsTheItemOfThePartShown() {
    CatalogFixture f;
    addItem(f, {1,
                "М-315.04",
                "50-1002015",
                "Гильза цилиндра",
                2.35,
                "Гильзы",
                "Гильза 50-1002015",
                2,
                5,
                {"D=110"}});
    writeGrey(f.picDir() + "std/1_0205.bmp", QSize(300, 200));
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    TmainForm& m = *mainForm;
    openDrawing(1, 1);
    click(marker(2));
    QVERIFY(!m.sbDop->isHidden());
    QVERIFY(m.sbPrint->isEnabled());
    QTest::mouseClick(m.sbDop, Qt::LeftButton);
    QVERIFY(!m.panelSTD->isHidden());
    QVERIFY(m.sbSTD->isChecked());
    QCOMPARE(m.ePodGr->text(), QString("Гильзы"));
    QCOMPARE(paramRows(), QStringList{"D|110"});
    QCOMPARE(m.ImageSTD->pixmap().size(), QSize(300, 200));
    QCOMPARE(m.CurN, QString("50-1002015"));
    QVERIFY(m.sbPrint->isEnabled());
    QVERIFY(m.sbOrder->isEnabled());
    QVERIFY(!m.sbNextItem->isEnabled() && !m.sbPredItem->isEnabled());
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
}

void TestStdPanel::plainPartOnTheDrawingKeepsItPrintable() {
    // A click on a part with no standardized item opens QSTD empty behind the drawing: the
    // drawing stays printable and its part can still be added.
    CatalogFixture f;
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(1));
    QCOMPARE(DM->QSTD.recordCount(), 0);
    QVERIFY(mainForm->sbPrint->isEnabled());
    QVERIFY(mainForm->sbOrder->isEnabled());
    QCOMPARE(mainForm->CurN, QString("50-1002010"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestStdPanel::unfocusedParameterGridShowsNoSelection() {
    CatalogFixture f;
    addItems(f);
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    TmainForm& m = *mainForm;
    m.pressPanelButton(m.sbSTD);
    typeAndEnter(m.ePodGr, "Болт с");
    QTableWidget* grid = m.sgParam;
    grid->setCurrentCell(1, 1);
    QVERIFY(grid->item(1, 1)->isSelected());
    m.ePodGr->setFocus();
    QVERIFY(!grid->hasFocus());
    const QRect cell = grid->visualItemRect(grid->item(1, 1));
    QImage shot = grid->viewport()->grab().toImage();
    QCOMPARE(shot.pixelColor(cell.right() - 2, cell.bottom() - 1), QColor(255, 255, 231));
    grid->setFocus();
    QVERIFY(grid->hasFocus());
    shot = grid->viewport()->grab().toImage();
    QCOMPARE(shot.pixelColor(cell.right() - 2, cell.bottom() - 1),
             grid->palette().color(QPalette::Highlight));
}

CATALOG_TEST_MAIN(TestStdPanel)
#include "tst_stdpanel.moc"
