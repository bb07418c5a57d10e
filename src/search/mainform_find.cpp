// The search entry points of the main window: the search button, the key form of numbers and
// the result of a search the dialog built.
#include "app/mainform.h"

#include "app/widgets.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "search/find.h"
#include "search/findsql.h"
#include "search/keyform.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

QString TmainForm::StrToFind(const QString& number) {
    return keyForm(number);
}

void TmainForm::sbFindClick() {
    Modal::exec(*findForm);
}

void TmainForm::showSearchResult(const FindSql::Statement& statement, bool standardized) {
    dm->QFind.clear();
    // The previous result is gone: until the new one is open, the table's count and the
    // commands over it say so, and stay so when the statement fails.
    sbNextItem->setEnabled(false);
    sbPredItem->setEnabled(false);
    if (!panelTable->isHidden()) {
        sbOrder->setEnabled(false);
        miOrder->setEnabled(false);
    }
    showWithShape(sbOrderAll, sOrderAll, false);
    showFoundCount();
    Shared->setSearchCondition(statement.condition);
    if (standardized) {
        dm->QSTD.setText(statement.lines);
        dm->QSTD.open();
        sbSTDClick();
        return;
    }
    TQuery& q = dm->QFind;
    q.setText(statement.lines);
    q.open();
    const bool found = !q.isEmpty();
    if (found)
        setCurrentPart(q.asString(QStringLiteral("N")), q.asString(QStringLiteral("Name")),
                       q.asString(QStringLiteral("V")));
    sbOrder->setEnabled(found);
    miOrder->setEnabled(found);
    // Stepping through an empty result would build its statements from no row at all.
    sbNextItem->setEnabled(found);
    sbPredItem->setEnabled(found);
    if (found) {
        sbNextItem->show();
        sbPredItem->show();
    }
    showWithShape(sbOrderAll, sOrderAll, found);
    LabelNaid->show();
    showFoundCount();
    lbK->show();
    pressPanelButton(sbTable);
}

void TmainForm::connectSearch() {
    ErrorDisplay::connect(sbFind, &QToolButton::clicked, this, [this] { sbFindClick(); });
    ErrorDisplay::connect(N6, &QAction::triggered, this, [this] { sbFindClick(); });
    connectFound();
}
