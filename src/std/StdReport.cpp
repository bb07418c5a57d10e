#include "std/StdReport.h"

#include "platform/printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace {

// The page's margins (left and top) and the bands, in millimetres.
constexpr double MarginLeft = 30;
constexpr double MarginTop = 10;
constexpr double TitleHeight = 43.1;
constexpr double BandHeight = 6.9;
constexpr double MmPerScreenPixel = 25.4 / 96;

class Sheet {
public:
    Sheet(QPainter& p, double pixelsPerMm) : p(p), k(pixelsPerMm) {}

    double at(double mm) const { return mm * k; }
    QRectF rect(double left, double top, double width, double height) const {
        return QRectF(at(left), at(top), at(width), at(height));
    }

    // A caption or data text sized to itself, its corner at (left, top).
    void text(double left, double top, int points, const QString& s) {
        p.setFont(font(points));
        p.drawText(QPointF(at(left), at(top) + p.fontMetrics().ascent()), s);
    }

    // A framed cell: centred, wrapped text cut at the cell's edges, and the frame's edges given.
    void cell(const QRectF& mm, const QString& s, bool leftEdge) {
        const QRectF r = rect(mm.x(), mm.y(), mm.width(), mm.height());
        p.save();
        p.setFont(font(12));
        p.setClipRect(r);
        p.drawText(r, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, s);
        p.restore();
        if (leftEdge) p.drawLine(r.topLeft(), r.bottomLeft());
        p.drawLine(r.topRight(), r.bottomRight());
        p.drawLine(r.bottomLeft(), r.bottomRight());
    }

    static QFont font(int points) {
        QFont f(QStringLiteral("Arial"));
        f.setPointSize(points);
        return f;
    }

private:
    QPainter& p;
    double k;
};

} // namespace

QRectF TStdRep::StdPic() const {
    const QSize size = StdItem::sheetSize(picture.size());
    return QRectF(103.2, 44.4, size.width() * MmPerScreenPixel, size.height() * MmPerScreenPixel);
}

void TStdRep::paint(QPainter& painter, double pixelsPerMm) const {
    Sheet s(painter, pixelsPerMm);
    painter.setPen(QPen(Qt::black, s.at(MmPerScreenPixel)));

    // Title band.
    const double x = MarginLeft, y = MarginTop;
    s.text(x + 4.2, y + 6.4, 14, QStringLiteral("Номер"));
    s.text(x + 42.3, y + 6.4, 14, number);
    s.text(x + 4.2, y + 14.8, 14, QStringLiteral("Наименование"));
    s.text(x + 42.3, y + 14.8, 14, fullName);
    s.text(x + 4.2, y + 23.3, 14, QStringLiteral("Подгруппа"));
    s.text(x + 42.3, y + 23.3, 14, subgroup);
    s.text(x + 21.2, y + 33.9, 14, QStringLiteral("Параметры"));
    // The rule is the bottom edge of a label from 40.2 mm to the band's end: the table's top.
    painter.drawLine(QPointF(s.at(x + 1.9), s.at(y + TitleHeight)),
                     QPointF(s.at(x + 1.9 + 64.3), s.at(y + TitleHeight)));

    // Parameter bands.
    double top = y + TitleHeight;
    for (const StdItem::Param& row : rows) {
        s.cell(QRectF(x + 1.6, top, 34.7, BandHeight), row.name, true);
        s.cell(QRectF(x + 36.2, top, 29.9, BandHeight), row.value, false);
        top += BandHeight;
    }

    const QRectF pic = StdPic();
    painter.drawImage(s.rect(pic.x(), pic.y(), pic.width(), pic.height()), picture);
}

void TStdRep::Print(QPrinter& printer) const {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    QPainter p;
    Printer::begin(p, printer);
    paint(p, printer.resolution() / 25.4);
    Printer::end(p, printer);
}
