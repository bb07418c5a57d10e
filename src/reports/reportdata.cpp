#include "reports/reportdata.h"

#include <QSettings>

namespace ReportData {

QStringList copyPrice(const QString& field) {
    return {QStringLiteral("update Order_"), QStringLiteral("set PriceToReport=[%1]").arg(field)};
}

int storedPosition(const QSettings& settings, const QString& key) {
    bool ok = false;
    const int p = settings.value(key).toString().trimmed().toInt(&ok);
    return ok ? p : 0;
}

int entryFor(int position, int count) {
    return position >= 0 && position < count ? position : -1;
}

} // namespace ReportData
