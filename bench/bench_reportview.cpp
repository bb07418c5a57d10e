// Times the report viewer over a 500-line basket with the stored "Счет-фактура": choosing it
// until the first page shows, stepping pages and changing zoom, saving all pages as PDF; beside
// laying out rows of the same kind of HTML with QTextDocument alone.
//
//   bench_reportview
#include "benchsupport.h"
#include "data/connection.h"
#include "data/schema.h"
#include "platform/modal.h"
#include "reportengine/templatestore.h"
#include "reports/Report.h"
#include "reports/reportpreview.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>

using namespace Bench;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/base.mdb");
    Schema::createCatalogue(path);
    Connection db(path);
    QStringList fill = basketInserts(500);
    QString bareRows;
    for (int k = 1; k <= 500; ++k) {
        bareRows += QStringLiteral("<tr><td>%1</td><td>50-10020%1 Деталь номер %1</td><td>шт.</td>"
                                   "<td>1</td><td>1,00</td><td>1,00</td><td>20%</td><td>0,20</td>"
                                   "<td>1,20</td><td>-</td><td>-</td><td>-</td><td>-</td></tr>")
                        .arg(k);
    }
    fill << QStringLiteral("insert into enterprise ([Index], Name, INN) values (3, 'Поставщик', "
                           "'4826000300'), (4, 'Покупатель', '4823000001')");
    db.execAll(fill);
    storeTemplateFiles(db, QStringLiteral(CATALOG_TEMPLATES_DIR));

    TReport viewer(db);
    viewer.variables().SupplierIndex = 3;
    viewer.variables().BuyerIndex = 4;
    viewer.variables().vatText = QStringLiteral("20");
    viewer.resize(1200, 900);
    viewer.show();
    QApplication::processEvents();
    ReportPreview& preview = *viewer.frPreview;

    QElapsedTimer t;
    t.start();
    viewer.repName->setCurrentIndex(5);
    viewer.repNameChange();
    preview.view()->repaint();
    const double first = msSince(t);
    const int pages = preview.pageCount();

    double step = 0;
    for (int k = 0; k < 10; ++k) {
        t.restart();
        viewer.sbNextClick();
        preview.view()->repaint();
        step = std::max(step, msSince(t));
    }
    double zoom = 0;
    for (int z = 0; z < ReportPreview::ZoomCount; ++z) {
        t.restart();
        viewer.Zoom->setCurrentIndex(z);
        viewer.ZoomChange();
        preview.view()->repaint();
        zoom = std::max(zoom, msSince(t));
    }

    const QString pdf = dir.path() + QStringLiteral("/invoice.pdf");
    Modal::setFileResponder([pdf](const QString&) { return pdf; });
    t.restart();
    viewer.sbPdfClick();
    const double save = msSince(t);

    t.restart();
    QTextDocument bare;
    bare.setPageSize(QSizeF(1000, 600));
    bare.setHtml(QStringLiteral("<table border=\"1\" width=\"100%\">") + bareRows +
                 QStringLiteral("</table>"));
    const int barePages = bare.pageCount();
    const double layout = msSince(t);

    std::printf("Счет-фактура, 500 lines, %d pages: first page shown %.0f ms, page step (worst of "
                "10) %.1f ms, zoom change (worst of 10) %.1f ms, PDF of all pages %.0f ms; bare "
                "QTextDocument layout %.0f ms (%d pages)\n",
                pages, first, step, zoom, save, layout, barePages);
    return 0;
}
