#include "app/messbox.h"

#include "app/widgets.h"
#include "platform/modal.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

TmessForm* messForm = nullptr;

namespace {

constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int Gap = 5;
constexpr int MinWidth = 400;

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->resize(ButtonWidth, ButtonHeight);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TmessForm::TmessForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("messForm"));
    setWindowTitle(QStringLiteral("Каталог деталей и сборочных единиц трактора М-315.04"));
    setFont(windowFont());
    lbMess = new QLabel(this);
    lbMess->setObjectName(QStringLiteral("lbMess"));
    lbMess->move(10, 10);
    bYes = makeButton(this, QStringLiteral("bYes"), QStringLiteral("Да"));
    bNo = makeButton(this, QStringLiteral("bNo"), QStringLiteral("Нет"));
    bCancel = makeButton(this, QStringLiteral("bCancel"), QStringLiteral("Отмена"));
    bOK = makeButton(this, QStringLiteral("bOK"), QStringLiteral("OK"));
    connect(bOK, &QPushButton::clicked, this, [this] { answer(mrOk); });
    connect(bYes, &QPushButton::clicked, this, [this] { answer(mrYes); });
    connect(bNo, &QPushButton::clicked, this, [this] { answer(mrNo); });
    connect(bCancel, &QPushButton::clicked, this, [this] { answer(mrCancel); });
}

void TmessForm::answer(int code) {
    Answer = code;
    done(code);
}

void TmessForm::layoutFor(const QString& text, const QString& caption, int kind) {
    Answer = mrCancel;
    setWindowTitle(caption);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lbMess->setText(shown);
    lbMess->adjustSize();
    lbMess->move(10, 10);
    for (QPushButton* b : {bYes, bNo, bCancel, bOK})
        b->hide();

    const int labelBottom = lbMess->y() + lbMess->height();
    const int clientHeight = lbMess->height() + ButtonHeight + 30;
    // Outer width 400 for short texts; the frame's share is known once the box was shown.
    const int frameExtra = frameGeometry().width() - geometry().width();
    int clientWidth =
        lbMess->width() + 20 < MinWidth ? MinWidth - frameExtra : lbMess->width() + 20;

    // For kind 1 the hidden "Отмена" is placed after "Нет" all the same.
    const QList<QPushButton*> row =
        kind == kindOk ? QList<QPushButton*>{bOK} : QList<QPushButton*>{bYes, bNo, bCancel};
    const int shownButtons = kind == kindOk ? 1 : kind + 1;
    const int need = shownButtons * ButtonWidth + (shownButtons - 1) * Gap;
    if (need > lbMess->width() && need + 20 > MinWidth) clientWidth = need + 20;

    int left = (clientWidth - need) / 2;
    for (int i = 0; i < row.size(); ++i) {
        row[i]->move(left, labelBottom + 10);
        left += ButtonWidth + Gap;
        row[i]->setVisible(i < shownButtons);
    }
    setFixedSize(clientWidth, clientHeight);
}

void TmessForm::ShowBox(const QString& text, const QString& caption, int kind) {
    layoutFor(text, caption, kind);
    Modal::exec(*this);
}

void TmessForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) raiseTopmostWindows(this);
    QDialog::changeEvent(event);
}
