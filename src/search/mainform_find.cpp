// The search entry points of the main window: the search button and the key form of numbers.
#include "app/mainform.h"

#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "search/find.h"
#include "search/keyform.h"

#include <QAction>
#include <QToolButton>

QString TmainForm::StrToFind(const QString& number) {
    return keyForm(number);
}

void TmainForm::sbFindClick() {
    Modal::exec(*findForm);
}

void TmainForm::connectSearch() {
    ErrorDisplay::connect(sbFind, &QToolButton::clicked, this, [this] { sbFindClick(); });
    ErrorDisplay::connect(N6, &QAction::triggered, this, [this] { sbFindClick(); });
    connectFound();
}
