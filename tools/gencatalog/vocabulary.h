#pragma once

#include "model.h"
#include "random.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The words of the catalogue: tractor groups with their drawing titles, part names built from
// nouns and agreeing adjectives, and remarks.
namespace Gen::Words {

struct Title {
    const char* drawing;  // PicName
    const char* assembly; // name of the assembly the drawing shows
};

struct GroupWords {
    const char* number; // two digits; "00" for the drawings outside any group
    const char* name;
    QVector<Title> titles;
};

// The groups in catalogue order; the first is "00".
const QVector<GroupWords>& groups();

struct Named {
    QString name;
    Shape shape = Shape::Bushing;
    double weight = 0; // kilograms
};

// A part of the plant's own, named with the group's words and the common ones.
Named part(Random& rng, int group);
// A sub-assembly ("... в сборе").
Named subAssembly(Random& rng, int group);

// Remarks of one modification; the first two are those of a part fitted on both sides.
QStringList remarks(Random& rng);
inline constexpr int LeftSideRemark = 1;
inline constexpr int RightSideRemark = 2;

} // namespace Gen::Words
