#pragma once

#include "app/dbgrid.h"

// A data grid without a vertical scroll bar of its own: the basket and history grids are
// scrolled vertically by a separate scroll bar beside their scroll box, and horizontally by
// the scroll box, as each is made as wide as all its columns.
class TNoVertScrollDBGrid : public TDBGrid {
    Q_OBJECT
public:
    TNoVertScrollDBGrid(QWidget* parent, const QString& name);
};
