#include "data/catalogfile.h"

#include "data/connection.h"
#include "data/dberror.h"
#include "data/sql.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QVariant>
#include <sqlite3.h>
#include <unistd.h>

namespace CatalogFile {

bool writable(const QString& path) {
    const QFileInfo info(path);
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    const QByteArray dir = QFile::encodeName(info.absolutePath());
    return ::access(dir.constData(), W_OK) == 0 &&
           (!info.exists() || ::access(file.constData(), W_OK) == 0);
}

bool readOnly(Connection& db) {
    const QVariant handle = db.database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
    sqlite3* raw = *static_cast<sqlite3* const*>(handle.data());
    return sqlite3_db_readonly(raw, "main") == 1;
}

void backup(Connection& db, const QString& target) {
    // VACUUM INTO writes a new file from one read transaction; a half-written copy never takes
    // the place of an older one.
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    try {
        db.exec(QStringLiteral("vacuum into ") + Sql::quote(part));
    } catch (const CatalogError& e) {
        QFile::remove(part);
        throw FileError(
            QStringLiteral("Не удалось записать резервную копию каталога в файл %1.\n\n%2")
                .arg(target, e.message()));
    }
    QFile::remove(target);
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        throw FileError(QStringLiteral("Не удалось записать файл %1").arg(target));
    }
}

} // namespace CatalogFile
