#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

// A prepared report: its pages, ready to be drawn on a printer, a PDF writer or a preview.
// The body (title, the table of master rows with its header repeated on every page, summary) is
// one rich-text document cut into pages without cutting rows; the page header and footer are
// laid out for every page on their own.
class ReportDocument {
public:
    // Texts of the page header and footer for page (1-based) of pages.
    using PageBand = std::function<QString(int page, int pages)>;

    // Lays out bodyHtml on the page; pageHeader/pageFooter may be empty functions.
    ReportDocument(const QString& title, const QPageLayout& page, const QFont& font,
                   const QString& bodyHtml, const PageBand& pageHeader, const PageBand& pageFooter);
    ~ReportDocument();
    ReportDocument(ReportDocument&&) noexcept;
    ReportDocument& operator=(ReportDocument&&) noexcept;

    const QString& title() const { return name; }
    int pageCount() const { return int(pages.size()); }
    const QPageLayout& pageLayout() const { return page; }

    // Draws every page on the device (setting its page layout first). False when the device
    // cannot be painted on.
    bool print(QPagedPaintDevice* device) const;
    // Writes all pages as one PDF file; throws FileError with the path when it cannot.
    void savePdf(const QString& path) const;

    // The body's text, for checks and for searching.
    QString plainText() const;

private:
    struct Page {
        std::unique_ptr<QTextDocument> header, footer;
    };
    void paintPage(QPainter& painter, int index, double scale) const;

    QString name;
    QPageLayout page;
    std::unique_ptr<QTextDocument> body;
    std::vector<Page> pages;
    double headerHeight = 0, footerHeight = 0, bodyHeight = 0, width = 0;
};
