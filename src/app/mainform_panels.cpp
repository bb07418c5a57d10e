// Switching between the six content panels and the items that follow the panel in front.
#include "app/mainform.h"

#include "app/messbox.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "platform/modal.h"
#include "search/find.h"
#include "settings/option.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <utility>

void TmainForm::sbEnabled() {
    sbZoomNorm->setEnabled(CanZoomNorm);
    miNorm->setEnabled(CanZoomNorm);
    sbZoomMinus->setEnabled(CanZoomMinus);
    miMinus->setEnabled(CanZoomMinus);
    sbZoomPlus->setEnabled(CanZoomPlus);
    miPlus->setEnabled(CanZoomPlus);
    sbPred->setEnabled(CanPred);
    miPred->setEnabled(CanPred);
    sbNext->setEnabled(CanNext);
    miNext->setEnabled(CanNext);
}

bool TmainForm::partShown() const {
    // Asked while the drawing panel may be hidden: the label's own state counts.
    return !LabelN->isHidden();
}

bool TmainForm::foundRows() const {
    return dm && dm->QFind.active() && !dm->QFind.isEmpty();
}

QWidget* TmainForm::panelOf(Panel p) const {
    switch (p) {
    case Panel::Pic:
        return panelPic;
    case Panel::Table:
        return panelTable;
    case Panel::STD:
        return panelSTD;
    case Panel::Tree:
        return panelTree;
    case Panel::Basket:
        return panelOrder;
    case Panel::History:
        return panelHistory;
    }
    return panelPic;
}

QAction* TmainForm::windowItemOf(Panel p) const {
    switch (p) {
    case Panel::Pic:
        return WinPic;
    case Panel::Table:
        return WinTable;
    case Panel::STD:
        return WinSTD;
    case Panel::Tree:
        return WinTree;
    case Panel::Basket:
        return WinView;
    case Panel::History:
        return WinHistory;
    }
    return WinPic;
}

bool TmainForm::switchTo(Panel target) {
    if (!panelOf(target)->isHidden()) return false;
    if (target == Panel::Pic) {
        if (partShown()) setStatus(QStringLiteral("Примечание: ") + SavedRemark, SavedRemark);
    } else {
        if (!statusText().isEmpty()) SavedRemark = statusHint();
        setStatus(QString(), QString());
    }
    for (Panel p :
         {Panel::Pic, Panel::Table, Panel::STD, Panel::Tree, Panel::Basket, Panel::History}) {
        panelOf(p)->setVisible(p == target);
        windowItemOf(p)->setEnabled(p != target);
    }
    applyItemStates(target);
    return true;
}

void TmainForm::applyItemStates(Panel target) {
    if (target == Panel::Pic) {
        sbEnabled();
    } else {
        for (QAction* a : {sbZoomNorm, sbZoomMinus, sbZoomPlus, sbPred, sbNext, miNorm, miMinus,
                           miPlus, miPred, miNext})
            a->setEnabled(false);
    }
    const bool basket = target == Panel::Basket;
    for (QAction* a : {sbNew, sbOpen, sbSave, New1, Open1, Save1, sbAdd, sbChange, sbDel, sbExcel})
        a->setEnabled(basket);
    sbDelHistory->setEnabled(target == Panel::History);
    sbDelAllHistory->setEnabled(target == Panel::History);

    switch (target) {
    case Panel::Pic:
        sbPrint->setEnabled(CurrentPic > 0);
        if (partShown()) {
            sbOrder->setEnabled(true);
            miOrder->setEnabled(true);
        }
        break;
    case Panel::Table:
        sbPrint->setEnabled(false);
        sbOrder->setEnabled(foundRows());
        miOrder->setEnabled(foundRows());
        if (foundRows()) {
            sbNextItem->setEnabled(true);
            sbPredItem->setEnabled(true);
        }
        break;
    case Panel::STD:
        sbPrint->setEnabled(dm && dm->QSTD.active() && !dm->QSTD.isEmpty());
        sbNextItem->setEnabled(false);
        sbPredItem->setEnabled(false);
        break;
    case Panel::Tree:
    case Panel::Basket:
    case Panel::History:
        sbPrint->setEnabled(false);
        for (QToolButton* b : {sbOrder, sbNextItem, sbPredItem})
            b->setEnabled(false);
        miOrder->setEnabled(false);
        break;
    }
}

void TmainForm::pressPanelButton(QToolButton* button) {
    const std::pair<QToolButton*, void (TmainForm::*)()> handlers[] = {
        {sbPic, &TmainForm::sbPicClick},   {sbTable, &TmainForm::sbTableClick},
        {sbSTD, &TmainForm::sbSTDClick},   {sbTree, &TmainForm::sbTreeClick},
        {sbView, &TmainForm::sbViewClick}, {sbHistory, &TmainForm::sbHistoryClick}};
    for (const auto& [b, handler] : handlers)
        if (b == button) (this->*handler)();
    button->setChecked(true);
}

void TmainForm::sbPicClick() {
    const bool fromTable = !panelTable->isHidden();
    if (!switchTo(Panel::Pic)) return;
    if (fromTable && foundRows()) FindNew();
    if (partShown()) {
        setCurrentPart(lbN->text(), lbName->text(), lbV->text());
    }
}

void TmainForm::sbTableClick() {
    if (!switchTo(Panel::Table)) return;
    if (foundRows()) {
        setCurrentPart(dm->QFind.asString(QStringLiteral("N")),
                       dm->QFind.asString(QStringLiteral("Name")),
                       dm->QFind.asString(QStringLiteral("V")));
    }
}

void TmainForm::sbSTDClick() {
    if (switchTo(Panel::STD)) NewSTD();
    sbPrint->setEnabled(stdRows());
}

void TmainForm::sbTreeClick() {
    if (!switchTo(Panel::Tree)) return;
    if (Tree->topLevelItemCount() > 0) Tree->setCurrentItem(Tree->topLevelItem(0));
}

void TmainForm::sbViewClick() {
    if (switchTo(Panel::Basket)) NewOrder();
}

void TmainForm::sbHistoryClick() {
    if (switchTo(Panel::History)) NewHistory();
}

void TmainForm::setCurrentPart(const QString& n, const QString& name, const QString& v) {
    CurN = n;
    CurName = name;
    CurV = v;
}

void TmainForm::N17Click() {
    Modal::exec(*optionForm);
    // Price columns and the VAT rate may have changed: every price grid follows, and the
    // part shown gets the new price rows.
    NewDBGrid();
    NewOrder();
    NewHistory();
    if (partShown() && SelLabel) PosOnClick(SelLabel);
    if (!optionForm->modificationsChanged()) return;
    NewTree();
    findForm->setModifications(Shared->visibleModifications());
}
