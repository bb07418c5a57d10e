// Enlarging and reducing the drawing, and stepping to the previous or next drawing across the
// visible modifications.
#include "app/mainform.h"

#include "data/datamod.h"
#include "data/shared.h"
#include "data/textfmt.h"
#include "viewer/fit.h"
#include "viewer/image.h"
#include "viewer/marker.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

void TmainForm::sbZoomPlusClick() {
    // Read before anything changes, so a missing large bitmap leaves the view as it is.
    const QImage large = mainImage->largeBitmap(bitmapPath(QStringLiteral("big")));
    showScrollBars(true);
    mainImage->move(0, 0);
    CanZoomMinus = true;
    mainImage->setPicture(large);
    ++ZoomLevel;
    const int width = BaseWidth * ZoomLevel;
    mainImage->resize(width, Fmt::nearestInt(double(large.height()) * width / large.width()));
    coverImage();
    if (ZoomLevel == 4) CanZoomPlus = false;
    ScrollX = 2 * ScrollBox->horizontalScrollBar()->value();
    ScrollY = 2 * ScrollBox->verticalScrollBar()->value();
    RescaleMarkers();
    sbEnabled();
}

void TmainForm::sbZoomMinusClick() {
    // Between two steps (after the wheel) the reduction goes to the step below.
    if (mainImage->width() > BaseWidth * ZoomLevel) ++ZoomLevel;
    const bool toFitted = ZoomLevel - 1 <= 1;
    const QImage small = toFitted ? readBitmap(bitmapPath(QStringLiteral("small"))) : QImage();
    CanZoomPlus = true;
    --ZoomLevel;
    if (!toFitted) {
        mainImage->resize(BaseWidth * ZoomLevel, BaseHeight * ZoomLevel);
    } else {
        const QSize large = mainImage->picture().size();
        mainImage->setPicture(small);
        showScrollBars(false);
        CanZoomMinus = false;
        mainImage->setGeometry(
            Fit::afterReduce(ScrollBox->size(), large, small.size(), QSize(BaseWidth, BaseHeight)));
    }
    coverImage();
    ScrollX = Fmt::nearestInt(ScrollBox->horizontalScrollBar()->value() / 2.0);
    ScrollY = Fmt::nearestInt(ScrollBox->verticalScrollBar()->value() / 2.0);
    RescaleMarkers();
    sbEnabled();
}

void TmainForm::wheelZoom(const QPoint& at, double steps) {
    // Eight notches of the wheel double the scale.
    constexpr double notch = 1.09;
    constexpr double maxScale = 4;
    const double scale = double(mainImage->width()) / BaseWidth;
    const double wanted = std::clamp(scale * std::pow(notch, steps), 1.0, maxScale);
    if (std::abs(wanted - scale) * BaseWidth < 1) return;
    if (wanted <= 1) return sbZoomNormClick();

    QScrollBar* h = ScrollBox->horizontalScrollBar();
    QScrollBar* v = ScrollBox->verticalScrollBar();
    const QRect img = mainImage->geometry();
    const double fx = std::clamp(double(at.x() + h->value() - img.x()) / img.width(), 0.0, 1.0);
    const double fy = std::clamp(double(at.y() + v->value() - img.y()) / img.height(), 0.0, 1.0);
    const QImage large = mainImage->largeBitmap(bitmapPath(QStringLiteral("big")));
    showScrollBars(true);
    mainImage->move(0, 0);
    mainImage->setPicture(large);
    const int width = Fmt::nearestInt(BaseWidth * wanted);
    const int height = Fmt::nearestInt(double(large.height()) * width / large.width());
    mainImage->resize(width, height);
    coverImage();
    ZoomLevel = std::clamp(int(std::floor(wanted + 1e-9)), 1, 4);
    CanZoomMinus = true;
    CanZoomPlus = ZoomLevel < 4;
    ScrollX = Fmt::nearestInt(fx * width - at.x());
    ScrollY = Fmt::nearestInt(fy * height - at.y());
    RescaleMarkers();
    sbEnabled();
}

void TmainForm::sbZoomNormClick() {
    // The reload itself returns the level and the zoom flags to the fitted size.
    KeepInfo = true;
    LoadNewImage();
}

void TmainForm::RescaleMarkers() {
    QScrollBar* h = ScrollBox->horizontalScrollBar();
    QScrollBar* v = ScrollBox->verticalScrollBar();
    h->setValue(0);
    v->setValue(0);
    const QRect img = mainImage->geometry();
    TQuery& q = dm->QPic;
    int i = 0;
    for (q.first(); !q.eof(); q.next(), ++i)
        Markers[i]->move(Fmt::nearestInt(q.asFloat(QStringLiteral("Hor")) * img.width() / 100) +
                             img.x() - 7 - Markers[i]->overhang(),
                         Fmt::nearestInt(q.asFloat(QStringLiteral("Ver")) * img.height() / 100) +
                             img.y() - 7);
    h->setValue(ScrollX);
    v->setValue(ScrollY);
}

void TmainForm::sbNextClick() {
    int pic = CurrentPic + 1;
    int modif = CurrentModif;
    if (pic > lastPicOf(modif)) {
        modif = Shared->nextVisibleModif(modif);
        // The visible modifications may have changed since the flag was computed.
        if (modif == 0) {
            CanNext = false;
            sbEnabled();
            return;
        }
        pic = 1;
    }
    LabelVisible(false);
    // Moving to another drawing ends stepping through the found parts.
    sbNextItem->setEnabled(false);
    sbPredItem->setEnabled(false);
    CanZoomNorm = true;
    CanZoomMinus = false;
    CanZoomPlus = true;
    CurrentPic = pic;
    CurrentModif = modif;
    sbEnabled();
    LoadNewImage();
}

void TmainForm::sbPredClick() {
    int pic = CurrentPic - 1;
    int modif = CurrentModif;
    if (pic <= 0) {
        modif = Shared->previousVisibleModif(modif);
        if (modif == 0) {
            CanPred = false;
            sbEnabled();
            return;
        }
        pic = lastPicOf(modif);
    }
    LabelVisible(false);
    // Moving to another drawing ends stepping through the found parts.
    sbNextItem->setEnabled(false);
    sbPredItem->setEnabled(false);
    CanZoomMinus = false;
    CanZoomPlus = true;
    CanNext = true;
    CurrentPic = pic;
    CurrentModif = modif;
    sbEnabled();
    LoadNewImage();
}
