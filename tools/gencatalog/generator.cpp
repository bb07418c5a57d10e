#include "generator.h"

#include "content.h"
#include "database.h"
#include "helppage.h"
#include "illustrations.h"
#include "random.h"
#include "render.h"
#include "scene.h"
#include "vocabulary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <unistd.h>

namespace Gen {

namespace {

// Pictures drawn for each group of a large catalogue; its other drawings share their files.
constexpr int largePicturesPerGroup = 1;

// The index of a group in the words: it chooses the outline of the group's bodies.
int familyOf(const QString& number) {
    const QVector<Words::GroupWords>& groups = Words::groups();
    for (int i = 0; i < groups.size(); ++i)
        if (number == QLatin1String(groups[i].number)) return i;
    return 0;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw FileError(
            QStringLiteral("Не удалось записать файл %1: %2").arg(path, f.errorString()));
}

// A second name for the same file, so that shared pictures take their room once.
void linkFile(const QString& from, const QString& to) {
    QFile::remove(to);
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) return;
    if (!QFile::copy(from, to))
        throw FileError(QStringLiteral("Не удалось записать файл %1").arg(to));
}

// A database file with the journal files SQLite may have left beside it.
void removeDatabase(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QString::fromLatin1(suffix));
}

QString twoDigits(int v) {
    return v < 10 ? QStringLiteral("0%1").arg(v) : QString::number(v);
}

QSize pictureSize(Layout layout, Random& rng) {
    if (layout == Layout::Large) return QSize(1200, 850);
    return QSize(960 + 10 * rng.between(0, 8), 660 + 10 * rng.between(0, 8));
}

struct Drawn {
    Scene scene;
    QString small, big; // files written for it, once it has been drawn
};

class Writer {
public:
    Writer(const Options& o, Catalogue& cat, std::uint32_t seed)
        : o(o), cat(cat), rng(seed), pic(QDir(o.outDir).filePath(QStringLiteral("PIC"))) {}

    void layOut();
    void drawings();
    void illustrations();
    int pictures() const { return int(scenes.size()); }

private:
    const Options& o;
    Catalogue& cat;
    Random rng;
    QDir pic;
    QVector<Drawn> scenes;
    QVector<QVector<int>> sceneOf; // per modification and drawing
};

void Writer::layOut() {
    QHash<int, int> sceneOfSlot;            // scene of the first drawing of a slot
    QHash<int, QVector<int>> scenesOfGroup; // a large catalogue's pictures of each group
    QHash<int, int> borrowed;
    sceneOf.resize(cat.modifs.size());
    for (int m = 0; m < cat.modifs.size(); ++m) {
        for (Drawing& d : cat.modifs[m].drawings) {
            const int family = familyOf(cat.modifs[m].groups[d.group].number);
            QVector<int>& pool = scenesOfGroup[family];
            int s;
            bool exact = true;
            if (d.copy && sceneOfSlot.contains(d.slot)) {
                s = sceneOfSlot.value(d.slot);
            } else if (o.layout == Layout::Large && pool.size() >= largePicturesPerGroup) {
                // A large catalogue shares a few pictures of the group among its drawings: the
                // numbers printed on a shared picture need not match the drawing's markers.
                s = pool[borrowed[family]++ % pool.size()];
                exact = false;
            } else {
                const QSize size = pictureSize(o.layout, rng);
                s = int(scenes.size());
                scenes.push_back({layoutScene(cat, d, size, rng.seed()), {}, {}});
                scenes.last().scene.family = family;
                pool << s;
            }
            if (m == 0 && !sceneOfSlot.contains(d.slot) && exact) sceneOfSlot[d.slot] = s;
            d.places = placesFor(d, scenes[s].scene, exact);
            sceneOf[m] << s;
        }
    }
}

void Writer::drawings() {
    for (int m = 0; m < cat.modifs.size(); ++m) {
        const Modification& mod = cat.modifs[m];
        for (int i = 0; i < mod.drawings.size(); ++i) {
            const QString name =
                QStringLiteral("%1_%2.bmp").arg(mod.modif).arg(mod.drawings[i].picture);
            const QString small = pic.filePath(QStringLiteral("small/") + name);
            const QString big = pic.filePath(QStringLiteral("big/") + name);
            Drawn& drawn = scenes[sceneOf[m][i]];
            if (drawn.small.isEmpty()) {
                writeFile(small, renderDrawing(drawn.scene, 1));
                writeFile(big, renderDrawing(drawn.scene, 2));
                drawn.small = small;
                drawn.big = big;
                drawn.scene = Scene(); // drawn: only its files are needed now
            } else {
                linkFile(drawn.small, small);
                linkFile(drawn.big, big);
            }
        }
    }
}

void Writer::illustrations() {
    // Standards in the order of first use, and the modifications each is listed in.
    QVector<int> order;
    QMap<int, QVector<int>> modifsOf;
    for (const Modification& m : cat.modifs)
        for (const Drawing& d : m.drawings)
            for (const Row& r : d.rows) {
                const int item = cat.parts[r.part].standard;
                if (item < 0) continue;
                const int s = cat.items[item].standard;
                if (!modifsOf.contains(s)) order << s;
                QVector<int>& list = modifsOf[s];
                if (!list.contains(m.modif)) list << m.modif;
            }
    const QString dir = pic.filePath(QStringLiteral("std/"));
    for (int s : order) {
        const Standard& st = cat.standards[s];
        const QByteArray bytes = renderIllustration(&st);
        const QString code = twoDigits(st.podGroup) + twoDigits(st.picGost);
        for (int m : modifsOf[s])
            writeFile(dir + QStringLiteral("%1_%2.bmp").arg(m).arg(code), bytes);
        writeFile(dir + QStringLiteral("s%1.bmp").arg(code), bytes);
    }
    const QByteArray fallback = renderIllustration(nullptr);
    writeFile(dir + QStringLiteral("1_0100.bmp"), fallback);
    writeFile(dir + QStringLiteral("s0100.bmp"), fallback);
}

} // namespace

Layout layoutFor(int parts) {
    return parts >= LargeFrom ? Layout::Large : Layout::Demo;
}

Summary generate(const Options& o) {
    const QDir out(o.outDir);
    const QString target = out.filePath(QStringLiteral("base.mdb"));
    if (QFileInfo::exists(target))
        throw Refused(
            QStringLiteral("Файл %1 уже существует; каталог не перезаписывается.").arg(target));
    for (const char* sub : {"PIC/small", "PIC/big", "PIC/std"})
        if (!out.mkpath(QString::fromLatin1(sub)))
            throw FileError(QStringLiteral("Не удалось создать папку %1")
                                .arg(out.filePath(QString::fromLatin1(sub))));

    Random master(o.seed);
    const std::uint32_t contentSeed = master.seed();
    const std::uint32_t layoutSeed = master.seed();
    Catalogue cat = buildContent(contentSeed, o.parts, o.layout);
    Writer writer(o, cat, layoutSeed);
    writer.layOut();

    const QString temporary = target + QStringLiteral(".part");
    removeDatabase(temporary);
    try {
        writeDatabase(cat, temporary);
        writer.drawings();
        writer.illustrations();
        QByteArray help = helpPage().toUtf8();
        writeFile(out.filePath(QStringLiteral("catalog.html")), help);
        if (!QFile::rename(temporary, target))
            throw FileError(QStringLiteral("Не удалось записать файл %1").arg(target));
    } catch (...) {
        removeDatabase(temporary);
        throw;
    }

    Summary s;
    s.modifications = int(cat.modifs.size());
    s.parts = int(cat.parts.size());
    s.pictures = writer.pictures();
    for (const Modification& m : cat.modifs) {
        s.drawings += int(m.drawings.size());
        QVector<bool> listed(cat.parts.size(), false);
        for (const Drawing& d : m.drawings) {
            s.occurrences += int(d.rows.size());
            s.places += int(d.places.size());
            for (const Row& r : d.rows)
                if (!listed[r.part]) {
                    listed[r.part] = true;
                    ++s.details;
                }
        }
    }
    s.details += int(cat.commonParts.size());
    s.occurrences += int(cat.commonParts.size());
    return s;
}

} // namespace Gen
