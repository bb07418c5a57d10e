// The search dialog as the user works it, and what a search leaves on the main window.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "app/messbox.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "search/find.h"
#include "search/list.h"
#include "settings/option.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString Visible = "((modif=0) OR (modif=1) OR (modif=2))";

using Fill = std::function<void(TfindForm&)>;

// Opens the dialog with "Поиск", fills it and presses one of its buttons.
void search(ModalScript& script, const Fill& fill, const QString& button = "bbOk") {
    script.then([fill, button](QDialog& d) {
        auto& form = static_cast<TfindForm&>(d);
        fill(form);
        d.findChild<QPushButton*>(button)->click();
    });
    mainForm->sbFind->click();
}

// Picks an entry of a drop-down list as the user does.
void choose(QComboBox* box, const QString& text) {
    const int i = box->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
    Q_EMIT box->activated(i);
}

QStringList entries(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

// What the group entries 1.. carry: "modification|number" (no modification when the list is
// of one modification).
QStringList groupData(const QComboBox* box) {
    QStringList out;
    for (int i = 1; i < box->count(); ++i)
        out << box->itemData(i, TfindForm::GroupModificationRole).toString() + "|" +
                   box->itemData(i, TfindForm::GroupNumberRole).toString();
    return out;
}

QStringList found() {
    QStringList out;
    TQuery& q = DM->QFind;
    for (int r = 0; r < q.recordCount(); ++r)
        out << q.cell(r, q.fieldIndex("modif")).toString() + ":" +
                   q.cell(r, q.fieldIndex("N")).toString();
    return out;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numberSearchLeavesResultOnMainWindow();
    void numberTypedWithBlanksFindsTheSameParts();
    void nameSearchIgnoresCase();
    void emptyResultDisablesAddingAndStepping();
    void nothingActiveOrCancelChangesNothing();
    void blankModificationTickedListsEveryVisiblePart();
    void modificationAndGroup();
    void groupListOverAllVisibleModifications();
    void namesWithDashesFindTheirGroup();
    void groupsWithoutDrawingsAreNotOffered();
    void checkBoxesFollowTheInputs();
    void standardizedSearch();
    void clearResetsTheDialog();
    void enterReleasedActsAsOk();
    void listDialogJoinsAlternatives();
    void longPastedListsFindWhatShortOnesFind_data();
    void longPastedListsFindWhatShortOnesFind();
    void apostrophesAreCarried();
    void settingsRebuildTheModificationList();
    void databaseErrorIsShownAndDialogStaysOpen();
    void failedSearchLeavesNoStaleCountOrCommands();
    void layout();
};

void TestSearch::numberSearchLeavesResultOnMainWindow() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    QVERIFY(mainForm->LabelNaid->isHidden());
    search(script, [](TfindForm& d) { d.findEditN->setText("50.12.003*"); });
    QVERIFY(script.unexpected.isEmpty());
    QVERIFY(!findForm->isVisible());
    QCOMPARE(DM->QFind.text(),
             "select * from forFind where (N_f in (select N_f from Detail where " + Visible +
                 " AND (N_f LIKE '5012003%') AND exists (select * from DataTab d where "
                 "d.N_f=Detail.N_f and d.modif=Detail.modif))) AND " +
                 Visible + "\norder by N_f, modif");
    QCOMPARE(Shared->searchCondition(), "where " + Visible + " AND (N_f LIKE '5012003%')");
    QCOMPARE(found(), QStringList({"1:50.12.003-1"}));
    QCOMPARE(mainForm->CurN, QString("50.12.003-1"));
    QCOMPARE(mainForm->CurName, QString("Втулка"));
    QCOMPARE(mainForm->CurV, QString("0,125"));
    QVERIFY(!mainForm->panelTable->isHidden());
    QVERIFY(mainForm->sbTable->isChecked());
    QVERIFY(!mainForm->LabelNaid->isHidden());
    QCOMPARE(mainForm->lbK->text(), QString("1"));
    QVERIFY(!mainForm->sbOrderAll->isHidden());
    QVERIFY(!mainForm->sOrderAll->isHidden());
    QVERIFY(mainForm->sbOrder->isEnabled());
    QVERIFY(mainForm->miOrder->isEnabled());
    QVERIFY(mainForm->sbNextItem->isEnabled());
    QVERIFY(mainForm->sbPredItem->isEnabled());
    QCOMPARE(mainForm->dbgFind->cellText(0, 1), QString("50.12.003-1"));
    QCOMPARE(mainForm->dbgFind->cellText(0, 4), QString("10,01"));
}

void TestSearch::numberTypedWithBlanksFindsTheSameParts() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    search(script, [](TfindForm& d) { d.findEditN->setText("50 10 02*"); });
    const QStringList withBlanks = found();
    search(script, [](TfindForm& d) { d.findEditN->setText("50-1002*"); });
    QCOMPARE(found(), withBlanks);
    QCOMPARE(withBlanks,
             QStringList({"1:50-1002010", "2:50-1002010", "1:50-1002015", "1:50-1002030"}));
    // Names are shown whole, however long (this one has 22 characters).
    QCOMPARE(mainForm->dbgFind->cellText(0, 2), QString("Блок цилиндров в сборе"));
    QCOMPARE(mainForm->CurName, QString("Блок цилиндров в сборе"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::nameSearchIgnoresCase() {
    ModalScript script;
    CatalogFixture f;
    f.addPart(1, "60-1", "ВТУЛКА РАСПОРНАЯ");
    f.addOccurrence(1, "60-1", "", 1, 6);
    auto forms = f.start();
    search(script, [](TfindForm& d) { d.findEditName->setText("*втулка*"); });
    QCOMPARE(found(), QStringList({"1:50.12.003-1", "1:60-1"}));
    // Without "*" the name must match as a whole.
    search(script, [](TfindForm& d) { d.findEditName->setText("втулка"); });
    QCOMPARE(found(), QStringList({"1:50.12.003-1"}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::emptyResultDisablesAddingAndStepping() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    search(script, [](TfindForm& d) { d.findEditN->setText("50.12.003*"); });
    QVERIFY(mainForm->sbNextItem->isEnabled());
    // The table stays in front; the step buttons must not stay usable over no rows.
    search(script, [](TfindForm& d) { d.findEditN->setText("99999"); });
    QCOMPARE(DM->QFind.recordCount(), 0);
    QVERIFY(!mainForm->panelTable->isHidden());
    QCOMPARE(mainForm->lbK->text(), QString("0"));
    QVERIFY(!mainForm->LabelNaid->isHidden());
    QVERIFY(!mainForm->sbOrder->isEnabled());
    QVERIFY(!mainForm->miOrder->isEnabled());
    QVERIFY(mainForm->sbOrderAll->isHidden());
    QVERIFY(mainForm->sOrderAll->isHidden());
    QVERIFY(!mainForm->sbNextItem->isEnabled());
    QVERIFY(!mainForm->sbPredItem->isEnabled());
    // A search that finds something again while the table is in front makes them usable.
    search(script, [](TfindForm& d) { d.findEditN->setText("50-3501010"); });
    QCOMPARE(found(), QStringList({"1:50-3501010"}));
    QVERIFY(mainForm->sbNextItem->isEnabled());
    QVERIFY(mainForm->sbPredItem->isEnabled());
    QVERIFY(mainForm->sbOrder->isEnabled());
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::nothingActiveOrCancelChangesNothing() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    search(script, [](TfindForm& d) { d.findEditN->setText("50-3501010"); });
    const QString condition = Shared->searchCondition();
    const QString statement = DM->QFind.text();
    // Text left in an edit whose box the user cleared does not count.
    search(script, [](TfindForm& d) {
        d.findEditN->setText("50.12.003*");
        d.findCheckBoxN->setChecked(false);
    });
    QVERIFY(!findForm->isVisible());
    QCOMPARE(Shared->searchCondition(), condition);
    QCOMPARE(DM->QFind.text(), statement);
    QCOMPARE(found(), QStringList({"1:50-3501010"}));
    search(
        script, [](TfindForm& d) { d.findEditN->setText("50.12.003*"); }, "bbCancel");
    QCOMPARE(Shared->searchCondition(), condition);
    QCOMPARE(found(), QStringList({"1:50-3501010"}));
    // The dialog keeps its inputs between showings.
    QCOMPARE(findForm->findEditN->text(), QString("50.12.003*"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::blankModificationTickedListsEveryVisiblePart() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    search(script, [](TfindForm& d) { d.findCheckBoxMOD->setChecked(true); });
    QCOMPARE(Shared->searchCondition(), "where " + Visible);
    QCOMPARE(DM->QFind.recordCount(),
             f.scalar("select count(*) from Detail where modif in (1, 2)").toInt());
    QVERIFY(!found().contains("3:50-1601090"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::modificationAndGroup() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    search(script, [](TfindForm& d) {
        choose(d.findComboBoxMOD, "М-315.04");
        QVERIFY(d.findCheckBoxMOD->isChecked());
        QCOMPARE(entries(d.findComboBox),
                 QStringList({"", "01: Двигатель", "18: Тормоза", "00: "}));
        QCOMPARE(groupData(d.findComboBox), QStringList({"|01", "|18", "|00"}));
        QCOMPARE(d.findComboBox->currentIndex(), -1);
        choose(d.findComboBox, "18: Тормоза");
    });
    QCOMPARE(Shared->searchCondition(),
             "where " + Visible + " AND (MODName='М-315.04') AND (GroupN='18')");
    QCOMPARE(DM->QFind.text().section('\n', 0, 0),
             "select * from forFind where (N_f in (select N_f from Find " +
                 Shared->searchCondition() + ")) AND " + Visible + " AND (MODName='М-315.04')");
    QCOMPARE(found(), QStringList({"1:50-3501010"}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::groupListOverAllVisibleModifications() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    // The hidden modification's groups are not offered.
    QCOMPARE(entries(findForm->findComboBox),
             QStringList({"", "М-315.04 - 01: Двигатель", "М-315.04 - 18: Тормоза",
                          "М-315.04 - 00: ", "М-315.04-01 - 01: Двигатель"}));
    QCOMPARE(groupData(findForm->findComboBox),
             QStringList({"М-315.04|01", "М-315.04|18", "М-315.04|00", "М-315.04-01|01"}));
    QCOMPARE(findForm->findComboBox->currentIndex(), 0);
    QVERIFY(!findForm->findCheckBoxGroup->isChecked());
    search(script, [](TfindForm& d) { choose(d.findComboBox, "М-315.04-01 - 01: Двигатель"); });
    QCOMPARE(Shared->searchCondition(),
             "where " + Visible + " AND (MODName='М-315.04-01') AND (GroupN='01')");
    QVERIFY(DM->QFind.text()
                .section('\n', 0, 0)
                .endsWith(")) AND " + Visible + " AND (MODName='М-315.04-01')"));
    QCOMPARE(found(), QStringList({"2:50-1002010", "2:50-1003010"}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::namesWithDashesFindTheirGroup() {
    // " - " inside a modification or group name is no separator: the entry keeps both as data.
    ModalScript script;
    CatalogFixture f;
    f.addModif(4, "М-315.04 - Т", true, 1);
    f.addGroup(4, 1, "07", "Кабина - каркас");
    f.addDrawing(4, 1, 1, 1, "Каркас кабины");
    f.addPart(4, "70-1", "Стойка");
    f.addOccurrence(4, "70-1", "", 1, 1);
    auto forms = f.start();
    QVERIFY(entries(findForm->findComboBox).contains("М-315.04 - Т - 07: Кабина - каркас"));
    search(script,
           [](TfindForm& d) { choose(d.findComboBox, "М-315.04 - Т - 07: Кабина - каркас"); });
    QCOMPARE(Shared->searchCondition(),
             "where ((modif=0) OR (modif=1) OR (modif=2) OR (modif=4)) AND (MODName='М-315.04 - Т')"
             " AND (GroupN='07')");
    QCOMPARE(found(), QStringList({"4:70-1"}));
    search(script, [](TfindForm& d) {
        choose(d.findComboBoxMOD, "М-315.04 - Т");
        choose(d.findComboBox, "07: Кабина - каркас");
    });
    QCOMPARE(found(), QStringList({"4:70-1"}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::groupsWithoutDrawingsAreNotOffered() {
    ModalScript script;
    CatalogFixture f;
    f.addGroup(1, 4, "20", "Без рисунков");
    f.addGroup(2, 2, "00", "");
    auto forms = f.start();
    QCOMPARE(entries(findForm->findComboBox),
             QStringList({"", "М-315.04 - 01: Двигатель", "М-315.04 - 18: Тормоза",
                          "М-315.04 - 00: ", "М-315.04-01 - 01: Двигатель"}));
    search(
        script,
        [](TfindForm& d) {
            choose(d.findComboBoxMOD, "М-315.04-01");
            QCOMPARE(entries(d.findComboBox), QStringList({"", "01: Двигатель"}));
        },
        "bbCancel");
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::checkBoxesFollowTheInputs() {
    CatalogFixture f;
    auto forms = f.start();
    TfindForm& d = *findForm;
    for (auto [edit, box] :
         {std::pair{d.findEditN, d.findCheckBoxN}, std::pair{d.findEditSE, d.findCheckBoxSE},
          std::pair{d.findEditName, d.findCheckBoxName}}) {
        QTest::keyClicks(edit, "5");
        QVERIFY(box->isChecked());
        edit->clear();
        QVERIFY(!box->isChecked());
    }
    choose(d.findComboBox, "М-315.04 - 18: Тормоза");
    QVERIFY(d.findCheckBoxGroup->isChecked());
    choose(d.findComboBox, "");
    QVERIFY(!d.findCheckBoxGroup->isChecked());
    choose(d.findComboBoxMOD, "М-315.04-01");
    QVERIFY(d.findCheckBoxMOD->isChecked());
    choose(d.findComboBox, "01: Двигатель");
    choose(d.findComboBoxMOD, "");
    QVERIFY(!d.findCheckBoxMOD->isChecked());
    QVERIFY(!d.findCheckBoxGroup->isChecked());
    QCOMPARE(d.findComboBox->count(), 5);
}

void TestSearch::standardizedSearch() {
    ModalScript script;
    CatalogFixture f;
    f.exec("insert into STD (N_f, N, Name, modif, MODName, N_Gost, Name_Gost) values "
           "('50120031', '50.12.003-1', 'Втулка', 1, 'М-315.04', 'ГОСТ 1', 'Втулка 1')");
    f.exec("insert into STD (N_f, N, Name, modif, MODName, N_Gost, Name_Gost) values "
           "('50120031', '50.12.003-1', 'Втулка', 3, 'М-315.04-02', 'ГОСТ 1', 'Втулка 1')");
    auto forms = f.start();
    search(script, [](TfindForm& d) { d.findEditN->setText("50.12.003*"); });
    QVERIFY(DM->QFind.active());
    search(script, [](TfindForm& d) {
        d.findEditSE->setText("50-1002010");
        choose(d.findComboBoxMOD, "М-315.04-01");
        d.findCheckBoxSTD->click();
        for (QWidget* w : std::initializer_list<QWidget*>{
                 d.findEditSE, d.findCheckBoxSE, d.sbSE, d.LabelSE, d.findComboBoxMOD,
                 d.findCheckBoxMOD, d.LabelMOD, d.findComboBox, d.findCheckBoxGroup, d.LabelGroup})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(d.findEditN->isEnabled());
        QVERIFY(d.findEditName->isEnabled());
    });
    QCOMPARE(DM->QSTD.text(),
             "select * from STD where " + Visible + " AND (N_f LIKE '5012003%') AND " + Visible);
    QCOMPARE(DM->QSTD.recordCount(), 1);
    QCOMPARE(DM->QSTD.asString("MODName"), QString("М-315.04"));
    QVERIFY(!DM->QFind.active());
    QCOMPARE(DM->QFind.text(), QString());
    QVERIFY(!mainForm->panelSTD->isHidden());
    // The panel switches, but the button that was down stays down.
    QVERIFY(!mainForm->sbSTD->isChecked());
    QVERIFY(mainForm->sbTable->isChecked());
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::clearResetsTheDialog() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    TfindForm& d = *findForm;
    d.findEditN->setText("1");
    d.findEditSE->setText("2");
    d.findEditName->setText("3");
    choose(d.findComboBoxMOD, "М-315.04");
    choose(d.findComboBox, "18: Тормоза");
    d.findCheckBoxSTD->click();
    QTest::mouseClick(d.bbClear, Qt::LeftButton);
    for (QLineEdit* e : {d.findEditN, d.findEditSE, d.findEditName})
        QVERIFY(e->text().isEmpty());
    for (QCheckBox* b : {d.findCheckBoxN, d.findCheckBoxSE, d.findCheckBoxName, d.findCheckBoxMOD,
                         d.findCheckBoxGroup, d.findCheckBoxSTD})
        QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));
    QCOMPARE(d.findComboBoxMOD->currentIndex(), 0);
    QCOMPARE(d.findComboBox->count(), 5);
    QVERIFY(d.findEditSE->isEnabled());
    QVERIFY(d.findComboBox->isEnabled());
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::enterReleasedActsAsOk() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    script.then([](QDialog& d) {
        auto& form = static_cast<TfindForm&>(d);
        form.findEditN->setText("50-3501010");
        // Pressing Enter does nothing by itself; its release runs the search.
        QTest::keyPress(form.findEditN, Qt::Key_Return);
        QVERIFY(form.isVisible());
        QTest::keyRelease(form.findEditN, Qt::Key_Return);
        QVERIFY(!form.isVisible());
    });
    mainForm->N6->trigger();
    QCOMPARE(found(), QStringList({"1:50-3501010"}));
    script.then([](QDialog& d) {
        auto& form = static_cast<TfindForm&>(d);
        form.findEditN->clear();
        choose(form.findComboBoxMOD, "М-315.04");
        choose(form.findComboBox, "18: Тормоза");
        QTest::keyRelease(form.findComboBox, Qt::Key_Enter);
    });
    mainForm->sbFind->click();
    QCOMPARE(found(), QStringList({"1:50-3501010"}));
    QVERIFY(Shared->searchCondition().endsWith("(GroupN='18')"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::listDialogJoinsAlternatives() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    search(script, [&script](TfindForm& d) {
        script.then([](QDialog& list) {
            auto& l = static_cast<TlistForm&>(list);
            QCOMPARE(l.mList->toPlainText(), QString());
            l.mList->setPlainText("50.12.015\n50.12.016\nИЗ-12*\n");
            l.findChild<QPushButton*>("fbOK")->click();
        });
        d.sbN->click();
        QCOMPARE(d.findEditN->text(), QString("50.12.015&50.12.016&ИЗ-12*"));
        QVERIFY(d.findCheckBoxN->isChecked());
        // "Отмена" leaves the edit as it was.
        script.then([](QDialog& list) {
            static_cast<TlistForm&>(list).mList->setPlainText("1");
            list.findChild<QPushButton*>("fbCancel")->click();
        });
        d.sbN->click();
        QCOMPARE(listForm->Joined, QString());
        QCOMPARE(d.findEditN->text(), QString("50.12.015&50.12.016&ИЗ-12*"));
    });
    QCOMPARE(Shared->searchCondition(), "where " + Visible +
                                            " AND ((N_f LIKE '5012015') OR (N_f LIKE '5012016') OR "
                                            "(N_f LIKE 'ИЗ12%'))");
    QCOMPARE(found(), QStringList({"1:ИЗ-12.001"}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::longPastedListsFindWhatShortOnesFind_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<QStringList>("rows");
    // Numbers, a number with letters typed in another case, a wildcard and an apostrophe; the
    // rest of the list finds nothing.
    QTest::newRow("numbers") << "findEditN"
                             << QStringList({"50.12.003-1", "из-12.001", "50-100301*", "5'0"})
                             << QStringList({"2:50-1003010", "1:50.12.003-1", "1:ИЗ-12.001"});
    QTest::newRow("assemblies") << "findEditSE" << QStringList({"50-1002030", "50 10020 1?"})
                                << QStringList({"1:50-1002015", "1:50-1002030", "1:50.12.003-1",
                                                "1:ИЗ-12.001"});
    QTest::newRow("names") << "findEditName"
                           << QStringList({"втулка", "ГИЛЬЗА*", "*Блок*", "Болт М'10"})
                           << QStringList({"1:50-1002010", "2:50-1002010", "1:50-1002015",
                                           "2:50-1003010", "1:50.12.003-1"});
}

void TestSearch::longPastedListsFindWhatShortOnesFind() {
    QFETCH(QString, edit);
    QFETCH(QStringList, wanted);
    QFETCH(QStringList, rows);
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    // A supplier's list pasted into the list dialog: a few thousand lines.
    QStringList lines;
    for (int i = 0; i < 3000; ++i)
        lines << QString("%1.%2.%3").arg(60 + i % 7).arg(i % 90).arg(100000 + i);
    for (int i = 0; i < wanted.size(); ++i)
        lines.insert(i * 700, wanted[i]);
    for (const QStringList& list : {wanted, lines}) {
        search(script, [&](TfindForm& d) {
            d.bbClearClick();
            script.then([&list](QDialog& l) {
                static_cast<TlistForm&>(l).mList->setPlainText(list.join("\n"));
                l.findChild<QPushButton*>("fbOK")->click();
            });
            d.findChild<QToolButton*>("sb" + edit.mid(8))->click();
        });
        QVERIFY2(script.messages.isEmpty(), qPrintable(script.messages.join("; ")));
        QCOMPARE(found(), rows);
        QCOMPARE(mainForm->lbK->text(), QString::number(rows.size()));
    }
    // Stepping through the result reads the occurrences under the same condition.
    mainForm->sbNextItem->click();
    QVERIFY2(script.messages.isEmpty(), qPrintable(script.messages.join("; ")));
    QCOMPARE(DM->QPicPos.asString("N"), DM->QFind.asString("N"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::apostrophesAreCarried() {
    ModalScript script;
    CatalogFixture f;
    f.addModif(4, "М-315'4", true, 1);
    f.addGroup(4, 1, "07", "Кабина");
    f.addDrawing(4, 1, 1, 1, "Кабина");
    f.addPart(4, "70-1", "Болт М'10");
    f.addOccurrence(4, "70-1", "", 1, 1);
    auto forms = f.start();
    search(script, [](TfindForm& d) { d.findEditName->setText("Болт М'10"); });
    QCOMPARE(found(), QStringList({"4:70-1"}));
    search(script, [](TfindForm& d) {
        d.findEditName->clear();
        choose(d.findComboBoxMOD, "М-315'4");
        QCOMPARE(entries(d.findComboBox), QStringList({"", "07: Кабина"}));
        choose(d.findComboBox, "07: Кабина");
    });
    QVERIFY(Shared->searchCondition().contains("(MODName='М-315''4')"));
    QCOMPARE(found(), QStringList({"4:70-1"}));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::settingsRebuildTheModificationList() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    QCOMPARE(entries(findForm->findComboBoxMOD), QStringList({"", "М-315.04", "М-315.04-01"}));
    choose(findForm->findComboBoxMOD, "М-315.04");
    script.then([](QDialog& d) {
        auto& o = static_cast<ToptionForm&>(d);
        o.clbMod->item(1)->setCheckState(Qt::Unchecked);
        o.clbMod->item(2)->setCheckState(Qt::Checked);
        o.fbCancel->click();
    });
    mainForm->N17->trigger();
    QCOMPARE(entries(findForm->findComboBoxMOD), QStringList({"", "М-315.04", "М-315.04-02"}));
    QCOMPARE(findForm->findComboBoxMOD->currentIndex(), 0);
    QCOMPARE(entries(findForm->findComboBox),
             QStringList({"", "М-315.04 - 01: Двигатель", "М-315.04 - 18: Тормоза",
                          "М-315.04 - 00: ", "М-315.04-02 - 05: Сцепление"}));
    QVERIFY(!findForm->findCheckBoxMOD->isChecked());
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::databaseErrorIsShownAndDialogStaysOpen() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    f.exec("drop view forFind");
    bool openAfterError = false;
    script.then([&](QDialog& d) {
        auto& form = static_cast<TfindForm&>(d);
        form.findEditN->setText("50*");
        form.bbOk->click();
        openAfterError = form.isVisible();
        form.bbCancel->click();
    });
    script.press("bOK");
    mainForm->sbFind->click();
    QVERIFY(openAfterError);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages.first().contains("forFind"), qPrintable(script.messages.first()));
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::failedSearchLeavesNoStaleCountOrCommands() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    search(script, [](TfindForm& d) { d.findEditN->setText("50.12.003*"); });
    QCOMPARE(mainForm->lbK->text(), QString("1"));
    QVERIFY(mainForm->sbNextItem->isEnabled());
    f.exec("drop view forFind");
    script.then([](QDialog& d) {
        auto& form = static_cast<TfindForm&>(d);
        form.findEditN->setText("50*");
        form.bbOk->click();
        form.bbCancel->click();
    });
    script.press("bOK");
    mainForm->sbFind->click();
    QCOMPARE(script.messages.size(), 1);
    // The grid is empty: so are the count and the commands over it.
    QCOMPARE(DM->QFind.recordCount(), 0);
    QVERIFY(!mainForm->panelTable->isHidden());
    QCOMPARE(mainForm->lbK->text(), QString("0"));
    QVERIFY(!mainForm->sbNextItem->isEnabled());
    QVERIFY(!mainForm->sbPredItem->isEnabled());
    QVERIFY(!mainForm->sbOrder->isEnabled());
    QVERIFY(!mainForm->miOrder->isEnabled());
    QVERIFY(mainForm->sbOrderAll->isHidden());
    QVERIFY(script.unexpected.isEmpty());
}

void TestSearch::layout() {
    CatalogFixture f;
    auto forms = f.start();
    TfindForm& d = *findForm;
    QCOMPARE(d.windowTitle(), QString("Параметры поиска"));
    QCOMPARE(d.size(), QSize(530, 309));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    int top = 10;
    for (QFrame* row : {d.bvN, d.bvSE, d.bvName, d.bvMOD, d.bvGroup, d.bvSTD}) {
        QCOMPARE(row->geometry(), QRect(10, top, 510, 34));
        top += 44;
    }
    QCOMPARE(d.LabelGroup->pos(), QPoint(15, 195));
    QCOMPARE(d.findCheckBoxSTD->pos(), QPoint(498, 239));
    QCOMPARE(d.sbSE->geometry(), QRect(473, 61, 20, 20));
    QCOMPARE(d.sSE->geometry(), d.sbSE->geometry());
    for (QWidget* input : std::initializer_list<QWidget*>{d.findEditN, d.findEditSE, d.findEditName,
                                                          d.findComboBoxMOD, d.findComboBox})
        QCOMPARE(QRect(input->x(), input->width(), input->height(), 0), QRect(130, 338, 20, 0));
    QCOMPARE(d.findComboBox->y(), 193);
    QCOMPARE(d.bbCancel->geometry(), QRect(445, 274, 75, 25));
    QCOMPARE(d.bbOk->geometry(), QRect(365, 274, 75, 25));
    QCOMPARE(d.bbClear->pos(), QPoint(10, 274));

    TlistForm& l = *listForm;
    QCOMPARE(l.gbRamka->geometry(), QRect(5, 5, 420, 325));
    QCOMPARE(l.mList->geometry(), QRect(10, 15, 400, 300));
    QCOMPARE(l.fbCancel->geometry(), QRect(350, 335, 75, 25));
    QCOMPARE(l.fbOK->x(), 270);
    QCOMPARE(l.fbOK->text(), QString("ОК"));
    QCOMPARE(l.size(), QSize(430, 365));
    QVERIFY(l.windowFlags() & Qt::WindowStaysOnTopHint);
}

CATALOG_TEST_MAIN(TestSearch)
#include "tst_search.moc"
