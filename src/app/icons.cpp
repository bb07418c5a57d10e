#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor Ink(0, 0, 128);
const QColor Paper(255, 255, 231);
const QColor Green(0, 128, 0);
const QColor Red(192, 0, 0);

void page(QPainter& p) {
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({{4, 1}, {11, 1}, {15, 5}, {15, 18}, {4, 18}}));
    p.drawLine(11, 1, 11, 5);
    p.drawLine(11, 5, 15, 5);
}

void magnifier(QPainter& p) {
    p.setPen(QPen(Ink, 2));
    p.setBrush(Paper);
    p.drawEllipse(QRect(2, 2, 11, 11));
    p.drawLine(12, 12, 17, 17);
}

void arrow(QPainter& p, bool right) {
    QPainterPath a;
    if (right)
        a.addPolygon(QPolygonF({{3, 7}, {10, 7}, {10, 3}, {17, 10}, {10, 17}, {10, 13}, {3, 13}}));
    else
        a.addPolygon(QPolygonF({{17, 7}, {10, 7}, {10, 3}, {3, 10}, {10, 17}, {10, 13}, {17, 13}}));
    p.setPen(Ink);
    p.setBrush(Green);
    p.drawPath(a.simplified());
}

void cross(QPainter& p, int x, int y, int size) {
    p.setPen(QPen(Red, 2));
    p.drawLine(x, y, x + size, y + size);
    p.drawLine(x + size, y, x, y + size);
}

void table(QPainter& p, const QRect& r) {
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawRect(r);
    for (int y = r.top() + 4; y < r.bottom(); y += 4)
        p.drawLine(r.left(), y, r.right(), y);
    p.drawLine(r.left() + r.width() / 3, r.top(), r.left() + r.width() / 3, r.bottom());
}

void draw(QPainter& p, ToolIcon kind) {
    switch (kind) {
    case ToolIcon::New:
        page(p);
        break;
    case ToolIcon::Open:
        p.setPen(Ink);
        p.setBrush(QColor(230, 200, 90));
        p.drawPolygon(QPolygon({{1, 5}, {7, 5}, {9, 7}, {17, 7}, {17, 16}, {1, 16}}));
        break;
    case ToolIcon::Save:
        p.setPen(Ink);
        p.setBrush(QColor(90, 110, 180));
        p.drawRect(2, 2, 15, 15);
        p.setBrush(Qt::white);
        p.drawRect(5, 2, 9, 6);
        p.drawRect(5, 11, 9, 6);
        break;
    case ToolIcon::Spreadsheet:
        table(p, QRect(2, 2, 15, 15));
        p.setPen(QPen(Green, 2));
        p.drawLine(9, 9, 15, 15);
        p.drawLine(15, 9, 9, 15);
        break;
    case ToolIcon::Add:
        page(p);
        p.setPen(QPen(Green, 3));
        p.drawLine(9, 6, 9, 14);
        p.drawLine(5, 10, 13, 10);
        break;
    case ToolIcon::Change:
        page(p);
        p.setPen(QPen(QColor(160, 90, 0), 3));
        p.drawLine(6, 15, 15, 6);
        break;
    case ToolIcon::Delete:
        page(p);
        cross(p, 6, 7, 7);
        break;
    case ToolIcon::DeleteRecord:
        table(p, QRect(1, 3, 13, 13));
        cross(p, 10, 10, 7);
        break;
    case ToolIcon::ClearHistory:
        table(p, QRect(1, 3, 13, 13));
        cross(p, 3, 5, 9);
        break;
    case ToolIcon::Print:
        p.setPen(Ink);
        p.setBrush(Qt::white);
        p.drawRect(5, 1, 9, 6);
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(1, 7, 17, 7);
        p.setBrush(Qt::white);
        p.drawRect(5, 11, 9, 7);
        break;
    case ToolIcon::ZoomNorm:
        magnifier(p);
        p.setPen(Ink);
        p.drawText(QRect(2, 2, 12, 12), Qt::AlignCenter, QStringLiteral("1"));
        break;
    case ToolIcon::ZoomPlus:
        magnifier(p);
        p.setPen(QPen(Ink, 2));
        p.drawLine(5, 7, 10, 7);
        p.drawLine(7, 5, 7, 10);
        break;
    case ToolIcon::ZoomMinus:
        magnifier(p);
        p.setPen(QPen(Ink, 2));
        p.drawLine(5, 7, 10, 7);
        break;
    case ToolIcon::Previous:
        arrow(p, false);
        break;
    case ToolIcon::Next:
        arrow(p, true);
        break;
    }
}

} // namespace

QIcon toolIcon(ToolIcon kind) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, kind);
    p.end();
    return QIcon(pm);
}
