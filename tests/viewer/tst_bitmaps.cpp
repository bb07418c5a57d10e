// Drawing bitmaps of unusual size or state, and position numbers of any width.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/dberror.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "viewer/image.h"
#include "viewer/marker.h"
#include "support/viewertest.h"

#include <QAction>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QScrollArea>

using namespace ViewerTest;

namespace {

void put32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xff);
}

// The header of an uncompressed 1-bit BMP of the given size, without its pixels.
QByteArray monoBmpHeader(int width, int height) {
    QByteArray b(62, '\0');
    b[0] = 'B';
    b[1] = 'M';
    const quint32 rowBytes = quint32((width + 31) / 32 * 4);
    put32(b, 2, 62 + rowBytes * quint32(height));
    put32(b, 10, 62);
    put32(b, 14, 40);
    put32(b, 18, quint32(width));
    put32(b, 22, quint32(height));
    b[26] = 1;
    b[28] = 1;
    put32(b, 46, 2);
    put32(b, 58, 0xffffff); // palette: black, white
    return b;
}

// The centre of the place a marker stands for, in the drawing's scale.
QPoint placeCentre(double hor, double ver) {
    const QRect img = mainForm->mainImage->geometry();
    return QPoint(qRound(img.width() * hor / 100) + img.x(),
                  qRound(img.height() * ver / 100) + img.y());
}

} // namespace

class TestBitmaps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void largeOneBitScanIsRead();
    void drawingAboveTheLimitIsRefusedWithAMessage();
    void truncatedBitmapIsShownAndCalledDamaged();
    void longPositionNumbersWidenTheirMarkers();
};

void TestBitmaps::largeOneBitScanIsRead() {
    // Wider and taller than Qt's default allocation limit lets through (about 5 800 pixels).
    QTemporaryDir dir;
    const QString path = dir.path() + "/scan.bmp";
    QImage scan(7000, 9900, QImage::Format_Mono);
    scan.fill(1);
    QVERIFY(scan.save(path, "BMP"));
    QVERIFY(QFile(path).size() < 10 * 1024 * 1024);
    const QImage read = readBitmap(path);
    QCOMPARE(read.size(), QSize(7000, 9900));
}

void TestBitmaps::drawingAboveTheLimitIsRefusedWithAMessage() {
    QTemporaryDir dir;
    const QString path = dir.path() + "/huge.bmp";
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(monoBmpHeader(20000, 30000));
    f.close();
    try {
        readBitmap(path);
        QFAIL("a drawing above the limit was read");
    } catch (const CatalogError& e) {
        QVERIFY2(e.message().contains("слишком велик"), qPrintable(e.message()));
        QVERIFY(e.message().contains(path));
        QVERIFY(e.message().contains("20000 × 30000"));
    }
}

void TestBitmaps::truncatedBitmapIsShownAndCalledDamaged() {
    CatalogFixture f;
    const QString small = f.picDir() + "small/1_1.bmp";
    QFile file(small);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 whole = file.size();
    QVERIFY(file.resize(whole / 2));
    file.close();

    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    script.press("bOK");
    openDrawing(1, 1);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("повреждён"), qPrintable(script.messages[0]));
    QVERIFY(script.messages[0].contains(small));
    // What could be read is shown, with its markers.
    QCOMPARE(mainForm->mainImage->picture().size(), QSize(400, 300));
    QVERIFY(marker(2) && marker(2)->isVisible());

    // Said once: opening the drawing again shows it without another message.
    openDrawing(1, 2);
    openDrawing(1, 1);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.unexpected.isEmpty());
}

void TestBitmaps::longPositionNumbersWidenTheirMarkers() {
    CatalogFixture f;
    f.addPart(1, "50-1002099", "Болт", 0.05);
    f.addPart(1, "50-1002098", "Гайка", 0.02);
    f.addOccurrence(1, "50-1002099", "", 1, 315);
    f.addOccurrence(1, "50-1002098", "", 1, 12345);
    f.addPlace(1, 1, 315, 30, 80);
    f.addPlace(1, 1, 12345, 70, 20);
    ModalScript script;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);

    struct Case {
        int position;
        double ver, hor; // as the places were added
    };
    const Case cases[] = {{5, 80, 70}, {315, 30, 80}, {12345, 70, 20}};
    for (int step = 0; step < 3; ++step) {
        for (const Case& c : cases) {
            TMarker* m = marker(c.position);
            QVERIFY(m);
            const QString text = QString::number(c.position);
            QCOMPARE(m->text(), text);
            QCOMPARE(m->height(), 16);
            if (text.size() <= 2)
                QCOMPARE(m->width(), 16);
            else
                QVERIFY2(m->width() >= QFontMetrics(m->font()).horizontalAdvance(text),
                         qPrintable(text + " is clipped"));
            // Centred on its place (within the rounding of the fitted and zoomed steps).
            const QPoint centre = placeCentre(c.hor, c.ver);
            QVERIFY2(qAbs(m->geometry().center().x() - centre.x()) <= 2,
                     qPrintable(QString("%1 at step %2").arg(text).arg(step)));
        }
        mainForm->sbZoomPlus->trigger();
    }
    QVERIFY(script.unexpected.isEmpty());
}

CATALOG_TEST_MAIN(TestBitmaps)
#include "tst_bitmaps.moc"
