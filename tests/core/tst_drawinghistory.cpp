// The trail of drawings looked at and the recent list, without windows.
#include "viewer/drawinghistory.h"

#include <QtTest>

namespace {

DrawingRef at(int modif, int pic) {
    return {modif, pic, QStringLiteral("%1/%2").arg(modif).arg(pic)};
}

QString name(const std::optional<DrawingRef>& r) {
    return r ? QStringLiteral("%1/%2").arg(r->modif).arg(r->pic) : QStringLiteral("none");
}

QString recent(const DrawingHistory& h) {
    QStringList out;
    for (const DrawingRef& r : h.recent())
        out << QStringLiteral("%1/%2").arg(r.modif).arg(r.pic);
    return out.join(QLatin1Char(' '));
}

const DrawingHistory::Usable any = [](const DrawingRef&) { return true; };

} // namespace

class TestDrawingHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backAndForward();
    void newVisitDropsTheForwardPart();
    void unusableDrawingsArePassedOver();
    void recentListHasNoDuplicatesAndAtMostFifteen();
    void recentListRoundTripsThroughSettings();
    void damagedSettingsLinesAreDropped();
};

void TestDrawingHistory::backAndForward() {
    DrawingHistory h;
    QVERIFY(!h.canBack(any));
    QCOMPARE(name(h.back(any)), QString("none"));
    h.visit(at(1, 1));
    h.visit(at(1, 2));
    h.visit(at(2, 1));
    QVERIFY(h.canBack(any));
    QVERIFY(!h.canForward(any));
    QCOMPARE(name(h.back(any)), QString("1/2"));
    QCOMPARE(name(h.back(any)), QString("1/1"));
    QCOMPARE(name(h.back(any)), QString("none"));
    QCOMPARE(name(h.forward(any)), QString("1/2"));
    QCOMPARE(name(h.forward(any)), QString("2/1"));
    QCOMPARE(name(h.forward(any)), QString("none"));
    // Showing the current drawing again (the fitted size) is no new step.
    h.visit(at(2, 1));
    QCOMPARE(name(h.back(any)), QString("1/2"));
}

void TestDrawingHistory::newVisitDropsTheForwardPart() {
    DrawingHistory h;
    for (int pic = 1; pic <= 4; ++pic)
        h.visit(at(1, pic));
    h.back(any);
    h.back(any);
    h.visit(at(3, 1));
    QVERIFY(!h.canForward(any));
    QCOMPARE(name(h.back(any)), QString("1/2"));
    QCOMPARE(name(h.forward(any)), QString("3/1"));
    // The trail keeps its last drawings only.
    DrawingHistory longer;
    for (int i = 0; i < DrawingHistory::TrailLimit + 5; ++i)
        longer.visit(at(1, i + 1));
    int steps = 0;
    while (longer.back(any))
        ++steps;
    QCOMPARE(steps, DrawingHistory::TrailLimit - 1);
}

void TestDrawingHistory::unusableDrawingsArePassedOver() {
    DrawingHistory h;
    h.visit(at(1, 1));
    h.visit(at(2, 1));
    h.visit(at(2, 2));
    h.visit(at(1, 3));
    // Modification 2 hidden: back from 1/3 goes straight to 1/1, forward straight back.
    const DrawingHistory::Usable noTwo = [](const DrawingRef& r) { return r.modif != 2; };
    QVERIFY(h.canBack(noTwo));
    QCOMPARE(name(h.back(noTwo)), QString("1/1"));
    QVERIFY(!h.canBack(noTwo));
    QCOMPARE(name(h.forward(noTwo)), QString("1/3"));
    // Nothing usable behind: the place stays.
    const DrawingRef only = at(1, 3);
    const DrawingHistory::Usable onlyThis = [&](const DrawingRef& r) {
        return r.sameDrawing(only);
    };
    QVERIFY(!h.canBack(onlyThis));
    QCOMPARE(name(h.back(onlyThis)), QString("none"));
    QCOMPARE(name(h.back(any)), QString("2/2"));
    // A, B, A with B gone: going back from the second A to the first is no step.
    DrawingHistory again;
    again.visit(at(1, 1));
    again.visit(at(2, 1));
    again.visit(at(1, 1));
    QVERIFY(!again.canBack(noTwo));
}

void TestDrawingHistory::recentListHasNoDuplicatesAndAtMostFifteen() {
    DrawingHistory h;
    h.visit(at(1, 1));
    h.visit(at(1, 2));
    h.visit(at(1, 1));
    QCOMPARE(recent(h), QString("1/1 1/2"));
    h.back(any);
    h.remember(at(1, 2));
    QCOMPARE(recent(h), QString("1/2 1/1"));
    for (int pic = 1; pic <= 20; ++pic)
        h.visit(at(2, pic));
    QCOMPARE(int(h.recent().size()), DrawingHistory::RecentLimit);
    QCOMPARE(h.recent().first().pic, 20);
    QCOMPARE(h.recent().last().pic, 6);
}

void TestDrawingHistory::recentListRoundTripsThroughSettings() {
    DrawingHistory h;
    h.visit({1, 2, QStringLiteral("М-315.04: Тормоз")});
    h.visit({3, 1, QStringLiteral("М-315.04-02: Муфта | сцепления")});
    DrawingHistory read;
    read.recentFromSettings(h.recentToSettings());
    QCOMPARE(recent(read), QString("3/1 1/2"));
    QCOMPARE(read.recent().first().title, QString("М-315.04-02: Муфта | сцепления"));
    QCOMPARE(read.recent().last().title, QString("М-315.04: Тормоз"));
    // The recent list read back is no trail: nothing to go back to.
    QVERIFY(!read.canBack(any));
}

void TestDrawingHistory::damagedSettingsLinesAreDropped() {
    QStringList lines = {"1|2|ok",  "x|1|bad modif", "1|0|no drawing",
                         "nothing", "1|2|again",     "2|1|"};
    for (int pic = 1; pic <= 20; ++pic)
        lines << QStringLiteral("4|%1|t").arg(pic);
    DrawingHistory h;
    h.recentFromSettings(lines);
    QCOMPARE(int(h.recent().size()), DrawingHistory::RecentLimit);
    QCOMPARE(recent(h).left(11), QString("1/2 2/1 4/1"));
    QCOMPARE(h.recent()[1].title, QString());
}

QTEST_GUILESS_MAIN(TestDrawingHistory)
#include "tst_drawinghistory.moc"
