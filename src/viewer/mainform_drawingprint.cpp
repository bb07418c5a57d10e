// The drawing as it is printed: the enlarged bitmap of the drawing shown with the numbers of
// its markers written on it.
#include "app/mainform.h"

#include "viewer/drawingprint.h"
#include "viewer/image.h"
#include "viewer/marker.h"

QImage TmainForm::drawingToPrint() {
    // Read before anything is printed: a missing bitmap stops here with its name.
    QImage bitmap = mainImage->largeBitmap(bitmapPath(QStringLiteral("big")));
    const QRect shown = mainImage->geometry();
    std::vector<DrawingPrint::Mark> marks;
    for (const TMarker* m : Markers) {
        // Markers out of use for this drawing, and the "0" ones, are hidden.
        if (m->isHidden()) continue;
        marks.push_back({DrawingPrint::placeOnBitmap(m->pos(), shown, bitmap.size()), m->text(),
                         !m->transparent()});
    }
    // The copy is written on; the drawing on the screen keeps its own.
    DrawingPrint::annotate(bitmap, marks);
    return bitmap;
}
