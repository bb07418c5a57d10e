// Times the search from "OK" to the filled result grid beside the same final statement run
// directly on SQLite, one "След." step through each result (the next found part shown on its
// drawing) beside its occurrence statement run directly, and the basket's NewOrder on a
// 1 000-line basket.
//
//   bench_search <catalogue directory>
//
// A directory without base.mdb gets a generated catalogue of 100 000 parts with 300 000
// occurrences first. Drawing bitmaps the steps reach and the catalogue lacks are written into
// its PIC/small (1200 x 850).
#include "app/catalogapp.h"
#include "app/dbgrid.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/Newgrid.h"
#include "benchsupport.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/dialect.h"
#include "data/nameindex.h"
#include "data/schema.h"
#include "data/shared.h"
#include "data/sql.h"
#include "platform/modal.h"
#include "search/find.h"
#include "search/keyform.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Bench;

namespace {

constexpr int Parts = 100000;
constexpr int OccurrencesPerPart = 3;
constexpr int Runs = 7;
constexpr int Steps = 15;

const char* const Words[] = {"Втулка",    "Болт",      "Гайка",    "Шайба",     "Кольцо",
                             "Прокладка", "Шпилька",   "Штуцер",   "Крышка",    "Корпус",
                             "Вал",       "Шестерня",  "Пружина",  "Рычаг",     "Ось",
                             "Палец",     "Фланец",    "Патрубок", "Кронштейн", "Хомут",
                             "Манжета",   "Подшипник", "Трубка",   "Пластина",  "Стакан"};

QString partNumber(int i) {
    return QStringLiteral("%1-%2").arg(10 + (i / 3) % 90).arg(1000000 + i);
}

void exec(QSqlQuery& q) {
    if (!q.exec()) {
        std::fprintf(stderr, "%s\n", qPrintable(q.lastQuery()));
        std::exit(2);
    }
}

void generate(const QString& path) {
    std::printf("generating %s ...\n", qPrintable(path));
    Schema::createCatalogue(path);
    Connection db(path);
    QSqlDatabase d = db.database();
    d.transaction();
    QSqlQuery q(d);
    for (int m = 1; m <= 3; ++m) {
        q.exec(QStringLiteral("insert into Modif values (%1, 'М-315.04%2', %3, 200)")
                   .arg(m)
                   .arg(m == 1 ? QString() : QStringLiteral("-0%1").arg(m - 1))
                   .arg(m == 3 ? "False" : "True"));
        for (int g = 1; g <= 20; ++g) {
            q.exec(QStringLiteral("insert into ModGroup values (%1, %2, '%3', 'Группа %2')")
                       .arg(m)
                       .arg(g)
                       .arg(g, 2, 10, QLatin1Char('0')));
            for (int p = 1; p <= 10; ++p) {
                const int picture = (g - 1) * 10 + p;
                q.exec(QStringLiteral("insert into Drawing values (%1, %2, %3, %4, 'Рисунок %2')")
                           .arg(m)
                           .arg(picture)
                           .arg(g)
                           .arg(p));
                for (int pos = 1; pos <= 40; ++pos)
                    q.exec(QStringLiteral("insert into Place values (%1, %2, %3, %4, %5)")
                               .arg(m)
                               .arg(picture)
                               .arg(pos)
                               .arg(pos * 2)
                               .arg(100 - pos * 2));
            }
        }
    }
    QSqlQuery part(d), occ(d), price(d);
    part.prepare("insert into Detail (N_f, N, OKP, Name, V, modif) values (?, ?, ?, ?, ?, ?)");
    occ.prepare("insert into DataTab (N_f, SE_f, SE, Picture, Position, Quantity, remN, modif) "
                "values (?, ?, ?, ?, ?, ?, 0, ?)");
    price.prepare("insert into Price (ID_P, Name_P, Price, PriceZ) values (?, ?, ?, ?)");
    for (int i = 0; i < Parts; ++i) {
        const int modif = 1 + i % 3;
        const QString n = partNumber(i);
        const QString name =
            QStringLiteral("%1 %2").arg(QString::fromUtf8(Words[i % 25])).arg(i % 7);
        part.addBindValue(keyForm(n));
        part.addBindValue(n);
        part.addBindValue(QString::number(472000 + i % 1000));
        part.addBindValue(name);
        part.addBindValue(0.1 + i % 100);
        part.addBindValue(modif);
        exec(part);
        // Every 50th part is an assembly; the others belong to the assembly before them
        // (within their modification's run of numbers).
        const int assembly = i / 150 * 150 + modif - 1;
        const bool member = assembly != i;
        const QString se = member ? partNumber(assembly) : QStringLiteral(" ");
        for (int k = 0; k < OccurrencesPerPart; ++k) {
            occ.addBindValue(keyForm(n));
            occ.addBindValue(member ? keyForm(se) : se);
            occ.addBindValue(se);
            occ.addBindValue(1 + (i * 7 + k * 13) % 200);
            occ.addBindValue(1 + (i + k) % 40);
            occ.addBindValue(1 + k);
            occ.addBindValue(modif);
            exec(occ);
        }
        price.addBindValue(n);
        price.addBindValue(name);
        price.addBindValue(i % 1000 + 0.5);
        price.addBindValue(i % 900 + 0.25);
        exec(price);
    }
    d.commit();
}

// The occurrences of the current found part under the search's conditions, as stepping
// reads them.
QString occurrenceStatement() {
    const TQuery& found = DM->QFind;
    return QStringLiteral("select %1 * from Find ").arg(Dialect::DistinctRow) +
           Shared->searchCondition() + QStringLiteral(" and N_f=") +
           Sql::quote(found.asString(QStringLiteral("N_f"))) + QStringLiteral(" and modif=") +
           found.asString(QStringLiteral("modif"));
}

// Writes the small bitmap of the drawing each of the next rows is shown on, where missing.
void ensureBitmaps(int rows) {
    TQuery& found = DM->QFind;
    TQuery occurrences(*DM->Database, QStringLiteral("benchOccurrences"));
    QDir().mkpath(DM->PicDir + QStringLiteral("small"));
    const int start = found.recNo() - 1;
    for (int r = 0; r <= rows; ++r) {
        found.moveTo((start + r) % found.recordCount());
        occurrences.setText({occurrenceStatement()});
        occurrences.open();
        while (!occurrences.eof() && occurrences.asInteger(QStringLiteral("Picture")) <= 0)
            occurrences.next();
        if (occurrences.eof()) continue;
        const QString path =
            DM->PicDir + QStringLiteral("small/%1_%2.bmp")
                             .arg(occurrences.asInteger(QStringLiteral("modif")))
                             .arg(occurrences.asInteger(QStringLiteral("Picture")));
        if (QFileInfo::exists(path)) continue;
        QImage img(1200, 850, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setPen(QPen(Qt::black, 2));
        for (int i = 0; i < 40; ++i)
            p.drawLine((i * 97) % 1200, (i * 61) % 850, 1200 - (i * 97) % 1200,
                       850 - (i * 61) % 850);
        p.end();
        img.save(path, "BMP");
    }
    found.moveTo(start);
}

struct Case {
    const char* what;
    std::function<void(TfindForm&)> fill;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CatalogApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_search <catalogue directory>\n");
        return 1;
    }
    QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    QString base = QDir(dir).absoluteFilePath(TDM::databaseFileName());
    if (!QFileInfo::exists(base)) generate(base);
    // The benchmark writes (the basket, the name index of an older catalogue): it works on a
    // copy of the catalogue, with the drawings linked.
    QTemporaryDir copy(QDir::tempPath() + "/bench_search-XXXXXX");
    QFile::copy(base, copy.filePath(TDM::databaseFileName()));
    QFile::link(QDir(dir).absoluteFilePath("PIC"), copy.filePath("PIC"));
    dir = copy.path();
    base = copy.filePath(TDM::databaseFileName());

    auto forms = Forms::create(dir);
    if (!forms) return 1;
    TmainForm& main = forms->main();
    main.show();
    QApplication::processEvents();

    // The cases are drawn from the catalogue under test: a number, an assembly and a name it
    // has (the most frequent first word of the names, searched inside names).
    QSqlQuery pick(DM->Database->database());
    pick.exec("select N from Detail where rowid = (select max(rowid) / 2 from Detail)");
    pick.next();
    const QString number = pick.value(0).toString();
    pick.exec("select SE from DataTab where SE_f <> ' ' and rowid >= (select max(rowid) / 3 "
              "from DataTab) limit 1");
    pick.next();
    const QString assembly = pick.value(0).toString();
    pick.exec("select substr(Name, 1, instr(Name || ' ', ' ') - 1) as w from Detail group by w "
              "order by count(*) desc limit 1");
    pick.next();
    const QString word = pick.value(0).toString().toUpper();
    const QString prefix = keyForm(number).left(4) + "*";
    const QString name = "*" + word + "*";
    const Case cases[] = {
        {"number", [&](TfindForm& d) { d.findEditN->setText(number); }},
        {"number prefix", [&](TfindForm& d) { d.findEditN->setText(prefix); }},
        {"assembly", [&](TfindForm& d) { d.findEditSE->setText(assembly); }},
        {"name *WORD*", [&](TfindForm& d) { d.findEditName->setText(name); }},
    };
    std::printf("cases: number %s, prefix %s, assembly %s, name %s\n", qPrintable(number),
                qPrintable(prefix), qPrintable(assembly), qPrintable(name));
    // "OK..grid": from "OK" to the window painted with the first rows; "all read": until the
    // count is final. Each beside the statement as it runs, to the same row, and the name search
    // beside its floors.
    const int page = TDM::FoundFirstRows;
    std::printf("%-22s %6s %9s %11s %6s %9s %11s %6s %11s\n", "search", "rows", "OK..grid",
                "bare page", "ratio", "all read", "bare all", "ratio", "bare built");
    struct StepTime {
        const char* what;
        double step;
        double statement;
        double load;
    };
    std::vector<StepTime> steps;
    int markers = 0;
    for (const Case& c : cases) {
        std::vector<double> firstTimes, allTimes;
        for (int r = 0; r < Runs; ++r) {
            QElapsedTimer t;
            Modal::setResponder([&](QDialog& d) {
                auto& form = static_cast<TfindForm&>(d);
                form.bbClearClick();
                c.fill(form);
                t.start();
                form.bbOk->click();
                main.repaint();
                firstTimes.push_back(msSince(t));
                while (!DM->QFind.complete())
                    QApplication::processEvents();
                main.repaint();
                allTimes.push_back(msSince(t));
            });
            main.sbFind->click();
        }
        Modal::setResponder(nullptr);
        const QString built = DM->QFind.text();
        const QString run = Dialect::indexFriendly(built);
        int rows = 0;
        const double runPage = bare(run, Runs, &rows, page);
        const double runAll = bare(run, Runs, &rows);
        const double plain = bare(built, Runs, &rows);
        const double first = median(firstTimes), all = median(allTimes);
        std::printf("%-22s %6d %7.1fms %9.1fms %6.2f %7.1fms %9.1fms %6.2f %9.1fms\n", c.what,
                    DM->QFind.recordCount(), first, runPage, first / runPage, all, runAll,
                    all / runAll, plain);
        if (QString(c.what).startsWith("name")) {
            // The floors: the index's filter alone (in the result's order for the first rows),
            // and the result rows read by their numbers.
            const TQuery& found = DM->QFind;
            const int column = found.fieldIndex("N_f");
            QStringList numbers;
            int pageNumbers = 0;
            for (int r = 0; r < found.recordCount(); ++r) {
                const QString n = Sql::quote(found.cell(r, column).toString());
                if (numbers.isEmpty() || numbers.last() != n) numbers << n;
                if (r == page - 1) pageNumbers = int(numbers.size());
            }
            if (pageNumbers == 0) pageNumbers = int(numbers.size());
            const QString filter =
                "select distinct N_f from DetailNames where DetailNames match " +
                Sql::quote(NameIndex::matchQuery(name.toLower().replace('*', '%')));
            const auto rowsOf = [&](const QStringList& n) {
                int read = 0;
                return bare("select * from forFind where N_f in (" + n.join(',') + ") and " +
                                Shared->modFilter() + " order by N_f, modif",
                            Runs, &read);
            };
            int n = 0;
            const double filterPage = bare(filter + " order by N_f", Runs, &n, pageNumbers);
            const double rowsPage = rowsOf(numbers.mid(0, pageNumbers));
            const double filterAll = bare(filter, Runs, &n);
            const double rowsAll = rowsOf(numbers);
            std::printf("%-22s %6s %9s %9.1fms %6.2f %9s %9.1fms %6.2f   (page: filter in order "
                        "%.1fms + rows %.1fms; all: filter %.1fms + rows %.1fms)\n",
                        "  floor of name", "", "", filterPage + rowsPage,
                        first / (filterPage + rowsPage), "", filterAll + rowsAll,
                        all / (filterAll + rowsAll), filterPage, rowsPage, filterAll, rowsAll);
        }
        if (DM->QFind.isEmpty()) continue;
        // "След." with the drawing in front: the next found part loaded on its drawing.
        ensureBitmaps(Steps);
        main.pressPanelButton(main.sbPic);
        std::vector<double> stepTimes;
        std::vector<double> statementTimes;
        std::vector<double> loadTimes;
        for (int r = 0; r < Steps; ++r) {
            QElapsedTimer t;
            t.start();
            main.sbNextItem->click();
            main.panelPic->repaint();
            QApplication::processEvents();
            stepTimes.push_back(msSince(t));
            int occurrences = 0;
            statementTimes.push_back(
                bare(Dialect::indexFriendly(DM->QPicPos.text()), Runs, &occurrences));
            // The same drawing loaded again alone, as "Исходный размер" does.
            t.start();
            main.KeepInfo = true;
            main.LoadNewImage();
            loadTimes.push_back(msSince(t));
            markers = std::max(markers, main.MarkerCount);
        }
        steps.push_back({c.what, median(stepTimes), median(statementTimes), median(loadTimes)});
    }
    std::printf("\n%-24s %10s %12s %12s   (\"След.\", median of %d; drawings of up to %d "
                "markers)\n",
                "next found part after", "step", "occurrences", "load alone", Steps, markers);
    for (const StepTime& st : steps)
        std::printf("%-24s %8.1fms %10.2fms %10.1fms\n", st.what, st.step, st.statement, st.load);

    DM->Database->exec("delete from Order_");
    QSqlQuery ins(DM->Database->database());
    DM->Database->database().transaction();
    ins.prepare("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values (?, ?, ?, ?, "
                "?, ?, ?, ?)");
    for (int i = 1; i <= 1000; ++i) {
        ins.addBindValue(i);
        ins.addBindValue(partNumber(i));
        ins.addBindValue(keyForm(partNumber(i)));
        ins.addBindValue(QStringLiteral("Деталь %1").arg(i));
        ins.addBindValue(1 + i % 5);
        ins.addBindValue(0.5 + i % 10);
        ins.addBindValue(100.0 + i);
        ins.addBindValue(90.0 + i);
        exec(ins);
    }
    DM->Database->database().commit();
    main.pressPanelButton(main.sbView);
    std::vector<double> times;
    for (int r = 0; r < Runs; ++r) {
        QElapsedTimer t;
        t.start();
        main.NewOrder();
        main.dbgOrder->viewport()->repaint();
        QApplication::processEvents();
        times.push_back(msSince(t));
    }
    int lines = 0;
    const double orderBare = bare(DM->QOrder.text(), Runs, &lines);
    std::printf("%-24s %8d %8.1fms %10.1fms %11s %7.2f\n", "NewOrder, 1000 lines",
                DM->QOrder.recordCount(), median(times), orderBare, "", median(times) / orderBare);
    DM->Database->exec("delete from Order_");
    return 0;
}
