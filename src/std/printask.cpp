#include "std/printask.h"

#include "app/dialogs.h"
#include "app/messbox.h"
#include "platform/modal.h"

#include <QLabel>
#include <QPushButton>

TprintForm* printForm = nullptr;

TprintForm::TprintForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setupDialog(this, QStringLiteral("printForm"), CatalogCaption);
    lbMess = new QLabel(this);
    lbMess->setObjectName(QStringLiteral("lbMess"));
    lbMess->move(10, 10);
    bYes = makeDialogButton(this, QStringLiteral("bYes"), QStringLiteral("Да"));
    bPdf = makeDialogButton(this, QStringLiteral("bPdf"), QStringLiteral("Сохранить в PDF"));
    bPdf->resize(qMax(bPdf->width(), bPdf->sizeHint().width() + 10), bPdf->height());
    bNo = makeDialogButton(this, QStringLiteral("bNo"), QStringLiteral("Нет"));
    connect(bYes, &QPushButton::clicked, this, [this] {
        answer = Print;
        accept();
    });
    connect(bPdf, &QPushButton::clicked, this, [this] {
        answer = Pdf;
        accept();
    });
    connect(bNo, &QPushButton::clicked, this, [this] { reject(); });
}

TprintForm::Answer TprintForm::Ask(const QString& text) {
    answer = No;
    lbMess->setText(text);
    lbMess->adjustSize();
    const int gap = 5;
    const int buttons = bYes->width() + bPdf->width() + bNo->width() + 2 * gap;
    const int width = qMax(400, qMax(lbMess->width(), buttons) + 20);
    int left = (width - buttons) / 2;
    const int top = lbMess->y() + lbMess->height() + 10;
    for (QPushButton* b : {bYes, bPdf, bNo}) {
        b->move(left, top);
        left += b->width() + gap;
    }
    fixAndCentre(this, width, top + bYes->height() + 10);
    return Modal::exec(*this) == Accepted ? answer : No;
}
