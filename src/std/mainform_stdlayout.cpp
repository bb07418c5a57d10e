// Layout of the standardized-items panel.
#include "app/mainform.h"

#include "app/panelwidgets.h"
#include "app/widgets.h"
#include "data/textfmt.h"
#include "viewer/drawcell.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTableWidget>

void TmainForm::layoutSTDPanel() {
    const int w = panelSTD->width();
    const int h = panelSTD->height();
    dbgSTD = makeGrid(panelSTD, "dbgSTD");
    dbgSTD->setBoldTitles(true);
    dbgSTD->setGeometry(2, 2, w - 4, Fmt::nearestInt(h / 2.0) - 4);

    ScrollBoxSTD = makeScrollBox(panelSTD, "ScrollBoxSTD");
    const int boxTop = bottom(dbgSTD) + 4;
    const int boxLeft = Fmt::nearestInt(w / 2.0) - 4;
    ScrollBoxSTD->setGeometry(boxLeft, boxTop, w - 4 - boxLeft, h - 4 - boxTop);
    // White, without scroll bars of its own: the illustration is placed in it, never scrolled.
    ScrollBoxSTD->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBoxSTD->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette white = ScrollBoxSTD->viewport()->palette();
    white.setColor(QPalette::Window, Qt::white);
    ScrollBoxSTD->viewport()->setPalette(white);
    ScrollBoxSTD->viewport()->setAutoFillBackground(true);
    // The stretched image, at the box's size until an item's picture is fitted.
    ImageSTD = new QLabel(ScrollBoxSTD->viewport());
    ImageSTD->setObjectName(QStringLiteral("ImageSTD"));
    ImageSTD->setScaledContents(true);
    ImageSTD->setGeometry(QRect(QPoint(0, 0), ScrollBoxSTD->size()));

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
    sbPodGr = makeFlatButton(panelSTD, "sbPodGr", "...", "Искать по подгруппе");
    sPodGr = new TShape(panelSTD, "sPodGr");
    placeOnShape(sbPodGr, sPodGr, QRect(buttonLeft, ePodGr->y(), side, side));
    sbFullName = makeFlatButton(panelSTD, "sbFullName", "...", "Искать по полному наименованию");
    sFullName = new TShape(panelSTD, "sFullName");
    placeOnShape(sbFullName, sFullName, QRect(buttonLeft, eFullName->y(), side, side));

    lbParam = makeLabel(panelSTD, "lbParam", "Параметры:");
    lbParam->setGeometry(lbPodGr->x(), lbFullName->y() + 25, boxLeft - 5 - lbPodGr->x(),
                         lbParam->height());
    lbParam->setAlignment(Qt::AlignCenter);
    sgParam = new QTableWidget(0, 2, panelSTD);
    sgParam->setObjectName(QStringLiteral("sgParam"));
    sgParam->setToolTip(QStringLiteral("Параметры стандартизованных изделий"));
    sgParam->setGeometry(lbParam->x(), bottom(lbParam) + 1, lbParam->width() + 1, 100);
    const int paramColumn = Fmt::nearestInt(lbParam->width() / 2.0) - 1;
    sgParam->horizontalHeader()->hide();
    sgParam->verticalHeader()->hide();
    sgParam->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgParam->verticalHeader()->setMinimumSectionSize(TDBGrid::RowHeight);
    sgParam->verticalHeader()->setDefaultSectionSize(TDBGrid::RowHeight);
    sgParam->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgParam->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgParam->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgParam->setWordWrap(false);
    QPalette yellow = sgParam->palette();
    yellow.setColor(QPalette::Base, QColor(255, 255, 231));
    sgParam->setPalette(yellow);
    sgParam->setItemDelegate(new TDrawCellDelegate(
        sgParam, [this](QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) { sgParamDrawCell(painter, option, index); }));
    sgParam->setColumnWidth(0, paramColumn);
    sgParam->setColumnWidth(1, paramColumn);

    const int first = 200;
    const int second = Fmt::nearestInt((dbgSTD->width() - 200) / 3.0);
    dbgSTD->setColumns({{"MODName", "Модификация", first, {}},
                        {"N_Gost", "Номер", second, {}},
                        {"Name_Gost", "Наименование", dbgSTD->width() - first - second - 40, {}}});
}
