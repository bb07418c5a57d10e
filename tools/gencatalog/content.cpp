#include "content.h"

#include "numbers.h"
#include "random.h"
#include "search/keyform.h"
#include "standards.h"
#include "vocabulary.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace Gen {

namespace {

struct Tuning {
    int shortLo, shortHi; // positions of an ordinary drawing
    double longShare;     // share of drawings with more than 50 positions
    int longLo, longHi;
    int generalSlots; // drawings of group "00"
    double keep;      // chance that a later modification keeps a drawing (changed in part)
    double change;    // chance that a kept drawing's part is replaced by a variant
    double extraRows; // chance that a kept drawing gets a few parts more
};

Tuning tuningFor(Layout layout) {
    if (layout == Layout::Large) return {112, 128, 0, 0, 0, 1, 0.95, 0.22, 0};
    return {24, 50, 0.08, 51, 75, 2, 0.7, 0.8, 0.25};
}

const char* const modifNames[] = {"М-315.04", "М-315.04-01", "М-315.04-02", "М-315.04-03"};
constexpr int modifCount = 4;

const char* const commonNames[] = {
    "Ключ гаечный 12х14", "Ключ гаечный 17х19",    "Ключ гаечный 22х24",
    "Отвертка",           "Плоскогубцы",           "Шприц рычажно-плунжерный",
    "Насос шинный",       "Сумка для инструмента", "Комплект запасных частей",
};

enum class Kind { Plain, Standard, Sub, HiddenSub, Pair };

double kopecks(double v) {
    return std::round(v * 100) / 100;
}

class Builder {
public:
    Builder(std::uint32_t seed, int target, Layout layout)
        : rng(seed), numbers(rng), target(target), t(tuningFor(layout)) {}

    Catalogue build();

private:
    int addPart(Part p);
    int plainPart(int group);
    int assemblyPart(int group, const Words::Named& named);
    int standardPart(int item);
    void priceOf(Part& p);
    QString okpOf(int group);

    Drawing fresh(int modifIndex, int group, const QString& title, const QString& assembly,
                  bool showcase);
    void member(QVector<Row>& rows, int group, int parent, int cluster, int depth, Kind kind);
    Kind randomKind(int depth);
    int pickStandard();
    int quantity();
    int remark();
    Drawing variant(const Drawing& base, int modifIndex);
    int targetPositions(bool showcase);
    void finish();

    Random rng;
    NumberMaker numbers;
    int target;
    Tuning t;
    Catalogue cat;
    QVector<int> itemPart; // standardized item -> its part, -1 until first used
    int usedCount = 0;
    QVector<QVector<int>> recent;         // per modification: parts a later drawing may use again
    QVector<QHash<int, int>> replacement; // per modification: base part -> its part there
    QVector<int> drawingStd;              // standardized items of the drawing being filled
    int pos = 1;
    int clusters = 0;
    int currentModif = 0;
};

int Builder::addPart(Part p) {
    p.key = keyForm(p.number);
    priceOf(p);
    cat.parts.push_back(p);
    ++usedCount;
    return int(cat.parts.size()) - 1;
}

QString Builder::okpOf(int group) {
    if (rng.chance(0.15)) return QString();
    return QStringLiteral("47%1%2")
        .arg(QString::fromUtf8(Words::groups()[group].number))
        .arg(rng.between(0, 99), 2, 10, QLatin1Char('0'));
}

void Builder::priceOf(Part& p) {
    double base;
    if (p.standard >= 0)
        base = 1.2 + p.weight * rng.real(150, 400);
    else if (p.assembly)
        base = 200 + p.weight * rng.real(150, 450);
    else
        base = 15 + p.weight * rng.real(90, 380);
    p.price = kopecks(base);
    p.priceZ = kopecks(base * rng.real(0.82, 0.95));
    // Unpriced in every way the price list has them: no row, NULL, 0, or one of the two.
    const double r = rng.real();
    if (r < 0.07)
        p.priced = false;
    else if (r < 0.10)
        p.price = p.priceZ = QVariant();
    else if (r < 0.12)
        p.price = p.priceZ = 0.0;
    else if (r < 0.17)
        p.priceZ = QVariant();
    else if (r < 0.19)
        p.price = QVariant();
    else if (r < 0.21)
        p.price = 0.0;
}

int Builder::plainPart(int group) {
    const Words::Named named = Words::part(rng, group);
    Part p;
    p.number = numbers.part(QString::fromUtf8(Words::groups()[group].number));
    p.name = rng.chance(0.3) ? named.name.toUpper() : named.name;
    p.okp = okpOf(group);
    p.weight = rng.chance(0.1) ? 0 : qMax(0.001, std::round(named.weight * 1000) / 1000);
    p.shape = named.shape;
    return addPart(p);
}

int Builder::assemblyPart(int group, const Words::Named& named) {
    Part p;
    p.number = numbers.assembly(QString::fromUtf8(Words::groups()[group].number));
    p.name = rng.chance(0.3) ? named.name.toUpper() : named.name;
    p.okp = okpOf(group);
    p.weight = rng.chance(0.1) ? 0 : std::round(named.weight * 1000) / 1000;
    p.shape = named.shape;
    p.assembly = true;
    return addPart(p);
}

int Builder::standardPart(int item) {
    if (itemPart[item] >= 0) return itemPart[item];
    const StandardItem& it = cat.items[item];
    Part p;
    p.number = it.number;
    p.name = it.name;
    p.okp = QStringLiteral("128%1").arg(rng.between(100, 999));
    p.weight = it.weight;
    p.shape = it.shape;
    p.standard = item;
    itemPart[item] = addPart(p);
    return itemPart[item];
}

int Builder::pickStandard() {
    QVector<double> weights;
    for (const StandardItem& it : cat.items)
        weights << double(standardFrequency(cat.standards[it.standard]));
    return rng.weighted(weights);
}

int Builder::quantity() {
    static const int values[] = {1, 2, 4, 6};
    return values[rng.weighted({75, 15, 7, 3})];
}

int Builder::remark() {
    if (!rng.chance(0.05)) return 0;
    // The two side remarks are kept for parts fitted on both sides.
    return rng.between(Words::RightSideRemark + 1, int(cat.modifs[currentModif].remarks.size()));
}

Kind Builder::randomKind(int depth) {
    if (depth == 0) return Kind(rng.weighted({50, 25, 11, 5, 3}));
    if (depth == 1) return Kind(rng.weighted({55, 33, 6, 3, 3}));
    return Kind(rng.weighted({60, 37, 0, 0, 3}));
}

void Builder::member(QVector<Row>& rows, int group, int parent, int cluster, int depth, Kind kind) {
    switch (kind) {
    case Kind::Plain: {
        QVector<int>& mine = recent[currentModif];
        const int p = !mine.isEmpty() && rng.chance(0.04) ? rng.pick(mine) : plainPart(group);
        if (mine.size() < 400) mine << p;
        rows << Row{p, parent, pos++, quantity(), remark(), cluster, rng.chance(0.05) ? 2 : 1};
        break;
    }
    case Kind::Standard: {
        // Using again an item of this drawing puts one part at separated positions.
        const int item =
            !drawingStd.isEmpty() && rng.chance(0.3) ? rng.pick(drawingStd) : pickStandard();
        drawingStd << item;
        const int most = standardMaxQuantity(cat.standards[cat.items[item].standard]);
        rows << Row{standardPart(item),      parent, pos++, rng.between(1, most), remark(), cluster,
                    rng.chance(0.08) ? 2 : 1};
        break;
    }
    case Kind::Pair: {
        const int p = rng.chance(0.5) ? plainPart(group) : standardPart(pickStandard());
        const int q = rng.between(1, 4);
        rows << Row{p, parent, pos++, q, Words::LeftSideRemark, cluster, 1};
        rows << Row{p, parent, pos++, q, Words::RightSideRemark, cluster, 1};
        break;
    }
    case Kind::Sub:
    case Kind::HiddenSub: {
        const int sub = assemblyPart(group, Words::subAssembly(rng, group));
        const int own = ++clusters;
        const bool hidden = kind == Kind::HiddenSub;
        rows << Row{sub, parent, hidden ? 0 : pos++, rng.chance(0.9) ? 1 : 2, 0, own, 1};
        const int count = hidden ? rng.between(2, 5) : rng.between(2, 6);
        for (int i = 0; i < count; ++i)
            member(rows, group, sub, own, depth + 1, randomKind(depth + 1));
        break;
    }
    }
}

int Builder::targetPositions(bool showcase) {
    if (showcase)
        return t.longLo > 0 ? rng.between(60, t.longHi) : rng.between(t.shortLo, t.shortHi);
    if (t.longShare > 0 && rng.chance(t.longShare)) return rng.between(t.longLo, t.longHi);
    return rng.between(t.shortLo, t.shortHi);
}

Drawing Builder::fresh(int modifIndex, int group, const QString& title, const QString& assembly,
                       bool showcase) {
    currentModif = modifIndex;
    Drawing d;
    d.modif = cat.modifs[modifIndex].modif;
    d.group = group;
    d.title = title;
    pos = 1;
    clusters = 0;
    drawingStd.clear();
    const int limit = targetPositions(showcase);
    Words::Named top{assembly, Shape::Housing, rng.real(8, 120)};
    const int topPart = assemblyPart(group, top);
    const bool numbered = showcase || rng.chance(0.92);
    d.rows << Row{topPart, -1, numbered ? pos++ : 0, 1, 0, 0, 1};
    // The first drawing of a group shows every case the viewer has to handle.
    QVector<Kind> forced;
    if (showcase) forced = {Kind::Plain, Kind::HiddenSub, Kind::Pair, Kind::Standard, Kind::Sub};
    while (pos <= limit) {
        const Kind kind = forced.isEmpty() ? randomKind(0) : forced.takeFirst();
        member(d.rows, group, topPart, 0, 0, kind);
    }
    if (showcase) {
        // A part printed twice under one number.
        for (Row& r : d.rows)
            if (r.position > 0 && !cat.parts[r.part].assembly) {
                r.places = 2;
                break;
            }
    }
    return d;
}

Drawing Builder::variant(const Drawing& base, int modifIndex) {
    currentModif = modifIndex;
    Drawing d = base;
    d.modif = cat.modifs[modifIndex].modif;
    d.copy = true;
    QHash<int, int>& rep = replacement[modifIndex];
    const QString group = QString::fromUtf8(Words::groups()[base.group].number);
    auto renumbered = [&](int part) {
        Part p = cat.parts[part];
        p.number = numbers.variant(p.number, group, modifIndex);
        p.weight = std::round(p.weight * rng.real(0.9, 1.1) * 1000) / 1000;
        return addPart(p);
    };
    for (Row& r : d.rows) {
        const Part& p = cat.parts[r.part];
        if (p.assembly || p.standard >= 0) continue;
        auto it = rep.constFind(r.part);
        if (it == rep.constEnd())
            it = rep.insert(r.part, rng.chance(t.change) ? renumbered(r.part) : r.part);
        r.part = it.value();
    }
    // An assembly with a changed member is a changed assembly, up to the top.
    QHash<int, bool> changed;
    for (int i = int(d.rows.size()) - 1; i >= 0; --i) {
        const Row& r = d.rows[i];
        if ((r.part != base.rows[i].part || changed.value(base.rows[i].part)) && r.assembly >= 0)
            changed[r.assembly] = true;
    }
    QHash<int, int> newAssembly;
    for (int i = 0; i < d.rows.size(); ++i) {
        const int basePart = base.rows[i].part;
        if (cat.parts[basePart].assembly && changed.value(basePart))
            newAssembly[basePart] = renumbered(basePart);
    }
    for (Row& r : d.rows) {
        r.part = newAssembly.value(r.part, r.part);
        if (r.assembly >= 0) r.assembly = newAssembly.value(r.assembly, r.assembly);
    }
    if (rng.chance(t.extraRows)) {
        pos = 1;
        for (const Row& r : d.rows)
            pos = qMax(pos, r.position + 1);
        const int top = d.rows.first().part;
        for (int i = rng.between(1, 3); i > 0; --i)
            member(d.rows, base.group, top, 0, 1, Kind::Plain);
        d.copy = false;
    }
    return d;
}

void Builder::finish() {
    const QVector<Words::GroupWords>& words = Words::groups();
    for (Modification& m : cat.modifs) {
        // Drawings are numbered within their modification in group order.
        std::stable_sort(m.drawings.begin(), m.drawings.end(),
                         [](const Drawing& a, const Drawing& b) { return a.group < b.group; });
        QVector<int> groupIndex(words.size(), -1);
        int picture = 0, lastGroup = -1, picN = 0;
        for (Drawing& d : m.drawings) {
            if (groupIndex[d.group] < 0) {
                groupIndex[d.group] = int(m.groups.size());
                m.groups.push_back({QString::fromUtf8(words[d.group].number),
                                    QString::fromUtf8(words[d.group].name)});
            }
            picN = d.group == lastGroup ? picN + 1 : 1;
            lastGroup = d.group;
            d.picture = ++picture;
            d.picN = picN;
            d.group = groupIndex[d.group];
        }
    }
}

Catalogue Builder::build() {
    addStandards(cat);
    itemPart.fill(-1, cat.items.size());
    for (int i = 0; i < modifCount; ++i) {
        Modification m;
        m.modif = i + 1;
        m.name = QString::fromUtf8(modifNames[i]);
        m.visible = i != modifCount - 1;
        m.remarks = Words::remarks(rng);
        cat.modifs.push_back(m);
    }
    recent.resize(modifCount);
    replacement.resize(modifCount);

    for (const char* name : commonNames) {
        Part p;
        p.number = numbers.part(QStringLiteral("00"));
        p.name = QString::fromUtf8(name);
        p.weight = std::round(rng.real(0.1, 2.5) * 1000) / 1000;
        p.shape = Shape::Lever;
        cat.commonParts << addPart(p);
    }

    const QVector<Words::GroupWords>& words = Words::groups();
    QVector<int> perGroup(words.size(), 0);
    QVector<int> order;
    int slot = 0;
    bool showcase = true;
    while (usedCount < target || slot < t.generalSlots + 1) {
        int group;
        if (slot < t.generalSlots) {
            group = 0;
        } else {
            if (order.isEmpty()) {
                for (int g = 1; g < words.size(); ++g)
                    order << g;
                // Each round takes the groups in another order, so a small catalogue still
                // spreads over several of them.
                for (int i = int(order.size()) - 1; i > 0; --i)
                    std::swap(order[i], order[rng.between(0, i)]);
            }
            group = order.takeFirst();
        }
        ++slot;
        const QVector<Words::Title>& titles = words[group].titles;
        const int k = perGroup[group]++;
        QString title = QString::fromUtf8(titles[k % titles.size()].drawing);
        if (k >= titles.size())
            title += QStringLiteral(" (исполнение %1)").arg(k / titles.size() + 1);
        const QString assembly = QString::fromUtf8(titles[k % titles.size()].assembly);
        const bool show = showcase && group != 0;
        if (show) showcase = false;
        Drawing base = fresh(0, group, title, assembly, show);
        base.slot = slot;
        cat.modifs[0].drawings << base;
        for (int m = 1; m < modifCount; ++m) {
            Drawing d = group == 0 || rng.chance(t.keep) ? variant(base, m)
                                                         : fresh(m, group, title, assembly, false);
            d.slot = slot;
            cat.modifs[m].drawings << d;
        }
    }
    finish();
    return cat;
}

} // namespace

Catalogue buildContent(std::uint32_t seed, int parts, Layout layout) {
    return Builder(seed, parts, layout).build();
}

} // namespace Gen
