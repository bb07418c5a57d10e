// The automatic price update from a supplier's table written by shapelib in code page 866.
#include "data/datamod.h"
#include "data/dberror.h"
#include "settings/pricetable.h"
#include "settings/priceupdate.h"
#include "support/fixture.h"
#include "support/suppliertable.h"
#include "support/testmain.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>

namespace {

QStringList select(CatalogFixture& f, const QString& sql) {
    return tableRows(f, sql);
}

const PriceUpdate::Mapping Mapping{0, 1, 2, "PriceZ", true};

} // namespace

class TestPriceUpdate : public QObject {
    Q_OBJECT
private slots:
    void updatesAddsAndSkips();
    void withoutAppendNoPartIsAdded();
    void brokenRowWritesNothing();
    void databaseFaultWritesNothing();
    void unknownPriceColumnWritesNothing();
};

void TestPriceUpdate::updatesAddsAndSkips() {
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, {{"50-1002010", "Блок цилиндров (новый)", "16000,50"},
                      {"50.12.003", "Вал O'Neil", "12,50"},
                      {"ИЗ-99", "Пробка", ""},
                      {"50-1002015", "Гильза", "не указана"},
                      {"", "Без номера", "5"},
                      {"50.12.003", "Вал O'Neil", "13"}});
    TDM dm(f.dir());
    const PriceTable table(path);
    QList<int> steps;
    const PriceUpdate::Counts c =
        PriceUpdate::run(dm, table, Mapping, [&](int done) { steps << done; });
    QCOMPARE(steps, QList<int>({1, 2, 3, 4, 5, 6}));
    QCOMPARE(c.updated, 2); // the existing row, and the repeated number
    QCOMPARE(c.added, 2);
    QCOMPARE(c.skipped, 2);
    QCOMPARE(c.parts, 2);
    // The other price column of an existing row stays as it was.
    QCOMPARE(select(f, "select ID_P, Name_P, Price, PriceZ from Price where ID_P in "
                       "('50-1002010', '50.12.003', 'ИЗ-99', '50-1002015') order by ID_P"),
             QStringList({"50-1002010|Блок цилиндров (новый)|15000|16000.5",
                          "50-1002015|Гильза цилиндра|100|90", "50.12.003|Вал O'Neil|NULL|13",
                          "ИЗ-99|Пробка|NULL|0"}));
    QCOMPARE(select(f, "select modif, N_f, N, Name from Detail where modif = 0 order by N"),
             QStringList({"0|5012003|50.12.003|Вал O'Neil", "0|ИЗ99|ИЗ-99|Пробка"}));
    QCOMPARE(select(f, "select SE_f, SE, Picture, Position, Quantity, remN from DataTab "
                       "where N_f = '5012003'"),
             QStringList({" | |0|0|0|0"}));
}

void TestPriceUpdate::withoutAppendNoPartIsAdded() {
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, {{"50.12.003", "Вал", "1"}});
    TDM dm(f.dir());
    PriceUpdate::Mapping m = Mapping;
    m.append = false;
    m.field = "Price";
    QCOMPARE(PriceUpdate::run(dm, PriceTable(path), m).added, 1);
    QCOMPARE(f.scalar("select count(*) from Detail where modif = 0").toInt(), 0);
    QCOMPARE(f.scalar("select Price from Price where ID_P = '50.12.003'").toDouble(), 1.0);
}

void TestPriceUpdate::brokenRowWritesNothing() {
    CatalogFixture f;
    const QString path = f.dir() + "/big.dbf";
    QList<Row> rows;
    const int total = 6010;
    for (int i = 1; i <= total; ++i)
        rows << Row{QStringLiteral("77-%1").arg(i), QStringLiteral("Деталь %1").arg(i), "1,5"};
    writeTable(path, rows);
    // Cut the file in the middle of a row far into the table.
    const int broken = 6004; // 1-based
    const qint64 header = 32 + 3 * 32 + 1, record = 1 + 20 + 60 + 12;
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(header + (broken - 1) * record + record / 2));
    file.close();
    const QStringList before = select(f, "select * from Price order by ID_P");
    TDM dm(f.dir());
    try {
        PriceUpdate::run(dm, PriceTable(path), Mapping);
        QFAIL("a truncated table was read to its end");
    } catch (const FileError& e) {
        QVERIFY2(e.message().contains(path) && e.message().contains(QString::number(broken)) &&
                     e.message().contains("не изменены"),
                 qPrintable(e.message()));
    }
    QCOMPARE(select(f, "select * from Price order by ID_P"), before);
    QCOMPARE(f.scalar("select count(*) from Detail where modif = 0").toInt(), 0);
}

// A statement refused half-way (here by a trigger, as a full disk or a lock would) undoes the
// rows before it.
void TestPriceUpdate::databaseFaultWritesNothing() {
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, {{"50-1002010", "Блок", "1"}, {"77-1", "Новая", "2"}, {"77-2", "Сбой", "3"}});
    f.exec("create trigger refuse before insert on Price when new.ID_P = '77-2' "
           "begin select raise(abort, 'disk full'); end");
    const QStringList before = select(f, "select * from Price order by ID_P");
    TDM dm(f.dir());
    try {
        PriceUpdate::run(dm, PriceTable(path), Mapping);
        QFAIL("a refused statement was reported as success");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains("disk full") && e.message().contains("не изменены"),
                 qPrintable(e.message()));
    }
    QCOMPARE(select(f, "select * from Price order by ID_P"), before);
    QCOMPARE(f.scalar("select count(*) from Detail where modif = 0").toInt(), 0);
}

void TestPriceUpdate::unknownPriceColumnWritesNothing() {
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, {{"50.12.003", "Вал", "1"}});
    TDM dm(f.dir());
    PriceUpdate::Mapping m = Mapping;
    m.field = "PriceOpt";
    const QVariant before = f.scalar("select count(*) from Price");
    QVERIFY_THROWS_EXCEPTION(DbError, PriceUpdate::run(dm, PriceTable(path), m));
    QCOMPARE(f.scalar("select count(*) from Price"), before);
    // A date or logical field cannot hold prices.
    const QString dated = f.dir() + "/dated.dbf";
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(dated).constData(), "LDID/38");
    DBFAddField(dbf, "NOMER", FTString, 20, 0);
    DBFAddField(dbf, "NAIM", FTString, 20, 0);
    DBFAddField(dbf, "DATA", FTDate, 8, 0);
    DBFWriteStringAttribute(dbf, 0, 0, "50.12.003");
    DBFWriteStringAttribute(dbf, 0, 1, "Val");
    DBFWriteStringAttribute(dbf, 0, 2, "20240101");
    DBFClose(dbf);
    try {
        PriceUpdate::run(dm, PriceTable(dated), Mapping);
        QFAIL("a date field was taken for prices");
    } catch (const FileError& e) {
        QVERIFY2(e.message().contains(dated) && e.message().contains("DATA"),
                 qPrintable(e.message()));
    }
    QCOMPARE(f.scalar("select count(*) from Price"), before);
}

CATALOG_TEST_MAIN(TestPriceUpdate)
#include "tst_priceupdate.moc"
