#pragma once

#include "basket/picksheet.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

class QPrinter;

// The printed pick sheet: a portrait page per drawing with the basket's positions circled in
// red and the table of the basket lines on that drawing below it.
namespace PickSheetPrint {

// Where the drawing goes on a page of the given size: under the title, above the table, its
// proportions kept, centred across. Proportional to the page, so a page rendered at any
// resolution finds the same places.
QRect drawingTarget(QSize bitmap, QSize page);

// The centre of a spot on a drawing laid out at target.
QPoint spotOnPage(const PickSheet::Spot& spot, const QRect& target);

// The radius of the circles round the spots of a drawing laid out at target.
int circleRadius(const QRect& target);

// Prints one sheet per drawing, reading each drawing's bitmap with bitmapOf only when its page
// is drawn (a large scan takes much memory). Lines that do not fit under the drawing go on to
// a page of their own.
void print(QPrinter& printer, const std::vector<PickSheet::Sheet>& sheets,
           const std::function<QImage(const PickSheet::Sheet&)>& bitmapOf);

} // namespace PickSheetPrint
