#include "settings/option.h"

#include "app/dialogs.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "settings/modifs.h"

#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

ToptionForm* optionForm = nullptr;

ToptionForm::ToptionForm(QWidget* parent) : QDialog(parent) {
    setupDialog(this, QStringLiteral("optionForm"), QStringLiteral("Настройка"));
    pcOption = new QTabWidget(this);
    pcOption->setObjectName(QStringLiteral("pcOption"));
    tsMod = new QWidget;
    tsMod->setObjectName(QStringLiteral("tsMod"));
    tsPrice = new QWidget;
    tsPrice->setObjectName(QStringLiteral("tsPrice"));
    pcOption->addTab(tsMod, QStringLiteral("Модификации"));
    pcOption->addTab(tsPrice, QStringLiteral("Цены"));
    clbMod = new QListWidget(tsMod);
    clbMod->setObjectName(QStringLiteral("clbMod"));
    fbCancel = new QPushButton(QStringLiteral("Закрыть"), this);
    fbCancel->setObjectName(QStringLiteral("fbCancel"));
    fbCancel->setAutoDefault(false);
    FormCreate();
    ErrorDisplay::connect(fbCancel, &QPushButton::clicked, this, [this] { fbCancelClick(); });
    ErrorDisplay::connect(clbMod, &QListWidget::itemChanged, this,
                          [this](QListWidgetItem* item) { clbModClickCheck(item); });
}

void ToptionForm::FormCreate() {
    TQuery& q = DM->QMod;
    q.setText(Modifs::list());
    q.open();
    filling = true;
    for (; !q.eof(); q.next()) {
        auto* item = new QListWidgetItem(q.asString(QStringLiteral("MODName")), clbMod);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(q.asBoolean(QStringLiteral("Visible")) ? Qt::Checked : Qt::Unchecked);
    }
    filling = false;
    q.close();

    const auto prices = DM->priceColumns();
    DM->QOrderAll.close();
    for (const TDM::PriceColumn& p : prices)
        DM->NewField(p.field);

    pcOption->setGeometry(0, 0, 400, 300);
    const QRect page = pcOption->widget(0)->rect();
    clbMod->setGeometry(5, 5, page.width() - 10, page.height() - 10);
    fbCancel->adjustSize();
    fbCancel->move(pcOption->width() - fbCancel->width(), pcOption->height() + 5);
    setFixedSize(pcOption->width(), fbCancel->y() + fbCancel->height() + 5);
    // The first showing opens the price page; later ones the page last shown.
    pcOption->setCurrentWidget(tsPrice);
}

bool ToptionForm::modificationChecked(int position) const {
    const QListWidgetItem* item = clbMod->item(position);
    return item && item->checkState() == Qt::Checked;
}

void ToptionForm::clbModClickCheck(QListWidgetItem* item) {
    if (filling) return;
    try {
        Modifs::store(DM->QMod, *Shared, item->text(), item->checkState() == Qt::Checked);
    } catch (...) {
        // The stored choice did not change (a locked or read-only catalogue): the box shows
        // it again, so the list agrees with the filter, the tree and the search lists.
        filling = true;
        item->setCheckState(Shared->modificationVisible(clbMod->row(item)) ? Qt::Checked
                                                                           : Qt::Unchecked);
        filling = false;
        throw;
    }
}

void ToptionForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) shownFilter = Shared->modFilter();
    QDialog::showEvent(event);
}

bool ToptionForm::modificationsChanged() const {
    return Shared->modFilter() != shownFilter;
}

void ToptionForm::fbCancelClick() {
    QDialog::accept();
}

// Every way of closing applies what was changed, the title bar's close box too, so the tree
// and the lists never lag behind the stored choice.
void ToptionForm::reject() {
    fbCancelClick();
}
