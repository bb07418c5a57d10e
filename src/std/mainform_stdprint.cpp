// "Печать рисунка": the drawing or the standardized item's sheet, whichever panel is in front,
// after one question, on the default printer or into a PDF file.
#include "app/mainform.h"

#include "app/messbox.h"
#include "data/datamod.h"
#include "platform/modal.h"
#include "platform/printer.h"
#include "std/StdReport.h"
#include "std/printask.h"
#include "std/stditem.h"
#include "std/stdsql.h"
#include "viewer/drawingprint.h"
#include "viewer/image.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QStandardPaths>
#include <functional>

namespace {

// The hourglass while the pages are made, back to normal whatever happens.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// A PDF printer for a file the user chooses; null when the choice is cancelled.
std::unique_ptr<QPrinter> pdfChosen(QWidget* parent, const QString& suggested) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
    QString path =
        Modal::saveFileName(parent, QStringLiteral("Сохранить в PDF"),
                            QDir(dir).filePath(suggested), QStringLiteral("Документы PDF (*.pdf)"));
    if (path.isEmpty()) return nullptr;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    return Printer::pdfPrinter(path);
}

// A file name made of a part's number: characters a file name cannot hold become "_".
QString fileNameOf(const QString& text) {
    QString name = text.trimmed();
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('"') ||
            c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('|'))
            c = QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("Лист") : name;
}

} // namespace

void TmainForm::sbPrintClick() {
    const bool drawing = !panelPic->isHidden() && CurrentPic > 0;
    const bool sheet = !panelSTD->isHidden() && stdRows();
    if (!drawing && !sheet) return;

    const TprintForm::Answer answer =
        printForm->Ask(QStringLiteral("Выполнить печать на текущем принтере?"));
    if (answer == TprintForm::No) return;

    // The pages are prepared first: a missing bitmap or illustration stops here with its name,
    // before a document is started or a file chosen.
    std::function<void(QPrinter&)> printPages;
    QString suggested;
    if (drawing) {
        const QImage bitmap = drawingToPrint();
        printPages = [bitmap](QPrinter& printer) { DrawingPrint::print(printer, bitmap); };
        suggested = QStringLiteral("Рисунок %1_%2.pdf").arg(CurrentModif).arg(CurrentPic);
    } else {
        const TQuery& item = dm->QSTD;
        TStdRep report;
        report.number = item.asString(QStringLiteral("N"));
        report.fullName = item.asString(QStringLiteral("FullName"));
        report.subgroup = item.asString(QStringLiteral("PodName"));
        report.picture = readBitmap(StdItem::pictureOrFallback(
            dm->PicDir + QStringLiteral("std/"),
            StdItem::sheetPicture(item.asInteger(QStringLiteral("PodGroup")),
                                  item.asInteger(QStringLiteral("PicGost"))),
            StdItem::SheetFallback));
        QStringList fill{StdSql::clearSheet()};
        for (const StdItem::Param& p : StdItem::sheetParams(item))
            fill << StdSql::sheetRow(p.name, p.value);
        dm->Database->execAll(fill);
        TQuery& rows = dm->Qstdrep;
        rows.setText(StdSql::sheetRows());
        rows.open();
        for (rows.first(); !rows.eof(); rows.next())
            report.rows.push_back({rows.asString(QStringLiteral("paramname")),
                                   rows.asString(QStringLiteral("param"))});
        printPages = [report](QPrinter& printer) { report.Print(printer); };
        suggested = fileNameOf(report.number) + QStringLiteral(".pdf");
    }

    const std::unique_ptr<QPrinter> printer = printerFor(answer == TprintForm::Pdf, suggested);
    if (!printer) return;
    BusyCursor busy;
    printPages(*printer);
}

std::unique_ptr<QPrinter> TmainForm::printerFor(bool toPdf, const QString& suggested) {
    std::unique_ptr<QPrinter> printer;
    if (!toPdf) {
        printer = Printer::defaultPrinter();
        if (!printer) {
            messForm->ShowBox(
                QStringLiteral("Принтер не установлен.\nСохранить страницу в файл PDF?"),
                CatalogCaption, TmessForm::kindYesNo);
            if (messForm->Answer != TmessForm::mrYes) return nullptr;
        }
    }
    if (!printer) printer = pdfChosen(this, suggested);
    return printer;
}
