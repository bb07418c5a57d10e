#include "basket/Newgrid.h"

TNoVertScrollDBGrid::TNoVertScrollDBGrid(QWidget* parent, const QString& name)
    : TDBGrid(parent, name) {
    // The bar is never shown, but the grid still scrolls to its current row.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The scroll box frames the grid; without a frame of its own its height is whole rows.
    setFrameShape(QFrame::NoFrame);
}
