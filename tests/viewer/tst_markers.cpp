// Pointing at and clicking markers, occurrences, whole assemblies and dragging the drawing.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"
#include "viewer/image.h"
#include "viewer/marker.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

using namespace ViewerTest;

namespace {

// A point of the drawing with no marker near it.
QPoint bareSpot() {
    return QPoint(mainForm->mainImage->width() * 9 / 10, mainForm->mainImage->height() / 20);
}

void moveTo(TMarker* m) {
    QTest::mouseMove(m, QPoint(8, 8));
}

// The right button as the platform reports it: a context menu request on the widget.
void rightClick(QWidget* w, QPoint at) {
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &e);
}

void moveOntoDrawing() {
    QTest::mouseMove(mainForm->mainImage, bareSpot());
}

} // namespace

class TestMarkers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pointingLightsMarkersUp();
    void clickSelectsThePartEverywhere();
    void assemblyButtonHighlightsMembers();
    void assemblyDrawnWithoutNumberUsesTheHiddenMarker();
    void assemblyWithoutMarkerGetsAHiddenOne();
    void assembliesAreExpandedOnceAndAnyNumberCounts();
    void assemblyButtonIgnoresEmptyBox_data();
    void assemblyButtonIgnoresEmptyBox();
    void choosingAnOccurrenceJumpsToItsDrawing();
    void rightClickSelectsAndOpensThePopup();
    void draggingPansTheDrawing();
};

void TestMarkers::pointingLightsMarkersUp() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    moveTo(marker(2));
    QCOMPARE(lookOf(marker(2)), Look::Hover);
    moveOntoDrawing();
    QCOMPARE(lookOf(marker(2)), Look::Normal);
    moveTo(marker(2));
    QCOMPARE(lookOf(marker(2)), Look::Hover);
    moveTo(marker(5));
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:n 4:n 5:h"));

    // The selected part and the members of the highlighted assembly keep their looks.
    click(marker(3));
    moveOntoDrawing();
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));
    QTest::mouseClick(mainForm->sbSelSE, Qt::LeftButton);
    moveTo(marker(2));
    moveOntoDrawing();
    QCOMPARE(looks(), QString("0:n 1:s 2:a 3:a 4:a 5:a"));
}

void TestMarkers::clickSelectsThePartEverywhere() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    mainForm->sbNextItem->setEnabled(true);
    mainForm->sbPredItem->setEnabled(true);
    click(marker(3));
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));
    QVERIFY(!mainForm->sbNextItem->isEnabled());
    QVERIFY(!mainForm->sbPredItem->isEnabled());
    QCOMPARE(mainForm->lbN->text(), QString("50.12.003-1"));
    QCOMPARE(mainForm->SelLabel, marker(3));
    click(marker(2));
    QCOMPARE(looks(), QString("0:n 1:n 2:s 3:n 4:n 5:n"));
    QCOMPARE(mainForm->lbName->text(), QString("Гильза цилиндра"));
}

void TestMarkers::assemblyButtonHighlightsMembers() {
    CatalogFixture f;
    // A member of the liner with a number of its own: the liner is not expanded.
    f.addPart(1, "50-1002016", "Кольцо");
    f.addOccurrence(1, "50-1002016", "50-1002015", 1, 7);
    f.addPlace(1, 1, 7, 90, 90);
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(2));
    QCOMPARE(mainForm->ComboBoxSE->currentText(), QString("50-1002010"));
    QTest::mouseClick(mainForm->sbSelSE, Qt::LeftButton);

    QCOMPARE(looks(), QString("0:n 1:s 2:a 3:a 4:a 5:a 7:n"));
    QCOMPARE(mainForm->lbN->text(), QString("50-1002010"));
    QCOMPARE(mainForm->lbName->text(), QString("Блок цилиндров в сборе"));
    QCOMPARE(mainForm->ComboBoxSE->currentText(), QString(" "));
    QCOMPARE(mainForm->CurN, QString("50-1002010"));

    // The assembly has a marker of its own: choosing a part leaves the members highlighted.
    click(marker(7));
    QCOMPARE(looks(), QString("0:n 1:n 2:a 3:a 4:a 5:a 7:s"));
    // Another drawing drops the highlight with the selection.
    openDrawing(1, 2);
    openDrawing(1, 1);
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:n 4:n 5:n 7:n"));
    QVERIFY(mainForm->SEPositions.isEmpty());
}

void TestMarkers::assemblyDrawnWithoutNumberUsesTheHiddenMarker() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(5));
    QCOMPARE(mainForm->ComboBoxSE->currentText(), QString("50-1002030"));
    QTest::mouseClick(mainForm->sbSelSE, Qt::LeftButton);
    QCOMPARE(mainForm->SelMarker, 0);
    QVERIFY(mainForm->Markers[0]->isHidden());
    QCOMPARE(looks(), QString("0:s 1:n 2:n 3:n 4:n 5:a"));
    QCOMPARE(mainForm->lbN->text(), QString("50-1002030"));
    // Its price of 0 and no second price: "не указана" in all rows.
    QCOMPARE(mainForm->sgPrice->rowCount(), 4);
    click(marker(2));
    QCOMPARE(looks(), QString("0:n 1:n 2:s 3:n 4:n 5:n"));
    QVERIFY(mainForm->SEPositions.isEmpty());
}

void TestMarkers::assemblyWithoutMarkerGetsAHiddenOne() {
    CatalogFixture f;
    // The bracket assembly has a number but no place on the drawing.
    f.addPart(1, "50-9000000", "Кронштейн в сборе", 3.5);
    f.addOccurrence(1, "50-9000000", "", 1, 99);
    f.addPart(1, "50-9000010", "Болт");
    f.addOccurrence(1, "50-9000010", "50-9000000", 1, 6);
    f.addPlace(1, 1, 6, 70, 20);
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    QCOMPARE(mainForm->MarkerCount, 7);
    click(marker(6));
    QTest::mouseClick(mainForm->sbSelSE, Qt::LeftButton);

    QCOMPARE(mainForm->MarkerCount, 8);
    TMarker* hidden = mainForm->Markers[7];
    QCOMPARE(hidden->text(), QString("0"));
    QVERIFY(hidden->isHidden());
    QCOMPARE(hidden->Tag, 7);
    QCOMPARE(mainForm->SelLabel, hidden);
    QCOMPARE(mainForm->lbN->text(), QString("50-9000000"));
    QCOMPARE(mainForm->CurN, QString("50-9000000"));
    QCOMPARE(mainForm->CurV, QString("3,5"));
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:n 4:n 5:n 6:a 0:s"));
    click(marker(1));
    QCOMPARE(looks(), QString("0:n 1:s 2:n 3:n 4:n 5:n 6:n 0:n"));
}

void TestMarkers::assembliesAreExpandedOnceAndAnyNumberCounts() {
    CatalogFixture f;
    // Two numberless assemblies that list each other (a fault of the catalogue), with members
    // at 7 and at 300 on drawing 2.
    f.addPart(1, "K-1", "Узел первый");
    f.addPart(1, "K-2", "Узел второй");
    f.addPart(1, "M-7", "Винт");
    f.addPart(1, "M-300", "Пружина");
    f.addOccurrence(1, "K-1", "K-2", 2, 0);
    f.addOccurrence(1, "K-2", "K-1", 2, 0);
    f.addOccurrence(1, "M-300", "K-1", 2, 300);
    f.addOccurrence(1, "M-7", "K-2", 2, 7);
    f.addPlace(1, 2, 7, 30, 30);
    f.addPlace(1, 2, 300, 60, 60);
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 2);
    click(marker(300));
    QCOMPARE(mainForm->ComboBoxSE->currentText(), QString("K-1"));
    QTest::mouseClick(mainForm->sbSelSE, Qt::LeftButton);
    QCOMPARE(mainForm->SEPositions, QSet<int>({7, 300}));
    QCOMPARE(lookOf(marker(7)), Look::Assembly);
    QCOMPARE(lookOf(marker(300)), Look::Assembly);
    click(marker(1));
    QCOMPARE(lookOf(marker(300)), Look::Normal);
}

void TestMarkers::assemblyButtonIgnoresEmptyBox_data() {
    QTest::addColumn<QString>("box");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << " ";
    QTest::newRow("underscore") << "_";
}

void TestMarkers::assemblyButtonIgnoresEmptyBox() {
    QFETCH(QString, box);
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(3));
    mainForm->ComboBoxSE->clear();
    if (!box.isEmpty()) mainForm->ComboBoxSE->addItem(box);
    const QString statement = DM->QPicPos.text();
    QTest::mouseClick(mainForm->sbSelSE, Qt::LeftButton);
    QCOMPARE(DM->QPicPos.text(), statement);
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));
    QCOMPARE(mainForm->lbN->text(), QString("50.12.003-1"));
}

void TestMarkers::choosingAnOccurrenceJumpsToItsDrawing() {
    CatalogFixture f;
    f.addOccurrence(1, "50-1002015", "50-3501010", 2, 2);
    f.addPlace(1, 2, 2, 40, 40);
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    // The occurrences of the liner, as the search lists them.
    DM->QPicPos.setText({"select * from Find where N='50-1002015' and modif=1 order by Picture"});
    DM->QPicPos.open();
    mainForm->allSE();
    QCOMPARE(mainForm->ComboBoxSE->count(), 2);
    QCOMPARE(mainForm->SEIndex, 0);

    mainForm->ComboBoxSE->setCurrentIndex(1);
    Q_EMIT mainForm->ComboBoxSE->activated(1);
    QCOMPARE(mainForm->CurrentPic, 2);
    QCOMPARE(mainForm->SEIndex, 1);
    QCOMPARE(looks(), QString("1:n 2:s"));
    QCOMPARE(mainForm->lbN->text(), QString("50-1002015"));
    QCOMPARE(mainForm->ComboBoxSE->count(), 2);
    QCOMPARE(mainForm->ComboBoxSE->currentIndex(), 1);
    QCOMPARE(mainForm->ComboBoxSE->toolTip(), QString("50-3501010"));

    mainForm->ComboBoxSE->setCurrentIndex(0);
    Q_EMIT mainForm->ComboBoxSE->activated(0);
    QCOMPARE(mainForm->CurrentPic, 1);
    QCOMPARE(looks(), QString("0:n 1:n 2:s 3:n 4:n 5:n"));
    // A click afterwards fills the box with the clicked part's assembly again.
    click(marker(1));
    QCOMPARE(mainForm->ComboBoxSE->count(), 1);
}

void TestMarkers::rightClickSelectsAndOpensThePopup() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    rightClick(marker(3), QPoint(8, 8));
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));
    QVERIFY(mainForm->pmImage->isVisible());
    QVERIFY(mainForm->miOrder->isEnabled());
    mainForm->pmImage->close();
    QTest::mousePress(mainForm->mainImage, Qt::RightButton, {}, bareSpot());
    QVERIFY(mainForm->Dragging);
    rightClick(mainForm->mainImage, bareSpot());
    QVERIFY(mainForm->pmImage->isVisible());
    QVERIFY(!mainForm->Dragging);
    mainForm->pmImage->close();
}

void TestMarkers::draggingPansTheDrawing() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    mainForm->sbZoomPlus->trigger();
    mainForm->sbZoomPlus->trigger();
    QScrollBar* h = mainForm->ScrollBox->horizontalScrollBar();
    QScrollBar* v = mainForm->ScrollBox->verticalScrollBar();
    QCOMPARE(h->value(), 0);
    QCOMPARE(v->value(), 0);
    QVERIFY(h->maximum() > 100 && v->maximum() > 100);

    QTest::mousePress(mainForm->mainImage, Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(mainForm->mainImage->cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(mainForm->mainImage, QPoint(150, 110));
    QCOMPARE(h->value(), 50);
    QCOMPARE(v->value(), 40);
    QTest::mouseRelease(mainForm->mainImage, Qt::LeftButton, {}, QPoint(200, 150));
    QVERIFY(!mainForm->Dragging);
    QCOMPARE(mainForm->mainImage->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(mainForm->mainImage, QPoint(100, 100));
    QCOMPARE(h->value(), 50);
    QCOMPARE(v->value(), 40);
}

CATALOG_TEST_MAIN(TestMarkers)
#include "tst_markers.moc"
