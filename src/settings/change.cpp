#include "settings/change.h"

#include "app/dialogs.h"
#include "platform/errordisplay.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TchangeForm* changeForm = nullptr;

TchangeForm::TchangeForm(QWidget* parent) : QDialog(parent) {
    setupDialog(this, QStringLiteral("changeForm"), QString());
    eStr = new QLineEdit(this);
    eStr->setObjectName(QStringLiteral("eStr"));
    eStr->installEventFilter(this);
    fbOk = makeDialogButton(this, QStringLiteral("fbOk"), QStringLiteral("OK"));
    fbCancel = makeDialogButton(this, QStringLiteral("fbCancel"), QStringLiteral("Отмена"));
    FormCreate();
    ErrorDisplay::connect(fbOk, &QPushButton::clicked, this, [this] { fbOkClick(); });
    ErrorDisplay::connect(fbCancel, &QPushButton::clicked, this, [this] { fbCancelClick(); });
}

void TchangeForm::FormCreate() {
    eStr->setGeometry(5, 5, 300, eStr->sizeHint().height());
    fbCancel->move(eStr->x() + eStr->width() - fbCancel->width(), eStr->y() + eStr->height() + 5);
    fbOk->move(fbCancel->x() - 5 - fbOk->width(), fbCancel->y());
    setFixedSize(fbCancel->x() + fbCancel->width() + 5, fbCancel->y() + fbCancel->height() + 5);
}

void TchangeForm::prepare(const QString& caption, const QString& text) {
    setWindowTitle(caption);
    eStr->setText(text);
    eStr->selectAll();
    eStr->setFocus();
}

QString TchangeForm::text() const {
    return eStr->text();
}

void TchangeForm::fbOkClick() {
    accept();
}

void TchangeForm::fbCancelClick() {
    reject();
}

// Enter in the input acts as "OK" on its release, so the key that closes the prompt never
// reaches the window under it.
bool TchangeForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == eStr && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) fbOkClick();
    }
    return QDialog::eventFilter(watched, event);
}
