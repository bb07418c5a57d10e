#include "basket/orderAll.h"

#include "app/dialogs.h"
#include "app/panelwidgets.h"
#include "basket/Newgrid.h"
#include "basket/orderallsql.h"
#include "data/datamod.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"

#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>

TorderAllForm* orderAllForm = nullptr;

namespace {

const QColor Background(255, 255, 231);

// A 16 x 16 check box on the grid's background, ticked or not.
QPixmap checkPicture(bool ticked) {
    QPixmap pm(16, 16);
    pm.fill(Background);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(2, 2, 11, 11);
    if (ticked) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 2));
        p.drawPolyline(QPolygonF({{4.5, 8}, {7, 10.5}, {11.5, 5}}));
    }
    return pm;
}

// Fills each check cell with the background and draws its picture at the top-left corner.
class CheckDelegate : public QStyledItemDelegate {
public:
    CheckDelegate(TorderAllForm* form) : QStyledItemDelegate(form), form(form) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->fillRect(option.rect, Background);
        const TQuery* q = form->dbgIns->query();
        const int ins = q->fieldIndex(QStringLiteral("ins"));
        const bool ticked = q->cell(index.row(), ins).toBool();
        painter->drawPixmap(option.rect.topLeft(), form->ilCheck[ticked ? 0 : 1]);
    }

private:
    TorderAllForm* form;
};

} // namespace

TorderAllForm::TorderAllForm(QWidget* parent) : QDialog(parent) {
    setupDialog(this, QStringLiteral("orderAllForm"), QStringLiteral("Заказ группы деталей"));
    FormCreate();
}

void TorderAllForm::FormCreate() {
    ilCheck[0] = checkPicture(true);
    ilCheck[1] = checkPicture(false);
    dbgIns = makeGrid<TNoVertScrollDBGrid>(this, QStringLiteral("dbgIns"));
    dbgIns->bind(&DM->QOrderAll);
    dbgIns->setColumns({{QStringLiteral("ins"), QStringLiteral("Вкл."), 26, {}}});
    dbgIns->setBoldTitles(true);
    dbgIns->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    dbgIns->setItemDelegateForColumn(0, new CheckDelegate(this));
    dbgOrderAll = makeGrid(this, QStringLiteral("dbgOrderAll"));
    dbgOrderAll->bind(&DM->QOrderAll);
    dbgOrderAll->setBoldTitles(true);
    gProgress = makeGauge(this, QStringLiteral("gProgress"));
    gProgress->hide();
    bbOK = makeDialogButton(this, QStringLiteral("bbOK"), QStringLiteral("OK"));
    bbCancel = makeDialogButton(this, QStringLiteral("bbCancel"), QStringLiteral("Отмена"));
    using ErrorDisplay::connect;
    connect(dbgIns, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { dbgInsCellClick(index.row()); });
    connect(bbOK, &QPushButton::clicked, this, [this] { bbOKClick(); });
    connect(bbCancel, &QPushButton::clicked, this, [this] { bbCancelClick(); });
}

int TorderAllForm::run(QSize mainWindow, const Acceptor& accept) {
    acceptor = accept;
    fixAndCentre(this, mainWindow.width(), mainWindow.height() - 30);
    const QRect area = contentsRect();
    bbCancel->move(area.width() - 15 - bbCancel->width(), area.height() - 5 - bbCancel->height());
    bbOK->move(bbCancel->x() - 5 - bbOK->width(), bbCancel->y());
    const int gridHeight = bbCancel->y() / 18 * 18;
    dbgOrderAll->setGeometry(27, 0, area.width() - 27, gridHeight);
    // Only the check column shows, left of the main grid; the title row and the main grid's
    // horizontal bar take the rest of its height.
    const int bar = dbgOrderAll->horizontalScrollBar()->sizeHint().height();
    dbgIns->setGeometry(0, 0, 100, gridHeight - std::max(17, bar));
    gProgress->setGeometry(10, bbCancel->y() + 4, bbOK->x() - 5 - 10, bbCancel->height() - 8);
    return Modal::exec(*this);
}

void TorderAllForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ErrorDisplay::guard([this] { FormShow(); });
}

void TorderAllForm::FormShow() {
    std::vector<GridColumn> columns = {
        {QStringLiteral("N"), QStringLiteral("Номер"), 180, {}},
        {QStringLiteral("Name"), QStringLiteral("Наименование"), 300, {}},
        {QStringLiteral("K"), QStringLiteral("Кол-во"), 50, {}},
        {QStringLiteral("V"), QStringLiteral("Вес"), 70, {}}};
    for (const TDM::PriceColumn& p : DM->priceColumns())
        if (p.visible) columns.push_back({p.field, p.name, 70, {}});
    dbgOrderAll->setColumns(columns);
    TQuery& q = DM->QOrderAll;
    q.setText(OrderAllSql::staged());
    q.open();
}

void TorderAllForm::dbgInsCellClick(int row) {
    TQuery& q = DM->QOrderAll;
    if (q.isEmpty()) return;
    q.moveTo(row);
    const int nn = q.asInteger(QStringLiteral("nn"));
    TQuery& scratch = DM->QOrderAll2;
    scratch.setText(
        OrderAllSql::tick(q.asString(QStringLiteral("N_f")), !q.asBoolean(QStringLiteral("ins"))));
    scratch.execSQL();
    q.open();
    q.first();
    q.moveBy(nn - 1);
}

void TorderAllForm::bbOKClick() {
    if (acceptor) acceptor(gProgress);
    accept();
}

void TorderAllForm::bbCancelClick() {
    reject();
}
