// Times the basket and history commands on a 1 000-line basket and a 20 000-record history,
// each beside the same statements run directly on SQLite in one transaction:
// adding a line through the dialog, changing a line, deleting line 1 (999 renumbered), filing
// the basket into the history, and choosing a supplier in the history filter. Each is timed
// until its handler returns and until the window has been painted.
//
//   bench_basket [catalogue directory]
//
// It works on a copy of the catalogue's base.mdb in a temporary directory (an empty catalogue
// when no directory is given), so the catalogue itself is never changed.
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "basket/Newgrid.h"
#include "basket/order.h"
#include "basket/ordersql.h"
#include "benchsupport.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/schema.h"
#include "platform/modal.h"
#include "search/keyform.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>
#include <functional>

using namespace Bench;

namespace {

constexpr int Lines = 1000;
constexpr int Records = 20000;
constexpr int Runs = 7;
const char* const Enterprises[] = {"Ромашка", "Астра", "Лютик", "Василёк", "Клевер"};

// The statements, each read to its last row, in one transaction.
double bare(const QStringList& statements) {
    QElapsedTimer t;
    t.start();
    readAll(QStringLiteral("begin"));
    for (const QString& s : statements)
        readAll(s);
    readAll(QStringLiteral("commit"));
    return msSince(t);
}

void exec(const QString& sql) {
    DM->Database->exec(sql);
}

QString partNumber(int i) {
    return QStringLiteral("50-%1").arg(1000000 + i);
}

void fill() {
    QSqlDatabase d = DM->Database->database();
    exec(QStringLiteral("delete from Order_"));
    exec(QStringLiteral("delete from History"));
    QSqlQuery q(d);
    q.exec(QStringLiteral("select max([Index]) from enterprise"));
    int index = q.next() ? q.value(0).toInt() : 0;
    for (const char* name : Enterprises)
        q.exec(QStringLiteral("insert or ignore into enterprise ([Index], Name) values (%1, '%2')")
                   .arg(++index)
                   .arg(QString::fromUtf8(name)));
    d.transaction();
    QSqlQuery line(d), record(d);
    line.prepare("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values (?, ?, ?, ?, "
                 "?, ?, ?, ?)");
    for (int i = 1; i <= Lines; ++i) {
        for (const QVariant& v :
             {QVariant(i), QVariant(partNumber(i)), QVariant(keyForm(partNumber(i))),
              QVariant(QStringLiteral("Деталь %1").arg(i)), QVariant(1 + i % 5),
              QVariant(0.5 + i % 10), QVariant(100.0 + i), QVariant(90.0 + i)})
            line.addBindValue(v);
        line.exec();
    }
    record.prepare("insert into History (N, Supplier, Buyer, Date_, ID, Name, K, V, Price, PriceZ) "
                   "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const QDate first = QDate::currentDate().addDays(-730);
    for (int i = 1; i <= Records; ++i) {
        for (const QVariant& v :
             {QVariant(i), QVariant(QString::fromUtf8(Enterprises[i % 5])),
              QVariant(QString::fromUtf8(Enterprises[(i / 5) % 5])),
              QVariant(first.addDays(i / 28).toString("yyyy-MM-dd")), QVariant(partNumber(i)),
              QVariant(QStringLiteral("Деталь %1").arg(i)), QVariant(1 + i % 7),
              QVariant(0.25 * (i % 9)), QVariant(10.0 + i % 100), QVariant(9.0 + i % 90)})
            record.addBindValue(v);
        record.exec();
    }
    d.commit();
}

QStringList basketRefresh() {
    return {DM->QOrder.text(), DM->QItogo.text()};
}

// The command's time until its handler returned and until the window was painted, beside the
// bare statements; the ratio is the handler's.
void report(const char* what, const std::vector<double>& handled, const std::vector<double>& ui,
            const std::vector<double>& raw) {
    const double h = median(handled);
    const double b = median(raw);
    std::printf("%-34s %9.1fms %9.1fms %9.1fms %7.2f\n", what, h, median(ui), b, h / b);
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
    main.loadEnterpriseBoxes();
    main.pressPanelButton(main.sbView);
    QApplication::processEvents();
    std::vector<double> handled;
    // The handler has returned: its time is noted, then the window is painted.
    auto settle = [&](const QElapsedTimer& t) {
        handled.push_back(msSince(t));
        main.dbgOrder->viewport()->repaint();
        main.dbgHistory->viewport()->repaint();
        QApplication::processEvents();
    };
    std::printf("%-34s %11s %11s %11s %7s\n", "command", "handler", "painted", "bare", "ratio");

    // A new part typed into the dialog and confirmed.
    std::vector<double> ui, raw;
    for (int r = 0; r < Runs; ++r) {
        const QString number = QStringLiteral("77-%1").arg(r);
        QElapsedTimer t;
        Modal::setResponder([&](QDialog& d) {
            auto& o = static_cast<TorderForm&>(d);
            o.eN->setText(number);
            o.eNKeyUp();
            o.eK->setText(QStringLiteral("2"));
            t.start();
            o.bbAppend->click();
            settle(t);
            ui.push_back(msSince(t));
        });
        main.sbAdd->trigger();
        const QString key = keyForm(number);
        const std::vector<OrderSql::Price> prices = {{"Price", "Цена", "10,5"},
                                                     {"PriceZ", "Цена ЮЛЗ", "9"}};
        exec(QStringLiteral("delete from Order_ where ID_f='%1'").arg(key));
        raw.push_back(
            bare(QStringList()
                 << OrderSql::findLine(key).join('\n') << OrderSql::lastLine().join('\n')
                 << OrderSql::insertLine(Lines + 1, number, key, "", 2, "0", prices).join('\n')
                 << basketRefresh()));
        exec(QStringLiteral("delete from Order_ where ID_f='%1'").arg(key));
    }
    report("add a line (1 000 lines)", handled, ui, raw);

    // Line 500's quantity changed.
    ui.clear();
    raw.clear();
    handled.clear();
    Modal::setResponder([&](QDialog& d) {
        auto& o = static_cast<TorderForm&>(d);
        o.eK->setText(QStringLiteral("3"));
        QElapsedTimer t;
        t.start();
        o.bbAppend->click();
        settle(t);
        ui.push_back(msSince(t));
    });
    for (int r = 0; r < Runs; ++r) {
        DM->QOrder.moveTo(499);
        main.sbChange->trigger();
        const QString key = keyForm(partNumber(500));
        raw.push_back(bare(QStringList()
                           << OrderSql::changeLine(key, 3,
                                                   {{"Price", "", "600"}, {"PriceZ", "", "590"}})
                                  .join('\n')
                           << basketRefresh()));
    }
    report("change line 500", handled, ui, raw);

    // Line 1 deleted, 999 lines renumbered; put back untimed.
    ui.clear();
    raw.clear();
    handled.clear();
    Modal::setResponder([](QDialog& d) { d.findChild<QPushButton*>("bYes")->click(); });
    auto putBack = [] {
        exec("update Order_ set N=N+1");
        exec(QStringLiteral("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) values "
                            "(1, '%1', '%2', 'Деталь 1', 2, 1.5, 101, 91)")
                 .arg(partNumber(1), keyForm(partNumber(1))));
    };
    for (int r = 0; r < Runs; ++r) {
        DM->QOrder.first();
        QElapsedTimer t;
        t.start();
        main.sbDel->trigger();
        settle(t);
        ui.push_back(msSince(t));
        putBack();
        raw.push_back(bare(QStringList()
                           << OrderSql::deleteNumbered("Order_", 1).join('\n')
                           << OrderSql::closeUp("Order_", 1).join('\n') << basketRefresh()));
        putBack();
    }
    main.NewOrder();
    report("delete line 1 (999 renumbered)", handled, ui, raw);

    // The basket filed into the 20 000-record history, kept ("Нет"); the records removed
    // untimed.
    ui.clear();
    raw.clear();
    handled.clear();
    Modal::setResponder([](QDialog& d) { d.findChild<QPushButton*>("bNo")->click(); });
    for (int r = 0; r < Runs; ++r) {
        QElapsedTimer t;
        t.start();
        main.sbPutToHistory->click();
        settle(t);
        ui.push_back(msSince(t));
        exec(QStringLiteral("delete from History where N>%1").arg(Records));
        QStringList statements = {QStringLiteral("select * from Order_ order by N"),
                                  OrderSql::lastRecord().join('\n')};
        TQuery lines(*DM->Database, QStringLiteral("benchLines"));
        lines.setText({QStringLiteral("select * from Order_ order by N")});
        lines.open();
        int n = Records + 1;
        for (; !lines.eof(); lines.next())
            statements << OrderSql::historyRecord(n++, "Не указано", "Не указано", "10.12.2026",
                                                  lines.asString("ID"), lines.asString("Name"),
                                                  lines.asString("K"), lines.asString("V"),
                                                  {{"Price", "", lines.asString("Price")},
                                                   {"PriceZ", "", lines.asString("PriceZ")}})
                              .join('\n');
        raw.push_back(bare(statements));
        exec(QStringLiteral("delete from History where N>%1").arg(Records));
    }
    report("file 1 000 lines (20 000 records)", handled, ui, raw);

    // A supplier chosen in the history filter over two years of records.
    ui.clear();
    raw.clear();
    handled.clear();
    main.pressPanelButton(main.sbHistory);
    main.meDate1->setDate(QDate::currentDate().addDays(-800));
    for (int r = 0; r < Runs; ++r) {
        const int entry = main.cbSupplier->findText(QString::fromUtf8(Enterprises[r % 5]));
        main.cbSupplier->setCurrentIndex(entry);
        QElapsedTimer t;
        t.start();
        Q_EMIT main.cbSupplier->activated(entry);
        settle(t);
        ui.push_back(msSince(t));
        raw.push_back(bare({DM->QHistory.text(), DM->QHistoryItogo.text()}));
    }
    report("history filter by supplier", handled, ui, raw);
    std::printf("%-34s (%d of %d records shown)\n", "", DM->QHistory.recordCount(), Records);

    // What every basket command ends with: the basket reopened and painted, beside its two
    // selects. The commands' own statements cost the rest.
    ui.clear();
    raw.clear();
    handled.clear();
    main.pressPanelButton(main.sbView);
    for (int r = 0; r < Runs; ++r) {
        QElapsedTimer t;
        t.start();
        main.NewOrder();
        settle(t);
        ui.push_back(msSince(t));
        raw.push_back(bare(basketRefresh()));
    }
    report("of which the basket refresh", handled, ui, raw);
    Modal::setResponder(nullptr);
    return 0;
}
