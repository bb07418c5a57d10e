#pragma once

#include <QWidget>

namespace PricePreview {
struct Preview;
}
class QLabel;
class QTabWidget;
class QTableWidget;

// The price update wizard's page before writing: the counts, a warning when the prices jump
// suspiciously, and sortable tables of the changes, the numbers the catalogue lacks and the
// rows that cannot be read.
class PricePreviewPage : public QWidget {
    Q_OBJECT
public:
    explicit PricePreviewPage(QWidget* parent = nullptr);

    void setPreview(const PricePreview::Preview& preview);

    QLabel* lbSummary;
    QLabel* lbWarning;
    QTabWidget* tabs;
    QTableWidget* tChanges;
    QTableWidget* tNotFound;
    QTableWidget* tUnreadable;
};
