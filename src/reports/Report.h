#pragma once

#include "reports/reportvars.h"

#include <QDialog>
#include <memory>

class Connection;
class QComboBox;
class QMenu;
class QToolBar;
class ReportEngine;
class ReportPreview;

// The report viewer: the basket as a commercial document from the templates of table Reports,
// with the report data dialog's fields and the two enterprises' requisites.
class TReport : public QDialog {
    Q_OBJECT
public:
    static constexpr int NoReport = -1;

    explicit TReport(Connection& db, QWidget* parent = nullptr);
    ~TReport() override;

    // The values the templates ask for; the caller fills them before execReport.
    ReportVariables& variables() { return vars; }

    // Shows the report at position (template position + 1) over the current basket, modally.
    int execReport(int position);

    // Chooses the report at position of the list; the one already shown is left as it is.
    void repNameChange();
    void ZoomChange();
    void sbPrevClick();
    void sbNextClick();
    void sbPrintClick();
    void sbPdfClick();

    QToolBar* tbReport;
    QComboBox* repName;
    QComboBox* Zoom;
    QMenu* pmZoom;
    ReportPreview* frPreview;
    // Position of the loaded template; NoReport forces the next change to load.
    int LastReport = NoReport;

private:
    void load(int position);

    Connection& db;
    ReportVariables vars;
    std::unique_ptr<ReportEngine> engine;
};

extern TReport* Report;
