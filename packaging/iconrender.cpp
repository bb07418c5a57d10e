// iconrender <icon.svg> <out.png> <size>: draws the program's icon at one size for the icon theme.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    bool ok = false;
    const int size = args.size() == 4 ? args[3].toInt(&ok) : 0;
    if (!ok || size < 8 || size > 1024) {
        err << "usage: iconrender <icon.svg> <out.png> <size>\n";
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        err << "cannot read " << args[1] << "\n";
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.save(args[2], "PNG")) {
        err << "cannot write " << args[2] << "\n";
        return 1;
    }
    return 0;
}
