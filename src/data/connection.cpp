#include "data/connection.h"

#include "data/catalogfile.h"
#include "data/dberror.h"
#include "data/dbmessage.h"
#include "data/dialect.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <sqlite3.h>

namespace {

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("catalog-%1").arg(++counter);
}

} // namespace

bool Connection::isSqliteFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    static const QByteArray header("SQLite format 3\0", 16);
    return f.read(16) == header;
}

Connection::Connection(const QString& path, bool create) : file(path), name(nextConnectionName()) {
    const QFileInfo info(path);
    if (!create) {
        if (!info.exists()) throw FileError(QStringLiteral("Файл %1 не найден").arg(path));
        // An empty file would be taken by SQLite as a new, empty database.
        if (!isSqliteFile(path))
            throw FileError(QStringLiteral("Файл %1 не является базой данных каталога").arg(path));
    }
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    if (!CatalogFile::writable(path)) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    try {
        configure();
    } catch (...) {
        release();
        throw;
    }
}

void Connection::configure() {
    if (!db.open()) DbMessage::raise(file, db.lastError());
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("Драйвер базы данных не предоставил соединение SQLite"));
    raw = *static_cast<sqlite3* const*>(handle.data());
    Dialect::registerFunctions(raw);
    exec(QStringLiteral("pragma busy_timeout=%1").arg(CatalogFile::BusyTimeoutMs));
    // 128 MB of pages kept between statements (SQLite's own default is 2 MB): a name search
    // over a large catalogue touches about 100 MB of it, and with less each search asks the
    // system for its pages again. The cache grows only as pages are read.
    exec(QStringLiteral("pragma cache_size=-131072"));
    // Statement journals and sorts in memory: in a long write transaction every statement that
    // fires a trigger keeps a journal of its own, and in a temporary file that cost a third of
    // a large price update.
    exec(QStringLiteral("pragma temp_store=memory"));
    // The first read tells whether the file is really a database (a damaged one fails here)
    // and whether another program holds it locked.
    exec(QStringLiteral("select count(*) from sqlite_master"));
    if (CatalogFile::readOnly(*this)) return;
    for (const QString& pragma : Dialect::durabilityPragmas())
        exec(pragma);
}

void Connection::release() {
    raw = nullptr;
    if (db.isValid()) db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

Connection::~Connection() {
    release();
}

void Connection::exec(const QString& sql) {
    finishReaders();
    QSqlQuery q(db);
    if (!q.exec(sql)) DbMessage::raise(file, q.lastError());
}

void Connection::execAll(const QStringList& statements) {
    Transaction t(*this);
    for (const QString& s : statements)
        exec(s);
    t.commit();
}

void Connection::holdReader(const void* owner, std::function<void()> finish) {
    readers[owner] = std::move(finish);
}

void Connection::releaseReader(const void* owner) {
    readers.erase(owner);
}

void Connection::finishReaders() {
    // Each reader releases itself as it finishes.
    while (!readers.empty()) {
        const auto first = readers.begin();
        const std::function<void()> finish = first->second;
        readers.erase(first);
        finish();
    }
}

Transaction::Transaction(Connection& connection) : db(connection) {
    db.finishReaders();
    if (!db.database().transaction()) DbMessage::raise(db.path(), db.database().lastError());
}

Transaction::~Transaction() {
    if (open) db.database().rollback();
}

void Transaction::commit() {
    if (!db.database().commit()) DbMessage::raise(db.path(), db.database().lastError());
    open = false;
}
