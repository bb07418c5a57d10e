#pragma once

#include "reportengine/reportdocument.h"

#include <QWidget>
#include <memory>

class QPrintPreviewWidget;
class QPrinter;

// A prepared report shown page by page, printed through the print dialog or saved as one PDF.
// Without a report it shows an empty page.
class ReportPreview : public QWidget {
    Q_OBJECT
public:
    // The zoom entries in the order of the viewer's list.
    enum Zoom { Z200, Z150, Z100, Z75, Z50, Z25, Z10, PageWidth, WholePage, TwoPages, ZoomCount };
    static QString zoomName(int zoom);

    explicit ReportPreview(QWidget* parent = nullptr);
    ~ReportPreview() override;

    void setDocument(std::unique_ptr<ReportDocument> document);
    const ReportDocument* document() const { return doc.get(); }

    void setZoom(int zoom);
    int zoom() const { return currentZoom; }
    void previousPage();
    void nextPage();
    int currentPage() const;
    int pageCount() const;

    // The print dialog over the system's printer; nothing happens without a report.
    void print();
    // Offers "<name> <number>.pdf" in the save dialog and writes all pages there.
    void savePdf(const QString& number);

    QPrintPreviewWidget* view();

signals:
    // The context menu asked for over the pages, at a point of the screen.
    void menuRequested(const QPoint& global);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyZoom();

    std::unique_ptr<QPrinter> screen;
    QPrintPreviewWidget* preview = nullptr;
    std::unique_ptr<ReportDocument> doc;
    int currentZoom = PageWidth;
};
