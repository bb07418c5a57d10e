// Supplier price tables written by shapelib's own writer, read back through PriceTable.
#include "data/dberror.h"
#include "settings/pricetable.h"
#include "support/testmain.h"

#include <QStringEncoder>
#include <shapefil.h>

namespace {

struct Row {
    QString number, name, price;
    double price2;
};

const QList<Row> Rows{{"50-1002010", "Блок цилиндров", "12,50", 10.5},
                      {"ИЗ-12.001", "Шайба пружинная O'Neil", "", 0},
                      {"50.12.003", "Вал", "не указана", 3},
                      {"240-1005015", "Прокладка головки блока", "1234.75", 99.99}};

// A table in the given code page ("LDID/38" for 866 in the header, "1251" for a .cpg file).
void writeTable(const QString& path, const char* codePage, const char* encoding,
                const QList<Row>& rows = Rows) {
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), codePage);
    QVERIFY(dbf);
    QCOMPARE(DBFAddField(dbf, "NOMER", FTString, 20, 0), 0);
    QCOMPARE(DBFAddField(dbf, "NAIM", FTString, 60, 0), 1);
    QCOMPARE(DBFAddField(dbf, "CENA", FTString, 12, 0), 2);
    QCOMPARE(DBFAddField(dbf, "CENA2", FTDouble, 12, 2), 3);
    QStringEncoder enc(encoding);
    for (int r = 0; r < rows.size(); ++r) {
        const QByteArray number = enc.encode(rows[r].number);
        const QByteArray name = enc.encode(rows[r].name);
        QVERIFY(DBFWriteStringAttribute(dbf, r, 0, number.constData()));
        QVERIFY(DBFWriteStringAttribute(dbf, r, 1, name.constData()));
        const QByteArray price = enc.encode(rows[r].price);
        QVERIFY(DBFWriteStringAttribute(dbf, r, 2, price.constData()));
        QVERIFY(DBFWriteDoubleAttribute(dbf, r, 3, rows[r].price2));
    }
    DBFClose(dbf);
}

QStringList readAll(const PriceTable& t) {
    QStringList out;
    for (int r = 0; r < t.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < int(t.columns().size()); ++c)
            cells << t.text(r, c);
        out << cells.join('|');
    }
    return out;
}

const QStringList Expected{
    "50-1002010|Блок цилиндров|12,50|10.50", "ИЗ-12.001|Шайба пружинная O'Neil||0.00",
    "50.12.003|Вал|не указана|3.00", "240-1005015|Прокладка головки блока|1234.75|99.99"};

void truncate(const QString& path, qint64 size) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.resize(size));
}

} // namespace

class TestPriceTable : public QObject {
    Q_OBJECT
private slots:
    void cp866FromHeader();
    void cpgFileWins();
    void parsesPrices_data();
    void parsesPrices();
    void codePageNames_data();
    void codePageNames();
    void truncatedTableStopsAtItsRow();
    void refusesWhatIsNotATable_data();
    void refusesWhatIsNotATable();
};

void TestPriceTable::cp866FromHeader() {
    QTemporaryDir dir;
    const QString path = dir.filePath("price.dbf");
    writeTable(path, "LDID/38", "IBM866");
    QVERIFY(!QFile::exists(dir.filePath("price.cpg")));
    const PriceTable t(path);
    QCOMPARE(t.codePage(), QByteArray("IBM866"));
    QCOMPARE(t.columnNames(), QStringList({"NOMER", "NAIM", "CENA", "CENA2"}));
    QCOMPARE(t.columns()[0].type, 'C');
    QCOMPARE(t.columns()[3].type, 'N');
    QCOMPARE(t.columns()[3].decimals, 2);
    QCOMPARE(t.columnIndex("naim"), 1);
    QCOMPARE(t.columnIndex("nothing"), -1);
    QCOMPARE(readAll(t), Expected);
    QVERIFY(!t.isDeleted(0));
}

void TestPriceTable::cpgFileWins() {
    QTemporaryDir dir;
    const QString path = dir.filePath("price.dbf");
    // The header says 866, the file beside it says 1251, and the texts are in 1251.
    writeTable(path, "LDID/38", "windows-1251");
    QFile cpg(dir.filePath("price.cpg"));
    QVERIFY(cpg.open(QIODevice::WriteOnly));
    cpg.write("1251\n");
    cpg.close();
    const PriceTable t(path);
    QCOMPARE(t.codePage(), QByteArray("windows-1251"));
    QCOMPARE(readAll(t), Expected);
}

void TestPriceTable::parsesPrices_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "12,50" << true << 12.5;
    QTest::newRow("point") << "12.50" << true << 12.5;
    QTest::newRow("empty") << "" << true << 0.0;
    QTest::newRow("blanks") << "   " << true << 0.0;
    QTest::newRow("grouped") << "1 234,5" << true << 1234.5;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("words") << "не указана" << false << 0.0;
    QTest::newRow("two commas") << "12,5,0" << false << 0.0;
    QTest::newRow("infinite") << "inf" << false << 0.0;
}

void TestPriceTable::parsesPrices() {
    QFETCH(QString, text);
    const ParsedPrice p = parsePrice(text);
    QTEST(p.ok, "ok");
    if (p.ok) QTEST(p.value, "value");
}

void TestPriceTable::codePageNames_data() {
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QByteArray>("codec");
    QTest::newRow("header 866") << "LDID/38" << QByteArray("IBM866");
    QTest::newRow("header 1251") << "LDID/201" << QByteArray("windows-1251");
    QTest::newRow("no header code") << "LDID/0" << QByteArray("IBM866");
    QTest::newRow("cpg 866") << "866" << QByteArray("IBM866");
    QTest::newRow("cpg CP1251") << "CP1251" << QByteArray("windows-1251");
    QTest::newRow("cpg utf-8") << "UTF-8" << QByteArray("UTF-8");
    QTest::newRow("nothing") << "" << QByteArray("IBM866");
}

void TestPriceTable::codePageNames() {
    QFETCH(QString, codePage);
    QTEST(codecForCodePage(codePage), "codec");
}

void TestPriceTable::truncatedTableStopsAtItsRow() {
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.dbf");
    writeTable(path, "LDID/38", "IBM866");
    // Header: 32 bytes + 32 per field + terminator; rows: 1 + 20 + 60 + 12 + 12 bytes.
    const qint64 header = 32 + 4 * 32 + 1, record = 105;
    truncate(path, header + 2 * record + 40);
    const PriceTable t(path);
    QCOMPARE(t.rowCount(), 4);
    QCOMPARE(t.text(1, 1), QStringLiteral("Шайба пружинная O'Neil"));
    try {
        t.text(2, 0);
        QFAIL("a row past the end was read");
    } catch (const FileError& e) {
        QVERIFY2(e.message().contains(path) && e.message().contains("строке 3"),
                 qPrintable(e.message()));
    }
}

void TestPriceTable::refusesWhatIsNotATable_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text") << QByteArray("Номер;Наименование;Цена\n1;2;3\n").repeated(20);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header cut") << QByteArray("\x03\x7c\x0c\x0a\x04\x00\x00\x00", 8);
    QTest::newRow("missing") << QByteArray("-");
}

void TestPriceTable::refusesWhatIsNotATable() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.dbf");
    if (content != "-") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    try {
        PriceTable t(path);
        QFAIL("not a table, yet opened");
    } catch (const FileError& e) {
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
    }
}

CATALOG_TEST_MAIN(TestPriceTable)
#include "tst_pricetable.moc"
