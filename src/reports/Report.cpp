#include "reports/Report.h"

#include "data/connection.h"
#include "data/tquery.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "reportengine/reportengine.h"
#include "reports/reportpreview.h"

#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <QVBoxLayout>

TReport* Report = nullptr;

TReport::TReport(Connection& db, QWidget* parent)
    : QDialog(parent), db(db), vars(db), engine(std::make_unique<ReportEngine>(db)) {
    setObjectName(QStringLiteral("Report"));
    vars.install(*engine);
    engine->setMasterSql(QStringLiteral("select * from Order_"));

    tbReport = new QToolBar(this);
    auto tool = [this](const char* text, const char* hint, void (TReport::*click)()) {
        QAction* a = tbReport->addAction(QString::fromUtf8(text));
        a->setToolTip(QString::fromUtf8(hint));
        ErrorDisplay::connect(a, &QAction::triggered, this, [this, click] { (this->*click)(); });
        return a;
    };
    tool("Пред.", "Предыдущая страница", &TReport::sbPrevClick);
    tool("След.", "Следущая страница", &TReport::sbNextClick);
    tool("Печать", "Печать отчета", &TReport::sbPrintClick);
    tool("Сохранить в PDF", "Сохранить все страницы в файл PDF", &TReport::sbPdfClick);
    QAction* close = tbReport->addAction(QStringLiteral("Закрыть"));
    close->setToolTip(QStringLiteral("Закрыть"));
    connect(close, &QAction::triggered, this, &QDialog::accept);

    repName = new QComboBox(this);
    repName->setObjectName(QStringLiteral("repName"));
    repName->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    TQuery names(db, QStringLiteral("qReports"));
    names.add(QStringLiteral("select [index], name from Reports order by [index]"));
    names.open();
    for (; !names.eof(); names.next())
        repName->addItem(names.asString(QStringLiteral("name")),
                         names.asInteger(QStringLiteral("index")));
    tbReport->addWidget(repName);

    Zoom = new QComboBox(this);
    Zoom->setObjectName(QStringLiteral("Zoom"));
    pmZoom = new QMenu(this);
    auto* group = new QActionGroup(pmZoom);
    for (int z = 0; z < ReportPreview::ZoomCount; ++z) {
        Zoom->addItem(ReportPreview::zoomName(z));
        QAction* a = pmZoom->addAction(ReportPreview::zoomName(z));
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, z] {
            Zoom->setCurrentIndex(z);
            ZoomChange();
        });
    }
    tbReport->addWidget(Zoom);

    frPreview = new ReportPreview(this);
    connect(frPreview, &ReportPreview::menuRequested, pmZoom,
            [this](const QPoint& at) { pmZoom->popup(at); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tbReport);
    layout->addWidget(frPreview, 1);

    Zoom->setCurrentIndex(ReportPreview::PageWidth);
    pmZoom->actions().at(ReportPreview::PageWidth)->setChecked(true);
    ErrorDisplay::connect(repName, &QComboBox::activated, this, [this] { repNameChange(); });
    ErrorDisplay::connect(Zoom, &QComboBox::activated, this, [this] { ZoomChange(); });
    if (parent) {
        resize(parent->size());
        setMaximumSize(parent->size());
    }
}

TReport::~TReport() = default;

int TReport::execReport(int position) {
    LastReport = NoReport;
    {
        const QSignalBlocker quiet(repName);
        repName->setCurrentIndex(repName->findData(position + 1));
    }
    // The list holds no such report: the number still goes to the engine, which says it is missing.
    const int shown = repName->currentIndex() >= 0 ? repName->currentIndex() : position;
    ErrorDisplay::guard([&] { load(shown); });
    setWindowState(windowState() | Qt::WindowMaximized);
    return Modal::exec(*this);
}

void TReport::repNameChange() {
    if (repName->currentIndex() == LastReport) return;
    Zoom->setCurrentIndex(ReportPreview::PageWidth);
    pmZoom->actions().at(ReportPreview::PageWidth)->setChecked(true);
    frPreview->setZoom(ReportPreview::PageWidth);
    load(repName->currentIndex());
}

void TReport::load(int position) {
    // Whatever goes wrong, the preview must not go on showing the report chosen before.
    LastReport = position;
    frPreview->setDocument(nullptr);
    setWindowTitle(repName->itemText(position));
    const int number =
        repName->itemData(position).isValid() ? repName->itemData(position).toInt() : position + 1;
    engine->loadFromTable(QStringLiteral("Reports"), number);
    setWindowTitle(engine->currentTemplate().name);
    frPreview->setDocument(std::make_unique<ReportDocument>(engine->prepare()));
}

void TReport::ZoomChange() {
    pmZoom->actions().at(Zoom->currentIndex())->setChecked(true);
    frPreview->setZoom(Zoom->currentIndex());
}

void TReport::sbPrevClick() {
    frPreview->previousPage();
}

void TReport::sbNextClick() {
    frPreview->nextPage();
}

void TReport::sbPrintClick() {
    // Windows kept above others would cover the print dialog.
    const bool above = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (above) lower();
    frPreview->print();
    if (above) raise();
}

void TReport::sbPdfClick() {
    // The number field of each of the report data dialog's documents; the letter has none.
    static const char* const numbers[] = {"eInvoiceNumber", "eAgreementNumber", "",
                                          "eOpiseNumber",   "eAccountNumber",   "eAccountNumberF"};
    const int at = repName->currentIndex();
    QString number =
        at >= 0 && at < 6 ? vars.fields.value(QString::fromUtf8(numbers[at])) : QString();
    if (number.contains(QLatin1Char('_'))) number.clear(); // a blank left to fill by hand
    frPreview->savePdf(number);
}
