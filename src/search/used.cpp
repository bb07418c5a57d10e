#include "search/used.h"

#include "app/dialogs.h"
#include "app/mainface.h"
#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "search/quicksql.h"

#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

TusedForm* usedForm = nullptr;

namespace {

QTableWidget* makeGrid(QWidget* parent, const QString& name, const QStringList& titles) {
    auto* grid = new QTableWidget(0, int(titles.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(titles);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

} // namespace

TusedForm::TusedForm(TMainFace& mainFace, QWidget* parent) : QDialog(parent), face(mainFace) {
    setupDialog(this, QStringLiteral("usedForm"), QStringLiteral("Где применяется"));
    setWindowFlag(Qt::Tool);
    setModal(false);
    resize(760, 360);
    lbPart = new QLabel(this);
    lbPart->setObjectName(QStringLiteral("lbPart"));
    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    sgUsed = makeGrid(pages, QStringLiteral("sgUsed"),
                      {QStringLiteral("Модификация"), QStringLiteral("Группа"),
                       QStringLiteral("Рисунок"), QStringLiteral("Позиция"),
                       QStringLiteral("Кол-во"), QStringLiteral("Входит в сб. единицу")});
    sgMembers =
        makeGrid(pages, QStringLiteral("sgMembers"),
                 {QStringLiteral("Модификация"), QStringLiteral("Группа"),
                  QStringLiteral("Рисунок"), QStringLiteral("Позиция"), QStringLiteral("Кол-во"),
                  QStringLiteral("Номер"), QStringLiteral("Наименование")});
    pages->addTab(sgUsed, QStringLiteral("Где применяется"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbPart);
    layout->addWidget(pages);
    using ErrorDisplay::connect;
    for (QTableWidget* grid : {sgUsed, sgMembers})
        connect(grid, &QTableWidget::cellDoubleClicked, this,
                [this, grid](int row, int) { gridDblClick(grid, row); });
}

TusedForm::~TusedForm() = default;

void TusedForm::showPart(const QString& nf, const QString& n, const QString& name) {
    if (!query) query = std::make_unique<TQuery>(*DM->Database, QStringLiteral("QUsed"));
    shownKey = nf;
    lbPart->setText(n + QStringLiteral("  ") + name);
    fill(sgUsed, QuickSql::whereUsed(nf, Shared->modFilter()), false);
    fill(sgMembers, QuickSql::members(nf, Shared->modFilter()), true);
    const int membersPage = pages->indexOf(sgMembers);
    if (sgMembers->rowCount() > 0 && membersPage < 0)
        pages->addTab(sgMembers, QStringLiteral("Состав"));
    else if (sgMembers->rowCount() == 0 && membersPage >= 0)
        pages->removeTab(membersPage);
    pages->setCurrentIndex(0);
    show();
    raise();
    activateWindow();
}

void TusedForm::fill(QTableWidget* grid, const QString& sql, bool members) {
    TQuery& q = *query;
    q.setText({sql});
    q.open();
    grid->setRowCount(0);
    grid->setRowCount(q.recordCount());
    for (int row = 0; !q.eof(); q.next(), ++row) {
        const int picture = q.asInteger(QStringLiteral("Picture"));
        const QString groupN = q.asString(QStringLiteral("GroupN"));
        const QString group =
            groupN.isEmpty() || groupN == QLatin1String("00")
                ? QString()
                : groupN + QStringLiteral(": ") + q.asString(QStringLiteral("GroupName"));
        const QString drawing =
            picture > 0
                ? QStringLiteral("%1. %2").arg(picture).arg(q.asString(QStringLiteral("PicName")))
                : QStringLiteral("не показана на рисунке");
        QStringList cells{q.asString(QStringLiteral("MODName")), group, drawing,
                          q.asString(QStringLiteral("Position")),
                          q.asString(QStringLiteral("Quantity"))};
        if (members)
            cells << q.asString(QStringLiteral("N")) << q.asString(QStringLiteral("Name"));
        else
            cells << q.asString(QStringLiteral("SE")).trimmed();
        for (int c = 0; c < cells.size(); ++c)
            grid->setItem(row, c, new QTableWidgetItem(cells[c]));
        QTableWidgetItem* first = grid->item(row, 0);
        first->setData(KeyRole, members ? q.asString(QStringLiteral("N_f")) : shownKey);
        first->setData(ModifRole, q.asInteger(QStringLiteral("modif")));
        first->setData(PictureRole, picture);
        first->setData(PositionRole, q.asInteger(QStringLiteral("Position")));
    }
    q.close();
    grid->resizeColumnsToContents();
}

void TusedForm::gridDblClick(QTableWidget* grid, int row) {
    const QTableWidgetItem* item = grid->item(row, 0);
    if (!item) return;
    face.showPartOn(item->data(KeyRole).toString(), item->data(ModifRole).toInt(),
                    item->data(PictureRole).toInt(), item->data(PositionRole).toInt());
}
