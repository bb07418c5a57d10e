// The spreadsheet layer: cell names, the sheet model, CSV, and .xlsx files read back by a real
// spreadsheet reader that recalculates the formulas.
#include "data/dberror.h"
#include "export/workbook.h"
#include "support/testmain.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Sheet;

namespace {

// A priced list the way the basket export lays it out: lines, a VAT formula per price, totals.
// Rows: 1 heading, 2..3 lines, 5 totals; prices in F and G, and a second pair far to the right
// (AA, AB) to show column names past Z.
void priceList(Workbook& book) {
    Worksheet& s = book.activeSheet();
    const QStringList heads{"№", "Номер", "Наименование", "Кол-во", "Вес", "Цена", "Цена с НДС"};
    for (int c = 0; c < heads.size(); ++c)
        s.range(cellName(c + 1, 1), cellName(c + 1, 1)).setValue(heads[c]);
    s.range("AA1", "AA1").setValue(QStringLiteral("Опт"));
    s.range("AB1", "AB1").setValue(QStringLiteral("Опт с НДС"));
    struct L {
        int n;
        QString id, name;
        int k;
        double v, price, wholesale;
    };
    const QList<L> lines{{1, "50-1002010", "Блок цилиндров; в сборе", 2, 95.5, 1234.56, 1000},
                         {2, "ИЗ-12.001", "Шайба \"пружинная\"", 10, 0.012, 3.3, 2}};
    for (int i = 0; i < lines.size(); ++i) {
        const int r = i + 2;
        const L& l = lines[i];
        s.range(cellName(1, r), cellName(1, r)).setValue(l.n);
        s.range(cellName(2, r), cellName(2, r)).setValue(l.id);
        s.range(cellName(3, r), cellName(3, r)).setValue(l.name);
        s.range(cellName(4, r), cellName(4, r)).setValue(l.k);
        s.range(cellName(5, r), cellName(5, r)).setValue(l.v);
        s.range(cellName(6, r), cellName(6, r)).setValue(l.price);
        s.range(cellName(7, r), cellName(7, r))
            .setFormula(QStringLiteral("=F%1*(100+20)/100").arg(r), l.price * 1.2);
        s.range(QStringLiteral("AA%1").arg(r), QStringLiteral("AA%1").arg(r)).setValue(l.wholesale);
        s.range(QStringLiteral("AB%1").arg(r), QStringLiteral("AB%1").arg(r))
            .setFormula(QStringLiteral("=AA%1*(100+20)/100").arg(r), l.wholesale * 1.2);
    }
    s.range("D5", "D5").setValue(QStringLiteral("ИТОГО"));
    s.range("D5", "D5").setBold(true);
    const double totals[] = {95.5 * 2 + 0.012 * 10, 1234.56 * 2 + 3.3 * 10,
                             (1234.56 * 2 + 3.3 * 10) * 1.2};
    for (int c = 5; c <= 7; ++c) {
        const QString x = columnName(c);
        s.range(cellName(c, 5), cellName(c, 5))
            .setFormula("=" + x + "2*D2+" + x + "3*D3", totals[c - 5]);
    }
    s.range("AB5", "AB5").setFormula("=AB2*D2+AB3*D3", (1000 * 2 + 2 * 10) * 1.2);
    s.range("A1", "G1").setBold(true);
    s.range("A1", "G1").setInteriorColor(QColor(198, 195, 198));
    s.range("B2", "C5").setNumberFormat("@");
    s.range("E2", "E5").setNumberFormatLocal("0,000");
    s.range("F2", "AB5").setNumberFormatLocal("0,00");
    s.range("A1", "A5").autoFitColumns();
    s.setColumnWidth(2, 14);
    s.setColumnWidth(3, 25);
    Range lines3 = s.range("A1", "G3");
    lines3.select();
    for (int b = EdgeLeft; b <= InsideHorizontal; ++b)
        s.selection().setBorder(b, Continuous, Thin, ColorIndexAutomatic);
    s.range("A1", "A1").select();
}

QString ssconvert() {
    return QStandardPaths::findExecutable("ssconvert");
}

// The sheet as a recalculating reader sees it, as CSV lines.
QStringList recalculated(const QString& xlsx, const QString& dir) {
    QProcess p;
    const QString csv = dir + "/out.csv";
    p.start(ssconvert(),
            {"--recalc", "-T", "Gnumeric_stf:stf_assistant", "-O", "format=preserve", xlsx, csv});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {QString::fromUtf8(p.readAllStandardError())};
    QFile f(csv);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestWorkbook : public QObject {
    Q_OBJECT
private slots:
    void columnNames_data();
    void columnNames();
    void bordersOfABlock();
    void localNumberFormat();
    void csvShowsWhatTheSheetShows();
    void xlsxRecalculatedByAReader();
    void xlsxCachedValuesWithoutRecalculation();
    void unwritablePathNamesTheFile();
};

void TestWorkbook::columnNames_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("name");
    QTest::newRow("A") << 1 << "A";
    QTest::newRow("Z") << 26 << "Z";
    QTest::newRow("AA") << 27 << "AA";
    QTest::newRow("AB") << 28 << "AB";
    QTest::newRow("AZ") << 52 << "AZ";
    QTest::newRow("BA") << 53 << "BA";
    QTest::newRow("ZZ") << 702 << "ZZ";
    QTest::newRow("AAA") << 703 << "AAA";
}

void TestWorkbook::columnNames() {
    QFETCH(int, column);
    QFETCH(QString, name);
    QCOMPARE(columnName(column), name);
    int c = 0, r = 0;
    QVERIFY(parseCell(name + "12", &c, &r));
    QCOMPARE(c, column);
    QCOMPARE(r, 12);
}

void TestWorkbook::bordersOfABlock() {
    Workbook book;
    Worksheet& s = book.activeSheet();
    Range r = s.range("B2", "C3");
    for (int b : {EdgeLeft, EdgeTop, EdgeBottom, EdgeRight, InsideVertical})
        r.setBorder(b);
    auto sides = [&](const QString& cell) {
        int c = 0, row = 0;
        parseCell(cell, &c, &row);
        QString out;
        for (const BorderSide& b : s.cell(c, row)->borders)
            out += b.lineStyle == Continuous ? '1' : '0';
        return out; // left, top, bottom, right
    };
    QCOMPARE(sides("B2"), QStringLiteral("1101"));
    QCOMPARE(sides("C2"), QStringLiteral("1101"));
    QCOMPARE(sides("B3"), QStringLiteral("1011"));
    r.setBorder(InsideHorizontal);
    QCOMPARE(sides("B2"), QStringLiteral("1111"));
    QCOMPARE(sides("C3"), QStringLiteral("1111"));
    QVERIFY_THROWS_EXCEPTION(CatalogError, s.range("B2", "1C"));
}

void TestWorkbook::localNumberFormat() {
    Workbook book;
    Worksheet& s = book.activeSheet();
    s.range("A1", "A1").setNumberFormatLocal("0,000");
    s.range("A2", "A2").setNumberFormatLocal("# ##0,00\" руб,\"");
    QCOMPARE(s.cell(1, 1)->numberFormat, QStringLiteral("0.000"));
    QCOMPARE(s.cell(1, 2)->numberFormat, QStringLiteral("#,##0.00\" руб,\""));
}

void TestWorkbook::csvShowsWhatTheSheetShows() {
    Workbook book;
    priceList(book);
    QTemporaryDir dir;
    const QString path = dir.filePath("заказ.csv");
    book.saveCsv(path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    const QString gap = QString(";").repeated(20); // H .. Z are empty
    QCOMPARE(lines.value(0),
             "№;Номер;Наименование;Кол-во;Вес;Цена;Цена с НДС" + gap + "Опт;Опт с НДС");
    QCOMPARE(lines.value(1), "1;50-1002010;\"Блок цилиндров; в сборе\";2;95,500;1234,56;1481,47" +
                                 gap + "1000,00;1200,00");
    QCOMPARE(lines.value(2),
             "2;ИЗ-12.001;\"Шайба \"\"пружинная\"\"\";10;0,012;3,30;3,96" + gap + "2,00;2,40");
    QCOMPARE(lines.value(3), QString(";").repeated(27));
    QCOMPARE(lines.value(4), ";;;ИТОГО;191,120;2502,12;3002,54" + gap + ";2424,00");
}

void TestWorkbook::xlsxRecalculatedByAReader() {
    if (ssconvert().isEmpty()) QSKIP("ssconvert (gnumeric) is not installed: no reader to check");
    Workbook book;
    priceList(book);
    // A cached value that differs from the formula's: the reader must recalculate it.
    book.activeSheet().range("G3", "G3").setFormula("=F3*(100+20)/100", -1);
    QTemporaryDir dir;
    const QString path = dir.filePath("заказ.xlsx");
    book.saveXlsx(path);
    const QStringList csv = recalculated(path, dir.path());
    const QString gap = QString(",").repeated(20);
    QCOMPARE(csv.value(0),
             "№,Номер,Наименование,Кол-во,Вес,Цена,\"Цена с НДС\"" + gap + "Опт,\"Опт с НДС\"");
    QCOMPARE(csv.value(1), "1,50-1002010,\"Блок цилиндров; в сборе\",2,95.500,1234.56,1481.47" +
                               gap + "1000.00,1200.00");
    QCOMPARE(csv.value(2),
             "2,ИЗ-12.001,\"Шайба \"\"пружинная\"\"\",10,0.012,3.30,3.96" + gap + "2.00,2.40");
    QCOMPARE(csv.value(3), QString(",").repeated(27));
    QCOMPARE(csv.value(4), ",,,ИТОГО,191.120,2502.12,3002.54" + gap + ",2424.00");
}

void TestWorkbook::xlsxCachedValuesWithoutRecalculation() {
    if (ssconvert().isEmpty()) QSKIP("ssconvert (gnumeric) is not installed: no reader to check");
    Workbook book;
    // A cached value the formula would not give: a reader that does not recalculate shows it.
    book.activeSheet().range("A1", "A1").setValue(2);
    book.activeSheet().range("B1", "B1").setFormula("=A1*10", 777);
    QTemporaryDir dir;
    const QString path = dir.filePath("cached.xlsx");
    book.saveXlsx(path);
    QProcess p;
    p.start(ssconvert(), {path, dir.filePath("cached.csv")});
    QVERIFY(p.waitForFinished(60000));
    QFile f(dir.filePath("cached.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()).trimmed(), QStringLiteral("2,777"));
}

void TestWorkbook::unwritablePathNamesTheFile() {
    Workbook book;
    priceList(book);
    const QString path = "/nonexistent-directory/заказ.xlsx";
    for (int kind = 0; kind < 2; ++kind) {
        try {
            kind == 0 ? book.saveXlsx(path) : book.saveCsv(path);
            QFAIL("saved into a directory that does not exist");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains(path), qPrintable(e.message()));
        }
    }
}

CATALOG_TEST_MAIN(TestWorkbook)
#include "tst_workbook.moc"
