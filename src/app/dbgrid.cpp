#include "app/dbgrid.h"

#include "data/tquery.h"
#include "platform/errordisplay.h"

#include <QHeaderView>
#include <QKeyEvent>

TDBGrid::TDBGrid(QWidget* parent, const QString& name) : QTableView(parent) {
    setObjectName(name);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    horizontalHeader()->setFixedHeight(RowHeight);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // The selection stays as visible when the grid loses the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
}

void TDBGrid::bind(TQuery* query) {
    model = new QueryModel(query, this);
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { followGrid(current); });
    connect(query, &TQuery::afterScroll, this, &TDBGrid::followQuery);
    connect(model, &QAbstractItemModel::modelReset, this, &TDBGrid::followQuery);
    if (!pending.empty()) setColumns(pending);
    pending.clear();
}

void TDBGrid::setColumns(const std::vector<GridColumn>& columns) {
    if (!model) {
        pending = columns;
        return;
    }
    model->setColumns(columns);
    for (int i = 0; i < int(columns.size()); ++i)
        setColumnWidth(i, columns[size_t(i)].width);
    followQuery();
}

void TDBGrid::addColumn(const GridColumn& column) {
    auto all = columns();
    all.push_back(column);
    setColumns(all);
}

const std::vector<GridColumn>& TDBGrid::columns() const {
    return model ? model->columns() : pending;
}

void TDBGrid::setBackground(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    setPalette(p);
}

void TDBGrid::setBoldTitles(bool bold) {
    QFont f = horizontalHeader()->font();
    f.setBold(bold);
    horizontalHeader()->setFont(f);
}

void TDBGrid::setTitlesShown(bool shown) {
    horizontalHeader()->setVisible(shown);
}

void TDBGrid::setSelectable(bool on) {
    selectable = on;
    setSelectionMode(on ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    if (!on && selectionModel()) selectionModel()->clear();
}

QString TDBGrid::cellText(int row, int column) const {
    return model ? model->data(model->index(row, column), Qt::DisplayRole).toString() : QString();
}

int TDBGrid::columnsWidth() const {
    int sum = 0;
    for (const GridColumn& c : columns())
        sum += c.width;
    return sum;
}

void TDBGrid::followQuery() {
    TQuery* q = query();
    if (!q || syncing) return;
    syncing = true;
    if (q->isEmpty() || !selectable) {
        selectionModel()->clearCurrentIndex();
    } else {
        const int column = std::max(0, currentIndex().column());
        const QModelIndex target = model->index(q->recNo() - 1, column);
        if (target.isValid()) {
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
            scrollTo(target);
        }
    }
    syncing = false;
}

void TDBGrid::followGrid(const QModelIndex& current) {
    TQuery* q = query();
    if (!q || syncing || !current.isValid()) return;
    syncing = true;
    ErrorDisplay::guard([&] { q->moveTo(current.row()); });
    syncing = false;
}

void TDBGrid::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) Q_EMIT enterReleased();
    QTableView::keyReleaseEvent(event);
}
