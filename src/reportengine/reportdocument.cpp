#include "reportengine/reportdocument.h"

#include "data/dberror.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

// Every report is laid out at this resolution, whatever the screen, so that its pages are the
// same on the preview, the printer and in a PDF; drawing scales to the device.
constexpr double LayoutDpi = 96.0;

QPaintDevice* layoutDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dpm = qRound(LayoutDpi / 0.0254);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
        return image;
    }();
    return &device;
}

// The page size is set before the text: every change of it lays the whole text out again.
std::unique_ptr<QTextDocument> makeDocument(const QString& html, const QFont& font,
                                            const QSizeF& page) {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(layoutDevice());
    doc->setDefaultFont(font);
    doc->setDocumentMargin(0);
    doc->setPageSize(page);
    doc->setHtml(html);
    return doc;
}

void drawDocument(QPainter& painter, const QTextDocument& doc, const QRectF& clip) {
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    ctx.clip = clip;
    painter.setClipRect(clip);
    doc.documentLayout()->draw(&painter, ctx);
}

} // namespace

ReportDocument::ReportDocument(const QString& title, const QPageLayout& layout, const QFont& font,
                               const QString& bodyHtml, const PageBand& pageHeader,
                               const PageBand& pageFooter)
    : name(title), page(layout) {
    const QRectF content = page.paintRect(QPageLayout::Inch);
    width = content.width() * LayoutDpi;
    // The bands are measured once on a first page; the body gets what remains.
    const QSizeF band(width, -1); // not cut into pages
    if (pageHeader) headerHeight = makeDocument(pageHeader(1, 1), font, band)->size().height();
    if (pageFooter) footerHeight = makeDocument(pageFooter(1, 1), font, band)->size().height();
    bodyHeight = qMax(content.height() * LayoutDpi - headerHeight - footerHeight, 50.0);
    body = makeDocument(bodyHtml, font, QSizeF(width, bodyHeight));
    const int count = qMax(1, body->pageCount());
    pages.resize(size_t(count));
    for (int p = 0; p < count; ++p) {
        if (pageHeader)
            pages[size_t(p)].header = makeDocument(pageHeader(p + 1, count), font, band);
        if (pageFooter)
            pages[size_t(p)].footer = makeDocument(pageFooter(p + 1, count), font, band);
    }
}

ReportDocument::~ReportDocument() = default;
ReportDocument::ReportDocument(ReportDocument&&) noexcept = default;
ReportDocument& ReportDocument::operator=(ReportDocument&&) noexcept = default;

void ReportDocument::paintPage(QPainter& painter, int index, double scale) const {
    const Page& p = pages[size_t(index)];
    painter.save();
    painter.scale(scale, scale);
    if (p.header) drawDocument(painter, *p.header, QRectF(0, 0, width, headerHeight + 1));
    painter.save();
    painter.translate(0, headerHeight - index * bodyHeight);
    drawDocument(painter, *body, QRectF(0, index * bodyHeight, width, bodyHeight));
    painter.restore();
    if (p.footer) {
        painter.translate(0, headerHeight + bodyHeight);
        drawDocument(painter, *p.footer, QRectF(0, 0, width, footerHeight + 1));
    }
    painter.restore();
}

bool ReportDocument::print(QPagedPaintDevice* device) const {
    device->setPageLayout(page);
    QPainter painter;
    if (!painter.begin(device)) return false;
    const double scale = device->logicalDpiX() / LayoutDpi;
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0) device->newPage();
        paintPage(painter, i, scale);
    }
    return painter.end();
}

void ReportDocument::savePdf(const QString& path) const {
    QPdfWriter writer(path);
    writer.setTitle(name);
    writer.setCreator(QStringLiteral("Каталог деталей и сборочных единиц"));
    writer.setResolution(600);
    if (!print(&writer)) throw FileError(QStringLiteral("Не удалось записать файл «%1»").arg(path));
}

QString ReportDocument::plainText() const {
    return body->toPlainText();
}
