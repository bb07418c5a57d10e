// Times adding a 5 000-row search result to the basket (staging, then "OK" with every row
// ticked) beside the same statements run directly on SQLite in one transaction, and the
// editing wizard's write and "Готово" for one part of a 100 000-part catalogue.
//
//   bench_editing
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/orderAll.h"
#include "basket/orderallsql.h"
#include "benchsupport.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/schema.h"
#include "editing/det.h"
#include "platform/modal.h"
#include "search/findsql.h"
#include "search/keyform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

using namespace Bench;

namespace {

constexpr int Parts = 100000;
constexpr int Found = 5000;

QString partNumber(int i) {
    return QStringLiteral("%1-%2").arg(i < Found ? 50 : 60).arg(1000000 + i);
}

void fill() {
    QSqlDatabase d = DM->Database->database();
    QSqlQuery q(d);
    q.exec("insert into Modif (modif, MODName, Visible, PIC) values (1, 'М-315.04', 1, 0)");
    d.transaction();
    QSqlQuery detail(d), occurrence(d), price(d);
    detail.prepare("insert into Detail (N_f, N, OKP, Name, V, modif) values (?, ?, '', ?, 1.5, 1)");
    occurrence.prepare("insert into DataTab (N_f, SE_f, SE, Picture, Position, Quantity, remN, "
                       "modif) values (?, '', '', 0, 0, 1, 0, 1)");
    price.prepare("insert into Price (ID_P, Name_P, Price, PriceZ) values (?, ?, 10.5, 9)");
    for (int i = 0; i < Parts; ++i) {
        const QString n = partNumber(i);
        const QString name = QStringLiteral("Деталь %1").arg(i);
        detail.addBindValue(keyForm(n));
        detail.addBindValue(n);
        detail.addBindValue(name);
        detail.exec();
        occurrence.addBindValue(keyForm(n));
        occurrence.exec();
        price.addBindValue(n);
        price.addBindValue(name);
        price.exec();
    }
    d.commit();
}

// The staging and basket statements of the command, in one transaction.
double bare() {
    QElapsedTimer t;
    t.start();
    readAll(QStringLiteral("begin"));
    readAll(DM->QFind.text());
    readAll(QStringLiteral("delete from OrderAll"));
    const std::vector<OrderSql::Price> prices = {{"Price", "", "10.5"}, {"PriceZ", "", "9"}};
    for (int i = 0; i < Found; ++i) {
        const QString n = partNumber(i);
        readAll(OrderAllSql::stage(i + 1, n, keyForm(n), "Деталь", "1.5", prices).join('\n'));
    }
    readAll(OrderAllSql::staged().join('\n'));
    for (int i = 0; i < Found; ++i) {
        const QString n = partNumber(i);
        readAll(OrderSql::insertLine(i + 1, n, keyForm(n), "Деталь", 1, "1.5", prices).join('\n'));
    }
    readAll(QStringLiteral("rollback"));
    return msSince(t);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CatalogApplication app(argc, argv);
    QTemporaryDir tmp;
    Schema::createCatalogue(QDir(tmp.path()).absoluteFilePath(TDM::databaseFileName()));
    auto forms = Forms::create(tmp.path());
    if (!forms) return 1;
    TmainForm& main = forms->main();
    main.show();
    fill();

    FindSql::Statement s;
    s.condition = QStringLiteral("where (modif=1) and (N_f like '50%')");
    s.lines = {QStringLiteral("select * from forFind where (modif=1) and (N_f like '50%')"),
               QStringLiteral("order by N_f, modif")};
    main.showSearchResult(s, false);
    QElapsedTimer t;
    double ok = 0;
    Modal::setResponder([&](QDialog& d) {
        QElapsedTimer o;
        o.start();
        static_cast<TorderAllForm&>(d).bbOK->click();
        ok = msSince(o);
    });
    t.start();
    main.sbOrderAll->click();
    const double total = msSince(t);
    QSqlQuery count(DM->Database->database());
    count.exec("select count(*) from Order_");
    count.next();
    std::printf("add %d found parts: %.1f ms (OK %.1f ms), bare %.1f ms, basket %d lines\n", Found,
                total, ok, bare(), count.value(0).toInt());

    double write = 0;
    QElapsedTimer finish;
    Modal::setResponder([&](QDialog& d) {
        // The question about the current part (the search left one) is answered No.
        auto* wizard = qobject_cast<TdetForm*>(&d);
        if (!wizard) {
            d.reject();
            return;
        }
        TdetForm& w = *wizard;
        w.eN->setText(partNumber(Parts / 2));
        w.eV->setText(QStringLiteral("2,5"));
        w.bbForw->click();
        QElapsedTimer o;
        o.start();
        w.bbForw->click();
        write = msSince(o);
        finish.start();
        w.bbForw->click();
    });
    main.Change1->trigger();
    const double done = msSince(finish);
    std::printf("editing wizard on %d parts: write %.1f ms, \"Готово\" %.1f ms\n", Parts, write,
                done);
    return 0;
}
