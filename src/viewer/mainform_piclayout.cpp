// Layout of the drawing panel: drawing title, the scrolled drawing with its markers and the
// part-information panel below it.
#include "app/mainform.h"

#include "app/widgets.h"
#include "platform/errordisplay.h"
#include "viewer/drawcell.h"
#include "viewer/image.h"
#include "viewer/marker.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QTableWidget>

namespace {

QLabel* valueLabel(QWidget* parent, const QString& name, const QRect& bounds) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(bounds);
    return l;
}

} // namespace

void TmainForm::layoutPicPanel() {
    QWidget* p = panelPic;
    LabelMOD = makeLabel(p, "LabelMOD", "Модификация", true);
    LabelMOD->move(4, 4);
    lbMOD = makeLabel(p, "lbMOD", QString(), true);
    lbMOD->move(right(LabelMOD) + 5, 4);
    LabelG = makeLabel(p, "LabelG", "Группа", true);
    LabelG->move(LabelMOD->x(), LabelMOD->y() + 15);
    lbG = makeLabel(p, "lbG", QString(), true);
    lbG->move(lbMOD->x(), LabelG->y());
    LabelR = makeLabel(p, "LabelR", "Рисунок", true);
    LabelR->move(LabelMOD->x(), LabelG->y() + 15);
    lbPicName = makeLabel(p, "lbPicName", QString(), true);
    lbPicName->move(lbMOD->x(), LabelR->y());
    for (QLabel* l : {LabelMOD, lbMOD, LabelG, lbG, LabelR, lbPicName})
        l->hide();

    // The part-information panel, from the bottom of the panel upwards.
    const int nTop = p->height() - 97;
    const int comboTop = nTop + 30;
    const int comboHeight = 15 + 2;
    const int selSide = comboHeight + 4;
    ComboBoxSE = new QComboBox(p);
    ComboBoxSE->setObjectName(QStringLiteral("ComboBoxSE"));
    ComboBoxSE->setGeometry(135 - 3, comboTop, 250 - selSide, comboHeight);
    sbSelSE = makeFlatButton(p, "sbSelSE", "...", "Показать всю сборочную единицу");
    sSelSE = new TShape(p, "sSelSE");
    placeOnShape(sbSelSE, sSelSE, QRect(right(ComboBoxSE) + 1, comboTop, selSide, selSide));
    sbDop = makeFlatButton(p, "sbDop", "Дополнительно...",
                           "Дополнительная информация о стандартизованном изделии");
    sDop = new TShape(p, "sDop");
    placeOnShape(sbDop, sDop, QRect(right(sbSelSE) + 5, nTop + 75, 250, comboHeight));

    const int valueWidth = sbDop->x() - 5 - 135;
    lbN = valueLabel(p, "lbN", QRect(135, nTop, valueWidth, 15));
    lbName = valueLabel(p, "lbName", QRect(135, nTop + 15, valueWidth, 15));
    lbKol = valueLabel(p, "lbKol", QRect(135, comboTop + 21, valueWidth, 15));
    lbOKP = valueLabel(p, "lbOKP", QRect(135, lbKol->y() + 15, valueWidth, 15));
    lbV = valueLabel(p, "lbV", QRect(135, lbOKP->y() + 15, valueWidth, 15));
    lbKg = makeLabel(p, "lbKg", "кг.");
    lbKg->move(135, lbV->y());

    auto caption = [&](QLabel*& l, const QString& name, const QString& text, int top) {
        l = makeLabel(p, name, text);
        l->setGeometry(10, top, 120, 15);
    };
    caption(LabelN, "LabelN", "Номер", nTop);
    caption(LabelName, "LabelName", "Наименование", LabelN->y() + 15);
    caption(LabelSE, "LabelSE", "Входит в сб. единицу", LabelName->y() + 17);
    caption(LabelKol, "LabelKol", "Кол-во на сб. единицу", LabelSE->y() + 19);
    caption(LabelOKP, "LabelOKP", "Код ОКП", LabelKol->y() + 15);
    caption(LabelV, "LabelV", "Вес", LabelOKP->y() + 15);

    sgPrice = new QTableWidget(1, 2, p);
    sgPrice->setObjectName(QStringLiteral("sgPrice"));
    const int priceLeft = sbDop->x();
    sgPrice->setGeometry(priceLeft, nTop, p->width() - priceLeft - 10, sbDop->y() - 5 - nTop);
    sgPrice->setFrameShape(QFrame::NoFrame);
    sgPrice->setShowGrid(false);
    sgPrice->horizontalHeader()->hide();
    sgPrice->verticalHeader()->hide();
    sgPrice->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgPrice->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgPrice->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The grid has no frame: its client width is its width (the viewport is not sized yet).
    sgPrice->setColumnWidth(0, sgPrice->width() / 2);
    sgPrice->setColumnWidth(1, sgPrice->width() / 2);
    sgPrice->verticalHeader()->setDefaultSectionSize(sgPrice->height() / 4 - 1);
    QPalette pal = sgPrice->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    pal.setColor(QPalette::Text, QColor(0, 0, 128));
    sgPrice->setPalette(pal);
    QFont bold = sgPrice->font();
    bold.setBold(true);
    sgPrice->setFont(bold);

    // The drawing fills the space between the title and the part panel.
    ScrollBox = new QScrollArea(p);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setFrameShape(QFrame::NoFrame);
    ScrollBox->setBackgroundRole(QPalette::Base);
    const int boxTop = LabelR->y() + 14;
    ScrollBox->setGeometry(2, boxTop, p->width() - 4, lbN->y() - 1 - boxTop);
    ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette white = ScrollBox->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    ScrollBox->setPalette(white);
    PicCanvas = new QWidget;
    PicCanvas->setObjectName(QStringLiteral("PicCanvas"));
    PicCanvas->resize(ScrollBox->size());
    ScrollBox->setWidget(PicCanvas);
    mainImage = new TImage(PicCanvas, "mainImage");
    mainImage->move(0, 0);
    connectViewer();
    // No part is shown until one is chosen on a drawing.
    LabelVisible(false);
}

void TmainForm::connectViewer() {
    using ErrorDisplay::connect;
    const std::pair<QAction*, void (TmainForm::*)()> items[] = {
        {sbZoomNorm, &TmainForm::sbZoomNormClick},   {miNorm, &TmainForm::sbZoomNormClick},
        {sbZoomPlus, &TmainForm::sbZoomPlusClick},   {miPlus, &TmainForm::sbZoomPlusClick},
        {sbZoomMinus, &TmainForm::sbZoomMinusClick}, {miMinus, &TmainForm::sbZoomMinusClick},
        {sbPred, &TmainForm::sbPredClick},           {miPred, &TmainForm::sbPredClick},
        {sbNext, &TmainForm::sbNextClick},           {miNext, &TmainForm::sbNextClick}};
    for (const auto& [item, handler] : items)
        connect(item, &QAction::triggered, this, [this, h = handler] { (this->*h)(); });

    connect(mainImage, &TImage::mouseMoved, this,
            [this](int x, int y) { mainImageMouseMove(x, y); });
    connect(mainImage, &TImage::mousePressed, this,
            [this](int x, int y) { mainImageMouseDown(x, y); });
    connect(mainImage, &TImage::mouseReleased, this, [this] { mainImageMouseUp(); });
    connect(mainImage, &TImage::popupRequested, this, [this](const QPoint& at) {
        // The popup takes the button's release: the drag ends here.
        mainImageMouseUp();
        pmImage->popup(at);
    });
    connect(ComboBoxSE, &QComboBox::activated, this,
            [this](int index) { ComboBoxSEChange(index); });
    connect(sbSelSE, &QToolButton::clicked, this, [this] { sbSelSEClick(); });
    sgPrice->setItemDelegate(new TDrawCellDelegate(
        sgPrice, [this](QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) { sgPriceDrawCell(painter, option, index); }));
}

void TmainForm::NewPos() {
    auto* m = new TMarker(PicCanvas);
    m->setObjectName(QStringLiteral("Marker%1").arg(Markers.size()));
    Markers.push_back(m);
    using ErrorDisplay::connect;
    connect(m, &TMarker::pointerMoved, this, [this, m] { PosOnMouseMove(m); });
    connect(m, &TMarker::clicked, this, [this, m] { PosOnClick(m); });
    connect(m, &TMarker::popupRequested, this,
            [this, m](const QPoint& at) { PosOnContextPopup(m, at); });
}

void TmainForm::createMarkers() {
    for (int i = 0; i < 50; ++i)
        NewPos();
}
