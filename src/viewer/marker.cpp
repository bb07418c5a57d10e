#include "viewer/marker.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

const QColor TMarker::Green(0, 255, 0);
const QColor TMarker::Blue(0, 0, 255);
const QColor TMarker::Red(255, 0, 0);
const QColor TMarker::White(255, 255, 255);
const QColor TMarker::AssemblyBlue(120, 173, 212);

TMarker::TMarker(QWidget* parent) : QLabel(parent) {
    resize(Side, Side);
    setAlignment(Qt::AlignCenter);
    QFont f = font();
    f.setPointSize(10);
    f.setBold(true);
    setFont(f);
    setMouseTracking(true);
    hide();
}

void TMarker::setCaption(const QString& caption) {
    setText(caption);
    const int needed = QFontMetrics(font()).horizontalAdvance(caption) + 2;
    resize(qMax(int(Side), needed), Side);
}

void TMarker::setLook(bool transparent, const QColor& background, const QColor& font) {
    isTransparent = transparent;
    back = background;
    fore = font;
    update();
}

void TMarker::setTransparent(bool transparent) {
    isTransparent = transparent;
    update();
}

void TMarker::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!isTransparent) p.fillRect(rect(), back);
    p.setPen(fore);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

void TMarker::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT pointerMoved();
}

void TMarker::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void TMarker::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void TMarker::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    Q_EMIT popupRequested(event->globalPos());
}
