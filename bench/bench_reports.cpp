// Times a tax-invoice-like report over a 500-line basket: loading and preparing it (expressions
// and layout), and writing all pages as PDF, beside laying out the same HTML with QTextDocument
// alone.
//
//   bench_reports
#include "benchsupport.h"
#include "data/connection.h"
#include "data/schema.h"
#include "reportengine/reportengine.h"
#include "reports/reportvars.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <cstdio>

using namespace Bench;

namespace {

const char* const invoice = R"(name: Счет-фактура
page: A4 landscape
font: DejaVu Sans 8
[title]
<h3 align="center">Счет-фактура № {{ Номер_6 }} от {{ Дата_6 }}</h3>
<p>Продавец: {{ Поставщик }}<br>Адрес: {{ Адрес_1 }}<br>ИНН: {{ ИНН_1 }}<br>
Грузоотправитель: {{ Грузоотправитель }}<br>Грузополучатель: {{ Грузополучатель }}<br>
Покупатель: {{ Покупатель }}<br>Адрес: {{ Адрес_2 }}<br>ИНН: {{ ИНН_2 }}</p>
[table header]
<tr><th>№</th><th>Наименование</th><th>Ед.</th><th>Кол.</th><th>Цена</th><th>Стоимость</th>
<th>Ставка</th><th>НДС</th><th>Всего</th></tr>
[row]
<tr><td>{{ LINE }}</td><td>{{ ID }} {{ Name }}</td><td>шт.</td><td align="right">{{ K }}</td>
<td align="right">{{ NUM(PriceToReport) }}</td><td align="right">{{ NUM(K * PriceToReport) }}</td>
<td>{{ НДС }}%</td><td align="right">{{ NUM(K * PriceToReport * НДС / 100) }}</td>
<td align="right">{{ NUM(K * PriceToReport * (100 + Number(НДС)) / 100) }}</td></tr>
[summary]
<p>Всего к оплате: {{ NUM(SUM(K * PriceToReport * (100 + Number(НДС)) / 100)) }}
({{ SUMPROPIS(SUM(K * PriceToReport * (100 + Number(НДС)) / 100), 0) }})</p>
<p>Руководитель ____________ {{ Директор_1 }}  Главный бухгалтер ____________ {{ ГлБух_1 }}</p>
[page footer]
<p align="right">Лист {{ PAGE }} из {{ PAGES }}</p>
)";

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/base.mdb");
    Schema::createCatalogue(path);
    Connection db(path);
    QString bareRows;
    for (int k = 1; k <= 500; ++k) {
        bareRows += QStringLiteral("<tr><td>%1</td><td>50-10020%1 Деталь номер %1</td><td>шт.</td>"
                                   "<td>1</td><td>1,00</td><td>1,00</td><td>20%</td><td>0,20</td>"
                                   "<td>1,20</td></tr>")
                        .arg(k);
    }
    db.execAll(basketInserts(500));

    ReportVariables vars(db);
    vars.vatText = QStringLiteral("20");
    ReportEngine engine(db);
    vars.install(engine);
    engine.setMasterSql(QStringLiteral("select * from Order_"));

    QElapsedTimer t;
    t.start();
    engine.loadFromText(QString::fromUtf8(invoice), QStringLiteral("Счет-фактура"));
    const ReportDocument doc = engine.prepare();
    const double prepare = msSince(t);

    t.restart();
    doc.savePdf(dir.path() + QStringLiteral("/invoice.pdf"));
    const double pdf = msSince(t);

    t.restart();
    QTextDocument bare;
    bare.setPageSize(QSizeF(1000, 600));
    bare.setHtml(QStringLiteral("<table border=\"1\" width=\"100%\">") + bareRows +
                 QStringLiteral("</table>"));
    const int barePages = bare.pageCount();
    const double layout = msSince(t);

    std::printf("500 lines, %d pages: load and prepare %.0f ms, PDF of all pages %.0f ms; "
                "bare QTextDocument layout of the rows %.0f ms (%d pages)\n",
                doc.pageCount(), prepare, pdf, layout, barePages);
    return 0;
}
