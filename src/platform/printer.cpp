#include "platform/printer.h"

#include "data/dberror.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace Printer {

namespace {

Source& source() {
    static Source s;
    return s;
}

QString failure(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("Не удалось записать файл %1").arg(printer.outputFileName());
    return QStringLiteral("Не удалось выполнить печать на принтере %1").arg(printer.printerName());
}

} // namespace

std::unique_ptr<QPrinter> defaultPrinter() {
    if (source()) return source()();
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (names.isEmpty()) return nullptr;
        info = QPrinterInfo::printerInfo(names.first());
    }
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // Without a print system Qt falls back to a PDF file of no name: that is no printer.
    if (printer->outputFormat() != QPrinter::NativeFormat) return nullptr;
    return printer;
}

std::unique_ptr<QPrinter> pdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer->setFullPage(true);
    return printer;
}

void setSource(Source s) {
    source() = std::move(s);
}

void begin(QPainter& painter, QPrinter& printer) {
    if (!painter.begin(&printer)) throw CatalogError(failure(printer));
}

void end(QPainter& painter, QPrinter& printer) {
    if (!painter.end()) throw CatalogError(failure(printer));
}

} // namespace Printer
