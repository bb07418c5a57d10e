// "Печать рисунка": the question, the drawing with its numbers and frames, the standardized
// item's sheet, and where the pages go. Checked on the PDF the printer seam writes, read back
// with poppler.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "stdtest.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"
#include "viewer/drawingprint.h"
#include "viewer/image.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QSqlQuery>
#include <QToolButton>
#include <cmath>

using namespace StdTest;
using namespace ViewerTest;

namespace {

constexpr double PointsPerMm = 72 / 25.4;

// Makes drawing 1 of modification 1 a grey picture: big at the size given, small at half.
void greyDrawing(CatalogFixture& f, QSize big) {
    QVERIFY(writeGrey(f.picDir() + "big/1_1.bmp", big));
    QVERIFY(writeGrey(f.picDir() + "small/1_1.bmp", big / 2));
}

// Answers the print question and whatever follows, by name: the question's "bYes", "bPdf",
// "bNo" or "close"; the message box's "msgYes"/"msgNo"; "file:<path>" or "cancelFile" for
// the file dialog.
void answer(ModalScript& script, const QStringList& steps) {
    for (const QString& s : steps) {
        if (s == "close")
            script.close();
        else if (s == "msgYes")
            script.press("bYes");
        else if (s == "msgNo")
            script.press("bNo");
        else if (s.startsWith("file:"))
            script.file(s.mid(5));
        else if (s == "cancelFile")
            script.file(QString());
        else
            script.press(s);
    }
}

QStringList sheetRows(CatalogFixture& f) {
    QSqlQuery q(f.db().database());
    q.exec("select paramname, param from stdrep");
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString() + "|" + q.value(1).toString();
    return rows;
}

// The words pdftotext finds, with their boxes in points.
struct Word {
    QString text;
    QRectF box;
};

QList<Word> pdfWords(const QString& path) {
    const QString html = run("pdftotext", {"-bbox", path, "-"});
    static const QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">"
        "([^<]*)</word>");
    QList<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QPointF a(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF b(m.captured(3).toDouble(), m.captured(4).toDouble());
        words << Word{m.captured(5), QRectF(a, b)};
    }
    return words;
}

const Word* findWord(const QList<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

// The standardized item with its sheet picture s1203 (300 x 900), shown on its panel.
void showItem(CatalogFixture& f, const QStringList& params) {
    addItem(f, {1, "М-315.04", "М8-6gх25.58.016", "Болт", 0.012, "Болты", "Болт М8-6gх25", 12, 3,
                params});
    TmainForm& m = *mainForm;
    m.pressPanelButton(m.sbSTD);
    m.ePodGr->setText("Болт");
    QTest::mouseClick(m.sbPodGr, Qt::LeftButton);
}

} // namespace

class TestStdPrint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void questionAndWhereThePagesGo_data();
    void questionAndWhereThePagesGo();
    void drawingPrintsOnePageOrientedByItsShape_data();
    void drawingPrintsOnePageOrientedByItsShape();
    void pageTargetKeepsProportions_data();
    void pageTargetKeepsProportions();
    void numbersAreWrittenAndHighlightedMarkersFramed();
    void missingBigBitmapStopsBeforeTheDocument();
    void unwritablePdfIsReportedNotTakenForPrinted();
    void sheetIsLaidOutInMillimetres();
    void sheetParametersFollowTheirRule_data();
    void sheetParametersFollowTheirRule();
    void sheetPictureFallsBack_data();
    void sheetPictureFallsBack();
    void missingSheetPictureStopsBeforeAnything();

private:
    std::unique_ptr<QTemporaryDir> out;
    QString pdf(const QString& name) const { return out->filePath(name); }
};

void TestStdPrint::init() {
    out = std::make_unique<QTemporaryDir>();
}

void TestStdPrint::questionAndWhereThePagesGo_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("written"); // "printer", "chosen" or ""
    QTest::newRow("Нет") << true << QStringList{"bNo"} << "";
    QTest::newRow("closed") << true << QStringList{"close"} << "";
    QTest::newRow("Да: the default printer") << true << QStringList{"bYes"} << "printer";
    QTest::newRow("Да without a printer, saved")
        << false << QStringList{"bYes", "msgYes", "file:CHOSEN"} << "chosen";
    QTest::newRow("Да without a printer, not saved") << false << QStringList{"bYes", "msgNo"} << "";
    QTest::newRow("Сохранить в PDF") << true << QStringList{"bPdf", "file:CHOSEN"} << "chosen";
    QTest::newRow("Сохранить в PDF, cancelled") << true << QStringList{"bPdf", "cancelFile"} << "";
}

void TestStdPrint::questionAndWhereThePagesGo() {
    QFETCH(bool, installed);
    QFETCH(QStringList, steps);
    QFETCH(QString, written);
    CatalogFixture f;
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    const QString printed = pdf("printer.pdf");
    const QString chosen = pdf("chosen"); // no suffix: ".pdf" is added
    auto printer =
        installed ? std::make_unique<PrinterScope>(printed) : std::make_unique<PrinterScope>();
    answer(script, steps.replaceInStrings("CHOSEN", chosen));
    mainForm->sbPrint->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QCOMPARE(script.pending(), 0);
    QCOMPARE(script.captions.first(), QString("Каталог деталей и сборочных единиц"));
    if (!installed && steps.size() > 1)
        QCOMPARE(script.messages,
                 QStringList{"Принтер не установлен.\nСохранить страницу в файл PDF?"});
    QCOMPARE(QFile::exists(printed), written == "printer");
    QCOMPARE(QFile::exists(chosen + ".pdf"), written == "chosen");
    QVERIFY(!QApplication::overrideCursor());
    if (!written.isEmpty() && hasTool("pdfinfo"))
        QCOMPARE(pdfInfo(written == "printer" ? printed : chosen + ".pdf").pages, 1);
}

void TestStdPrint::drawingPrintsOnePageOrientedByItsShape_data() {
    QTest::addColumn<QSize>("big");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QSizeF>("covered"); // share of the page's width and height
    QTest::newRow("wide fills the width")
        << QSize(3000, 1500) << true << QSizeF(1, 297.0 / 2 / 210);
    QTest::newRow("tall fills the height")
        << QSize(1000, 2000) << false << QSizeF(297.0 / 2 / 210, 1);
    QTest::newRow("square prints portrait") << QSize(1500, 1500) << false << QSizeF(1, 210.0 / 297);
    QTest::newRow("the page's proportions fill it") << QSize(2970, 2100) << true << QSizeF(1, 1);
}

void TestStdPrint::drawingPrintsOnePageOrientedByItsShape() {
    REQUIRE_POPPLER();
    QFETCH(QSize, big);
    QFETCH(bool, landscape);
    QFETCH(QSizeF, covered);
    CatalogFixture f;
    greyDrawing(f, big);
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    PrinterScope printer(pdf("drawing.pdf"));
    script.press("bYes");
    mainForm->sbPrint->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));

    const PdfInfo info = pdfInfo(pdf("drawing.pdf"));
    QCOMPARE(info.pages, 1);
    const QSizeF a4 = landscape ? QSizeF(297, 210) : QSizeF(210, 297);
    QVERIFY2(std::abs(info.size.width() - a4.width() * PointsPerMm) < 1 &&
                 std::abs(info.size.height() - a4.height() * PointsPerMm) < 1,
             qPrintable(QString("%1 x %2").arg(info.size.width()).arg(info.size.height())));
    // The drawing from the page's top-left corner over the share expected.
    const QImage page = pdfPage(pdf("drawing.pdf"), 50);
    const QRect drawn = darkBox(page, page.rect(), 200);
    QVERIFY2(drawn.topLeft() == QPoint(0, 0),
             qPrintable(QString("%1,%2").arg(drawn.x()).arg(drawn.y())));
    QVERIFY2(std::abs(drawn.width() - page.width() * covered.width()) <= 2 &&
                 std::abs(drawn.height() - page.height() * covered.height()) <= 2,
             qPrintable(QString("%1 x %2 of %3 x %4")
                            .arg(drawn.width())
                            .arg(drawn.height())
                            .arg(page.width())
                            .arg(page.height())));
}

void TestStdPrint::pageTargetKeepsProportions_data() {
    QTest::addColumn<QSize>("bitmap");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QRect>("target");
    QTest::newRow("wider than the page")
        << QSize(2000, 1000) << QSize(1400, 1000) << QRect(0, 0, 1400, 700);
    QTest::newRow("taller than the page")
        << QSize(1000, 2000) << QSize(1000, 1400) << QRect(0, 0, 700, 1400);
    QTest::newRow("the page's proportions")
        << QSize(700, 500) << QSize(1400, 1000) << QRect(0, 0, 1400, 1000);
    // 1000 * 1001 / 2000 = 500.5: to even, 500.
    QTest::newRow("half to even") << QSize(2000, 1000) << QSize(1001, 1000)
                                  << QRect(0, 0, 1001, 500);
}

void TestStdPrint::pageTargetKeepsProportions() {
    QFETCH(QSize, bitmap);
    QFETCH(QSize, page);
    QFETCH(QRect, target);
    QCOMPARE(DrawingPrint::pageTarget(bitmap, page), target);
}

void TestStdPrint::numbersAreWrittenAndHighlightedMarkersFramed() {
    REQUIRE_POPPLER();
    CatalogFixture f;
    const QSize big(2400, 1700);
    greyDrawing(f, big);
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    // The part at 3 is also at 4: both markers of its ring are highlighted.
    click(marker(3));
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));

    // Where each marker's number goes on the big bitmap: 6 pixels into the marker, scaled.
    const QRect shown = mainForm->mainImage->geometry();
    auto place = [&](int position) {
        const QPoint m = marker(position)->pos();
        return QPoint(int(std::nearbyint(2400.0 * (m.x() - shown.x() + 6) / shown.width())),
                      int(std::nearbyint(1700.0 * (m.y() - shown.y() + 6) / shown.height())));
    };
    const QImage bitmap = mainForm->drawingToPrint();
    QCOMPARE(bitmap.size(), big);
    for (int position : {1, 2, 3, 4, 5}) {
        const QPoint p = place(position);
        const bool framed = position == 3 || position == 4;
        const QString at = QString("position %1 at %2,%3").arg(position).arg(p.x()).arg(p.y());
        // The frame's left and right edges, black for a highlighted marker only.
        QCOMPARE(qGray(bitmap.pixel(p.x() - 2, p.y() + 20)) < 60, framed);
        QCOMPARE(qGray(bitmap.pixel(p.x() + 39, p.y() + 20)) < 60, framed);
        // The number, black on white from the place on.
        QVERIFY2(qGray(bitmap.pixel(p.x() + 1, p.y() + 1)) > 240, qPrintable(at));
        QVERIFY2(darkBox(bitmap, QRect(p, QSize(30, 37)), 60).isValid(), qPrintable(at));
    }
    // Nothing for the hidden "0" marker in the corner, nothing on the drawing on the screen.
    QCOMPARE(qGray(bitmap.pixel(5, 5)), 128);
    const QImage screen = mainForm->mainImage->largeBitmap(f.picDir() + "big/1_1.bmp");
    QCOMPARE(qGray(screen.pixel(place(3) + QPoint(-2, 20))), 128);

    // The same marks on the printed page.
    PrinterScope printer(pdf("marked.pdf"));
    script.press("bYes");
    mainForm->sbPrint->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    const int dpi = 100;
    const QImage page = pdfPage(pdf("marked.pdf"), dpi);
    // A4 landscape at 1200 dpi is 14031 x 9921 device pixels; the drawing takes its height.
    const QRect target = DrawingPrint::pageTarget(big, QSize(14031, 9921));
    const double scale = double(target.width()) / big.width() * dpi / 1200;
    auto onPage = [&](QPoint p) { return QPoint(int(p.x() * scale), int(p.y() * scale)); };
    for (int position : {1, 2, 3, 4, 5}) {
        const QPoint p = place(position);
        const bool framed = position == 3 || position == 4;
        const QString at = QString("position %1").arg(position);
        QVERIFY2((darkestAround(page, onPage(p + QPoint(-2, 20)), 1) < 90) == framed,
                 qPrintable(at));
        QVERIFY2(darkBox(page, QRect(onPage(p), onPage(p + QPoint(30, 37))), 90).isValid(),
                 qPrintable(at));
    }
}

void TestStdPrint::missingBigBitmapStopsBeforeTheDocument() {
    CatalogFixture f;
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    const QString bitmap = f.picDir() + "big/1_1.bmp";
    QVERIFY(QFile::remove(bitmap));
    PrinterScope printer(pdf("none.pdf"));
    for (const char* choice : {"bYes", "bPdf"}) {
        script.press(choice);
        script.press("bOK");
        mainForm->sbPrint->trigger();
        QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
        QVERIFY2(script.messages.last().contains(bitmap), qPrintable(script.messages.last()));
        QVERIFY(!QFile::exists(pdf("none.pdf")));
    }
    QVERIFY(!QApplication::overrideCursor());
}

void TestStdPrint::unwritablePdfIsReportedNotTakenForPrinted() {
    CatalogFixture f;
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    const QString unwritable = pdf("no such folder/drawing.pdf");
    PrinterScope printer(unwritable);
    script.press("bYes");
    script.press("bOK");
    mainForm->sbPrint->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QCOMPARE(script.messages, QStringList{"Не удалось записать файл " + unwritable});
    QVERIFY(!QApplication::overrideCursor());
}

void TestStdPrint::sheetIsLaidOutInMillimetres() {
    REQUIRE_POPPLER();
    CatalogFixture f;
    QVERIFY(writeGrey(f.picDir() + "std/s1203.bmp", QSize(300, 900)));
    ModalScript script;
    auto forms = f.start();
    showItem(f, {"d=М8", "L=25", "Шаг=1,25"});
    PrinterScope printer(pdf("sheet.pdf"));
    script.press("bYes");
    mainForm->sbPrint->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QCOMPARE(sheetRows(f), QStringList({"d|М8", "L|25", "Шаг|1,25"}));

    const PdfInfo info = pdfInfo(pdf("sheet.pdf"));
    QCOMPARE(info.pages, 1);
    QVERIFY(std::abs(info.size.width() - 210 * PointsPerMm) < 1);
    QVERIFY(std::abs(info.size.height() - 297 * PointsPerMm) < 1);

    // Texts at their places: the title band at 30 mm left and 10 mm top of the paper.
    const QList<Word> words = pdfWords(pdf("sheet.pdf"));
    struct Expected {
        QString text;
        double left, top; // mm; a negative left: the centre of the cell that far across
    };
    const QList<Expected> expected = {{"Номер", 34.2, 16.4},        {"М8-6gх25.58.016", 72.3, 16.4},
                                      {"Наименование", 34.2, 24.8}, {"Болт", 72.3, 24.8},
                                      {"М8-6gх25", 72.3, -1},       {"Подгруппа", 34.2, 33.3},
                                      {"Болты", 72.3, 33.3},        {"Параметры", 51.2, 43.9},
                                      {"d", -48.95, 53.1},          {"М8", -81.15, 53.1},
                                      {"L", -48.95, 60.0},          {"Шаг", -48.95, 66.9},
                                      {"1,25", -81.15, 66.9}};
    for (const Expected& e : expected) {
        const Word* w = findWord(words, e.text);
        QVERIFY2(w, qPrintable("no word " + e.text));
        if (e.top < 0) continue;
        const double x = e.left < 0 ? w->box.center().x() : w->box.left();
        QVERIFY2(std::abs(x - std::abs(e.left) * PointsPerMm) < 2,
                 qPrintable(QString("%1 at x %2").arg(e.text).arg(x / PointsPerMm)));
        // The glyph box starts a little below the text's top.
        QVERIFY2(std::abs(w->box.top() - e.top * PointsPerMm) < 3,
                 qPrintable(QString("%1 at y %2").arg(e.text).arg(w->box.top() / PointsPerMm)));
    }

    // The rule, the cells' frames and the illustration, on the rendered page.
    const int dpi = 100;
    const QImage page = pdfPage(pdf("sheet.pdf"), dpi);
    auto px = [&](double mm) { return int(std::lround(mm * dpi / 25.4)); };
    QVERIFY(darkestAround(page, QPoint(px(50), px(53.1)), 1) < 100);   // rule
    QVERIFY(darkestAround(page, QPoint(px(31.6), px(56.5)), 1) < 100); // name cell, left
    QVERIFY(darkestAround(page, QPoint(px(66.1), px(63.4)), 1) < 100); // value cell, right
    QVERIFY(darkestAround(page, QPoint(px(45), px(73.8)), 1) < 100);   // last row's bottom
    QVERIFY(darkestAround(page, QPoint(px(45), px(80.7)), 2) > 200);   // nothing below
    // Right of the table and below the title's texts.
    const QRect picture =
        darkBox(page, QRect(px(100), px(40), page.width() - px(100), page.height() - px(40)), 200);
    const QRect expectedPicture(px(103.2), px(44.4), px(267 * 25.4 / 96), px(800 * 25.4 / 96));
    QVERIFY2(std::abs(picture.left() - expectedPicture.left()) <= 1 &&
                 std::abs(picture.top() - expectedPicture.top()) <= 1 &&
                 std::abs(picture.width() - expectedPicture.width()) <= 2 &&
                 std::abs(picture.height() - expectedPicture.height()) <= 2,
             qPrintable(QString("%1,%2 %3x%4")
                            .arg(picture.x())
                            .arg(picture.y())
                            .arg(picture.width())
                            .arg(picture.height())));
}

void TestStdPrint::sheetParametersFollowTheirRule_data() {
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("3 unnamed ends the list")
        << QStringList{"a=1", "b=2", "=3", "c=4"} << QStringList{"a|1", "b|2"};
    QTest::newRow("2 without a value is skipped")
        << QStringList{"a=1", "b=", "c=3", "d=4"} << QStringList{"a|1", "c|3", "d|4"};
    QStringList all, rows;
    for (int n = 1; n <= 13; ++n) {
        all << QStringLiteral("p%1=%1").arg(n);
        rows << QStringLiteral("p%1|%1").arg(n);
    }
    QTest::newRow("all thirteen") << all << rows;
}

void TestStdPrint::sheetParametersFollowTheirRule() {
    QFETCH(QStringList, params);
    QFETCH(QStringList, rows);
    CatalogFixture f;
    f.exec("insert into stdrep values ('от прошлого листа', '1')");
    ModalScript script;
    auto forms = f.start();
    showItem(f, params);
    PrinterScope printer(pdf("sheet.pdf"));
    script.press("bYes");
    mainForm->sbPrint->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QCOMPARE(sheetRows(f), rows);
    if (!hasTool("pdftotext")) QSKIP("pdftotext (poppler-utils) is not installed");
    const QList<Word> words = pdfWords(pdf("sheet.pdf"));
    double lastTop = 0;
    for (const QString& row : rows) {
        const Word* name = findWord(words, row.section('|', 0, 0));
        QVERIFY2(name, qPrintable(row));
        QVERIFY(name->box.top() > lastTop); // in column order, one band each
        lastTop = name->box.top();
    }
}

void TestStdPrint::sheetPictureFallsBack_data() {
    QTest::addColumn<bool>("own");
    QTest::addColumn<QSize>("shown"); // screen pixels at 96 per inch
    QTest::newRow("s1203 of its own, 300 x 900") << true << QSize(267, 800);
    QTest::newRow("s0100 instead, 100 x 100") << false << QSize(400, 400);
}

void TestStdPrint::sheetPictureFallsBack() {
    REQUIRE_POPPLER();
    QFETCH(bool, own);
    QFETCH(QSize, shown);
    CatalogFixture f;
    if (own) QVERIFY(writeGrey(f.picDir() + "std/s1203.bmp", QSize(300, 900)));
    // The panel's picture of the same item is another file: the sheet does not use it.
    QVERIFY(writeGrey(f.picDir() + "std/1_1203.bmp", QSize(50, 50), 0));
    ModalScript script;
    auto forms = f.start();
    showItem(f, {"d=М8"});
    PrinterScope printer(pdf("sheet.pdf"));
    script.press("bYes");
    mainForm->sbPrint->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    const int dpi = 50;
    const QImage page = pdfPage(pdf("sheet.pdf"), dpi);
    const int left = int(100 * dpi / 25.4), top = int(40 * dpi / 25.4);
    const QRect picture =
        darkBox(page, QRect(left, top, page.width() - left, page.height() - top), 240);
    const QSize expected(int(std::lround(shown.width() * dpi / 96.0)),
                         int(std::lround(shown.height() * dpi / 96.0)));
    QVERIFY2(std::abs(picture.width() - expected.width()) <= 2 &&
                 std::abs(picture.height() - expected.height()) <= 2,
             qPrintable(QString("%1 x %2").arg(picture.width()).arg(picture.height())));
}

void TestStdPrint::missingSheetPictureStopsBeforeAnything() {
    CatalogFixture f;
    const QString fallback = f.picDir() + "std/s0100.bmp";
    QVERIFY(QFile::remove(fallback));
    f.exec("insert into stdrep values ('от прошлого листа', '1')");
    ModalScript script;
    auto forms = f.start();
    showItem(f, {"d=М8"});
    PrinterScope printer(pdf("none.pdf"));
    script.press("bPdf");
    script.press("bOK");
    mainForm->sbPrint->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QVERIFY2(script.messages.last().contains(fallback), qPrintable(script.messages.last()));
    // No file was asked for, nothing written, the last sheet's rows stay.
    QCOMPARE(script.pending(), 0);
    QCOMPARE(sheetRows(f), QStringList{"от прошлого листа|1"});
    QVERIFY(!QApplication::overrideCursor());
}

CATALOG_TEST_MAIN(TestStdPrint)
#include "tst_stdprint.moc"
