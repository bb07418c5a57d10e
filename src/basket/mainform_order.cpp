// The basket panel and the price-dependent columns of the main window's grids.
#include "app/mainform.h"

#include "app/widgets.h"
#include "basket/Newgrid.h"
#include "basket/basketsql.h"
#include "basket/order.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <functional>

namespace {

// The plant's own price column is set off in every grid.
const QString PlantPrice = QStringLiteral("Цена ЮЛЗ");
const QColor PlantPriceBackground(192, 220, 192);

using PriceColumn = TDM::PriceColumn;

QStringList priceFields(TDM& dm) {
    QStringList fields;
    for (const PriceColumn& p : dm.priceColumns())
        fields << p.field;
    return fields;
}

// A grid's width for its columns plus the room its scrolling leaves.
void fitWidth(TDBGrid* grid, int extra) {
    grid->resize(extra + grid->columnsWidth() + 2 * grid->frameWidth(), grid->height());
}

// The scroll box's content takes in every grid and label inside it.
void fitContent(QScrollArea* box) {
    QWidget* content = box->widget();
    const QRect r = content->childrenRect();
    content->resize(r.x() + r.width(), r.y() + r.height());
}

int columnsWidth(const TDBGrid* grid, int count) {
    int sum = 0;
    for (int i = 0; i < count && i < int(grid->columns().size()); ++i)
        sum += grid->columns()[size_t(i)].width;
    return sum;
}

// Grid and totals row inside a scroll box: the grid from the top in whole rows, the totals
// 2 pixels under it with its first cell under the grid's column `under`, the caption before
// it; the outer scroll bar beside the grid's lines.
void layoutWithTotals(QScrollArea* box, TDBGrid* grid, TDBGrid* totals, QLabel* caption,
                      QScrollBar* bar, int under) {
    const int clientHeight = box->height() - 2 * box->frameWidth();
    const int totalsTop = clientHeight - 19;
    grid->move(0, 0);
    grid->resize(grid->width(), (totalsTop - 2) / TDBGrid::RowHeight * TDBGrid::RowHeight);
    totals->setGeometry(columnsWidth(grid, under) + 4, grid->height() + 2, totals->width(), 17);
    caption->move(totals->x() - 20 - caption->width(), totals->y() + 3);
    const int barTop = box->y() + 21;
    bar->setGeometry(box->x() + box->width() - 1, barTop, 17, box->y() + grid->height() - barTop);
    fitContent(box);
}

class FocusInWatcher : public QObject {
public:
    FocusInWatcher(QObject* parent, std::function<void()> onFocusIn)
        : QObject(parent), handler(std::move(onFocusIn)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) ErrorDisplay::guard(handler);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> handler;
};

} // namespace

void TmainForm::NewDBGrid() {
    std::vector<GridColumn> find = {{"MODName", "Модификация", 140, {}},
                                    {"N", "Номер", 140, {}},
                                    {"Name", "Наименование", 240, {}},
                                    {"V", "Вес", 50, {}}};
    std::vector<GridColumn> order = {{"N", "№", 30, {}},
                                     {"ID", "Номер", 100, {}},
                                     {"Name", "Наименование", 150, {}},
                                     {"K", "Кол-во", 50, {}},
                                     {"V", "Вес", 100, {}}};
    std::vector<GridColumn> totals = {{"OB_VES", QString(), 100, {}}};
    std::vector<GridColumn> history = {{"Supplier", "Поставщик", 80, {}},
                                       {"Buyer", "Покупатель", 80, {}},
                                       {"Date_", "Дата", 60, {}},
                                       {"ID", "Номер", 100, {}},
                                       {"Name", "Наименование", 150, {}},
                                       {"K", "Кол-во", 50, {}},
                                       {"V", "Вес", 100, {}}};
    std::vector<GridColumn> historyTotals = totals;

    const auto prices = dm->priceColumns();
    int visibleRows = 0;
    for (const PriceColumn& p : prices) {
        const int i = int(&p - prices.data());
        if (i == PriceRowsMade) AddPrice();
        orderForm->placePriceRow(i, p.name, p.visible ? visibleRows++ : -1);
        if (!p.visible) continue;
        const QColor back = p.name == PlantPrice ? PlantPriceBackground : QColor();
        const QString nds = p.field + QStringLiteral("NDS");
        const QString withVat = p.name + QStringLiteral(" с НДС");
        const QString sum = QStringLiteral("OB_") + p.field;
        const QString sumNds = sum + QStringLiteral("NDS");
        find.push_back({p.field, p.name, 90, back});
        order.push_back({p.field, p.name, 100, back});
        order.push_back({nds, withVat, 100, back});
        totals.push_back({sum, QString(), 100, back});
        totals.push_back({sumNds, QString(), 100, back});
        history.push_back({p.field, p.name, 100, back});
        history.push_back({nds, withVat, 100, back});
        historyTotals.push_back({sum, QString(), 100, back});
        historyTotals.push_back({sumNds, QString(), 100, back});
    }
    for (int i = int(prices.size()); i < PriceRowsMade; ++i)
        orderForm->emptyPriceRow(i);
    dbgFind->setColumns(find);
    dbgOrder->setColumns(order);
    dbgItogo->setColumns(totals);
    dbgHistory->setColumns(history);
    dbgHistoryItogo->setColumns(historyTotals);

    fitWidth(dbgOrder, 20);
    fitWidth(dbgHistory, 20);
    fitWidth(dbgItogo, 17);
    fitWidth(dbgHistoryItogo, 17);
    fitContent(sBoxOrder);
    fitContent(sBoxHistory);
}

void TmainForm::layoutOrderBoxes() {
    // OB_VES stands under V: the fifth basket column and the seventh history column.
    layoutWithTotals(sBoxOrder, dbgOrder, dbgItogo, lbItogo, sbVert, 4);
    layoutWithTotals(sBoxHistory, dbgHistory, dbgHistoryItogo, lbHistoryItogo, sbVertHistory, 6);
}

void TmainForm::NewOrder() {
    TQuery& q = dm->QOrder;
    q.close();
    q.setText(BasketSql::lines(priceFields(*dm), Shared->ndsPercent()));
    q.open();

    const bool lines = !q.isEmpty();
    LabelNaidOrder->setVisible(lines);
    lbKOrder->setVisible(lines);
    showWithShape(sbPutToHistory, sPutToHistory, lines);
    if (lines) {
        lbKOrder->setText(QString::number(q.recordCount()));
        lbKOrder->adjustSize();
    }
    for (QAction* a : {sbChange, sbDel, sbExcel})
        a->setEnabled(lines);
}

void TmainForm::QOrderAfterOpen() {
    TQuery& q = dm->QOrder;
    const int rows = dbgOrder->height() / TDBGrid::RowHeight;
    {
        const QSignalBlocker quiet(sbVert);
        // One row is the title row: the bar shows when the lines do not all fit under it.
        if (q.recordCount() > rows - 1) {
            sbVert->setRange(1, q.recordCount());
            sbVert->show();
        } else {
            sbVert->hide();
        }
    }
    TQuery& t = dm->QItogo;
    t.close();
    t.setText(BasketSql::totals(priceFields(*dm), Shared->ndsPercent()));
    t.open();
}

void TmainForm::QOrderAfterScroll() {
    TQuery& q = dm->QOrder;
    if (q.isEmpty()) return;
    const QSignalBlocker quiet(sbVert);
    sbVert->setValue(q.asInteger(QStringLiteral("N")));
}

void TmainForm::sbVertScroll() {
    TQuery& q = dm->QOrder;
    if (q.isEmpty()) return;
    // Lines are numbered 1..n in display order, so the bar's position is a line number.
    q.moveBy(sbVert->value() - q.asInteger(QStringLiteral("N")));
}

void TmainForm::dbgOrderEnter() {
    if (!dm->QOrder.active() || dm->QOrder.isEmpty()) return;
    sbChange->setEnabled(true);
    sbDel->setEnabled(true);
}

void TmainForm::dbgOrderCellClick() {
    dbgOrderEnter();
}

void TmainForm::connectBasket() {
    // The basket query's hooks: they run inside its open and moves, so their errors reach
    // whoever opened or moved it.
    QObject::connect(&dm->QOrder, &TQuery::afterOpen, this, [this] { QOrderAfterOpen(); });
    QObject::connect(&dm->QOrder, &TQuery::afterScroll, this, [this] { QOrderAfterScroll(); });
    ErrorDisplay::connect(sbVert, &QScrollBar::valueChanged, this, [this] { sbVertScroll(); });
    dbgOrder->installEventFilter(new FocusInWatcher(dbgOrder, [this] { dbgOrderEnter(); }));
    ErrorDisplay::connect(dbgOrder, &TDBGrid::clicked, this, [this] { dbgOrderCellClick(); });
    ErrorDisplay::connect(sbExcel, &QAction::triggered, this, [this] { sbExcelClick(); });

    dbgOrder->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(dbgOrder, &TDBGrid::customContextMenuRequested, this,
                     [this](QPoint at) { pmOrder->popup(dbgOrder->viewport()->mapToGlobal(at)); });
    // The popup's items act as their toolbar twins, and only when those may.
    const std::pair<QAction*, QAction*> twins[] = {
        {tbiAdd, sbAdd}, {tbiChange, sbChange}, {tbiDel, sbDel}};
    for (const auto& [item, twin] : twins) {
        QAction* t = twin;
        QObject::connect(item, &QAction::triggered, t, [t] {
            if (t->isEnabled()) t->trigger();
        });
    }
    QObject::connect(pmOrder, &QMenu::aboutToShow, this, [this] {
        tbiAdd->setEnabled(sbAdd->isEnabled());
        tbiChange->setEnabled(sbChange->isEnabled());
        tbiDel->setEnabled(sbDel->isEnabled());
    });
    // "Очистить" has no action of its own.
    tbiClear->setVisible(false);
    connectPickSheet();
    connectHistory();
}
