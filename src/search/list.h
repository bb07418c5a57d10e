#pragma once

#include <QDialog>
#include <QString>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// "Список": several alternative values for one row of the search dialog, one per line.
class TlistForm : public QDialog {
    Q_OBJECT
public:
    explicit TlistForm(QWidget* parent = nullptr);

    // The lines joined by "&" on "ОК"; empty after "Отмена".
    QString Joined;

    void fbOKClick();

    QGroupBox* gbRamka;
    QPlainTextEdit* mList;
    QPushButton* fbOK;
    QPushButton* fbCancel;

protected:
    void showEvent(QShowEvent* event) override;
};

extern TlistForm* listForm;
