// The quick search box (ranking of what it lists, opening a part and putting it into the
// basket) and the where-used window.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/order.h"
#include "data/datamod.h"
#include "search/quicksearch.h"
#include "search/used.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

using namespace ViewerTest;

namespace {

// Beside the standard content: numbers written with the letters the key form reads specially,
// and a number that is also part of another part's name.
void addParts(CatalogFixture& f) {
    f.addPart(1, "ТХ-20.01", "Болт"); // Cyrillic Т and Х: key Т2001
    f.addPart(1, "AI-12.5", "Ось");   // Latin A and I: key A1125
    f.addPart(2, "12345", "Прокладка");
    f.addPart(2, "12345-6", "Прокладка малая");
    f.addPart(2, "99-1", "Кольцо 12345");
    f.addOccurrence(1, "ТХ-20.01", "", 2, 2);
    f.addOccurrence(1, "ТХ-20.01", "", 3, 1);
}

TQuickSearch* box() {
    return mainForm->quickSearch;
}

// Key presses with these characters (QTest::keyClicks knows Latin-1 only).
void keys(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Types the text into the empty box as the user does.
void type(const QString& text) {
    box()->clear();
    box()->setFocus();
    keys(box(), text);
}

// The listed rows, "number/modification", at most n.
QStringList listed(int n) {
    QStringList out;
    QTreeWidget* list = box()->list();
    for (int i = 0; i < list->topLevelItemCount() && i < n; ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        out << item->text(TQuickSearch::NumberColumn) + QLatin1Char('/') +
                   item->data(TQuickSearch::NumberColumn, TQuickSearch::ModifRole).toString();
    }
    return out;
}

QStringList gridRows(const QTableWidget* grid) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << grid->item(r, c)->text();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

void doubleClick(QTableWidget* grid, int row) {
    QVERIFY(QTest::qWaitForWindowExposed(grid->window()));
    grid->scrollToItem(grid->item(row, 0));
    const QRect cell = grid->visualItemRect(grid->item(row, 0));
    QSignalSpy spy(grid, &QTableWidget::cellDoubleClicked);
    // The press of a double click comes after a click, as from the mouse.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(spy.count(), 1);
}

// Where the drawing panel stands: "modif/picture lbN".
QString shown() {
    return QStringLiteral("%1/%2 %3")
        .arg(mainForm->CurrentModif)
        .arg(mainForm->CurrentPic)
        .arg(mainForm->lbN->text());
}

const QString Visible = QStringLiteral("modif in (0, 1, 2)");

} // namespace

class TestQuick : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ranking_data();
    void ranking();
    void listShowsNameModificationAndDrawings();
    void enterOpensThePartOnItsFirstDrawing();
    void clickOpensAndTypingOnTheDrawingSearches();
    void partOnNoDrawingLeavesTheDrawing();
    void altEnterPutsThePartIntoTheBasket();
    void whereUsedMatchesTheCatalogue_data();
    void whereUsedMatchesTheCatalogue();
    void doubleClickOpensTheDrawing();
    void fromTheResultGridAndTheBasket();

    void init() {
        fixture = std::make_unique<CatalogFixture>();
        addParts(*fixture);
        forms = startShown(*fixture);
        QVERIFY(forms);
    }
    void cleanup() {
        if (usedForm) usedForm->hide();
        forms.reset();
        fixture.reset();
    }

private:
    std::unique_ptr<CatalogFixture> fixture;
    std::unique_ptr<Forms> forms;
};

void TestQuick::ranking_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("first");
    // Exact numbers come first (each modification), then numbers beginning with the text, then
    // names beginning with it, then names holding it; hidden modifications never show.
    QTest::newRow("number as printed")
        << "50-1002010" << QStringList{"50-1002010/1", "50-1002010/2"};
    QTest::newRow("number with blanks")
        << "50 1002 010" << QStringList{"50-1002010/1", "50-1002010/2"};
    QTest::newRow("number with points and commas") << "50,12.003 1" << QStringList{"50.12.003-1/1"};
    QTest::newRow("prefix") << "50-10020"
                            << QStringList{"50-1002010/1", "50-1002010/2", "50-1002015/1",
                                           "50-1002030/1"};
    QTest::newRow("only modification 2") << "50-1003010" << QStringList{"50-1003010/2"};
    QTest::newRow("Cyrillic letters, Latin x, small case")
        << "тx-2001" << QStringList{"ТХ-20.01/1"};
    QTest::newRow("Cyrillic letters, Cyrillic Х") << "ТХ 20 01" << QStringList{"ТХ-20.01/1"};
    QTest::newRow("Latin I read as 1") << "AI-12.5" << QStringList{"AI-12.5/1"};
    QTest::newRow("digit 1 for the I") << "a1125" << QStringList{"AI-12.5/1"};
    QTest::newRow("number before the name holding it")
        << "12345" << QStringList{"12345/2", "12345-6/2", "99-1/2"};
    QTest::newRow("name beginning, any case") << "ВТУЛ" << QStringList{"50.12.003-1/1"};
    QTest::newRow("name beginnings before names holding the word")
        << "гильза" << QStringList{"50-1002015/1"};
    QTest::newRow("word inside names, by name")
        << "цилинд" << QStringList{"50-1002010/1", "50-1002010/2", "50-1002015/1"};
    QTest::newRow("two letters: name beginnings")
        << "бл" << QStringList{"50-1002010/1", "50-1002010/2"};
    QTest::newRow("hidden modification") << "50-1601090" << QStringList{};
    QTest::newRow("nothing like it") << "нет такой" << QStringList{};
    // Typed apostrophes and placeholders of the statement's assembly stay text.
    QTest::newRow("apostrophe and %") << "50'%1 %2_" << QStringList{};
}

void TestQuick::ranking() {
    QFETCH(QString, typed);
    QFETCH(QStringList, first);
    ModalScript script;
    type(typed);
    QCOMPARE(script.messages, QStringList());
    QCOMPARE(listed(int(first.size()) + (first.isEmpty() ? 1 : 0)), first);
    QCOMPARE(box()->list()->isVisible(), !first.isEmpty());
}

void TestQuick::listShowsNameModificationAndDrawings() {
    type("ТХ2001");
    const QTreeWidgetItem* item = box()->list()->topLevelItem(0);
    QVERIFY(item);
    QCOMPARE(item->text(TQuickSearch::NameColumn), QString("Болт"));
    QCOMPARE(item->text(TQuickSearch::ModificationColumn), QString("М-315.04"));
    QCOMPARE(item->text(TQuickSearch::DrawingsColumn), QString("2"));
    type("5");
    // Every number of the visible modifications begins with 5 or 1 here.
    QCOMPARE(
        box()->list()->topLevelItemCount(),
        fixture->scalar("select count(*) from Detail where N_f like '5%' and " + Visible).toInt());
}

void TestQuick::enterOpensThePartOnItsFirstDrawing() {
    // "Быстрый поиск" (Ctrl+F) puts the focus into the box from anywhere.
    QCOMPARE(mainForm->miQuick->shortcut(), QKeySequence(QKeySequence::Find));
    QVERIFY(box()->isVisible());
    mainForm->Tree->setFocus();
    mainForm->miQuick->trigger();
    QCOMPARE(mainForm->focusWidget(), box());
    keys(box(), "50.12.003.1");
    QTest::keyClick(box()->list(), Qt::Key_Return);
    QVERIFY(!box()->list()->isVisible());
    QVERIFY(!mainForm->panelPic->isHidden());
    QVERIFY(mainForm->sbPic->isChecked());
    QCOMPARE(shown(), QString("1/1 50.12.003-1"));
    // The part is shown at positions 3 and 4: both are selected.
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));
    QCOMPARE(mainForm->CurN, QString("50.12.003-1"));

    // Down moves in the list: the second match is opened.
    type("50-10020");
    QTest::keyClick(box()->list(), Qt::Key_Down);
    QTest::keyClick(box()->list(), Qt::Key_Return);
    QCOMPARE(shown(), QString("2/1 50-1002010"));
    QCOMPARE(looks(), QString("1:s"));
}

void TestQuick::clickOpensAndTypingOnTheDrawingSearches() {
    openDrawing(1, 1);
    // Typing a digit on the drawing starts a quick search with it.
    QTest::keyClick(mainForm->ScrollBox, Qt::Key_5);
    QCOMPARE(box()->text(), QString("5"));
    QVERIFY(box()->list()->isVisible());
    keys(box()->list(), "0-3501");
    QCOMPARE(box()->text(), QString("50-3501"));
    QCOMPARE(listed(2), QStringList{"50-3501010/1"});
    QTreeWidget* list = box()->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(0)).center());
    QCOMPARE(shown(), QString("1/2 50-3501010"));
    QCOMPARE(looks(), QString("1:s"));
}

void TestQuick::partOnNoDrawingLeavesTheDrawing() {
    openDrawing(1, 1);
    type("ось");
    QTest::keyClick(box()->list(), Qt::Key_Return);
    QCOMPARE(mainForm->CurrentPic, 1);
    QCOMPARE(mainForm->statusText(), QString("Деталь AI-12.5 не показана ни на одном рисунке"));
}

void TestQuick::altEnterPutsThePartIntoTheBasket() {
    ModalScript script;
    openDrawing(1, 1);
    click(marker(2));
    script.then([](QDialog& d) {
        auto& o = static_cast<TorderForm&>(d);
        QCOMPARE(o.windowTitle(), TorderForm::AddCaption);
        o.eK->setText("3");
        o.bbAppend->click();
    });
    type("из-12-001");
    QTest::keyClick(box()->list(), Qt::Key_Return, Qt::AltModifier);
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(tableRows(*fixture, "select N, ID, ID_f, Name, K from Order_"),
             QStringList{"1|ИЗ-12.001|ИЗ12001|Шайба|3"});
    // The part shown stays the one "Добавить" takes.
    QCOMPARE(mainForm->CurN, QString("50-1002015"));
    QCOMPARE(mainForm->CurrentPic, 1);
}

void TestQuick::whereUsedMatchesTheCatalogue_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("used");
    QTest::addColumn<int>("members");
    QTest::newRow("assembly in two modifications")
        << 1 << "501002010"
        << QStringList{"М-315.04|01: Двигатель|1. Блок цилиндров|1|1|",
                       "М-315.04-01|01: Двигатель|1. Блок цилиндров|1|1|"}
        << 4;
    QTest::newRow("part at two positions")
        << 3 << "50120031"
        << QStringList{"М-315.04|01: Двигатель|1. Блок цилиндров|3|2|50-1002010",
                       "М-315.04|01: Двигатель|1. Блок цилиндров|4|2|50-1002010"}
        << 0;
    QTest::newRow("member of a sub-assembly")
        << 5 << "ИЗ12001" << QStringList{"М-315.04|01: Двигатель|1. Блок цилиндров|5|6|50-1002030"}
        << 0;
}

void TestQuick::whereUsedMatchesTheCatalogue() {
    QFETCH(int, position);
    QFETCH(QString, key);
    QFETCH(QStringList, used);
    QFETCH(int, members);
    openDrawing(1, 1);
    click(marker(position));
    mainForm->miUsed->trigger();
    QVERIFY(usedForm->isVisible());
    const int direct =
        fixture->scalar("select count(*) from DataTab where N_f = '" + key + "' and " + Visible)
            .toInt();
    QCOMPARE(usedForm->sgUsed->rowCount(), direct);
    QCOMPARE(gridRows(usedForm->sgUsed), used);
    const int directMembers =
        fixture->scalar("select count(*) from DataTab where SE_f = '" + key + "' and " + Visible)
            .toInt();
    QCOMPARE(directMembers, members);
    QCOMPARE(usedForm->sgMembers->rowCount(), members);
    QCOMPARE(usedForm->pages->indexOf(usedForm->sgMembers) >= 0, members > 0);
}

void TestQuick::doubleClickOpensTheDrawing() {
    openDrawing(1, 2);
    type("50-1002010");
    QTest::keyClick(box()->list(), Qt::Key_Return);
    mainForm->miUsed->trigger();
    QCOMPARE(usedForm->sgUsed->rowCount(), 2);
    doubleClick(usedForm->sgUsed, 1);
    QCOMPARE(shown(), QString("2/1 50-1002010"));
    QCOMPARE(looks(), QString("1:s"));

    // "Состав" of the assembly: a member opened at its own position, with its ring.
    doubleClick(usedForm->sgUsed, 0);
    mainForm->miUsed->trigger();
    QCOMPARE(usedForm->pages->tabText(1), QString("Состав"));
    usedForm->pages->setCurrentWidget(usedForm->sgMembers);
    const QStringList members = gridRows(usedForm->sgMembers);
    QCOMPARE(members.size(), 4);
    const int row = int(members.indexOf(QRegularExpression(".*\\|4\\|2\\|50.12.003-1\\|Втулка")));
    QVERIFY(row >= 0);
    doubleClick(usedForm->sgMembers, row);
    QCOMPARE(shown(), QString("1/1 50.12.003-1"));
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));
    QCOMPARE(DM->QPicPos.asInteger("Position"), 4);
}

void TestQuick::fromTheResultGridAndTheBasket() {
    fixture->exec("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values "
                  "(1, 'ТХ-20.01', 'Т2001', 'Болт', 1, 0, 0, 0)");
    mainForm->pressPanelButton(mainForm->sbView);
    mainForm->tbiUsed->trigger();
    QCOMPARE(usedForm->lbPart->text(), QString("ТХ-20.01  Болт"));
    QCOMPARE(gridRows(usedForm->sgUsed),
             (QStringList{"М-315.04|18: Тормоза|2. Тормоз|2|1|", "М-315.04||3. Общий вид|1|1|"}));
    QCOMPARE(
        usedForm->sgUsed->rowCount(),
        fixture->scalar("select count(*) from DataTab where N_f = 'Т2001' and " + Visible).toInt());

    ModalScript script;
    script.then([](QDialog& d) {
        auto& form = static_cast<QDialog&>(d);
        auto* edit = form.findChild<QLineEdit*>("findEditN");
        edit->setText("50-1002015");
        form.findChild<QPushButton*>("bbOk")->click();
    });
    mainForm->sbFind->click();
    QCOMPARE(DM->QFind.recordCount(), 1);
    QVERIFY(mainForm->dbgFind->actions().contains(mainForm->fiUsed));
    mainForm->fiUsed->trigger();
    QCOMPARE(gridRows(usedForm->sgUsed),
             QStringList{"М-315.04|01: Двигатель|1. Блок цилиндров|2|4|50-1002010"});
}

CATALOG_TEST_MAIN(TestQuick)
#include "tst_quick.moc"
