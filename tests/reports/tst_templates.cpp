// The template files of the documents and reference lists: stored into a catalogue by the
// loader, each one prepared over a basket and printed to PDF.
#include "../reportengine/pdftext.h"
#include "data/dberror.h"
#include "reportengine/reportengine.h"
#include "reportengine/templatestore.h"
#include "reports/reportvars.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>

namespace {

void fillCatalogue(CatalogFixture& f) {
    f.db().execAll(
        {"insert into enterprise ([Index], Name, Address, INN, Director, Tel) values (3, "
         "'Тракторозапчасть', 'г. Липецк', '4826000300', 'Петров П. П.', '222-33-44#222-33-45')",
         "insert into enterprise ([Index], Name, Address, INN, Director) values (4, 'Агроснаб', "
         "'г. Елец', '4823000001', 'Сидоров С. С.')",
         "insert into Order_ (N, ID, Name, K, V, PriceToReport) values (1, '50-1002010', "
         "'Блок цилиндров', 2, 60.5, 1000)",
         "insert into Order_ (N, ID, Name, K, V, PriceToReport) values (2, '50-1002015', "
         "'Гильза', 4, 1.25, 117.5)",
         "insert into SSP (Region, Name, Address, Tel) values ('Липецкая область', 'Агросервис', "
         "'г. Липецк', '11-22-33')",
         "insert into PlantPhones (Department, Person, Tel) values ('Отдел сбыта', 'Иванов И. И.', "
         "'55-66-77')"});
}

} // namespace

class TestTemplates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTemplateIsStoredAndPrints_data();
    void everyTemplateIsStoredAndPrints();
    void brokenFileStoresNothing();
};

void TestTemplates::everyTemplateIsStoredAndPrints_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    // Amounts with VAT 20%: 2 x 1000 + 4 x 117.5 = 2470, with VAT 2964.
    QTest::newRow("Накладная") << "Reports" << 1
                               << "две тысячи девятьсот шестьдесят четыре рубля 00 коп.";
    QTest::newRow("Спецификация") << "Reports" << 2 << "Всего с НДС: 2964,00";
    QTest::newRow("Письмо-предложение") << "Reports" << 3 << "1200,00";
    QTest::newRow("Опись вложения")
        << "Reports" << 4 << "две тысячи четыреста семьдесят рублей 00 коп.";
    QTest::newRow("Счет") << "Reports" << 5 << "В т.ч. НДС: 494,00";
    QTest::newRow("Счет-фактура") << "Reports" << 6 << "2470,00 X 494,00 2964,00";
    QTest::newRow("Товарный чек") << "Reports" << 7 << "Итого: 2964,00";
    QTest::newRow("Заявка поставщику") << "Reports" << 8 << "сто двадцать шесть килограмм";
    QTest::newRow("ССП") << "app" << 0 << "Агросервис";
    QTest::newRow("Телефоны") << "app" << 1 << "Иванов И. И.";
}

void TestTemplates::everyTemplateIsStoredAndPrints() {
    QFETCH(QString, table);
    QFETCH(int, number);
    QFETCH(QString, expected);
    CatalogFixture f(false);
    fillCatalogue(f);
    QCOMPARE(storeTemplateFiles(f.db(), QStringLiteral(CATALOG_TEMPLATES_DIR)).size(), 10);
    QCOMPARE(f.scalar("select name from Reports where [index] = 6").toString(),
             QStringLiteral("Счет-фактура"));

    ReportEngine engine(f.db());
    ReportVariables vars(f.db());
    if (table == QLatin1String("Reports")) {
        vars.SupplierIndex = 3;
        vars.BuyerIndex = 4;
        vars.vatText = QStringLiteral("20");
        vars.install(engine);
        engine.setMasterSql(QStringLiteral("select * from Order_"));
    } else {
        engine.setMasterSql(
            QStringLiteral("select * from ") +
            f.scalar(QStringLiteral("select [table] from app where [index] = %1").arg(number))
                .toString());
    }
    engine.loadFromTable(table, number);
    const QString pdf = f.dir() + QStringLiteral("/doc.pdf");
    engine.prepare().savePdf(pdf);
    const QString text = pdfText(pdf).simplified();
    if (text.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
    QVERIFY2(text.contains(expected), qPrintable(text));
}

void TestTemplates::brokenFileStoresNothing() {
    CatalogFixture f(false);
    QTemporaryDir dir;
    auto write = [&](const char* name, const char* text) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("Reports-1.txt", "name: Первый\n[title]\nодин\n");
    write("Reports-2.txt", "name: Второй\n[title]\n{{ 1 + }}\n");
    try {
        storeTemplateFiles(f.db(), dir.path());
        QFAIL("a broken template was stored");
    } catch (const TemplateError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("Reports-2.txt")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("строка 3, столбец 1")),
                 qPrintable(e.message()));
    }
    QCOMPARE(f.scalar("select count(*) from Reports").toInt(), 0);
}

CATALOG_TEST_MAIN(TestTemplates)
#include "tst_templates.moc"
