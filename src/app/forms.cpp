#include "app/forms.h"

#include "app/about.h"
#include "app/catalogapp.h"
#include "app/mainform.h"
#include "app/messbox.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "platform/errordisplay.h"
#include "search/find.h"
#include "search/list.h"
#include "settings/option.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

std::unique_ptr<Forms> Forms::create(const QString& workDir) {
    std::unique_ptr<Forms> f(new Forms);
    f->mainWindow = std::make_unique<TmainForm>();
    mainForm = f->mainWindow.get();
    f->messBox = std::make_unique<TmessForm>();
    messForm = f->messBox.get();
    ErrorDisplay::setShower([](const QString& message) {
        messForm->ShowBox(message, CatalogCaption, TmessForm::kindOk);
    });

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
    try {
        f->dataModule = std::make_unique<TDM>(workDir, progress);
        gauge.reset();
    } catch (const CatalogError& e) {
        messForm->ShowBox(e.message(), CatalogCaption, TmessForm::kindOk);
        return nullptr;
    }
    DM = f->dataModule.get();
    mainForm->DataModuleCreate(*DM);

    f->about = std::make_unique<TAboutBox>();
    AboutBox = f->about.get();
    f->find = std::make_unique<TfindForm>();
    findForm = f->find.get();
    f->list = std::make_unique<TlistForm>();
    listForm = f->list.get();
    // Where the add-to-basket dialog is created: the first column build and the layout inside
    // the basket and history panels, before the settings dialog declares the price fields.
    mainForm->NewDBGrid();
    mainForm->layoutOrderBoxes();
    f->option = std::make_unique<ToptionForm>();
    optionForm = f->option.get();

    mainForm->pressPanelButton(mainForm->sbTree);
    return f;
}

Forms::~Forms() {
    // Dialogs first; the main window and the message box go last, as they came first.
    optionForm = nullptr;
    option.reset();
    listForm = nullptr;
    list.reset();
    findForm = nullptr;
    find.reset();
    AboutBox = nullptr;
    about.reset();
    DM = nullptr;
    dataModule.reset();
    ErrorDisplay::setShower(nullptr);
    messForm = nullptr;
    messBox.reset();
    mainForm = nullptr;
    mainWindow.reset();
}

int runCatalog(int argc, char** argv) {
    CatalogApplication app(argc, argv);
    std::unique_ptr<Forms> forms;
    ErrorDisplay::guard([&] { forms = Forms::create(QDir::currentPath()); });
    if (!forms) return 1;
    forms->main().showMaximized();
    return app.exec();
}
