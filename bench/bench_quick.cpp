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
#include "benchsupport.h"
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
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

using namespace Bench;

namespace {

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
