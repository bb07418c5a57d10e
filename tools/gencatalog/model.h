#pragma once

#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The catalogue as the generator builds it in memory before it is written out.
namespace Gen {

// Demo: every drawing drawn for itself, around 1000 x 700. Large (benchmarks): drawings of about
// 120 positions, 1200 x 850, drawn as a small set of pictures that the drawings share.
enum class Layout { Demo, Large };

// The outline a part is drawn with on an exploded view.
enum class Shape {
    Housing,
    Shaft,
    Gear,
    Disc,
    Bushing,
    Bearing,
    Spring,
    Bolt,
    Nut,
    Washer,
    Ring,
    Lever,
    Pipe,
    Cover,
    Pin
};

struct Part {
    QString number; // display form
    QString key;    // key form
    QString name;
    QString okp;
    double weight = 0; // 0 = not given
    Shape shape = Shape::Bushing;
    bool assembly = false;
    int standard = -1;  // index into Catalogue::items, -1 for a part of the plant's own
    bool priced = true; // has a row in Price
    QVariant price;     // "Цена": NULL, 0 or roubles
    QVariant priceZ;    // "Цена ЮЛЗ"
};

// One occurrence of a part on a drawing (a DataTab row).
struct Row {
    int part = -1;
    int assembly = -1; // part index of the assembly it belongs to here, -1 for none
    int position = 0;  // 0: an assembly drawn without a number of its own
    int quantity = 1;
    int remark = 0;  // remN within the modification, 0 = none
    int cluster = 0; // the group of outlines it is drawn in: 0 the top level, k a sub-assembly
    int places = 1;  // how many times its position number is printed on the drawing
};

// A numbered place (a Place row).
struct Place {
    int position = 0;
    double ver = 0; // percent of the height from the top
    double hor = 0; // percent of the width from the left
};

struct Drawing {
    int modif = 0;
    int picture = 0; // 1..n within the modification in the order (indexGr, PicN)
    int group = 0;   // index into the modification's groups
    int picN = 0;
    QString title;
    QVector<Row> rows;
    QVector<Place> places;
    int slot = 0;      // drawings made from one another share their slot
    bool copy = false; // laid out exactly as the first drawing of its slot
};

struct Group {
    QString number; // two digits, "00" for the drawings outside any group
    QString name;
};

struct Modification {
    int modif = 0;
    QString name;
    bool visible = true;
    QVector<Group> groups; // in indexGr order, only groups that have drawings
    QVector<Drawing> drawings;
    QStringList remarks; // remN = index + 1
};

// A standardized item: a part made to a national standard, with its parameters.
struct Standard {
    QString gost;     // N_Gost
    QString gostName; // Name_Gost
    QString subgroup; // PodName
    int podGroup = 0; // illustration numbers
    int picGost = 0;
    QString illustration; // which picture is drawn for it
};

struct StandardItem {
    int standard = 0; // index into Catalogue::standards
    QString number;
    QString name;
    QString fullName;
    double weight = 0;
    Shape shape = Shape::Bolt;
    QVector<QPair<QString, QString>> params; // (ParamName, Param), at most 13
};

struct Catalogue {
    QVector<Part> parts;
    QVector<Standard> standards;
    QVector<StandardItem> items;
    QVector<Modification> modifs;
    QVector<int> commonParts; // modification 0: parts on no drawing
};

} // namespace Gen
