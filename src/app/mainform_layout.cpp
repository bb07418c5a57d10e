// Layout of the result, tree, standardized-items, basket and history panels, and the binding
// of their grids to the data module's queries.
#include "app/mainform.h"

#include "app/dbgrid.h"
#include "app/widgets.h"
#include "basket/Newgrid.h"
#include "data/datamod.h"
#include "data/textfmt.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

const QColor GridBackground(255, 255, 231);

QScrollArea* makeScrollBox(QWidget* parent, const QString& name) {
    auto* box = new QScrollArea(parent);
    box->setObjectName(name);
    box->setFrameShape(QFrame::NoFrame);
    return box;
}

QDateEdit* makeDatePicker(QWidget* parent, const QString& name) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(name);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    d->setCalendarPopup(true);
    d->setDate(Fmt::strToDate(TodayStr()));
    return d;
}

QProgressBar* makeGauge(QWidget* parent, const QString& name) {
    auto* g = new QProgressBar(parent);
    g->setObjectName(name);
    g->setTextVisible(false);
    g->hide();
    return g;
}

template <typename Grid = TDBGrid> Grid* makeGrid(QWidget* parent, const QString& name) {
    auto* g = new Grid(parent, name);
    g->setBackground(GridBackground);
    return g;
}

// A supplier or buyer row: caption at left 5, box 3 right of the supplier caption, 345 x 21.
void enterpriseRow(QLabel* label, QComboBox* box, int top, int boxLeft) {
    box->setGeometry(boxLeft, top, 345, 21);
    label->move(5, top + 4);
}

} // namespace

void TmainForm::layoutTablePanel() {
    sBoxFind = makeScrollBox(panelTable, "sBoxFind");
    sBoxFind->setGeometry(2, 2, panelTable->width() - 4, panelTable->height() - 24);
    sBoxFind->setWidgetResizable(true);
    dbgFind = makeGrid(nullptr, "dbgFind");
    dbgFind->setBoldTitles(true);
    sBoxFind->setWidget(dbgFind);

    sbVerFind = new QScrollBar(Qt::Vertical, panelTable);
    sbVerFind->setObjectName(QStringLiteral("sbVerFind"));
    sbVerFind->setGeometry(right(sBoxFind) - 1, sBoxFind->y() + 21, 17,
                           sBoxFind->y() + sBoxFind->height() - (sBoxFind->y() + 21));
    sbVerFind->hide();

    LabelNaid = makeLabel(panelTable, "LabelNaid", "Всего найдено:", true);
    LabelNaid->move(30, bottom(sBoxFind) + 2);
    lbK = makeLabel(panelTable, "lbK", QString(), true);
    lbK->move(right(LabelNaid) + 2, LabelNaid->y());
    LabelNaid->hide();
    lbK->hide();

    sbOrderAll = makeFlatButton(panelTable, "sbOrderAll", "Добавить найденные детали в корзину...");
    QFont bold = sbOrderAll->font();
    bold.setBold(true);
    sbOrderAll->setFont(bold);
    sOrderAll = new TShape(panelTable, "sOrderAll");
    const int buttonTop = bottom(sBoxFind) + 1;
    placeOnShape(
        sbOrderAll, sOrderAll,
        QRect(panelTable->width() - 1 - 290, buttonTop, 290, panelTable->height() - 1 - buttonTop));
    showWithShape(sbOrderAll, sOrderAll, false);

    gProgress = makeGauge(panelTable, "gProgress");
    const int gaugeLeft = right(lbK) + 15;
    gProgress->setGeometry(gaugeLeft, LabelNaid->y() - 2, sbOrderAll->x() - 5 - gaugeLeft,
                           LabelNaid->height() + 4);
}

void TmainForm::layoutTreePanel() {
    Tree = new QTreeWidget(panelTree);
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setGeometry(2, 2, panelTree->width() - 4, panelTree->height() - 4);
    setupTree();
}

void TmainForm::layoutSTDPanel() {
    const int w = panelSTD->width();
    const int h = panelSTD->height();
    dbgSTD = makeGrid(panelSTD, "dbgSTD");
    dbgSTD->setBoldTitles(true);
    dbgSTD->setGeometry(2, 2, w - 4, int(Fmt::nearest(h / 2.0)) - 4);

    ScrollBoxSTD = makeScrollBox(panelSTD, "ScrollBoxSTD");
    const int boxTop = bottom(dbgSTD) + 4;
    const int boxLeft = int(Fmt::nearest(w / 2.0)) - 4;
    ScrollBoxSTD->setGeometry(boxLeft, boxTop, w - 4 - boxLeft, h - 4 - boxTop);
    ImageSTD = new QLabel;
    ImageSTD->setObjectName(QStringLiteral("ImageSTD"));
    ScrollBoxSTD->setWidget(ImageSTD);

    lbPodGr = makeLabel(panelSTD, "lbPodGr", "Подгруппа");
    lbPodGr->move(5, boxTop + 2);
    lbFullName = makeLabel(panelSTD, "lbFullName", "Наименование");
    lbFullName->move(5, lbPodGr->y() + 23);

    const int side = 20;
    const int buttonLeft = boxLeft - 5 - side;
    const int editLeft = lbPodGr->x() + 80;
    ePodGr = new QLineEdit(panelSTD);
    ePodGr->setObjectName(QStringLiteral("ePodGr"));
    ePodGr->setGeometry(editLeft, boxTop, buttonLeft - 2 - editLeft, side);
    eFullName = new QLineEdit(panelSTD);
    eFullName->setObjectName(QStringLiteral("eFullName"));
    eFullName->setGeometry(editLeft, boxTop + 21, ePodGr->width(), side);
    sbPodGr = makeFlatButton(panelSTD, "sbPodGr", "...");
    sPodGr = new TShape(panelSTD, "sPodGr");
    placeOnShape(sbPodGr, sPodGr, QRect(buttonLeft, ePodGr->y(), side, side));
    sbFullName = makeFlatButton(panelSTD, "sbFullName", "...");
    sFullName = new TShape(panelSTD, "sFullName");
    placeOnShape(sbFullName, sFullName, QRect(buttonLeft, eFullName->y(), side, side));

    lbParam = makeLabel(panelSTD, "lbParam", "Параметры:");
    lbParam->setGeometry(lbPodGr->x(), lbFullName->y() + 25, boxLeft - 5 - lbPodGr->x(),
                         lbParam->height());
    sgParam = new QTableWidget(0, 2, panelSTD);
    sgParam->setObjectName(QStringLiteral("sgParam"));
    sgParam->setGeometry(lbParam->x(), bottom(lbParam) + 1, lbParam->width() + 1, 100);
    const int paramColumn = int(Fmt::nearest(lbParam->width() / 2.0)) - 1;
    sgParam->horizontalHeader()->hide();
    sgParam->verticalHeader()->hide();
    sgParam->setColumnWidth(0, paramColumn);
    sgParam->setColumnWidth(1, paramColumn);

    const int first = 200;
    const int second = int(Fmt::nearest((dbgSTD->width() - 200) / 3.0));
    dbgSTD->setColumns({{"MODName", "Модификация", first, {}},
                        {"N_Gost", "Номер", second, {}},
                        {"Name_Gost", "Наименование", dbgSTD->width() - first - second - 40, {}}});
}

void TmainForm::layoutOrderPanel() {
    LabelOrSupplier = makeLabel(panelOrder, "LabelOrSupplier", "Поставщик");
    LabelOrBuyer = makeLabel(panelOrder, "LabelOrBuyer", "Покупатель");
    cbOrSupplier = makeNamed<QComboBox>(panelOrder, "cbOrSupplier");
    cbOrBuyer = makeNamed<QComboBox>(panelOrder, "cbOrBuyer");
    const int boxLeft = 5 + LabelOrSupplier->width() + 3;
    enterpriseRow(LabelOrSupplier, cbOrSupplier, 2, boxLeft);
    enterpriseRow(LabelOrBuyer, cbOrBuyer, bottom(cbOrSupplier) + 2, boxLeft);
    fbSupplierInfo = makeFlatButton(panelOrder, "fbSupplierInfo", "...");
    sSupplierInfo = new TShape(panelOrder, "sSupplierInfo");
    placeOnShape(fbSupplierInfo, sSupplierInfo, QRect(right(cbOrSupplier) + 2, 2, 21, 21));
    fbBuyerInfo = makeFlatButton(panelOrder, "fbBuyerInfo", "...");
    sBuyerInfo = new TShape(panelOrder, "sBuyerInfo");
    placeOnShape(fbBuyerInfo, sBuyerInfo, QRect(right(cbOrBuyer) + 2, cbOrBuyer->y(), 21, 21));

    LabelDate = makeLabel(panelOrder, "LabelDate", "Дата");
    LabelDate->move(right(fbSupplierInfo) + 10, LabelOrSupplier->y() + 12);
    meDate = makeDatePicker(panelOrder, "meDate");
    meDate->setGeometry(right(LabelDate) + 2, LabelDate->y() - 4, 80, cbOrSupplier->height());

    sBoxOrder = makeScrollBox(panelOrder, "sBoxOrder");
    const int boxTop = bottom(cbOrBuyer) + 2;
    sBoxOrder->setGeometry(2, boxTop, panelOrder->width() - 17 - 4,
                           panelOrder->height() - boxTop - 22);
    auto* orderContent = new QWidget;
    orderContent->setObjectName(QStringLiteral("sBoxOrderContent"));
    sBoxOrder->setWidget(orderContent);
    dbgOrder = makeGrid<TNoVertScrollDBGrid>(orderContent, "dbgOrder");
    dbgOrder->setBoldTitles(true);
    dbgItogo = makeGrid<TNoVertScrollDBGrid>(orderContent, "dbgItogo");
    dbgItogo->setTitlesShown(false);
    lbItogo = makeLabel(orderContent, "lbItogo", "ИТОГО", true);
    sbVert = new QScrollBar(Qt::Vertical, panelOrder);
    sbVert->setObjectName(QStringLiteral("sbVert"));
    sbVert->setGeometry(right(sBoxOrder) - 1, boxTop + 21, 17, sBoxOrder->height() - 21);
    sbVert->hide();

    sbPutToHistory = makeFlatButton(panelOrder, "sbPutToHistory", "Добавить заказ в историю");
    sPutToHistory = new TShape(panelOrder, "sPutToHistory");
    const int buttonTop = bottom(sBoxOrder) + 1;
    placeOnShape(
        sbPutToHistory, sPutToHistory,
        QRect(panelOrder->width() - 1 - 290, buttonTop, 290, panelOrder->height() - 1 - buttonTop));

    LabelNaidOrder = makeLabel(panelOrder, "LabelNaidOrder", "Всего в корзине:", true);
    LabelNaidOrder->move(30, bottom(sBoxOrder) + 2);
    lbKOrder = makeLabel(panelOrder, "lbKOrder", "0", true);
    lbKOrder->move(right(LabelNaidOrder) + 2, LabelNaidOrder->y());
    gProgress2 = makeGauge(panelOrder, "gProgress2");
    const int gaugeLeft = right(lbKOrder) + 15;
    gProgress2->setGeometry(gaugeLeft, LabelNaidOrder->y() - 2, sbPutToHistory->x() - 5 - gaugeLeft,
                            LabelNaidOrder->height() + 4);
}

void TmainForm::layoutHistoryPanel() {
    LabelSupplier = makeLabel(panelHistory, "LabelSupplier", "Поставщик");
    LabelBuyer = makeLabel(panelHistory, "LabelBuyer", "Покупатель");
    cbSupplier = makeNamed<QComboBox>(panelHistory, "cbSupplier");
    cbBuyer = makeNamed<QComboBox>(panelHistory, "cbBuyer");
    const int boxLeft = 5 + LabelSupplier->width() + 3;
    enterpriseRow(LabelSupplier, cbSupplier, 2, boxLeft);
    enterpriseRow(LabelBuyer, cbBuyer, bottom(cbSupplier) + 2, boxLeft);

    LabelDate1 = makeLabel(panelHistory, "LabelDate1", "Дата   с");
    LabelDate1->move(right(cbSupplier) + 10, LabelSupplier->y() + 12);
    meDate1 = makeDatePicker(panelHistory, "meDate1");
    meDate1->setGeometry(right(LabelDate1) + 2, LabelDate1->y() - 4, 80, cbSupplier->height());
    LabelDate2 = makeLabel(panelHistory, "LabelDate2", "по");
    LabelDate2->move(right(meDate1) + 2, LabelDate1->y());
    meDate2 = makeDatePicker(panelHistory, "meDate2");
    meDate2->setGeometry(right(LabelDate2) + 2, meDate1->y(), 80, cbSupplier->height());

    sBoxHistory = makeScrollBox(panelHistory, "sBoxHistory");
    const int boxTop = bottom(cbBuyer) + 2;
    sBoxHistory->setGeometry(2, boxTop, panelHistory->width() - 17 - 4,
                             panelHistory->height() - boxTop);
    auto* historyContent = new QWidget;
    historyContent->setObjectName(QStringLiteral("sBoxHistoryContent"));
    sBoxHistory->setWidget(historyContent);
    dbgHistory = makeGrid<TNoVertScrollDBGrid>(historyContent, "dbgHistory");
    dbgHistory->setBoldTitles(true);
    dbgHistoryItogo = makeGrid<TNoVertScrollDBGrid>(historyContent, "dbgHistoryItogo");
    dbgHistoryItogo->setTitlesShown(false);
    lbHistoryItogo = makeLabel(historyContent, "lbHistoryItogo", "ИТОГО", true);
    sbVertHistory = new QScrollBar(Qt::Vertical, panelHistory);
    sbVertHistory->setObjectName(QStringLiteral("sbVertHistory"));
    sbVertHistory->setGeometry(right(sBoxHistory) - 1, boxTop + 21, 17, sBoxHistory->height() - 21);
    sbVertHistory->hide();
}

void TmainForm::bindGrids() {
    dbgFind->bind(&dm->QFind);
    dbgSTD->bind(&dm->QSTD);
    dbgOrder->bind(&dm->QOrder);
    dbgItogo->bind(&dm->QItogo);
    dbgHistory->bind(&dm->QHistory);
    dbgHistoryItogo->bind(&dm->QHistoryItogo);
}
