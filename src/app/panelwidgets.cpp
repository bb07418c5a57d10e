#include "app/panelwidgets.h"

#include "data/textfmt.h"

#include <QDateEdit>
#include <QProgressBar>
#include <QScrollArea>

QScrollArea* makeScrollBox(QWidget* parent, const QString& name) {
    auto* box = new QScrollArea(parent);
    box->setObjectName(name);
    box->setFrameShape(QFrame::NoFrame);
    return box;
}

QDateEdit* makeDatePicker(QWidget* parent, const QString& name) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(name);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    d->setCalendarPopup(true);
    d->setDate(Fmt::strToDate(TodayStr()));
    return d;
}

QProgressBar* makeGauge(QWidget* parent, const QString& name) {
    auto* g = new QProgressBar(parent);
    g->setObjectName(name);
    g->setTextVisible(false);
    g->hide();
    return g;
}
