#include "platform/desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <QWindow>

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

QMargins windowFrame(Qt::WindowFlags flags) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return {};
    QWidget probe(nullptr, flags);
    probe.setWindowOpacity(0);
    probe.setFixedSize(120, 40);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        probe.move(s->availableGeometry().topLeft());
    probe.show();
    // The frame is known once the window manager has mapped the window; a second at most.
    QElapsedTimer waited;
    waited.start();
    while (!probe.windowHandle()->isExposed() && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const QMargins frame = probe.windowHandle()->frameMargins();
    probe.hide();
    return frame;
}

} // namespace Desktop
