// The report viewer and the reference lists as the user reaches them: "Отчет", the report data
// dialog's "OK", the viewer with its pages, zoom, printing and PDF; the menu "Справка".
#include "../reportengine/pdftext.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "platform/printer.h"
#include "reportengine/templatestore.h"
#include "reports/Report.h"
#include "reports/Select.h"
#include "reports/reportpreview.h"
#include "reports/ssp.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

namespace {

// Two enterprises (Index 3 and 4), the reference lists' rows and a basket of lines lines.
void fillCatalogue(CatalogFixture& f, int lines = 2) {
    f.db().execAll(
        {"delete from Order_",
         "insert into enterprise ([Index], Name, Address, INN, Director) values (3, "
         "'Тракторозапчасть', 'г. Липецк', '4826000300', 'Петров П. П.')",
         "insert into enterprise ([Index], Name, Address, INN, Director) values (4, 'Агроснаб', "
         "'г. Елец', '4823000001', 'Сидоров С. С.')",
         "insert into SSP (Region, Name, Address, Tel) values ('Липецкая область', 'Агросервис', "
         "'г. Липецк', '11-22-33')",
         "insert into PlantPhones (Department, Person, Tel) values ('Отдел сбыта', 'Иванов И. И.', "
         "'55-66-77')",
         "insert into Order_ (N, ID, Name, K, V, Price) values (1, '50-1002010', "
         "'Блок цилиндров', 2, 60.5, 1000)",
         "insert into Order_ (N, ID, Name, K, V, Price) values (2, '50-1002015', 'Гильза', 4, "
         "1.25, 117.5)"});
    for (int n = 3; n <= lines; ++n)
        f.exec(QStringLiteral("insert into Order_ (N, ID, Name, K, V, Price) values (%1, "
                              "'50-99%1', 'Деталь %1', 1, 1, 10)")
                   .arg(n));
    storeTemplateFiles(f.db(), QStringLiteral(CATALOG_TEMPLATES_DIR));
}

// Presses "Отчет" with document (0-based) chosen in the report data dialog; inViewer acts on
// the open viewer, then the viewer is closed.
void openDocument(TmainForm& m, ModalScript& script, int document,
                  const std::function<void()>& inViewer) {
    m.cbOrSupplier->setCurrentIndex(2);
    m.cbOrBuyer->setCurrentIndex(3);
    script.then([document](QDialog&) {
        formDataToReport->cbReport->setCurrentIndex(document);
        formDataToReport->cbReportChange();
        formDataToReport->BitBtnOK->click();
    });
    script.then([inViewer](QDialog& d) {
        QCOMPARE(&d, static_cast<QDialog*>(Report));
        inViewer();
        d.accept();
    });
    m.sbReport->click();
}

QString shownText() {
    const ReportDocument* doc = Report->frPreview->document();
    return doc ? doc->plainText().simplified() : QString();
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void documentsThroughTheDataDialog_data();
    void documentsThroughTheDataDialog();
    void furtherReportsFromTheViewersList();
    void pagesAndZoom();
    void printsAndSavesPdf();
    void faultyTemplatesAreNamed_data();
    void faultyTemplatesAreNamed();
    void referenceListsFromTheHelpMenu();
};

void TestReport::cleanup() {
    Printer::setSource({});
}

void TestReport::documentsThroughTheDataDialog_data() {
    QTest::addColumn<int>("document");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");
    // 2 x 1000 + 4 x 117.5 = 2470, with VAT 20% 2964.
    QTest::newRow("Накладная") << 0 << "Накладная"
                               << "две тысячи девятьсот шестьдесят четыре рубля 00 коп.";
    QTest::newRow("Спецификация") << 1 << "Спецификация"
                                  << "2964,00";
    QTest::newRow("Письмо") << 2 << "Письмо-предложение"
                            << "1200,00";
    QTest::newRow("Опись") << 3 << "Опись вложения"
                           << "две тысячи четыреста семьдесят рублей 00 коп.";
    QTest::newRow("Счет") << 4 << "Счет"
                          << "494,00";
    QTest::newRow("Счет-фактура") << 5 << "Счет-фактура"
                                  << "2964,00";
}

void TestReport::documentsThroughTheDataDialog() {
    QFETCH(int, document);
    QFETCH(QString, title);
    QFETCH(QString, expected);
    CatalogFixture f;
    fillCatalogue(f);
    ModalScript script;
    auto forms = f.start();
    QString caption, text;
    openDocument(forms->main(), script, document, [&] {
        caption = Report->windowTitle();
        text = shownText();
    });
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('|')));
    QVERIFY2(script.messages.isEmpty(), qPrintable(script.messages.join('|')));
    QCOMPARE(caption, title);
    QVERIFY2(text.contains(expected), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Тракторозапчасть")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Агроснаб")), qPrintable(text));
}

void TestReport::furtherReportsFromTheViewersList() {
    CatalogFixture f;
    fillCatalogue(f);
    ModalScript script;
    auto forms = f.start();
    QStringList seen;
    openDocument(forms->main(), script, 0, [&] {
        QCOMPARE(Report->repName->count(), 8);
        for (int at : {6, 7, 7}) {
            Report->Zoom->setCurrentIndex(ReportPreview::Z50);
            Report->ZoomChange();
            Report->repName->setCurrentIndex(at);
            Report->repNameChange();
            // A new report comes at page width; the one already shown is left as it is.
            seen << Report->windowTitle() + ":" + QString::number(Report->frPreview->zoom());
        }
        QVERIFY2(shownText().contains(QStringLiteral("сто двадцать шесть килограмм")),
                 qPrintable(shownText()));
    });
    QCOMPARE(seen, QStringList({"Товарный чек:7", "Заявка поставщику:7", "Заявка поставщику:4"}));
}

void TestReport::pagesAndZoom() {
    CatalogFixture f;
    fillCatalogue(f, 200);
    ModalScript script;
    auto forms = f.start();
    openDocument(forms->main(), script, 5, [&] {
        ReportPreview& p = *Report->frPreview;
        Report->show(); // pages are stepped in a view that has its size
        QVERIFY(p.pageCount() > 2);
        QCOMPARE(p.currentPage(), 1);
        Report->sbNextClick();
        Report->sbNextClick();
        QCOMPARE(p.currentPage(), 3);
        Report->sbPrevClick();
        QCOMPARE(p.currentPage(), 2);
        QCOMPARE(Report->Zoom->count(), 10);
        QCOMPARE(Report->Zoom->currentText(), QStringLiteral("По ширине страницы"));
        Report->Zoom->setCurrentIndex(ReportPreview::Z150);
        Report->ZoomChange();
        QVERIFY(qAbs(p.view()->zoomFactor() - 1.5) < 0.01);
        // The popup's entry sets the list too.
        Report->pmZoom->actions().at(ReportPreview::TwoPages)->trigger();
        QCOMPARE(Report->Zoom->currentText(), QStringLiteral("Две страницы"));
        QCOMPARE(p.view()->viewMode(), QPrintPreviewWidget::FacingPagesView);
        QVERIFY(Report->pmZoom->actions().at(ReportPreview::TwoPages)->isChecked());
    });
    QVERIFY(script.unexpected.isEmpty());
}

void TestReport::printsAndSavesPdf() {
    CatalogFixture f;
    fillCatalogue(f);
    const QString printed = f.dir() + QStringLiteral("/printed.pdf");
    const QString saved = f.dir() + QStringLiteral("/saved.pdf");
    Printer::setSource([printed] { return Printer::pdfPrinter(printed); });
    ModalScript script;
    auto forms = f.start();
    formDataToReport->eInvoiceNumber->setText(QStringLiteral("17"));
    openDocument(forms->main(), script, 0, [&] {
        script.then([](QDialog& d) { d.accept(); }); // the print dialog
        Report->sbPrintClick();
        script.file(saved);
        Report->sbPdfClick();
    });
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('|')));
    for (const QString& path : {printed, saved}) {
        const QString text = pdfText(path).simplified();
        if (text.isNull()) QSKIP("pdftotext (poppler-utils) is not installed");
        for (const char* expected : {"Тракторозапчасть", "2964,00",
                                     "две тысячи девятьсот шестьдесят четыре рубля 00 коп."})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(path + ": " + text));
    }
}

void TestReport::faultyTemplatesAreNamed_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    QTest::newRow("no row") << "delete from Reports where [index] = 1"
                            << "отсутствует";
    QTest::newRow("does not parse")
        << "update Reports set template = 'name: Накладная\n[title]\n{{ 1 + }}\n' where [index] = 1"
        << "строка 3";
    QTest::newRow("runaway") << "update Reports set template = 'name: Накладная\n[title]\n"
                                "{{ (function () { for (;;) {} })() }}\n' where [index] = 1"
                             << "остановлено";
}

void TestReport::faultyTemplatesAreNamed() {
    QFETCH(QString, change);
    QFETCH(QString, message);
    CatalogFixture f;
    fillCatalogue(f);
    ModalScript script;
    auto forms = f.start();
    // Another report first, so that a stale one could be left on show.
    bool empty = false;
    openDocument(forms->main(), script, 4, [] {});
    f.exec(change);
    script.then([](QDialog&) {
        formDataToReport->cbReport->setCurrentIndex(0);
        formDataToReport->BitBtnOK->click();
    });
    script.close(); // the message
    script.then([&](QDialog& d) {
        empty = Report->frPreview->document() == nullptr;
        d.accept();
    });
    forms->main().sbReport->click();
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains(message), qPrintable(script.messages[0]));
    QVERIFY(empty);
}

void TestReport::referenceListsFromTheHelpMenu() {
    CatalogFixture f;
    fillCatalogue(f);
    ModalScript script;
    auto forms = f.start();
    QStringList seen;
    for (int pass = 0; pass < 2; ++pass)
        for (QAction* item : {forms->main().N10, forms->main().N12}) {
            script.then([&](QDialog& d) {
                const ReportDocument* doc = sspForm->frPreview_->document();
                seen << d.windowTitle() + ": " + (doc ? doc->plainText().simplified() : "-");
                d.accept();
            });
            item->trigger();
        }
    QVERIFY2(script.unexpected.isEmpty() && script.messages.isEmpty(),
             qPrintable(script.messages.join('|')));
    QCOMPARE(seen.size(), 4);
    for (int k : {0, 2}) {
        QVERIFY2(seen[k].startsWith("Сервисно-сбытовые предприятия (ССП): "), qPrintable(seen[k]));
        QVERIFY2(seen[k].contains("Агросервис"), qPrintable(seen[k]));
        QVERIFY2(seen[k + 1].startsWith("Телефоны ЮЛЗ: "), qPrintable(seen[k + 1]));
        QVERIFY2(seen[k + 1].contains("Иванов И. И."), qPrintable(seen[k + 1]));
    }
}

CATALOG_TEST_MAIN(TestReport)
#include "tst_report.moc"
