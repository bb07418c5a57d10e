#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// The one-line prompt for a price column's name. The caller sets the caption and the text,
// shows it, and on acceptance reads text(); the prompt itself changes nothing.
class TchangeForm : public QDialog {
    Q_OBJECT
public:
    explicit TchangeForm(QWidget* parent = nullptr);

    // Sets the caption and the text offered, with the text selected.
    void prepare(const QString& caption, const QString& text);
    QString text() const;

    void fbOkClick();
    void fbCancelClick();

    QLineEdit* eStr;
    QPushButton* fbOk;
    QPushButton* fbCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
};

extern TchangeForm* changeForm;
