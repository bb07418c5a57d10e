// The editing wizard's writes: add and change mode with every statement in its order, in one
// transaction, with numbers checked before anything is written.
#include "data/dberror.h"
#include "editing/detsql.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QStringList rows(CatalogFixture& f, const QString& sql) {
    return tableRows(f, sql);
}

std::vector<OrderSql::Price> prices(const QString& price, const QString& priceZ) {
    return {{"Price", "Цена", price}, {"PriceZ", "Цена завода", priceZ}};
}

DetSql::Part newPart() {
    DetSql::Part p;
    p.add = true;
    p.key = "777001";
    p.number = "77-7001";
    p.stored = p.number;
    p.name = "Гайка 'М8'";
    p.okp = "47'1";
    p.weight = "1,25";
    p.assembly = "50-1002010";
    p.quantity = "";
    p.modif = 2;
    p.picture = 1;
    p.note = "Ставить на 'герметик'";
    p.prices = prices("10,5", "");
    return p;
}

QStringList catalogue(CatalogFixture& f) {
    return rows(f, "select 'D', N_f, N, OKP, Name, V, modif from Detail union all "
                   "select 'T', N_f, SE_f, SE, Picture, Position || '/' || Quantity, "
                   "remN || '/' || modif from DataTab union all "
                   "select 'R', remN, Rem, modif, '', '', '' from Rem union all "
                   "select 'P', ID_P, Name_P, Price, PriceZ, '', '' from Price order by 1, 2, 3");
}

} // namespace

class TestDetSql : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addWritesEveryTableAsTyped();
    void changeKeepsOrResetsThePosition_data();
    void changeKeepsOrResetsThePosition();
    void changeToTheTypedWrittenForm();
    void typedNoteWithoutStoredNoteIsAdded();
    void unchangedNoteKeepsItsNumber();
    void failureLeavesTheCatalogueAsItWas();
    void notANumberIsRefusedBeforeWriting_data();
    void notANumberIsRefusedBeforeWriting();
};

void TestDetSql::addWritesEveryTableAsTyped() {
    CatalogFixture f;
    f.addRemark(2, 41, "Прежнее");
    DetSql::write(f.db(), newPart());
    QCOMPARE(rows(f, "select N_f, N, OKP, Name, V, modif from Detail where N_f='777001'"),
             QStringList({"777001|77-7001|47'1|Гайка 'М8'|1.25|2"}));
    // The note is numbered after the highest of its modification; an empty quantity is 0.
    QCOMPARE(rows(f, "select remN, Rem from Rem where modif=2"),
             QStringList({"41|Прежнее", "42|Ставить на 'герметик'"}));
    QCOMPARE(rows(f, "select SE_f, SE, Picture, Position, Quantity, remN, modif from DataTab "
                     "where N_f='777001'"),
             QStringList({"501002010|50-1002010|1|0|0|42|2"}));
    QCOMPARE(rows(f, "select ID_P, Name_P, Price, PriceZ from Price where ID_P='77-7001'"),
             QStringList({"77-7001|Гайка 'М8'|10.5|0"}));
}

void TestDetSql::changeKeepsOrResetsThePosition_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<int>("position");
    QTest::newRow("same drawing") << 1 << 2;
    QTest::newRow("other drawing") << 2 << 0;
}

void TestDetSql::changeKeepsOrResetsThePosition() {
    QFETCH(int, picture);
    QFETCH(int, position);
    CatalogFixture f;
    DetSql::Part p;
    p.key = "501002015";
    p.number = p.stored = "50-1002015";
    p.name = "Гильза";
    p.weight = "2,4";
    p.assembly = "50-1002010";
    p.quantity = "3";
    p.modif = 1;
    p.picture = picture;
    p.prices = prices("120", "110");
    DetSql::write(f.db(), p);
    QCOMPARE(rows(f, "select N, Name, V from Detail where N_f='501002015'"),
             QStringList({"50-1002015|Гильза|2.4"}));
    QCOMPARE(rows(f, "select Picture, Position, Quantity, remN from DataTab where "
                     "N_f='501002015'"),
             QStringList({QString("%1|%2|3|0").arg(picture).arg(position)}));
    QCOMPARE(rows(f, "select Name_P, Price, PriceZ from Price where ID_P='50-1002015'"),
             QStringList({"Гильза|120|110"}));
}

void TestDetSql::changeToTheTypedWrittenForm() {
    CatalogFixture f;
    DetSql::Part p;
    p.key = "50120031";
    p.number = p.stored = "50.12.003.1";
    p.name = "Втулка";
    p.assembly = "50-1002010";
    p.quantity = "2";
    p.modif = 1;
    p.picture = 1;
    p.prices = prices("11", "10");
    DetSql::write(f.db(), p);
    QCOMPARE(rows(f, "select N from Detail where N_f='50120031'"), QStringList({"50.12.003.1"}));
    // The price row is looked up, and here added, under the written form kept.
    QCOMPARE(rows(f, "select ID_P, Price from Price where ID_P like '50.12.003%' order by 1"),
             QStringList({"50.12.003-1|10.005", "50.12.003.1|11"}));
}

void TestDetSql::typedNoteWithoutStoredNoteIsAdded() {
    CatalogFixture f;
    DetSql::Part p;
    p.key = "501002015";
    p.number = p.stored = "50-1002015";
    p.assembly = "50-1002010";
    p.modif = 1;
    p.picture = 1;
    p.note = "Новое примечание";
    DetSql::write(f.db(), p);
    QCOMPARE(rows(f, "select remN, Rem from Rem where modif=1 order by remN"),
             QStringList({"1|Применяется до 2005 г.", "2|Новое примечание"}));
    QCOMPARE(rows(f, "select remN from DataTab where N_f='501002015'"), QStringList({"2"}));
}

void TestDetSql::unchangedNoteKeepsItsNumber() {
    CatalogFixture f;
    DetSql::Part p;
    p.key = "50120031";
    p.number = p.stored = "50.12.003-1";
    p.assembly = "50-1002010";
    p.modif = 1;
    p.picture = 1;
    p.note = "Применяется до 2005 г.";
    DetSql::write(f.db(), p);
    QCOMPARE(rows(f, "select count(*) from Rem"), QStringList({"1"}));
    QCOMPARE(rows(f, "select distinct remN from DataTab where N_f='50120031'"), QStringList({"1"}));
}

void TestDetSql::failureLeavesTheCatalogueAsItWas() {
    CatalogFixture f;
    f.exec("create trigger refuse before insert on Price "
           "begin select raise(abort, 'цена отвергнута'); end");
    const QStringList before = catalogue(f);
    try {
        DetSql::write(f.db(), newPart());
        QFAIL("no error");
    } catch (const CatalogError& e) {
        QVERIFY2(e.message().contains("цена отвергнута"), qPrintable(e.message()));
    }
    QCOMPARE(catalogue(f), before);
}

void TestDetSql::notANumberIsRefusedBeforeWriting_data() {
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("message");
    QTest::newRow("weight") << "1,2,5"
                            << "1"
                            << "Вес введён неверно: «1,2,5» не является числом.";
    QTest::newRow("price") << "1"
                           << "дорого"
                           << "Цена «Цена» введена неверно: «дорого» не является числом.";
}

void TestDetSql::notANumberIsRefusedBeforeWriting() {
    QFETCH(QString, weight);
    QFETCH(QString, price);
    QFETCH(QString, message);
    CatalogFixture f;
    const QStringList before = catalogue(f);
    DetSql::Part p = newPart();
    p.weight = weight;
    p.prices = prices(price, "0");
    try {
        DetSql::write(f.db(), p);
        QFAIL("no error");
    } catch (const CatalogError& e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(catalogue(f), before);
}

CATALOG_TEST_MAIN(TestDetSql)
#include "tst_detsql.moc"
