// Layout of the search result panel.
#include "app/mainform.h"

#include "app/panelwidgets.h"
#include "app/widgets.h"

#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

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
