#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The common message box through which the program informs and asks. ShowBox shows it
// modally; the caller reads Answer afterwards.
class TmessForm : public QDialog {
    Q_OBJECT
public:
    // The answers, as the platform's dialog result codes.
    enum { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
    // The kinds: 0 "OK", 1 "Да"/"Нет", 2 "Да"/"Нет"/"Отмена".
    enum { kindOk = 0, kindYesNo = 1, kindYesNoCancel = 2 };

    explicit TmessForm(QWidget* parent = nullptr);

    void ShowBox(const QString& text, const QString& caption, int kind);

    // Lays the box out for a message without showing it.
    void layoutFor(const QString& text, const QString& caption, int kind);

    int Answer = mrCancel;

    QLabel* lbMess;
    QPushButton* bYes;
    QPushButton* bNo;
    QPushButton* bCancel;
    QPushButton* bOK;

protected:
    void changeEvent(QEvent* event) override;

private:
    void answer(int code);
};

// The caption every part of the program passes to ShowBox.
inline const QString CatalogCaption = QStringLiteral("Каталог деталей и сборочных единиц");

extern TmessForm* messForm;
