#include "reports/reportpreview.h"

#include "data/dberror.h"
#include "platform/modal.h"
#include "platform/printer.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QVBoxLayout>

namespace {

const char* const zoomNames[] = {"200%",
                                 "150%",
                                 "100%",
                                 "75%",
                                 "50%",
                                 "25%",
                                 "10%",
                                 "По ширине страницы",
                                 "Страница целиком",
                                 "Две страницы"};
const double zoomFactors[] = {2.0, 1.5, 1.0, 0.75, 0.5, 0.25, 0.1};

// Characters a file name may not hold on any of the desktops.
QString fileNameOf(QString text) {
    static const QString bad = QStringLiteral("\\/:*?\"<>|");
    for (QChar& c : text)
        if (bad.contains(c) || c < QChar(' ')) c = QLatin1Char('_');
    return text.simplified();
}

} // namespace

QString ReportPreview::zoomName(int zoom) {
    return QString::fromUtf8(zoomNames[zoom]);
}

ReportPreview::ReportPreview(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

ReportPreview::~ReportPreview() = default;

// The page view asks the printing system for a printer: made when first shown or used, so the
// program starts without it.
QPrintPreviewWidget* ReportPreview::view() {
    if (preview) return preview;
    screen = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    preview = new QPrintPreviewWidget(screen.get(), this);
    preview->setObjectName(QStringLiteral("frPreview"));
    layout()->addWidget(preview);
    connect(preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        if (doc) doc->print(printer);
    });
    preview->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(preview, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit menuRequested(preview->mapToGlobal(at)); });
    applyZoom();
    return preview;
}

void ReportPreview::showEvent(QShowEvent* event) {
    view();
    QWidget::showEvent(event);
}

void ReportPreview::setDocument(std::unique_ptr<ReportDocument> document) {
    doc = std::move(document);
    view()->updatePreview();
    applyZoom();
    preview->setCurrentPage(1);
}

void ReportPreview::setZoom(int zoom) {
    currentZoom = zoom;
    if (preview) applyZoom();
}

void ReportPreview::applyZoom() {
    preview->setViewMode(currentZoom == TwoPages ? QPrintPreviewWidget::FacingPagesView
                                                 : QPrintPreviewWidget::SinglePageView);
    if (currentZoom < PageWidth)
        preview->setZoomFactor(zoomFactors[currentZoom]);
    else if (currentZoom == PageWidth)
        preview->fitToWidth();
    else
        preview->fitInView();
    preview->setFocus();
}

void ReportPreview::previousPage() {
    QPrintPreviewWidget* pages = view();
    pages->setCurrentPage(pages->currentPage() - 1);
}

void ReportPreview::nextPage() {
    QPrintPreviewWidget* pages = view();
    pages->setCurrentPage(pages->currentPage() + 1);
}

int ReportPreview::currentPage() const {
    return preview ? preview->currentPage() : 0;
}

int ReportPreview::pageCount() const {
    return doc ? doc->pageCount() : 0;
}

void ReportPreview::print() {
    if (!doc) return;
    const std::unique_ptr<QPrinter> printer = Printer::defaultPrinter();
    if (!printer) throw CatalogError(QStringLiteral("Принтер не установлен."));
    printer->setDocName(doc->title());
    QPrintDialog dialog(printer.get(), this);
    dialog.setMinMax(1, doc->pageCount());
    if (Modal::exec(dialog) != QDialog::Accepted) return;
    if (!doc->print(printer.get()))
        throw CatalogError(QStringLiteral("Не удалось напечатать отчет «%1» на принтере %2.")
                               .arg(doc->title(), printer->printerName()));
}

void ReportPreview::savePdf(const QString& number) {
    if (!doc) return;
    QString name = doc->title();
    if (!number.trimmed().isEmpty()) name += QLatin1Char(' ') + number.trimmed();
    const QString offered = QDir::home().filePath(fileNameOf(name) + QStringLiteral(".pdf"));
    QString path = Modal::saveFileName(this, QStringLiteral("Сохранить в PDF"), offered,
                                       QStringLiteral("Документ PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    doc->savePdf(path);
}
