// Stores edited report templates into a catalogue:
//
//   loadtemplates <catalogue directory or base.mdb> [templates directory]
//
// Every file "Reports-<n>.txt" or "app-<n>.txt" of the templates directory (by default the
// templates/ folder of the sources) becomes template n of that table, all in one transaction.
#include "data/connection.h"
#include "data/dberror.h"
#include "reportengine/templatestore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: loadtemplates <catalogue directory or base.mdb> "
                             "[templates directory]\n");
        return 2;
    }
    QString base = args[1];
    if (QFileInfo(base).isDir()) base += QStringLiteral("/base.mdb");
    const QString dir = args.size() > 2 ? args[2] : QStringLiteral(CATALOG_TEMPLATES_DIR);
    try {
        if (!QFileInfo::exists(base))
            throw FileError(QStringLiteral("Файл «%1» не найден").arg(base));
        Connection db(base);
        const QStringList stored = storeTemplateFiles(db, dir);
        for (const QString& file : stored)
            std::printf("%s\n", qPrintable(file));
        std::printf("%lld templates stored in %s\n", static_cast<long long>(stored.size()),
                    qPrintable(base));
    } catch (const CatalogError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
