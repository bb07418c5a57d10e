#include "app/dialogs.h"

#include "app/widgets.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QScreen>

void setupDialog(QDialog* dialog, const QString& name, const QString& caption) {
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    dialog->setFont(windowFont());
}

void fixAndCentre(QDialog* dialog, int width, int height) {
    dialog->setFixedSize(width, height);
    centreOnScreen(dialog);
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* s = QApplication::primaryScreen())
        window->move(s->geometry().center() - window->rect().center());
}

QPushButton* makeDialogButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setDefault(false);
    b->resize(75, 25);
    return b;
}
