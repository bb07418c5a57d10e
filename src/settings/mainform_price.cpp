// The price update wizard shown from the main window.
#include "app/mainform.h"

#include "platform/modal.h"
#include "settings/Upprice.h"

#include <QLabel>

void TmainForm::N4Click() {
    Modal::exec(*priceForm);
    // New prices appear at once on the information panel when it is shown.
    if (!LabelN->isHidden()) LabelVisible(true);
}
