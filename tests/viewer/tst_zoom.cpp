// Enlarging, reducing, the fitted size and stepping through the drawings.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "settings/option.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"
#include "viewer/image.h"
#include "viewer/marker.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

using namespace ViewerTest;

namespace {

// The zoom items as the user sees them: "norm minus plus", 1 enabled, 0 disabled.
QString zoomItems() {
    return QString("%1%2%3")
        .arg(int(mainForm->sbZoomNorm->isEnabled()))
        .arg(int(mainForm->sbZoomMinus->isEnabled()))
        .arg(int(mainForm->sbZoomPlus->isEnabled()));
}

bool scrollBarsShown() {
    return mainForm->ScrollBox->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff &&
           mainForm->ScrollBox->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
}

QString shown() {
    return QString("%1/%2").arg(mainForm->CurrentModif).arg(mainForm->CurrentPic);
}

// The navigation items: "pred next", 1 enabled, 0 disabled; the popup twins agree.
QString stepItems() {
    if (mainForm->miPred->isEnabled() != mainForm->sbPred->isEnabled() ||
        mainForm->miNext->isEnabled() != mainForm->sbNext->isEnabled())
        return "twins differ";
    return QString("%1%2")
        .arg(int(mainForm->sbPred->isEnabled()))
        .arg(int(mainForm->sbNext->isEnabled()));
}

void uncheckInSettings(ModalScript& script, int position) {
    script.then([position](QDialog& d) {
        auto& options = static_cast<ToptionForm&>(d);
        options.clbMod->item(position)->setCheckState(Qt::Unchecked);
        options.fbCancel->click();
    });
    mainForm->N17->trigger();
}

} // namespace

class TestZoom : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void zoomStepsOnTheLargeBitmap();
    void scrollPositionsFollowTheStep();
    void fittedSizeKeepsThePartAndSelection();
    void missingLargeBitmapLeavesTheView();
    void largeBitmapIsReadAgainWhenItChanges();
    void stepsRunThroughVisibleModifications();
    void stepsSkipAHiddenModification();
    void stepsAfterTheVisibleSetChangedStayPut();
    void stepsFollowModificationNumbersWithGaps();
};

void TestZoom::zoomStepsOnTheLargeBitmap() {
    CatalogFixture f;
    QVERIFY(writePicture(f.picDir() + "small/1_1.bmp", QSize(1000, 500)));
    QVERIFY(writePicture(f.picDir() + "big/1_1.bmp", QSize(1600, 900)));
    auto forms = startShown(f);
    QVERIFY(forms);
    mainForm->ScrollBox->resize(800, 410);
    openDrawing(1, 1);
    QCOMPARE(mainForm->mainImage->geometry(), QRect(0, 5, 800, 400));
    QCOMPARE(zoomItems(), QString("101"));
    QVERIFY(!scrollBarsShown());

    struct Step {
        QAction* item;
        int level;
        QRect image;
        const char* items;
        bool bars;
        QPoint first; // marker of position 1 (10 % down, 10 % across)
    };
    // Enlargements follow the large bitmap's proportions, reductions the fitted size; back at
    // level 1 the large bitmap's proportions pick the side that is kept.
    const Step steps[] = {
        {mainForm->sbZoomPlus, 2, QRect(0, 0, 1600, 900), "111", true, QPoint(153, 83)},
        {mainForm->miPlus, 3, QRect(0, 0, 2400, 1350), "111", true, QPoint(233, 128)},
        {mainForm->sbZoomPlus, 4, QRect(0, 0, 3200, 1800), "110", true, QPoint(313, 173)},
        {mainForm->sbZoomMinus, 3, QRect(0, 0, 2400, 1200), "111", true, QPoint(233, 113)},
        {mainForm->miMinus, 2, QRect(0, 0, 1600, 800), "111", true, QPoint(153, 73)},
        {mainForm->sbZoomMinus, 1, QRect(0, 0, 800, 400), "101", false, QPoint(73, 33)},
    };
    for (const Step& s : steps) {
        s.item->trigger();
        QCOMPARE(mainForm->ZoomLevel, s.level);
        QCOMPARE(mainForm->mainImage->geometry(), s.image);
        QCOMPARE(zoomItems(), QString(s.items));
        QCOMPARE(scrollBarsShown(), s.bars);
        QCOMPARE(marker(1)->pos(), s.first);
        QCOMPARE(mainForm->PicCanvas->width() >= s.image.right(), true);
        QCOMPARE(mainForm->PicCanvas->height() >= s.image.bottom(), true);
    }
    QCOMPARE(mainForm->mainImage->picture().size(), QSize(1000, 500));
}

void TestZoom::scrollPositionsFollowTheStep() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    mainForm->sbZoomPlus->trigger();
    mainForm->sbZoomPlus->trigger();
    QScrollBar* h = mainForm->ScrollBox->horizontalScrollBar();
    QScrollBar* v = mainForm->ScrollBox->verticalScrollBar();
    h->setValue(101);
    v->setValue(50);
    mainForm->sbZoomPlus->trigger();
    QCOMPARE(h->value(), 202);
    QCOMPARE(v->value(), 100);
    mainForm->sbZoomMinus->trigger();
    QCOMPARE(h->value(), 101);
    QCOMPARE(v->value(), 50);
    mainForm->sbZoomMinus->trigger();
    QCOMPARE(h->value(), 50); // nearest(50.5)
    QCOMPARE(v->value(), 25);
}

void TestZoom::fittedSizeKeepsThePartAndSelection() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    const QRect fitted = mainForm->mainImage->geometry();
    const QPoint placed = marker(3)->pos();
    click(marker(3));
    mainForm->sbZoomPlus->trigger();
    mainForm->sbZoomPlus->trigger();
    mainForm->miNorm->trigger();
    QCOMPARE(mainForm->ZoomLevel, 1);
    QCOMPARE(mainForm->mainImage->geometry(), fitted);
    QCOMPARE(marker(3)->pos(), placed);
    QCOMPARE(zoomItems(), QString("101"));
    QVERIFY(!scrollBarsShown());
    QVERIFY(mainForm->partShown());
    QCOMPARE(mainForm->lbN->text(), QString("50.12.003-1"));
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));
    QVERIFY(mainForm->statusText().startsWith("Примечание: "));
}

void TestZoom::missingLargeBitmapLeavesTheView() {
    CatalogFixture f;
    const QString path = f.picDir() + "big/1_1.bmp";
    QVERIFY(QFile::remove(path));
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    const QRect fitted = mainForm->mainImage->geometry();
    ModalScript script;
    script.press("bOK");
    mainForm->sbZoomPlus->trigger();
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains(path), qPrintable(script.messages[0]));
    QCOMPARE(mainForm->ZoomLevel, 1);
    QCOMPARE(mainForm->mainImage->geometry(), fitted);
    QCOMPARE(mainForm->mainImage->picture().size(), QSize(400, 300));
    QCOMPARE(zoomItems(), QString("101"));
    QVERIFY(!scrollBarsShown());
    QVERIFY(script.unexpected.isEmpty());
}

void TestZoom::largeBitmapIsReadAgainWhenItChanges() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    const int base = mainForm->BaseWidth;
    mainForm->sbZoomPlus->trigger();
    QCOMPARE(mainForm->mainImage->height(), int(std::nearbyint(base * 2 * 600.0 / 800)));
    QVERIFY(writePicture(f.picDir() + "big/1_1.bmp", QSize(800, 800)));
    mainForm->sbZoomPlus->trigger();
    QCOMPARE(mainForm->mainImage->size(), QSize(base * 3, base * 3));
}

void TestZoom::stepsRunThroughVisibleModifications() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    QCOMPARE(stepItems(), QString("01"));
    mainForm->sbZoomPlus->trigger();
    // Forward through modification 1, on into 2; 3 is hidden, so the last step ends there.
    const QStringList forward = {"1/2", "1/3", "2/1", "2/2"};
    const QStringList flags = {"11", "11", "11", "10"};
    for (int i = 0; i < forward.size(); ++i) {
        (i % 2 ? mainForm->miNext : mainForm->sbNext)->trigger();
        QCOMPARE(shown(), forward[i]);
        QCOMPARE(stepItems(), flags[i]);
        QCOMPARE(mainForm->ZoomLevel, 1);
        QCOMPARE(zoomItems(), QString("101"));
    }
    const QStringList back = {"2/1", "1/3", "1/2", "1/1"};
    const QStringList backFlags = {"11", "11", "11", "01"};
    for (int i = 0; i < back.size(); ++i) {
        (i % 2 ? mainForm->miPred : mainForm->sbPred)->trigger();
        QCOMPARE(shown(), back[i]);
        QCOMPARE(stepItems(), backFlags[i]);
    }
}

void TestZoom::stepsSkipAHiddenModification() {
    CatalogFixture f;
    f.exec("update Modif set Visible=False where modif=2");
    f.exec("update Modif set Visible=True where modif=3");
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 3);
    mainForm->sbNext->trigger();
    QCOMPARE(shown(), QString("3/1"));
    QCOMPARE(stepItems(), QString("10"));
    QCOMPARE(mainForm->lbMOD->text(), QString("М-315.04-02"));
    mainForm->sbPred->trigger();
    QCOMPARE(shown(), QString("1/3"));
    QCOMPARE(stepItems(), QString("11"));
}

void TestZoom::stepsAfterTheVisibleSetChangedStayPut() {
    {
        // Modification 1 hidden after drawing 1 of modification 2 was opened.
        CatalogFixture f;
        auto forms = startShown(f);
        QVERIFY(forms);
        openDrawing(2, 1);
        QCOMPARE(stepItems(), QString("11"));
        ModalScript script;
        uncheckInSettings(script, 0);
        QCOMPARE(stepItems(), QString("11"));
        mainForm->sbPred->trigger();
        QCOMPARE(shown(), QString("2/1"));
        QCOMPARE(stepItems(), QString("01"));
        QVERIFY(script.unexpected.isEmpty());
    }
    {
        // No modification visible: the empty drawing panel offers "next", which has nowhere
        // to go.
        CatalogFixture f;
        f.exec("update Modif set Visible=False");
        auto forms = startShown(f);
        QVERIFY(forms);
        QCOMPARE(mainForm->CurrentModif, 0);
        mainForm->pressPanelButton(mainForm->sbPic);
        QVERIFY(mainForm->sbNext->isEnabled());
        mainForm->sbNext->trigger();
        QCOMPARE(shown(), QString("0/0"));
        QVERIFY(!mainForm->sbNext->isEnabled());
    }
}

void TestZoom::stepsFollowModificationNumbersWithGaps() {
    // Modifications 1, 2, 4 (hidden) and 7: list positions are not modification numbers.
    CatalogFixture f(false);
    const struct {
        int modif;
        bool visible;
        int pictures;
    } modifs[] = {{1, true, 1}, {2, true, 1}, {4, false, 1}, {7, true, 2}};
    for (const auto& m : modifs) {
        f.addModif(m.modif, QString("М-315.04-%1").arg(m.modif), m.visible, m.pictures);
        f.addGroup(m.modif, 1, "01", "Двигатель");
        for (int pic = 1; pic <= m.pictures; ++pic)
            f.addDrawing(m.modif, pic, 1, pic, QString("Рисунок %1").arg(pic));
    }
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    QCOMPARE(stepItems(), QString("01"));
    const QStringList forward = {"2/1", "7/1", "7/2"};
    const QStringList flags = {"11", "11", "10"};
    for (int i = 0; i < forward.size(); ++i) {
        mainForm->sbNext->trigger();
        QCOMPARE(shown(), forward[i]);
        QCOMPARE(stepItems(), flags[i]);
    }
    const QStringList back = {"7/1", "2/1", "1/1"};
    const QStringList backFlags = {"11", "11", "01"};
    for (int i = 0; i < back.size(); ++i) {
        mainForm->sbPred->trigger();
        QCOMPARE(shown(), back[i]);
        QCOMPARE(stepItems(), backFlags[i]);
    }
}

CATALOG_TEST_MAIN(TestZoom)
#include "tst_zoom.moc"
