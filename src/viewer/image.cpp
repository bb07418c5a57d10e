#include "viewer/image.h"

#include "data/dberror.h"
#include "platform/errordisplay.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>

namespace {

// The largest drawing read: an A1 sheet scanned at 600 dpi (594 x 841 mm), with some margin.
constexpr qint64 MaxWidth = 14100;
constexpr qint64 MaxHeight = 19900;
constexpr qint64 MaxPixels = MaxWidth * MaxHeight;
// Qt refuses to decode more than its allocation limit (128 MB by default, about 5 800 x 5 800
// at 32 bits) whatever the file's depth; the limit is raised to such a sheet at 32 bits.
constexpr int AllocationLimitMb = int(MaxPixels * 4 / (1024 * 1024)) + 1;

quint32 le32(const QByteArray& b, int at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
           quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}

// The width and height a BMP's header gives; invalid for other files. Qt gives no size for a
// BMP it would refuse to allocate, so the limit is checked on the header itself.
QSize bmpHeaderSize(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QSize();
    const QByteArray h = f.read(26);
    if (h.size() < 26 || !h.startsWith("BM") || le32(h, 14) < 40) return QSize();
    return QSize(qint32(le32(h, 18)), qAbs(qint32(le32(h, 22))));
}

// For an uncompressed BMP, the file size its header promises; -1 for anything else. Qt reads
// a truncated BMP as a partial picture without a word, so the size is compared here.
qint64 promisedBmpSize(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray h = f.read(34);
    if (h.size() < 34 || !h.startsWith("BM") || le32(h, 14) < 40) return -1;
    const quint32 compression = le32(h, 30);
    if (compression != 0 && compression != 3) return -1; // BI_RGB, BI_BITFIELDS
    const qint64 width = qint32(le32(h, 18));
    const qint64 height = qAbs(qint64(qint32(le32(h, 22))));
    const qint64 bits = quint8(h[28]) | quint8(h[29]) << 8;
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return qint64(le32(h, 10)) + rowBytes * height;
}

// Says once per file (and version of it) that a drawing is damaged; what could be read is
// shown all the same.
void reportDamage(const QString& path, qint64 size, qint64 promised) {
    static QSet<QString> told;
    const QString key = path + QLatin1Char('|') + QString::number(size);
    if (told.contains(key)) return;
    told.insert(key);
    ErrorDisplay::show(QStringLiteral("Файл рисунка %1 повреждён: он короче, чем указано в его "
                                      "заголовке (%2 байт из %3). Показана часть рисунка, "
                                      "которую удалось прочитать.")
                           .arg(path)
                           .arg(size)
                           .arg(promised));
}

} // namespace

QImage readBitmap(const QString& path) {
    if (!QFileInfo::exists(path))
        throw FileError(QStringLiteral("Файл рисунка %1 не найден").arg(path));
    QImageReader reader(path);
    // The catalogue names every picture .bmp; its content decides how it is read.
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(AllocationLimitMb);
    const QSize size = reader.size().isValid() ? reader.size() : bmpHeaderSize(path);
    if (size.isValid() && (size.width() > MaxWidth || size.height() > MaxHeight ||
                           qint64(size.width()) * size.height() > MaxPixels))
        throw FileError(QStringLiteral("Рисунок %1 слишком велик (%2 × %3 точек): программа "
                                       "показывает рисунки до %4 × %5 точек (лист A1 при "
                                       "600 точках на дюйм).")
                            .arg(path)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(MaxWidth)
                            .arg(MaxHeight));
    QImage img = reader.read();
    if (img.isNull())
        throw FileError(QStringLiteral("Не удалось прочитать файл рисунка %1: %2")
                            .arg(path, reader.errorString()));
    const qint64 promised = promisedBmpSize(path);
    const qint64 actual = QFileInfo(path).size();
    if (promised > 0 && actual < promised) reportDamage(path, actual, promised);
    return img;
}

TImage::TImage(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
    setMouseTracking(true);
}

void TImage::setPicture(const QImage& picture) {
    image = picture;
    update();
}

QImage TImage::largeBitmap(const QString& path) {
    const QFileInfo info(path);
    const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (large.isNull() || path != largePath || stamp != largeStamp || size != largeSize) {
        large = readBitmap(path);
        largePath = path;
        largeStamp = stamp;
        largeSize = size;
    }
    return large;
}

void TImage::paintEvent(QPaintEvent* event) {
    if (image.isNull()) return;
    QPainter p(this);
    p.setClipRect(event->rect());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), image);
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Q_EMIT mouseMoved(at.x(), at.y());
}

void TImage::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Q_EMIT mousePressed(at.x(), at.y());
}

void TImage::mouseReleaseEvent(QMouseEvent*) {
    Q_EMIT mouseReleased();
}

void TImage::contextMenuEvent(QContextMenuEvent* event) {
    Q_EMIT popupRequested(event->globalPos());
}
