#pragma once

#include <QString>
#include <functional>

// Opening a file with the desktop's own handler (the help file). Tests replace the opener.
namespace Desktop {

using Opener = std::function<bool(const QString& path)>;
void setOpener(Opener opener);

// True when the desktop accepted the file.
bool openFile(const QString& path);

} // namespace Desktop
