#include "viewer/drawinghistory.h"

void DrawingHistory::visit(const DrawingRef& ref) {
    if (index >= 0 && trail[index].sameDrawing(ref)) {
        trail[index].title = ref.title;
    } else {
        trail.resize(index + 1);
        trail.append(ref);
        if (trail.size() > TrailLimit) trail.removeFirst();
        index = int(trail.size()) - 1;
    }
    remember(ref);
}

void DrawingHistory::remember(const DrawingRef& ref) {
    for (int i = int(recentList.size()) - 1; i >= 0; --i)
        if (recentList[i].sameDrawing(ref)) recentList.removeAt(i);
    recentList.prepend(ref);
    if (recentList.size() > RecentLimit) recentList.resize(RecentLimit);
}

std::optional<DrawingRef> DrawingHistory::back(const Usable& usable) {
    return step(-1, usable);
}

std::optional<DrawingRef> DrawingHistory::forward(const Usable& usable) {
    return step(1, usable);
}

int DrawingHistory::peek(int direction, const Usable& usable) const {
    if (index < 0) return -1;
    for (int i = index + direction; i >= 0 && i < trail.size(); i += direction) {
        // The same drawing again (the ones between became unusable) is no step at all.
        if (trail[i].sameDrawing(trail[index])) continue;
        if (usable(trail[i])) return i;
    }
    return -1;
}

std::optional<DrawingRef> DrawingHistory::step(int direction, const Usable& usable) {
    const int i = peek(direction, usable);
    if (i < 0) return std::nullopt;
    index = i;
    return trail[i];
}

QStringList DrawingHistory::recentToSettings() const {
    QStringList lines;
    for (const DrawingRef& r : recentList)
        lines << QStringLiteral("%1|%2|%3").arg(r.modif).arg(r.pic).arg(r.title);
    return lines;
}

void DrawingHistory::recentFromSettings(const QStringList& lines) {
    recentList.clear();
    for (const QString& line : lines) {
        // The title may hold the separator itself: only the first two split.
        const int first = line.indexOf(QLatin1Char('|'));
        const int second = first < 0 ? -1 : line.indexOf(QLatin1Char('|'), first + 1);
        if (second < 0) continue;
        bool okModif = false;
        bool okPic = false;
        DrawingRef r{line.left(first).toInt(&okModif),
                     line.mid(first + 1, second - first - 1).toInt(&okPic), line.mid(second + 1)};
        if (!okModif || !okPic || r.pic <= 0) continue;
        bool seen = false;
        for (const DrawingRef& e : recentList)
            seen = seen || e.sameDrawing(r);
        if (!seen && recentList.size() < RecentLimit) recentList.append(r);
    }
}
