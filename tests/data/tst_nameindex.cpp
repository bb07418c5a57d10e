// The index of part names: kept by the catalogue's triggers, made on first open, left alone
// where it cannot be made, and used by name searches only where the like would find the same.
#include "data/connection.h"
#include "data/datamod.h"
#include "data/dialect.h"
#include "data/nameindex.h"
#include "data/sql.h"
#include "data/tquery.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <QSqlQuery>

namespace {

QStringList column(Connection& db, const QString& sql) {
    QSqlQuery q(db.database());
    if (!q.exec(sql)) return {"error: " + sql};
    QStringList out;
    while (q.next())
        out << q.value(0).toString() + "|" + q.value(1).toString();
    return out;
}

// The index's rows beside what it should hold: one per Detail row, the name folded.
void indexMatchesDetail(Connection& db) {
    const QStringList index =
        column(db, "select N_f, Name from DetailNames order by N_f, Name, rowid");
    const QStringList detail =
        column(db, "select N_f, foldcase(Name) from Detail order by N_f, foldcase(Name), rowid");
    QCOMPARE(index, detail);
}

QStringList numbersFound(Connection& db, const QString& pattern) {
    TQuery q(db, "q");
    q.setText(
        {"select N_f from Find where (Name LIKE " + Sql::quote(pattern) + ")", "order by N_f"});
    q.open();
    QStringList out;
    for (; !q.eof(); q.next())
        out << q.asString("N_f");
    return out;
}

} // namespace

class TestNameIndex : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void triggersKeepTheIndex();
    void matchQuery_data();
    void matchQuery();
    void rewrite_data();
    void rewrite();
    void madeOnFirstOpenWithProgress();
    void catalogueThatCannotBeWrittenIsSearchedWithoutIt();
};

void TestNameIndex::triggersKeepTheIndex() {
    CatalogFixture f;
    indexMatchesDetail(f.db());
    // Duplicates, short and empty names, NULL, quotes and apostrophes.
    f.addPart(1, "70-1", "Болт \"М10\" д'Артаньяна");
    f.addPart(1, "70-1", "Болт \"М10\" д'Артаньяна");
    f.addPart(2, "70-2", "Ос");
    f.addPart(2, "70-3", "");
    f.exec("insert into Detail (N_f, N, modif) values ('703', '70-3', 3)");
    indexMatchesDetail(f.db());
    f.exec("delete from Detail where rowid = (select max(rowid) from Detail where N_f = '701')");
    f.exec("update Detail set Name = 'ВТУЛКА ДЛИННАЯ' where N_f = '702'");
    f.exec("update Detail set N_f = '709' where N_f = '703' and Name is null");
    f.exec("delete from Detail where Name = ''");
    indexMatchesDetail(f.db());
    QCOMPARE(f.scalar("select count(*) from Detail where N_f = '701'").toInt(), 1);
    f.exec("delete from Detail");
    QCOMPARE(f.scalar("select count(*) from DetailNames").toInt(), 0);
}

void TestNameIndex::matchQuery_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("query");
    QTest::newRow("infix") << "%ВТУЛКА%"
                           << "\"втулка\"";
    QTest::newRow("prefix, Latin") << "Bolt M%"
                                   << "\"bolt m\"";
    QTest::newRow("one character unknown") << "%кольц_о%"
                                           << "\"кольц\"";
    QTest::newRow("several runs") << "%втулка%ось_и%"
                                  << "\"втулка\" AND \"ось\"";
    QTest::newRow("double quote") << "%\"М10\"%"
                                  << "\"\"\"м10\"\"\"";
    QTest::newRow("apostrophe") << "%д'Ар%"
                                << "\"д'ар\"";
    QTest::newRow("two characters") << "%ос%"
                                    << "";
    QTest::newRow("runs too short") << "%ab_cd%e"
                                    << "";
}

void TestNameIndex::matchQuery() {
    QFETCH(QString, pattern);
    QFETCH(QString, query);
    QCOMPARE(NameIndex::matchQuery(pattern), query);
}

void TestNameIndex::rewrite_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("indexed");
    const QString search = "select * from forFind where (N_f in (select N_f from Find where "
                           "((modif=1)) AND (Name LIKE '%втулка%'))) AND ((modif=1))";
    QTest::newRow("search statement") << search << true;
    QTest::newRow("alternatives") << "select N_f from Find where ((Name LIKE 'abc%') OR (Name "
                                     "LIKE '%вал%'))"
                                  << true;
    QTest::newRow("forFind") << "select * from forFind where Name like '%втулка%'" << true;
    QTest::newRow("standardized items")
        << "select * from STD where (Name LIKE '%втулка%')" << false;
    QTest::newRow("short pattern") << "select N_f from Find where (Name LIKE '%ос%')" << false;
    QTest::newRow("one part's occurrences")
        << "select distinct * from Find where (Name LIKE '%втулка%') and N_f='5012' and modif=1"
        << false;
    QTest::newRow("in the select list") << "select Name LIKE '%втулка%' from Find" << false;
    QTest::newRow("inside a literal")
        << "select * from Find where N = 'Name LIKE ''%abc%'''" << false;
}

void TestNameIndex::rewrite() {
    QFETCH(QString, sql);
    QFETCH(bool, indexed);
    const QString ran = Dialect::indexFriendly(sql, true);
    QCOMPARE(ran.contains("DetailNames match"), indexed);
    QCOMPARE(Dialect::indexFriendly(sql, false), sql);
}

void TestNameIndex::madeOnFirstOpenWithProgress() {
    CatalogFixture f;
    for (int i = 0; i < 300; ++i)
        f.addPart(1 + i % 3, QString("80-%1").arg(i), QString("Втулка %1").arg(i));
    f.exec("drop trigger DetailNamesUpdate");
    QVERIFY(!NameIndex::present(f.db()));
    std::vector<std::pair<int, int>> steps;
    TDM dm(f.dir(), [&steps](int done, int total) { steps.emplace_back(done, total); });
    QVERIFY(dm.Database->nameIndex);
    QVERIFY(NameIndex::present(f.db()));
    indexMatchesDetail(f.db());
    const int total = f.scalar("select count(*) from Detail").toInt();
    QVERIFY(steps.size() >= 3);
    QCOMPARE(steps.front(), std::make_pair(0, total));
    QCOMPARE(steps.back(), std::make_pair(total, total));
    // Opened again: nothing to do.
    steps.clear();
    TDM again(f.dir(), [&steps](int done, int total) { steps.emplace_back(done, total); });
    QVERIFY(again.Database->nameIndex);
    QVERIFY(steps.empty());
}

void TestNameIndex::catalogueThatCannotBeWrittenIsSearchedWithoutIt() {
    CatalogFixture f;
    f.exec("drop table DetailNames");
    Connection db(f.dir() + "/base.mdb");
    db.exec("pragma query_only=1");
    QVERIFY(!NameIndex::ensure(db));
    QVERIFY(!db.nameIndex);
    QCOMPARE(numbersFound(db, "%втулка%"), QStringList({"50120031", "50120031"}));
}

CATALOG_TEST_MAIN(TestNameIndex)
#include "tst_nameindex.moc"
