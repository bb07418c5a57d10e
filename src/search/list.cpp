#include "search/list.h"

#include "app/dialogs.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

TlistForm* listForm = nullptr;

TlistForm::TlistForm(QWidget* parent) : QDialog(parent) {
    setupDialog(this, QStringLiteral("listForm"), QStringLiteral("Список"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    gbRamka = new QGroupBox(this);
    gbRamka->setObjectName(QStringLiteral("gbRamka"));
    mList = new QPlainTextEdit(gbRamka);
    mList->setObjectName(QStringLiteral("mList"));
    mList->setLineWrapMode(QPlainTextEdit::NoWrap);
    mList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mList->setGeometry(10, 15, 400, 300);
    gbRamka->setGeometry(5, 5, mList->width() + 20, mList->height() + 25);

    fbOK = makeDialogButton(this, QStringLiteral("fbOK"), QStringLiteral("ОК"));
    fbCancel = makeDialogButton(this, QStringLiteral("fbCancel"), QStringLiteral("Отмена"));
    const int top = gbRamka->y() + gbRamka->height() + 5;
    fbCancel->move(gbRamka->x() + gbRamka->width() - fbCancel->width(), top);
    fbOK->move(fbCancel->x() - 5 - fbOK->width(), top);
    fixAndCentre(this, gbRamka->x() + gbRamka->width() + 5, top + fbCancel->height() + 5);

    connect(fbOK, &QPushButton::clicked, this, [this] { fbOKClick(); });
    connect(fbCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void TlistForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        mList->clear();
        Joined.clear();
    }
    QDialog::showEvent(event);
}

void TlistForm::fbOKClick() {
    QStringList lines = mList->toPlainText().split(QLatin1Char('\n'));
    // The line break after the last line does not open another one.
    if (lines.last().isEmpty()) lines.removeLast();
    Joined = lines.join(QLatin1Char('&'));
    accept();
}
