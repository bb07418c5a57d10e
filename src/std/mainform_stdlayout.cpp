// Layout of the standardized-items panel.
#include "app/mainform.h"

#include "app/panelwidgets.h"
#include "app/widgets.h"
#include "data/textfmt.h"

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
    const int paramColumn = Fmt::nearestInt(lbParam->width() / 2.0) - 1;
    sgParam->horizontalHeader()->hide();
    sgParam->verticalHeader()->hide();
    sgParam->setColumnWidth(0, paramColumn);
    sgParam->setColumnWidth(1, paramColumn);

    const int first = 200;
    const int second = Fmt::nearestInt((dbgSTD->width() - 200) / 3.0);
    dbgSTD->setColumns({{"MODName", "Модификация", first, {}},
                        {"N_Gost", "Номер", second, {}},
                        {"Name_Gost", "Наименование", dbgSTD->width() - first - second - 40, {}}});
}
