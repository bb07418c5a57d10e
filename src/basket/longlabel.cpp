#include "basket/longlabel.h"

#include <QLabel>

void LongLabel(QLabel* label, int limit) {
    label->adjustSize();
    if (label->width() <= limit) return;
    const QString full = label->text();
    QString shown;
    for (const QChar c : full) {
        shown += c;
        label->setText(shown);
        label->adjustSize();
        if (label->width() >= limit - 12) break;
    }
    label->setText(shown + QStringLiteral("..."));
    label->adjustSize();
}
