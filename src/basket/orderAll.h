#pragma once

#include <QDialog>
#include <QPixmap>
#include <functional>

class QProgressBar;
class QPushButton;
class TDBGrid;
class TNoVertScrollDBGrid;

// The add-all-found dialog: the staged parts of the last search with a check column. A click
// on a check cell ticks or unticks its staging row; "OK" hands the ticked rows to the routine
// the command gave it, which merges them into the basket.
class TorderAllForm : public QDialog {
    Q_OBJECT
public:
    explicit TorderAllForm(QWidget* parent = nullptr);

    // Acts on "OK" with the dialog's progress bar; an error it throws keeps the dialog open.
    using Acceptor = std::function<void(QProgressBar*)>;
    // Shows the dialog modally, as wide as the main window and 30 pixels less high.
    int run(QSize mainWindow, const Acceptor& acceptor);

    void dbgInsCellClick(int row);
    void bbOKClick();
    void bbCancelClick();

    TDBGrid* dbgOrderAll;
    TNoVertScrollDBGrid* dbgIns;
    QPixmap ilCheck[2]; // 0: ticked, 1: not ticked
    QProgressBar* gProgress;
    QPushButton* bbOK;
    QPushButton* bbCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();

    Acceptor acceptor;
};

extern TorderAllForm* orderAllForm;
