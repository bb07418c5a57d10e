#pragma once

#include <QDialog>
#include <memory>

class Connection;
class QToolBar;
class ReportEngine;
class ReportPreview;

// The two reference lists of table app (0: the service and sales enterprises, 1: the plant's
// telephones), each printed by its own template over the table the row names.
class TsspForm : public QDialog {
    Q_OBJECT
public:
    explicit TsspForm(Connection& db, QWidget* parent = nullptr);
    ~TsspForm() override;

    // Loads list's template and data afresh and shows it modally.
    void sShow(int list);

    QToolBar* pb;
    ReportPreview* frPreview_;

private:
    Connection& db;
    std::unique_ptr<ReportEngine> engine;
};

extern TsspForm* sspForm;
