#pragma once

#include <QString>

class QDialog;
class QPushButton;
class QWidget;

// What every dialog of the program shares.

// Names the dialog, sets its caption and the window font.
void setupDialog(QDialog* dialog, const QString& name, const QString& caption);

// Fixes the dialog's size and puts it in the middle of the primary screen.
void fixAndCentre(QDialog* dialog, int width, int height);

// Puts a window in the middle of the primary screen.
void centreOnScreen(QWidget* window);

// The standard dialog button, 75 x 25. No button is the default one: Enter belongs to the
// inputs, which act on its release.
QPushButton* makeDialogButton(QWidget* parent, const QString& name, const QString& caption);
