// The result table after a catalogue search: stepping through the found parts, opening them on
// their drawings and what the drawing panel shows of them.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "search/find.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"
#include "viewer/marker.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace ViewerTest;

namespace {

// Runs a catalogue search through the dialog with the number (and assembly) typed in.
void search(ModalScript& script, const QString& number, const QString& assembly = QString()) {
    script.then([number, assembly](QDialog& d) {
        auto& form = static_cast<TfindForm&>(d);
        form.bbClearClick();
        form.findEditN->setText(number);
        form.findEditSE->setText(assembly);
        form.bbOk->click();
    });
    mainForm->sbFind->click();
}

void next() {
    QTest::mouseClick(mainForm->sbNextItem, Qt::LeftButton);
}

void pred() {
    QTest::mouseClick(mainForm->sbPredItem, Qt::LeftButton);
}

int gridRow() {
    return mainForm->dbgFind->currentIndex().row();
}

QPoint cellCentre(int row) {
    const QTableView* g = mainForm->dbgFind;
    return g->visualRect(g->model()->index(row, 1)).center();
}

// Where the drawing panel stands: "modif/picture lbN".
QString shown() {
    return QStringLiteral("%1/%2 %3")
        .arg(mainForm->CurrentModif)
        .arg(mainForm->CurrentPic)
        .arg(mainForm->lbN->text());
}

QStringList occurrences() {
    QStringList out;
    for (int i = 0; i < mainForm->ComboBoxSE->count(); ++i)
        out << mainForm->ComboBoxSE->itemText(i);
    return out;
}

void chooseOccurrence(int index) {
    mainForm->ComboBoxSE->setCurrentIndex(index);
    Q_EMIT mainForm->ComboBoxSE->activated(index);
}

const QString Remark = QStringLiteral("Применяется до 2005 г.");

} // namespace

class TestFound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stepsRoundTheResultWithTheTableInFront();
    void singleRowStepsOntoItself();
    void openingFromTheGrid();
    void assemblyCriterionListsOnlyMatchingOccurrences();
    void partOnNoDrawingKeepsWhatIsShown();
    void missingBitmapLeavesNoOtherPartShown();
    void occurrencesOffTheDrawing();
    void emptyResultOpensNothing();
    void standardizedPartOffersMore();
};

void TestFound::stepsRoundTheResultWithTheTableInFront() {
    ModalScript script;
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    search(script, "50-1002*");
    QCOMPARE(DM->QFind.recordCount(), 4);
    QVERIFY(!mainForm->panelTable->isHidden());

    struct Step {
        void (*press)();
        int row;
        QString drawing;
        QString looks;
        QString curV;
    };
    // Rows: 1:50-1002010, 2:50-1002010, 1:50-1002015 and the position-0 assembly 1:50-1002030,
    // whose members (5 through it) take the assembly look while its hidden "0" is selected.
    // Leaving it for another part of the same drawing removes that highlight.
    const Step steps[] = {
        {next, 1, "2/1 50-1002010", "1:s", "95,5"},
        {next, 2, "1/1 50-1002015", "0:n 1:n 2:s 3:n 4:n 5:n", "2,35"},
        {next, 3, "1/1 50-1002030", "0:s 1:n 2:n 3:n 4:n 5:a", "1,2"},
        {next, 0, "1/1 50-1002010", "0:n 1:s 2:n 3:n 4:n 5:n", "95,5"},
        {pred, 3, "1/1 50-1002030", "0:s 1:n 2:n 3:n 4:n 5:a", "1,2"},
        {pred, 2, "1/1 50-1002015", "0:n 1:n 2:s 3:n 4:n 5:n", "2,35"},
    };
    for (const Step& s : steps) {
        s.press();
        QVERIFY(script.unexpected.isEmpty());
        QCOMPARE(gridRow(), s.row);
        QCOMPARE(DM->QFind.recNo(), s.row + 1);
        QCOMPARE(shown(), s.drawing);
        QCOMPARE(looks(), s.looks);
        QCOMPARE(mainForm->CurN, mainForm->lbN->text());
        QCOMPARE(mainForm->CurV, s.curV);
        // The drawing is prepared behind the table, whose items stay as they belong to it.
        QVERIFY(!mainForm->panelTable->isHidden());
        QVERIFY(mainForm->panelPic->isHidden());
        for (QAction* a : {mainForm->sbZoomPlus, mainForm->sbNext, mainForm->sbPred,
                           mainForm->sbPrint, mainForm->miPlus})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(mainForm->sbNextItem->isEnabled());
        QVERIFY(mainForm->sbOrder->isEnabled());
    }
    next();
    QCOMPARE(gridRow(), 3);
    QCOMPARE(marker(5)->background(), QColor(120, 173, 212));
    QCOMPARE(marker(5)->fontColour(), QColor(255, 255, 255));
    QCOMPARE(mainForm->SEPositions, QSet<int>({5}));
}

void TestFound::singleRowStepsOntoItself() {
    ModalScript script;
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    search(script, "50-3501010");
    QCOMPARE(DM->QFind.recordCount(), 1);
    for (auto press : {next, pred, pred, next}) {
        press();
        QCOMPARE(gridRow(), 0);
        QCOMPARE(shown(), QString("1/2 50-3501010"));
        QCOMPARE(looks(), QString("1:s"));
        QCOMPARE(mainForm->CurN, QString("50-3501010"));
    }
    QVERIFY(script.unexpected.isEmpty());
}

void TestFound::openingFromTheGrid() {
    ModalScript script;
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    search(script, "50-1002*");
    TDBGrid* grid = mainForm->dbgFind;

    // A click in the grid makes its row the current part for the basket.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(2));
    QCOMPARE(DM->QFind.recNo(), 3);
    QCOMPARE(mainForm->CurN, QString("50-1002015"));
    QCOMPARE(mainForm->CurName, QString("Гильза цилиндра"));
    QCOMPARE(mainForm->CurV, QString("2,35"));

    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(2));
    QVERIFY(!mainForm->panelPic->isHidden());
    QVERIFY(mainForm->sbPic->isChecked());
    QCOMPARE(shown(), QString("1/1 50-1002015"));
    QCOMPARE(looks(), QString("0:n 1:n 2:s 3:n 4:n 5:n"));
    QVERIFY(mainForm->sbZoomPlus->isEnabled());
    QVERIFY(mainForm->sbNextItem->isEnabled());

    // With the drawing in front a step replaces the drawing shown.
    next();
    QVERIFY(!mainForm->panelPic->isHidden());
    QCOMPARE(shown(), QString("1/1 50-1002030"));
    QCOMPARE(looks(), QString("0:s 1:n 2:n 3:n 4:n 5:a"));
    QVERIFY(mainForm->sbZoomPlus->isEnabled());
    // Going on to the next drawing ends stepping through the found parts.
    mainForm->sbNext->trigger();
    QCOMPARE(mainForm->CurrentPic, 2);
    QVERIFY(!mainForm->sbNextItem->isEnabled());
    QVERIFY(!mainForm->sbPredItem->isEnabled());

    // Back at the table: "Рисунок" shows its current row again, Enter released opens another.
    mainForm->pressPanelButton(mainForm->sbTable);
    QCOMPARE(gridRow(), 3);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(1));
    QTest::mouseClick(mainForm->sbPic, Qt::LeftButton);
    QCOMPARE(shown(), QString("2/1 50-1002010"));
    QCOMPARE(looks(), QString("1:s"));
    mainForm->pressPanelButton(mainForm->sbTable);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(0));
    QTest::keyPress(grid, Qt::Key_Return);
    QVERIFY(mainForm->panelPic->isHidden());
    QTest::keyRelease(grid, Qt::Key_Return);
    QVERIFY(!mainForm->panelPic->isHidden());
    QVERIFY(mainForm->sbPic->isChecked());
    QCOMPARE(shown(), QString("1/1 50-1002010"));
    QCOMPARE(looks(), QString("0:n 1:s 2:n 3:n 4:n 5:n"));
    QCOMPARE(DM->QPicPos.text(), "select distinct * from Find " + Shared->searchCondition() +
                                     " and N_f='501002010' and modif=1");

    // Coming back to the drawing from another panel shows it as it was left.
    mainForm->pressPanelButton(mainForm->sbTree);
    const QString statement = DM->QPicPos.text();
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(DM->QPicPos.text(), statement);
    QCOMPARE(looks(), QString("0:n 1:s 2:n 3:n 4:n 5:n"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestFound::assemblyCriterionListsOnlyMatchingOccurrences() {
    ModalScript script;
    CatalogFixture f;
    // The bushing is also used in the brake (drawing 2) and in the shoe on the general view.
    f.addPart(1, "50-3502010", "Колодка в сборе", 4.0);
    f.addOccurrence(1, "50.12.003-1", "50-3501010", 2, 2);
    f.addOccurrence(1, "50-3502010", "", 3, 1);
    f.addOccurrence(1, "50.12.003-1", "50-3502010", 3, 2);
    f.addPlace(1, 2, 2, 30, 30);
    f.addPlace(1, 3, 1, 20, 20);
    f.addPlace(1, 3, 2, 60, 60);
    auto forms = startShown(f);
    QVERIFY(forms);

    search(script, "50.12.003*", "50-35*");
    QCOMPARE(DM->QFind.recordCount(), 1);
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(occurrences(), QStringList({"50-3501010", "50-3502010"}));
    QCOMPARE(mainForm->ComboBoxSE->currentIndex(), 0);
    QCOMPARE(shown(), QString("1/2 50.12.003-1"));
    QCOMPARE(looks(), QString("1:n 2:s"));
    chooseOccurrence(1);
    QCOMPARE(shown(), QString("1/3 50.12.003-1"));
    QCOMPARE(looks(), QString("1:n 2:s"));
    QCOMPARE(mainForm->ComboBoxSE->currentIndex(), 1);
    chooseOccurrence(0);
    QCOMPARE(shown(), QString("1/2 50.12.003-1"));

    // Without the assembly criterion every occurrence is offered, the first one shown.
    search(script, "50.12.003*");
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(occurrences(), QStringList({"50-1002010", "50-1002010", "50-3501010", "50-3502010"}));
    QCOMPARE(shown(), QString("1/1 50.12.003-1"));
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestFound::partOnNoDrawingKeepsWhatIsShown() {
    ModalScript script;
    CatalogFixture f;
    // A clamp common to all modifications, listed on no drawing.
    f.addPart(0, "80-1", "Хомут", 0.05);
    f.addOccurrence(0, "80-1", "", 0, 0);
    auto forms = startShown(f);
    QVERIFY(forms);
    search(script, "50.12.003*&80-1");
    QCOMPARE(DM->QFind.recordCount(), 2);
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(shown(), QString("1/1 50.12.003-1"));
    QCOMPARE(mainForm->statusText(), "Примечание: " + Remark);
    const QString statement = DM->QPicPos.text();
    const QString shownLooks = looks();

    const QString noDrawing = "Деталь 80-1 не показана ни на одном рисунке";
    next();
    QCOMPARE(gridRow(), 1);
    QCOMPARE(mainForm->statusText(), noDrawing);
    QCOMPARE(shown(), QString("1/1 50.12.003-1"));
    QCOMPARE(looks(), shownLooks);
    QCOMPARE(occurrences(), QStringList({"50-1002010", "50-1002010"}));
    QCOMPARE(DM->QPicPos.text(), statement);
    QCOMPARE(DM->QPicPos.asString("N"), QString("50.12.003-1"));
    QVERIFY(!mainForm->panelPic->isHidden());
    // The basket takes the found row the user stepped to.
    QCOMPARE(mainForm->CurN, QString("80-1"));
    QVERIFY(script.unexpected.isEmpty());
    QVERIFY(script.messages.isEmpty());

    // The other rows still step onto their drawings; the shown occurrence list still works.
    next();
    QCOMPARE(gridRow(), 0);
    QCOMPARE(mainForm->statusText(), "Примечание: " + Remark);
    chooseOccurrence(1);
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));

    // From the table: the drawing panel comes to the front with what it showed, and the
    // remark of the part shown is carried by the panel switches as before.
    mainForm->pressPanelButton(mainForm->sbTable);
    QCOMPARE(mainForm->statusText(), QString());
    pred();
    QCOMPARE(mainForm->statusText(), noDrawing);
    QVERIFY(!mainForm->panelTable->isHidden());
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(mainForm->statusText(), noDrawing);
    QCOMPARE(shown(), QString("1/1 50.12.003-1"));
    mainForm->pressPanelButton(mainForm->sbTree);
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(mainForm->statusText(), "Примечание: " + Remark);
    QVERIFY(script.messages.isEmpty());
}

void TestFound::missingBitmapLeavesNoOtherPartShown() {
    ModalScript script;
    CatalogFixture f;
    QVERIFY(QFile::remove(f.picDir() + "small/1_2.bmp"));
    auto forms = startShown(f);
    QVERIFY(forms);
    search(script, "50.12.003*&50-3501010");
    QCOMPARE(DM->QFind.recordCount(), 2);
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(shown(), QString("1/1 50.12.003-1"));

    // Onto the part whose drawing cannot be read: the file is named, the drawing shown stays,
    // and no other part than the found row is left on the panel for "Добавить" to take.
    script.press("bOK");
    next();
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages.first().contains("1_2.bmp"), qPrintable(script.messages.first()));
    QCOMPARE(gridRow(), 1);
    QCOMPARE(mainForm->CurN, QString("50-3501010"));
    QCOMPARE(mainForm->CurrentPic, 1);
    QVERIFY(!mainForm->partShown());
    QVERIFY(!mainForm->sbOrder->isEnabled());
    QVERIFY(!mainForm->miOrder->isEnabled());

    // With the table in front the row is the current part, and "Добавить" takes it.
    mainForm->pressPanelButton(mainForm->sbTable);
    pred();
    QCOMPARE(mainForm->CurN, QString("50.12.003-1"));
    script.press("bOK");
    next();
    QCOMPARE(script.messages.size(), 2);
    QCOMPARE(gridRow(), 1);
    QCOMPARE(mainForm->CurN, QString("50-3501010"));
    QVERIFY(mainForm->sbOrder->isEnabled());
    QVERIFY(!mainForm->partShown());
    QVERIFY(script.unexpected.isEmpty());
}

void TestFound::occurrencesOffTheDrawing() {
    ModalScript script;
    CatalogFixture f;
    // A gasket listed first in an assembly without a drawing, then on the brake drawing; a
    // pin whose position on the brake drawing has no place marked.
    f.addPart(1, "60-1", "Прокладка");
    f.addOccurrence(1, "60-1", "50-1002010", 0, 0);
    f.addOccurrence(1, "60-1", "50-3501010", 2, 3);
    f.addPlace(1, 2, 3, 70, 70);
    f.addPart(1, "60-2", "Палец");
    f.addOccurrence(1, "60-2", "50-3501010", 2, 9);
    auto forms = startShown(f);
    QVERIFY(forms);
    search(script, "50-3501010&60-*");
    QCOMPARE(DM->QFind.recordCount(), 3);
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(shown(), QString("1/2 50-3501010"));
    QCOMPARE(looks(), QString("1:s 3:n"));

    // The first occurrence on a drawing is the one shown; the list keeps both.
    next();
    QCOMPARE(shown(), QString("1/2 60-1"));
    QCOMPARE(looks(), QString("1:n 3:s"));
    QCOMPARE(occurrences(), QStringList({"50-1002010", "50-3501010"}));
    QCOMPARE(mainForm->ComboBoxSE->currentIndex(), 1);
    QCOMPARE(DM->QPicPos.asInteger("Picture"), 2);
    // Choosing the occurrence on no drawing says so and leaves the drawing and the choice.
    chooseOccurrence(0);
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(shown(), QString("1/2 60-1"));
    QCOMPARE(looks(), QString("1:n 3:s"));
    QCOMPARE(mainForm->ComboBoxSE->currentIndex(), 1);
    QCOMPARE(DM->QPicPos.asInteger("Picture"), 2);
    QCOMPARE(mainForm->statusText(),
             QString("Это вхождение детали 60-1 не показано ни на одном рисунке"));

    // A position without a place: the drawing and the part are shown, no marker is selected.
    next();
    QCOMPARE(shown(), QString("1/2 60-2"));
    QCOMPARE(looks(), QString("1:n 3:n"));
    QVERIFY(!mainForm->SeekTarget);
    next();
    QCOMPARE(looks(), QString("1:s 3:n"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestFound::emptyResultOpensNothing() {
    ModalScript script;
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 2);
    click(marker(1));
    const QString statement = DM->QPicPos.text();
    search(script, "99999");
    QCOMPARE(DM->QFind.recordCount(), 0);
    TDBGrid* grid = mainForm->dbgFind;
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(50, 30));
    QTest::keyRelease(grid, Qt::Key_Return);
    mainForm->dbgFindDblClick();
    mainForm->sbNextItemClick();
    mainForm->sbPredItemClick();
    QVERIFY(!mainForm->panelTable->isHidden());
    QVERIFY(mainForm->sbTable->isChecked());
    QCOMPARE(DM->QPicPos.text(), statement);
    QCOMPARE(mainForm->statusText(), QString());
    // "Рисунок" only switches back to the drawing shown.
    QTest::mouseClick(mainForm->sbPic, Qt::LeftButton);
    QCOMPARE(shown(), QString("1/2 50-3501010"));
    QCOMPARE(DM->QPicPos.text(), statement);
    QVERIFY(script.messages.isEmpty());
    QVERIFY(script.unexpected.isEmpty());
}

void TestFound::standardizedPartOffersMore() {
    ModalScript script;
    CatalogFixture f;
    f.exec("insert into STD (N_f, N, Name, modif, MODName, N_Gost, Name_Gost) values "
           "('50120031', '50.12.003-1', 'Втулка', 1, 'М-315.04', 'ГОСТ 1', 'Втулка 1')");
    auto forms = startShown(f);
    QVERIFY(forms);
    search(script, "50.12.003*&50-1002015");
    mainForm->pressPanelButton(mainForm->sbPic);
    QCOMPARE(shown(), QString("1/1 50-1002015"));
    QVERIFY(mainForm->sbDop->isHidden());
    QVERIFY(mainForm->sDop->isHidden());
    QCOMPARE(DM->QSTD.recordCount(), 0);
    next();
    QCOMPARE(shown(), QString("1/1 50.12.003-1"));
    QVERIFY(!mainForm->sbDop->isHidden());
    QVERIFY(!mainForm->sDop->isHidden());
    QCOMPARE(DM->QSTD.text(),
             QString("select distinct * from STD where N_f='50120031' and modif=1"));
    QCOMPARE(DM->QSTD.asString("N_Gost"), QString("ГОСТ 1"));
    next();
    QVERIFY(mainForm->sbDop->isHidden());
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestFound)
#include "tst_found.moc"
