#include "scene.h"

#include "random.h"

#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>

namespace Gen {

namespace {

struct ShapeSize {
    double units;  // room along the centre line
    double width;  // share of that room the outline takes
    double height; // share of the distance between centre lines
};

ShapeSize sizeOf(Shape s) {
    switch (s) {
    case Shape::Housing:
        return {6, 0.85, 0.60};
    case Shape::Shaft:
        return {6, 0.92, 0.20};
    case Shape::Gear:
        return {3, 0.55, 0.46};
    case Shape::Disc:
        return {2, 0.45, 0.52};
    case Shape::Bushing:
        return {2, 0.75, 0.26};
    case Shape::Bearing:
        return {2, 0.6, 0.32};
    case Shape::Spring:
        return {3, 0.85, 0.20};
    case Shape::Bolt:
        return {2.5, 0.9, 0.16};
    case Shape::Nut:
        return {1.3, 0.6, 0.18};
    case Shape::Washer:
        return {1, 0.3, 0.24};
    case Shape::Ring:
        return {1, 0.35, 0.26};
    case Shape::Lever:
        return {3, 0.85, 0.36};
    case Shape::Pipe:
        return {4, 0.9, 0.30};
    case Shape::Cover:
        return {2.5, 0.7, 0.40};
    case Shape::Pin:
        return {2, 0.9, 0.08};
    }
    return {2, 0.7, 0.2};
}

double round2(double v) {
    return std::round(v * 100) / 100;
}

// What is laid along a centre line: the body of an assembly or a member part.
struct Entry {
    int row;
    int cluster;
    double units;
    bool body;
    QVector<int> items; // one per printed copy
};

struct Track {
    double y;
    QVector<int> entries;
    double units = 0;
};

class Layouter {
public:
    Layouter(const Catalogue& cat, const Drawing& d, QSize size, std::uint32_t seed)
        : cat(cat), d(d), rng(seed), W(size.width()), H(size.height()), metrics(labelFont()) {
        scene.size = size;
        scene.caption = d.title;
    }
    Scene run();

private:
    void collect();
    void pack();
    void placeItems();
    void placeLabels();
    bool labelFits(const QRectF& box, const QPointF& anchor, bool avoidItems,
                   bool avoidLeaders) const;
    QRectF labelBox(const QPointF& centre, const QString& text) const;

    const Catalogue& cat;
    const Drawing& d;
    Random rng;
    double W, H;
    QFontMetricsF metrics;
    Scene scene;
    QVector<Entry> entries;
    QVector<Track> tracks;
    QVector<int> trackOfEntry;
    QHash<int, int> bodyOfCluster;   // cluster -> entry
    QHash<int, int> parentOfCluster; // cluster -> cluster
    QVector<QRectF> taken;           // label boxes
};

void Layouter::collect() {
    QHash<int, int> clusterOfAssembly; // assembly part -> the cluster of its members
    for (int i = 0; i < d.rows.size(); ++i) {
        const Row& r = d.rows[i];
        const bool body = !bodyOfCluster.contains(r.cluster);
        Entry e{i, r.cluster, 0, body, {}};
        const ShapeSize s = sizeOf(cat.parts[r.part].shape);
        e.units = body ? s.units + 1 : s.units * r.places;
        if (body) {
            bodyOfCluster[r.cluster] = int(entries.size());
            clusterOfAssembly[r.part] = r.cluster;
            if (r.assembly >= 0) parentOfCluster[r.cluster] = clusterOfAssembly.value(r.assembly);
        }
        entries << e;
    }
}

void Layouter::pack() {
    double total = 0;
    for (const Entry& e : entries)
        total += e.units;
    const double perTrack = W / 22;
    const int count = std::clamp(int(std::ceil(total / perTrack)), 3, 7);
    const double top = 0.13 * H, bottom = 0.80 * H;
    QVector<int> order; // the middle line first, then outwards
    const int mid = count / 2;
    order << mid;
    for (int k = 1; order.size() < count; ++k) {
        if (mid - k >= 0) order << mid - k;
        if (mid + k < count && order.size() < count) order << mid + k;
    }
    tracks.resize(count);
    for (int i = 0; i < count; ++i)
        tracks[i].y = top + (bottom - top) * i / (count - 1);
    const double capacity = total / count * 1.12;
    trackOfEntry.resize(entries.size());
    int t = 0;
    for (int i = 0; i < entries.size(); ++i) {
        Track* track = &tracks[order[t]];
        if (track->units + entries[i].units > capacity && !track->entries.isEmpty() &&
            t + 1 < count) {
            ++t;
            track = &tracks[order[t]];
        }
        track->entries << i;
        track->units += entries[i].units;
        trackOfEntry[i] = order[t];
    }
}

void Layouter::placeItems() {
    const double spacing = std::min(260.0, (0.67 * H) / (tracks.size() - 1));
    const double left = 0.05 * W, usable = 0.90 * W;
    for (const Track& track : tracks) {
        if (track.entries.isEmpty()) continue;
        double gaps = 0;
        for (int k = 1; k < track.entries.size(); ++k)
            if (entries[track.entries[k]].cluster != entries[track.entries[k - 1]].cluster)
                gaps += 1.5;
        const double scale = std::min(34.0, usable / (track.units + gaps));
        double x = left + (usable - (track.units + gaps) * scale) / 2;
        double segmentStart = x;
        for (int k = 0; k < track.entries.size(); ++k) {
            Entry& e = entries[track.entries[k]];
            const bool newSegment = k > 0 && e.cluster != entries[track.entries[k - 1]].cluster;
            if (newSegment) {
                scene.axes << QLineF(segmentStart - 6, track.y, x + 6, track.y);
                x += 1.5 * scale;
                segmentStart = x;
            }
            const Row& r = d.rows[e.row];
            const Shape shape = cat.parts[r.part].shape;
            const ShapeSize s = sizeOf(shape);
            const int copies = e.body ? 1 : r.places;
            const double slot = e.units * scale / copies;
            for (int c = 0; c < copies; ++c) {
                double w = std::max(4.0, slot * s.width * rng.real(0.85, 1.0));
                double h = spacing * s.height * (e.body ? 1.25 : 1.0) * rng.real(0.85, 1.15);
                h = std::clamp(h, 6.0, spacing * 0.66);
                if (shape == Shape::Shaft || shape == Shape::Pin || shape == Shape::Bolt)
                    h = std::min(h, w * 0.7);
                double cy = track.y;
                if (shape == Shape::Lever || shape == Shape::Pipe)
                    cy += (rng.chance(0.5) ? -1 : 1) * h * 0.25;
                const double cx = x + slot * (c + 0.5);
                e.items << int(scene.items.size());
                scene.items << Item{shape, QRectF(cx - w / 2, cy - h / 2, w, h),
                                    std::uint32_t(rng.between(0, 1 << 30))};
            }
            x += e.units * scale;
        }
        scene.axes << QLineF(segmentStart - 6, track.y, x + 6, track.y);
    }
    // A sub-assembly drawn on another line is tied to its assembly by a dash-dot line.
    for (auto it = parentOfCluster.constBegin(); it != parentOfCluster.constEnd(); ++it) {
        const int own = bodyOfCluster.value(it.key());
        const int parent = bodyOfCluster.value(it.value());
        const double ownY = tracks[trackOfEntry[own]].y;
        const double parentY = tracks[trackOfEntry[parent]].y;
        if (ownY == parentY) continue;
        const QRectF box = scene.items[entries[own].items.first()].box;
        scene.links << QLineF(box.center().x(), ownY, box.center().x(), parentY);
    }
    std::sort(scene.links.begin(), scene.links.end(), [](const QLineF& a, const QLineF& b) {
        return a.x1() != b.x1() ? a.x1() < b.x1() : a.y1() < b.y1();
    });
}

QRectF Layouter::labelBox(const QPointF& centre, const QString& text) const {
    const double w = std::max(18.0, metrics.horizontalAdvance(text) + 6);
    return QRectF(centre.x() - w / 2, centre.y() - 9, w, 18);
}

bool Layouter::labelFits(const QRectF& box, const QPointF& anchor, bool avoidItems,
                         bool avoidLeaders) const {
    if (box.left() < 6 || box.top() < 6 || box.right() > W - 6 || box.bottom() > H - 30)
        return false;
    for (const QRectF& other : taken)
        if (box.intersects(other.adjusted(-3, -3, 3, 3))) return false;
    if (avoidItems)
        for (const Item& it : scene.items)
            if (box.intersects(it.box.adjusted(-2, -2, 2, 2))) return false;
    if (avoidLeaders) {
        const QPointF c = box.center();
        const double len = std::hypot(c.x() - anchor.x(), c.y() - anchor.y());
        for (double s = 0; s < len; s += 4) {
            const QPointF p = anchor + (c - anchor) * (s / len);
            if (box.contains(p)) break;
            for (const QRectF& other : taken)
                if (other.contains(p)) return false;
        }
    }
    return true;
}

void Layouter::placeLabels() {
    static const int angles[] = {0,   12, -12, 24,  -24,  36,  -36,  50,  -50,  65,
                                 -65, 80, -80, 100, -100, 130, -130, 160, -160, 180};
    const int midTrack = int(tracks.size()) / 2;
    QVector<QPair<int, int>> order; // (position, entry)
    for (int i = 0; i < entries.size(); ++i)
        if (d.rows[entries[i].row].position > 0)
            order << qMakePair(d.rows[entries[i].row].position, i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    int alternate = 0;
    for (const auto& [position, index] : order) {
        const Entry& e = entries[index];
        const QString text = QString::number(position);
        for (int item : e.items) {
            const QRectF box = scene.items[item].box;
            const int track = trackOfEntry[index];
            double dir = track < midTrack ? -1 : track > midTrack ? 1 : (alternate++ % 2 ? 1 : -1);
            if (e.body) dir = -1;
            const QPointF anchor(box.center().x() + (e.body ? -box.width() / 4 : 0),
                                 dir < 0 ? box.top() + std::min(3.0, box.height() / 2)
                                         : box.bottom() - std::min(3.0, box.height() / 2));
            QPointF found = anchor;
            bool ok = false;
            for (int pass = 0; pass < 3 && !ok; ++pass) {
                for (int ring = 0; ring < 32 && !ok; ++ring) {
                    const double dist = 16 + ring * 7;
                    for (int a : angles) {
                        const double rad = a * 3.14159265358979 / 180;
                        const QPointF c =
                            anchor + QPointF(dist * std::sin(rad), dir * dist * std::cos(rad));
                        if (labelFits(labelBox(c, text), anchor, pass == 0, pass < 2)) {
                            found = c;
                            ok = true;
                            break;
                        }
                    }
                }
            }
            for (double y = 15; !ok && y < H - 30; y += 6)
                for (double x = 15; !ok && x < W - 15; x += 6)
                    if (labelFits(labelBox(QPointF(x, y), text), anchor, false, false)) {
                        found = QPointF(x, y);
                        ok = true;
                    }
            Label l;
            l.position = position;
            l.hor = round2(100 * found.x() / W);
            l.ver = round2(100 * found.y() / H);
            l.centre = QPointF(l.hor * W / 100, l.ver * H / 100);
            l.anchor = anchor;
            taken << labelBox(l.centre, text);
            scene.labels << l;
        }
    }
}

Scene Layouter::run() {
    collect();
    pack();
    placeItems();
    placeLabels();
    for (const Entry& e : entries)
        if (d.rows[e.row].position == 0 && !e.items.isEmpty()) {
            const QPointF c = scene.items[e.items.first()].box.center();
            scene.hiddenHor = round2(100 * c.x() / W);
            scene.hiddenVer = round2(100 * c.y() / H);
            break;
        }
    return scene;
}

} // namespace

QFont labelFont() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(8);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

Scene layoutScene(const Catalogue& cat, const Drawing& drawing, QSize size, std::uint32_t seed) {
    return Layouter(cat, drawing, size, seed).run();
}

QVector<Place> placesFor(const Drawing& drawing, const Scene& scene, bool exact) {
    QVector<Place> places;
    bool hidden = false;
    for (const Row& r : drawing.rows)
        hidden = hidden || r.position == 0;
    if (hidden) places << Place{0, scene.hiddenVer, scene.hiddenHor};
    if (exact) {
        for (const Label& l : scene.labels)
            places << Place{l.position, l.ver, l.hor};
        return places;
    }
    QVector<QPair<int, int>> numbered; // (position, copies)
    for (const Row& r : drawing.rows)
        if (r.position > 0) numbered << qMakePair(r.position, r.places);
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    int spot = 0;
    for (const auto& [position, copies] : numbered)
        for (int c = 0; c < copies; ++c) {
            if (scene.labels.isEmpty()) {
                places << Place{position, 50, 50};
                continue;
            }
            const Label& l = scene.labels[spot++ % scene.labels.size()];
            places << Place{position, l.ver, l.hor};
        }
    return places;
}

} // namespace Gen
