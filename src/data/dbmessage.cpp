#include "data/dbmessage.h"

#include <QSqlError>
#include <sqlite3.h>

namespace DbMessage {

namespace {

// SQLite's result code, from the driver's code or, where the driver gave none, its words.
int primaryCode(int code, const QString& text) {
    if (code > 0) return code & 0xff;
    const struct {
        const char* words;
        int code;
    } known[] = {{"database is locked", SQLITE_BUSY},
                 {"database table is locked", SQLITE_LOCKED},
                 {"attempt to write a readonly database", SQLITE_READONLY},
                 {"file is not a database", SQLITE_NOTADB},
                 {"database disk image is malformed", SQLITE_CORRUPT},
                 {"unable to open database file", SQLITE_CANTOPEN},
                 {"disk I/O error", SQLITE_IOERR},
                 {"database or disk is full", SQLITE_FULL}};
    for (const auto& k : known)
        if (text.contains(QLatin1String(k.words), Qt::CaseInsensitive)) return k.code;
    return 0;
}

QString withOriginal(const QString& russian, const QString& sqliteText) {
    if (sqliteText.isEmpty()) return russian;
    return russian + QStringLiteral("\n\nСообщение SQLite: ") + sqliteText;
}

} // namespace

QString readOnly(const QString& path) {
    return QStringLiteral("Каталог %1 открыт только для чтения (файл, папка или носитель "
                          "защищены от записи). Изменения в нём сохранить нельзя.")
        .arg(path);
}

void raise(const QString& path, int code, const QString& sqliteText) {
    switch (primaryCode(code, sqliteText)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw BusyError(withOriginal(
            QStringLiteral("Каталог %1 занят другой программой, которая сейчас изменяет его. "
                           "Повторите действие немного позже.")
                .arg(path),
            sqliteText));
    case SQLITE_READONLY:
        throw ReadOnlyError(withOriginal(readOnly(path), sqliteText));
    case SQLITE_NOTADB:
        throw DbError(withOriginal(
            QStringLiteral("Файл %1 не является базой данных каталога или повреждён.").arg(path),
            sqliteText));
    case SQLITE_CORRUPT:
        throw DbError(withOriginal(
            QStringLiteral("Файл каталога %1 повреждён. Восстановите его из резервной копии.")
                .arg(path),
            sqliteText));
    case SQLITE_CANTOPEN:
        throw DbError(withOriginal(
            QStringLiteral("Не удалось открыть файл каталога %1 или создать рядом с ним "
                           "служебный файл.")
                .arg(path),
            sqliteText));
    case SQLITE_IOERR:
        throw DbError(withOriginal(
            QStringLiteral("Ошибка чтения или записи файла каталога %1.").arg(path), sqliteText));
    case SQLITE_FULL:
        throw DbError(withOriginal(
            QStringLiteral("Недостаточно места на диске для файла каталога %1.").arg(path),
            sqliteText));
    default:
        throw DbError(sqliteText);
    }
}

void raise(const QString& path, const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    raise(path, ok ? code : 0, text);
}

} // namespace DbMessage
