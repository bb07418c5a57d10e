#include "reports/suminwords.h"

#include <cmath>

namespace {

// Every word carries its trailing space; the unit names do not.
const char* const unitNames[3][3] = {{"рубль", "рубля", "рублей"},
                                     {"наименование", "наименования", "наименований"},
                                     {"килограмм", "килограмма", "килограмм"}};
const char* const kindOne[3] = {"один ", "одно ", "один "};
const char* const masculine[10] = {"",      "один ",  "два ",  "три ",    "четыре ",
                                   "пять ", "шесть ", "семь ", "восемь ", "девять "};
const char* const feminine[10] = {"",      "одна ",  "две ",  "три ",    "четыре ",
                                  "пять ", "шесть ", "семь ", "восемь ", "девять "};
const char* const teens[10] = {"десять ",       "одиннадцать ", "двенадцать ",  "тринадцать ",
                               "четырнадцать ", "пятнадцать ",  "шестнадцать ", "семнадцать ",
                               "восемнадцать ", "девятнадцать "};
const char* const tens[10] = {"",
                              "",
                              "двадцать ",
                              "тридцать ",
                              "сорок ",
                              "пятьдесят ",
                              "шестьдесят ",
                              "семьдесят ",
                              "восемьдесят ",
                              "девяносто "};
const char* const hundreds[10] = {"",         "сто ",      "двести ",  "триста ",    "четыреста ",
                                  "пятьсот ", "шестьсот ", "семьсот ", "восемьсот ", "девятьсот "};
const char* const scales[4][3] = {{"триллион ", "триллиона ", "триллионов "},
                                  {"миллиард ", "миллиарда ", "миллиардов "},
                                  {"миллион ", "миллиона ", "миллионов "},
                                  {"тысяча ", "тысячи ", "тысяч "}};

// 0: the form for one, 1: for two to four, 2: for many.
int form(long long n) {
    const long long r = n % 100;
    if (r >= 10 && r <= 19) return 2;
    const long long last = r % 10;
    if (last == 1) return 0;
    if (last >= 2 && last <= 4) return 1;
    return 2;
}

// n in 0..999; one is the word the units table gives for 1.
QString triad(long long n, const char* const units[10], const char* one) {
    QString text = QString::fromUtf8(hundreds[n / 100]);
    const long long r = n % 100;
    if (r >= 10 && r <= 19) return text + QString::fromUtf8(teens[r - 10]);
    text += QString::fromUtf8(tens[r / 10]);
    text += QString::fromUtf8(r % 10 == 1 ? one : units[r % 10]);
    return text;
}

} // namespace

QString SumInWords(int kind, double amount) {
    if (kind < 0 || kind > 2) kind = 0;
    long double x = amount;
    if (std::isnan(x) || x < 0 || x >= 1e15L) return QStringLiteral("0.00");

    long double f = x - std::floor(x);
    // Within 0.006 below the next whole unit counts as that unit with no kopecks. The bound is
    // the double 0.994, so an amount typed as 0.994 stays below it.
    if (f > static_cast<long double>(0.994)) {
        x += 1;
        f = 0;
    }
    const long long kop = std::llrint(f * 100); // halves to even in the default rounding mode
    long double w = x - f;

    long long counts[5];
    const long double scaleValues[4] = {1e12L, 1e9L, 1e6L, 1e3L};
    for (int i = 0; i < 4; ++i) {
        counts[i] = static_cast<long long>(std::trunc(w / scaleValues[i]));
        w -= std::floor(w / scaleValues[i]) * scaleValues[i];
    }
    counts[4] = static_cast<long long>(std::trunc(w));

    QString text;
    for (int i = 0; i < 3; ++i)
        if (counts[i] > 0)
            text += triad(counts[i], masculine, masculine[1]) +
                    QString::fromUtf8(scales[i][form(counts[i])]);
    if (counts[3] > 0)
        text +=
            triad(counts[3], feminine, feminine[1]) + QString::fromUtf8(scales[3][form(counts[3])]);
    const long long units = counts[4];
    if (units > 0)
        text += triad(units, masculine, kindOne[kind]) +
                QString::fromUtf8(unitNames[kind][form(units)]);
    else if (x >= 1)
        text += QString::fromUtf8(unitNames[kind][2]);
    text += QLatin1Char(' ');
    if (kind == 0)
        text += QString::number(kop / 10) + QString::number(kop % 10) + QStringLiteral(" коп.");
    if (text.endsWith(QLatin1Char(' '))) text.chop(1);
    return text;
}
