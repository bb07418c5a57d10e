#include "viewer/image.h"

#include "data/dberror.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

QImage readBitmap(const QString& path) {
    if (!QFileInfo::exists(path))
        throw FileError(QStringLiteral("Файл рисунка %1 не найден").arg(path));
    QImageReader reader(path);
    // The catalogue names every picture .bmp; its content decides how it is read.
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    if (img.isNull())
        throw FileError(QStringLiteral("Не удалось прочитать файл рисунка %1: %2")
                            .arg(path, reader.errorString()));
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
