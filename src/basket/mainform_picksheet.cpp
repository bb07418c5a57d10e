// "Лист подбора...": the drawings that show basket parts, their positions circled and the
// basket lines on each, for the storekeeper who gathers the order.
#include "app/mainform.h"

#include "app/messbox.h"
#include "basket/picksheet.h"
#include "basket/picksheetprint.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/shared.h"
#include "data/tquery.h"
#include "platform/errordisplay.h"
#include "std/printask.h"
#include "viewer/image.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>

namespace {

QString bigBitmap(const QString& picDir, const PickSheet::Sheet& s) {
    return picDir + QStringLiteral("big/%1_%2.bmp").arg(s.modif).arg(s.picture);
}

} // namespace

void TmainForm::connectPickSheet() {
    sbPickSheet = new QAction(QStringLiteral("Лист подбора..."), this);
    sbPickSheet->setObjectName(QStringLiteral("sbPickSheet"));
    pmOrder->addSeparator();
    pmOrder->addAction(sbPickSheet);
    // In the file menu beside "Отчет", the other document made of the basket.
    const QList<QAction*> items = menuFile->actions();
    const qsizetype report = items.indexOf(Report1);
    menuFile->insertAction(report + 1 < items.size() ? items[report + 1] : nullptr, sbPickSheet);
    // Like the export, it needs lines in the basket.
    sbPickSheet->setEnabled(sbExcel->isEnabled());
    QObject::connect(sbExcel, &QAction::changed, sbPickSheet,
                     [this] { sbPickSheet->setEnabled(sbExcel->isEnabled()); });
    ErrorDisplay::connect(sbPickSheet, &QAction::triggered, this, [this] { sbPickSheetClick(); });
}

void TmainForm::sbPickSheetClick() {
    TQuery q(*dm->Database, QStringLiteral("QPickSheet"));
    const std::vector<PickSheet::Sheet> sheets = PickSheet::read(q, Shared->modFilter());
    if (sheets.empty()) {
        messForm->ShowBox(QStringLiteral("Детали корзины не показаны ни на одном рисунке"),
                          CatalogCaption, TmessForm::kindOk);
        return;
    }
    // A missing bitmap stops here with its name, before a document is started or a file
    // chosen; the bitmaps themselves are read page by page.
    for (const PickSheet::Sheet& s : sheets) {
        const QString path = bigBitmap(dm->PicDir, s);
        if (!QFileInfo(path).isFile())
            throw FileError(QStringLiteral("Не найден файл рисунка %1").arg(path));
    }
    const TprintForm::Answer answer =
        printForm->Ask(QStringLiteral("Напечатать лист подбора (рисунков: %1) на текущем принтере?")
                           .arg(sheets.size()));
    if (answer == TprintForm::No) return;
    const std::unique_ptr<QPrinter> printer =
        printerFor(answer == TprintForm::Pdf, QStringLiteral("Лист подбора.pdf"));
    if (!printer) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;
    const QString picDir = dm->PicDir;
    PickSheetPrint::print(*printer, sheets, [&picDir](const PickSheet::Sheet& s) {
        return readBitmap(bigBitmap(picDir, s));
    });
}
