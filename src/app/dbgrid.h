#pragma once

#include "data/querymodel.h"

#include <QTableView>
#include <vector>

class TQuery;

// A data grid bound to a query of the data module: one row per result row, the columns the
// program gives it, 18-pixel rows, whole-row selection that stays visible without the focus,
// no row indicator and no editing. The grid's current row and the query's current row follow
// each other.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;

    TDBGrid(QWidget* parent, const QString& name);

    // Binds the grid to a query (the data module does it once at start).
    void bind(TQuery* query);
    TQuery* query() const { return model ? model->query() : nullptr; }

    void setColumns(const std::vector<GridColumn>& columns);
    void addColumn(const GridColumn& column);
    const std::vector<GridColumn>& columns() const;

    // The grid's background colour (RGB(255,255,231) for the program's grids).
    void setBackground(const QColor& colour);
    void setBoldTitles(bool bold);
    void setTitlesShown(bool shown);
    // A grid of totals is no list to choose from: its row is painted like any other row, with
    // no selection bar, and it takes no focus.
    void setSelectable(bool selectable);

    // The shown text of a cell, as the user reads it.
    QString cellText(int row, int column) const;

    // Sum of the column widths.
    int columnsWidth() const;

Q_SIGNALS:
    void enterReleased();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void followQuery();
    void followGrid(const QModelIndex& current);

    QueryModel* model = nullptr;
    std::vector<GridColumn> pending; // columns given before the grid was bound
    bool syncing = false;
    bool selectable = true;
};
