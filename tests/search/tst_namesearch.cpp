// Name searches through the index of part names find exactly what the like finds over every
// occurrence, on the demo catalogue, for the patterns users type; reading the parts before their
// occurrences finds what the search over every occurrence finds.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "data/dialect.h"
#include "data/shared.h"
#include "data/sql.h"
#include "data/tquery.h"
#include "generator.h"
#include "search/find.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <utility>

namespace {

QStringList found() {
    QStringList out;
    TQuery& q = DM->QFind;
    for (int r = 0; r < q.recordCount(); ++r)
        out << q.cell(r, q.fieldIndex("modif")).toString() + ":" +
                   q.cell(r, q.fieldIndex("N")).toString();
    return out;
}

// The rows of the last search as the statement over every occurrence finds them.
QStringList foundOverOccurrences() {
    TQuery q(*DM->Database, "occurrences");
    q.setText({"select * from forFind where (N_f in (select N_f from Find " +
                   Shared->searchCondition() + ")) AND " + Shared->modFilter(),
               "order by N_f, modif"});
    q.open();
    QStringList out;
    for (; !q.eof(); q.next())
        out << q.asString("modif") + ":" + q.asString("N");
    return out;
}

} // namespace

class TestNameSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sameRowsAsTheLike_data();
    void sameRowsAsTheLike();
    void largeResultIsShownBeforeItIsAllRead();
    void cleanupTestCase();

private:
    QTemporaryDir tmp;
    std::unique_ptr<Forms> forms;
};

void TestNameSearch::initTestCase() {
    Gen::Options o;
    o.outDir = tmp.filePath("demo");
    Gen::generate(o);
    forms = Forms::create(o.outDir);
    QVERIFY(forms);
    QVERIFY(DM->Database->nameIndex);
    // Names the demo lacks: apostrophes, double quotes, Latin letters, ё.
    const QStringList extra = {"Болт д'Артаньяна \"М10\"", "Bolt SPECIAL m12", "ЁЛОЧКА ёлка",
                               "Кольцо-о"};
    for (int i = 0; i < extra.size(); ++i) {
        const QString n = QString("99%1").arg(i);
        DM->Database->exec(QString("insert into Detail (N_f, N, Name, modif) values ('%1', '%1', "
                                   "%2, 1)")
                               .arg(n, Sql::quote(extra[i])));
        DM->Database->exec(QString("insert into DataTab (N_f, SE_f, SE, Picture, Position, "
                                   "Quantity, remN, modif) values ('%1', ' ', ' ', 1, 1, 1, 0, 1)")
                               .arg(n));
    }
    // A part drawn nowhere is not found.
    DM->Database->exec("insert into Detail (N_f, N, Name, modif) values ('995', '995', 'Втулка "
                       "запасная', 1)");
    // A part named differently in two modifications is found in both by either name.
    for (const auto& [modif, name] : {std::pair{1, "Втулка разрезная"}, std::pair{2, "Гильза"}}) {
        DM->Database->exec(QString("insert into Detail (N_f, N, Name, modif) values ('996', "
                                   "'996', '%1', %2)")
                               .arg(name)
                               .arg(modif));
        DM->Database->exec(QString("insert into DataTab (N_f, SE_f, SE, Picture, Position, "
                                   "Quantity, remN, modif) values ('996', ' ', ' ', 1, 1, 1, 0, "
                                   "%1)")
                               .arg(modif));
    }
}

void TestNameSearch::cleanupTestCase() {
    forms.reset();
}

void TestNameSearch::sameRowsAsTheLike_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("indexed");
    QTest::addColumn<bool>("some"); // whether the demo has names that match
    QTest::newRow("infix, lower case") << "*втулка*" << true << true;
    QTest::newRow("infix, upper case") << "*ВТУЛКА*" << true << true;
    QTest::newRow("prefix") << "втулка*" << true << true;
    QTest::newRow("whole name") << "Втулка" << true << true;
    QTest::newRow("one unknown character") << "*коль?о*" << true << true;
    QTest::newRow("unknown character, no such name") << "*кольц?о*" << true << false;
    QTest::newRow("unknown characters only") << "*??????*" << false << true;
    QTest::newRow("three letters") << "*вал*" << true << true;
    QTest::newRow("two letters") << "*ос*" << false << true;
    QTest::newRow("several words, mixed case") << "*вал*в сБОРЕ" << true << true;
    QTest::newRow("Latin, lower case") << "*special*" << true << true;
    QTest::newRow("Latin, upper case") << "BOLT*" << true << true;
    QTest::newRow("apostrophe and quotes") << "*Д'аР*\"м10\"*" << true << true;
    QTest::newRow("yo") << "*ЁЛКА*" << true << true;
    QTest::newRow("alternatives") << "*втулка*&*шайба*&*ос*" << true << true;
    QTest::newRow("nothing matches") << "*зззз*" << true << false;
    QTest::newRow("everything") << "*" << false << true;
}

void TestNameSearch::sameRowsAsTheLike() {
    QFETCH(QString, typed);
    QFETCH(bool, indexed);
    QFETCH(bool, some);
    ModalScript script;
    const auto search = [&](bool useIndex) {
        DM->Database->nameIndex = useIndex;
        script.then([&](QDialog& d) {
            auto& form = static_cast<TfindForm&>(d);
            form.bbClearClick();
            form.findEditName->setText(typed);
            form.bbOk->click();
        });
        mainForm->sbFind->click();
        return found();
    };
    const QStringList plain = search(false);
    const QStringList throughIndex = search(true);
    QCOMPARE(Dialect::indexFriendly(DM->QFind.text(), true).contains("DetailNames match"), indexed);
    QCOMPARE(throughIndex, plain);
    QCOMPARE(foundOverOccurrences(), plain);
    QVERIFY(!plain.contains("1:995"));
    if (QString("*втулка*").compare(typed, Qt::CaseInsensitive) == 0) {
        QVERIFY(plain.contains("1:996"));
        QVERIFY(plain.contains("2:996"));
    }
    QCOMPARE(!plain.isEmpty(), some);
    QCOMPARE(mainForm->lbK->text(), QString::number(plain.size()));
    QVERIFY(script.messages.isEmpty());
    QVERIFY(script.unexpected.isEmpty());
}

// A result of thousands of rows is on the screen with its first rows; the count follows as the
// rest is read, and stepping back from the first row reaches the last row of the whole result.
void TestNameSearch::largeResultIsShownBeforeItIsAllRead() {
    DM->Database->nameIndex = true;
    TQuery all(*DM->Database, "all");
    all.setText({"select count(*) from forFind where N_f in (select N_f from Find " +
                 QString("where ") + Shared->modFilter() + ") and " + Shared->modFilter()});
    all.open();
    const int total = all.asInteger("count(*)");
    QVERIFY(total > 2 * TDM::FoundFirstRows);

    ModalScript script;
    const auto searchEverything = [&] {
        script.then([&](QDialog& d) {
            auto& form = static_cast<TfindForm&>(d);
            form.bbClearClick();
            form.findEditName->setText("*");
            form.bbOk->click();
        });
        mainForm->sbFind->click();
    };
    searchEverything();
    TQuery& found = DM->QFind;
    const QAbstractItemModel* grid = static_cast<QAbstractItemView*>(mainForm->dbgFind)->model();
    QCOMPARE(found.rowsRead(), TDM::FoundFirstRows);
    QCOMPARE(mainForm->lbK->text(), QString("%1…").arg(TDM::FoundFirstRows));
    QCOMPARE(grid->rowCount(), TDM::FoundFirstRows);
    QVERIFY(mainForm->sbPredItem->isEnabled());
    mainForm->sbPredItem->click();
    QCOMPARE(found.recNo(), total);
    QCOMPARE(mainForm->lbK->text(), QString::number(total));
    QCOMPARE(grid->rowCount(), total);
    QCOMPARE(mainForm->dbgFind->currentIndex().row(), total - 1);

    // Left alone, the program reads the rest while idle.
    searchEverything();
    for (int turn = 0; turn < 100000 && !found.complete(); ++turn)
        QCoreApplication::processEvents();
    QVERIFY(found.complete());
    QCOMPARE(mainForm->lbK->text(), QString::number(total));
    QVERIFY(script.messages.isEmpty());
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestNameSearch)
#include "tst_namesearch.moc"
