#include "data/textfmt.h"

#include <QLocale>
#include <cmath>

namespace Fmt {

void installLocale() {
    QLocale russian(QLocale::Russian, QLocale::Russia);
    russian.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(russian);
}

double nearest(double x) {
    // nearbyint follows the current rounding mode, which is round-half-even by default.
    return std::nearbyint(x);
}

QString floatToStr(double value) {
    return QLocale().toString(value, 'g', 15);
}

QString formatFloat(const QString& displayFormat, double value) {
    const int dot = displayFormat.indexOf(QLatin1Char('.'));
    if (displayFormat.isEmpty()) return floatToStr(value);
    const int decimals = dot < 0 ? 0 : int(displayFormat.size()) - dot - 1;
    return QLocale().toString(value, 'f', decimals);
}

QString dateToStr(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QDate strToDate(const QString& text) {
    return QDate::fromString(text.trimmed(), QStringLiteral("dd.MM.yyyy"));
}

} // namespace Fmt

QString TodayStr(const QDate& day) {
    auto twoDigits = [](int n) {
        return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
    };
    const int year = day.year();
    QString yearText = QString::number(year);
    if (year < 100)
        yearText = (year >= 50 ? QStringLiteral("19") : QStringLiteral("20")) + twoDigits(year);
    return twoDigits(day.day()) + QLatin1Char('.') + twoDigits(day.month()) + QLatin1Char('.') +
           yearText;
}
