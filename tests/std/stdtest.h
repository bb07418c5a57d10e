#pragma once

// What the standardized-items tests share: items in the catalogue, the printer seam made a PDF
// file, and the poppler tools that read the PDF back.
#include "data/sql.h"
#include "platform/printer.h"
#include "search/keyform.h"
#include "support/fixture.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace StdTest {

struct Item {
    int modif = 1;
    QString modName;
    QString n;
    QString name;
    double v = 0;
    QString podName;
    QString fullName;
    int podGroup = 0;
    int picGost = 0;
    QStringList params; // "name=value" for parameter 1, 2 ... ("" leaves one empty)
    QString nGost = QStringLiteral("ГОСТ 7798-70");
    QString nameGost = QStringLiteral("Болты");
};

inline void addItem(CatalogFixture& f, const Item& it) {
    QString names = "N_f, N, Name, V, modif, MODName, N_Gost, Name_Gost, PodName, FullName, "
                    "PodGroup, PicGost";
    QString values = QStringList{Sql::quote(keyForm(it.n)),    Sql::quote(it.n),
                                 Sql::quote(it.name),          QString::number(it.v),
                                 QString::number(it.modif),    Sql::quote(it.modName),
                                 Sql::quote(it.nGost),         Sql::quote(it.nameGost),
                                 Sql::quote(it.podName),       Sql::quote(it.fullName),
                                 QString::number(it.podGroup), QString::number(it.picGost)}
                         .join(", ");
    for (int i = 0; i < it.params.size(); ++i) {
        const QStringList nv = it.params[i].split('=');
        if (nv.size() != 2) continue;
        names += QStringLiteral(", ParamName%1, Param%1").arg(i + 1);
        values += ", " + Sql::quote(nv[0]) + ", " + Sql::quote(nv[1]);
    }
    f.exec("insert into STD (" + names + ") values (" + values + ")");
}

// A picture of one grey, so that where it lands on a page can be found.
inline bool writeGrey(const QString& path, QSize size, int grey = 128) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(grey, grey, grey));
    return img.save(path, "BMP");
}

// The printer seam for one test: the default printer writes a PDF file, or there is none.
class PrinterScope {
public:
    // A default printer writing into path.
    explicit PrinterScope(const QString& path) {
        Printer::setSource([path] { return Printer::pdfPrinter(path); });
    }
    // No printer installed.
    PrinterScope() {
        Printer::setSource([] { return std::unique_ptr<QPrinter>(); });
    }
    ~PrinterScope() { Printer::setSource(nullptr); }
    PrinterScope(const PrinterScope&) = delete;
    PrinterScope& operator=(const PrinterScope&) = delete;
};

inline bool hasTool(const char* name) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

inline QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// pdfinfo: the number of pages and the first page's size in points.
struct PdfInfo {
    int pages = 0;
    QSizeF size;
};

inline PdfInfo pdfInfo(const QString& path) {
    const QString out = run("pdfinfo", {path});
    PdfInfo info;
    const auto pages = QRegularExpression("Pages:\\s+(\\d+)").match(out);
    if (pages.hasMatch()) info.pages = pages.captured(1).toInt();
    const auto size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(out);
    if (size.hasMatch())
        info.size = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    return info;
}

// The page rendered at dpi pixels per inch.
inline QImage pdfPage(const QString& path, int dpi) {
    const QString prefix = path + QStringLiteral(".page");
    run("pdftoppm", {"-png", "-r", QString::number(dpi), "-singlefile", path, prefix});
    return QImage(prefix + ".png");
}

// The bounding box of the pixels darker than limit within area.
inline QRect darkBox(const QImage& img, const QRect& area, int limit) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(img.pixel(x, y)) < limit) box |= QRect(x, y, 1, 1);
    return box;
}

// The darkest pixel around a point.
inline int darkestAround(const QImage& img, QPoint at, int radius) {
    int darkest = 255;
    for (int y = at.y() - radius; y <= at.y() + radius; ++y)
        for (int x = at.x() - radius; x <= at.x() + radius; ++x)
            if (img.valid(x, y)) darkest = qMin(darkest, qGray(img.pixel(x, y)));
    return darkest;
}

} // namespace StdTest

#define REQUIRE_POPPLER()                                                                          \
    do {                                                                                           \
        if (!StdTest::hasTool("pdfinfo") || !StdTest::hasTool("pdftoppm") ||                       \
            !StdTest::hasTool("pdftotext"))                                                        \
            QSKIP("poppler-utils (pdfinfo, pdftoppm, pdftotext) is not installed");                \
    } while (false)
