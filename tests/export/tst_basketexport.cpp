// Export of the basket: the sheet's layout, the file a spreadsheet reader opens, CSV, failures.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "data/sql.h"
#include "data/tquery.h"
#include "export/basketexport.h"
#include "export/workbook.h"
#include "platform/desktop.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QAction>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>

using namespace Sheet;

namespace {

void addLine(CatalogFixture& f, int n, const QString& name, int k, const QString& weight,
             const QString& price, const QString& priceZ) {
    f.exec(QStringLiteral("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values "
                          "(%1, '50-%1', '50%1', %2, %3, %4, %5, %6)")
               .arg(n)
               .arg(Sql::quote(name))
               .arg(k)
               .arg(weight, price, priceZ));
}

// The sheet the export lays out for the fixture's basket under its price columns.
struct Laid {
    Workbook book;
    std::vector<int> gauge;
    Laid(CatalogFixture& f, int nds = 20) {
        TQuery columns(f.db(), "columns");
        std::vector<TDM::PriceColumn> prices;
        columns.setText({"select * from PriceFields"});
        columns.open();
        for (; !columns.eof(); columns.next())
            prices.push_back({columns.asString("FieldName"), columns.asString("Name"),
                              columns.asBoolean("Visible")});
        TQuery lines(f.db(), "lines");
        lines.setText({"select * from Order_ order by N"});
        lines.open();
        int steps = 0;
        BasketExport::fill(book.activeSheet(), prices, lines, nds, [&] { ++steps; });
        gauge.push_back(steps);
    }
    const Worksheet& s() const { return book.activeSheet(); }
    QString formula(const QString& name) const {
        int c = 0, r = 0;
        parseCell(name, &c, &r);
        const Cell* x = s().cell(c, r);
        return x ? x->formula : QString();
    }
    QString text(const QString& name) const {
        int c = 0, r = 0;
        parseCell(name, &c, &r);
        return s().displayText(c, r);
    }
    const Cell* at(const QString& name) const {
        int c = 0, r = 0;
        parseCell(name, &c, &r);
        return s().cell(c, r);
    }
};

QString ssconvert() {
    return QStandardPaths::findExecutable("ssconvert");
}

// The file as a recalculating reader sees it, as CSV lines.
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

// Exports through the toolbar button into `path`; the desktop's opener records what it gets.
QStringList exportTo(ModalScript& script, const QString& path, bool opens = true) {
    QStringList opened;
    Desktop::setOpener([&](const QString& p) {
        opened << p;
        return opens;
    });
    script.file(path);
    mainForm->sbExcel->setEnabled(true);
    mainForm->sbExcel->trigger();
    Desktop::setOpener({});
    return opened;
}

} // namespace

class TestBasketExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layoutOfLinesAndTotals();
    void formulasByNumberOfLines_data();
    void formulasByNumberOfLines();
    void hiddenColumnsLeaveNoGap();
    void noVisiblePriceColumn();
    void moreThanTenPriceColumnsGoBeyondZ();
    void workbookReadByASpreadsheetReader();
    void csvChosenInTheSaveDialog();
    void failuresSayExcelCannotStart();
};

void TestBasketExport::layoutOfLinesAndTotals() {
    CatalogFixture f;
    addLine(f, 1, "Кольцо 'А'", 2, "0.5", "10.5", "NULL");
    addLine(f, 2, "", 3, "NULL", "NULL", "4");
    const Laid l(f);
    const QStringList heading{"№",    "Номер",      "Наименование", "Кол-во",        "Вес",
                              "Цена", "Цена с НДС", "Цена ЮЛЗ",     "Цена ЮЛЗ с НДС"};
    for (int c = 0; c < heading.size(); ++c)
        QCOMPARE(l.s().cell(c + 1, 1)->value.toString(), heading[c]);
    QCOMPARE(l.s().lastColumn(), 9);
    QCOMPARE(l.at("A2")->value.typeId(), QMetaType::Int);
    QCOMPARE(l.at("D2")->value.typeId(), QMetaType::Int);
    QCOMPARE(l.at("E2")->value.typeId(), QMetaType::Double);
    QCOMPARE(l.at("B2")->value.toString(), QString("50-1"));
    QCOMPARE(l.at("C2")->value.toString(), QString("Кольцо 'А'"));
    // Missing values are 0, empty names empty text.
    QCOMPARE(l.at("C3")->value.toString(), QString(""));
    QCOMPARE(l.at("E3")->value.toDouble(), 0.0);
    QCOMPARE(l.at("F3")->value.toDouble(), 0.0);
    QCOMPARE(l.formula("G2"), QString("=F2*(100+20)/100"));
    QCOMPARE(l.formula("I3"), QString("=H3*(100+20)/100"));
    QCOMPARE(l.text("G2"), QString("12.60"));
    QVERIFY(!l.at("A4"));
    QCOMPARE(l.at("D5")->value.toString(), QString("ИТОГО"));
    QVERIFY(l.at("D5")->bold);
    QCOMPARE(l.at("D5")->interior, QColor(198, 195, 198));
    QCOMPARE(l.formula("E5"), QString("=E2*D2+E3*D3"));
    QCOMPARE(l.formula("I5"), QString("=I2*D2+I3*D3"));
    QCOMPARE(l.text("E5"), QString("1.000"));
    QCOMPARE(l.text("F5"), QString("21.00"));
    QCOMPARE(l.text("I5"), QString("14.40"));
    // Formats, widths, borders.
    QVERIFY(l.at("A1")->bold && l.at("I1")->bold);
    QCOMPARE(l.at("I1")->interior, QColor(198, 195, 198));
    QCOMPARE(l.at("B2")->numberFormat, QString("@"));
    QCOMPARE(l.at("C5")->numberFormat, QString("@"));
    QCOMPARE(l.at("E2")->numberFormat, QString("0.000"));
    QCOMPARE(l.at("I5")->numberFormat, QString("0.00"));
    QCOMPARE(l.s().columnWidth(2), 14.0);
    QCOMPARE(l.s().columnWidth(3), 25.0);
    for (int c = 6; c <= 9; ++c)
        QCOMPARE(l.s().columnWidth(c), 15.0);
    QVERIFY(l.s().columnWidth(1) > 0);
    for (const char* cell : {"A1", "I1", "E2", "I3"})
        for (const BorderSide& b : l.at(cell)->borders)
            QCOMPARE(b.lineStyle, int(Continuous));
    // Totals: edges and the lines between cells, no line under D5 inside the block missing.
    QCOMPARE(l.at("E5")->borders[0].lineStyle, int(Continuous));
    QCOMPARE(l.at("E5")->borders[2].lineStyle, int(Continuous));
    QCOMPARE(l.at("A5"), nullptr);
    QCOMPARE(l.gauge.front(), 2 + 2 + BasketExport::FinishingStages);
}

void TestBasketExport::formulasByNumberOfLines_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("totalsRow");
    QTest::addColumn<QString>("weightTotal");
    QTest::newRow("empty basket") << 0 << "3"
                                  << "=E2*D2";
    QTest::newRow("one line") << 1 << "4"
                              << "=E2*D2";
    QTest::newRow("three lines") << 3 << "6"
                                 << "=E2*D2+E3*D3+E4*D4";
}

void TestBasketExport::formulasByNumberOfLines() {
    QFETCH(int, lines);
    QFETCH(QString, totalsRow);
    QFETCH(QString, weightTotal);
    CatalogFixture f;
    for (int n = 1; n <= lines; ++n)
        addLine(f, n, "Шайба", n, "1.5", "2", "3");
    const Laid l(f);
    QCOMPARE(l.at("D" + totalsRow)->value.toString(), QString("ИТОГО"));
    QCOMPARE(l.formula("E" + totalsRow), weightTotal);
    QCOMPARE(l.formula("G" + totalsRow), QString(weightTotal).replace('E', 'G'));
    // The heading and lines are one bordered block down to the last line (row 1 when empty).
    QCOMPARE(l.at(QString("I%1").arg(lines + 1))->borders[2].lineStyle, int(Continuous));
}

void TestBasketExport::hiddenColumnsLeaveNoGap() {
    CatalogFixture f;
    f.exec("update PriceFields set Visible = False where FieldName = 'Price'");
    addLine(f, 1, "Шайба", 2, "1", "5", "7");
    const Laid l(f, 10);
    QCOMPARE(l.at("F1")->value.toString(), QString("Цена ЮЛЗ"));
    QCOMPARE(l.at("G1")->value.toString(), QString("Цена ЮЛЗ с НДС"));
    QCOMPARE(l.s().lastColumn(), 7);
    QCOMPARE(l.text("F2"), QString("7.00"));
    QCOMPARE(l.formula("G2"), QString("=F2*(100+10)/100"));
    QCOMPARE(l.text("G4"), QString("15.40"));
    // Every PriceFields row moves the gauge, hidden or not.
    QCOMPARE(l.gauge.front(), 2 + 1 + BasketExport::FinishingStages);
}

void TestBasketExport::noVisiblePriceColumn() {
    CatalogFixture f;
    f.exec("update PriceFields set Visible = False");
    addLine(f, 1, "Шайба", 2, "1.25", "5", "7");
    const Laid l(f);
    QCOMPARE(l.s().lastColumn(), 5);
    QCOMPARE(l.formula("E4"), QString("=E2*D2"));
    // The weights keep their own format; no price format falls back onto them.
    QCOMPARE(l.at("E2")->numberFormat, QString("0.000"));
    QCOMPARE(l.at("E4")->numberFormat, QString("0.000"));
    QCOMPARE(l.text("E4"), QString("2.500"));
}

void TestBasketExport::moreThanTenPriceColumnsGoBeyondZ() {
    CatalogFixture f;
    for (int i = 1; i <= 10; ++i) {
        f.exec(QString("alter table Order_ add column P%1 float").arg(i));
        f.exec(QString("insert into PriceFields (FieldName, Name, Visible) values ('P%1', 'П%1', "
                       "True)")
                   .arg(i));
    }
    addLine(f, 1, "Шайба", 2, "1", "5", "7");
    f.exec("update Order_ set P10 = 3");
    const Laid l(f);
    // Twelve visible columns: the last pair is AB and AC.
    QCOMPARE(l.s().lastColumn(), 29);
    QCOMPARE(l.at("AB1")->value.toString(), QString("П10"));
    QCOMPARE(l.at("AC1")->value.toString(), QString("П10 с НДС"));
    QCOMPARE(l.formula("AC2"), QString("=AB2*(100+20)/100"));
    QCOMPARE(l.formula("AC4"), QString("=AC2*D2"));
    QCOMPARE(l.text("AC4"), QString("7.20"));
    QCOMPARE(l.s().columnWidth(29), 15.0);
}

void TestBasketExport::workbookReadByASpreadsheetReader() {
    if (ssconvert().isEmpty()) QSKIP("ssconvert (gnumeric) is not installed: no reader to check");
    ModalScript script;
    CatalogFixture f;
    addLine(f, 1, "Кольцо 'А'", 2, "0.5", "10.5", "NULL");
    addLine(f, 2, "Втулка; малая", 3, "1.25", "2", "4");
    auto forms = f.start();
    mainForm->NewOrder();
    const QString path = f.dir() + "/заказ.xlsx";
    QCOMPARE(exportTo(script, path), QStringList{path});
    QVERIFY(mainForm->gProgress2->isHidden());
    QCOMPARE(mainForm->gProgress2->maximum(), 2 + 2 + 5);
    QCOMPARE(mainForm->gProgress2->value(), 9);
    const QStringList csv = recalculated(path, f.dir());
    QCOMPARE(csv, QStringList({"№,Номер,Наименование,Кол-во,Вес,Цена,\"Цена с НДС\",\"Цена ЮЛЗ\","
                               "\"Цена ЮЛЗ с НДС\"",
                               "1,50-1,\"Кольцо 'А'\",2,0.500,10.50,12.60,0.00,0.00",
                               "2,50-2,\"Втулка; малая\",3,1.250,2.00,2.40,4.00,4.80", ",,,,,,,,",
                               ",,,ИТОГО,4.750,27.00,32.40,12.00,14.40"}));
    QVERIFY(script.messages.isEmpty());
}

void TestBasketExport::csvChosenInTheSaveDialog() {
    ModalScript script;
    CatalogFixture f;
    addLine(f, 1, "Шайба", 2, "0.5", "10.5", "1");
    auto forms = f.start();
    mainForm->NewOrder();
    const QString path = f.dir() + "/заказ.CSV";
    QCOMPARE(exportTo(script, path), QStringList{path});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll().mid(3)).split("\r\n");
    QCOMPARE(lines.value(1), QString("1;50-1;Шайба;2;0,500;10,50;12,60;1,00;1,20"));
    QCOMPARE(lines.value(3), QString(";;;ИТОГО;1,000;21,00;25,20;2,00;2,40"));
    // A name without a known ending is given the workbook's.
    const QString bare = f.dir() + "/заказ";
    QCOMPARE(exportTo(script, bare), QStringList{bare + ".xlsx"});
    QVERIFY(QFile::exists(bare + ".xlsx"));
    // Cancel writes nothing.
    QCOMPARE(exportTo(script, ""), QStringList());
    QVERIFY(script.messages.isEmpty());
}

void TestBasketExport::failuresSayExcelCannotStart() {
    ModalScript script;
    CatalogFixture f;
    addLine(f, 1, "Шайба", 2, "0.5", "10.5", "1");
    auto forms = f.start();
    mainForm->NewOrder();
    const QString unwritable = "/nonexistent-directory/заказ.xlsx";
    script.press("bOK");
    QCOMPARE(exportTo(script, unwritable), QStringList());
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.messages[0].startsWith("Не могу запустить Excel\n"));
    QVERIFY2(script.messages[0].contains(unwritable), qPrintable(script.messages[0]));
    QVERIFY(mainForm->gProgress2->isHidden());

    const QString path = f.dir() + "/заказ.xlsx";
    script.press("bOK");
    QCOMPARE(exportTo(script, path, false), QStringList{path});
    QCOMPARE(script.messages.size(), 2);
    QVERIFY(script.messages[1].startsWith("Не могу запустить Excel"));
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestBasketExport)
#include "tst_basketexport.moc"
