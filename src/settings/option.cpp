#include "settings/option.h"

#include "app/mainform.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "data/sql.h"
#include "platform/errordisplay.h"
#include "search/find.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

ToptionForm* optionForm = nullptr;

ToptionForm::ToptionForm(QWidget* parent) : QDialog(parent) {
    // The search dialog's group list and the tree read this dialog while it is being created.
    optionForm = this;
    setObjectName(QStringLiteral("optionForm"));
    setWindowTitle(QStringLiteral("Настройка"));
    setFont(windowFont());
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
    TmainForm& main = *mainForm;
    main.CurrentModif = 0;
    ModFilter = QStringLiteral("((modif=0)");
    main.ModPic.clear();

    TQuery& q = DM->QMod;
    q.clear();
    q.add(QStringLiteral("select * from Modif order by modif"));
    q.open();
    if (!q.eof() && q.asInteger(QStringLiteral("modif")) == 0) q.next(); // the common one
    findForm->findComboBoxMOD->clear();
    findForm->findComboBoxMOD->addItem(QString());
    filling = true;
    for (; !q.eof(); q.next()) {
        const bool visible = q.asBoolean(QStringLiteral("Visible"));
        const int modif = q.asInteger(QStringLiteral("modif"));
        if (visible) {
            if (main.CurrentModif == 0) main.CurrentModif = modif;
            ModFilter += QStringLiteral(" OR (modif=%1)").arg(modif);
            findForm->findComboBoxMOD->addItem(q.asString(QStringLiteral("MODName")));
        }
        auto* item = new QListWidgetItem(q.asString(QStringLiteral("MODName")), clbMod);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(visible ? Qt::Checked : Qt::Unchecked);
        main.ModPic.push_back(q.asInteger(QStringLiteral("PIC")));
    }
    filling = false;
    q.close();
    ModFilter += QLatin1Char(')');
    findForm->findComboBoxMOD->setCurrentIndex(0);
    findForm->findComboBoxMODChange();
    findForm->findComboBox->setCurrentIndex(0);

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

    main.NewTree();
}

bool ToptionForm::modificationChecked(int position) const {
    const QListWidgetItem* item = clbMod->item(position);
    return item && item->checkState() == Qt::Checked;
}

void ToptionForm::clbModClickCheck(QListWidgetItem* item) {
    if (filling) return;
    const bool checked = item->checkState() == Qt::Checked;
    TQuery& q = DM->QMod;
    q.setText({QStringLiteral("update Modif"),
               QStringLiteral("set Visible=") + Sql::boolean(checked),
               QStringLiteral("where MODName=") + Sql::quote(item->text())});
    q.execSQL();
    rebuildModFilter();
}

void ToptionForm::rebuildModFilter() {
    TQuery& q = DM->QMod;
    q.clear();
    q.add(QStringLiteral("select * from modif"));
    q.open();
    QString filter = QStringLiteral("((modif=0)");
    for (; !q.eof(); q.next())
        if (q.asBoolean(QStringLiteral("Visible")) && q.asInteger(QStringLiteral("modif")) != 0)
            filter += QStringLiteral(" OR (modif=%1)").arg(q.asInteger(QStringLiteral("modif")));
    q.close();
    ModFilter = filter + QLatin1Char(')');
}

void ToptionForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) shownFilter = ModFilter;
    QDialog::showEvent(event);
}

void ToptionForm::fbCancelClick() {
    if (ModFilter != shownFilter) {
        mainForm->NewTree();
        QComboBox* mods = findForm->findComboBoxMOD;
        mods->clear();
        mods->addItem(QString());
        for (int i = 0; i < clbMod->count(); ++i)
            if (clbMod->item(i)->checkState() == Qt::Checked)
                mods->addItem(clbMod->item(i)->text());
        mods->setCurrentIndex(0);
        findForm->findComboBoxMODChange();
    }
    QDialog::accept();
}

// Every way of closing applies what was changed, the title bar's close box too, so the tree
// and the lists never lag behind the stored choice.
void ToptionForm::reject() {
    fbCancelClick();
}
