#include "numbers.h"

#include "search/keyform.h"

namespace Gen {

namespace {

const char* const prefixes[] = {"50", "50", "50", "240", "70"};
const char* const letters[] = {"А", "Б", "В"};

QString digits(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

bool NumberMaker::claim(const QString& number) {
    const QString key = keyForm(number);
    if (keys.contains(key)) return false;
    keys.insert(key);
    return true;
}

int NumberMaker::nextSerial(const QString& group, int step, int align) {
    int& s = serials[group];
    if (s == 0) s = 1000 + 5 * rng.between(0, 40);
    s += step;
    if (align > 1) s = (s / align + 1) * align + 10;
    return s;
}

QString NumberMaker::format(const QString& group, int serial, bool assembly) {
    const QString prefix = QString::fromLatin1(rng.pick(prefixes));
    const QString dash = prefix + QLatin1Char('-') + group + digits(serial, 5);
    const QString shortSerial = digits(serial / 5 % 1000, 3);
    if (assembly) {
        if (rng.chance(0.8)) return dash;
        return prefix + QLatin1Char('.') + group + QLatin1Char('.') + shortSerial;
    }
    switch (rng.weighted({62, 15, 8, 5, 5, 5})) {
    case 0:
        return dash;
    case 1:
        return prefix + QLatin1Char('.') + group + QLatin1Char('.') + shortSerial +
               (rng.chance(0.4) ? QStringLiteral("-%1").arg(rng.between(1, 3)) : QString());
    case 2:
        return dash + QLatin1Char('-') + QString::fromUtf8(rng.pick(letters));
    case 3:
        return QStringLiteral("ИЗ-") + group + QLatin1Char('.') + shortSerial;
    case 4:
        return QStringLiteral("Х8-") + group + digits(serial, 5);
    default:
        return QStringLiteral("I-") + group + QLatin1Char('.') + shortSerial;
    }
}

QString NumberMaker::assembly(const QString& group) {
    for (;;) {
        const QString n = format(group, nextSerial(group, 5, 100), true);
        if (claim(n)) return n;
    }
}

QString NumberMaker::part(const QString& group) {
    for (;;) {
        const QString n = format(group, nextSerial(group, 5 * rng.between(1, 2), 1), false);
        if (claim(n)) return n;
    }
}

QString NumberMaker::variant(const QString& base, const QString& group, int modifOrdinal) {
    for (int v = modifOrdinal; v < modifOrdinal + 60; ++v) {
        const QString n = base + QStringLiteral("-%1").arg(v, 2, 10, QLatin1Char('0'));
        if (claim(n)) return n;
    }
    // Every suffix is taken: a new number of the same group.
    return part(group);
}

} // namespace Gen
