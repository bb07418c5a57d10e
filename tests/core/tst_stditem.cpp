// Standardized items without windows: the illustrations' names and fits, the parameters the
// panel lists and the sheet prints, and the statements.
#include "data/connection.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/tquery.h"
#include "std/stditem.h"
#include "std/stdsql.h"

#include <QTemporaryDir>
#include <QtTest>

using StdItem::Param;
using Params = std::vector<Param>;
Q_DECLARE_METATYPE(Params)

class TestStdItem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pictureNames_data();
    void pictureNames();
    void panelFit_data();
    void panelFit();
    void sheetSize_data();
    void sheetSize();
    void parameters_data();
    void parameters();
    void statements_data();
    void statements();
};

void TestStdItem::pictureNames_data() {
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("expected");
    QTest::newRow("panel, both below 10 and above")
        << StdItem::panelPicture(2, 3, 15) << "2_0315.bmp";
    QTest::newRow("panel, the fallback's own numbers")
        << StdItem::panelPicture(1, 1, 0) << "1_0100.bmp";
    QTest::newRow("panel, 100 written in full")
        << StdItem::panelPicture(3, 100, 7) << "3_10007.bmp";
    QTest::newRow("sheet") << StdItem::sheetPicture(12, 3) << "s1203.bmp";
    QTest::newRow("sheet fallback numbers") << StdItem::sheetPicture(1, 0) << "s0100.bmp";
}

void TestStdItem::pictureNames() {
    QFETCH(QString, built);
    QFETCH(QString, expected);
    QCOMPARE(built, expected);
}

void TestStdItem::panelFit_data() {
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("fitted");
    QTest::newRow("tall: box height, centred across")
        << QSize(400, 300) << QSize(100, 200) << QRect(125, 0, 150, 300);
    QTest::newRow("wide: box width, centred down")
        << QSize(400, 300) << QSize(400, 100) << QRect(0, 100, 400, 100);
    QTest::newRow("the box's shape fills it")
        << QSize(400, 300) << QSize(800, 600) << QRect(0, 0, 400, 300);
    // 301 * 300 / 301 = 300 wide: (401 - 300) / 2 = 50.5, to even 50.
    QTest::newRow("half to even") << QSize(401, 300) << QSize(301, 301) << QRect(50, 0, 300, 300);
}

void TestStdItem::panelFit() {
    QFETCH(QSize, box);
    QFETCH(QSize, picture);
    QFETCH(QRect, fitted);
    QCOMPARE(StdItem::panelFit(box, picture), fitted);
}

void TestStdItem::sheetSize_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("size");
    QTest::newRow("300 x 900") << QSize(300, 900) << QSize(267, 800);
    QTest::newRow("800 x 600") << QSize(800, 600) << QSize(400, 300);
    QTest::newRow("exactly 1 : 2") << QSize(100, 200) << QSize(400, 800);
    QTest::newRow("small pictures grow") << QSize(40, 30) << QSize(400, 300);
}

void TestStdItem::sheetSize() {
    QFETCH(QSize, picture);
    QFETCH(QSize, size);
    QCOMPARE(StdItem::sheetSize(picture), size);
}

void TestStdItem::parameters_data() {
    // Each row: ParamName1..13 and Param1..13 as "name=value" ("" for both empty).
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<Params>("panel");
    QTest::addColumn<Params>("sheet");
    QTest::newRow("1, 2 and 5 filled")
        << QStringList{"d=10", "L=40", "", "", "s=17"}
        << Params{{"d", "10"}, {"L", "40"}, {"s", "17"}} << Params{{"d", "10"}, {"L", "40"}};
    QTest::newRow("3 without a name ends the sheet")
        << QStringList{"d=10", "L=40", "=5", "s=17"}
        << Params{{"d", "10"}, {"L", "40"}, {"", "5"}, {"s", "17"}}
        << Params{{"d", "10"}, {"L", "40"}};
    QTest::newRow("2 named without a value is skipped")
        << QStringList{"d=10", "L=", "s=17", "m=0,5"}
        << Params{{"d", "10"}, {"s", "17"}, {"m", "0,5"}}
        << Params{{"d", "10"}, {"s", "17"}, {"m", "0,5"}};
    QStringList all;
    Params thirteen;
    for (int n = 1; n <= 13; ++n) {
        all << QStringLiteral("p%1=%1").arg(n);
        thirteen.push_back({QStringLiteral("p%1").arg(n), QString::number(n)});
    }
    QTest::newRow("all thirteen") << all << thirteen << thirteen;
}

void TestStdItem::parameters() {
    QFETCH(QStringList, columns);
    QFETCH(Params, panel);
    QFETCH(Params, sheet);
    QTemporaryDir dir;
    const QString path = dir.filePath("base.mdb");
    Schema::createCatalogue(path);
    Connection db(path);
    QString names = "N_f", values = "'1'";
    for (int n = 1; n <= columns.size(); ++n) {
        const QStringList nv = columns[n - 1].split('=');
        if (nv.size() != 2) continue;
        names += QStringLiteral(", ParamName%1, Param%1").arg(n);
        values += ", " + Sql::quote(nv[0]) + ", " + Sql::quote(nv[1]);
    }
    db.exec("insert into STD (" + names + ") values (" + values + ")");
    TQuery q(db, "QSTD");
    q.setText({"select * from STD"});
    q.open();
    QCOMPARE(StdItem::panelParams(q), panel);
    QCOMPARE(StdItem::sheetParams(q), sheet);
}

void TestStdItem::statements_data() {
    QTest::addColumn<QStringList>("built");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("subgroup prefix over every modification")
        << StdSql::bySubgroup("Болт") << QStringList{"select * from STD where PodName LIKE'Болт%'"};
    QTest::newRow("full name, an apostrophe as typed")
        << StdSql::byFullName("Болт М'8")
        << QStringList{"select * from STD where FullName LIKE'Болт М''8%'"};
    QTest::newRow("sheet rows") << QStringList{StdSql::clearSheet(), StdSql::sheetRow("d'", "10"),
                                               StdSql::sheetRows().join(' ')}
                                << QStringList{"delete from stdrep",
                                               "insert into stdrep(paramname,param) "
                                               "values('d''','10')",
                                               "select * from stdrep"};
}

void TestStdItem::statements() {
    QFETCH(QStringList, built);
    QFETCH(QStringList, expected);
    QCOMPARE(built, expected);
}

QTEST_GUILESS_MAIN(TestStdItem)
#include "tst_stditem.moc"
