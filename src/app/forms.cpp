#include "app/forms.h"

#include "app/about.h"
#include "app/catalogapp.h"
#include "app/commandline.h"
#include "app/mainform.h"
#include "app/messbox.h"
#include "basket/order.h"
#include "basket/orderAll.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/shared.h"
#include "data/dbmessage.h"
#include "editing/det.h"
#include "platform/errordisplay.h"
#include "search/find.h"
#include "search/list.h"
#include "settings/modifs.h"
#include "settings/option.h"

#include <QDir>
#include <QFileInfo>

std::unique_ptr<Forms> Forms::create(const QString& workDir) {
    std::unique_ptr<Forms> f(new Forms);
    f->mainWindow = &f->keep(mainForm);
    f->keep(messForm);
    ErrorDisplay::setShower([](const QString& message) {
        messForm->ShowBox(message, CatalogCaption, TmessForm::kindOk);
    });
    f->closers.push_back([] { ErrorDisplay::setShower(nullptr); });

    if (!QFileInfo::exists(QDir(workDir).absoluteFilePath(TDM::databaseFileName()))) {
        messForm->ShowBox(
            QStringLiteral("Для корректной работы программы обратитесь к разработчикам"),
            CatalogCaption, TmessForm::kindOk);
        return nullptr;
    }
    for (;;) {
        try {
            f->keep(DM, workDir);
            break;
        } catch (const BusyError& e) {
            // Another program is writing the catalogue: the user may close it and try again.
            messForm->ShowBox(e.message() + QStringLiteral("\n\nПовторить попытку?"),
                              CatalogCaption, TmessForm::kindYesNo);
            if (messForm->Answer != TmessForm::mrYes) return nullptr;
        } catch (const CatalogError& e) {
            messForm->ShowBox(e.message(), CatalogCaption, TmessForm::kindOk);
            return nullptr;
        }
    }
    Modifs::reload(DM->QMod, f->keep(Shared));
    mainForm->DataModuleCreate(*DM);

    f->keep(AboutBox);
    f->keep(findForm, *mainForm);
    f->keep(listForm);
    // Where the add-to-basket dialog is created: the first column build and the layout inside
    // the basket and history panels, before the settings dialog declares the price fields.
    f->keep(orderForm);
    f->keep(orderAllForm);
    f->keep(detForm);
    mainForm->NewDBGrid();
    mainForm->layoutOrderBoxes();
    mainForm->fillEnterpriseLists();
    f->keep(optionForm);
    mainForm->NewTree();

    mainForm->pressPanelButton(mainForm->sbTree);
    return f;
}

Forms::~Forms() {
    for (; !closers.empty(); closers.pop_back())
        closers.back()();
}

int runCatalog(int argc, char** argv) {
    int status = 1;
    if (answerBeforeStart(argc, argv, status)) return status;
    CatalogApplication app(argc, argv);
    std::unique_ptr<Forms> forms;
    ErrorDisplay::guard(
        [&] { forms = startCatalog(app.arguments(), StartPlaces::standard(), status); });
    if (!forms) return status;
    forms->main().showMaximized();
    return app.exec();
}
