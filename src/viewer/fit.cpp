#include "viewer/fit.h"

#include "data/textfmt.h"

namespace Fit {

QRect atLoad(QSize box, QSize picture) {
    const double W = box.width(), H = box.height();
    const double pw = picture.width(), ph = picture.height();
    if (pw >= ph * (W - 10) / (H - 10)) {
        const int width = box.width();
        const int height = Fmt::nearestInt(ph * width / pw);
        return QRect(0, Fmt::nearestInt((H - height) / 2), width, height);
    }
    const int height = box.height() - 10;
    const int width = Fmt::nearestInt(pw * height / ph);
    return QRect(Fmt::nearestInt((W - width) / 2), 0, width, height);
}

QRect afterReduce(QSize box, QSize large, QSize small, QSize base) {
    const double W = box.width(), H = box.height();
    if ((W - 10) / (H - 10) >= double(large.width()) / large.height()) {
        const int height = base.height();
        const int width = Fmt::nearestInt(double(small.width()) * height / small.height());
        return QRect(Fmt::nearestInt((W - width) / 2), 0, width, height);
    }
    const int width = base.width();
    const int height = Fmt::nearestInt(double(small.height()) * width / small.width());
    return QRect(0, Fmt::nearestInt((H - height) / 2), width, height);
}

} // namespace Fit
