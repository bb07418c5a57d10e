// Back and forward through the drawings looked at, the recent drawings in the menu (kept in
// the settings), and the mouse's back and forward buttons and wheel over the drawing.
#include "app/mainform.h"

#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

namespace {

const QString RecentKey = QStringLiteral("RecentDrawings");

} // namespace

void TmainForm::createNavigationItems() {
    sbBack =
        new QAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"), this);
    sbBack->setObjectName(QStringLiteral("sbBack"));
    sbBack->setToolTip(QStringLiteral("Назад к просмотренному рисунку (Alt+Влево)"));
    sbBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    sbForward =
        new QAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Вперед"), this);
    sbForward->setObjectName(QStringLiteral("sbForward"));
    sbForward->setToolTip(QStringLiteral("Вперед к просмотренному рисунку (Alt+Вправо)"));
    sbForward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    ToolBar->addAction(sbBack);
    ToolBar->addAction(sbForward);

    menuRecent = menuWindow->addMenu(QStringLiteral("&Недавние рисунки"));
    menuRecent->setObjectName(QStringLiteral("menuRecent"));
    // Filled when opened: a modification hidden meanwhile disables its drawings.
    connect(menuRecent, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });

    sbZoomPlus->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                              QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)});
    sbZoomMinus->setShortcuts(
        {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)});

    ErrorDisplay::connect(sbBack, &QAction::triggered, this, [this] { sbBackClick(); });
    ErrorDisplay::connect(sbForward, &QAction::triggered, this, [this] { sbForwardClick(); });
    // The mouse's own buttons and the wheel reach whichever widget is under the pointer.
    qApp->installEventFilter(this);
    updateHistoryItems();
}

void TmainForm::loadRecentDrawings() {
    History.recentFromSettings(dm->settings().value(RecentKey).toStringList());
    fillRecentMenu();
}

bool TmainForm::usableDrawing(const DrawingRef& ref) const {
    return Shared->modifVisible(ref.modif) && ref.pic >= 1 && ref.pic <= lastPicOf(ref.modif);
}

void TmainForm::updateHistoryItems() {
    const auto usable = [this](const DrawingRef& r) { return usableDrawing(r); };
    sbBack->setEnabled(History.canBack(usable));
    sbForward->setEnabled(History.canForward(usable));
}

void TmainForm::recordShown() {
    if (CurrentPic <= 0) return;
    const DrawingRef ref{CurrentModif, CurrentPic,
                         lbMOD->text() + QStringLiteral(": ") + lbPicName->text()};
    if (Revisiting)
        History.remember(ref);
    else
        History.visit(ref);
    if (dm) dm->settings().setValue(RecentKey, History.recentToSettings());
    updateHistoryItems();
}

void TmainForm::fillRecentMenu() {
    menuRecent->clear();
    const QVector<DrawingRef>& recent = History.recent();
    for (int i = 0; i < recent.size(); ++i) {
        QAction* a = menuRecent->addAction(recent[i].title);
        a->setObjectName(QStringLiteral("recent%1").arg(i));
        const bool usable = usableDrawing(recent[i]);
        a->setEnabled(usable);
        if (!usable) a->setToolTip(QStringLiteral("Модификация рисунка скрыта в настройках"));
        ErrorDisplay::connect(a, &QAction::triggered, this,
                              [this, ref = recent[i]] { openRecent(ref); });
    }
    menuRecent->setEnabled(!recent.isEmpty());
}

void TmainForm::showDrawing(const DrawingRef& ref) {
    // The panel first, without the drawing panel's button handler: coming from the result
    // table it would open the found part's drawing instead.
    if (panelPic->isHidden()) {
        switchTo(Panel::Pic);
        sbPic->setChecked(true);
    }
    LabelVisible(false);
    sbNextItem->setEnabled(false);
    sbPredItem->setEnabled(false);
    CurrentPic = ref.pic;
    CurrentModif = ref.modif;
    LoadNewImage();
}

void TmainForm::revisit(bool backwards) {
    const int from = History.position();
    const auto usable = [this](const DrawingRef& r) { return usableDrawing(r); };
    const auto to = backwards ? History.back(usable) : History.forward(usable);
    if (!to) {
        updateHistoryItems();
        return;
    }
    Revisiting = true;
    try {
        showDrawing(*to);
    } catch (...) {
        // The drawing could not be shown: the trail stays where the drawing shown is.
        Revisiting = false;
        History.setPosition(from);
        updateHistoryItems();
        throw;
    }
    Revisiting = false;
}

void TmainForm::sbBackClick() {
    revisit(true);
}

void TmainForm::sbForwardClick() {
    revisit(false);
}

void TmainForm::openRecent(const DrawingRef& ref) {
    if (!usableDrawing(ref)) return;
    // Chosen from the menu, the drawing is a visit of its own: it goes on the trail.
    showDrawing(ref);
}

bool TmainForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::Wheel) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    if (type == QEvent::MouseButtonPress) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        QAction* item = button == Qt::BackButton      ? sbBack
                        : button == Qt::ForwardButton ? sbForward
                                                      : nullptr;
        if (!item) return false;
        if (item->isEnabled()) item->trigger();
        return true;
    }
    auto* wheel = static_cast<QWheelEvent*>(event);
    QWidget* viewport = ScrollBox->viewport();
    if (!(wheel->modifiers() & Qt::ControlModifier) ||
        (w != viewport && !viewport->isAncestorOf(w)))
        return false;
    const int delta = wheel->angleDelta().y();
    if (delta != 0 && CurrentPic > 0)
        ErrorDisplay::guard(
            [&] { wheelZoom(w->mapTo(viewport, wheel->position().toPoint()), delta / 120.0); });
    return true;
}
