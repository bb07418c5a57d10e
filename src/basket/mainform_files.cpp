// The basket's file commands: "Создать", "Открыть", "Сохранить".
#include "app/mainform.h"
#include "app/messbox.h"
#include "basket/basketfile.h"
#include "data/datamod.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"

#include <QAction>

namespace {

const QString FileFilter = QStringLiteral("Таблицы заказов (*.db)");

} // namespace

bool TmainForm::basketEmpty() {
    TQuery& q = dm->QOrder2;
    q.setText({QStringLiteral("select N from Order_ limit 1")});
    q.open();
    const bool empty = q.isEmpty();
    q.close();
    return empty;
}

bool TmainForm::saveBasketFile() {
    const QString chosen =
        Modal::saveFileName(this, QStringLiteral("Сохранить"), sdMainFileName, FileFilter);
    if (chosen.isEmpty()) return false;
    const BasketFile::Location where = BasketFile::split(chosen);
    sdMainFileName = where.chosen;
    const BasketFile::WriteReport report = BasketFile::saveBasket(*dm, where.path());
    if (report.unencodable > 0)
        messForm->ShowBox(QStringLiteral("Строк со знаками, которых нет в кодовой странице 1251: "
                                         "%1. В файле %2 эти знаки заменены на \"?\".")
                              .arg(report.unencodable)
                              .arg(where.path()),
                          CatalogCaption, TmessForm::kindOk);
    return true;
}

// Offers to save a filled basket first. False when the user cancelled: at the question, or at
// the save dialog after "Да" (the basket is then kept, not lost unsaved).
bool TmainForm::offerToSaveBasket() {
    if (basketEmpty()) return true;
    messForm->ShowBox(QStringLiteral("Сохранить таблицу заказа?"), CatalogCaption,
                      TmessForm::kindYesNoCancel);
    switch (messForm->Answer) {
    case TmessForm::mrYes:
        return saveBasketFile();
    case TmessForm::mrNo:
        return true;
    default:
        return false;
    }
}

void TmainForm::sbNewClick() {
    if (basketEmpty() || !offerToSaveBasket()) return;
    TQuery& q = dm->QOrder2;
    q.setText({QStringLiteral("delete from Order_")});
    q.execSQL();
    NewOrder();
}

// The basket is replaced only once a file is chosen and read whole; until then it stays.
void TmainForm::sbOpenClick() {
    if (!offerToSaveBasket()) return;
    const QString chosen =
        Modal::openFileName(this, QStringLiteral("Открыть"), odMainFileName, FileFilter);
    if (chosen.isEmpty()) return;
    const BasketFile::Location where = BasketFile::split(chosen);
    odMainFileName = where.chosen;
    BasketFile::loadBasket(*dm, where.path());
    NewOrder();
}

void TmainForm::sbSaveClick() {
    saveBasketFile();
}

void TmainForm::connectFiles() {
    ErrorDisplay::connect(sbNew, &QAction::triggered, this, [this] { sbNewClick(); });
    ErrorDisplay::connect(sbOpen, &QAction::triggered, this, [this] { sbOpenClick(); });
    ErrorDisplay::connect(sbSave, &QAction::triggered, this, [this] { sbSaveClick(); });
    ErrorDisplay::connect(New1, &QAction::triggered, this, [this] { sbNewClick(); });
    ErrorDisplay::connect(Open1, &QAction::triggered, this, [this] { sbOpenClick(); });
    ErrorDisplay::connect(Save1, &QAction::triggered, this, [this] { sbSaveClick(); });
}
