// The report engine: templates, name resolution, functions, safety, pages and PDF output.
#include "data/dberror.h"
#include "data/sql.h"
#include "data/textfmt.h"
#include "pdftext.h"
#include "reportengine/reportengine.h"
#include "support/fixture.h"
#include "support/testmain.h"

#include <QElapsedTimer>

namespace {

// A basket of n lines "Деталь k", k pieces at 10.5 each.
void fillBasket(CatalogFixture& f, int n) {
    for (int k = 1; k <= n; ++k)
        f.exec(QStringLiteral("insert into Order_ (N, ID, ID_f, Name, K, V, PriceToReport)"
                              " values (%1, '50-%1', '50%1', 'Деталь %1', %1, 0.5, 10.5)")
                   .arg(k));
}

QString evaluate(ReportEngine& engine, const QString& expression) {
    engine.loadFromText(QStringLiteral("[summary]\n{{ ") + expression + QStringLiteral(" }}\n"),
                        QStringLiteral("Проба"));
    return engine.prepare().plainText().trimmed();
}

QString failure(ReportEngine& engine, const QString& text) {
    try {
        engine.loadFromText(text, QStringLiteral("Шаблон 5 таблицы Reports"));
        engine.prepare();
    } catch (const TemplateError& e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesResolveProgramFirstThenColumnsThenEngine();
    void functionsGetTheirArgumentsAsText();
    void expressions_data();
    void expressions();
    void outsideWorldIsUnreachable_data();
    void outsideWorldIsUnreachable();
    void runawayExpressionIsStopped();
    void brokenTemplateNamesThePlace_data();
    void brokenTemplateNamesThePlace();
    void missingTemplateIsReported();
    void templateIsLoadedByItsNumber();
    void masterDataIsReadAfreshOnEveryPrepare();
    void pagesKeepRowsWholeAndRepeatTheHeader();
};

void TestReportEngine::namesResolveProgramFirstThenColumnsThenEngine() {
    CatalogFixture f(false);
    fillBasket(f, 2);
    ReportEngine engine(f.db());
    engine.setMasterSql(QStringLiteral("select * from Order_"));
    QStringList asked;
    engine.getValue = [&](const QString& name, QVariant& value) {
        asked << name;
        if (name == QLatin1String("Name")) {
            value = QStringLiteral("от программы");
            return true;
        }
        if (name == QStringLiteral("Пусто")) {
            value = QString();
            return true;
        }
        return false;
    };
    engine.loadFromText(QStringLiteral("[row]\n<tr><td>{{ Name }}|{{ ID }}|{{ LINE }}|{{ Пусто }}|"
                                       "{{ k }}</td></tr>\n"),
                        QStringLiteral("Проба"));
    const QString text = engine.prepare().plainText();
    QVERIFY2(text.contains(QStringLiteral("от программы|50-1|1||1")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("от программы|50-2|2||2")), qPrintable(text));
    QVERIFY(asked.contains(QStringLiteral("ID")));   // asked before the column answered
    QVERIFY(asked.contains(QStringLiteral("LINE"))); // asked before the engine answered
}

void TestReportEngine::functionsGetTheirArgumentsAsText() {
    CatalogFixture f(false);
    fillBasket(f, 3);
    ReportEngine engine(f.db());
    engine.setMasterSql(QStringLiteral("select * from Order_"));
    QStringList seen;
    engine.userFunction = [&](const QString& name, const QStringList& args,
                              ReportEvaluator& evaluator, QVariant& result) {
        if (name.compare(QLatin1String("twice"), Qt::CaseInsensitive) != 0) return false;
        seen = args;
        result = evaluator.evaluate(args[0]).toDouble() * 2;
        return true;
    };
    QCOMPARE(evaluate(engine, QStringLiteral("TWICE(SUM(K * PriceToReport), 'не вычислен')")),
             QStringLiteral("126"));
    QCOMPARE(seen, QStringList({QStringLiteral("SUM(K * PriceToReport)"),
                                QStringLiteral("'не вычислен'")}));
    QVERIFY(failure(engine, QStringLiteral("[summary]\n{{ Нет(1) }}"))
                .contains(QStringLiteral("неизвестная функция: Нет")));
}

void TestReportEngine::expressions_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("shown");
    QTest::newRow("sum") << "SUM(K * PriceToReport)"
                         << "63";
    QTest::newRow("count rows") << "COUNT()"
                                << "3";
    QTest::newRow("min and max") << "MIN(K) + '-' + MAX(K)"
                                 << "1-3";
    QTest::newRow("fixed decimals") << "NUM(SUM(V), 3)"
                                    << "1,500";
    QTest::newRow("two decimals by default") << "NUM(1234.5)"
                                             << "1234,50";
    QTest::newRow("real in the locale's form") << "1/4"
                                               << "0,25";
    QTest::newRow("text methods") << "'abc'.toUpperCase() + String(5)"
                                  << "ABC5";
    QTest::newRow("constructor call") << "new Array(3).length"
                                      << "3";
    QTest::newRow("conditional") << "COUNT() > 2 ? 'много' : 'мало'"
                                 << "много";
    QTest::newRow("markup is escaped") << "'<b>&'"
                                       << "<b>&";
    QTest::newRow("date") << "DATE" << TodayStr();
}

void TestReportEngine::expressions() {
    QFETCH(QString, expression);
    QFETCH(QString, shown);
    CatalogFixture f(false);
    fillBasket(f, 3);
    ReportEngine engine(f.db());
    engine.setMasterSql(QStringLiteral("select * from Order_"));
    QCOMPARE(evaluate(engine, expression), shown);
}

void TestReportEngine::outsideWorldIsUnreachable_data() {
    QTest::addColumn<QString>("expression");
    QTest::newRow("import") << "import('/etc/passwd')";
    QTest::newRow("eval") << "eval('1')";
    QTest::newRow("Function") << "Function('return 1')()";
    QTest::newRow("constructor") << "(function(){}).constructor('return 1')()";
    QTest::newRow("generator constructor") << "(function*(){}).constructor('yield 1')";
    QTest::newRow("XMLHttpRequest") << "new XMLHttpRequest()";
    QTest::newRow("Qt") << "Qt.openUrlExternally('file:///')";
    QTest::newRow("console") << "console.log(1)";
    QTest::newRow("template literal") << "`${1}`";
}

void TestReportEngine::outsideWorldIsUnreachable() {
    QFETCH(QString, expression);
    CatalogFixture f(false);
    ReportEngine engine(f.db());
    const QString message =
        failure(engine, QStringLiteral("[summary]\n{{ ") + expression + QStringLiteral(" }}"));
    QVERIFY2(message.startsWith(QStringLiteral("Шаблон 5 таблицы Reports: строка 2, столбец 1:")),
             qPrintable(message));
}

void TestReportEngine::runawayExpressionIsStopped() {
    CatalogFixture f(false);
    fillBasket(f, 2);
    ReportEngine engine(f.db());
    engine.setMasterSql(QStringLiteral("select * from Order_"));
    engine.setTimeLimit(200);
    for (const char* loop : {"(function(){ while (true) {} })()",
                             "(function(){ try { for (;;) {} } catch (e) { return 1; } })()",
                             "SUM((function(){ for (;;) {} })())"}) {
        QElapsedTimer clock;
        clock.start();
        const QString message =
            failure(engine, QStringLiteral("[title]\n<p>\n  {{ ") + QString::fromUtf8(loop) +
                                QStringLiteral(" }}</p>"));
        QVERIFY2(clock.elapsed() < 5000, loop);
        QVERIFY2(message.contains(QStringLiteral("строка 3, столбец 3")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("остановлено")), qPrintable(message));
    }
    // The engine goes on.
    QCOMPARE(evaluate(engine, QStringLiteral("COUNT()")), QStringLiteral("2"));
}

void TestReportEngine::brokenTemplateNamesThePlace_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("place");
    QTest::newRow("syntax") << "name: Счет\n[title]\n<p>{{ 1 + }}</p>"
                            << "Шаблон 5 таблицы Reports («Счет»): строка 3, столбец 4: ошибка в "
                               "выражении «1 +»";
    QTest::newRow("unclosed") << "[title]\n<p>\n  x {{ Name </p>"
                              << "Шаблон 5 таблицы Reports: строка 3, столбец 5: выражение «{{» "
                                 "не закрыто";
    QTest::newRow("unknown band") << "[title]\n<p></p>\n[footer]\n"
                                  << "Шаблон 5 таблицы Reports: строка 3, столбец 1: неизвестная "
                                     "полоса «footer»";
    QTest::newRow("unknown setting") << "# счет\npaper: A4\n[title]\n"
                                     << "Шаблон 5 таблицы Reports: строка 2, столбец 1: "
                                        "неизвестный параметр «paper»";
    QTest::newRow("unknown name") << "[title]\n{{ Нет_такого }}"
                                  << "Шаблон 5 таблицы Reports: строка 2, столбец 1: выражение "
                                     "«Нет_такого»: неизвестное имя";
    QTest::newRow("page outside page bands") << "[title]\n{{ PAGE }}"
                                             << "строка 2, столбец 1: выражение «PAGE»: "
                                                "неизвестное имя";
}

void TestReportEngine::brokenTemplateNamesThePlace() {
    QFETCH(QString, text);
    QFETCH(QString, place);
    CatalogFixture f(false);
    ReportEngine engine(f.db());
    const QString message = failure(engine, text);
    QVERIFY2(message.contains(place), qPrintable(message));
}

void TestReportEngine::missingTemplateIsReported() {
    CatalogFixture f(false);
    ReportEngine engine(f.db());
    try {
        engine.loadFromTable(QStringLiteral("Reports"), 9);
        QFAIL("a missing template loaded");
    } catch (const TemplateError& e) {
        QCOMPARE(e.message(), QStringLiteral("Шаблон 9 таблицы Reports отсутствует: в таблице "
                                             "нет строки с номером 9."));
    }
    QVERIFY(!engine.loaded());
    // A row without a template says so too.
    try {
        engine.loadFromTable(QStringLiteral("app"), 0);
        QFAIL("an empty template loaded");
    } catch (const TemplateError& e) {
        QCOMPARE(e.message(), QStringLiteral("Шаблон 0 таблицы app пуст."));
    }
}

void TestReportEngine::templateIsLoadedByItsNumber() {
    CatalogFixture f(false);
    for (int n : {1, 300})
        f.exec(QStringLiteral("insert into Reports ([index], Template, name) values (%1, %2, 'N')")
                   .arg(n)
                   .arg(Sql::quote(QStringLiteral("[title]\nШаблон %1").arg(n))));
    ReportEngine engine(f.db());
    engine.loadFromTable(QStringLiteral("Reports"), 300);
    QCOMPARE(engine.prepare().plainText().trimmed(), QStringLiteral("Шаблон 300"));
}

void TestReportEngine::masterDataIsReadAfreshOnEveryPrepare() {
    CatalogFixture f(false);
    fillBasket(f, 2);
    ReportEngine engine(f.db());
    engine.setMasterSql(QStringLiteral("select * from Order_"));
    engine.loadFromText(QStringLiteral("[summary]\n{{ COUNT() }}"), QStringLiteral("Проба"));
    QCOMPARE(engine.prepare().plainText().trimmed(), QStringLiteral("2"));
    f.exec(QStringLiteral("delete from Order_ where N = 2"));
    QCOMPARE(engine.prepare().plainText().trimmed(), QStringLiteral("1"));
}

void TestReportEngine::pagesKeepRowsWholeAndRepeatTheHeader() {
    CatalogFixture f(false);
    const int lines = 150;
    fillBasket(f, lines);
    ReportEngine engine(f.db());
    engine.setMasterSql(QStringLiteral("select * from Order_"));
    engine.loadFromText(
        QStringLiteral("name: Список\n"
                       "[title]\n<h3>Список деталей</h3>\n"
                       "[page header]\n<p>Верх страницы {{ PAGE }}</p>\n"
                       "[table header]\n<tr><th>Шапка №</th><th>Название</th></tr>\n"
                       "[row]\n<tr><td>{{ LINE }}</td><td>{{ Name }}<br>второй "
                       "ряд {{ ID }}</td></tr>\n"
                       "[summary]\n<p>Всего строк: {{ COUNT() }}</p>\n"
                       "[page footer]\n<p>Страница {{ PAGE }} из {{ PAGES }}</p>\n"),
        QStringLiteral("Проба"));
    const ReportDocument doc = engine.prepare();
    QVERIFY(doc.pageCount() > 2);
    const QString pdf = f.dir() + QStringLiteral("/list.pdf");
    doc.savePdf(pdf);
    const QString text = pdfText(pdf);
    if (text.isNull()) QSKIP("pdftotext (poppler-utils) is not installed");
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), doc.pageCount());
    for (int p = 0; p < pages.size(); ++p) {
        const QString& page = pages[p];
        QVERIFY2(page.contains(QStringLiteral("Шапка №")), qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("Верх страницы %1").arg(p + 1)));
        QVERIFY(page.contains(QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages.size())));
        // Both lines of a row are on the same page.
        for (int k = 1; k <= lines; ++k)
            QCOMPARE(page.contains(QRegularExpression(QStringLiteral("Деталь %1\\b").arg(k))),
                     page.contains(QRegularExpression(QStringLiteral("ряд 50-%1\\b").arg(k))));
    }
    for (int k = 1; k <= lines; ++k)
        QCOMPARE(text.count(QRegularExpression(QStringLiteral("ряд 50-%1\\b").arg(k))), 1);
    QVERIFY(pages.last().contains(QStringLiteral("Всего строк: %1").arg(lines)));
}

CATALOG_TEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
