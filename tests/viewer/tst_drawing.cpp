// Loading a drawing: the fit, the markers and their rings, the title and the part panel.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"
#include "support/viewertest.h"
#include "viewer/fit.h"
#include "viewer/image.h"
#include "viewer/marker.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QTableWidget>
#include <QToolButton>

using namespace ViewerTest;

class TestDrawing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fitAtLoad_data();
    void fitAtLoad();
    void fitAfterReduce_data();
    void fitAfterReduce();
    void loadFitsTheBitmapAndPlacesMarkers_data();
    void loadFitsTheBitmapAndPlacesMarkers();
    void titleLabelsAppearWithTheFirstDrawing();
    void drawingWithoutPositionsNamesItself();
    void ringsJoinConsecutiveRowsOfOnePart();
    void markersAreReusedAndSpareOnesHidden();
    void seekTargetFindsTheMarkerOfAPosition();
    void partPanelShowsThePart_data();
    void partPanelShowsThePart();
    void priceRowsFollowVisibleColumnsAndRate();
    void unfocusedPriceGridShowsNoSelectionBar();
    void bitmapsOfOtherFormatsLoad_data();
    void bitmapsOfOtherFormatsLoad();
    void unreadableBitmapKeepsTheDrawingShown_data();
    void unreadableBitmapKeepsTheDrawingShown();
    void otherModificationWithSameNumberDropsSelection();
};

void TestDrawing::fitAtLoad_data() {
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("fitted");
    // Wide pictures take the box width and are centred vertically; nearest(2.5) = 2.
    QTest::newRow("2000x1000 in 810x410")
        << QSize(810, 410) << QSize(2000, 1000) << QRect(0, 2, 810, 405);
    QTest::newRow("exactly the box ratio is wide")
        << QSize(810, 410) << QSize(1000, 500) << QRect(0, 2, 810, 405);
    QTest::newRow("wider") << QSize(810, 410) << QSize(1620, 500) << QRect(0, 80, 810, 250);
    // Taller pictures take H - 10 and are centred horizontally: nearest(5.5) = 6.
    QTest::newRow("a little taller") << QSize(810, 410) << QSize(999, 500) << QRect(6, 0, 799, 400);
    QTest::newRow("tall") << QSize(810, 410) << QSize(1000, 2000) << QRect(305, 0, 200, 400);
    QTest::newRow("half to even width")
        << QSize(810, 410) << QSize(401, 400) << QRect(204, 0, 401, 400);
}

void TestDrawing::fitAtLoad() {
    QFETCH(QSize, box);
    QFETCH(QSize, picture);
    QFETCH(QRect, fitted);
    QCOMPARE(Fit::atLoad(box, picture), fitted);
}

void TestDrawing::fitAfterReduce_data() {
    QTest::addColumn<QSize>("large");
    QTest::addColumn<QSize>("small");
    QTest::addColumn<QSize>("base");
    QTest::addColumn<QRect>("fitted");
    // At the box ratio the reduction keeps the height and stays at the top.
    QTest::newRow("box ratio") << QSize(4000, 2000) << QSize(2000, 1000) << QSize(810, 405)
                               << QRect(0, 0, 810, 405);
    QTest::newRow("wide") << QSize(3240, 1000) << QSize(1620, 500) << QSize(810, 250)
                          << QRect(0, 80, 810, 250);
    QTest::newRow("tall") << QSize(2000, 4000) << QSize(1000, 2000) << QSize(200, 400)
                          << QRect(305, 0, 200, 400);
}

void TestDrawing::fitAfterReduce() {
    QFETCH(QSize, large);
    QFETCH(QSize, small);
    QFETCH(QSize, base);
    QFETCH(QRect, fitted);
    QCOMPARE(Fit::afterReduce(QSize(810, 410), large, small, base), fitted);
}

void TestDrawing::loadFitsTheBitmapAndPlacesMarkers_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("fitted");
    QTest::addColumn<QPoint>("first"); // marker of position 1 (10 % down, 10 % across)
    QTest::newRow("wide") << QSize(2000, 1000) << QRect(0, 2, 810, 405) << QPoint(73, 34);
    QTest::newRow("tall") << QSize(1000, 2000) << QRect(305, 0, 200, 400) << QPoint(317, 32);
}

void TestDrawing::loadFitsTheBitmapAndPlacesMarkers() {
    QFETCH(QSize, picture);
    QFETCH(QRect, fitted);
    QFETCH(QPoint, first);
    CatalogFixture f;
    QVERIFY(writePicture(f.picDir() + "small/1_1.bmp", picture));
    auto forms = startShown(f);
    QVERIFY(forms);
    mainForm->ScrollBox->resize(810, 410);
    openDrawing(1, 1);

    QCOMPARE(mainForm->mainImage->geometry(), fitted);
    QCOMPARE(mainForm->mainImage->picture().size(), picture);
    QCOMPARE(mainForm->BaseWidth, fitted.width());
    QCOMPARE(mainForm->BaseHeight, fitted.height());
    QCOMPARE(mainForm->ZoomLevel, 1);
    QCOMPARE(mainForm->LastPic, 1);
    QCOMPARE(mainForm->MarkerCount, 6);
    QCOMPARE(marker(1)->pos(), first);
    QCOMPARE(marker(1)->size(), QSize(16, 16));
    QCOMPARE(marker(1)->toolTip(), QString("50-1002010 Блок цилиндров в сборе"));
    QVERIFY(marker(1)->isVisible());
    QVERIFY(!marker(0)->isVisible());
    QVERIFY(mainForm->sbPrint->isEnabled());
    QVERIFY(!mainForm->partShown());
    // The canvas covers the box, so markers scroll with the drawing inside it.
    QCOMPARE(mainForm->mainImage->parentWidget(), mainForm->PicCanvas);
    QCOMPARE(marker(1)->parentWidget(), mainForm->PicCanvas);
}

void TestDrawing::titleLabelsAppearWithTheFirstDrawing() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    QVERIFY(mainForm->LabelMOD->isHidden());
    QVERIFY(mainForm->lbPicName->isHidden());
    // Before the first drawing no part is shown either, even on the drawing panel.
    mainForm->pressPanelButton(mainForm->sbPic);
    QVERIFY(!mainForm->partShown());
    QVERIFY(mainForm->lbN->isHidden());
    QVERIFY(!mainForm->sbOrder->isEnabled());
    openDrawing(1, 1);
    QVERIFY(!mainForm->LabelMOD->isHidden());
    QCOMPARE(mainForm->lbMOD->text(), QString("М-315.04"));
    QCOMPARE(mainForm->lbG->text(), QString("01: Двигатель"));
    QCOMPARE(mainForm->lbPicName->text(), QString("Блок цилиндров"));
    // A drawing of no group ("00") shows no group.
    f.addPart(1, "50-0000001", "Табличка");
    f.addOccurrence(1, "50-0000001", "", 3, 1);
    f.addPlace(1, 3, 1, 50, 50);
    openDrawing(1, 3);
    QCOMPARE(mainForm->lbG->text(), QString());
    QCOMPARE(mainForm->lbPicName->text(), QString("Общий вид"));
}

void TestDrawing::drawingWithoutPositionsNamesItself() {
    CatalogFixture f;
    f.addDrawing(2, 3, 1, 3, "Прокладки");
    f.exec("update Modif set PIC=3 where modif=2");
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    // Neither drawing has a position: the title still names the drawing shown.
    openDrawing(2, 3);
    QCOMPARE(mainForm->MarkerCount, 0);
    QCOMPARE(mainForm->lbMOD->text(), QString("М-315.04-01"));
    QCOMPARE(mainForm->lbG->text(), QString("01: Двигатель"));
    QCOMPARE(mainForm->lbPicName->text(), QString("Прокладки"));
    openDrawing(1, 3);
    QCOMPARE(mainForm->MarkerCount, 0);
    QCOMPARE(mainForm->lbMOD->text(), QString("М-315.04"));
    QCOMPARE(mainForm->lbG->text(), QString());
    QCOMPARE(mainForm->lbPicName->text(), QString("Общий вид"));
}

void TestDrawing::ringsJoinConsecutiveRowsOfOnePart() {
    CatalogFixture f;
    // Drawing 2 of modification 1: A at 3 and 7 with B between, C at 8 and 9, E twice at 10,
    // and a numberless D at 0.
    for (const auto& [n, name] : {std::pair{"A-1", "Болт"},
                                  {"B-1", "Гайка"},
                                  {"C-1", "Шайба"},
                                  {"D-1", "Узел"},
                                  {"E-1", "Штифт"}})
        f.addPart(1, n, name);
    for (const auto& [n, pos] : {std::pair{"A-1", 3},
                                 {"B-1", 5},
                                 {"A-1", 7},
                                 {"C-1", 8},
                                 {"C-1", 9},
                                 {"D-1", 0},
                                 {"E-1", 10}})
        f.addOccurrence(1, n, "", 2, pos);
    for (int pos : {3, 5, 7, 8, 9, 0})
        f.addPlace(1, 2, pos, 50, 5 * pos);
    f.addPlace(1, 2, 10, 20, 90);
    f.addPlace(1, 2, 10, 80, 90);
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 2);

    // Rows in position order: 0 D, 1 (brake assembly), 3 A, 5 B, 7 A, 8 C, 9 C, 10 E, 10 E.
    QCOMPARE(mainForm->MarkerCount, 9);
    QList<int> tags;
    for (int i = 0; i < mainForm->MarkerCount; ++i)
        tags << mainForm->Markers[i]->Tag;
    QCOMPARE(tags, QList<int>({0, 1, 2, 3, 4, 6, 5, 8, 7}));
    QVERIFY(mainForm->Markers[0]->isHidden());

    click(marker(8));
    QCOMPARE(looks(), QString("0:n 1:n 3:n 5:n 7:n 8:s 9:s 10:n 10:n"));
    click(marker(3));
    QCOMPARE(looks(), QString("0:n 1:n 3:s 5:n 7:n 8:n 9:n 10:n 10:n"));
    click(mainForm->Markers[8]);
    QCOMPARE(looks(), QString("0:n 1:n 3:n 5:n 7:n 8:n 9:n 10:s 10:s"));
}

void TestDrawing::markersAreReusedAndSpareOnesHidden() {
    CatalogFixture f;
    // Drawing 2 of modification 2 gets 60 positions (its own 1 and 2 .. 60), drawing 3 of
    // modification 1 gets 20.
    for (int pos = 2; pos <= 60; ++pos) {
        const QString n = QString("60-%1").arg(pos);
        f.addPart(2, n, "Деталь");
        f.addOccurrence(2, n, "", 2, pos);
        f.addPlace(2, 2, pos, pos, pos);
        if (pos <= 21) {
            f.addPart(1, n, "Деталь");
            f.addOccurrence(1, n, "", 3, pos);
            f.addPlace(1, 3, pos, pos, pos);
        }
    }
    auto forms = startShown(f);
    QVERIFY(forms);
    QCOMPARE(mainForm->Markers.size(), 50);
    openDrawing(2, 2);
    QCOMPARE(mainForm->Markers.size(), 60);
    QCOMPARE(mainForm->MarkerCount, 60);
    QCOMPARE(mainForm->Markers[59]->text(), QString("60"));
    QVERIFY(mainForm->Markers[59]->isVisible());
    TMarker* first = mainForm->Markers[0];
    openDrawing(1, 3);
    QCOMPARE(mainForm->Markers.size(), 60);
    QCOMPARE(mainForm->Markers[0], first);
    QCOMPARE(mainForm->MarkerCount, 20);
    for (int i = 20; i < 60; ++i)
        QVERIFY(mainForm->Markers[i]->isHidden());
}

void TestDrawing::seekTargetFindsTheMarkerOfAPosition() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    mainForm->CurrentModif = 1;
    mainForm->CurrentPic = 1;
    mainForm->SeekTarget = true;
    mainForm->TargetPos = 4;
    mainForm->LoadNewImage();
    QCOMPARE(mainForm->TargetMarker, 4);
    QVERIFY(!mainForm->SeekTarget);
    QCOMPARE(mainForm->Markers[4]->text(), QString("4"));
}

void TestDrawing::partPanelShowsThePart_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("prices");
    QTest::addColumn<QString>("remark");
    QTest::newRow("VAT rounds half-way cents up by the even rule")
        << 3 << "50.12.003-1"
        << "0,125"
        << "кг."
        << QStringList{"Цена|10,005 руб./шт.", "Цена с НДС|12,01 руб./шт.", "Цена ЮЛЗ|9,5 руб./шт.",
                       "Цена ЮЛЗ с НДС|11,4 руб./шт."}
        << "Применяется до 2005 г.";
    QTest::newRow("whole prices") << 2 << "50-1002015"
                                  << "2,35"
                                  << "кг."
                                  << QStringList{"Цена|100 руб./шт.", "Цена с НДС|120 руб./шт.",
                                                 "Цена ЮЛЗ|90 руб./шт.",
                                                 "Цена ЮЛЗ с НДС|108 руб./шт."}
                                  << "";
    QTest::newRow("no weight, no price")
        << 5 << "ИЗ-12.001"
        << ""
        << "не указан"
        << QStringList{"Цена|не указана", "Цена с НДС|не указана", "Цена ЮЛЗ|не указана",
                       "Цена ЮЛЗ с НДС|не указана"}
        << "";
}

void TestDrawing::partPanelShowsThePart() {
    QFETCH(int, position);
    QFETCH(QString, number);
    QFETCH(QString, weight);
    QFETCH(QString, unit);
    QFETCH(QStringList, prices);
    QFETCH(QString, remark);
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    QVERIFY(!mainForm->sbOrder->isEnabled());
    click(marker(position));

    QVERIFY(mainForm->partShown());
    QVERIFY(mainForm->sbOrder->isEnabled());
    QCOMPARE(mainForm->lbN->text(), number);
    QCOMPARE(mainForm->lbN->toolTip(), number);
    QCOMPARE(mainForm->lbKg->text(), unit);
    QCOMPARE(mainForm->lbV->isVisible(), !weight.isEmpty());
    if (!weight.isEmpty()) {
        QCOMPARE(mainForm->lbV->text(), weight);
        QCOMPARE(mainForm->lbKg->x(), mainForm->lbV->x() + mainForm->lbV->width() + 5);
    } else {
        QCOMPARE(mainForm->lbKg->x(), mainForm->lbV->x());
    }
    QStringList shown;
    for (int r = 0; r < mainForm->sgPrice->rowCount(); ++r)
        shown << mainForm->sgPrice->item(r, 0)->text() + "|" +
                     mainForm->sgPrice->item(r, 1)->text();
    QCOMPARE(shown, prices);
    QCOMPARE(mainForm->statusText(), "Примечание: " + remark);
    QCOMPARE(mainForm->statusHint(), remark);
    QCOMPARE(mainForm->CurN, number);
    QCOMPARE(mainForm->CurName, mainForm->lbName->text());
    QCOMPARE(mainForm->CurV, mainForm->lbV->text());
    // No standardized item behind these parts.
    QVERIFY(mainForm->sbDop->isHidden());
    QVERIFY(!mainForm->sbSelSE->isHidden());
}

void TestDrawing::priceRowsFollowVisibleColumnsAndRate() {
    CatalogFixture f;
    f.exec("update PriceFields set Visible=False where FieldName='PriceZ'");
    f.exec("insert into STD (N_f, N, Name, modif, N_Gost) values ('501002015', '50-1002015', "
           "'Гильза цилиндра', 1, 'ГОСТ 1')");
    auto forms = startShown(f);
    QVERIFY(forms);
    Shared->setNdsPercent(10);
    openDrawing(1, 1);
    click(marker(2));
    QCOMPARE(mainForm->sgPrice->rowCount(), 2);
    QCOMPARE(mainForm->sgPrice->item(1, 1)->text(), QString("110 руб./шт."));
    QCOMPARE(mainForm->lbKol->text(), QString("4"));
    QCOMPARE(mainForm->lbOKP->text(), QString("472112"));
    QCOMPARE(mainForm->ComboBoxSE->currentText(), QString("50-1002010"));
    QVERIFY(!mainForm->sbDop->isHidden()); // a standardized item

    f.exec("update PriceFields set Visible=False");
    click(marker(3));
    QCOMPARE(mainForm->sgPrice->rowCount(), 1);
    QVERIFY(!mainForm->sgPrice->item(0, 0));
    QVERIFY(mainForm->sbDop->isHidden());
}

void TestDrawing::unfocusedPriceGridShowsNoSelectionBar() {
    CatalogFixture f;
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(2));
    QTableWidget* grid = mainForm->sgPrice;
    grid->setCurrentCell(0, 1);
    QVERIFY(grid->item(0, 1)->isSelected());
    QVERIFY(!grid->hasFocus());
    const QRect cell = grid->visualItemRect(grid->item(0, 1));
    const QImage shot = grid->viewport()->grab().toImage();
    const QColor plain = grid->palette().color(QPalette::Base);
    QCOMPARE(shot.pixelColor(cell.right() - 2, cell.bottom() - 1), plain);
    QCOMPARE(shot.pixelColor(cell.left() + 1, cell.top() + 1), plain);
}

void TestDrawing::bitmapsOfOtherFormatsLoad_data() {
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("depth");
    QTest::newRow("8-bit bmp") << QByteArray("BMP") << int(QImage::Format_Indexed8);
    QTest::newRow("png named bmp") << QByteArray("PNG") << int(QImage::Format_RGB32);
    QTest::newRow("jpeg named bmp") << QByteArray("JPEG") << int(QImage::Format_RGB32);
}

void TestDrawing::bitmapsOfOtherFormatsLoad() {
    QFETCH(QByteArray, format);
    QFETCH(int, depth);
    CatalogFixture f;
    QVERIFY(writePicture(f.picDir() + "small/1_2.bmp", QSize(321, 123), format.constData(),
                         QImage::Format(depth)));
    auto forms = startShown(f);
    QVERIFY(forms);
    ModalScript script;
    openDrawing(1, 2);
    QVERIFY2(script.messages.isEmpty(), qPrintable(script.messages.join("; ")));
    QCOMPARE(mainForm->mainImage->picture().size(), QSize(321, 123));
}

void TestDrawing::unreadableBitmapKeepsTheDrawingShown_data() {
    QTest::addColumn<bool>("garbage"); // false: the file is missing
    QTest::newRow("missing") << false;
    QTest::newRow("not a picture") << true;
}

void TestDrawing::unreadableBitmapKeepsTheDrawingShown() {
    QFETCH(bool, garbage);
    CatalogFixture f;
    const QString path = f.picDir() + "small/1_2.bmp";
    QFile::remove(path);
    if (garbage) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BM this is no bitmap at all");
    }
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(3));
    const QImage shown = mainForm->mainImage->picture();
    const QRect where = mainForm->mainImage->geometry();

    ModalScript script;
    script.press("bOK");
    mainForm->pressPanelButton(mainForm->sbTree);
    clickNode(treeLeaf(1, 2));
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains(path), qPrintable(script.messages[0]));
    QVERIFY(script.unexpected.isEmpty());

    // The tree stays in front; the drawing, its markers and the selection stay as they were.
    QVERIFY(!mainForm->panelTree->isHidden());
    QCOMPARE(mainForm->CurrentPic, 1);
    QCOMPARE(mainForm->CurrentModif, 1);
    QCOMPARE(mainForm->mainImage->picture(), shown);
    QCOMPARE(mainForm->mainImage->geometry(), where);
    QCOMPARE(mainForm->MarkerCount, 6);
    QCOMPARE(looks(), QString("0:n 1:n 2:n 3:s 4:s 5:n"));

    // And the program goes on: back on the drawing, the next step and a click work.
    mainForm->pressPanelButton(mainForm->sbPic);
    QVERIFY(mainForm->sbNext->isEnabled());
    QVERIFY(!mainForm->sbPred->isEnabled());
    click(marker(2));
    QCOMPARE(mainForm->lbN->text(), QString("50-1002015"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestDrawing::otherModificationWithSameNumberDropsSelection() {
    CatalogFixture f;
    for (int pos : {2, 3}) {
        const QString n = QString("70-%1").arg(pos);
        f.addPart(2, n, "Деталь");
        f.addOccurrence(2, n, "", 1, pos);
        f.addPlace(2, 1, pos, 50, 10 * pos);
    }
    auto forms = startShown(f);
    QVERIFY(forms);
    openDrawing(1, 1);
    click(marker(1));
    QCOMPARE(lookOf(mainForm->Markers[1]), Look::Selected);
    // Drawing 1 of the next modification reuses the markers: none may stay red.
    openDrawing(2, 1);
    QCOMPARE(mainForm->CurrentModif, 2);
    QCOMPARE(looks(), QString("1:n 2:n 3:n"));
    QVERIFY(!mainForm->partShown());
}

CATALOG_TEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
