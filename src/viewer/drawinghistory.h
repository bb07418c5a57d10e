#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

// A drawing the user looked at: its modification and number, and the caption the recent
// list shows for it.
struct DrawingRef {
    int modif = 0;
    int pic = 0;
    QString title;

    bool sameDrawing(const DrawingRef& other) const {
        return modif == other.modif && pic == other.pic;
    }
};

// The drawings looked at, in order, for going back and forward as in a browser, and the
// last few distinct ones, newest first, for the recent list kept in the settings.
class DrawingHistory {
public:
    // Whether a drawing can still be shown (its modification visible, its number in range).
    using Usable = std::function<bool(const DrawingRef&)>;

    static constexpr int RecentLimit = 15;
    static constexpr int TrailLimit = 100;

    // A drawing shown by the user's own choice: the forward part of the trail is dropped and
    // the drawing heads the recent list.
    void visit(const DrawingRef& ref);
    // A drawing shown again by going back or forward: it only heads the recent list.
    void remember(const DrawingRef& ref);

    // The nearest usable drawing behind or ahead of the current one; the trail's position
    // moves to it. Drawings no longer usable are passed over; none left gives nothing and
    // the position stays.
    std::optional<DrawingRef> back(const Usable& usable);
    std::optional<DrawingRef> forward(const Usable& usable);
    bool canBack(const Usable& usable) const { return peek(-1, usable) >= 0; }
    bool canForward(const Usable& usable) const { return peek(1, usable) >= 0; }
    // The trail's position, to return to when a step could not be shown after all.
    int position() const { return index; }
    void setPosition(int at) { index = at; }

    const QVector<DrawingRef>& recent() const { return recentList; }
    // The recent list as the settings keep it, one "modif|pic|title" text per drawing.
    QStringList recentToSettings() const;
    void recentFromSettings(const QStringList& lines);

private:
    int peek(int direction, const Usable& usable) const;
    std::optional<DrawingRef> step(int direction, const Usable& usable);

    QVector<DrawingRef> trail;
    int index = -1;
    QVector<DrawingRef> recentList;
};
