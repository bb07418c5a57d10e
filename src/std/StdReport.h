#pragma once

#include "std/stditem.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;
class QPrinter;

// The printed sheet of a standardized item: one A4 portrait page laid out in millimetres, in
// Arial. A title band with the number, full name and subgroup and a rule; below it one band per
// parameter, the name and value cells framed so that they form a two-column table; the
// illustration to the right.
class TStdRep {
public:
    QString number;
    QString fullName;
    QString subgroup;
    std::vector<StdItem::Param> rows; // as read back from stdrep
    QImage picture;

    // Where the illustration goes, in millimetres from the paper's top-left corner: its
    // fitted screen size at 96 pixels per inch.
    QRectF StdPic() const;

    // Prints the sheet on one page of the printer (A4 portrait, the paper's corner as origin).
    void Print(QPrinter& printer) const;
    // Paints the sheet on a device with this many pixels per millimetre, origin at the paper's
    // top-left corner.
    void paint(QPainter& painter, double pixelsPerMm) const;
};
