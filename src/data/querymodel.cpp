#include "data/querymodel.h"

#include "data/tquery.h"

QueryModel::QueryModel(TQuery* query, QObject* parent) : QAbstractTableModel(parent), q(query) {
    connect(q, &TQuery::rowsReset, this, &QueryModel::reset);
    connect(q, &TQuery::rowsAppended, this, &QueryModel::appended);
}

void QueryModel::setColumns(const std::vector<GridColumn>& columns) {
    cols = columns;
    reset();
}

void QueryModel::addColumn(const GridColumn& column) {
    auto all = cols;
    all.push_back(column);
    setColumns(all);
}

void QueryModel::reset() {
    beginResetModel();
    fieldOfColumn.clear();
    for (const GridColumn& c : cols)
        fieldOfColumn.push_back(q->fieldIndex(c.field));
    rows = q->rowsRead();
    endResetModel();
}

void QueryModel::appended(int first, int last) {
    if (first != rows) {
        reset();
        return;
    }
    beginInsertRows(QModelIndex(), first, last);
    rows = last + 1;
    endInsertRows();
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows;
}

bool QueryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !q->complete();
}

void QueryModel::fetchMore(const QModelIndex& parent) {
    // The view asks when it is scrolled to the last row read.
    if (!parent.isValid()) q->readMore(256);
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(cols.size());
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const int field = fieldOfColumn[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return field < 0 ? QVariant() : QVariant(q->displayText(index.row(), field));
    case Qt::BackgroundRole: {
        const QColor& c = cols[size_t(index.column())].background;
        return c.isValid() ? QVariant(c) : QVariant();
    }
    default:
        return QVariant();
    }
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < int(cols.size()))
        return cols[size_t(section)].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}
