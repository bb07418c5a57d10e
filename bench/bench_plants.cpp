// Enterprise register benchmark on a register of 1 000 enterprises: opening the register on
// an enterprise, filling the five enterprise lists, and adding, changing and deleting an
// enterprise through the register's buttons (each with its question answered and the lists
// rebuilt), beside the bare statements run directly on SQLite.
//
//   bench_plants [catalogue directory]
//
// Without a directory, or with one without base.mdb, a catalogue of its own is made (in a
// temporary directory, or in the directory given). The register is filled to 1 000
// enterprises. Settings go to a temporary place, never the user's.
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "app/messbox.h"
#include "benchsupport.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/schema.h"
#include "data/sql.h"
#include "platform/modal.h"
#include "reports/Sell_Buy.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Bench;

namespace {

constexpr int Plants = 1000;
constexpr int Runs = 15;

void fill(const QString& path) {
    if (!QFileInfo::exists(path)) Schema::createCatalogue(path);
    Connection db(path);
    QSqlDatabase d = db.database();
    QSqlQuery q(d);
    q.exec("select count(*) from enterprise");
    q.next();
    int have = q.value(0).toInt();
    d.transaction();
    // Names in no alphabetical order, with every column filled.
    for (int i = have + 1; i <= Plants; ++i)
        q.exec(QStringLiteral("insert into enterprise values (%1, %2, 'ООО', %3, '40702810%1', "
                              "'Банк №%1', '77%1', '044%1', '30101%1', '%1', '%1', 'Иванов И.И.', "
                              "'Петрова А.А.', '222-33-%1#222-33-45', '222-33-46', "
                              "'office%1@example.ru', 'Примечание')")
                   .arg(i)
                   .arg(Sql::quote(QStringLiteral("Предприятие %1").arg((i * 7919) % 100000)),
                        Sql::quote(QStringLiteral("г. Город, ул. Улица, д. %1").arg(i))));
    d.commit();
}

double ms(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

struct Figure {
    const char* what;
    std::vector<double> runs;
};

void report(Figure& f) {
    std::sort(f.runs.begin(), f.runs.end());
    std::printf("%-52s median %7.2f ms, worst %7.2f ms\n", f.what, f.runs[f.runs.size() / 2],
                f.runs.back());
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir settingsHome;
    ownSettings(settingsHome);
    CatalogApplication app(argc, argv);
    QTemporaryDir own;
    const QString dir =
        argc > 1 ? QDir(QString::fromLocal8Bit(argv[1])).absolutePath() : own.path();
    QDir().mkpath(dir);
    fill(dir + "/base.mdb");

    // Every question is answered "Да"; the register, shown, is closed at once.
    Modal::setResponder([](QDialog& d) {
        if (auto* box = qobject_cast<TmessForm*>(&d)) box->bYes->click();
    });
    auto forms = Forms::create(dir);
    if (!forms) return 1;
    TmainForm& m = *mainForm;
    TformDataToPlant& p = *formDataToPlant;
    std::printf("catalogue: %s\nenterprises: %d, runs: %d\n", qPrintable(dir), p.cbPlant->count(),
                Runs);

    Figure open{"open the register on an enterprise (fbBuyerInfo)", {}};
    Figure lists{"fill the five lists (CreateComboBoxList)", {}};
    Figure add{"add an enterprise (question, insert, lists)", {}};
    Figure change{"change an enterprise (question, update, lists)", {}};
    Figure del{"delete an enterprise (question, renumber, lists)", {}};
    Figure bareList{"bare: select * order by [index], all names", {}};
    Figure bareDelete{"bare: delete and renumber in one transaction", {}};

    for (int run = 0; run < Runs; ++run) {
        m.cbOrBuyer->setCurrentIndex(500 + run);
        open.runs.push_back(ms([&] { m.fbBuyerInfo->click(); }));
        lists.runs.push_back(ms([&] { p.CreateComboBoxList(); }));

        p.cbPlant->setEditText(QStringLiteral("Новое %1").arg(run));
        p.ePlantTel->setText("222-33-44, 222-33-45");
        add.runs.push_back(ms([&] { p.sbAppendNew->click(); }));

        p.cbPlant->setCurrentIndex(300 + run);
        p.cbPlantClick();
        p.ePlantINN->setText(QStringLiteral("7701%1").arg(run));
        change.runs.push_back(ms([&] { p.sbAppendNew->click(); }));

        p.cbPlant->setCurrentIndex(400 + run);
        del.runs.push_back(ms([&] { p.sbDelList->click(); }));

        Connection bare(dir + "/base.mdb");
        bareList.runs.push_back(ms([&] {
            QSqlQuery q(bare.database());
            q.exec("select * from enterprise order by [index]");
            QStringList names;
            while (q.next())
                names << q.value(1).toString();
        }));
        bareDelete.runs.push_back(ms([&] {
            bare.execAll({QStringLiteral("delete from enterprise where [index]=600"),
                          QStringLiteral("update enterprise set [index]=[index]-1 "
                                         "where [index]>600")});
        }));
    }
    for (Figure* f : {&open, &lists, &add, &change, &del, &bareList, &bareDelete})
        report(*f);
    Modal::setResponder(nullptr);
    return 0;
}
