#include "app/catalogapp.h"

#include "data/dberror.h"
#include "data/textfmt.h"
#include "platform/errordisplay.h"

CatalogApplication::CatalogApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setUpProcess();
}

void CatalogApplication::setUpProcess() {
    QApplication::setApplicationName(QStringLiteral("Каталог деталей и сборочных единиц: Трактор М-315.04"));
    QApplication::setApplicationDisplayName(
        QStringLiteral("Каталог деталей и сборочных единиц: Трактор М-315.04"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    Fmt::installLocale();
}

bool CatalogApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const CatalogError& e) {
        ErrorDisplay::show(e.message());
    } catch (const std::exception& e) {
        ErrorDisplay::show(QString::fromUtf8(e.what()));
    }
    return false;
}
