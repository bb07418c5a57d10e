// The report variables and functions the commercial documents' templates use, through the
// report engine, and one document printed to PDF.
#include "../reportengine/pdftext.h"
#include "data/sql.h"
#include "reportengine/reportengine.h"
#include "reports/reportvars.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <QFont>
#include <QFontMetricsF>

namespace {

void addEnterprise(CatalogFixture& f, int index, const QString& name, const QString& inn,
                   const QString& tel) {
    f.exec(QStringLiteral("insert into enterprise ([Index], Name, Type, Address, INN, Tel, Fax)"
                          " values (%1, %2, 'ООО', %3, %4, %5, '')")
               .arg(index)
               .arg(Sql::quote(name), Sql::quote(QStringLiteral("г. Липецк, ул. ") + name),
                    Sql::quote(inn), Sql::quote(tel)));
}

// Supplier at Index 300 (beyond a byte), buyer at 3; three basket lines.
void standardData(CatalogFixture& f) {
    addEnterprise(f, 3, QStringLiteral("Агроснаб"), QStringLiteral("4823000001"), QString());
    QStringList others;
    for (int k = 4; k < 300; ++k)
        others
            << QStringLiteral("insert into enterprise ([Index], Name) values (%1, 'П%1')").arg(k);
    f.db().execAll(others);
    addEnterprise(f, 300, QStringLiteral("Тракторозапчасть"), QStringLiteral("4826000300"),
                  QStringLiteral("222-33-44#222-33-45"));
    const char* lines[][3] = {{"50-1002010", "Блок цилиндров", "1000.5"},
                              {"50-1002015", "Гильза", "117.02"},
                              {"ИЗ-12.001", "Кольцо", "0.3"}};
    for (int k = 0; k < 3; ++k)
        f.exec(QStringLiteral("insert into Order_ (N, ID, Name, K, V, PriceToReport)"
                              " values (%1, '%2', '%3', %4, 1.25, %5)")
                   .arg(k + 1)
                   .arg(QString::fromUtf8(lines[k][0]), QString::fromUtf8(lines[k][1]))
                   .arg(k + 1)
                   .arg(QString::fromUtf8(lines[k][2])));
}

void fillDocument(ReportVariables& vars) {
    vars.SupplierIndex = 300;
    vars.BuyerIndex = 3;
    vars.vatText = QStringLiteral("20");
    vars.fields = {{QStringLiteral("eAccountNumber"), QStringLiteral("17")},
                   {QStringLiteral("eAccountData"), QStringLiteral("10.12.2026")},
                   {QStringLiteral("eInvoiceNumber"), QString()},
                   {QStringLiteral("eInvoiceFrom"), QString()},
                   {QStringLiteral("eAccountCargoF"), QStringLiteral("Склад №2")},
                   {QStringLiteral("eMailPName1"), QStringLiteral("Иванов")}};
}

QString evaluate(ReportEngine& engine, const QString& expression) {
    engine.loadFromText(QStringLiteral("[summary]\n{{ ") + expression + QStringLiteral(" }}\n"),
                        QStringLiteral("Проба"));
    return engine.prepare().plainText().trimmed();
}

} // namespace

class TestReportVars : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookup_data();
    void lookup();
    void everyNameOfTheTableAnswers();
    void functionsThroughTheEvaluator_data();
    void functionsThroughTheEvaluator();
    void textMeasurement();
    void reportNamesAndCount();
    void invoiceInPdf();
};

void TestReportVars::lookup_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    auto row = [](const char* name, const QVariant& value) {
        QTest::newRow(name) << QString::fromUtf8(name) << value;
    };
    row("Поставщик", QStringLiteral("Тракторозапчасть")); // Index 300, not 300 mod 256
    row("покупатель", QStringLiteral("Агроснаб"));
    row("ИНН_1", QStringLiteral("4826000300"));
    row("инн_2", QStringLiteral("4823000001"));
    row("Фирма_3", QStringLiteral("Агроснаб"));
    row("ТИП_3", QStringLiteral("ООО"));
    row("Адрес_3", QStringLiteral("г. Липецк, ул. Агроснаб"));
    row("Tel_1 printed as stored", QStringLiteral("222-33-44#222-33-45"));
    row("FAX_1", QStringLiteral("____________"));
    row("Tel_2", QString());
    row("Email_1", QStringLiteral("____________"));
    row("count", 3);
    row("COUNT", 3);
    row("Номер_5", QStringLiteral("17"));
    row("дата_5", QStringLiteral("10.12.2026"));
    row("Номер_1", QStringLiteral("____________"));
    row("Через_кого", QString());
    row("Номер_6", QStringLiteral("____________"));
    row("Грузоотправитель", QStringLiteral("Склад №2"));
    row("Фамилия_3", QStringLiteral("Иванов"));
    row("НДС", QStringLiteral("20"));
    row("нсп", QStringLiteral("5"));
}

void TestReportVars::lookup() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    CatalogFixture f(false);
    standardData(f);
    ReportVariables vars(f.db());
    fillDocument(vars);
    QVariant got;
    QVERIFY(vars.value(name.section(QLatin1Char(' '), 0, 0), got));
    QCOMPARE(got, value);
    QVERIFY(!vars.value(QStringLiteral("Name"), got)); // the engine's to resolve
}

void TestReportVars::everyNameOfTheTableAnswers() {
    CatalogFixture f(false);
    ReportVariables vars(f.db()); // no enterprise chosen: number 0, empty requisites
    QCOMPARE(vars.names().size(), 58);
    for (const QString& name : ReportVariables::names()) {
        QVariant v;
        QVERIFY2(vars.value(name.toUpper(), v), qPrintable(name));
    }
    QVariant tel;
    vars.value(QStringLiteral("Tel_1"), tel);
    QCOMPARE(tel.toString(), QStringLiteral("____________"));
}

void TestReportVars::functionsThroughTheEvaluator_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("shown");
    QTest::newRow("total in words") << "SUMPROPIS(SUM(K * PriceToReport), 0)"
                                    << "одна тысяча двести тридцать пять рублей 44 коп.";
    QTest::newRow("count in words, any case") << "sumpropis(Count, 1)"
                                              << "три наименования";
    QTest::newRow("weight in words") << "SumPropis(SUM(K * V), 2)"
                                     << "семь килограмм";
    QTest::newRow("third argument unused") << "SUMPROPIS(21, 1, 'x')"
                                           << "двадцать одно наименование";
    QTest::newRow("VAT in a total") << "NUM(SUM(K * PriceToReport) * НДС / (100 + Number(НДС)))"
                                    << "205,91";
}

void TestReportVars::functionsThroughTheEvaluator() {
    QFETCH(QString, expression);
    QFETCH(QString, shown);
    CatalogFixture f(false);
    standardData(f);
    ReportVariables vars(f.db());
    fillDocument(vars);
    ReportEngine engine(f.db());
    vars.install(engine);
    engine.setMasterSql(QStringLiteral("select * from Order_"));
    QCOMPARE(evaluate(engine, expression), shown);
}

void TestReportVars::textMeasurement() {
    CatalogFixture f(false);
    ReportVariables vars(f.db());
    ReportEngine engine(f.db());
    vars.install(engine);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(12);
    const QFontMetricsF metrics(font);
    const QString text = QStringLiteral("Счет-фактура № 17");
    const QSizeF one = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), 0, text).size();
    const QSizeF two = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), 0, text + "\nx").size();
    QCOMPARE(evaluate(engine, QStringLiteral("CALCW('Счет-фактура № ' + 17, 'DejaVu Sans', 12)")),
             QString::number(qRound(one.width())));
    QCOMPARE(evaluate(engine, QStringLiteral("calch('Счет-фактура № 17', 'DejaVu Sans', 12)")),
             QString::number(qRound(one.height())));
    QCOMPARE(evaluate(engine, QStringLiteral("CALCH('Счет-фактура № 17\\nx', 'DejaVu Sans', 12)")),
             QString::number(qRound(two.height())));
    QVERIFY(two.height() > 1.5 * one.height());
}

void TestReportVars::reportNamesAndCount() {
    CatalogFixture f(false);
    for (int n = 1; n <= 3; ++n)
        f.exec(QStringLiteral("insert into Reports ([index], Template, name) values (%1, '', "
                              "'Документ %1')")
                   .arg(n));
    QCOMPARE(GetCount(f.db(), QStringLiteral("[index]"), QStringLiteral("Reports")), 3);
    QCOMPARE(GetString(f.db(), 2, QStringLiteral("name"), QStringLiteral("Reports")),
             QStringLiteral("Документ 2"));
    QCOMPARE(GetString(f.db(), 7, QStringLiteral("name"), QStringLiteral("Reports")), QString());
}

void TestReportVars::invoiceInPdf() {
    CatalogFixture f(false);
    standardData(f);
    ReportVariables vars(f.db());
    fillDocument(vars);
    ReportEngine engine(f.db());
    vars.install(engine);
    engine.setMasterSql(QStringLiteral("select * from Order_"));
    engine.loadFromText(
        QStringLiteral(
            "name: Счет\n"
            "[title]\n<p>Поставщик: {{ Поставщик }}, ИНН {{ ИНН_1 }}, тел. {{ Tel_1 }}</p>\n"
            "<p>Покупатель: {{ Покупатель }}</p>\n<h2>Счет № {{ Номер_5 }} от {{ Дата_5 }}</h2>\n"
            "[table header]\n<tr><th>№</th><th>Товар</th><th>Кол.</th><th>Цена</th>"
            "<th>Сумма</th></tr>\n"
            "[row]\n<tr><td>{{ LINE }}</td><td>{{ Name }}</td><td>{{ K }}</td>"
            "<td>{{ NUM(PriceToReport) }}</td><td>{{ NUM(K * PriceToReport) }}</td></tr>\n"
            "[summary]\n<p>Итого: {{ NUM(SUM(K * PriceToReport)) }}</p>\n"
            "<p>в т.ч. НДС {{ НДС }}%: {{ NUM(SUM(K * PriceToReport) * НДС / (100 + "
            "Number(НДС))) }}</p>\n<p>Всего наименований {{ Count }}, на сумму "
            "{{ SUMPROPIS(SUM(K * PriceToReport), 0) }}</p>\n"),
        QStringLiteral("Шаблон 5 таблицы Reports"));
    const QString pdf = f.dir() + QStringLiteral("/Счет 17.pdf");
    engine.prepare().savePdf(pdf);
    const QString text = pdfText(pdf).simplified();
    if (text.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
    for (const QString& expected :
         {QStringLiteral("Поставщик: Тракторозапчасть, ИНН 4826000300, тел. 222-33-44#222-33-45"),
          QStringLiteral("Покупатель: Агроснаб"), QStringLiteral("Счет № 17 от 10.12.2026"),
          QStringLiteral("1 Блок цилиндров 1 1000,50 1000,50"),
          QStringLiteral("2 Гильза 2 117,02 234,04"), QStringLiteral("3 Кольцо 3 0,30 0,90"),
          QStringLiteral("Итого: 1235,44"), QStringLiteral("в т.ч. НДС 20%: 205,91"),
          QStringLiteral("Всего наименований 3, на сумму одна тысяча двести тридцать пять "
                         "рублей 44 коп.")})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral("\n") + text));
}

CATALOG_TEST_MAIN(TestReportVars)
#include "tst_reportvars.moc"
