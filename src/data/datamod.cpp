#include "data/datamod.h"

#include "data/catalogcheck.h"
#include "data/dberror.h"
#include "data/dialect.h"
#include "data/schema.h"
#include "data/textfmt.h"

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
    while (since.elapsed() < 10)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    running = false;
}

} // namespace

std::unique_ptr<Connection> TDM::openCatalogue(const QString& workDir,
                                               const NameIndex::Progress& progress) {
    const QString path = QDir(workDir).absoluteFilePath(databaseFileName());
    if (!QFileInfo::exists(path)) throw FileError(QStringLiteral("Файл %1 не найден").arg(path));
    if (!Connection::isSqliteFile(path))
        throw FileError(
            QStringLiteral("Файл %1 не является базой данных каталога: программа работает с "
                           "базой данных в формате SQLite, а этот файл имеет другой формат или "
                           "повреждён.")
                .arg(path));
    auto db = std::make_unique<Connection>(path);
    const QStringList missing = Schema::missingTables(*db);
    if (!missing.isEmpty())
        throw FileError(QStringLiteral("Файл %1 не является базой данных каталога: в нём нет "
                                       "таблиц %2.")
                            .arg(path, missing.join(QStringLiteral(", "))));
    CatalogCheck::verify(*db);
    Schema::addMissingIndexes(*db);
    db->nameIndex = NameIndex::ensure(*db, progress);
    return db;
}

TDM::TDM(const QString& workDir, const NameIndex::Progress& progress, QObject* parent)
    : QObject(parent), Database(openCatalogue(workDir, progress)) {
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
    // A search may find tens of thousands of rows: the first screens are shown at once, the
    // rest is read while the user looks at them.
    QFind.setIncremental(FoundFirstRows);

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
    QHistory.addField({"QHistoryDate_", "Date_", Fmt::DateFormat});
    QHistoryItogo.addField({"QHistoryItogoOB_VES", "OB_VES", weight});
    QOrderAll.addField({"QOrderAllV", "V", weight});
}

namespace {

constexpr int BlockSize = 10;

// The fields of one price column's block, in block order: query, component and field name.
std::vector<std::pair<TQuery*, TField>> priceBlock(TDM& dm, const QString& f) {
    const QString nds = f + QStringLiteral("NDS");
    const QString ob = QStringLiteral("OB_") + f;
    const QString obNds = ob + QStringLiteral("NDS");
    const QString format = QStringLiteral("0.00");
    auto field = [&](TQuery& q, const QString& name) {
        return std::pair<TQuery*, TField>(&q, {q.objectNameText() + name, name, format});
    };
    return {field(dm.QFind, f),          field(dm.QOrder, f),
            field(dm.QOrder, nds),       field(dm.QItogo, ob),
            field(dm.QItogo, obNds),     field(dm.QOrderAll, f),
            field(dm.QHistory, f),       field(dm.QHistory, nds),
            field(dm.QHistoryItogo, ob), field(dm.QHistoryItogo, obNds)};
}

} // namespace

std::vector<TDM::PriceColumn> TDM::priceColumns() {
    TQuery& q = QPriceFields;
    q.setText({QStringLiteral("select * from PriceFields")});
    q.open();
    std::vector<PriceColumn> columns;
    for (; !q.eof(); q.next())
        columns.push_back({q.asString(QStringLiteral("FieldName")),
                           q.asString(QStringLiteral("Name")),
                           q.asBoolean(QStringLiteral("Visible"))});
    q.close();
    return columns;
}

void TDM::NewField(const QString& F) {
    for (const auto& [query, field] : priceBlock(*this, F)) {
        query->addField(field);
        PriceDisplayFields.push_back({query, field.componentName});
    }
}

void TDM::DelField(const QString& F) {
    const QString first = QFind.objectNameText() + F;
    size_t block = PriceDisplayFields.size();
    for (size_t i = 0; i < PriceDisplayFields.size(); i += BlockSize)
        if (PriceDisplayFields[i].componentName.compare(first, Qt::CaseInsensitive) == 0) block = i;
    if (block == PriceDisplayFields.size()) return;

    const size_t last = PriceDisplayFields.size() - BlockSize;
    const QString lastColumn =
        PriceDisplayFields[last].componentName.mid(QFind.objectNameText().size());
    for (size_t i = last; i < PriceDisplayFields.size(); ++i)
        PriceDisplayFields[i].query->removeField(PriceDisplayFields[i].componentName);
    PriceDisplayFields.resize(last);
    if (block == last) return;
    const auto renamed = priceBlock(*this, lastColumn);
    for (size_t i = 0; i < size_t(BlockSize); ++i) {
        PriceDisplayField& d = PriceDisplayFields[block + i];
        d.query->renameField(d.componentName, renamed[i].second);
        d.componentName = renamed[i].second.componentName;
    }
}
