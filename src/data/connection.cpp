#include "data/connection.h"

#include "data/dberror.h"
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
    try {
        configure();
    } catch (...) {
        release();
        throw;
    }
}

void Connection::configure() {
    if (!db.open()) throw DbError(db.lastError().text());
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("Драйвер базы данных не предоставил соединение SQLite"));
    sqlite3* raw = *static_cast<sqlite3* const*>(handle.data());
    Dialect::registerFunctions(raw);
    // The first read tells whether the file is really a database (a damaged one fails here).
    exec(QStringLiteral("select count(*) from sqlite_master"));
    exec(QStringLiteral("pragma busy_timeout=5000"));
    exec(QStringLiteral("pragma journal_mode=WAL"));
    exec(QStringLiteral("pragma synchronous=NORMAL"));
}

void Connection::release() {
    if (db.isValid()) db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

Connection::~Connection() {
    release();
}

void Connection::exec(const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        const QSqlError e = q.lastError();
        throw DbError(e.databaseText().isEmpty() ? e.text() : e.databaseText());
    }
}

void Connection::execAll(const QStringList& statements) {
    if (!db.transaction()) throw DbError(db.lastError().text());
    try {
        for (const QString& s : statements)
            exec(s);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) throw DbError(db.lastError().text());
}
