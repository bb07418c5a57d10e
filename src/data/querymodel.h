#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <vector>

class TQuery;

// One column of a data grid: the result field it shows, its title, width and background.
struct GridColumn {
    QString field;
    QString title;
    int width = 64;
    QColor background; // invalid: the grid's own colour
};

// The rows of an open query as a table with the grid's columns; values are shown with the
// display formats declared on the query. Reset whenever the query opens or closes; the rows of
// an incremental query are added as they are read.
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryModel(TQuery* query, QObject* parent = nullptr);

    TQuery* query() const { return q; }
    void setColumns(const std::vector<GridColumn>& columns);
    void addColumn(const GridColumn& column);
    const std::vector<GridColumn>& columns() const { return cols; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void reset();
    void appended(int first, int last);

    TQuery* q;
    std::vector<GridColumn> cols;
    std::vector<int> fieldOfColumn; // result column of each grid column, -1 when absent
    int rows = 0;                   // rows of the query the model has announced
};
