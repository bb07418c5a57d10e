#include "app/widgets.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>

TShape::TShape(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QColor(0, 0, 128));
    p.setBrush(QColor(206, 206, 217));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

QToolButton* makeFlatButton(QWidget* parent, const QString& name, const QString& caption,
                            const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

void placeOnShape(QToolButton* button, TShape* shape, const QRect& bounds) {
    shape->setGeometry(bounds);
    button->setGeometry(bounds);
    shape->lower();
    button->raise();
}

void showWithShape(QToolButton* button, TShape* shape, bool shown) {
    button->setVisible(shown);
    shape->setVisible(shown);
}

QFrame* makeBevel(QWidget* parent, const QString& name) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, bool bold) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    l->adjustSize();
    return l;
}

QFont windowFont() {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(8);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

void raiseTopmostWindows(QWidget* except) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != except && w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint))
            w->raise();
}
