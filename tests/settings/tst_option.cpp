// The settings dialog's page of visible modifications and the state built from it.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "search/find.h"
#include "settings/option.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

// Clicks the check box of a modification in the list, as the user does.
void toggle(int row) {
    QListWidgetItem* item = optionForm->clbMod->item(row);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace

class TestOption : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void creationBuildsTheModificationState();
    void firstVisibleModificationIsCurrent();
    void checkingWritesAtOnce();
    void uncheckingEveryModificationLeavesTheCommonParts();
    void choiceSurvivesARestart();
    void dialogLayoutAndPages();
    void closingFromTheTitleBarClosesAsTheButtonDoes();
    void failedWriteShowsTheStoredChoice();
};

void TestOption::creationBuildsTheModificationState() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QCOMPARE(Shared->modFilter(), QString("((modif=0) OR (modif=1) OR (modif=2))"));
    QCOMPARE(mainForm->CurrentModif, 1);
    QCOMPARE(Shared->modPic(), QVector<int>({3, 2, 1}));
    QCOMPARE(optionForm->clbMod->count(), 3);
    QCOMPARE(optionForm->clbMod->item(2)->text(), QString("М-315.04-02"));
    QVERIFY(optionForm->modificationChecked(0));
    QVERIFY(optionForm->modificationChecked(1));
    QVERIFY(!optionForm->modificationChecked(2));
    QVERIFY(!optionForm->modificationChecked(7));
}

void TestOption::firstVisibleModificationIsCurrent() {
    CatalogFixture f;
    f.exec("update Modif set Visible=False where modif in (1, 3)");
    ModalScript script;
    auto forms = f.start();
    QCOMPARE(mainForm->CurrentModif, 2);
    QCOMPARE(Shared->modFilter(), QString("((modif=0) OR (modif=2))"));
}

void TestOption::checkingWritesAtOnce() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    toggle(2);
    QCOMPARE(f.scalar("select Visible from Modif where modif=3").toInt(), 1);
    QCOMPARE(Shared->modFilter(), QString("((modif=0) OR (modif=1) OR (modif=2) OR (modif=3))"));
    toggle(0);
    QCOMPARE(f.scalar("select Visible from Modif where modif=1").toInt(), 0);
    QCOMPARE(Shared->modFilter(), QString("((modif=0) OR (modif=2) OR (modif=3))"));
    // The current modification and the drawing counts stay as they were built.
    QCOMPARE(mainForm->CurrentModif, 1);
    QCOMPARE(Shared->modPic(), QVector<int>({3, 2, 1}));
}

void TestOption::uncheckingEveryModificationLeavesTheCommonParts() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    toggle(0);
    toggle(1);
    QCOMPARE(Shared->modFilter(), QString("((modif=0))"));
    QCOMPARE(f.scalar("select count(*) from Modif where Visible").toInt(), 1);
}

void TestOption::choiceSurvivesARestart() {
    CatalogFixture f;
    {
        ModalScript script;
        auto forms = f.start();
        script.then([](QDialog&) {
            toggle(0);
            toggle(2);
            optionForm->fbCancel->click();
        });
        mainForm->N17->trigger();
        QVERIFY(script.unexpected.isEmpty());
    }
    ModalScript script;
    auto forms = f.start();
    QCOMPARE(Shared->modFilter(), QString("((modif=0) OR (modif=2) OR (modif=3))"));
    QCOMPARE(mainForm->CurrentModif, 2);
}

void TestOption::dialogLayoutAndPages() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    ToptionForm& o = *optionForm;
    QCOMPARE(o.windowTitle(), QString("Настройка"));
    QCOMPARE(o.pcOption->geometry(), QRect(0, 0, 400, 300));
    QCOMPARE(o.width(), 400);
    QCOMPARE(o.fbCancel->y(), 305);
    QCOMPARE(o.height(), o.fbCancel->y() + o.fbCancel->height() + 5);
    QCOMPARE(o.fbCancel->x() + o.fbCancel->width(), 400);
    QCOMPARE(o.minimumSize(), o.maximumSize());
    QCOMPARE(o.clbMod->pos(), QPoint(5, 5));
    // The first showing opens the price page; then the page last shown.
    QWidget* shown = nullptr;
    script.then([&](QDialog&) {
        shown = o.pcOption->currentWidget();
        o.pcOption->setCurrentWidget(o.tsMod);
        o.fbCancel->click();
    });
    script.then([&](QDialog&) {
        shown = o.pcOption->currentWidget();
        o.fbCancel->click();
    });
    mainForm->N17->trigger();
    QCOMPARE(shown, o.tsPrice);
    mainForm->N17->trigger();
    QCOMPARE(shown, o.tsMod);
    QVERIFY(script.unexpected.isEmpty());
}

void TestOption::closingFromTheTitleBarClosesAsTheButtonDoes() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    script.then([](QDialog& d) {
        toggle(1);
        d.close();
    });
    mainForm->N17->trigger();
    QVERIFY(optionForm->isHidden());
    QCOMPARE(Shared->modFilter(), QString("((modif=0) OR (modif=1))"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestOption::failedWriteShowsTheStoredChoice() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    // A catalogue that refuses every write to the modifications, as a locked one does.
    f.exec("create trigger NoWrite before update on Modif begin select raise(abort, "
           "'attempt to write a readonly database'); end");
    const int treeNodes = mainForm->Tree->topLevelItemCount();
    const QStringList searchList = {"", "М-315.04", "М-315.04-01"};
    script.then([](QDialog& d) {
        toggle(2);
        toggle(0);
        d.findChild<QPushButton*>("fbCancel")->click();
    });
    script.press("bOK");
    script.press("bOK");
    mainForm->N17->trigger();
    QCOMPARE(script.messages.size(), 2);
    QVERIFY(optionForm->modificationChecked(0));
    QVERIFY(!optionForm->modificationChecked(2));
    QCOMPARE(f.scalar("select count(*) from Modif where Visible").toInt(), 3);
    QCOMPARE(Shared->modFilter(), QString("((modif=0) OR (modif=1) OR (modif=2))"));
    QCOMPARE(mainForm->Tree->topLevelItemCount(), treeNodes);
    QStringList offered;
    for (int i = 0; i < findForm->findComboBoxMOD->count(); ++i)
        offered << findForm->findComboBoxMOD->itemText(i);
    QCOMPARE(offered, searchList);
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestOption)
#include "tst_option.moc"
