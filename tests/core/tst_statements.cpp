// The subsystems' statement builders and the shared state, without windows: this executable
// links the core library alone.
#include "basket/basketsql.h"
#include "data/shared.h"
#include "settings/modifs.h"
#include "viewer/viewersql.h"

#include <QtTest>

class TestStatements : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void viewer_data();
    void viewer();
    void basketWithAndWithoutPrices();
    void settings();
    void modificationState_data();
    void modificationState();
    void searchConditionAndVat();
};

void TestStatements::viewer_data() {
    QTest::addColumn<QStringList>("built");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("markers") << ViewerSql::markers(3, 2)
                             << QStringList{"select distinct *", "from PicPos",
                                            "where (PicPos.Picture=3) and modif=2",
                                            "order by Position"};
    QTest::newRow("part at a position")
        << ViewerSql::partAt(1, 2, 5)
        << QStringList{"select * from Find where (modif=1) and (Picture=2) and (Position=5)"};
    QTest::newRow("assembly on a drawing, quoted")
        << ViewerSql::partOnDrawing(4, "50-10'02")
        << QStringList{"select * from Find where Picture=4 and N='50-10''02'"};
    QTest::newRow("members") << ViewerSql::membersOf(4, "501002010")
                             << QStringList{"select * from Find",
                                            "where (Picture=4) and (SE='501002010')"};
    QTest::newRow("standardized of a modification")
        << ViewerSql::standardOf(2, "5012003")
        << QStringList{"select * from STD where (modif=2) and (N_f='5012003')"};
    QTest::newRow("standardized of any")
        << ViewerSql::standardOf("5012003") << QStringList{"select * from STD where N_f='5012003'"};
    QTest::newRow("tree groups")
        << ViewerSql::treeGroups("((modif=0) OR (modif=1))")
        << QStringList{"select GrMOD.*, (select count(*) from Drawing w where "
                       "w.modif=GrMOD.modif and w.indexGr=GrMOD.indexGr) as Drawings",
                       "from GrMOD where ((modif=0) OR (modif=1))", "order by modif, indexGr"};
    QTest::newRow("tree drawings")
        << ViewerSql::treeDrawings(2, 7)
        << QStringList{"select PicName from PicGr where modif=2 and indexGr=7", "order by PicN"};
}

void TestStatements::viewer() {
    QFETCH(QStringList, built);
    QFETCH(QStringList, expected);
    QCOMPARE(built, expected);
}

void TestStatements::basketWithAndWithoutPrices() {
    QCOMPARE(BasketSql::lines({"Price", "PriceZ"}, 20),
             QStringList({"SELECT *,([Price]*(100+20)/100) AS PriceNDS,([PriceZ]*(100+20)/100) AS "
                          "PriceZNDS",
                          "FROM Order_", "ORDER BY N"}));
    QCOMPARE(BasketSql::lines({}, 20), QStringList({"SELECT *", "FROM Order_", "ORDER BY N"}));
    QCOMPARE(BasketSql::totals({"Price"}, 10),
             QStringList({"SELECT Sum([V]*[K]) AS OB_VES, Sum([Price]*[K]) AS OB_Price, "
                          "Sum([Price]*(100+10)*[K]/100) AS OB_PriceNDS",
                          "FROM Order_"}));
}

void TestStatements::settings() {
    QCOMPARE(Modifs::list(), QStringList({"select * from Modif where modif<>0 order by modif"}));
    QCOMPARE(Modifs::setVisible("М-315'04", true),
             QStringList({"update Modif", "set Visible=True", "where MODName='М-315''04'"}));
    QCOMPARE(Modifs::setVisible("М-315.04", false).at(1), QString("set Visible=False"));
}

void TestStatements::modificationState_data() {
    QTest::addColumn<QVector<bool>>("visible");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("first");
    QTest::newRow("two of three") << QVector<bool>{true, true, false}
                                  << "((modif=0) OR (modif=1) OR (modif=2))"
                                  << QStringList{"A", "B"} << 1;
    QTest::newRow("a later one first")
        << QVector<bool>{false, true, true} << "((modif=0) OR (modif=2) OR (modif=3))"
        << QStringList{"B", "C"} << 2;
    QTest::newRow("none: the common parts only")
        << QVector<bool>{false, false, false} << "((modif=0))" << QStringList{} << 0;
}

void TestStatements::modificationState() {
    QFETCH(QVector<bool>, visible);
    SharedState s;
    QCOMPARE(s.modFilter(), QString("((modif=0))"));
    const QStringList names{"A", "B", "C"};
    QVector<ModifRow> rows;
    for (int i = 0; i < 3; ++i)
        rows.push_back({i + 1, names[i], visible[i], 3 - i});
    s.setModifications(rows);
    QTEST(s.modFilter(), "filter");
    QTEST(s.visibleModifications(), "names");
    QTEST(s.firstVisibleModif(), "first");
    QCOMPARE(s.modPic(), QVector<int>({3, 2, 1}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(s.modificationVisible(i), visible[i]);
    QVERIFY(!s.modificationVisible(-1));
    QVERIFY(!s.modificationVisible(3));
}

void TestStatements::searchConditionAndVat() {
    SharedState s;
    QCOMPARE(s.ndsPercent(), 20);
    QVERIFY(s.searchCondition().isEmpty());
    s.setSearchCondition("where ((modif=0))");
    QCOMPARE(s.searchCondition(), QString("where ((modif=0))"));
}

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
