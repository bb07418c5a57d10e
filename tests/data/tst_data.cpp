// The data layer: quoting, the catalogue's like, the schema's views and the query objects.
#include "data/connection.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/dialect.h"
#include "data/querymodel.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/textfmt.h"
#include "data/tquery.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>
#include <utility>
#include <vector>

class TestData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void quoting_data();
    void quoting();
    void numbersAreCheckedBeforeTheyEnterAStatement();
    void apostropheIsStoredAndFoundAsTyped();
    void likeMatches_data();
    void likeMatches();
    void likeInStatementsFoldsCyrillic();
    void newPriceColumnShowsInViewsAtOnce();
    void droppedPriceColumnLeavesViews();
    void findViewCompletesOccurrences();
    void picPosListsPlacesWithTheirParts();
    void queryNavigationAndHooks();
    void fieldsAreReadWithoutRegardToCase();
    void valuesAreThoseTheDriverGives();
    void incrementalResultReadsOnDemand();
    void incrementalResultIsReadWhileIdle();
    void writesWaitForTheRestOfAResult();
    void failureWhileReadingTheRestKeepsTheRowsRead();
    void duplicateDisplayFieldIsRefused();
    void displayFormats();
    void nearestRoundsHalvesToEven_data();
    void nearestRoundsHalvesToEven();
    void todayStr_data();
    void todayStr();
    void datesAreStoredAsIso();
    void refusesFilesThatAreNoCatalogue();
    void dataModuleDirectories();
};

void TestData::quoting_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "Втулка"
                           << "'Втулка'";
    QTest::newRow("apostrophe") << "Болт М'10"
                                << "'Болт М''10'";
    QTest::newRow("only apostrophes") << "''"
                                      << "''''''";
    QTest::newRow("empty") << ""
                           << "''";
}

void TestData::quoting() {
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(Sql::quote(text), quoted);
}

void TestData::numbersAreCheckedBeforeTheyEnterAStatement() {
    QCOMPARE(Sql::number("12,5"), QString("12.5"));
    QCOMPARE(Sql::number(""), QString("0"));
    QCOMPARE(Sql::number("7"), QString("7"));
    QVERIFY_THROWS_EXCEPTION(CatalogError, Sql::number("1; delete from Price"));
    QCOMPARE(Sql::boolean(true), QString("True"));
    QCOMPARE(Sql::boolean(false), QString("False"));
}

void TestData::apostropheIsStoredAndFoundAsTyped() {
    CatalogFixture f(false);
    const QString name = "Болт М'10 «особый»";
    f.exec("insert into Detail (N_f, N, Name, V, modif) values ('1', '1', " + Sql::quote(name) +
           ", 0, 0)");
    QCOMPARE(f.scalar("select Name from Detail where Name=" + Sql::quote(name)).toString(), name);
    QCOMPARE(
        f.scalar("select count(*) from Detail where Name like " + Sql::quote("%м'10%")).toInt(), 1);
}

void TestData::likeMatches_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");
    QTest::newRow("cyrillic case") << "%втулка%"
                                   << "ВТУЛКА РАСПОРНАЯ" << true;
    QTest::newRow("cyrillic upper pattern") << "%ВТУЛКА%"
                                            << "втулка" << true;
    QTest::newRow("latin case") << "ab%"
                                << "ABC" << true;
    QTest::newRow("whole value") << "втулка"
                                 << "втулка распорная" << false;
    QTest::newRow("one character") << "50_2"
                                   << "5012" << true;
    QTest::newRow("one cyrillic character") << "_З12"
                                            << "ИЗ12" << true;
    QTest::newRow("underscore needs a character") << "50_"
                                                  << "50" << false;
    QTest::newRow("prefix") << "5012003%"
                            << "50120031" << true;
    QTest::newRow("prefix mismatch") << "5012004%"
                                     << "50120031" << false;
    QTest::newRow("backtracking") << "%аб%аб"
                                  << "ааббабаб" << true;
    QTest::newRow("empty pattern") << ""
                                   << "" << true;
    QTest::newRow("empty pattern, text") << ""
                                         << "x" << false;
    QTest::newRow("only percent") << "%"
                                  << "" << true;
    QTest::newRow("yo differs from ye") << "ёж"
                                        << "еж" << false;
}

void TestData::likeMatches() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(Dialect::likeMatch(pattern, text), matches);
}

void TestData::likeInStatementsFoldsCyrillic() {
    CatalogFixture f(false);
    f.exec("insert into Detail (N_f, N, Name, V, modif) values ('1', '1', 'ВТУЛКА', 0, 0)");
    f.exec("insert into Detail (N_f, N, Name, V, modif) values ('2', '2', 'Втулка малая', 0, 0)");
    f.exec("insert into Detail (N_f, N, Name, V, modif) values ('3', '3', 'Шайба', 0, 0)");
    QCOMPARE(f.scalar("select count(*) from Detail where Name like '%втулка%'").toInt(), 2);
    QCOMPARE(f.scalar("select count(*) from Detail where Name like 'втулка'").toInt(), 1);
    QCOMPARE(f.scalar("select count(*) from Detail where like('x!%', 'X%', '!')").toInt(), 3);
    QCOMPARE(f.scalar("select count(*) from Detail where Name like NULL").toInt(), 0);
}

void TestData::newPriceColumnShowsInViewsAtOnce() {
    CatalogFixture f;
    for (const char* table : {"Price", "Order_", "OrderAll", "History"})
        f.exec(QStringLiteral("alter table %1 add Price1 float").arg(table));
    f.exec("update Price set Price1=42 where ID_P='50-1002015'");
    QCOMPARE(f.scalar("select Price1 from forFind where N='50-1002015' and modif=1").toDouble(),
             42.0);
    QCOMPARE(f.scalar("select Price1 from Find where N='50-1002015'").toDouble(), 42.0);
    QVERIFY(f.scalar("select count(Price1) from Find where N='50-3501010'").toInt() == 0);
}

void TestData::droppedPriceColumnLeavesViews() {
    CatalogFixture f;
    f.exec("alter table Price drop PriceZ");
    QSqlQuery q(f.db().database());
    QVERIFY(q.exec("select * from Find"));
    QVERIFY(q.next());
    QCOMPARE(q.record().indexOf("PriceZ"), -1);
    QVERIFY(q.record().indexOf("Price") >= 0);
}

void TestData::findViewCompletesOccurrences() {
    CatalogFixture f;
    QSqlQuery q(f.db().database());
    QVERIFY(q.exec("select * from Find where N='50.12.003-1' and modif=1 order by Position"));
    QVERIFY(q.next());
    QCOMPARE(q.value("N_f").toString(), QString("50120031"));
    QCOMPARE(q.value("MODName").toString(), QString("М-315.04"));
    QCOMPARE(q.value("SE").toString(), QString("50-1002010"));
    QCOMPARE(q.value("Position").toInt(), 3);
    QCOMPARE(q.value("Quantity").toInt(), 2);
    QCOMPARE(q.value("Rem").toString(), QString("Применяется до 2005 г."));
    QCOMPARE(q.value("GroupN").toString(), QString("01"));
    QCOMPARE(q.value("Price").toDouble(), 10.005);
    QCOMPARE(q.value("OKP").toString(), QString("472113"));
    QVERIFY(q.next());
    QCOMPARE(q.value("Position").toInt(), 4);
    QVERIFY(!q.next());
}

void TestData::picPosListsPlacesWithTheirParts() {
    CatalogFixture f;
    QSqlQuery q(f.db().database());
    QVERIFY(q.exec(QString("select %1 * from PicPos where (PicPos.Picture=1) and modif=1 order "
                           "by Position")
                       .arg(Dialect::DistinctRow)));
    QStringList seen;
    while (q.next())
        seen << q.value("Position").toString() + ":" + q.value("N").toString();
    QCOMPARE(seen, QStringList({"0:50-1002030", "1:50-1002010", "2:50-1002015", "3:50.12.003-1",
                                "4:50.12.003-1", "5:ИЗ-12.001"}));
    QVERIFY(q.exec("select GroupN, GroupName, PicName, MODName from PicPos where Picture=1 and "
                   "modif=1"));
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), QString("Двигатель"));
    QCOMPARE(q.value(2).toString(), QString("Блок цилиндров"));
}

void TestData::queryNavigationAndHooks() {
    CatalogFixture f;
    TQuery q(f.db(), "Q");
    int opened = 0, scrolled = 0, closed = 0;
    connect(&q, &TQuery::afterOpen, [&] { ++opened; });
    connect(&q, &TQuery::afterScroll, [&] { ++scrolled; });
    connect(&q, &TQuery::afterClose, [&] { ++closed; });
    q.clear();
    q.add("select modif, MODName from Modif");
    q.add("order by modif");
    q.open();
    QCOMPARE(opened, 1);
    QCOMPARE(scrolled, 1);
    QCOMPARE(q.recordCount(), 4);
    QCOMPARE(q.recNo(), 1);
    q.next();
    q.next();
    q.next();
    QCOMPARE(q.asInteger("modif"), 3);
    QVERIFY(!q.eof());
    q.next();
    QVERIFY(q.eof());
    QCOMPARE(q.asInteger("modif"), 3);
    q.first();
    q.prior();
    QVERIFY(q.bof());
    QCOMPARE(q.moveBy(2), 2);
    QCOMPARE(q.asString("MODName"), QString("М-315.04-01"));
    QCOMPARE(q.moveBy(10), 1);
    QVERIFY(q.eof());
    q.clear();
    QCOMPARE(closed, 1);
    QVERIFY(!q.active());
    q.add("select * from NoSuchTable");
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    try {
        q.open();
    } catch (const DbError& e) {
        QVERIFY(e.message().contains("NoSuchTable"));
    }
}

void TestData::fieldsAreReadWithoutRegardToCase() {
    CatalogFixture f;
    TQuery q(f.db(), "Q");
    q.add("select [Index], Name from enterprise order by [Index]");
    q.open();
    QCOMPARE(q.asInteger("index"), 1);
    QCOMPARE(q.asString("NAME"), QString("Не указано"));
    QVERIFY_THROWS_EXCEPTION(DbError, q.value("Address"));
}

// Query objects read SQLite directly; every kind of value comes out as the Qt driver gives it.
void TestData::valuesAreThoseTheDriverGives() {
    CatalogFixture f;
    const QString sql = "select 42 as i, 9007199254740993 as big, 2.5 as r, null as n, "
                        "'Вал O''Neil' as t, x'00ff' as b, '' as e, Price from Price limit 1";
    TQuery q(f.db(), "Q");
    q.add(sql);
    q.open();
    QSqlQuery driver(f.db().database());
    QVERIFY(driver.exec(sql) && driver.next());
    QCOMPARE(q.fieldNames().size(), driver.record().count());
    for (int c = 0; c < driver.record().count(); ++c) {
        QCOMPARE(q.fieldNames()[c], driver.record().fieldName(c));
        QCOMPARE(q.cell(0, c).typeId(), driver.value(c).typeId());
        QCOMPARE(q.cell(0, c).isNull(), driver.value(c).isNull());
        QCOMPARE(q.cell(0, c), driver.value(c));
    }
    // Errors carry SQLite's words; a second statement in one text is refused.
    try {
        q.setText({"select * from NoSuchTable"});
        q.open();
        QFAIL("a missing table was read");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains("no such table: NoSuchTable"), qPrintable(e.message()));
    }
    q.setText({"select 1; select 2"});
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    q.setText({"select 1;"});
    q.open();
    QCOMPARE(q.recordCount(), 1);
}

namespace {

// The numbers 1..count, one row each.
QString numbers(int count) {
    return QString("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                   "select i from n")
        .arg(count);
}

} // namespace

// An incremental query reads its first rows on opening; whatever needs a later row reads on to
// it, and the grid's model grows with the rows read.
void TestData::incrementalResultReadsOnDemand() {
    CatalogFixture f;
    TQuery q(f.db(), "Q");
    QueryModel model(&q);
    model.setColumns({{"i", "i", 64, QColor()}});
    QSignalSpy appended(&q, &TQuery::rowsAppended);
    q.setIncremental(100);
    q.setText({numbers(1000)});
    q.open();
    QCOMPARE(q.rowsRead(), 100);
    QVERIFY(!q.complete());
    QCOMPARE(model.rowCount(), 100);
    QVERIFY(model.canFetchMore(QModelIndex()));
    QCOMPARE(q.asInteger("i"), 1);

    q.moveTo(149);
    QCOMPARE(q.asInteger("i"), 150);
    QCOMPARE(q.rowsRead(), 150);
    QCOMPARE(model.rowCount(), 150);
    q.next();
    QCOMPARE(q.asInteger("i"), 151);
    QVERIFY(!q.eof());
    model.fetchMore(QModelIndex());
    QCOMPARE(model.rowCount(), q.rowsRead());

    QCOMPARE(q.recordCount(), 1000);
    QVERIFY(q.complete());
    QVERIFY(!model.canFetchMore(QModelIndex()));
    QCOMPARE(model.rowCount(), 1000);
    QCOMPARE(model.data(model.index(999, 0), Qt::DisplayRole).toString(), QString("1000"));
    // The rows came in order, each once.
    int next = 100;
    for (const QList<QVariant>& a : appended) {
        QCOMPARE(a[0].toInt(), next);
        next = a[1].toInt() + 1;
    }
    QCOMPARE(next, 1000);

    // The last row is the last of the whole result; so is the end of stepping.
    q.open();
    q.last();
    QCOMPARE(q.asInteger("i"), 1000);
    q.open();
    QCOMPARE(q.moveBy(5000), 999);
    QVERIFY(q.eof());
    q.open();
    q.moveTo(99);
    q.next();
    QCOMPARE(q.asInteger("i"), 101);
    // A result smaller than the first rows is read whole at once.
    q.setText({numbers(30)});
    q.open();
    QVERIFY(q.complete());
    QCOMPARE(q.rowsRead(), 30);
}

void TestData::incrementalResultIsReadWhileIdle() {
    CatalogFixture f;
    TQuery q(f.db(), "Q");
    q.setIncremental(10);
    q.setText({numbers(20000)});
    q.open();
    QVERIFY(!q.complete());
    for (int turn = 0; turn < 100000 && !q.complete(); ++turn)
        QCoreApplication::processEvents();
    QVERIFY(q.complete());
    QCOMPARE(q.rowsRead(), 20000);
    QCOMPARE(q.cell(19999, 0).toInt(), 20000);
}

// A statement must not read a table that changes under it, and VACUUM refuses to run beside an
// open one: anything that writes first reads the rest of an open result.
void TestData::writesWaitForTheRestOfAResult() {
    CatalogFixture f;
    f.exec("create table t (i integer)");
    f.exec(QString("insert into t ") + numbers(500));
    const QString backup = f.dir() + "/copy.mdb";
    const std::vector<std::pair<const char*, std::function<void()>>> writes = {
        {"statement", [&] { f.exec("delete from t where i > 10"); }},
        {"transaction",
         [&] {
             Transaction t(f.db());
             f.exec("update t set i = -i");
             t.commit();
         }},
        {"backup", [&] { f.exec("vacuum into " + Sql::quote(backup)); }},
    };
    for (const auto& w : writes) {
        f.exec("delete from t");
        f.exec(QString("insert into t ") + numbers(500));
        TQuery q(f.db(), "Q");
        q.setIncremental(50);
        q.setText({"select i from t order by i"});
        q.open();
        QVERIFY(!q.complete());
        w.second();
        QVERIFY2(q.complete(), w.first);
        QCOMPARE(q.rowsRead(), 500);
        QCOMPARE(q.cell(499, 0).toInt(), 500);
    }
    QVERIFY(QFile::exists(backup));
}

void TestData::failureWhileReadingTheRestKeepsTheRowsRead() {
    CatalogFixture f;
    TQuery q(f.db(), "Q");
    QSignalSpy failed(&q, &TQuery::readFailed);
    q.setIncremental(100);
    // The catalogue's like refuses a longer escape: row 300 fails.
    q.setText({"select i, like('a', 'a', case when i = 300 then 'xx' else 'x' end) as l from (" +
               numbers(1000) + ")"});
    q.open();
    QCOMPARE(q.recordCount(), 299);
    QVERIFY(q.complete());
    QCOMPARE(failed.count(), 1);
    QVERIFY2(failed[0][0].toString().contains("ESCAPE"), qPrintable(failed[0][0].toString()));
    QCOMPARE(q.cell(298, 0).toInt(), 299);
}

void TestData::duplicateDisplayFieldIsRefused() {
    CatalogFixture f;
    TQuery q(f.db(), "QOrder");
    q.addField({"QOrderPrice", "Price", "0.00"});
    QVERIFY_THROWS_EXCEPTION(DbError, q.addField({"QOrderPrice", "Price", "0.00"}));
    QCOMPARE(int(q.fields().size()), 1);
}

void TestData::displayFormats() {
    CatalogFixture f;
    TQuery q(f.db(), "Q");
    q.addField({"QV", "V", "0.000"});
    q.addField({"QPrice", "Price", "0.00"});
    q.add("select V, Price, Name_P from forFind where N='50.12.003-1'");
    q.open();
    QCOMPARE(q.displayText("V"), QString("0,125"));
    QCOMPARE(q.displayText("Price"), QString("10,01"));
    QCOMPARE(q.asString("Price"), QString("10,005"));
    QCOMPARE(q.displayText("Name_P"), QString("Втулка"));
    QCOMPARE(Fmt::floatToStr(0.1 + 0.2), QString("0,3"));
    QCOMPARE(Fmt::floatToStr(1234567), QString("1234567"));
    QCOMPARE(Fmt::formatFloat("0.00", 1200.5), QString("1200,50"));
}

void TestData::nearestRoundsHalvesToEven_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("rounded");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("1200.6") << 1200.6 << 1201.0;
    QTest::newRow("0.4") << 0.4 << 0.0;
}

void TestData::nearestRoundsHalvesToEven() {
    QFETCH(double, x);
    QFETCH(double, rounded);
    QCOMPARE(Fmt::nearest(x), rounded);
}

void TestData::todayStr_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("text");
    QTest::newRow("leading zeros") << QDate(2003, 3, 5) << "05.03.2003";
    QTest::newRow("two digits") << QDate(2026, 12, 10) << "10.12.2026";
    QTest::newRow("first of january") << QDate(2000, 1, 1) << "01.01.2000";
}

void TestData::todayStr() {
    QFETCH(QDate, day);
    QFETCH(QString, text);
    QCOMPARE(TodayStr(day), text);
}

void TestData::datesAreStoredAsIso() {
    QCOMPARE(Dialect::dateLiteral("05.03.2003"), QString("'2003-03-05'"));
    QCOMPARE(Dialect::shownDate("2003-03-05"), QString("05.03.2003"));
    QVERIFY_THROWS_EXCEPTION(CatalogError, Dialect::dateLiteral("31.02.2003"));
    CatalogFixture f(false);
    for (const char* d : {"05.03.2003", "28.02.2003", "01.04.2003"})
        f.exec(
            QString("insert into History (N, Date_) values (1, %1)").arg(Dialect::dateLiteral(d)));
    QSqlQuery q(f.db().database());
    q.prepare("select count(*) from History where Date_ between :DateF and :DateL");
    q.bindValue(":DateF", Dialect::isoDate("01.03.2003"));
    q.bindValue(":DateL", Dialect::isoDate("31.03.2003"));
    QVERIFY(q.exec() && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
}

void TestData::refusesFilesThatAreNoCatalogue() {
    QTemporaryDir dir;
    const QString path = dir.filePath("base.mdb");
    QVERIFY_THROWS_EXCEPTION(FileError, TDM{dir.path()});
    QFile junk(path);
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray("\0\1\0\0Standard Jet DB\0", 19) + QByteArray(2000, 'x'));
    junk.close();
    try {
        TDM dm(dir.path());
        QFAIL("an Access file was opened");
    } catch (const FileError& e) {
        QVERIFY(e.message().contains("не является базой данных каталога"));
    }
    QFile::remove(path);
    {
        Connection empty(path, true);
        empty.exec("create table t (x)");
    }
    try {
        TDM dm(dir.path());
        QFAIL("a database without the catalogue's tables was opened");
    } catch (const FileError& e) {
        QVERIFY(e.message().contains("Modif"));
    }
}

void TestData::dataModuleDirectories() {
    CatalogFixture f;
    TDM dm(f.dir());
    QCOMPARE(dm.AppDir, QDir(f.dir()).absolutePath() + "/");
    QCOMPARE(dm.PicDir, dm.AppDir + "PIC/");
    QCOMPARE(dm.HelpFile, dm.AppDir + "catalog.html");
    QVERIFY(dm.Qssp.active());
    QCOMPARE(dm.QOrder.text(), QString("select * from Order_"));
}

CATALOG_TEST_MAIN(TestData)
#include "tst_data.moc"
