#include "data/datamod.h"

#include "data/dberror.h"
#include "data/dialect.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

TDM* DM = nullptr;

namespace {

// Lets pending window messages through for at least 10 ms, so that what start-up has shown so
// far gets painted. A nested call only restarts the running wait.
void yieldMessages() {
    static bool running = false;
    static QElapsedTimer since;
    since.start();
    if (running) return;
    running = true;
    while (since.elapsed() < 10) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    running = false;
}

} // namespace

std::unique_ptr<Connection> TDM::openCatalogue(const QString& workDir) {
    const QString path = QDir(workDir).absoluteFilePath(databaseFileName());
    if (!QFileInfo::exists(path)) throw FileError(QStringLiteral("Файл %1 не найден").arg(path));
    if (!Connection::isSqliteFile(path))
        throw FileError(QStringLiteral(
                            "Файл %1 не является базой данных каталога: программа работает с "
                            "базой данных в формате SQLite, а этот файл имеет другой формат или "
                            "повреждён.")
                            .arg(path));
    auto db = std::make_unique<Connection>(path);
    const QStringList missing = Schema::missingTables(*db);
    if (!missing.isEmpty())
        throw FileError(QStringLiteral("Файл %1 не является базой данных каталога: в нём нет "
                                       "таблиц %2.")
                            .arg(path, missing.join(QStringLiteral(", "))));
    return db;
}

TDM::TDM(const QString& workDir, QObject* parent)
    : QObject(parent), Database(openCatalogue(workDir)) {
    yieldMessages();
    AppDir = QDir(workDir).absolutePath() + QLatin1Char('/');
    PicDir = AppDir + QStringLiteral("PIC/");
    HelpFile = AppDir + QStringLiteral("catalog.html");
    Settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Catalog M-315.04"));
    Settings->sync();

    QOrder.add(QStringLiteral("select * from Order_"));
    // The totals' first text; the basket replaces it before it is opened.
    QItogo.setText({QStringLiteral("SELECT Sum(%1*%2) AS OB_VES, Sum([Price]*[K]) AS OB_PRICE, "
                                   "Sum([PriceNDS]*[K]) AS OB_PRICE_NDS, Sum([PriceZ]*[K]) AS "
                                   "OB_PRICE_Z, Sum([PriceZNDS]*[K]) AS OB_PRICE_Z_NDS")
                        .arg(Dialect::qualified("Order_", "V"), Dialect::qualified("Order_", "K")),
                    QStringLiteral("FROM Order_;")});
    QHistory.add(QStringLiteral("select * from History"));
    QOrderAll.add(QStringLiteral("select * from OrderAll"));
    Qstdrep.add(QStringLiteral("select * from stdrep"));
    Qssp.add(QStringLiteral("select * from SSP"));
    declareFields();

    // Closing the basket closes its totals.
    connect(&QOrder, &TQuery::afterClose, &QItogo, &TQuery::close);

    Qssp.open();
}

TDM::~TDM() = default;

void TDM::declareFields() {
    const QString weight = QStringLiteral("0.000");
    QFind.addField({"QFindV", "V", weight});
    QOrder.addField({"QOrderV", "V", weight});
    QItogo.addField({"QItogoOB_VES", "OB_VES", weight});
    QHistory.addField({"QHistoryV", "V", weight});
    QHistoryItogo.addField({"QHistoryItogoOB_VES", "OB_VES", weight});
    QOrderAll.addField({"QOrderAllV", "V", weight});
}
