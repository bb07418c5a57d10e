// "Лист подбора...": a page per drawing that shows basket parts, their positions circled in
// red and the basket lines listed, read back from the PDF the printer seam writes.
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/picksheet.h"
#include "basket/picksheetprint.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "search/keyform.h"
#include "std/stdtest.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QAction>
#include <QFile>
#include <QMenu>

using namespace StdTest;

namespace {

void addLine(CatalogFixture& f, int n, const QString& id, const QString& name, int k) {
    f.exec(QStringLiteral("insert into Order_ (N, ID, ID_f, Name, K) values (%1, '%2', '%3', "
                          "'%4', %5)")
               .arg(n)
               .arg(id, keyForm(id), name)
               .arg(k));
}

// The fixture's basket: two parts of drawing 1 (one of them at two places) and one of
// drawing 2 of modification 1, and a part of the hidden modification 3.
void fillBasket(CatalogFixture& f) {
    addLine(f, 1, "50-1002015", "Гильза цилиндра", 4);
    addLine(f, 2, "50.12.003-1", "Втулка", 2);
    addLine(f, 3, "50-3501010", "Тормоз в сборе", 1);
    addLine(f, 4, "50-1601090", "Муфта сцепления", 1);
}

// Page `page` of the PDF rendered at dpi.
QImage renderPage(const QString& pdf, int page, int dpi) {
    const QString prefix = pdf + QStringLiteral(".p%1").arg(page);
    run("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", QString::number(page), "-l",
                     QString::number(page), "-singlefile", pdf, prefix});
    return QImage(prefix + ".png");
}

// Red pixels in the square of side 3r round centre.
int redAround(const QImage& img, QPoint centre, int r) {
    int count = 0;
    const QRect square =
        QRect(centre - QPoint(3 * r / 2, 3 * r / 2), QSize(3 * r, 3 * r)).intersected(img.rect());
    for (int y = square.top(); y <= square.bottom(); ++y)
        for (int x = square.left(); x <= square.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++count;
        }
    return count;
}

} // namespace

class TestPickSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statementGroupsByDrawing();
    void printsAPagePerDrawingWithCircledPositions();
    void basketOnNoDrawingPrintsNothing();
};

void TestPickSheet::statementGroupsByDrawing() {
    CatalogFixture f;
    fillBasket(f);
    TDM dm(f.dir());
    TQuery q(*dm.Database, "q");
    const auto sheets = PickSheet::read(q, "((modif=0) OR (modif=1) OR (modif=2))");
    QCOMPARE(sheets.size(), size_t(2));
    const PickSheet::Sheet& first = sheets[0];
    QCOMPARE(first.modif, 1);
    QCOMPARE(first.picture, 1);
    QCOMPARE(first.picName, QString("Блок цилиндров"));
    QCOMPARE(first.lines.size(), size_t(2));
    QCOMPARE(first.lines[0].number, QString("50-1002015"));
    QCOMPARE(first.lines[0].quantity, 4);
    QCOMPARE(first.lines[1].positions, QList<int>({3, 4}));
    QCOMPARE(first.spots.size(), size_t(3));
    QCOMPARE(first.spots[1].position, 3);
    QCOMPARE(first.spots[1].ver, 40.0);
    QCOMPARE(first.spots[1].hor, 50.0);
    QCOMPARE(sheets[1].picture, 2);
    QCOMPARE(sheets[1].lines[0].n, 3);
    // Made visible, modification 3 adds its drawing.
    QCOMPARE(PickSheet::read(q, "((modif=1) OR (modif=3))").size(), size_t(3));
}

void TestPickSheet::printsAPagePerDrawingWithCircledPositions() {
    REQUIRE_POPPLER();
    CatalogFixture f;
    fillBasket(f);
    ModalScript script;
    auto forms = f.start();
    QTemporaryDir out;
    const QString pdf = out.filePath("pick.pdf");
    PrinterScope printer(pdf);
    mainForm->WinView->trigger();
    QVERIFY(mainForm->sbPickSheet->isEnabled());
    QVERIFY(mainForm->pmOrder->actions().contains(mainForm->sbPickSheet));
    script.press("bYes");
    mainForm->sbPickSheet->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QCOMPARE(script.pending(), 0);
    QVERIFY(QFile::exists(pdf));
    QCOMPARE(pdfInfo(pdf).pages, 2);

    const QString first = run("pdftotext", {"-f", "1", "-l", "1", "-layout", pdf, "-"});
    QVERIFY2(first.contains("Блок цилиндров"), qPrintable(first));
    QVERIFY(first.contains("50-1002015"));
    QVERIFY(first.contains("Гильза цилиндра"));
    QVERIFY(first.contains("3, 4"));
    QVERIFY(!first.contains("Тормоз в сборе"));
    const QString second = run("pdftotext", {"-f", "2", "-l", "2", "-layout", pdf, "-"});
    QVERIFY(second.contains("Тормоз в сборе"));
    QVERIFY(!run("pdftotext", {pdf, "-"}).contains("Муфта"));

    // Positions 2, 3, 4 are circled; 1 and 5 of the same drawing are not.
    const QImage page = renderPage(pdf, 1, 60);
    QVERIFY(!page.isNull());
    const QRect target = PickSheetPrint::drawingTarget(QSize(800, 600), page.size());
    const int r = PickSheetPrint::circleRadius(target);
    struct Place {
        int position;
        double ver, hor;
        bool circled;
    };
    for (const Place& p : {Place{1, 10, 10, false}, Place{2, 20, 30, true}, Place{3, 40, 50, true},
                           Place{4, 60, 50, true}, Place{5, 80, 70, false}}) {
        const QPoint at = PickSheetPrint::spotOnPage({p.position, p.ver, p.hor}, target);
        const int red = redAround(page, at, r);
        QVERIFY2((red > r) == p.circled,
                 qPrintable(QString("position %1: %2 red pixels").arg(p.position).arg(red)));
    }
    QVERIFY(redAround(renderPage(pdf, 2, 60), PickSheetPrint::spotOnPage({1, 50, 50}, target), r) >
            r);
}

void TestPickSheet::basketOnNoDrawingPrintsNothing() {
    CatalogFixture f;
    addLine(f, 1, "50-1601090", "Муфта сцепления", 1); // hidden modification only
    ModalScript script;
    auto forms = f.start();
    QTemporaryDir out;
    const QString pdf = out.filePath("pick.pdf");
    PrinterScope printer(pdf);
    mainForm->WinView->trigger();
    mainForm->sbPickSheet->trigger();
    QCOMPARE(script.messages, QStringList{"Детали корзины не показаны ни на одном рисунке"});
    QVERIFY(!QFile::exists(pdf));
}

CATALOG_TEST_MAIN(TestPickSheet)
#include "tst_picksheet.moc"
