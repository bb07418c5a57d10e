// Layout of the basket and history panels.
#include "app/mainform.h"

#include "app/panelwidgets.h"
#include "app/widgets.h"
#include "basket/Newgrid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// A supplier or buyer row: caption at left 5, box 3 right of the supplier caption, 345 x 21.
void enterpriseRow(QLabel* label, QComboBox* box, int top, int boxLeft) {
    box->setGeometry(boxLeft, top, 345, 21);
    label->move(5, top + 4);
}

} // namespace

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
    dbgItogo->setSelectable(false);
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
    dbgHistoryItogo->setSelectable(false);
    lbHistoryItogo = makeLabel(historyContent, "lbHistoryItogo", "ИТОГО", true);
    sbVertHistory = new QScrollBar(Qt::Vertical, panelHistory);
    sbVertHistory->setObjectName(QStringLiteral("sbVertHistory"));
    sbVertHistory->setGeometry(right(sBoxHistory) - 1, boxTop + 21, 17, sBoxHistory->height() - 21);
    sbVertHistory->hide();
}
