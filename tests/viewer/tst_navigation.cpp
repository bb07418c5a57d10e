// Back and forward through the drawings looked at, the recent drawings kept in the settings,
// and the wheel and keys that zoom the drawing.
#include "app/forms.h"
#include "app/mainform.h"
#include "settings/option.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"
#include "viewer/image.h"
#include "viewer/marker.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>
#include <cmath>

using namespace ViewerTest;

namespace {

// Each test starts with no recent drawings (the settings outlive one test's fixture).
void forgetRecent() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Catalog M-315.04"))
        .remove(QStringLiteral("RecentDrawings"));
}

QString shown() {
    return QString("%1/%2 %3: %4")
        .arg(mainForm->CurrentModif)
        .arg(mainForm->CurrentPic)
        .arg(mainForm->lbMOD->text(), mainForm->lbPicName->text());
}

// "back forward": 1 enabled, 0 disabled.
QString historyItems() {
    return QString("%1%2")
        .arg(int(mainForm->sbBack->isEnabled()))
        .arg(int(mainForm->sbForward->isEnabled()));
}

void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(mainForm, k, modifiers);
}

// The recent menu as the user opens it: "title" per item, "(-)" after a disabled one.
QStringList recentItems() {
    Q_EMIT mainForm->menuRecent->aboutToShow();
    QStringList out;
    for (QAction* a : mainForm->menuRecent->actions())
        out << a->text() + (a->isEnabled() ? QString() : QString(" (-)"));
    return out;
}

bool activate() {
    mainForm->activateWindow();
    return QTest::qWaitForWindowActive(mainForm);
}

// A wheel turn of notches (120ths of the angle) at a point of the scroll box's viewport,
// delivered where the pointer is: the image or a marker.
void wheel(const QPoint& at, double notches, Qt::KeyboardModifiers modifiers) {
    QWidget* viewport = mainForm->ScrollBox->viewport();
    QWidget* target = viewport->childAt(at);
    if (!target) target = viewport;
    const QPointF local = target->mapFrom(viewport, at);
    QWheelEvent event(local, target->mapToGlobal(local), QPoint(), QPoint(0, int(notches * 120)),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// Where the viewport point at lies on the image, as fractions of its width and height.
QPointF imagePointAt(const QPoint& at) {
    const QRect img = mainForm->mainImage->geometry();
    const double x = at.x() + mainForm->ScrollBox->horizontalScrollBar()->value() - img.x();
    const double y = at.y() + mainForm->ScrollBox->verticalScrollBar()->value() - img.y();
    return {x / img.width(), y / img.height()};
}

// Markers' centres as fractions of the image (the placement's 7 pixels taken back).
QVector<QPointF> markerPoints() {
    QVector<QPointF> out;
    const QRect img = mainForm->mainImage->geometry();
    for (int i = 0; i < mainForm->MarkerCount; ++i) {
        const TMarker* m = mainForm->Markers[i];
        out << QPointF(double(m->x() + 7 + m->overhang() - img.x()) / img.width(),
                       double(m->y() + 7 - img.y()) / img.height());
    }
    return out;
}

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { forgetRecent(); }
    void backAndForwardAcrossModifications();
    void mouseButtonsGoBackAndForward();
    void hiddenModificationIsPassedOver();
    void recentDrawingsSurviveARestart();
    void aDrawingGoneFromDiskIsReported();
    void ctrlWheelZoomsAroundThePointer();
    void wheelScrollsAndStepsStayFixed();
    void plusAndMinusKeysStep();
};

void TestNavigation::backAndForwardAcrossModifications() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QVERIFY(activate());
    QCOMPARE(historyItems(), QString("00"));
    openDrawing(1, 1);
    mainForm->sbNext->trigger();
    openDrawing(2, 1);
    QCOMPARE(historyItems(), QString("10"));
    const QStringList back = {"1/2 М-315.04: Тормоз", "1/1 М-315.04: Блок цилиндров"};
    for (const QString& expected : back) {
        key(Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(shown(), expected);
    }
    QCOMPARE(historyItems(), QString("01"));
    key(Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(shown(), QString("1/2 М-315.04: Тормоз"));
    QCOMPARE(historyItems(), QString("11"));
    // A drawing chosen anew drops what lay ahead.
    mainForm->sbNext->trigger();
    QCOMPARE(shown(), QString("1/3 М-315.04: Общий вид"));
    QCOMPARE(historyItems(), QString("10"));
    mainForm->sbBack->trigger();
    QCOMPARE(shown(), QString("1/2 М-315.04: Тормоз"));
    mainForm->sbForward->trigger();
    QCOMPARE(shown(), QString("1/3 М-315.04: Общий вид"));
    // From another panel, going back brings the drawing to the front.
    mainForm->pressPanelButton(mainForm->sbTree);
    key(Qt::Key_Left, Qt::AltModifier);
    QVERIFY(!mainForm->panelPic->isHidden());
    QCOMPARE(shown(), QString("1/2 М-315.04: Тормоз"));
}

void TestNavigation::mouseButtonsGoBackAndForward() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    openDrawing(2, 2);
    QTest::mouseClick(mainForm->mainImage, Qt::BackButton);
    QCOMPARE(shown(), QString("1/1 М-315.04: Блок цилиндров"));
    QTest::mouseClick(mainForm->ScrollBox->viewport(), Qt::ForwardButton, {}, QPoint(2, 2));
    QCOMPARE(shown(), QString("2/2 М-315.04-01: Головка блока"));
}

void TestNavigation::hiddenModificationIsPassedOver() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    openDrawing(2, 1);
    openDrawing(1, 2);
    ModalScript script;
    script.then([](QDialog& d) {
        auto& options = static_cast<ToptionForm&>(d);
        options.clbMod->item(1)->setCheckState(Qt::Unchecked);
        options.fbCancel->click();
    });
    mainForm->N17->trigger();
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(recentItems(), QStringList({"М-315.04: Тормоз", "М-315.04-01: Блок цилиндров (-)",
                                         "М-315.04: Блок цилиндров"}));
    mainForm->sbBack->trigger();
    QCOMPARE(shown(), QString("1/1 М-315.04: Блок цилиндров"));
    QCOMPARE(historyItems(), QString("01"));
    mainForm->sbForward->trigger();
    QCOMPARE(shown(), QString("1/2 М-315.04: Тормоз"));
    // A disabled item does nothing even when reached some other way.
    mainForm->openRecent({2, 1, QString()});
    QCOMPARE(shown(), QString("1/2 М-315.04: Тормоз"));
}

void TestNavigation::recentDrawingsSurviveARestart() {
    CatalogFixture f;
    {
        auto forms = startShown(f);
        QVERIFY(forms);
        for (int pic = 1; pic <= 3; ++pic)
            openDrawing(1, pic);
        openDrawing(2, 2);
        openDrawing(1, 2);
        QCOMPARE(recentItems(), QStringList({"М-315.04: Тормоз", "М-315.04-01: Головка блока",
                                             "М-315.04: Общий вид", "М-315.04: Блок цилиндров"}));
    }
    auto forms = startShown(f);
    QVERIFY(forms);
    QCOMPARE(recentItems(), QStringList({"М-315.04: Тормоз", "М-315.04-01: Головка блока",
                                         "М-315.04: Общий вид", "М-315.04: Блок цилиндров"}));
    QCOMPARE(historyItems(), QString("00"));
    mainForm->menuRecent->actions().at(1)->trigger();
    QVERIFY(!mainForm->panelPic->isHidden());
    QCOMPARE(shown(), QString("2/2 М-315.04-01: Головка блока"));
    recentItems();
    mainForm->menuRecent->actions().at(1)->trigger();
    QCOMPARE(shown(), QString("1/2 М-315.04: Тормоз"));
    QCOMPARE(historyItems(), QString("10"));
    QCOMPARE(recentItems().first(), QString("М-315.04: Тормоз"));
}

void TestNavigation::aDrawingGoneFromDiskIsReported() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    openDrawing(1, 2);
    openDrawing(1, 3);
    const QString path = f.picDir() + "small/1_2.bmp";
    QVERIFY(QFile::remove(path));
    ModalScript script;
    script.press("bOK");
    mainForm->sbBack->trigger();
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains(path), qPrintable(script.messages[0]));
    QCOMPARE(shown(), QString("1/3 М-315.04: Общий вид"));
    // The trail stays on the drawing shown: forward has nothing, and the file back in place
    // makes the same step work.
    QCOMPARE(historyItems(), QString("10"));
    QVERIFY(writePicture(path, QSize(400, 300)));
    mainForm->sbBack->trigger();
    QCOMPARE(shown(), QString("1/2 М-315.04: Тормоз"));
    mainForm->sbBack->trigger();
    QCOMPARE(shown(), QString("1/1 М-315.04: Блок цилиндров"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestNavigation::ctrlWheelZoomsAroundThePointer() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    const int base = mainForm->BaseWidth;
    mainForm->sbZoomPlus->trigger();
    // The markers as a zoom step places them, to compare at every scale after the wheel.
    const QVector<QPointF> placed = markerPoints();
    QVERIFY(!placed.isEmpty());
    QScrollBar* h = mainForm->ScrollBox->horizontalScrollBar();
    QScrollBar* v = mainForm->ScrollBox->verticalScrollBar();
    h->setValue(h->maximum() / 2);
    v->setValue(v->maximum() / 2);
    const QSize box = mainForm->ScrollBox->viewport()->size();
    const QPoint points[] = {QPoint(box.width() / 2, box.height() / 2),
                             QPoint(box.width() / 3, box.height() * 2 / 3),
                             QPoint(box.width() * 3 / 4, box.height() / 4)};
    const double turns[] = {1, 3, -2, 0.5, -1};
    for (const QPoint& at : points) {
        for (double notches : turns) {
            const QPointF before = imagePointAt(at);
            const int width = mainForm->mainImage->width();
            wheel(at, notches, Qt::ControlModifier);
            const QSize now = mainForm->mainImage->size();
            QVERIFY2((notches > 0) == (now.width() > width), qPrintable(QString::number(notches)));
            const QPointF after = imagePointAt(at);
            QVERIFY(std::abs(after.x() - before.x()) * now.width() <= 1);
            QVERIFY(std::abs(after.y() - before.y()) * now.height() <= 1);
            const QVector<QPointF> marks = markerPoints();
            QCOMPARE(marks.size(), placed.size());
            for (int i = 0; i < marks.size(); ++i) {
                QVERIFY(std::abs(marks[i].x() - placed[i].x()) * now.width() <= 1.5);
                QVERIFY(std::abs(marks[i].y() - placed[i].y()) * now.height() <= 1.5);
            }
        }
    }
    // Out to the fitted size at most, in to four times at most.
    for (int i = 0; i < 40; ++i)
        wheel(points[0], -1, Qt::ControlModifier);
    QCOMPARE(mainForm->ZoomLevel, 1);
    QCOMPARE(mainForm->mainImage->width(), base);
    QVERIFY(!mainForm->sbZoomMinus->isEnabled());
    for (int i = 0; i < 40; ++i)
        wheel(points[0], 1, Qt::ControlModifier);
    QCOMPARE(mainForm->mainImage->width(), 4 * base);
    QCOMPARE(mainForm->ZoomLevel, 4);
    QVERIFY(!mainForm->sbZoomPlus->isEnabled());
}

void TestNavigation::wheelScrollsAndStepsStayFixed() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    const int base = mainForm->BaseWidth;
    mainForm->sbZoomPlus->trigger();
    const QVector<QPointF> placed = markerPoints();
    const QPoint at(50, 50);
    QScrollBar* v = mainForm->ScrollBox->verticalScrollBar();
    QCOMPARE(v->value(), 0);
    // A synthesised event is not passed on to the parents: the viewport is where the turn
    // from the image arrives.
    QWheelEvent turn(at, mainForm->ScrollBox->viewport()->mapToGlobal(QPointF(at)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(mainForm->ScrollBox->viewport(), &turn);
    QVERIFY(v->value() > 0);
    QCOMPARE(mainForm->mainImage->width(), 2 * base);
    // Between two steps the buttons go to the fixed steps on either side.
    wheel(at, 3, Qt::ControlModifier);
    QVERIFY(mainForm->mainImage->width() > 2 * base);
    QCOMPARE(mainForm->ZoomLevel, 2);
    // The markers keep their places on the image at every scale.
    const QVector<QPointF> between = markerPoints();
    QCOMPARE(between.size(), placed.size());
    const int width = mainForm->mainImage->width();
    for (int i = 0; i < placed.size(); ++i)
        QVERIFY(std::abs(between[i].x() - placed[i].x()) * width <= 1.5);
    mainForm->sbZoomPlus->trigger();
    QCOMPARE(mainForm->mainImage->width(), 3 * base);
    wheel(at, 2, Qt::ControlModifier);
    mainForm->sbZoomMinus->trigger();
    QCOMPARE(mainForm->mainImage->width(), 3 * base);
    QCOMPARE(mainForm->ZoomLevel, 3);
    wheel(at, -4, Qt::ControlModifier);
    QVERIFY(mainForm->mainImage->width() < 3 * base);
    mainForm->sbZoomMinus->trigger();
    QCOMPARE(mainForm->mainImage->width(), 2 * base);
    mainForm->sbZoomMinus->trigger();
    QCOMPARE(mainForm->ZoomLevel, 1);
    QVERIFY(std::abs(mainForm->mainImage->width() - base) <= 1);
}

void TestNavigation::plusAndMinusKeysStep() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QVERIFY(activate());
    openDrawing(1, 1);
    const int base = mainForm->BaseWidth;
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int level;
    } steps[] = {{Qt::Key_Plus, {}, 2},  {Qt::Key_Plus, Qt::KeypadModifier, 3},
                 {Qt::Key_Equal, {}, 4}, {Qt::Key_Plus, {}, 4},
                 {Qt::Key_Minus, {}, 3}, {Qt::Key_Minus, Qt::KeypadModifier, 2},
                 {Qt::Key_Minus, {}, 1}, {Qt::Key_Minus, {}, 1}};
    for (const auto& s : steps) {
        key(s.key, s.modifiers);
        QCOMPARE(mainForm->ZoomLevel, s.level);
        QCOMPARE(mainForm->mainImage->width(), base * s.level);
    }
}

CATALOG_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
