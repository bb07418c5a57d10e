#include "reports/ssp.h"

#include "data/dberror.h"
#include "data/tquery.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "reportengine/reportengine.h"
#include "reports/reportpreview.h"

#include <QToolBar>
#include <QVBoxLayout>

TsspForm* sspForm = nullptr;

TsspForm::TsspForm(Connection& db, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint),
      db(db), engine(std::make_unique<ReportEngine>(db)) {
    setObjectName(QStringLiteral("sspForm"));
    pb = new QToolBar(this);
    pb->setObjectName(QStringLiteral("pb"));
    frPreview_ = new ReportPreview(this);
    auto act = [this](const char* text, auto click) {
        ErrorDisplay::connect(pb->addAction(QString::fromUtf8(text)), &QAction::triggered, this,
                              click);
    };
    act("Пред.", [this] { frPreview_->previousPage(); });
    act("След.", [this] { frPreview_->nextPage(); });
    act("Печать", [this] {
        lower(); // kept above others, it would cover the print dialog
        frPreview_->print();
        raise();
    });
    act("Сохранить в PDF", [this] { frPreview_->savePdf(QString()); });
    act("Закрыть", [this] { accept(); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pb);
    layout->addWidget(frPreview_, 1);
    if (parent) {
        resize(parent->size());
        setMaximumSize(parent->size());
    }
}

TsspForm::~TsspForm() = default;

void TsspForm::sShow(int list) {
    setWindowTitle(list == 0 ? QStringLiteral("Сервисно-сбытовые предприятия (ССП)")
                             : QStringLiteral("Телефоны ЮЛЗ"));
    TQuery app(db, QStringLiteral("qApp"));
    app.add(QStringLiteral("select * from app where [index] = %1").arg(list));
    app.open();
    const QString table =
        app.isEmpty() ? QString() : app.asString(QStringLiteral("table")).trimmed();
    if (table.isEmpty())
        throw CatalogError(QStringLiteral("Справочник %1 отсутствует: в таблице app нет его строки "
                                          "или не указана таблица данных.")
                               .arg(list));
    engine->setMasterSql(QStringLiteral("select * from [%1]").arg(table));
    frPreview_->setDocument(nullptr);
    engine->loadFromTable(QStringLiteral("app"), list);
    frPreview_->setDocument(std::make_unique<ReportDocument>(engine->prepare()));
    frPreview_->setZoom(frPreview_->zoom());
    setWindowState(windowState() | Qt::WindowMaximized);
    Modal::exec(*this);
}
