#pragma once

#include <QRect>
#include <QSize>

// Where the fitted drawing lies in the scroll box (W x H), halves rounded to even.
namespace Fit {

// At a load: a picture relatively wider than the box (less a 10-pixel margin) takes the box
// width and is centred vertically; otherwise it takes the height H - 10 and is centred
// horizontally.
QRect atLoad(QSize box, QSize picture);

// Back from an enlargement to level 1: large is the bitmap shown before (its proportions
// decide), small the fitted one, base the size of the last load's fit. The coordinate across
// the kept side stays 0.
QRect afterReduce(QSize box, QSize large, QSize small, QSize base);

} // namespace Fit
