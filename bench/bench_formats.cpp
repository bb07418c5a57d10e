// Times the file formats on a catalogue of its own (in a temporary directory):
// - saving and opening a 1 000-line basket file;
// - the automatic price update of a 100 000-row supplier table on a 100 000-part catalogue,
//   half of the rows new parts added to the catalogue, beside the same updates and inserts
//   run bare in one transaction;
// - a 1 000-line priced sheet saved as .xlsx through the spreadsheet layer, beside
//   libxlsxwriter writing the same cells alone, and the 1 000-line basket exported (laid out
//   by the export's routine and saved as .xlsx).
//
//   bench_formats
#include "basket/basketfile.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/schema.h"
#include "data/sql.h"
#include "export/basketexport.h"
#include "export/workbook.h"
#include "search/keyform.h"
#include "settings/pricetable.h"
#include "settings/priceupdate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cstdio>
#include <shapefil.h>
#include <xlsxwriter.h>

namespace {

constexpr int Parts = 100000;
constexpr int Lines = 1000;

void report(const char* what, qint64 ms) {
    std::printf("%-62s %6lld ms\n", what, static_cast<long long>(ms));
}

QString number(int i) {
    return QStringLiteral("50-%1").arg(i, 7, 10, QLatin1Char('0'));
}

void makeCatalogue(const QString& dir) {
    Schema::createCatalogue(dir + "/base.mdb");
    Connection db(dir + "/base.mdb");
    db.database().transaction();
    QSqlQuery d(db.database()), p(db.database()), o(db.database());
    d.prepare("insert into Detail (N_f, N, Name, modif) values (?, ?, ?, 1)");
    p.prepare("insert into Price (ID_P, Name_P, Price, PriceZ) values (?, ?, 10, 9)");
    o.prepare("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ) "
              "values (?, ?, ?, ?, 2, 1.5, 100.25, NULL)");
    for (int i = 1; i <= Parts; ++i) {
        const QString n = number(i), name = QStringLiteral("Деталь номер %1").arg(i);
        d.addBindValue(keyForm(n));
        d.addBindValue(n);
        d.addBindValue(name);
        d.exec();
        p.addBindValue(n);
        p.addBindValue(name);
        p.exec();
        if (i <= Lines) {
            o.addBindValue(i);
            o.addBindValue(n);
            o.addBindValue(keyForm(n));
            o.addBindValue(name);
            o.exec();
        }
    }
    db.database().commit();
}

// Every other row an existing part, the rest new ones.
void makeTable(const QString& path) {
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(path).constData(), "LDID/38");
    DBFAddField(dbf, "NOMER", FTString, 20, 0);
    DBFAddField(dbf, "NAIM", FTString, 60, 0);
    DBFAddField(dbf, "CENA", FTString, 12, 0);
    QStringEncoder enc("IBM866");
    for (int r = 0; r < Parts; ++r) {
        const int i = r % 2 ? r + 1 : Parts + r + 1;
        DBFWriteStringAttribute(dbf, r, 0, number(i).toLatin1().constData());
        const QByteArray name = enc.encode(QStringLiteral("Деталь поставщика %1").arg(i));
        DBFWriteStringAttribute(dbf, r, 1, name.constData());
        DBFWriteStringAttribute(dbf, r, 2, "12,50");
    }
    DBFClose(dbf);
}

// The same statements as the update, bare: one transaction, no reading of the table.
qint64 bareUpdate(const QString& dir) {
    Connection db(dir + "/base.mdb");
    QElapsedTimer t;
    t.start();
    db.database().transaction();
    QSqlQuery q(db.database());
    for (int r = 0; r < Parts; ++r) {
        const int i = r % 2 ? r + 1 : 2 * Parts + r + 1;
        const QString n = Sql::quote(number(i)), name = Sql::quote("Деталь поставщика");
        if (r % 2) {
            q.exec(QStringLiteral("update Price set Name_P=%1, PriceZ=12.5 where ID_P=%2")
                       .arg(name, n));
        } else {
            q.exec(QStringLiteral("insert into Price(ID_P,Name_P,PriceZ) values(%1,%2,12.5)")
                       .arg(n, name));
            const QString k = Sql::quote(keyForm(number(i)));
            q.exec(QStringLiteral("insert into Detail(modif, N_f, N, Name) values(0, %1, %2, %3)")
                       .arg(k, n, name));
            q.exec(QStringLiteral("insert into DataTab(modif, N_f, SE_f, SE, Picture, Position, "
                                  "Quantity, remN) values(0, %1, ' ', ' ', 0, 0, 0, 0)")
                       .arg(k));
        }
    }
    db.database().commit();
    return t.elapsed();
}

void sheetWithLayer(const QString& path) {
    Sheet::Workbook book;
    Sheet::Worksheet& s = book.activeSheet();
    for (int r = 2; r < Lines + 2; ++r) {
        s.range(Sheet::cellName(1, r), Sheet::cellName(1, r)).setValue(r - 1);
        s.range(Sheet::cellName(2, r), Sheet::cellName(2, r)).setValue(number(r));
        s.range(Sheet::cellName(3, r), Sheet::cellName(3, r)).setValue(QStringLiteral("Деталь"));
        s.range(Sheet::cellName(4, r), Sheet::cellName(4, r)).setValue(2);
        s.range(Sheet::cellName(5, r), Sheet::cellName(5, r)).setValue(1.5);
        s.range(Sheet::cellName(6, r), Sheet::cellName(6, r)).setValue(100.25);
        s.range(Sheet::cellName(7, r), Sheet::cellName(7, r))
            .setFormula(QStringLiteral("=F%1*(100+20)/100").arg(r), 120.3);
    }
    s.range("E2", Sheet::cellName(5, Lines + 3)).setNumberFormatLocal("0,000");
    s.range("F2", Sheet::cellName(7, Lines + 3)).setNumberFormatLocal("0,00");
    Sheet::Range all = s.range("A1", Sheet::cellName(7, Lines + 1));
    for (int b = Sheet::EdgeLeft; b <= Sheet::InsideHorizontal; ++b)
        all.setBorder(b);
    book.saveXlsx(path);
}

void sheetBare(const QString& path) {
    lxw_workbook* wb = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* text = workbook_add_format(wb);
    format_set_border(text, LXW_BORDER_THIN);
    lxw_format* weight = workbook_add_format(wb);
    format_set_border(weight, LXW_BORDER_THIN);
    format_set_num_format(weight, "0.000");
    lxw_format* price = workbook_add_format(wb);
    format_set_border(price, LXW_BORDER_THIN);
    format_set_num_format(price, "0.00");
    for (int r = 1; r <= Lines; ++r) {
        worksheet_write_number(ws, lxw_row_t(r), 0, r, text);
        worksheet_write_string(ws, lxw_row_t(r), 1, number(r + 1).toUtf8().constData(), text);
        worksheet_write_string(ws, lxw_row_t(r), 2, "Деталь", text);
        worksheet_write_number(ws, lxw_row_t(r), 3, 2, text);
        worksheet_write_number(ws, lxw_row_t(r), 4, 1.5, weight);
        worksheet_write_number(ws, lxw_row_t(r), 5, 100.25, price);
        worksheet_write_formula_num(
            ws, lxw_row_t(r), 6,
            QStringLiteral("=F%1*(100+20)/100").arg(r + 1).toUtf8().constData(), price, 120.3);
    }
    workbook_close(wb);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    makeCatalogue(dir.path());
    QTemporaryDir bare;
    makeCatalogue(bare.path());
    const QString table = dir.path() + "/price.dbf";
    makeTable(table);
    QElapsedTimer t;
    {
        TDM dm(dir.path());
        const QString file = dir.path() + "/basket.db";
        t.start();
        BasketFile::saveBasket(dm, file);
        report("save a 1 000-line basket file", t.elapsed());
        t.start();
        BasketFile::loadBasket(dm, file);
        report("open a 1 000-line basket file into the basket", t.elapsed());

        t.start();
        const PriceUpdate::Counts c =
            PriceUpdate::run(dm, PriceTable(table), {0, 1, 2, "PriceZ", true});
        report("price update, 100 000 rows, half of them new parts", t.elapsed());
        std::printf("  updated %d, added %d, parts %d, skipped %d\n", c.updated, c.added, c.parts,
                    c.skipped);
    }
    report("the same updates and inserts bare, one transaction", bareUpdate(bare.path()));
    t.start();
    sheetWithLayer(dir.path() + "/layer.xlsx");
    report("1 000-line sheet through the spreadsheet layer (.xlsx)", t.elapsed());
    t.start();
    sheetBare(dir.path() + "/bare.xlsx");
    report("the same cells with libxlsxwriter alone", t.elapsed());
    {
        TDM dm(dir.path());
        t.start();
        Sheet::Workbook book;
        dm.QOrder2.setText({QStringLiteral("select * from Order_ order by N")});
        dm.QOrder2.open();
        BasketExport::fill(book.activeSheet(), dm.priceColumns(), dm.QOrder2, 20, [] {});
        book.saveXlsx(dir.path() + "/basket.xlsx");
        report("export of the 1 000-line basket (.xlsx)", t.elapsed());
    }
    return 0;
}
