// Costs of the drawing viewer on a catalogue: loading a drawing with its markers, a click on a
// marker until the part panel is filled, and a zoom step, each beside the bare cost of decoding
// the same bitmap. Medians over repeated runs.
//
//   bench_viewer [catalogue-directory] [runs]
//
// Without a directory a catalogue with two drawings of 120 positions each (small bitmaps
// 1200 x 850, large 2400 x 1700) is made in a temporary directory.
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "benchsupport.h"
#include "data/connection.h"
#include "data/schema.h"
#include "data/sql.h"
#include "search/keyform.h"
#include "viewer/image.h"
#include "viewer/marker.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Bench;

namespace {

// A modification with two drawings of 120 positions: parts in assemblies, prices, remarks.
void makeCatalogue(const QString& dir) {
    Schema::createCatalogue(dir + "/base.mdb");
    Connection db(dir + "/base.mdb");
    QDir(dir).mkpath("PIC/small");
    QDir(dir).mkpath("PIC/big");
    QStringList sql = {"insert into Modif values (1, 'М-315.04', True, 2)",
                       "insert into ModGroup values (1, 1, '01', 'Двигатель')",
                       "insert into Drawing values (1, 1, 1, 1, 'Блок цилиндров')",
                       "insert into Drawing values (1, 2, 1, 2, 'Головка блока')",
                       "insert into Rem values (1, 'Применяется до 2005 г.', 1)"};
    const int positions = 120;
    for (int pic = 1; pic <= 2; ++pic) {
        for (int pos = 1; pos <= positions; ++pos) {
            const QString n = QString("50-%1%2").arg(pic).arg(pos, 5, 10, QChar('0'));
            // Every tenth position is an assembly of the nine that follow it.
            const QString se = pos % 10 == 1 ? QString(" ")
                                             : QString("50-%1%2").arg(pic).arg(pos - (pos - 1) % 10,
                                                                               5, 10, QChar('0'));
            sql << QString("insert into Detail values (%1, %2, '472111', 'Деталь %3', %4, 1)")
                       .arg(Sql::quote(keyForm(n)), Sql::quote(n))
                       .arg(pos)
                       .arg(pos * 0.125);
            sql << QString("insert into DataTab values (%1, %2, %3, %4, %5, 2, %6, 1)")
                       .arg(Sql::quote(keyForm(n)),
                            Sql::quote(se.trimmed().isEmpty() ? " " : keyForm(se)), Sql::quote(se))
                       .arg(pic)
                       .arg(pos)
                       .arg(pos % 7 == 0 ? 1 : 0);
            sql << QString("insert into Place values (1, %1, %2, %3, %4)")
                       .arg(pic)
                       .arg(pos)
                       .arg(5 + (pos * 37) % 90)
                       .arg(5 + (pos * 53) % 90);
            sql << QString("insert into Price (ID_P, Name_P, Price, PriceZ) values (%1, 'Деталь', "
                           "%2, %3)")
                       .arg(Sql::quote(n))
                       .arg(pos * 10.005)
                       .arg(pos * 9.5);
        }
        const QString file = QString("/PIC/%1/1_%2.bmp");
        writeDrawing(dir + file.arg("small").arg(pic), QSize(1200, 850), positions);
        writeDrawing(dir + file.arg("big").arg(pic), QSize(2400, 1700), positions);
    }
    db.execAll(sql);
}

struct Drawing {
    int modif = 0;
    int pic = 0;
    int positions = 0;
};

// The drawings with the most positions, most first.
std::vector<Drawing> largestDrawings(const QString& dir, int count) {
    Connection db(dir + "/base.mdb");
    QSqlQuery q(db.database());
    q.exec(QString("select modif, Picture, count(*) from PicPos where Picture > 0 group by modif, "
                   "Picture order by count(*) desc limit %1")
               .arg(count));
    std::vector<Drawing> out;
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
    return out;
}

// Median in milliseconds of measure() over runs, each after prepare() (not counted).
double timed(int runs, const std::function<void()>& prepare, const std::function<void()>& measure) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare) prepare();
        QElapsedTimer t;
        t.start();
        measure();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

void report(const char* what, double ms, const char* beside, double bare) {
    std::printf("%-48s %8.2f ms   (%s %.2f ms)\n", what, ms, beside, bare);
}

// What the user waits for: the view painted and the pending events processed.
void painted() {
    mainForm->ScrollBox->viewport()->repaint();
    QCoreApplication::processEvents();
}

void open(int modif, int pic) {
    mainForm->CurrentModif = modif;
    mainForm->CurrentPic = pic;
    mainForm->LoadNewImage();
}

// A left click as the window system delivers it.
void clickMarker(TMarker* m) {
    const QPointF at(8, 8);
    QMouseEvent press(QEvent::MouseButtonPress, at, m->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, m->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m, &press);
    QApplication::sendEvent(m, &release);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home(QDir::tempPath() + "/bench_viewer-home-XXXXXX");
    ownSettings(home);
    CatalogApplication app(argc, argv);

    QTemporaryDir made(QDir::tempPath() + "/bench_viewer-XXXXXX");
    QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 30;
    if (dir.isEmpty()) {
        dir = made.path();
        std::printf("making a catalogue in %s ...\n", qPrintable(dir));
        makeCatalogue(dir);
    }
    const std::vector<Drawing> drawings = largestDrawings(dir, 2);
    if (drawings.empty()) {
        std::fprintf(stderr, "no drawing with positions in %s\n", qPrintable(dir));
        return 1;
    }
    const Drawing d = drawings.front();
    const Drawing other = drawings.size() > 1 ? drawings[1] : d;

    std::unique_ptr<Forms> forms = Forms::create(dir);
    if (!forms) return 1;
    TmainForm& main = forms->main();
    main.show();
    main.pressPanelButton(main.sbPic);
    QCoreApplication::processEvents();

    const QString pics = dir + "/PIC/";
    const QString small = pics + QString("small/%1_%2.bmp").arg(d.modif).arg(d.pic);
    const QString big = pics + QString("big/%1_%2.bmp").arg(d.modif).arg(d.pic);
    const QImage smallImage = decode(small);
    const QImage bigImage = decode(big);
    std::printf("drawing %d of modification %d: %d positions, small %dx%d, large %dx%d, %d runs\n",
                d.pic, d.modif, d.positions, smallImage.width(), smallImage.height(),
                bigImage.width(), bigImage.height(), runs);

    const double decodeSmall = timed(runs, nullptr, [&] { decode(small); });
    const double decodeBig = timed(runs, nullptr, [&] { decode(big); });

    const double load = timed(
        runs, [&] { open(other.modif, other.pic); }, [&] { open(d.modif, d.pic); });
    report("load drawing with its markers (LoadNewImage)", load, "decode small", decodeSmall);
    const double loadPainted = timed(
        runs,
        [&] {
            open(other.modif, other.pic);
            painted();
        },
        [&] {
            open(d.modif, d.pic);
            painted();
        });
    report("load drawing, painted", loadPainted, "decode small", decodeSmall);

    int clickIndex = 0;
    const double click = timed(
        runs, [&] { clickIndex = (clickIndex + 7) % main.MarkerCount; },
        [&] { clickMarker(main.Markers[clickIndex]); });
    report("click on a marker until the panel is filled", click, "decode small", decodeSmall);
    if (!main.partShown() || main.lbN->text().isEmpty()) {
        std::fprintf(stderr, "the click did not fill the part panel\n");
        return 1;
    }

    const double zoomCold = timed(
        runs,
        [&] {
            // The other drawing's large bitmap in the cache, so this one is read afresh.
            open(other.modif, other.pic);
            main.sbZoomPlus->trigger();
            open(d.modif, d.pic);
        },
        [&] { main.sbZoomPlus->trigger(); });
    report("zoom step 1 -> 2, large bitmap read", zoomCold, "decode large", decodeBig);

    for (int level = 2; level <= 3; ++level) {
        const double zoom = timed(
            runs,
            [&] {
                main.sbZoomNorm->trigger();
                for (int i = 1; i < level; ++i)
                    main.sbZoomPlus->trigger();
            },
            [&] { main.sbZoomPlus->trigger(); });
        const QByteArray what = QString("zoom step %1 -> %2").arg(level).arg(level + 1).toUtf8();
        report(what.constData(), zoom, "decode large", decodeBig);
    }
    const double zoomPaint = timed(
        runs,
        [&] {
            main.sbZoomNorm->trigger();
            main.sbZoomPlus->trigger();
        },
        [&] {
            main.sbZoomPlus->trigger();
            main.ScrollBox->viewport()->repaint();
        });
    report("zoom step 2 -> 3 with the repaint of the view", zoomPaint, "decode large", decodeBig);
    const double zoomColdPainted = timed(
        runs,
        [&] {
            open(other.modif, other.pic);
            main.sbZoomPlus->trigger();
            open(d.modif, d.pic);
            painted();
        },
        [&] {
            main.sbZoomPlus->trigger();
            painted();
        });
    report("zoom step 1 -> 2, large bitmap read, painted", zoomColdPainted, "decode large",
           decodeBig);
    const double reduce = timed(
        runs,
        [&] {
            main.sbZoomNorm->trigger();
            main.sbZoomPlus->trigger();
        },
        [&] { main.sbZoomMinus->trigger(); });
    report("reduce 2 -> 1 (small bitmap read)", reduce, "decode small", decodeSmall);
    return 0;
}
