#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <map>

struct sqlite3;

// The one connection to a catalogue file. Opening sets the journal and locking pragmas and
// registers the catalogue's own like, so every statement sees the same dialect.
class Connection {
public:
    // Opens path; throws FileError when it is not an SQLite file and DbError when SQLite
    // refuses it. A missing file is created only with create = true.
    explicit Connection(const QString& path, bool create = false);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase& database() { return db; }
    // SQLite's own handle of the same connection, for reading results without the driver's
    // copies.
    sqlite3* handle() const { return raw; }

    // Whether name searches may use the catalogue's index of part names (NameIndex).
    bool nameIndex = false;
    const QString& path() const { return file; }

    // Runs one statement that returns no rows; throws DbError with SQLite's message.
    void exec(const QString& sql);

    // Runs several statements in one transaction (all or none).
    void execAll(const QStringList& statements);

    // Whether the file starts with the SQLite header; the catalogue of other engines does not.
    static bool isSqliteFile(const QString& path);

    // A result read while the program is idle keeps its statement open between calls. Before
    // anything writes, such readers are read to their end: a statement must not read a table
    // that changes under it, and VACUUM refuses to run beside one. finish must not throw.
    void holdReader(const void* owner, std::function<void()> finish);
    void releaseReader(const void* owner);
    void finishReaders();

private:
    void configure();
    void release();

    QString file;
    QString name;
    QSqlDatabase db;
    sqlite3* raw = nullptr;
    std::map<const void*, std::function<void()>> readers;
};

// One transaction on a connection: committed by commit(), rolled back when left without it
// (a failed commit included). Failures are SQLite's, in the user's words.
class Transaction {
public:
    explicit Transaction(Connection& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& db;
    bool open = true;
};
