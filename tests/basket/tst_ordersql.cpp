// The statements of the basket lines and the history, without windows.
#include "basket/ordersql.h"
#include "data/dberror.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <QSqlQuery>

using namespace OrderSql;

class TestOrderSql : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void quantity_data();
    void quantity();
    void pricesAreCheckedBeforeTheStatement();
    void linesQuoteTheirTexts();
    void historyRecordStoresTheDateAsIso();
    void historyFilter();
    void datesCompareAcrossMonthsAndYears();
    void transactionRollsBackWhenLeft();
};

void TestOrderSql::quantity_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value"); // -1: refused
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("zeros") << "000" << 0;
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("one too many") << "2147483648" << -1;
    QTest::newRow("twenty digits") << "99999999999999999999" << -1;
}

void TestOrderSql::quantity() {
    QFETCH(QString, typed);
    QFETCH(int, value);
    if (value >= 0) {
        QCOMPARE(OrderSql::quantity(typed), value);
        return;
    }
    try {
        OrderSql::quantity(typed);
        QFAIL("accepted");
    } catch (const CatalogError& e) {
        QVERIFY2(e.message().contains("слишком велико"), qPrintable(e.message()));
        QVERIFY(e.message().contains("2147483647"));
    }
}

void TestOrderSql::pricesAreCheckedBeforeTheStatement() {
    QCOMPARE(price({"Price", "Цена", "12,5"}), QString("12.5"));
    QCOMPARE(price({"Price", "Цена", ""}), QString("0"));
    for (const char* bad : {"12,5,1", "abc", "1'; delete from Order_; --"}) {
        try {
            insertLine(1, "50-1", "501", "Деталь", 1, "0", {{"Price", "Цена ЮЛЗ", bad}});
            QFAIL(bad);
        } catch (const CatalogError& e) {
            QCOMPARE(e.message(), QString("Цена «Цена ЮЛЗ» введена неверно: «%1» не является "
                                          "числом.")
                                      .arg(bad));
        }
    }
}

void TestOrderSql::linesQuoteTheirTexts() {
    const std::vector<Price> prices = {{"Price", "Цена", "10,5"}, {"PriceZ", "Цена ЮЛЗ", ""}};
    QCOMPARE(insertLine(3, "50-1'2", "501'2", "Кольцо 'А'", 4, "0,125", prices),
             QStringList({"insert into Order_(N, ID, ID_f, Name, K, V, Price, PriceZ)",
                          "values (3, '50-1''2', '501''2', 'Кольцо ''А''', 4, 0.125, 10.5, 0)"}));
    QCOMPARE(addToLine("501'2", 2),
             QStringList({"update Order_", "set K=K+2", "where ID_f='501''2'"}));
    QCOMPARE(changeLine("501", 7, prices),
             QStringList({"update Order_", "set K=7, Price=10.5, PriceZ=0", "where ID_f='501'"}));
    QCOMPARE(findLine("a'b"), QStringList({"select * from Order_", "where ID_f='a''b'"}));
    QCOMPARE(deleteNumbered("History", 5), QStringList({"delete from History", "where N=5"}));
    QCOMPARE(closeUp("Order_", 5), QStringList({"update Order_", "set N=N-1", "where N>5"}));
}

void TestOrderSql::historyRecordStoresTheDateAsIso() {
    QCOMPARE(historyRecord(8, "ООО 'Ромашка'", "Лютик", "05.03.2003", "50-1", "Кольцо 'А'", "3",
                           "2,35", {{"Price", "Цена", "100"}}),
             QStringList({"insert into History(N,Supplier, Buyer, Date_, ID, Name, K, V, Price)",
                          "values(8,'ООО ''Ромашка''','Лютик','2003-03-05','50-1','Кольцо ''А''',"
                          "3,2.35, 100)"}));
    QVERIFY_THROWS_EXCEPTION(CatalogError,
                             historyRecord(1, "", "", "31.02.2003", "", "", "1", "0", {}));
}

void TestOrderSql::historyFilter() {
    const HistoryFilter any{Any, Any, "01.12.2026", "10.12.2026"};
    QCOMPARE(historySelect({"Price", "PriceZ"}, 20, any),
             QStringList({"select *,([Price]*(100+20)/100) as PriceNDS,([PriceZ]*(100+20)/100) "
                          "as PriceZNDS",
                          "from History",
                          "where (Supplier like '%') and (Buyer like '%') and (Date_ between "
                          "'2026-12-01' and '2026-12-10')",
                          "order by N"}));
    // Only the exact "Любой" is any; other texts are patterns as typed, apostrophes doubled.
    const HistoryFilter typed{"любой", "О'Нил%", "01.12.2026", "10.12.2026"};
    const QStringList totals = historyTotals({"Price"}, 0, typed);
    QCOMPARE(totals.first(), QString("SELECT Sum([V]*[K]) AS OB_VES, Sum([Price]*[K]) AS OB_Price, "
                                     "Sum([Price]*(100+0)*[K]/100) AS OB_PriceNDS"));
    QCOMPARE(totals.last(), QString("where (Supplier like 'любой') and (Buyer like 'О''Нил%') and "
                                    "(Date_ between '2026-12-01' and '2026-12-10')"));
    QCOMPARE(enterprises(), QStringList({"select * from enterprise order by [index]"}));
}

void TestOrderSql::datesCompareAcrossMonthsAndYears() {
    CatalogFixture f(false);
    const char* dates[] = {"28.12.2025", "31.12.2025", "01.01.2026",
                           "05.01.2026", "06.01.2026", "15.02.2025"};
    int n = 0;
    for (const char* d : dates)
        f.exec(historyRecord(++n, "П", "К", d, "1", "x", "1", "0", {}).join('\n'));
    QSqlQuery q(f.db().database());
    QVERIFY(q.exec(historySelect({}, 20, {Any, Any, "31.12.2025", "05.01.2026"}).join('\n')));
    QStringList shown;
    while (q.next())
        shown << q.value("Date_").toString();
    QCOMPARE(shown, QStringList({"2025-12-31", "2026-01-01", "2026-01-05"}));
}

void TestOrderSql::transactionRollsBackWhenLeft() {
    CatalogFixture f(false);
    {
        Transaction t(f.db());
        f.exec("insert into History (N) values (1)");
    }
    QCOMPARE(f.scalar("select count(*) from History").toInt(), 0);
    {
        Transaction t(f.db());
        f.exec("insert into History (N) values (1)");
        t.commit();
    }
    QCOMPARE(f.scalar("select count(*) from History").toInt(), 1);
}

CATALOG_TEST_MAIN(TestOrderSql)
#include "tst_ordersql.moc"
