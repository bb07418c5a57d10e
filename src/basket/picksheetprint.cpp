#include "basket/picksheetprint.h"

#include "data/textfmt.h"
#include "platform/printer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <algorithm>

namespace PickSheetPrint {

namespace {

// Shares of the page: the margin, the title's band and the drawing's bottom.
constexpr double Margin = 0.05;
constexpr double TitleBand = 0.05;
constexpr double DrawingBottom = 0.62;

QRect band(QSize page, double top, double bottom) {
    const int m = Fmt::nearestInt(page.width() * Margin);
    const int y0 = Fmt::nearestInt(page.height() * top);
    const int y1 = Fmt::nearestInt(page.height() * bottom);
    return QRect(m, y0, page.width() - 2 * m, y1 - y0);
}

// The lines' columns as shares of the table's width.
constexpr double Columns[] = {0.12, 0.25, 0.51, 0.12};

QStringList cells(const PickSheet::Line& l) {
    QStringList positions;
    for (int p : l.positions)
        positions << QString::number(p);
    return {positions.join(QStringLiteral(", ")), l.number, l.name, QString::number(l.quantity)};
}

} // namespace

QRect drawingTarget(QSize bitmap, QSize page) {
    const QRect area = band(page, Margin + TitleBand, DrawingBottom);
    if (bitmap.isEmpty() || area.isEmpty()) return QRect();
    QSize fitted = bitmap.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.x() + (area.width() - fitted.width()) / 2, area.y(), fitted.width(),
                 fitted.height());
}

QPoint spotOnPage(const PickSheet::Spot& spot, const QRect& target) {
    return QPoint(target.x() + Fmt::nearestInt(target.width() * spot.hor / 100),
                  target.y() + Fmt::nearestInt(target.height() * spot.ver / 100));
}

int circleRadius(const QRect& target) {
    return std::max(6, std::max(target.width(), target.height()) / 40);
}

void print(QPrinter& printer, const std::vector<PickSheet::Sheet>& sheets,
           const std::function<QImage(const PickSheet::Sheet&)>& bitmapOf) {
    printer.setPageOrientation(QPageLayout::Portrait);
    QPainter p;
    Printer::begin(p, printer);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QSize page(printer.width(), printer.height());
    QFont font(QStringLiteral("Arial"), 10);
    QFont bold = font;
    bold.setBold(true);
    static const QStringList captions{QStringLiteral("Позиции"), QStringLiteral("Номер"),
                                      QStringLiteral("Наименование"), QStringLiteral("Кол-во")};
    for (size_t i = 0; i < sheets.size(); ++i) {
        const PickSheet::Sheet& s = sheets[i];
        if (i > 0) printer.newPage();
        p.setFont(bold);
        p.setPen(Qt::black);
        p.drawText(band(page, Margin, Margin + TitleBand), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Лист подбора. %1, рисунок %2: %3")
                       .arg(s.modName)
                       .arg(s.picture)
                       .arg(s.picName));
        const QImage drawing = bitmapOf(s);
        const QRect target = drawingTarget(drawing.size(), page);
        p.drawImage(target, drawing);
        p.setBrush(Qt::NoBrush);
        p.drawRect(target);
        // The circles go on the page, not into the bitmap: a scan stays in its own format.
        const int r = circleRadius(target);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        QFont number = bold;
        number.setPixelSize(r);
        p.setFont(number);
        for (const PickSheet::Spot& spot : s.spots) {
            const QPoint c = spotOnPage(spot, target);
            const QRect circle(c.x() - r, c.y() - r, 2 * r, 2 * r);
            p.setPen(QPen(QColor(255, 0, 0), std::max(2, r / 4)));
            p.setBrush(Qt::white);
            p.drawEllipse(circle);
            p.setPen(Qt::black);
            p.drawText(circle, Qt::AlignCenter, QString::number(spot.position));
        }
        p.restore();

        // The table: a title row, then one row per line, continued on a new page when full.
        const QRect table = band(page, DrawingBottom + 0.02, 1 - Margin);
        const int rowHeight = QFontMetrics(font, &printer).height() * 3 / 2;
        const int bottom = table.bottom();
        int y = table.top();
        auto row = [&](const QStringList& texts, bool title) {
            if (y + rowHeight > bottom) {
                printer.newPage();
                y = Fmt::nearestInt(page.height() * Margin);
            }
            p.setFont(title ? bold : font);
            int x = table.x();
            for (int c = 0; c < texts.size(); ++c) {
                const int w = Fmt::nearestInt(table.width() * Columns[c]);
                const QRect cell(x, y, w, rowHeight);
                p.drawRect(cell);
                const QRect inner = cell.adjusted(rowHeight / 4, 0, -rowHeight / 4, 0);
                p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter,
                           QFontMetrics(p.font(), &printer)
                               .elidedText(texts[c], Qt::ElideRight, inner.width()));
                x += w;
            }
            y += rowHeight;
        };
        row(captions, true);
        for (const PickSheet::Line& l : s.lines)
            row(cells(l), false);
    }
    Printer::end(p, printer);
}

} // namespace PickSheetPrint
