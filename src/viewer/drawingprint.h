#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class QPrinter;

// The printed drawing: the enlarged bitmap with the position numbers written on it, one page.
namespace DrawingPrint {

// A position number at its place on the bitmap; a framed one stands in a white square.
struct Mark {
    QPoint at;
    QString caption;
    bool framed = false;
};

// The place on a bitmap of w x h pixels of a marker at markerTopLeft over a drawing shown at
// shown (both in the scroll box): 6 pixels right of and below the marker's corner, scaled.
QPoint placeOnBitmap(QPoint markerTopLeft, const QRect& shown, QSize bitmap);

// Writes the marks on the bitmap in order: a framed one gets a white square with a 5-pixel
// black frame from 2 pixels before its place to 40 pixels after; every caption is written in
// bold 24-point black on white with its corner at the place.
void annotate(QImage& bitmap, const std::vector<Mark>& marks);

// Where a bitmap goes on a page (both in device pixels): from the top-left corner, its
// proportions kept, as wide as the page or as high, whichever it reaches first.
QRect pageTarget(QSize bitmap, QSize page);

// Prints the bitmap on one page: landscape when wider than high, else portrait.
void print(QPrinter& printer, const QImage& bitmap);

} // namespace DrawingPrint
