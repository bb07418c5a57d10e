#include "data/sql.h"

#include "data/dberror.h"

namespace Sql {

QString escape(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString quote(const QString& text) {
    return QLatin1Char('\'') + escape(text) + QLatin1Char('\'');
}

QString number(const QString& typed) {
    QString out = typed.trimmed();
    if (out.isEmpty()) return QStringLiteral("0");
    const int comma = out.indexOf(QLatin1Char(','));
    if (comma >= 0) out[comma] = QLatin1Char('.');
    // The value goes into the statement unquoted, so anything but a number is refused here.
    bool ok = false;
    out.toDouble(&ok);
    if (!ok) throw CatalogError(QStringLiteral("«%1» не является правильным числом").arg(typed));
    return out;
}

QString boolean(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace Sql
