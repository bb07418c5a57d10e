#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The question before printing: "Да" prints on the current printer, "Сохранить в PDF" writes
// the same pages into a file, "Нет" (or closing) prints nothing.
class TprintForm : public QDialog {
    Q_OBJECT
public:
    enum Answer { No, Print, Pdf };

    explicit TprintForm(QWidget* parent = nullptr);

    // Shows the question modally and returns the answer.
    Answer Ask(const QString& text);

    QLabel* lbMess;
    QPushButton* bYes;
    QPushButton* bPdf;
    QPushButton* bNo;

private:
    Answer answer = No;
};

extern TprintForm* printForm;
