#pragma once

#include <QDialog>
#include <QString>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

// "Настройка": which modifications are shown (page "Модификации") and the price columns with
// the VAT rate (page "Цены"). Its creation builds the modification filter, the current
// modification and the drawing counts that the viewer, the tree and the search read.
class ToptionForm : public QDialog {
    Q_OBJECT
public:
    explicit ToptionForm(QWidget* parent = nullptr);

    // The condition of the visible modifications, ((modif=0) OR (modif=m) ...).
    QString ModFilter;

    // Whether the modification at list position p (modification p + 1's row) is checked.
    bool modificationChecked(int position) const;

    void fbCancelClick();
    void clbModClickCheck(QListWidgetItem* item);

    QTabWidget* pcOption;
    QWidget* tsMod;
    QWidget* tsPrice;
    QListWidget* clbMod;
    QPushButton* fbCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormCreate();
    void rebuildModFilter();

    QString shownFilter; // ModFilter as it was when the dialog was shown
    bool filling = false;
};

extern ToptionForm* optionForm;
