#pragma once

#include <QDialog>
#include <QString>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

// "Настройка": which modifications are shown (page "Модификации") and the price columns with
// the VAT rate (page "Цены"). A check writes at once (through Modifs::store, which keeps the
// shared modification state); the main window refreshes the tree and the lists afterwards.
class ToptionForm : public QDialog {
    Q_OBJECT
public:
    explicit ToptionForm(QWidget* parent = nullptr);

    // Whether the modification at list position p (modification p + 1's row) is checked.
    bool modificationChecked(int position) const;

    // Whether the visible modifications differ from those when the dialog was shown.
    bool modificationsChanged() const;

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

    QString shownFilter; // the modification filter as it was when the dialog was shown
    bool filling = false;
};

extern ToptionForm* optionForm;
