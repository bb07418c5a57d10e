#pragma once

#include "random.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace Gen {

// Part numbers as the plant prints them: "50-1002015", "50.12.003-1", "240-1002015-А",
// "ИЗ-12.001", "Х8-3502010" (Cyrillic Х), "I-45.002" (Latin I). Every number it hands out has
// a key form no other number has, so a key form names one part.
class NumberMaker {
public:
    explicit NumberMaker(Random& rng) : rng(rng) {}

    QString assembly(const QString& group);
    QString part(const QString& group);
    // The number of a changed part in a later modification, e.g. "50-1002015-01".
    QString variant(const QString& base, const QString& group, int modifOrdinal);
    // Reserves a number given from outside (standardized items); false when its key form is
    // taken.
    bool claim(const QString& number);

private:
    int nextSerial(const QString& group, int step, int align);
    QString format(const QString& group, int serial, bool assembly);

    Random& rng;
    QHash<QString, int> serials;
    QSet<QString> keys;
};

} // namespace Gen
