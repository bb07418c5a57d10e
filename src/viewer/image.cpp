#include "viewer/image.h"

#include <QPainter>

TImage::TImage(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
}

void TImage::setPicture(const QImage& picture) {
    image = picture;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (image.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), image);
}
