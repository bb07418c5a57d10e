#include "app/catalogapp.h"

#include "app/widgets.h"

#include "data/textfmt.h"
#include "platform/errordisplay.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace {

// Hints stay up until the pointer leaves (Qt would hide them after some seconds).
class LongHints : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (w->toolTip().isEmpty()) return false;
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), w->toolTip(), w, QRect(),
                           1000000);
        return true;
    }
};

} // namespace

CatalogApplication::CatalogApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setUpProcess();
    installEventFilter(new LongHints(this));
}

void CatalogApplication::setUpProcess() {
    QApplication::setApplicationName(
        QStringLiteral("Каталог деталей и сборочных единиц: Трактор М-315.04"));
    // No display name: the platform would append it to every window's caption, and the
    // captions are the windows' own.
    QApplication::setApplicationVersion(QStringLiteral(CATALOG_VERSION));
    Fmt::installLocale();
    // The windows are laid out in pixels for an 8-point sans serif of Arial's widths; Liberation
    // Sans has those widths, DejaVu Sans (on every machine) is wider but readable.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
    QApplication::setFont(windowFont());
}

bool CatalogApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorDisplay::showCaught();
    }
    return false;
}
