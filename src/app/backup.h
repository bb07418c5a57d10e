#pragma once

class QAction;
class QMenu;
class QWidget;

// "Файл → Резервная копия...": writes a consistent copy of the open catalogue to a file the
// user chooses. The copy is an ordinary catalogue file; put in the place of base.mdb (with the
// program closed) it restores the catalogue.
namespace Backup {

// Adds the command to the File menu before the item `before`.
QAction* addCommand(QWidget* window, QMenu* menuFile, QAction* before);

// The command: asks for the file through the save dialog, writes the copy, says where it is.
void run(QWidget* parent);

} // namespace Backup
