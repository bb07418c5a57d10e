#pragma once

#include <QString>

class Connection;

// The catalogue file beside its connection: whether it can be written, how long a statement
// waits for another program's lock, and the consistent copy for backups.
namespace CatalogFile {

// How long a statement waits for another program's lock before it fails with BusyError:
// short, so that a click on a locked catalogue answers at once.
inline constexpr int BusyTimeoutMs = 250;

// Whether the file at path and its folder can be written (the rollback journal is made beside
// the file). A catalogue that cannot be is opened for reading only.
bool writable(const QString& path);

// Whether the connection was opened for reading only; its writes fail with ReadOnlyError.
bool readOnly(Connection& db);

// Writes a consistent copy of the catalogue to target (replacing a file there). The catalogue
// itself is only read, so this works on a read-only one too. Throws FileError.
void backup(Connection& db, const QString& target);

} // namespace CatalogFile
