#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class TMainFace;

// "Настройка": which modifications are shown (page "Модификации") and the price columns with
// the VAT rate (page "Цены"). A check writes at once (through Modifs::store, which keeps the
// shared modification state); the main window refreshes the tree and the lists afterwards.
// Price columns are made, renamed, hidden and removed through the PriceColumns routines; the
// basket and history follow at once, the other grids when the main window rebuilds them after
// the dialog closes.
class ToptionForm : public QDialog {
    Q_OBJECT
public:
    explicit ToptionForm(TMainFace& mainWindow, QWidget* parent = nullptr);

    // Whether the modification at list position p (modification p + 1's row) is checked.
    bool modificationChecked(int position) const;

    // Whether the visible modifications differ from those when the dialog was shown.
    bool modificationsChanged() const;

    void fbCancelClick();
    void clbModClickCheck(QListWidgetItem* item);
    void clbListClickCheck(QListWidgetItem* item);
    void emNDSChange();
    void fbNewClick();
    void fbRenameClick();
    void fbDelClick();

    QTabWidget* pcOption;
    QWidget* tsMod;
    QWidget* tsPrice;
    QListWidget* clbMod;
    QPushButton* fbCancel;
    QLabel* lbNDS;
    QLineEdit* emNDS;
    QLabel* lbPr;
    QLabel* lTitle;
    QListWidget* clbList;
    QPushButton* fbNew;
    QPushButton* fbRename;
    QPushButton* fbDel;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormCreate();
    void createPricePage();
    void enablePriceButtons();
    // FieldName of the price column at list position row.
    QString fieldAt(int row);

    TMainFace& mainWindow;

    QString shownFilter; // the modification filter as it was when the dialog was shown
    bool filling = false;
};

extern ToptionForm* optionForm;
