#include "search/quicksearch.h"

#include "app/mainface.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "search/quicksql.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

namespace {

constexpr int Shown = 20;

bool enterKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

} // namespace

TQuickSearch::TQuickSearch(TMainFace& mainFace, QWidget* parent)
    : QLineEdit(parent), face(mainFace) {
    setObjectName(QStringLiteral("eQuick"));
    setPlaceholderText(QStringLiteral("Быстрый поиск (Ctrl+F)"));
    setToolTip(QStringLiteral("Номер детали в любой записи или слово наименования"));
    setClearButtonEnabled(true);
    setFixedWidth(180);

    popup = new QTreeWidget(this);
    popup->setObjectName(QStringLiteral("lvQuick"));
    popup->setWindowFlags(Qt::Popup);
    popup->setFocusPolicy(Qt::NoFocus);
    popup->setFocusProxy(this);
    popup->setRootIsDecorated(false);
    popup->setUniformRowHeights(true);
    popup->setAllColumnsShowFocus(true);
    popup->setColumnCount(4);
    popup->setHeaderLabels({QStringLiteral("Номер"), QStringLiteral("Наименование"),
                            QStringLiteral("Модификация"), QStringLiteral("Рисунков")});
    popup->header()->setStretchLastSection(false);
    popup->installEventFilter(this);
    using ErrorDisplay::connect;
    connect(this, &QLineEdit::textEdited, this, [this] { refresh(); });
    connect(popup, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        popup->setCurrentItem(item);
        openChosen();
    });
}

TQuickSearch::~TQuickSearch() = default;

void TQuickSearch::takeTypingFrom(QWidget* widget) {
    widget->installEventFilter(this);
}

void TQuickSearch::refresh() {
    popup->clear();
    const QString sql =
        QuickSql::matches(text(), Shared->modFilter(), DM->Database->nameIndex, Shown);
    if (sql.isEmpty()) {
        popup->hide();
        return;
    }
    if (!query) query = std::make_unique<TQuery>(*DM->Database, QStringLiteral("QQuick"));
    query->setText({sql});
    query->open();
    QList<QTreeWidgetItem*> items;
    for (; !query->eof(); query->next()) {
        auto* item = new QTreeWidgetItem(QStringList{
            query->asString(QStringLiteral("N")), query->asString(QStringLiteral("Name")),
            query->asString(QStringLiteral("MODName")),
            query->asString(QStringLiteral("Drawings")) +
                (query->asBoolean(QStringLiteral("MoreDrawings")) ? QStringLiteral("+")
                                                                  : QString())});
        item->setData(NumberColumn, KeyRole, query->asString(QStringLiteral("N_f")));
        item->setData(NumberColumn, ModifRole, query->asInteger(QStringLiteral("modif")));
        item->setData(NumberColumn, WeightRole, query->asString(QStringLiteral("V")));
        item->setTextAlignment(DrawingsColumn, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    query->close();
    popup->addTopLevelItems(items);
    if (items.isEmpty()) {
        popup->hide();
        return;
    }
    popup->setCurrentItem(items.first());
    showList();
}

void TQuickSearch::showList() {
    for (int c = 0; c < popup->columnCount(); ++c)
        popup->resizeColumnToContents(c);
    int width = 8;
    for (int c = 0; c < popup->columnCount(); ++c)
        width += popup->columnWidth(c);
    const int rows = popup->topLevelItemCount();
    const int height = popup->header()->sizeHint().height() + rows * popup->sizeHintForRow(0) +
                       2 * popup->frameWidth() + 2;
    popup->setGeometry(QRect(mapToGlobal(QPoint(0, this->height())), QSize(width, height)));
    if (!popup->isVisible()) popup->show();
}

namespace {

QTreeWidgetItem* chosen(QTreeWidget* list) {
    if (list->currentItem()) return list->currentItem();
    return list->topLevelItem(0);
}

} // namespace

void TQuickSearch::openChosen() {
    QTreeWidgetItem* item = chosen(popup);
    if (!item) return;
    popup->hide();
    face.showPartOn(item->data(NumberColumn, KeyRole).toString(),
                    item->data(NumberColumn, ModifRole).toInt(), 0, 0);
}

void TQuickSearch::orderChosen() {
    QTreeWidgetItem* item = chosen(popup);
    if (!item) return;
    popup->hide();
    face.orderPart(item->text(NumberColumn), item->text(NameColumn),
                   item->data(NumberColumn, WeightRole).toString());
}

TQuickSearch::KeyUse TQuickSearch::listKey(QKeyEvent* e) {
    if (enterKey(e)) {
        ErrorDisplay::guard([&] {
            if (popup->topLevelItemCount() == 0) refresh();
            if (e->modifiers() & Qt::AltModifier)
                orderChosen();
            else
                openChosen();
        });
        return KeyUse::Taken;
    }
    if (!popup->isVisible()) {
        if (e->key() != Qt::Key_Down) return KeyUse::Typing;
        ErrorDisplay::guard([&] { refresh(); });
        return KeyUse::Taken;
    }
    switch (e->key()) {
    case Qt::Key_Escape:
        popup->hide();
        return KeyUse::Taken;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return KeyUse::Moving;
    default:
        return KeyUse::Typing;
    }
}

void TQuickSearch::keyPressEvent(QKeyEvent* event) {
    switch (listKey(event)) {
    case KeyUse::Taken:
        return;
    case KeyUse::Moving:
        QCoreApplication::sendEvent(popup, event);
        return;
    case KeyUse::Typing:
        QLineEdit::keyPressEvent(event);
    }
}

bool TQuickSearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QLineEdit::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == popup) {
        // The list takes the keyboard while it is shown: moving keys stay with it, Enter and
        // Escape act, and everything else is typing that goes on in the box.
        switch (listKey(key)) {
        case KeyUse::Taken:
            return true;
        case KeyUse::Moving:
            return false;
        case KeyUse::Typing:
            QLineEdit::keyPressEvent(key);
            return true;
        }
    }
    // Typing on the drawing: a letter or digit starts a search with it (other keys, + and -
    // among them, keep their meaning there).
    const QString typed = key->text();
    if (typed.isEmpty() || !typed.at(0).isLetterOrNumber() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    setFocus(Qt::ShortcutFocusReason);
    setText(typed);
    ErrorDisplay::guard([&] { refresh(); });
    return true;
}
