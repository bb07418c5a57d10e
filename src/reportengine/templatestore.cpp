#include "reportengine/templatestore.h"

#include "data/connection.h"
#include "data/dialect.h"
#include "data/sql.h"
#include "reportengine/reportengine.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The statements that store one template; the text goes in as a UTF-8 blob literal.
QStringList statements(Connection& db, const QString& table, int index, const QString& text,
                       const QString& title) {
    // Loading compiles every expression, so a template that would fail to load is refused here.
    ReportEngine engine(db);
    engine.loadFromText(text, title);
    const ReportTemplate& t = engine.currentTemplate();
    const QString blob =
        QStringLiteral("X'") + QString::fromLatin1(text.toUtf8().toHex()) + QLatin1Char('\'');
    const QString where = QStringLiteral(" where ") + Dialect::IndexColumn + QStringLiteral(" = ") +
                          QString::number(index);
    if (table.compare(QLatin1String("app"), Qt::CaseInsensitive) == 0) {
        QSqlQuery q(db.database());
        q.exec(QStringLiteral("select count(*) from app") + where);
        if (!q.next() || q.value(0).toInt() == 0)
            throw TemplateError(
                QStringLiteral("%1: в таблице app нет строки %2.").arg(title).arg(index));
        return {QStringLiteral("update app set Template = ") + blob + where};
    }
    if (table.compare(QLatin1String("Reports"), Qt::CaseInsensitive) != 0)
        throw TemplateError(
            QStringLiteral("%1: шаблоны хранятся в таблицах Reports и app.").arg(title));
    return {QStringLiteral("delete from Reports") + where,
            QStringLiteral("insert into Reports (") + Dialect::IndexColumn +
                QStringLiteral(", Template, name) values (") + QString::number(index) +
                QStringLiteral(", ") + blob + QStringLiteral(", ") + Sql::quote(t.name) +
                QStringLiteral(")")};
}

} // namespace

void storeTemplate(Connection& db, const QString& table, int index, const QString& text) {
    db.execAll(statements(db, table, index, text,
                          QStringLiteral("Шаблон %1 таблицы %2").arg(index).arg(table)));
}

QStringList storeTemplateFiles(Connection& db, const QString& dir) {
    static const QRegularExpression name(QStringLiteral("^(Reports|app)-(\\d+)\\.txt$"));
    QStringList all, stored;
    const QStringList files =
        QDir(dir).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QRegularExpressionMatch m = name.match(file);
        if (!m.hasMatch()) continue;
        const QString path = QDir(dir).filePath(file);
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw FileError(
                QStringLiteral("Не удалось прочитать файл «%1»: %2").arg(path, f.errorString()));
        all += statements(db, m.captured(1), m.captured(2).toInt(), QString::fromUtf8(f.readAll()),
                          QStringLiteral("Файл «%1»").arg(path));
        stored << file;
    }
    db.execAll(all);
    return stored;
}
