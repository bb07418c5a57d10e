#include "viewer/marker.h"

#include <QPainter>

TMarker::TMarker(QWidget* parent) : QLabel(parent) {
    resize(16, 16);
    setAlignment(Qt::AlignCenter);
    QFont f = font();
    f.setPointSize(10);
    f.setBold(true);
    setFont(f);
    hide();
}

void TMarker::setLook(bool transparent, const QColor& background, const QColor& font) {
    isTransparent = transparent;
    back = background;
    fore = font;
    update();
}

void TMarker::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!isTransparent) p.fillRect(rect(), back);
    p.setPen(fore);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}
