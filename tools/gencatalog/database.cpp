#include "database.h"

#include "data/connection.h"
#include "data/dberror.h"
#include "data/nameindex.h"
#include "data/schema.h"
#include "reference.h"
#include "reportengine/templatestore.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>
#include <sqlite3.h>

namespace Gen {

namespace {

// A prepared insert, run once per row. Bound through SQLite itself: Qt's binding allocates
// several strings per value, which over millions of values left the allocator's free lists so
// long that allocation time grew with the catalogue.
class Insert {
public:
    Insert(Connection& db, const QString& sql) {
        const QVariant handle = db.database().driver()->handle();
        raw = *static_cast<sqlite3* const*>(handle.data());
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(raw, text.constData(), -1, &st, nullptr) != SQLITE_OK)
            throw DbError(error() + QStringLiteral(": ") + sql);
    }
    ~Insert() { sqlite3_finalize(st); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    void operator()(const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i)
            bind(i + 1, values[i]);
        const int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) throw DbError(error());
    }

private:
    void bind(int column, const QVariant& v) {
        if (v.isNull()) {
            sqlite3_bind_null(st, column);
            return;
        }
        switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::LongLong:
            sqlite3_bind_int64(st, column, v.toLongLong());
            break;
        case QMetaType::Double:
            sqlite3_bind_double(st, column, v.toDouble());
            break;
        default: {
            const QString text = v.toString();
            sqlite3_bind_text16(st, column, text.utf16(), int(text.size() * sizeof(char16_t)),
                                SQLITE_TRANSIENT);
        }
        }
    }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(raw)); }

    sqlite3* raw = nullptr;
    sqlite3_stmt* st = nullptr;
};

QString blank() {
    return QStringLiteral(" ");
}

void catalogue(Connection& db, const Catalogue& cat) {
    Insert modif(db, "insert into Modif (modif, MODName, Visible, PIC) values (?, ?, ?, ?)");
    Insert group(db,
                 "insert into ModGroup (modif, indexGr, GroupN, GroupName) values (?, ?, ?, ?)");
    Insert drawing(db, "insert into Drawing (modif, Picture, indexGr, PicN, PicName)"
                       " values (?, ?, ?, ?, ?)");
    Insert place(db,
                 "insert into Place (modif, Picture, Position, Ver, Hor) values (?, ?, ?, ?, ?)");
    Insert detail(db, "insert into Detail (N_f, N, OKP, Name, V, modif) values (?, ?, ?, ?, ?, ?)");
    Insert occurrence(db, "insert into DataTab (N_f, SE_f, SE, Picture, Position, Quantity, remN,"
                          " modif) values (?, ?, ?, ?, ?, ?, ?, ?)");
    Insert remark(db, "insert into Rem (remN, Rem, modif) values (?, ?, ?)");
    Insert price(db, "insert into Price (ID_P, Name_P, Price, PriceZ) values (?, ?, ?, ?)");
    QString stdSql = "insert into STD (N_f, N, Name, V, modif, MODName, N_Gost, Name_Gost, PodName,"
                     " FullName, PodGroup, PicGost";
    for (int n = 1; n <= 13; ++n)
        stdSql += QStringLiteral(", ParamName%1, Param%1").arg(n);
    stdSql += ") values (?" + QString(", ?").repeated(11 + 26) + ")";
    Insert standard(db, stdSql);

    auto addDetail = [&](const Part& p, int m) {
        detail({p.key, p.number, p.okp, p.name, p.weight, m});
    };

    for (int p : cat.commonParts) {
        addDetail(cat.parts[p], 0);
        occurrence({cat.parts[p].key, blank(), blank(), 0, 0, 1, 0, 0});
    }
    for (const Modification& m : cat.modifs) {
        modif({m.modif, m.name, m.visible, int(m.drawings.size())});
        for (int g = 0; g < m.groups.size(); ++g)
            group({m.modif, g + 1, m.groups[g].number, m.groups[g].name});
        for (int r = 0; r < m.remarks.size(); ++r)
            remark({r + 1, m.remarks[r], m.modif});
        QVector<bool> listed(cat.parts.size(), false);
        for (const Drawing& d : m.drawings) {
            drawing({m.modif, d.picture, d.group + 1, d.picN, d.title});
            for (const Place& pl : d.places)
                place({m.modif, d.picture, pl.position, pl.ver, pl.hor});
            for (const Row& r : d.rows) {
                const Part& p = cat.parts[r.part];
                const QString se = r.assembly >= 0 ? cat.parts[r.assembly].number : blank();
                const QString seKey = r.assembly >= 0 ? cat.parts[r.assembly].key : blank();
                occurrence(
                    {p.key, seKey, se, d.picture, r.position, r.quantity, r.remark, m.modif});
                if (listed[r.part]) continue;
                listed[r.part] = true;
                addDetail(p, m.modif);
                if (p.standard >= 0) {
                    const StandardItem& it = cat.items[p.standard];
                    const Standard& s = cat.standards[it.standard];
                    QVariantList v = {p.key,      p.number,    p.name,     p.weight,
                                      m.modif,    m.name,      s.gost,     s.gostName,
                                      s.subgroup, it.fullName, s.podGroup, s.picGost};
                    for (int n = 0; n < 13; ++n) {
                        if (n < it.params.size())
                            v << it.params[n].first << it.params[n].second;
                        else
                            v << QVariant(QMetaType::fromType<QString>())
                              << QVariant(QMetaType::fromType<QString>());
                    }
                    standard(v);
                }
            }
        }
    }
    // One price row per part number, in the order the parts were made.
    for (const Part& p : cat.parts) {
        if (!p.priced) continue;
        const auto value = [](const QVariant& v) {
            return v.isNull() ? QVariant(QMetaType::fromType<double>()) : v;
        };
        price({p.number, p.name, value(p.price), value(p.priceZ)});
    }
}

} // namespace

void writeDatabase(const Catalogue& cat, const QString& path) {
    Schema::createCatalogue(path);
    Connection db(path);
    // The file is written under a temporary name and renamed when complete, so it needs no
    // journal. With one, the load, far larger than SQLite's page cache, spills pages into the
    // WAL again and again, and every later page read searches that ever longer WAL: the time
    // grew with the square of the catalogue.
    db.exec(QStringLiteral("pragma journal_mode=OFF"));
    db.exec(QStringLiteral("pragma synchronous=OFF"));
    db.exec(QStringLiteral("pragma cache_size=-1000000"));
    // The index of part names is made at once after the load: kept row by row by its
    // triggers, it would write a segment of its own for every part.
    NameIndex::drop(db);
    QSqlDatabase& sql = db.database();
    if (!sql.transaction()) throw DbError(sql.lastError().text());
    try {
        catalogue(db, cat);
        writeReferenceData(db);
    } catch (...) {
        sql.rollback();
        throw;
    }
    if (!sql.commit()) throw DbError(sql.lastError().text());
    storeTemplateFiles(db, QStringLiteral(CATALOG_TEMPLATES_DIR)); // the documents and lists
    NameIndex::build(db);
    db.exec(QStringLiteral("pragma wal_checkpoint(TRUNCATE)"));
    db.exec(QStringLiteral("pragma journal_mode=DELETE"));
}

} // namespace Gen
