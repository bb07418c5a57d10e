// The standardized-items panel: the item shown from the current row of QSTD, its searches and
// the way to it from the drawing.
#include "app/mainform.h"

#include "app/dbgrid.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "platform/errordisplay.h"
#include "std/stditem.h"
#include "std/stdsql.h"
#include "viewer/image.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <functional>

namespace {

// Runs a handler when Enter is released in an edit.
class EnterRelease : public QObject {
public:
    EnterRelease(QObject* parent, std::function<void()> handler)
        : QObject(parent), act(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) ErrorDisplay::guard(act);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> act;
};

void setCell(QTableWidget* grid, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid->setItem(row, column, item);
}

} // namespace

bool TmainForm::stdRows() const {
    return dm && dm->QSTD.active() && !dm->QSTD.isEmpty();
}

void TmainForm::NewSTD() {
    const TQuery& q = dm->QSTD;
    // The tool items belong to the panel in front: an item opened behind the drawing (a
    // marker click) leaves the drawing's printing and adding as they are.
    const bool front = !panelSTD->isHidden();
    if (!stdRows()) {
        if (front) {
            sbPrint->setEnabled(false);
            sbOrder->setEnabled(false);
            miOrder->setEnabled(false);
        }
        lbParam->hide();
        sgParam->hide();
        showSTDPicture(StdItem::PanelFallback, false);
        ePodGr->clear();
        eFullName->clear();
        return;
    }
    if (front) sbPrint->setEnabled(true);
    setCurrentPart(q.asString(QStringLiteral("N")), q.asString(QStringLiteral("Name")),
                   q.asString(QStringLiteral("V")));
    if (front) {
        sbOrder->setEnabled(true);
        miOrder->setEnabled(true);
    }
    lbParam->show();
    sgParam->show();
    ePodGr->setText(q.asString(QStringLiteral("PodName")));
    eFullName->setText(q.asString(QStringLiteral("FullName")));

    const std::vector<StdItem::Param> params = StdItem::panelParams(q);
    sgParam->clearContents();
    sgParam->setRowCount(int(params.size()));
    for (int row = 0; row < int(params.size()); ++row) {
        setCell(sgParam, row, 0, params[size_t(row)].name);
        setCell(sgParam, row, 1, params[size_t(row)].value);
    }
    const int height = int(params.size()) * TDBGrid::RowHeight + 5;
    const int room = panelSTD->height() - sgParam->y() - 2;
    const bool scrolls = room < height;
    sgParam->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    sgParam->resize(sgParam->width(), scrolls ? room : height);

    ScrollBoxSTD->horizontalScrollBar()->setValue(0);
    ScrollBoxSTD->verticalScrollBar()->setValue(0);
    showSTDPicture(StdItem::panelPicture(q.asInteger(QStringLiteral("modif")),
                                         q.asInteger(QStringLiteral("PodGroup")),
                                         q.asInteger(QStringLiteral("PicGost"))),
                   true);
}

void TmainForm::showSTDPicture(const QString& name, bool fit) {
    QImage picture;
    try {
        picture = readBitmap(StdItem::pictureOrFallback(dm->PicDir + QStringLiteral("std/"), name,
                                                        StdItem::PanelFallback));
    } catch (const FileError& e) {
        // The panel stays usable without its picture. The message waits until the panel is
        // in front, where switching to it asks again, so a marker click is not interrupted.
        ImageSTD->clear();
        if (!panelSTD->isHidden()) ErrorDisplay::show(e.message());
        return;
    }
    ImageSTD->setPixmap(QPixmap::fromImage(picture));
    if (fit) ImageSTD->setGeometry(StdItem::panelFit(ScrollBoxSTD->size(), picture.size()));
}

void TmainForm::QSTDAfterScroll() {
    NewSTD();
}

void TmainForm::sbDopClick() {
    NewSTD();
    pressPanelButton(sbSTD);
}

void TmainForm::sbPodGrClick() {
    dm->QSTD.setText(StdSql::bySubgroup(ePodGr->text()));
    dm->QSTD.open();
    NewSTD();
}

void TmainForm::sbFullNameClick() {
    dm->QSTD.setText(StdSql::byFullName(eFullName->text()));
    dm->QSTD.open();
    NewSTD();
}

void TmainForm::sgParamDrawCell(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) {
    // Without the focus a selected cell looks like the others: the grid shows no selection
    // while it is not being used.
    const bool selected = (option.state & QStyle::State_Selected) && sgParam->hasFocus();
    const QPalette& pal = sgParam->palette();
    painter->save();
    painter->fillRect(option.rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      index.data().toString());
    painter->restore();
}

void TmainForm::connectSTD() {
    using ErrorDisplay::connect;
    // The hook runs inside the query's moves, so its errors reach whoever moved it.
    QObject::connect(&dm->QSTD, &TQuery::afterScroll, this, [this] { QSTDAfterScroll(); });
    connect(sbDop, &QToolButton::clicked, this, [this] { sbDopClick(); });
    connect(sbPodGr, &QToolButton::clicked, this, [this] { sbPodGrClick(); });
    connect(sbFullName, &QToolButton::clicked, this, [this] { sbFullNameClick(); });
    ePodGr->installEventFilter(new EnterRelease(ePodGr, [this] { sbPodGrClick(); }));
    eFullName->installEventFilter(new EnterRelease(eFullName, [this] { sbFullNameClick(); }));
    connect(sbPrint, &QAction::triggered, this, [this] { sbPrintClick(); });
}
