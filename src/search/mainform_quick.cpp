// The quick search box's and the where-used window's side of the main window: a part opened on
// its drawing or put into the basket at their request, and the "Где применяется" commands.
#include "app/mainform.h"

#include "app/dbgrid.h"
#include "data/datamod.h"
#include "platform/errordisplay.h"
#include "search/quicksearch.h"
#include "search/quicksql.h"
#include "search/used.h"
#include "viewer/marker.h"
#include "viewer/viewersql.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

// The row of the occurrence at picture and position, else of the first on a drawing (they come
// first), or -1 when the part is on no drawing.
int targetRow(const TQuery& q, int picture, int position) {
    const int pictureColumn = q.fieldIndex(QStringLiteral("Picture"));
    const int positionColumn = q.fieldIndex(QStringLiteral("Position"));
    if (picture > 0)
        for (int row = 0; row < q.recordCount(); ++row)
            if (q.cell(row, pictureColumn).toInt() == picture &&
                q.cell(row, positionColumn).toInt() == position)
                return row;
    return q.recordCount() > 0 && q.cell(0, pictureColumn).toInt() > 0 ? 0 : -1;
}

} // namespace

void TmainForm::showPartOn(const QString& nf, int modif, int picture, int position) {
    // Looked at first, so that a part on no drawing leaves the drawing panel as it is.
    TQuery& look = dm->StrQuery;
    look.setText(QuickSql::occurrences(nf, modif));
    look.open();
    const int target = targetRow(look, picture, position);
    look.close();
    if (target < 0) {
        look.setText({QuickSql::part(nf, modif)});
        look.open();
        const QString number = look.isEmpty() ? nf : look.asString(QStringLiteral("N"));
        look.close();
        setStatus(QStringLiteral("Деталь %1 не показана ни на одном рисунке").arg(number),
                  statusHint());
        return;
    }
    TQuery& part = dm->QPicPos;
    part.setText(QuickSql::occurrences(nf, modif));
    part.open();
    dm->QSTD.setText(ViewerSql::standardOf(modif, nf));
    dm->QSTD.open();

    // Stepping through found parts ends, as with a click on a marker.
    sbNextItem->setEnabled(false);
    sbPredItem->setEnabled(false);
    SelAll(SelMarker, true);
    if (Markers[SelMarker]->text() == QLatin1String("0")) UnselectSE();
    part.moveTo(target);
    SeekTarget = true;
    TargetPos = part.asInteger(QStringLiteral("Position"));
    CurrentModif = modif;
    CurrentPic = part.asInteger(QStringLiteral("Picture"));
    LoadNewImage();
    LabelVisible(true);
    allSE();
    part.moveTo(target);
    SEIndex = target;
    ComboBoxSE->setCurrentIndex(target);
    if (SeekTarget) {
        // The position has no place on the drawing: no marker of another part is taken for it.
        SeekTarget = false;
    } else {
        SelAll(TargetMarker, false);
        SelMarker = TargetMarker;
        SelLabel = Markers[TargetMarker];
    }
    if (TargetPos == 0) SelectSE(part.asString(QStringLiteral("N")));
    // The drawing comes to the front without showing the search result's current row on it.
    if (switchTo(Panel::Pic)) sbPic->setChecked(true);
    setCurrentPart(lbN->text(), lbName->text(), lbV->text());
}

void TmainForm::orderPart(const QString& n, const QString& name, const QString& v) {
    // The part shown stays the current one for "Добавить" afterwards.
    const QString shownN = CurN, shownName = CurName, shownV = CurV;
    setCurrentPart(n, name, v);
    try {
        sbOrderClick();
    } catch (...) {
        setCurrentPart(shownN, shownName, shownV);
        throw;
    }
    setCurrentPart(shownN, shownName, shownV);
}

void TmainForm::miQuickClick() {
    quickSearch->setFocus(Qt::ShortcutFocusReason);
    quickSearch->selectAll();
}

void TmainForm::miUsedClick() {
    const TQuery& part = dm->QPicPos;
    if (!partShown() || !part.active() || part.isEmpty()) return;
    usedForm->showPart(part.asString(QStringLiteral("N_f")), part.asString(QStringLiteral("N")),
                       part.asString(QStringLiteral("Name")));
}

void TmainForm::fiUsedClick() {
    if (!foundRows()) return;
    const TQuery& found = dm->QFind;
    usedForm->showPart(found.asString(QStringLiteral("N_f")), found.asString(QStringLiteral("N")),
                       found.asString(QStringLiteral("Name")));
}

void TmainForm::tbiUsedClick() {
    const TQuery& line = dm->QOrder;
    if (!line.active() || line.isEmpty()) return;
    usedForm->showPart(line.asString(QStringLiteral("ID_f")), line.asString(QStringLiteral("ID")),
                       line.asString(QStringLiteral("Name")));
}

void TmainForm::connectQuick() {
    quickSearch = new TQuickSearch(*this, ToolBar);
    ToolBar->addSeparator();
    ToolBar->addWidget(quickSearch);
    quickSearch->takeTypingFrom(panelPic);

    auto action = [this](const QString& name, const QString& text) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        return a;
    };
    miQuick = action(QStringLiteral("miQuick"), QStringLiteral("&Быстрый поиск"));
    miQuick->setShortcut(QKeySequence::Find);
    menuService->insertAction(N4, miQuick);
    const QString used = QStringLiteral("Где применяется");
    miUsed = action(QStringLiteral("miUsed"), used);
    pmImage->addAction(miUsed);
    for (QLabel* label : {lbN, lbName}) {
        label->addAction(miUsed);
        label->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    fiUsed = action(QStringLiteral("fiUsed"), used);
    dbgFind->addAction(fiUsed);
    dbgFind->setContextMenuPolicy(Qt::ActionsContextMenu);
    tbiUsed = action(QStringLiteral("tbiUsed"), used);
    pmOrder->addAction(tbiUsed);

    using ErrorDisplay::connect;
    connect(miQuick, &QAction::triggered, this, [this] { miQuickClick(); });
    connect(miUsed, &QAction::triggered, this, [this] { miUsedClick(); });
    connect(fiUsed, &QAction::triggered, this, [this] { fiUsedClick(); });
    connect(tbiUsed, &QAction::triggered, this, [this] { tbiUsedClick(); });
}
