#pragma once

// What the benchmarks share: medians and timers, statements run straight through SQLite on the
// catalogue's own connection (the floors the program's figures stand beside), and bitmaps
// written and decoded as the viewer reads them.
#include "data/connection.h"
#include "data/datamod.h"
#include "data/schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>
#include <vector>

namespace Bench {

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// The open catalogue's SQLite connection.
inline sqlite3* handle() {
    return DM->Database->handle();
}

// Runs a statement to its last row (or its first limit rows), reading every column as text, and
// returns the rows; a statement SQLite refuses ends the benchmark with its message.
inline int readAll(const QString& sql, int limit = -1) {
    sqlite3* db = handle();
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n%s\n", sqlite3_errmsg(db), text.constData());
        std::exit(2);
    }
    int rows = 0;
    const int columns = sqlite3_column_count(st);
    while (rows != limit && sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            sqlite3_column_text(st, c);
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

// The median of runs of readAll(sql, limit); rows gets its row count.
inline double bare(const QString& sql, int runs, int* rows, int limit = -1) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        *rows = readAll(sql, limit);
        times.push_back(msSince(t));
    }
    return median(times);
}

// The catalogue a benchmark works on, in dir: a copy of the base.mdb in the directory named
// by the first argument, or a new empty catalogue without one. False when the copy fails.
inline bool catalogueInto(const QString& dir, int argc, char** argv) {
    const QString base = QDir(dir).absoluteFilePath(TDM::databaseFileName());
    if (argc < 2) {
        Schema::createCatalogue(base);
        return true;
    }
    const QString from = QDir(QString::fromLocal8Bit(argv[1])).absoluteFilePath("base.mdb");
    if (QFile::copy(from, base)) return true;
    std::fprintf(stderr, "cannot copy %s\n", qPrintable(from));
    return false;
}

// Settings of the benchmark's own in home, so that the user's are not touched.
inline void ownSettings(const QTemporaryDir& home) {
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
}

// The lines of a basket of n parts for the report benchmarks.
inline QStringList basketInserts(int n) {
    QStringList out;
    for (int k = 1; k <= n; ++k)
        out << QStringLiteral("insert into Order_ (N, ID, Name, K, V, PriceToReport) values"
                              " (%1, '50-10020%1', 'Деталь номер %1', %2, 1.5, %3)")
                   .arg(k)
                   .arg(k % 7 + 1)
                   .arg(k * 3.25);
    return out;
}

// A drawing of the given size with circles and lines at its positions, as a 24-bit bitmap.
inline void writeDrawing(const QString& path, QSize size, int positions) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 2));
    for (int i = 0; i < positions; ++i) {
        const int x = (i * 97) % size.width(), y = (i * 61) % size.height();
        p.drawEllipse(QPoint(x, y), size.width() / 40, size.height() / 40);
        p.drawLine(x, y, size.width() - x, size.height() - y);
    }
    p.end();
    img.save(path, "BMP");
}

// A bitmap decoded as the viewer decodes it: the format read from the content.
inline QImage decode(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

} // namespace Bench
