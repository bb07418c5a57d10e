#include "settings/option.h"

#include "app/dialogs.h"
#include "app/mainface.h"
#include "app/messbox.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "settings/change.h"
#include "settings/modifs.h"
#include "settings/pricecolumns.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

ToptionForm* optionForm = nullptr;

ToptionForm::ToptionForm(TMainFace& mainWindow, QWidget* parent)
    : QDialog(parent), mainWindow(mainWindow) {
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
    lbNDS = new QLabel(QStringLiteral("НДС:"), tsPrice);
    lbNDS->setObjectName(QStringLiteral("lbNDS"));
    emNDS = new QLineEdit(tsPrice);
    emNDS->setObjectName(QStringLiteral("emNDS"));
    emNDS->setInputMask(QStringLiteral("99;_"));
    emNDS->setText(QString::number(Shared->ndsPercent()));
    lbPr = new QLabel(QStringLiteral("%"), tsPrice);
    lbPr->setObjectName(QStringLiteral("lbPr"));
    lTitle = new QLabel(QStringLiteral("Выводить информацию:"), tsPrice);
    lTitle->setObjectName(QStringLiteral("lTitle"));
    clbList = new QListWidget(tsPrice);
    clbList->setObjectName(QStringLiteral("clbList"));
    fbNew = makeDialogButton(tsPrice, QStringLiteral("fbNew"), QStringLiteral("Создать..."));
    fbRename =
        makeDialogButton(tsPrice, QStringLiteral("fbRename"), QStringLiteral("Переменовать..."));
    fbDel = makeDialogButton(tsPrice, QStringLiteral("fbDel"), QStringLiteral("Удалить"));
    FormCreate();
    ErrorDisplay::connect(fbCancel, &QPushButton::clicked, this, [this] { fbCancelClick(); });
    ErrorDisplay::connect(clbMod, &QListWidget::itemChanged, this,
                          [this](QListWidgetItem* item) { clbModClickCheck(item); });
    ErrorDisplay::connect(clbList, &QListWidget::itemChanged, this,
                          [this](QListWidgetItem* item) { clbListClickCheck(item); });
    ErrorDisplay::connect(emNDS, &QLineEdit::textChanged, this, [this] { emNDSChange(); });
    ErrorDisplay::connect(fbNew, &QPushButton::clicked, this, [this] { fbNewClick(); });
    ErrorDisplay::connect(fbRename, &QPushButton::clicked, this, [this] { fbRenameClick(); });
    ErrorDisplay::connect(fbDel, &QPushButton::clicked, this, [this] { fbDelClick(); });
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

    pcOption->setGeometry(0, 0, 400, 300);
    const QRect page = pcOption->widget(0)->rect();
    clbMod->setGeometry(5, 5, page.width() - 10, page.height() - 10);
    createPricePage();
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

void ToptionForm::createPricePage() {
    const auto prices = DM->priceColumns();
    DM->QOrderAll.close();
    filling = true;
    for (const TDM::PriceColumn& p : prices) {
        auto* item = new QListWidgetItem(p.name, clbList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(p.visible ? Qt::Checked : Qt::Unchecked);
        DM->NewField(p.field);
    }
    filling = false;

    const QRect page = tsPrice->rect();
    emNDS->setGeometry(0, 5, 40, 21);
    lbNDS->adjustSize();
    lbNDS->move(5, emNDS->y() + 4);
    emNDS->move(lbNDS->x() + lbNDS->width() + 5, emNDS->y());
    lbPr->adjustSize();
    lbPr->move(emNDS->x() + emNDS->width() + 5, lbNDS->y());
    lTitle->adjustSize();
    lTitle->move(5, emNDS->y() + emNDS->height() + 5);
    const int listTop = lTitle->y() + lTitle->height() + 5;
    fbNew->move(page.width() - 5 - fbNew->width(), listTop);
    fbRename->move(fbNew->x(), fbNew->y() + fbNew->height() + 5);
    fbDel->move(fbNew->x(), fbRename->y() + fbRename->height() + 5);
    clbList->setGeometry(5, listTop, fbNew->x() - 5 - 5, page.height() - 5 - listTop);
}

void ToptionForm::enablePriceButtons() {
    const bool any = clbList->count() > 0;
    fbRename->setEnabled(any);
    fbDel->setEnabled(any);
    if (any && !clbList->currentItem()) clbList->setCurrentRow(0);
}

QString ToptionForm::fieldAt(int row) {
    const auto prices = DM->priceColumns();
    if (row < 0 || row >= int(prices.size()))
        throw CatalogError(
            QStringLiteral("Столбец цен %1 не найден в таблице PriceFields").arg(row + 1));
    return prices[size_t(row)].field;
}

void ToptionForm::clbListClickCheck(QListWidgetItem* item) {
    if (filling) return;
    TQuery& q = DM->QPriceFields;
    q.setText({PriceColumns::visibleStatement(fieldAt(clbList->row(item)),
                                              item->checkState() == Qt::Checked)});
    q.execSQL();
}

void ToptionForm::emNDSChange() {
    Shared->setNdsPercent(PriceColumns::parseNds(emNDS->displayText()));
}

void ToptionForm::fbNewClick() {
    changeForm->prepare(QStringLiteral("Добавить цену"), QString());
    if (Modal::exec(*changeForm) != QDialog::Accepted) return;
    PriceColumns::create(*DM, changeForm->text());
    mainWindow.NewOrder();
    mainWindow.NewHistory();
    filling = true;
    auto* item = new QListWidgetItem(changeForm->text(), clbList);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    filling = false;
    clbList->setCurrentItem(item);
    enablePriceButtons();
}

void ToptionForm::fbRenameClick() {
    QListWidgetItem* item = clbList->currentItem();
    if (!item) return;
    changeForm->prepare(QStringLiteral("Изменить название цены"), item->text());
    if (Modal::exec(*changeForm) != QDialog::Accepted) return;
    TQuery& q = DM->QPriceFields;
    q.setText({PriceColumns::renameStatement(fieldAt(clbList->row(item)), changeForm->text())});
    q.execSQL();
    filling = true;
    item->setText(changeForm->text());
    filling = false;
}

void ToptionForm::fbDelClick() {
    QListWidgetItem* item = clbList->currentItem();
    if (!item) return;
    messForm->ShowBox(QStringLiteral("Удалить цену с названием \"%1\"?").arg(item->text()),
                      CatalogCaption, TmessForm::kindYesNo);
    if (messForm->Answer != TmessForm::mrYes) return;
    PriceColumns::remove(*DM, fieldAt(clbList->row(item)));
    mainWindow.NewOrder();
    mainWindow.NewHistory();
    filling = true;
    delete item;
    filling = false;
    clbList->setCurrentItem(nullptr);
    enablePriceButtons();
}

void ToptionForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        shownFilter = Shared->modFilter();
        enablePriceButtons();
    }
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
