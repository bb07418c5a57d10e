#pragma once

#include "app/dbgrid.h"

#include <QColor>
#include <QString>

class QDateEdit;
class QProgressBar;
class QScrollArea;
class QWidget;

// Pieces the content panels' layouts share.

// A scroll box without a frame.
QScrollArea* makeScrollBox(QWidget* parent, const QString& name);

// A date input in dd.mm.yyyy with a calendar, set to today.
QDateEdit* makeDatePicker(QWidget* parent, const QString& name);

// A progress gauge without text, hidden.
QProgressBar* makeGauge(QWidget* parent, const QString& name);

// A data grid on the panels' light yellow background.
template <typename Grid = TDBGrid> Grid* makeGrid(QWidget* parent, const QString& name) {
    auto* g = new Grid(parent, name);
    g->setBackground(QColor(255, 255, 231));
    return g;
}
