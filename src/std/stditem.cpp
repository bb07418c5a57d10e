#include "std/stditem.h"

#include "data/textfmt.h"
#include "data/tquery.h"

#include <QFileInfo>

namespace StdItem {

namespace {

constexpr int ParamCount = 13;

QString paramValue(const TQuery& row, int n) {
    return row.asString(QStringLiteral("Param%1").arg(n));
}

QString paramName(const TQuery& row, int n) {
    return row.asString(QStringLiteral("ParamName%1").arg(n));
}

} // namespace

QString twoDigits(int value) {
    return value >= 0 && value < 10 ? QStringLiteral("0%1").arg(value) : QString::number(value);
}

QString panelPicture(int modif, int podGroup, int picGost) {
    return QStringLiteral("%1_%2%3.bmp").arg(modif).arg(twoDigits(podGroup), twoDigits(picGost));
}

QString sheetPicture(int podGroup, int picGost) {
    return QStringLiteral("s%1%2.bmp").arg(twoDigits(podGroup), twoDigits(picGost));
}

QString pictureOrFallback(const QString& dir, const QString& name, const QString& fallback) {
    const QString own = dir + name;
    return QFileInfo::exists(own) ? own : dir + fallback;
}

QRect panelFit(QSize box, QSize picture) {
    const double W = box.width(), H = box.height();
    const double w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0 || H <= 0) return QRect(QPoint(0, 0), box);
    if (h * W / H > w) {
        const int width = Fmt::nearestInt(w * H / h);
        return QRect(Fmt::nearestInt((W - width) / 2), 0, width, box.height());
    }
    const int height = Fmt::nearestInt(h * W / w);
    return QRect(0, Fmt::nearestInt((H - height) / 2), box.width(), height);
}

QSize sheetSize(QSize picture) {
    const double w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0) return QSize(400, 800);
    if (w >= h * 400 / 800) return QSize(400, Fmt::nearestInt(h * 400 / w));
    return QSize(Fmt::nearestInt(w * 800 / h), 800);
}

std::vector<Param> panelParams(const TQuery& row) {
    std::vector<Param> params;
    for (int n = 1; n <= ParamCount; ++n) {
        const QString value = paramValue(row, n);
        if (!value.isEmpty()) params.push_back({paramName(row, n), value});
    }
    return params;
}

std::vector<Param> sheetParams(const TQuery& row) {
    std::vector<Param> params;
    for (int n = 1; n <= ParamCount; ++n) {
        const QString name = paramName(row, n);
        if (name.isEmpty()) break;
        const QString value = paramValue(row, n);
        if (!value.isEmpty()) params.push_back({name, value});
    }
    return params;
}

} // namespace StdItem
