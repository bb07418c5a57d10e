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
#include "data/dbmessage.h"
#include "data/shared.h"
#include "editing/det.h"
#include "platform/errordisplay.h"
#include "reports/Report.h"
#include "reports/Select.h"
#include "reports/Sell_Buy.h"
#include "reports/ssp.h"
#include "search/find.h"
#include "search/list.h"
#include "search/used.h"
#include "settings/Upprice.h"
#include "settings/change.h"
#include "settings/modifs.h"
#include "settings/option.h"
#include "std/printask.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

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
    // A catalogue opened for the first time gets its index of part names: seconds on a large
    // one, so a gauge shows it.
    std::unique_ptr<QProgressDialog> gauge;
    const auto progress = [&gauge](int done, int total) {
        if (total < 20000) return;
        if (!gauge) {
            gauge = std::make_unique<QProgressDialog>(
                QStringLiteral("Подготовка поиска по наименованиям деталей..."), QString(), 0,
                total);
            gauge->setWindowTitle(CatalogCaption);
            gauge->setMinimumDuration(0);
        }
        gauge->setValue(done);
        QCoreApplication::processEvents();
    };
    for (;;) {
        try {
            f->keep(DM, workDir, progress);
            gauge.reset();
            break;
        } catch (const BusyError& e) {
            // Another program is writing the catalogue: the user may close it and try again.
            gauge.reset();
            messForm->ShowBox(e.message() + QStringLiteral("\n\nПовторить попытку?"),
                              CatalogCaption, TmessForm::kindYesNo);
            if (messForm->Answer != TmessForm::mrYes) return nullptr;
        } catch (const CatalogError& e) {
            gauge.reset();
            messForm->ShowBox(e.message(), CatalogCaption, TmessForm::kindOk);
            return nullptr;
        }
    }
    Modifs::reload(DM->QMod, f->keep(Shared));
    mainForm->DataModuleCreate(*DM);

    f->keep(AboutBox);
    f->keep(findForm, *mainForm);
    f->keep(listForm);
    f->keep(usedForm, *mainForm);
    f->keep(printForm);
    // Where the add-to-basket dialog is created: the first column build and the layout inside
    // the basket and history panels, before the settings dialog declares the price fields.
    f->keep(orderForm);
    f->keep(orderAllForm);
    f->keep(detForm);
    mainForm->NewDBGrid();
    mainForm->layoutOrderBoxes();
    f->keep(formDataToPlant, *mainForm);
    f->keep(formDataToReport);
    f->keep(Report, *DM->Database, mainForm);
    f->keep(sspForm, *DM->Database, mainForm);
    mainForm->loadEnterpriseBoxes();
    f->keep(priceForm, *mainForm);
    f->keep(changeForm);
    f->keep(optionForm, *mainForm);
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
