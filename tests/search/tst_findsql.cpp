// The key form, the search statements and the data layer's index-friendly prefix tests.
#include "app/mainform.h"
#include "data/dialect.h"
#include "search/findsql.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace {

const QString Visible = "((modif=0) OR (modif=1) OR (modif=2))";

QStringList rows(Connection& db, const QString& sql) {
    QSqlQuery q(db.database());
    if (!q.exec(sql)) return {"error: " + sql};
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace

class TestFindSql : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void strToFind_data();
    void strToFind();
    void likePiece_data();
    void likePiece();
    void catalogueStatement();
    void assemblyAlternativesBesideNumber();
    void groupOfListOverAllModifications();
    void standardizedStatementIgnoresAssemblyAndModification();
    void indexFriendly_data();
    void indexFriendly();
    void prefixSearchUsesTheIndexAndFindsTheSameRows();
};

void TestFindSql::strToFind_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("key");
    QTest::newRow("points and dash") << "50.12.003-1"
                                     << "50120031";
    QTest::newRow("blanks") << "50 12 003"
                            << "5012003";
    QTest::newRow("Latin I becomes 1") << "АI-12"
                                       << "А112";
    QTest::newRow("two Latin I") << "II"
                                 << "11";
    QTest::newRow("small i is kept") << "i1"
                                     << "i1";
    QTest::newRow("Cyrillic small ha") << "М10х1,25"
                                       << "М10125";
    QTest::newRow("Cyrillic capital Ha") << "Х5-Х"
                                         << "5";
    QTest::newRow("Latin X and x, brackets") << "iX(5)"
                                             << "i5";
    QTest::newRow("Latin small x") << "2x3"
                                   << "23";
    QTest::newRow("wildcards and alternatives kept") << "50.12*&И?%_"
                                                     << "5012*&И?%_";
    QTest::newRow("empty") << ""
                           << "";
}

void TestFindSql::strToFind() {
    QFETCH(QString, typed);
    QFETCH(QString, key);
    QCOMPARE(TmainForm::StrToFind(typed), key);
}

void TestFindSql::likePiece_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("piece");
    QTest::newRow("prefix") << "N_f"
                            << "5012003*"
                            << " AND (N_f LIKE '5012003%')";
    QTest::newRow("two alternatives") << "N_f"
                                      << "A&B?"
                                      << " AND ((N_f LIKE 'A') OR (N_f LIKE 'B_'))";
    QTest::newRow("leading &") << "N_f"
                               << "&A"
                               << " AND ((N_f LIKE '') OR (N_f LIKE 'A'))";
    QTest::newRow("trailing &") << "SE_f"
                                << "A&"
                                << " AND ((SE_f LIKE 'A') OR (SE_f LIKE ''))";
    QTest::newRow("whole value") << "Name"
                                 << "ВТУЛКА"
                                 << " AND (Name LIKE 'ВТУЛКА')";
    QTest::newRow("apostrophe") << "Name"
                                << "Болт М'10*"
                                << " AND (Name LIKE 'Болт М''10%')";
    QTest::newRow("typed like wildcards stay") << "Name"
                                               << "50%_"
                                               << " AND (Name LIKE '50%_')";
}

void TestFindSql::likePiece() {
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(QString, piece);
    QCOMPARE(FindSql::likePiece(column, value), piece);
}

void TestFindSql::catalogueStatement() {
    FindSql::Criteria c;
    c.modFilter = Visible;
    c.number = "50.12.003*";
    const FindSql::Statement s = FindSql::build(c);
    QCOMPARE(s.condition, "where " + Visible + " AND (N_f LIKE '5012003%')");
    QCOMPARE(s.lines,
             QStringList({"select * from forFind where (N_f in (select N_f from Detail where "
                          "((modif=0) OR (modif=1) OR (modif=2)) AND (N_f LIKE '5012003%') AND "
                          "exists (select * from DataTab d where d.N_f=Detail.N_f and "
                          "d.modif=Detail.modif))) AND ((modif=0) OR (modif=1) OR (modif=2))",
                          "order by N_f, modif"}));

    c.modification = "М-315.04";
    c.group = FindSql::Group{"18", ""};
    const FindSql::Statement g = FindSql::build(c);
    QCOMPARE(g.condition, "where " + Visible +
                              " AND (N_f LIKE '5012003%') AND (MODName='М-315.04') AND "
                              "(GroupN='18')");
    QCOMPARE(g.lines.first(), "select * from forFind where (N_f in (select N_f from Find " +
                                  g.condition + ")) AND " + Visible + " AND (MODName='М-315.04')");
}

void TestFindSql::assemblyAlternativesBesideNumber() {
    FindSql::Criteria c;
    c.modFilter = Visible;
    c.number = "50.12.003-1";
    c.assembly = "50-1002010&50-1002030";
    QCOMPARE(FindSql::build(c).condition,
             "where " + Visible +
                 " AND (N_f LIKE '50120031') AND ((SE_f LIKE '501002010') OR (SE_f LIKE "
                 "'501002030'))");
}

void TestFindSql::groupOfListOverAllModifications() {
    FindSql::Criteria c;
    c.modFilter = Visible;
    c.group = FindSql::Group{"12", "X"};
    const FindSql::Statement s = FindSql::build(c);
    QCOMPARE(s.condition, "where " + Visible + " AND (MODName='X') AND (GroupN='12')");
    QCOMPARE(s.modification, QString(" AND (MODName='X')"));
    QVERIFY(s.lines.first().endsWith(")) AND " + Visible + " AND (MODName='X')"));
}

void TestFindSql::standardizedStatementIgnoresAssemblyAndModification() {
    FindSql::Criteria c;
    c.modFilter = Visible;
    c.standardized = true;
    c.number = "50.12*";
    c.assembly = "50-1002010";
    c.name = "Болт";
    c.modification = "М-315.04";
    c.group = FindSql::Group{"01", ""};
    const FindSql::Statement s = FindSql::build(c);
    QCOMPARE(s.lines,
             QStringList({"select * from STD where " + Visible +
                          " AND (N_f LIKE '5012%') AND (Name LIKE 'Болт') AND " + Visible}));
}

void TestFindSql::indexFriendly_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("ran");
    QTest::newRow("digit prefix")
        << "select N_f from Find where (modif=1) AND (N_f LIKE '5012003%')"
        << "select N_f from Find where (modif=1) AND ((N_f >= '5012003' AND N_f < '5012004' AND "
           "N_f LIKE '5012003%'))";
    QTest::newRow("alternatives, the one with a letter first is left")
        << "where ((SE_f LIKE 'ИЗ12%') OR (SE_f LIKE '50_1'))"
        << "where ((SE_f LIKE 'ИЗ12%') OR ((SE_f >= '50' AND SE_f < '51' AND SE_f LIKE "
           "'50_1')))";
    QTest::newRow("prefix up to the first letter")
        << "where ID_f like '12A%'"
        << "where (ID_f >= '12' AND ID_f < '13' AND ID_f like '12A%')";
    QTest::newRow("apostrophe in the prefix")
        << "where (N_f LIKE '5''1%')"
        << "where ((N_f >= '5''1' AND N_f < '5''2' AND N_f LIKE '5''1%'))";
    QTest::newRow("leading wildcard") << "where (N_f LIKE '%12')"
                                      << "where (N_f LIKE '%12')";
    QTest::newRow("name column") << "where (Name LIKE '12%')"
                                 << "where (Name LIKE '12%')";
    QTest::newRow("qualified column") << "where (t.N_f LIKE '12%')"
                                      << "where (t.N_f LIKE '12%')";
    QTest::newRow("inside a literal") << "where (Name LIKE 'x'' AND N_f LIKE ''1%')"
                                      << "where (Name LIKE 'x'' AND N_f LIKE ''1%')";
    QTest::newRow("bound by an operator before") << "where x = N_f LIKE '1%'"
                                                 << "where x = N_f LIKE '1%'";
    QTest::newRow("followed by an escape") << "where N_f LIKE '1!%' escape '!'"
                                           << "where N_f LIKE '1!%' escape '!'";
}

void TestFindSql::indexFriendly() {
    QFETCH(QString, sql);
    QFETCH(QString, ran);
    QCOMPARE(Dialect::indexFriendly(sql), ran);
}

void TestFindSql::prefixSearchUsesTheIndexAndFindsTheSameRows() {
    CatalogFixture f;
    f.addPart(1, "50.12.003-7", "Втулка малая");
    f.addPart(1, "5O.12.003", "Буква O вместо нуля");
    f.addOccurrence(1, "50.12.003-7", "", 1, 6);
    f.addOccurrence(1, "5O.12.003", "", 1, 7);
    const QString sql = "select N from Find where " + Visible + " AND (N_f LIKE '5012003%')";
    const QStringList plain = rows(f.db(), sql + " order by N");
    QCOMPARE(plain, QStringList({"50.12.003-1", "50.12.003-1", "50.12.003-7"}));
    QCOMPARE(rows(f.db(), Dialect::indexFriendly(sql) + " order by N"), plain);
    QSqlQuery q(f.db().database());
    QVERIFY(q.exec("explain query plan " + Dialect::indexFriendly(sql)));
    QString plan;
    while (q.next())
        plan += q.value(3).toString() + "|";
    QVERIFY2(plan.contains(QRegularExpression("USING INDEX \\w+ \\(N_f>\\? AND N_f<\\?\\)")),
             qPrintable(plan));
}

CATALOG_TEST_MAIN(TestFindSql)
#include "tst_findsql.moc"
