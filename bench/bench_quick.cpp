// Times the quick search box from a key typed to the list of matches painted, beside the
// statement it runs executed directly on SQLite.
//
//   bench_quick <catalogue directory> [runs]
//
// The catalogue (from tools/gencatalog) is never written: the benchmark opens a copy of its
// base.mdb with its PIC/ linked. The typed texts are drawn from the catalogue under test: a
// number as printed, the same number written with blanks in small letters, the beginning of a
// number, a word of a name and the first two letters of a name.
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "search/keyform.h"
#include "search/quicksearch.h"
#include "search/quicksql.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Runs a select to its last row on the catalogue's own connection, reading every column.
double bare(const QString& sql, int runs, int* rows) {
    const QVariant handle = DM->Database->database().driver()->handle();
    sqlite3* db = *static_cast<sqlite3* const*>(handle.data());
    const QByteArray text = sql.toUtf8();
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, text.constData(), -1, &st, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
            std::exit(2);
        }
        int n = 0;
        const int columns = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                sqlite3_column_text(st, c);
            ++n;
        }
        sqlite3_finalize(st);
        times.push_back(msSince(t));
        *rows = n;
    }
    return median(times);
}

QString pick(const QString& sql) {
    QSqlQuery q(DM->Database->database());
    if (!q.exec(sql) || !q.next()) {
        std::fprintf(stderr, "no row: %s\n", qPrintable(sql));
        std::exit(2);
    }
    return q.value(0).toString();
}

// The last character of text typed into the box holding the rest, as the user types it; the
// time runs until the list is painted.
double typeLast(TQuickSearch& box, const QString& text) {
    box.setText(text.chopped(1));
    const QString last = text.right(1);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, last);
    QElapsedTimer t;
    t.start();
    QCoreApplication::sendEvent(&box, &press);
    box.list()->repaint();
    QCoreApplication::processEvents();
    return msSince(t);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CatalogApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_quick <catalogue directory> [runs]\n");
        return 1;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 15;
    const QString base = QDir(dir).absoluteFilePath(TDM::databaseFileName());
    if (!QFileInfo::exists(base)) {
        std::fprintf(stderr, "no catalogue in %s (make one with tools/gencatalog)\n", argv[1]);
        return 1;
    }
    QTemporaryDir copy(QDir::tempPath() + "/bench_quick-XXXXXX");
    QFile::copy(base, copy.filePath(TDM::databaseFileName()));
    QFile::link(QDir(dir).absoluteFilePath("PIC"), copy.filePath("PIC"));

    auto forms = Forms::create(copy.path());
    if (!forms) return 1;
    TmainForm& main = forms->main();
    main.show();
    QCoreApplication::processEvents();
    TQuickSearch& box = *main.quickSearch;

    const QString parts = pick("select count(*) from Detail");
    const QString number = pick("select N from Detail where rowid = (select max(rowid) / 2 from "
                                "Detail) and " +
                                Shared->modFilter());
    QString loose = number.toLower();
    loose.replace('-', ' ').replace('.', ' ');
    const QString word =
        pick("select substr(Name, 1, instr(Name || ' ', ' ') - 1) as w from Detail group by w "
             "order by count(*) desc limit 1")
            .toLower();
    const QString inside = word.mid(1, 5);
    const QString twoLetters = word.left(2);
    struct Case {
        const char* what;
        QString typed;
    };
    const Case cases[] = {
        {"number as printed", number},
        {"number, blanks, small", loose},
        {"number beginning", keyForm(number).left(4)},
        {"name word inside", inside},
        {"name beginning (2)", twoLetters},
    };
    std::printf("catalogue %s: %s rows of Detail, %d runs (medians)\n", argv[1], qPrintable(parts),
                runs);
    std::printf("%-24s %-16s %6s %12s %12s %7s\n", "typed", "text", "rows", "key..list",
                "statement", "ratio");
    for (const Case& c : cases) {
        std::vector<double> times;
        typeLast(box, c.typed); // the first run reads the pages into the cache
        for (int r = 0; r < runs; ++r)
            times.push_back(typeLast(box, c.typed));
        int rows = 0;
        const double statement = bare(
            QuickSql::matches(c.typed, Shared->modFilter(), DM->Database->nameIndex), runs, &rows);
        const double ui = median(times);
        std::printf("%-24s %-16s %6d %10.2fms %10.2fms %7.2f\n", c.what, qPrintable(c.typed),
                    box.list()->topLevelItemCount(), ui, statement, ui / statement);
    }
    return 0;
}
