// The part editing wizard driven as the user drives it: a new part added with its occurrence,
// note and prices, the current part changed, and the written form of a key chosen.
#include "app/messbox.h"
#include "editing/det.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QToolButton>

namespace {

QStringList rows(CatalogFixture& f, const QString& sql) {
    return tableRows(f, sql);
}

void onWizard(ModalScript& script, std::function<void(TdetForm&)> act) {
    script.then([act](QDialog& d) { act(static_cast<TdetForm&>(d)); });
}

void enter(QLineEdit* e, const QString& text) {
    e->setText(text);
    QTest::keyClick(e, Qt::Key_Return);
}

} // namespace

class TestDet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newPartWithOccurrenceNoteAndPrices();
    void currentPartChangedAndPanelRefreshed();
    void typedWrittenFormChosen();
    void occurrenceListAndLists();
    void failureKeepsTheWizardAndSaysWhy();
    void layout();
};

void TestDet::newPartWithOccurrenceNoteAndPrices() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    QStringList seen;
    onWizard(script, [&](TdetForm& d) {
        seen << d.lbTitle->text() << d.eN->text() << QString::number(d.cbGr->currentIndex());
        QVERIFY(!d.bbBack->isEnabled());
        enter(d.eN, "77-7001");
        d.eName->setText("Гайка 'М8'");
        d.cbSE->setEditText("50-1002010");
        d.cbMOD->setCurrentIndex(1);
        d.cbGr->setCurrentIndex(1);
        seen << d.cbGr->toolTip() << QString::number(d.cbPic->count());
        d.cbPic->setCurrentIndex(1);
        d.eV->setText("1,25");
        d.ePrice[0]->setText("10,5");
        d.mRem->setPlainText("Ставить на 'герметик'");
        d.bbForw->click();
        seen << d.lbTitle->text() << d.lbZV->text() << d.lbZKol->text() << d.lbPrice[0]->text()
             << d.lbPrice[1]->text() << QString::number(d.screen());
        QVERIFY(d.mRem->isReadOnly());
        d.bbForw->click();
        seen << d.lbTitle->text() << d.bbForw->text() << QString::number(d.bbCancel->isEnabled());
        d.bbForw->click();
    });
    mainForm->Change1->trigger();
    QVERIFY(script.unexpected.isEmpty());
    QVERIFY2(script.messages.isEmpty(), qPrintable(script.messages.join(';')));
    QCOMPARE(seen, QStringList({"Введите параметры детали", "", "0", "01: Двигатель", "2",
                                "Добавить деталь", "1.25", "", "10.5", "0", "1",
                                "Изменение в каталоге проведены успешно", "Готово", "0"}));
    QCOMPARE(rows(f, "select N_f, N, Name, V, modif from Detail where N='77-7001'"),
             QStringList({"777001|77-7001|Гайка 'М8'|1.25|1"}));
    QCOMPARE(rows(f, "select SE_f, SE, Picture, Position, Quantity, remN from DataTab where "
                     "N_f='777001'"),
             QStringList({"501002010|50-1002010|1|0|0|2"}));
    QCOMPARE(rows(f, "select Rem from Rem where modif=1 and remN=2"),
             QStringList({"Ставить на 'герметик'"}));
    QCOMPARE(rows(f, "select Name_P, Price, PriceZ from Price where ID_P='77-7001'"),
             QStringList({"Гайка 'М8'|10.5|0"}));
}

void TestDet::currentPartChangedAndPanelRefreshed() {
    ModalScript script;
    CatalogFixture f;
    auto forms = ViewerTest::startShown(f);
    QVERIFY(forms);
    ViewerTest::openDrawing(1, 1);
    ViewerTest::click(ViewerTest::marker(2));
    QCOMPARE(mainForm->lbName->text(), QString("Гильза цилиндра"));
    script.press("bYes");
    QStringList seen;
    onWizard(script, [&](TdetForm& d) {
        seen << d.eN->text() << d.eName->text() << d.cbSE->currentText() << d.eKol->text()
             << QString::number(d.cbPic->currentIndex()) << d.eV->text();
        d.eName->setText("Гильза новая");
        d.eV->setText("2,5");
        d.bbForw->click();
        seen << d.lbTitle->text();
        d.bbForw->click();
        d.bbForw->click();
    });
    mainForm->Change1->trigger();
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(script.messages, QStringList({"Изменить параметры текущей детали?"}));
    QCOMPARE(seen, QStringList({"50-1002015", "Гильза цилиндра", "50-1002010", "4", "1", "2,35",
                                "Изменить параметры детали"}));
    QCOMPARE(rows(f, "select Name, V from Detail where N_f='501002015'"),
             QStringList({"Гильза новая|2.5"}));
    QCOMPARE(rows(f, "select Picture, Position, Quantity from DataTab where N_f='501002015'"),
             QStringList({"1|2|4"}));
    QCOMPARE(mainForm->lbName->text(), QString("Гильза новая"));
}

void TestDet::typedWrittenFormChosen() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    onWizard(script, [&](TdetForm& d) {
        enter(d.eN, "50.12.003-1");
        d.eN->setText("50-12-003-1");
        d.bbForw->click();
        QCOMPARE(d.screen(), 2);
        QCOMPARE(d.lbTitle->text(), QString("Выберите номер детали"));
        QCOMPARE(d.rb1->text(), QString("50.12.003-1"));
        QCOMPARE(d.rb2->text(), QString("50-12-003-1"));
        QVERIFY(d.rb1->isChecked());
        QVERIFY(d.lbZN->isHidden());
        d.rb2->setChecked(true);
        d.bbForw->click();
        d.bbForw->click();
    });
    mainForm->Change1->trigger();
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(rows(f, "select N from Detail where N_f='50120031'"), QStringList({"50-12-003-1"}));
    QCOMPARE(rows(f, "select Price from Price where ID_P='50-12-003-1'"), QStringList({"10.005"}));
}

void TestDet::occurrenceListAndLists() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    onWizard(script, [&](TdetForm& d) {
        enter(d.eN, "50-1002010");
        QCOMPARE(d.cbSE->count(), 2);
        QVERIFY(d.cbSE->itemText(1).startsWith("М-315.04-01 - "));
        d.cbSE->setCurrentIndex(1);
        d.cbSEClick(1);
        QCOMPARE(d.cbMOD->currentIndex(), 2);
        QCOMPARE(d.cbPic->currentText(), QString("Блок цилиндров"));
        // A blank modification lists every group and drawing with its modification's name.
        d.cbMOD->setCurrentIndex(0);
        QCOMPARE(d.cbGr->itemText(1).left(11), QString("М-315.04 - "));
        // Auto-completion completes the typed start and selects the rest.
        d.cbAutoFind->setChecked(true);
        d.eN->clear();
        QTest::keyClick(d.eN, '5');
        QCOMPARE(d.eN->selectedText().size(), d.eN->text().size() - 1);
        QVERIFY(d.eN->text().startsWith('5'));
        // An unknown number empties the inputs.
        enter(d.eN, "99-999");
        QCOMPARE(d.eName->text(), QString());
        QCOMPARE(d.cbSE->count(), 0);
        d.bbCancel->click();
    });
    mainForm->Change1->trigger();
    QVERIFY(script.unexpected.isEmpty());
}

void TestDet::failureKeepsTheWizardAndSaysWhy() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    const QStringList before = rows(f, "select * from Detail order by N_f, modif");
    int screen = -1;
    onWizard(script, [&](TdetForm& d) {
        d.eN->setText("77-7002");
        d.eV->setText("тяжёлая");
        d.bbForw->click();
        d.bbForw->click();
        screen = d.screen();
        d.bbCancel->click();
    });
    script.press("bOK");
    mainForm->Change1->trigger();
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(screen, 1);
    QCOMPARE(script.messages, QStringList({"Вес введён неверно: «тяжёлая» не является числом."}));
    QCOMPARE(rows(f, "select * from Detail order by N_f, modif"), before);
}

void TestDet::layout() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    onWizard(script, [&](TdetForm& d) {
        QCOMPARE(d.width(), 650);
        QCOMPARE(d.detImage->geometry(), QRect(20, 20, 113, 350));
        QCOMPARE(d.bLine->y(), 390);
        QCOMPARE(d.bbCancel->y(), 402);
        QCOMPARE(d.bbCancel->x() + d.bbCancel->width(), 630);
        QCOMPARE(d.bbForw->x() + 75 + 30, d.bbCancel->x());
        QCOMPARE(d.bbBack->x() + 75, d.bbForw->x());
        QCOMPARE(d.height(), 437);
        QCOMPARE(d.eN->x(), 263);
        QCOMPARE(d.eN->y(), 50);
        QCOMPARE(d.eV->x() + d.eV->width(), 630);
        QCOMPARE(d.cbAutoFind->y() + d.cbAutoFind->height(), 370);
        d.bbCancel->click();
    });
    mainForm->Change1->trigger();
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestDet)
#include "tst_det.moc"
