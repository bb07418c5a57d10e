// Start-up benchmark: the time from starting the process to the main window shown with the
// drawing tree, against a bare Qt main window with a tree in the same run.
//
//   bench_startup <catalogue-dir> [runs]
//
// Each measurement is a fresh process (this program re-started with --child), timed from the
// spawn to the child's report that its window is on the screen, so loading the libraries
// counts for both. Prints the median of the runs.
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "benchsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTreeWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Bench;

namespace {

// Lets the window reach the screen and paints it once.
void waitShown(QWidget& w) {
    w.show();
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QCoreApplication::processEvents();
    w.repaint();
    QCoreApplication::processEvents();
}

int child(int argc, char** argv, const QString& mode, const QString& dir) {
    if (mode == QLatin1String("bare")) {
        QApplication app(argc, argv);
        QMainWindow w;
        auto* tree = new QTreeWidget;
        for (int i = 0; i < 20; ++i)
            tree->addTopLevelItem(new QTreeWidgetItem({QString::number(i)}));
        w.setCentralWidget(tree);
        w.showMaximized();
        waitShown(w);
        std::puts("shown");
        std::fflush(stdout);
        return 0;
    }
    CatalogApplication app(argc, argv);
    auto forms = Forms::create(dir);
    if (!forms) return 1;
    forms->main().showMaximized();
    waitShown(forms->main());
    std::puts("shown");
    std::fflush(stdout);
    return 0;
}

double runOnce(const QString& self, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(self, args);
    if (!p.waitForStarted()) return -1;
    while (p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(50);
        if (p.readAll().contains("shown")) break;
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    p.waitForFinished();
    return p.exitCode() == 0 ? ms : -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && QByteArray(argv[1]) == "--child")
        return child(argc, argv, QString::fromLocal8Bit(argv[2]),
                     argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup <catalogue-dir> [runs]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString dir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 9;
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<double> bare, catalog;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(runOnce(self, {"--child", "bare"}));
        catalog.push_back(runOnce(self, {"--child", "catalog", dir}));
        if (bare.back() < 0 || catalog.back() < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
    }
    const double b = median(bare), c = median(catalog);
    std::printf("catalogue: %s\nruns: %d (median)\nbare main window: %.1f ms\n"
                "start-up to the tree shown: %.1f ms (%.2fx the bare window)\n",
                qPrintable(dir), runs, b, c, c / b);
    return 0;
}
