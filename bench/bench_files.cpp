// Times the basket file commands on a 1 000-line basket ("Сохранить" into a new file, "Открыть"
// of that file over the filled basket) and creating and deleting a price column through the
// settings dialog on a catalogue with a 20 000-record history, the latter beside the bare
// ALTER statements (four adds, four drops) run directly on SQLite in one transaction. Each
// command is timed until its handler returns.
//
//   bench_files [catalogue directory]
//
// It works on a copy of the catalogue's base.mdb in a temporary directory (an empty catalogue
// when no directory is given), so the catalogue itself is never changed.
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "benchsupport.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/schema.h"
#include "platform/modal.h"
#include "search/keyform.h"
#include "settings/change.h"
#include "settings/option.h"
#include "settings/pricecolumns.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

using namespace Bench;

namespace {

constexpr int Lines = 1000;
constexpr int Records = 20000;
constexpr int Runs = 7;

void run(const QString& sql) {
    sqlite3* db = handle();
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n%s\n", sqlite3_errmsg(db), qPrintable(sql));
        std::exit(2);
    }
}

void fill() {
    QSqlDatabase d = DM->Database->database();
    DM->Database->exec(QStringLiteral("delete from Order_"));
    DM->Database->exec(QStringLiteral("delete from History"));
    d.transaction();
    QSqlQuery line(d), record(d);
    line.prepare("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values (?, ?, ?, ?, "
                 "?, ?, ?, ?)");
    for (int i = 1; i <= Lines; ++i) {
        const QString id = QStringLiteral("50-%1").arg(1000000 + i);
        for (const QVariant& v : {QVariant(i), QVariant(id), QVariant(keyForm(id)),
                                  QVariant(QStringLiteral("Деталь %1").arg(i)), QVariant(1 + i % 5),
                                  QVariant(0.5 + i % 10), QVariant(100.0 + i), QVariant(90.0 + i)})
            line.addBindValue(v);
        line.exec();
    }
    record.prepare("insert into History (N, Supplier, Buyer, Date_, ID, Name, K, V, Price, PriceZ) "
                   "values (?, 'Ромашка', 'Астра', '2020-01-01', ?, ?, 1, 1, 10, 9)");
    for (int i = 1; i <= Records; ++i) {
        for (const QVariant& v : {QVariant(i), QVariant(QStringLiteral("50-%1").arg(i)),
                                  QVariant(QStringLiteral("Деталь %1").arg(i))})
            record.addBindValue(v);
        record.exec();
    }
    d.commit();
}

void report(const char* what, const std::vector<double>& handled, const std::vector<double>& raw) {
    if (raw.empty()) {
        std::printf("%-40s %9.1fms\n", what, median(handled));
        return;
    }
    std::printf("%-40s %9.1fms %9.1fms %7.2f\n", what, median(handled), median(raw),
                median(handled) / median(raw));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CatalogApplication app(argc, argv);
    QTemporaryDir tmp;
    if (!catalogueInto(tmp.path(), argc, argv)) return 1;
    auto forms = Forms::create(tmp.path());
    if (!forms) return 1;
    TmainForm& main = forms->main();
    main.show();
    fill();
    main.pressPanelButton(main.sbView);
    QApplication::processEvents();
    const QString file = tmp.path() + QStringLiteral("/order.db");
    Modal::setFileResponder([&](const QString&) { return file; });
    std::printf("%-40s %11s %11s %7s\n", "command", "handler", "bare", "ratio");

    std::vector<double> handled, raw;
    for (int r = 0; r < Runs; ++r) {
        QFile::remove(file);
        QElapsedTimer t;
        t.start();
        main.sbSave->trigger();
        handled.push_back(msSince(t));
    }
    report("save 1 000 lines", handled, raw);

    // "Нет" to saving first, then the file over the filled basket.
    handled.clear();
    Modal::setResponder([](QDialog& d) { d.findChild<QPushButton*>("bNo")->click(); });
    for (int r = 0; r < Runs; ++r) {
        QElapsedTimer t;
        t.start();
        main.sbOpen->trigger();
        handled.push_back(msSince(t));
    }
    report("open 1 000 lines", handled, raw);

    // A price column created and deleted through the dialog, beside the bare statements.
    handled.clear();
    std::vector<double> removed, rawAdd, rawDrop;
    for (int r = 0; r < Runs; ++r) {
        Modal::setResponder([&](QDialog& d) {
            if (auto* prompt = qobject_cast<TchangeForm*>(&d)) {
                prompt->eStr->setText(QStringLiteral("Опт"));
                prompt->fbOk->click();
            } else if (auto* o = qobject_cast<ToptionForm*>(&d)) {
                QElapsedTimer t;
                t.start();
                o->fbNew->click();
                handled.push_back(msSince(t));
                o->clbList->setCurrentRow(o->clbList->count() - 1);
                t.start();
                o->fbDel->click();
                removed.push_back(msSince(t));
                o->fbCancel->click();
            } else {
                d.findChild<QPushButton*>("bYes")->click();
            }
        });
        main.N17->trigger();
        QStringList adds, drops;
        for (const QString& table : PriceColumns::Tables) {
            adds << QStringLiteral("alter table %1 add PriceB float").arg(table);
            drops << QStringLiteral("alter table %1 drop PriceB").arg(table);
        }
        QElapsedTimer t;
        t.start();
        run("begin; " + adds.join("; ") + "; commit");
        rawAdd.push_back(msSince(t));
        t.start();
        run("begin; " + drops.join("; ") + "; commit");
        rawDrop.push_back(msSince(t));
    }
    report("create a price column", handled, rawAdd);
    report("delete a price column", removed, rawDrop);
    return 0;
}
