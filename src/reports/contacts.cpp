#include "reports/contacts.h"

#include "data/dberror.h"

namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char(' ');
}

} // namespace

QString PackContacts(const QString& typed, const QString& field) {
    QString stored;
    QString entry;
    bool pending = false;
    auto endEntry = [&] {
        if (entry.contains(QLatin1Char('#'))) {
            const QString where =
                field.isEmpty() ? QString() : QStringLiteral(" в поле «%1»").arg(field);
            throw CatalogError(QStringLiteral("Запись «%1»%2 содержит знак «#», которым "
                                              "разделяются записи. Уберите его из записи.")
                                   .arg(entry, where));
        }
        entry.clear();
    };
    for (const QChar c : typed) {
        if (isSeparator(c)) {
            if (!stored.isEmpty()) pending = true;
            endEntry();
            continue;
        }
        if (pending) stored += QLatin1Char('#');
        pending = false;
        stored += c;
        entry += c;
    }
    endEntry();
    if (pending) stored += QLatin1Char('#');
    return stored;
}

QString UnpackContacts(const QString& stored) {
    QString shown = stored;
    return shown.replace(QLatin1Char('#'), QStringLiteral(", "));
}
