// Export of the basket to a spreadsheet file.
#include "app/mainform.h"

#include "data/datamod.h"
#include "data/dberror.h"
#include "data/shared.h"
#include "export/basketexport.h"
#include "export/workbook.h"
#include "platform/desktop.h"
#include "platform/modal.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

namespace {

const QString CannotStart = QStringLiteral("Не могу запустить Excel");

struct GaugeShown {
    QProgressBar* gauge;
    ~GaugeShown() { gauge->hide(); }
};

} // namespace

void TmainForm::sbExcelClick() {
    QString path = Modal::saveFileName(
        this, QStringLiteral("Вставить в Excel"),
        QDir(dm->AppDir).filePath(QStringLiteral("Заказ.xlsx")),
        QStringLiteral("Книга Excel (*.xlsx);;Текст CSV, разделитель \";\" (*.csv)"));
    if (path.isEmpty()) return;
    const bool csv =
        QFileInfo(path).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
    if (!csv && QFileInfo(path).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");

    const auto columns = dm->priceColumns();
    TQuery& lines = dm->QOrder2;
    lines.setText({dm->QOrder.text()});
    lines.open();
    Sheet::Workbook book;
    {
        const GaugeShown shown{gProgress2};
        gProgress2->setRange(0, lines.recordCount() + int(columns.size()) +
                                    BasketExport::FinishingStages);
        gProgress2->setValue(0);
        gProgress2->show();
        BasketExport::fill(book.activeSheet(), columns, lines, Shared->ndsPercent(),
                           [this] { gProgress2->setValue(gProgress2->value() + 1); });
    }
    lines.close();

    try {
        if (csv)
            book.saveCsv(path);
        else
            book.saveXlsx(path);
    } catch (const CatalogError& e) {
        throw CatalogError(CannotStart + QLatin1Char('\n') + e.message());
    }
    if (!Desktop::openFile(path))
        throw CatalogError(CannotStart + QLatin1Char('\n') + QDir::toNativeSeparators(path));
}
