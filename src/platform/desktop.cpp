#include "platform/desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace Desktop {

namespace {
Opener& opener() {
    static Opener o;
    return o;
}
} // namespace

void setOpener(Opener o) {
    opener() = std::move(o);
}

bool openFile(const QString& path) {
    if (opener()) return opener()(path);
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace Desktop
