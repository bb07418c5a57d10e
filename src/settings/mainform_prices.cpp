// The main window's price routines.
#include "app/mainform.h"
#include "app/messbox.h"
#include "data/datamod.h"

void TmainForm::N15Click() {
    messForm->ShowBox(QStringLiteral("Очистить таблицу цен?"), CatalogCaption,
                      TmessForm::kindYesNo);
    if (messForm->Answer != TmessForm::mrYes) return;
    TQuery& q = dm->QOrder2;
    q.setText({QStringLiteral("delete from Price")});
    q.execSQL();
}
