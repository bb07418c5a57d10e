#pragma once

#include <QMargins>
#include <QString>
#include <functional>

// Opening a file with the desktop's own handler (the help file). Tests replace the opener.
namespace Desktop {

using Opener = std::function<bool(const QString& path)>;
void setOpener(Opener opener);

// True when the desktop accepted the file.
bool openFile(const QString& path);

// The frame (title bar and borders) that the window manager puts round a top-level window
// with these flags: measured on a small window shown for a moment, since a window manager
// tells it only for a window on the screen. None where windows get no frame (offscreen).
QMargins windowFrame(Qt::WindowFlags flags);

} // namespace Desktop
