#include "viewer/drawingprint.h"

#include "data/textfmt.h"
#include "platform/printer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace DrawingPrint {

namespace {

// a * b / c to the nearest integer.
int mulDiv(int a, int b, int c) {
    return Fmt::nearestInt(double(a) * b / c);
}

} // namespace

QPoint placeOnBitmap(QPoint markerTopLeft, const QRect& shown, QSize bitmap) {
    if (shown.width() <= 0 || shown.height() <= 0) return QPoint();
    return QPoint(mulDiv(bitmap.width(), markerTopLeft.x() - shown.x() + 6, shown.width()),
                  mulDiv(bitmap.height(), markerTopLeft.y() - shown.y() + 6, shown.height()));
}

void annotate(QImage& bitmap, const std::vector<Mark>& marks) {
    // Numbers are written in colour even on a one-bit or palette drawing.
    if (bitmap.format() != QImage::Format_RGB32 && bitmap.format() != QImage::Format_ARGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    QPainter p(&bitmap);
    // 24 points on the 96-dpi canvas the sizes were chosen for, whatever the file's own dpi.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(32);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font);
    p.setPen(QPen(Qt::black, 5));
    p.setBrush(Qt::white);
    for (const Mark& m : marks) {
        const int x = m.at.x(), y = m.at.y();
        if (m.framed) p.drawRect(QRect(QPoint(x - 2, y - 2), QPoint(x + 39, y + 39)));
        const QRect text(x, y, metrics.horizontalAdvance(m.caption), metrics.height());
        p.fillRect(text, Qt::white);
        p.drawText(text, Qt::AlignLeft | Qt::AlignTop, m.caption);
    }
}

QRect pageTarget(QSize bitmap, QSize page) {
    const int W = bitmap.width(), H = bitmap.height();
    const int P = page.width(), Q = page.height();
    if (W <= 0 || H <= 0) return QRect();
    // W / H > P / Q without rounding.
    if (qint64(W) * Q > qint64(P) * H) return QRect(0, 0, P, mulDiv(H, P, W));
    return QRect(0, 0, mulDiv(W, Q, H), Q);
}

void print(QPrinter& printer, const QImage& bitmap) {
    printer.setPageOrientation(bitmap.width() > bitmap.height() ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    QPainter p;
    Printer::begin(p, printer);
    // The source pixels go to the page unchanged: no smoothing of the lines and numbers.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(pageTarget(bitmap.size(), QSize(printer.width(), printer.height())), bitmap);
    Printer::end(p, printer);
}

} // namespace DrawingPrint
