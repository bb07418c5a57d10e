#pragma once

#include <QDate>
#include <QString>

// How numbers and dates become text throughout the program.
namespace Fmt {

// Sets the process-wide locale: Russian, decimal separator ",", no digit grouping.
void installLocale();

// x rounded to the nearest integer, halves to the even neighbour.
double nearest(double x);
// The same as an int, for pixel sizes.
inline int nearestInt(double x) {
    return int(nearest(x));
}

// Shortest general form (up to 15 significant digits, no trailing zeros) with the locale's
// decimal separator.
QString floatToStr(double value);

// A display format "0.00", "0.000" (fixed decimals); an empty format gives floatToStr.
QString formatFloat(const QString& displayFormat, double value);

// Dates as the user sees and types them: dd.mm.yyyy. As a display format it shows a date column
// (stored as yyyy-mm-dd) in that form.
inline const QString DateFormat = QStringLiteral("dd.mm.yyyy");
QString dateToStr(const QDate& date);
QDate strToDate(const QString& text); // invalid QDate when malformed

} // namespace Fmt

// Today (or the given day) as dd.mm.yyyy, built by hand with leading zeros on day and month.
QString TodayStr(const QDate& day = QDate::currentDate());
