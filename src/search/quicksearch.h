#pragma once

#include <QLineEdit>
#include <memory>

class QTreeWidget;
class TMainFace;
class TQuery;

// The quick search box of the toolbar: as the user types a number (in any written form) or a
// word of a name, a list drops down with the best matches. Enter or a click opens the chosen
// part on its first drawing; Alt+Enter puts it into the basket. It acts through the main face.
class TQuickSearch : public QLineEdit {
    Q_OBJECT
public:
    explicit TQuickSearch(TMainFace& face, QWidget* parent = nullptr);
    ~TQuickSearch() override;

    // A letter or digit typed on this widget (the drawing) starts a quick search with it.
    void takeTypingFrom(QWidget* widget);

    // The list of matches under the box.
    QTreeWidget* list() const { return popup; }
    enum Column { NumberColumn, NameColumn, ModificationColumn, DrawingsColumn };
    enum ItemData { KeyRole = Qt::UserRole, ModifRole, WeightRole };

    // Runs the search for the text now in the box and shows the list (hides it when empty).
    void refresh();
    // The chosen row (the current one, else the first) opened or put into the basket.
    void openChosen();
    void orderChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What a key means to the box and its list: acted on here, moving in the list, or typing.
    enum class KeyUse { Taken, Moving, Typing };
    KeyUse listKey(QKeyEvent* event);
    void showList();

    TMainFace& face;
    QTreeWidget* popup;
    std::unique_ptr<TQuery> query;
};
