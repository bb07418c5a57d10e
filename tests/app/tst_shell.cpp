// The application shell: start-up and its refusals, the main window's frame, panel switching,
// the message box, the about box, help and the general error display.
#include "app/about.h"
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "app/messbox.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "platform/desktop.h"
#include "platform/errordisplay.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QAction>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QToolButton>

class TestShell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingDatabaseStopsWithItsMessage();
    void fileThatIsNoCatalogueStopsWithAPlainMessage_data();
    void fileThatIsNoCatalogueStopsWithAPlainMessage();
    void startsFullScreenWithTheTreeInFront();
    void buttonColumnFollowsTheScreenHeight_data();
    void buttonColumnFollowsTheScreenHeight();
    void panelSwitchShowsExactlyOnePanel();
    void panelSwitchSetsTheItems_data();
    void panelSwitchSetsTheItems();
    void drawingPanelFollowsTheFlags();
    void itemsThatDependOnContent();
    void clickingTheFrontPanelChangesNothing();
    void remarkIsKeptWhileAnotherPanelIsInFront();
    void windowMenuPressesTheButton();
    void messageBoxLayout_data();
    void messageBoxLayout();
    void longMessageWidensTheBox();
    void messageBoxAnswers_data();
    void messageBoxAnswers();
    void aboutBox();
    void helpOpensTheHelpFile();
    void helpThatCannotOpenSaysSo();
    void uncaughtErrorIsShownAndTheProgramGoesOn();
    void exitClosesTheMainWindow();
};

void TestShell::missingDatabaseStopsWithItsMessage() {
    QTemporaryDir empty;
    ModalScript script;
    script.press("bOK");
    QVERIFY(!Forms::create(empty.path()));
    QCOMPARE(script.messages,
             QStringList{"Для корректной работы программы обратитесь к разработчикам"});
    QCOMPARE(script.captions, QStringList{"Каталог деталей и сборочных единиц"});
    QVERIFY(!mainForm);
}

void TestShell::fileThatIsNoCatalogueStopsWithAPlainMessage_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("access file") << QByteArray("\0\1\0\0Standard Jet DB\0", 19) +
                                        QByteArray(4000, '\0');
    QByteArray junk(3000, '\0');
    for (char& c : junk)
        c = char(QRandomGenerator::global()->bounded(256));
    QTest::newRow("garbage") << junk;
    QTest::newRow("empty file") << QByteArray();
}

void TestShell::fileThatIsNoCatalogueStopsWithAPlainMessage() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QFile f(dir.filePath("base.mdb"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    ModalScript script;
    script.press("bOK");
    QVERIFY(!Forms::create(dir.path()));
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("не является базой данных каталога"),
             qPrintable(script.messages[0]));
}

void TestShell::startsFullScreenWithTheTreeInFront() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QVERIFY(forms);
    TmainForm& m = *mainForm;
    QCOMPARE(m.size(), QGuiApplication::primaryScreen()->availableGeometry().size());
    QCOMPARE(m.minimumSize(), m.maximumSize());
    QCOMPARE(m.windowTitle(), QString("Каталог деталей и сборочных единиц"));
    QVERIFY(!m.panelTree->isHidden());
    QVERIFY(m.sbTree->isChecked());
    QVERIFY(!m.WinTree->isEnabled());
    QVERIFY(m.WinPic->isEnabled());
    QCOMPARE(Shared->ndsPercent(), 20);
    QCOMPARE(m.Markers.size(), 50);
    QCOMPARE(m.CurrentPic, 0);
    QVERIFY(!m.CanZoomNorm && !m.CanPred && m.CanNext);
    QVERIFY(!m.sbNextItem->isEnabled());
    QCOMPARE(m.panelButton->x(), m.centralWidget()->width() - 100);
    QCOMPARE(m.panelPic->width(), m.centralWidget()->width() - 100);
    QCOMPARE(m.meDate->date(), QDate::currentDate());
    QCOMPARE(m.dbgSTD->columns().size(), size_t(3));
    QVERIFY(script.unexpected.isEmpty());
}

void TestShell::buttonColumnFollowsTheScreenHeight_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("groups");
    QTest::addColumn<int>("buttons");
    QTest::newRow("600") << 600 << 45 << 32;
    QTest::newRow("768") << 768 << 58 << 41;
    QTest::newRow("1024") << 1024 << 77 << 55;
}

void TestShell::buttonColumnFollowsTheScreenHeight() {
    QFETCH(int, height);
    QFETCH(int, groups);
    QFETCH(int, buttons);
    QCOMPARE(TmainForm::groupGap(height), groups);
    QCOMPARE(TmainForm::buttonStep(height), buttons);

    // The window itself, on the screen the tests run on.
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    const int h = QGuiApplication::primaryScreen()->geometry().height();
    const int g1 = TmainForm::groupGap(h);
    const int g2 = TmainForm::buttonStep(h);
    QCOMPARE(m.sbFind->y(), 10);
    QCOMPARE(m.sbPic->y(), 10 + g1);
    QCOMPARE(m.sbHistory->y(), 10 + g1 + 5 * g2);
    QCOMPARE(m.sbOrder->y(), m.sbHistory->y() + g1);
    QCOMPARE(m.sbExit->y(), m.sbOrder->y() + g2 + 2 * g1 + g2);
    QCOMPARE(m.bSep2->y(), m.sbHistory->y() + 36);
    QCOMPARE(m.sbFind->width(), m.panelButton->width() - 4);
    QCOMPARE(m.sPic->geometry(), m.sbPic->geometry());
}

void TestShell::panelSwitchShowsExactlyOnePanel() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    const QList<QPair<QToolButton*, QWidget*>> switches = {
        {m.sbPic, m.panelPic},    {m.sbTable, m.panelTable},     {m.sbSTD, m.panelSTD},
        {m.sbView, m.panelOrder}, {m.sbHistory, m.panelHistory}, {m.sbTree, m.panelTree}};
    const QList<QAction*> items = {m.WinPic,  m.WinTable,   m.WinSTD,
                                   m.WinView, m.WinHistory, m.WinTree};
    for (int i = 0; i < switches.size(); ++i) {
        QTest::mouseClick(switches[i].first, Qt::LeftButton);
        for (int j = 0; j < switches.size(); ++j) {
            QCOMPARE(!switches[j].second->isHidden(), i == j);
            QCOMPARE(switches[j].first->isChecked(), i == j);
            QCOMPARE(items[j]->isEnabled(), i != j);
        }
    }
    QVERIFY(script.unexpected.isEmpty());
}

void TestShell::panelSwitchSetsTheItems_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("fileItems");
    QTest::addColumn<bool>("historyItems");
    QTest::newRow("drawing") << "sbPic" << false << false;
    QTest::newRow("table") << "sbTable" << false << false;
    QTest::newRow("standard") << "sbSTD" << false << false;
    QTest::newRow("basket") << "sbView" << true << false;
    QTest::newRow("history") << "sbHistory" << false << true;
}

void TestShell::panelSwitchSetsTheItems() {
    QFETCH(QString, button);
    QFETCH(bool, fileItems);
    QFETCH(bool, historyItems);
    CatalogFixture f;
    // The history commands need a record the history shows (one of today).
    f.exec(QStringLiteral("insert into History (N, Supplier, Buyer, Date_) values (1, 'А', 'Б', '%1')")
               .arg(QDate::currentDate().toString("yyyy-MM-dd")));
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.CanZoomNorm = m.CanZoomMinus = m.CanZoomPlus = m.CanPred = m.CanNext = true;
    QTest::mouseClick(m.findChild<QToolButton*>(button), Qt::LeftButton);
    // ("Вставить в Excel" also needs lines in the basket.)
    for (QAction* a : {m.sbNew, m.sbOpen, m.sbSave, m.New1, m.Open1, m.Save1, m.sbAdd})
        QCOMPARE(a->isEnabled(), fileItems);
    QCOMPARE(m.sbDelHistory->isEnabled(), historyItems);
    QCOMPARE(m.sbDelAllHistory->isEnabled(), historyItems);
    const bool drawing = button == "sbPic";
    for (QAction* a : {m.sbZoomNorm, m.sbZoomMinus, m.sbZoomPlus, m.sbPred, m.sbNext, m.miNorm,
                       m.miMinus, m.miPlus, m.miPred, m.miNext})
        QCOMPARE(a->isEnabled(), drawing);
    if (!drawing && button != "sbSTD") {
        QVERIFY(!m.sbOrder->isEnabled());
        QVERIFY(!m.miOrder->isEnabled());
    }
    QVERIFY(!m.sbPrint->isEnabled());
    QVERIFY(script.unexpected.isEmpty());
}

void TestShell::drawingPanelFollowsTheFlags() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.CanZoomNorm = true;
    m.CanZoomMinus = false;
    m.CanZoomPlus = true;
    m.CanPred = false;
    m.CanNext = true;
    m.CurrentPic = 2;
    m.pressPanelButton(m.sbPic);
    QVERIFY(m.sbZoomNorm->isEnabled() && m.miNorm->isEnabled());
    QVERIFY(!m.sbZoomMinus->isEnabled() && !m.miMinus->isEnabled());
    QVERIFY(m.sbZoomPlus->isEnabled() && !m.sbPred->isEnabled() && m.sbNext->isEnabled());
    QVERIFY(m.sbPrint->isEnabled());
    m.pressPanelButton(m.sbTree);
    QVERIFY(!m.sbPrint->isEnabled());
    QVERIFY(!m.sbNext->isEnabled());
}

void TestShell::itemsThatDependOnContent() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    // Search results in QFind: the table enables adding and stepping and takes the current part.
    DM->QFind.add("select * from forFind where modif=1 order by N_f, modif");
    DM->QFind.open();
    DM->QFind.next();
    m.pressPanelButton(m.sbTable);
    QVERIFY(m.sbOrder->isEnabled() && m.miOrder->isEnabled());
    QVERIFY(m.sbNextItem->isEnabled() && m.sbPredItem->isEnabled());
    QCOMPARE(m.CurN, DM->QFind.asString("N"));
    QCOMPARE(m.CurName, DM->QFind.asString("Name"));
    // The standardized-items panel prints when its query has rows, and ends stepping.
    DM->QSTD.add("select * from STD");
    DM->QSTD.open();
    m.pressPanelButton(m.sbSTD);
    QVERIFY(!m.sbPrint->isEnabled());
    QVERIFY(!m.sbNextItem->isEnabled());
    f.exec("insert into STD (N_f, N, Name, modif) values ('1', '1', 'Болт', 1)");
    DM->QSTD.open();
    m.pressPanelButton(m.sbTree);
    m.pressPanelButton(m.sbSTD);
    QVERIFY(m.sbPrint->isEnabled());
    // An empty result disables adding from the table.
    DM->QFind.clear();
    DM->QFind.add("select * from forFind where modif=99");
    DM->QFind.open();
    m.pressPanelButton(m.sbTable);
    QVERIFY(!m.sbOrder->isEnabled());
}

void TestShell::clickingTheFrontPanelChangesNothing() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.pressPanelButton(m.sbView);
    m.setStatus("Примечание: X", "X");
    m.sbNew->setEnabled(false);
    QTest::mouseClick(m.sbView, Qt::LeftButton);
    QCOMPARE(m.statusText(), QString("Примечание: X"));
    QVERIFY(!m.sbNew->isEnabled());
    QVERIFY(m.sbView->isChecked());
}

void TestShell::remarkIsKeptWhileAnotherPanelIsInFront() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.pressPanelButton(m.sbPic);
    m.LabelN->show();
    m.setStatus("Примечание: Применяется до 2005 г.", "Применяется до 2005 г.");
    m.pressPanelButton(m.sbTree);
    QCOMPARE(m.statusText(), QString());
    QCOMPARE(m.statusHint(), QString());
    QCOMPARE(m.SavedRemark, QString("Применяется до 2005 г."));
    m.pressPanelButton(m.sbView);
    QCOMPARE(m.SavedRemark, QString("Применяется до 2005 г."));
    m.pressPanelButton(m.sbPic);
    QCOMPARE(m.statusText(), QString("Примечание: Применяется до 2005 г."));
    QCOMPARE(m.statusHint(), QString("Применяется до 2005 г."));
    // Coming back with no part shown leaves the status bar empty.
    m.pressPanelButton(m.sbTree);
    m.LabelN->hide();
    m.pressPanelButton(m.sbPic);
    QCOMPARE(m.statusText(), QString());
}

void TestShell::windowMenuPressesTheButton() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.WinHistory->trigger();
    QVERIFY(m.sbHistory->isChecked());
    QVERIFY(!m.panelHistory->isHidden());
    m.WinView->trigger();
    QVERIFY(m.sbView->isChecked());
    QVERIFY(!m.sbHistory->isChecked());
}

void TestShell::messageBoxLayout_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("firstLeft");
    QTest::newRow("ok") << 0 << QStringList{"bOK"} << (400 - 75) / 2;
    QTest::newRow("yes no") << 1 << QStringList{"bYes", "bNo"} << (400 - 155) / 2;
    QTest::newRow("yes no cancel") << 2 << QStringList{"bYes", "bNo", "bCancel"} << (400 - 235) / 2;
}

void TestShell::messageBoxLayout() {
    QFETCH(int, kind);
    QFETCH(QStringList, shown);
    QFETCH(int, firstLeft);
    TmessForm box;
    box.layoutFor("Очистить таблицу цен?", "Каталог деталей и сборочных единиц", kind);
    QCOMPARE(box.width(), 400);
    QCOMPARE(box.height(), box.lbMess->height() + 25 + 30);
    QCOMPARE(box.lbMess->pos(), QPoint(10, 10));
    QCOMPARE(box.windowTitle(), QString("Каталог деталей и сборочных единиц"));
    int left = firstLeft;
    for (const QString& name : shown) {
        auto* b = box.findChild<QPushButton*>(name);
        QVERIFY(!b->isHidden());
        QCOMPARE(b->pos(), QPoint(left, box.lbMess->y() + box.lbMess->height() + 10));
        left += 80;
    }
    for (const char* name : {"bYes", "bNo", "bCancel", "bOK"})
        if (!shown.contains(name)) QVERIFY(box.findChild<QPushButton*>(name)->isHidden());
    if (kind == 1) QCOMPARE(box.bCancel->x(), left);
}

void TestShell::longMessageWidensTheBox() {
    TmessForm box;
    const QString text(QString("Очень длинное сообщение об ошибке базы данных ").repeated(3));
    box.layoutFor(text + "\r\nвторая строка", "Каталог деталей и сборочных единиц", 1);
    QVERIFY(box.lbMess->width() > 380);
    QCOMPARE(box.width(), box.lbMess->width() + 20);
    QCOMPARE(box.bYes->x(), (box.width() - 155) / 2);
    QVERIFY(!box.lbMess->text().contains('\r'));
    QVERIFY(box.lbMess->height() > box.fontMetrics().height());
}

void TestShell::messageBoxAnswers_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");
    QTest::newRow("ok") << 0 << "bOK" << 1;
    QTest::newRow("yes") << 1 << "bYes" << 6;
    QTest::newRow("no") << 1 << "bNo" << 7;
    QTest::newRow("cancel") << 2 << "bCancel" << 2;
    QTest::newRow("closed from the title bar") << 1 << "" << 2;
}

void TestShell::messageBoxAnswers() {
    QFETCH(int, kind);
    QFETCH(QString, press);
    QFETCH(int, answer);
    TmessForm box;
    messForm = &box;
    ModalScript script;
    script.press("bYes"); // an earlier answer does not linger
    box.ShowBox("Первый вопрос?", "Каталог деталей и сборочных единиц", 1);
    QCOMPARE(box.Answer, 6);
    if (press.isEmpty())
        script.close();
    else
        script.press(press);
    box.ShowBox("Сохранить таблицу заказа?", "Каталог деталей и сборочных единиц", kind);
    QCOMPARE(box.Answer, answer);
    QVERIFY(box.isHidden());
    QCOMPARE(script.messages.last(), QString("Сохранить таблицу заказа?"));
    messForm = nullptr;
}

void TestShell::aboutBox() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    script.then([](QDialog& d) {
        QCOMPARE(&d, static_cast<QDialog*>(AboutBox));
        QCOMPARE(d.size(), QSize(477, 246));
        QVERIFY(d.windowFlags() & Qt::WindowStaysOnTopHint);
        d.findChild<QPushButton*>("OKButton")->click();
    });
    mainForm->About1->trigger();
    QCOMPARE(script.captions, QStringList{"О программе"});
    QVERIFY(AboutBox->isHidden());
    QVERIFY(script.unexpected.isEmpty());
}

void TestShell::helpOpensTheHelpFile() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QString opened;
    Desktop::setOpener([&](const QString& path) {
        opened = path;
        return true;
    });
    mainForm->Contents1->trigger();
    Desktop::setOpener(nullptr);
    QCOMPARE(opened, DM->HelpFile);
    QVERIFY(script.messages.isEmpty());
}

void TestShell::helpThatCannotOpenSaysSo() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    Desktop::setOpener([](const QString&) { return false; });
    script.press("bOK");
    mainForm->Contents1->trigger();
    Desktop::setOpener(nullptr);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.messages[0].startsWith("Не удалось открыть файл справки"));
    QVERIFY(script.messages[0].contains("catalog.html"));
}

void TestShell::uncaughtErrorIsShownAndTheProgramGoesOn() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    // A handler whose statement fails: its error reaches the message box, nothing else breaks.
    QPushButton button("Проба");
    ErrorDisplay::connect(&button, &QPushButton::clicked, &button, [] {
        DM->QTree.clear();
        DM->QTree.add("select * from NoSuchTable");
        DM->QTree.open();
    });
    script.press("bOK");
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.messages[0].contains("NoSuchTable"));
    mainForm->pressPanelButton(mainForm->sbView);
    QVERIFY(!mainForm->panelOrder->isHidden());
    QVERIFY(script.unexpected.isEmpty());
}

void TestShell::exitClosesTheMainWindow() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    mainForm->show();
    QTest::mouseClick(mainForm->sbExit, Qt::LeftButton);
    QVERIFY(mainForm->isHidden());
}

CATALOG_TEST_MAIN(TestShell)
#include "tst_shell.moc"
