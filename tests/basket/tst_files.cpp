// The basket's file commands as the user runs them: "Создать", "Открыть", "Сохранить" with their
// question and file dialogs answered through the modal seam.
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/Newgrid.h"
#include "basket/basketfile.h"
#include "basketsteps.h"
#include "data/sql.h"
#include "support/testmain.h"

#include <QAction>
#include <QFile>
#include <QToolButton>

using namespace BasketSteps;

namespace {

void addLine(CatalogFixture& f, int n, const QString& name, const QString& price,
             const QString& priceZ) {
    f.exec(QStringLiteral("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values "
                          "(%1, '50-%1', '50%1', %2, %3, 0.25, %4, %5)")
               .arg(n)
               .arg(Sql::quote(name))
               .arg(n + 1)
               .arg(price, priceZ));
}

int gridRows(TmainForm& m) {
    return static_cast<QAbstractItemView*>(m.dbgOrder)->model()->rowCount();
}

void threeLines(CatalogFixture& f) {
    addLine(f, 1, "Кольцо 'А'", "10.5", "NULL");
    addLine(f, 2, "Втулка", "NULL", "7");
    addLine(f, 3, "Шайба", "1.25", "2");
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void savedBasketOpensAgain();
    void cancelledDialogsKeepTheBasket_data();
    void cancelledDialogsKeepTheBasket();
    void newOnEmptyBasketAsksNothing();
    void badFileIsRefusedAndBasketKept();
    void unencodableLinesAreCounted();
};

void TestFiles::savedBasketOpensAgain() {
    ModalScript script;
    CatalogFixture f;
    threeLines(f);
    const QStringList before = basket(f);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    QVERIFY(m.Save1->isEnabled());

    // No ".db" typed: it is added, and the name is offered again.
    const QString chosen = f.dir() + "/spring";
    script.file(chosen);
    m.Save1->trigger();
    QVERIFY(QFile::exists(chosen + ".db"));
    QCOMPARE(m.sdMainFileName, chosen + ".db");

    // "Создать": asked, "Нет" empties the basket.
    script.press("bNo");
    m.sbNew->trigger();
    QCOMPARE(script.messages, QStringList({"Сохранить таблицу заказа?"}));
    QCOMPARE(basket(f), QStringList());
    QCOMPARE(gridRows(m), 0);

    // "Открыть" on the empty basket asks nothing and brings the lines back.
    script.file(chosen + ".db");
    m.Open1->trigger();
    QCOMPARE(basket(f), before);
    QCOMPARE(gridRows(m), 3);
    QCOMPARE(m.odMainFileName, chosen + ".db");
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.unexpected.isEmpty());
}

void TestFiles::cancelledDialogsKeepTheBasket_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("dialogs"); // file dialogs shown (each cancelled)
    QTest::newRow("new, cancel") << "new"
                                 << "bCancel" << 0;
    QTest::newRow("new, close box") << "new"
                                    << "" << 0;
    QTest::newRow("new, yes, save cancelled") << "new"
                                              << "bYes" << 1;
    QTest::newRow("open, cancel") << "open"
                                  << "bCancel" << 0;
    QTest::newRow("open, yes, save cancelled") << "open"
                                               << "bYes" << 1;
    QTest::newRow("open, no, open cancelled") << "open"
                                              << "bNo" << 1;
}

void TestFiles::cancelledDialogsKeepTheBasket() {
    QFETCH(QString, command);
    QFETCH(QString, answer);
    QFETCH(int, dialogs);
    ModalScript script;
    CatalogFixture f;
    threeLines(f);
    const QStringList before = basket(f);
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    if (answer.isEmpty())
        script.close();
    else
        script.press(answer);
    for (int i = 0; i < dialogs; ++i)
        script.file(QString());
    (command == "new" ? m.sbNew : m.sbOpen)->trigger();
    QCOMPARE(script.messages, QStringList({"Сохранить таблицу заказа?"}));
    QCOMPARE(script.pending(), 0);
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(basket(f), before);
    QCOMPARE(gridRows(m), 3);
}

void TestFiles::newOnEmptyBasketAsksNothing() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    mainForm->sbView->click();
    mainForm->New1->trigger();
    // Saving an empty basket makes a file without rows.
    script.file(f.dir() + "/empty.db");
    mainForm->sbSave->trigger();
    QVERIFY(script.messages.isEmpty());
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(BasketFile::read(f.dir() + "/empty.db").size(), size_t(0));
}

void TestFiles::badFileIsRefusedAndBasketKept() {
    ModalScript script;
    CatalogFixture f;
    threeLines(f);
    const QStringList before = basket(f);
    const QString good = f.dir() + "/good.db";
    BasketFile::write(good, {{1, "50-9", "Гайка", 1, 0.1, 1.0, std::nullopt}});
    QByteArray bytes;
    {
        QFile in(good);
        QVERIFY(in.open(QIODevice::ReadOnly));
        bytes = in.readAll();
    }
    const QString bad = f.dir() + "/cut.db";
    {
        QFile out(bad);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes.left(bytes.size() - 10)); // truncated
    }
    auto forms = f.start();
    TmainForm& m = *mainForm;
    m.sbView->click();
    script.press("bNo");
    script.file(bad);
    script.press("bOK");
    m.sbOpen->trigger();
    QCOMPARE(script.messages.size(), 2);
    QVERIFY2(script.messages.last().contains(bad), qPrintable(script.messages.last()));
    QCOMPARE(basket(f), before);
    QCOMPARE(gridRows(m), 3);
    QVERIFY(script.unexpected.isEmpty());
}

void TestFiles::unencodableLinesAreCounted() {
    ModalScript script;
    CatalogFixture f;
    addLine(f, 1, "Болт ☃", "1", "1");
    addLine(f, 2, "Болт", "1", "1");
    addLine(f, 3, "Гайка ★", "1", "1");
    auto forms = f.start();
    mainForm->sbView->click();
    const QString path = f.dir() + "/signs.db";
    script.file(path);
    script.press("bOK");
    mainForm->sbSave->trigger();
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages.first().contains(": 2.") && script.messages.first().contains(path),
             qPrintable(script.messages.first()));
    const auto lines = BasketFile::read(path);
    QCOMPARE(lines.size(), size_t(3));
    QCOMPARE(lines[0].name, QString("Болт ?"));
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestFiles)
#include "tst_files.moc"
