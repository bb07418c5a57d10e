// gencatalog: writes a demo catalogue (or a large one for benchmarks) into a directory.
#include "commandline.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    // The pictures are drawn with text, which needs a platform; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Gen::runCommandLine(app.arguments(), out, err);
}
