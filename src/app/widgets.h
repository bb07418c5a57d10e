#pragma once

#include <QFrame>
#include <QRect>
#include <QToolButton>
#include <QWidget>
#include <utility>

class QLabel;

// The framed face behind a flat button: filled RGB(206,206,217) with a navy border.
class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget* parent, const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A child widget of the given kind with its object name (the name the program and the tests
// find it by); args go before the parent in its constructor.
template <typename W, typename... Args>
W* makeNamed(QWidget* parent, const QString& name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(name);
    return w;
}

// A control's right edge (left + width) and bottom (top + height), as the layouts measure.
inline int right(const QWidget* w) {
    return w->x() + w->width();
}
inline int bottom(const QWidget* w) {
    return w->y() + w->height();
}

// A flat button (no face of its own) with its caption and hint.
QToolButton* makeFlatButton(QWidget* parent, const QString& name, const QString& caption,
                            const QString& hint = QString());

// Puts a flat button and its shape on the same bounds, the button in front.
void placeOnShape(QToolButton* button, TShape* shape, const QRect& bounds);

// Shows or hides a flat button with its shape.
void showWithShape(QToolButton* button, TShape* shape, bool shown);

// A raised separator line, 3 pixels high.
QFrame* makeBevel(QWidget* parent, const QString& name);

// A caption or value label sized to its text.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, bool bold = false);

// The program's window font (8 pt sans).
QFont windowFont();

// Brings the application's windows that stay on top back to the top (when a dialog is
// activated, so that it does not hide them).
void raiseTopmostWindows(QWidget* except);
