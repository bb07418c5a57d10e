// Costs of the standardized-items panel and of printing: the drawing printed into a PDF file
// with its numbers and frames, the standardized item's sheet, and switching rows in dbgSTD,
// each beside the bare cost of decoding its bitmap. Medians over repeated runs.
//
//   bench_std [catalogue-directory] [runs]
//
// Without a directory a catalogue of its own is made in a temporary directory: one drawing
// of 120 positions (small 1200 x 850, large 2400 x 1700) and 40 standardized items with
// illustrations of 480 x 360 (one bit, as the catalogue's are).
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "benchsupport.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/schema.h"
#include "data/sql.h"
#include "platform/modal.h"
#include "platform/printer.h"
#include "std/stditem.h"
#include "viewer/drawingprint.h"
#include "viewer/marker.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Bench;

namespace {

void writeIllustration(const QString& path, int seed) {
    QImage img(480, 360, QImage::Format_Mono);
    img.fill(1);
    QPainter p(&img);
    p.setPen(QPen(Qt::color0, 2));
    for (int i = 0; i < 30; ++i)
        p.drawLine((i * 37 + seed) % 480, (i * 23) % 360, (i * 71) % 480, (i * 13 + seed) % 360);
    p.end();
    img.save(path, "BMP");
}

void makeCatalogue(const QString& dir) {
    Schema::createCatalogue(dir + "/base.mdb");
    Connection db(dir + "/base.mdb");
    for (const char* sub : {"PIC/small", "PIC/big", "PIC/std"})
        QDir(dir).mkpath(sub);
    QStringList sql = {"insert into Modif values (1, 'М-315.04', True, 1)",
                       "insert into ModGroup values (1, 1, '01', 'Двигатель')",
                       "insert into Drawing values (1, 1, 1, 1, 'Блок цилиндров')"};
    for (int pos = 1; pos <= 120; ++pos) {
        const QString n = QString("50-1%1").arg(pos, 5, 10, QChar('0'));
        sql << QString("insert into Detail values ('%1', '%2', '472111', 'Деталь %3', 0.5, 1)")
                   .arg(QString(n).remove('-'), n)
                   .arg(pos);
        sql << QString("insert into DataTab values ('%1', ' ', ' ', 1, %2, 2, 0, 1)")
                   .arg(QString(n).remove('-'))
                   .arg(pos);
        sql << QString("insert into Place values (1, 1, %1, %2, %3)")
                   .arg(pos)
                   .arg(5 + (pos * 37) % 90)
                   .arg(5 + (pos * 53) % 90);
    }
    for (int i = 0; i < 40; ++i) {
        QString cols = "N_f, N, Name, V, modif, MODName, N_Gost, Name_Gost, PodName, FullName, "
                       "PodGroup, PicGost";
        QString values = QString("'%1', '%1', 'Болт', 0.01, 1, 'М-315.04', 'ГОСТ %2', 'Болты', "
                                 "'Болт %2', 'Болт М%2 ГОСТ 7798-70', %3, %4")
                             .arg(QString("М%1").arg(i + 6))
                             .arg(i)
                             .arg(i / 10 + 1)
                             .arg(i % 10 + 1);
        for (int n = 1; n <= 13; ++n) {
            cols += QString(", ParamName%1, Param%1").arg(n);
            values += QString(", 'p%1', '%2'").arg(n).arg(n * i);
        }
        sql << "insert into STD (" + cols + ") values (" + values + ")";
        writeIllustration(dir + "/PIC/std/" + StdItem::panelPicture(1, i / 10 + 1, i % 10 + 1), i);
        writeIllustration(dir + "/PIC/std/" + StdItem::sheetPicture(i / 10 + 1, i % 10 + 1), i);
    }
    writeIllustration(dir + "/PIC/std/" + StdItem::PanelFallback, 0);
    writeIllustration(dir + "/PIC/std/" + StdItem::SheetFallback, 0);
    db.execAll(sql);
    writeDrawing(dir + "/PIC/small/1_1.bmp", QSize(1200, 850), 120);
    writeDrawing(dir + "/PIC/big/1_1.bmp", QSize(2400, 1700), 120);
}

double timed(int runs, const std::function<void()>& measure) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        measure();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

void report(const char* what, double ms, const char* beside, double bare) {
    std::printf("%-46s %8.2f ms   (%s %.2f ms)\n", what, ms, beside, bare);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home(QDir::tempPath() + "/bench_std-home-XXXXXX");
    ownSettings(home);
    CatalogApplication app(argc, argv);

    QTemporaryDir made(QDir::tempPath() + "/bench_std-XXXXXX");
    QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 15;
    if (dir.isEmpty()) {
        dir = made.path();
        std::printf("making a catalogue in %s ...\n", qPrintable(dir));
        makeCatalogue(dir);
    }

    // Every question is answered "Да"; the printer is a PDF file.
    Modal::setResponder([](QDialog& d) {
        if (auto* b = d.findChild<QAbstractButton*>("bYes")) b->click();
    });
    const QString pdf = made.filePath("out.pdf");
    Printer::setSource([pdf] { return Printer::pdfPrinter(pdf); });

    std::unique_ptr<Forms> forms = Forms::create(dir);
    if (!forms) return 1;
    TmainForm& main = forms->main();
    main.show();

    // The drawing with the most positions, its first marker selected.
    {
        Connection db(dir + "/base.mdb");
        QSqlQuery q(db.database());
        q.exec("select modif, Picture, count(*) from PicPos where Picture > 0 group by modif, "
               "Picture order by count(*) desc limit 1");
        if (!q.next()) {
            std::fprintf(stderr, "no drawing with positions in %s\n", qPrintable(dir));
            return 1;
        }
        main.CurrentModif = q.value(0).toInt();
        main.CurrentPic = q.value(1).toInt();
    }
    main.pressPanelButton(main.sbPic);
    main.LoadNewImage();
    if (main.MarkerCount > 0) main.PosOnClick(main.Markers[0]);
    const QString big =
        dir + QString("/PIC/big/%1_%2.bmp").arg(main.CurrentModif).arg(main.CurrentPic);
    const QImage bigImage = decode(big);
    std::printf("drawing %d of modification %d: %d markers, large %dx%d, %d runs\n",
                main.CurrentPic, main.CurrentModif, main.MarkerCount, bigImage.width(),
                bigImage.height(), runs);

    const double decodeBig = timed(runs, [&] { decode(big); });
    const double annotate = timed(runs, [&] { main.drawingToPrint(); });
    const QImage marked = main.drawingToPrint();
    const double pdfOnly = timed(runs, [&] {
        auto printer = Printer::pdfPrinter(pdf);
        DrawingPrint::print(*printer, marked);
    });
    const double printDrawing = timed(runs, [&] { main.sbPrintClick(); });
    report("print drawing to PDF (sbPrintClick)", printDrawing, "decode large", decodeBig);
    report("  of which numbers and frames on the copy", annotate, "decode large", decodeBig);
    report("  of which the PDF page", pdfOnly, "decode large", decodeBig);
    std::printf("  PDF size %lld bytes\n", QFileInfo(pdf).size());

    // The standardized items: every one of them, the panel in front.
    TQuery& items = DM->QSTD;
    items.setText({"select * from STD"});
    items.open();
    main.pressPanelButton(main.sbSTD);
    if (items.recordCount() < 2) {
        std::fprintf(stderr, "fewer than two standardized items in %s\n", qPrintable(dir));
        return 1;
    }
    const int count = std::min(items.recordCount(), 40);
    std::vector<QString> pictures;
    for (int r = 0; r < count; ++r) {
        items.moveTo(r);
        pictures.push_back(StdItem::pictureOrFallback(
            dir + "/PIC/std/",
            StdItem::panelPicture(items.asInteger("modif"), items.asInteger("PodGroup"),
                                  items.asInteger("PicGost")),
            StdItem::PanelFallback));
    }
    int row = 0;
    const double decodeStd = timed(runs * 4, [&] { decode(pictures[size_t(row++ % count)]); });
    row = 0;
    const double switchRow = timed(runs * 4, [&] { items.moveTo(++row % count); });
    report("switch rows in dbgSTD (parameters, picture)", switchRow, "decode picture", decodeStd);

    items.moveTo(0);
    const double printSheet = timed(runs, [&] { main.sbPrintClick(); });
    report("print sheet to PDF (sbPrintClick)", printSheet, "decode picture", decodeStd);
    Modal::setResponder(nullptr);
    Printer::setSource(nullptr);
    return 0;
}
