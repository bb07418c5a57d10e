#pragma once

#include "data/dberror.h"

#include <QString>

class Connection;
class QSqlError;

// A write to a catalogue that cannot be written (read-only file, folder or medium).
class ReadOnlyError : public DbError {
public:
    using DbError::DbError;
};

// The catalogue is locked by another program for longer than the program waits.
class BusyError : public DbError {
public:
    using DbError::DbError;
};

namespace DbMessage {

// What the user reads when the catalogue at path is read-only and a command tries to write.
QString readOnly(const QString& path);

// Throws SQLite's error as the error the user reads: the common failures in plain Russian
// with the file's path, SQLite's own words after them for support. A lock is a BusyError, a
// write to a read-only catalogue a ReadOnlyError, anything else a DbError.
[[noreturn]] void raise(const QString& path, int code, const QString& sqliteText);
[[noreturn]] void raise(const QString& path, const QSqlError& error);

} // namespace DbMessage
