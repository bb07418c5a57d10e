#include "settings/pricepreviewpage.h"

#include "settings/pricepreview.h"

#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A cell that sorts by its number, not by its text.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text), value(value) {
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const auto* n = dynamic_cast<const NumberItem*>(&other);
        return n ? value < n->value : QTableWidgetItem::operator<(other);
    }

private:
    double value;
};

QTableWidget* table(const QString& name, const QStringList& captions) {
    auto* t = new QTableWidget(0, int(captions.size()));
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(captions);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(18);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QString money(double v) {
    return QString::number(v, 'f', 2);
}

// A missing price sorts below every price.
QTableWidgetItem* oldPriceItem(const PricePreview::Change& c) {
    return c.hadPrice ? new NumberItem(money(c.oldPrice), c.oldPrice) : new NumberItem({}, -1e300);
}

void fill(QTableWidget* t, const std::vector<PricePreview::Change>& rows, bool withChange) {
    t->setSortingEnabled(false);
    t->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const PricePreview::Change& c = rows[size_t(r)];
        t->setItem(r, 0, new QTableWidgetItem(c.number));
        t->setItem(r, 1, new QTableWidgetItem(c.name));
        if (!withChange) {
            t->setItem(r, 2, new NumberItem(money(c.newPrice), c.newPrice));
            continue;
        }
        t->setItem(r, 2, oldPriceItem(c));
        t->setItem(r, 3, new NumberItem(money(c.newPrice), c.newPrice));
        t->setItem(r, 4,
                   c.hasPercent()
                       ? new NumberItem(QString::number(c.percent(), 'f', 1), c.percent())
                       : new NumberItem({}, -1e300));
    }
    // The table's own order until a caption is clicked.
    t->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    t->setSortingEnabled(true);
    t->resizeColumnToContents(0);
}

} // namespace

PricePreviewPage::PricePreviewPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pricePreview"));
    lbSummary = new QLabel(this);
    lbSummary->setObjectName(QStringLiteral("lbSummary"));
    lbWarning = new QLabel(this);
    lbWarning->setObjectName(QStringLiteral("lbWarning"));
    lbWarning->setWordWrap(true);
    QFont bold = lbWarning->font();
    bold.setBold(true);
    lbWarning->setFont(bold);
    lbWarning->setStyleSheet(QStringLiteral("color: maroon"));
    tChanges = table(QStringLiteral("tChanges"),
                     {QStringLiteral("Номер"), QStringLiteral("Наименование"),
                      QStringLiteral("Старая цена"), QStringLiteral("Новая цена"),
                      QStringLiteral("Изменение, %")});
    tNotFound =
        table(QStringLiteral("tNotFound"),
              {QStringLiteral("Номер"), QStringLiteral("Наименование"), QStringLiteral("Цена")});
    tUnreadable =
        table(QStringLiteral("tUnreadable"), {QStringLiteral("Строка"), QStringLiteral("Причина")});
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->addTab(tChanges, QString());
    tabs->addTab(tNotFound, QString());
    tabs->addTab(tUnreadable, QString());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lbSummary);
    layout->addWidget(lbWarning);
    layout->addWidget(tabs, 1);
}

void PricePreviewPage::setPreview(const PricePreview::Preview& p) {
    const int changed = int(p.changes.size());
    const int notFound = int(p.notFound.size());
    const int unreadable = int(p.unreadable.size());
    lbSummary->setText(QStringLiteral("Изменится цен: %1. Без изменений: %2. Нет в каталоге: %3. "
                                      "Не прочитано строк: %4.")
                           .arg(changed)
                           .arg(p.unchanged)
                           .arg(notFound)
                           .arg(unreadable));
    lbWarning->setText(
        QStringLiteral("Внимание: %1 из %2 цен меняются больше чем наполовину. Возможно, "
                       "выбрано не то поле цены.")
            .arg(p.bigChanges)
            .arg(p.compared));
    lbWarning->setVisible(p.warn());
    tabs->setTabText(0, QStringLiteral("Изменения (%1)").arg(changed));
    tabs->setTabText(1, QStringLiteral("Нет в каталоге (%1)").arg(notFound));
    tabs->setTabText(2, QStringLiteral("Не прочитаны (%1)").arg(unreadable));
    fill(tChanges, p.changes, true);
    fill(tNotFound, p.notFound, false);
    tUnreadable->setSortingEnabled(false);
    tUnreadable->setRowCount(unreadable);
    for (int r = 0; r < unreadable; ++r) {
        const PricePreview::Unreadable& u = p.unreadable[size_t(r)];
        tUnreadable->setItem(r, 0, new NumberItem(QString::number(u.row), u.row));
        tUnreadable->setItem(r, 1, new QTableWidgetItem(u.reason));
    }
    tUnreadable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tUnreadable->setSortingEnabled(true);
    tabs->setCurrentIndex(0);
}
