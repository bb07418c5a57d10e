#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class TQuery;

// The pick sheet: every drawing of the visible modifications that shows basket parts, with the
// places of those parts and the basket lines they belong to, for the storekeeper who gathers
// the order.
namespace PickSheet {

// A position to circle, at its point in percent of the drawing's height (ver) and width (hor).
struct Spot {
    int position = 0;
    double ver = 0;
    double hor = 0;
};

// A basket line shown on the drawing, with its positions there.
struct Line {
    int n = 0; // the line's number in the basket
    QString number;
    QString name;
    int quantity = 0;
    QList<int> positions;
};

struct Sheet {
    int modif = 0;
    int picture = 0;
    QString modName;
    QString picName;
    std::vector<Spot> spots; // in position order
    std::vector<Line> lines; // in basket order
};

// The places of the basket's parts on the drawings of the visible modifications (modFilter),
// by drawing, then basket line, then position. Hidden (position 0) places are left out.
QStringList statement(const QString& modFilter);

// Runs the statement on q and groups its rows by drawing, in the statement's order.
std::vector<Sheet> read(TQuery& q, const QString& modFilter);

} // namespace PickSheet
