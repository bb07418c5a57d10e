// The result table of a catalogue search: the current found part on its drawing, and stepping
// from one found part to the next.
#include "app/mainform.h"

#include "app/dbgrid.h"
#include "data/datamod.h"
#include "data/dialect.h"
#include "data/shared.h"
#include "data/sql.h"
#include "platform/errordisplay.h"
#include "viewer/marker.h"

#include <QComboBox>
#include <QToolButton>

namespace {

// The row of the first occurrence that lies on a drawing (one without has Picture 0), or -1.
int firstOnDrawing(const TQuery& occurrences) {
    const int picture = occurrences.fieldIndex(QStringLiteral("Picture"));
    for (int row = 0; row < occurrences.recordCount(); ++row)
        if (occurrences.cell(row, picture).toInt() > 0) return row;
    return -1;
}

} // namespace

void TmainForm::FindNew() {
    // An empty result has no row to build the statements from.
    if (!foundRows()) return;
    const TQuery& found = dm->QFind;
    const QString modif = QString::number(found.asInteger(QStringLiteral("modif")));
    TQuery& part = dm->QPicPos;
    // What the drawing panel shows rests on QPicPos: kept for a part that is on no drawing.
    const QString shownText = part.text();
    const bool shownOpen = part.active();
    const int shownRow = part.recNo() - 1;

    part.close();
    part.setText({QStringLiteral("select %1 * from Find ").arg(Dialect::DistinctRow) +
                  Shared->searchCondition() + QStringLiteral(" and N_f=") +
                  Sql::quote(found.asString(QStringLiteral("N_f"))) +
                  QStringLiteral(" and modif=") + modif});
    part.open();
    const int target = firstOnDrawing(part);
    if (target < 0) {
        part.setText(shownText.split(QLatin1Char('\n')));
        if (shownOpen) {
            part.open();
            part.moveTo(shownRow);
        }
        // The hint keeps the remark of the part shown, which the panel switches carry.
        const QString remark = statusText().isEmpty() ? SavedRemark : statusHint();
        setStatus(QStringLiteral("Деталь %1 не показана ни на одном рисунке")
                      .arg(found.asString(QStringLiteral("N"))),
                  remark);
        return;
    }

    TQuery& standard = dm->QSTD;
    standard.close();
    standard.setText({QStringLiteral("select %1 * from STD where N_f=").arg(Dialect::DistinctRow) +
                      Sql::quote(part.asString(QStringLiteral("N_f"))) +
                      QStringLiteral(" and modif=") + modif});
    standard.open();

    SelAll(SelMarker, true);
    if (Markers[SelMarker]->text() == QLatin1String("0")) UnselectSE();
    part.moveTo(target);
    SeekTarget = true;
    TargetPos = part.asInteger(QStringLiteral("Position"));
    CurrentModif = part.asInteger(QStringLiteral("modif"));
    CurrentPic = part.asInteger(QStringLiteral("Picture"));
    try {
        LoadNewImage();
    } catch (...) {
        // The drawing shown stays, but the part panel goes: it would show another part than the
        // found row, which is the current part "Добавить" takes.
        LabelVisible(false);
        setCurrentPart(found.asString(QStringLiteral("N")), found.asString(QStringLiteral("Name")),
                       found.asString(QStringLiteral("V")));
        if (!panelTable->isHidden()) applyItemStates(Panel::Table);
        throw;
    }
    LabelVisible(true);
    allSE();
    if (target > 0) {
        part.moveTo(target);
        SEIndex = target;
        ComboBoxSE->setCurrentIndex(target);
    }

    if (SeekTarget) {
        // The position has no place on the drawing: no marker of another part is taken for it.
        SeekTarget = false;
    } else {
        SelAll(TargetMarker, false);
        SelMarker = TargetMarker;
    }
    // A position of 0 has no marker to show: the assembly's members are highlighted instead.
    if (TargetPos == 0) SelectSE(part.asString(QStringLiteral("N")));
    // The load enables the drawing's tool items; they stay off while the table is in front.
    if (!panelTable->isHidden()) applyItemStates(Panel::Table);
}

void TmainForm::sbNextItemClick() {
    TQuery& found = dm->QFind;
    found.next();
    if (found.eof()) found.first();
    FindNew();
}

void TmainForm::sbPredItemClick() {
    TQuery& found = dm->QFind;
    found.prior();
    if (found.bof()) found.last();
    FindNew();
}

void TmainForm::dbgFindDblClick() {
    if (foundRows()) pressPanelButton(sbPic);
}

void TmainForm::dbgFindKeyUp() {
    dbgFindDblClick();
}

void TmainForm::QFindAfterScroll() {
    const TQuery& found = dm->QFind;
    if (found.isEmpty()) return;
    setCurrentPart(found.asString(QStringLiteral("N")), found.asString(QStringLiteral("Name")),
                   found.asString(QStringLiteral("V")));
}

void TmainForm::showFoundCount() {
    const TQuery& found = dm->QFind;
    lbK->setText(QString::number(found.rowsRead()) +
                 (found.complete() ? QString() : QStringLiteral("…")));
    lbK->adjustSize();
}

void TmainForm::connectFound() {
    using ErrorDisplay::connect;
    // The hook runs inside the query's moves, so its errors reach whoever moved it.
    QObject::connect(&dm->QFind, &TQuery::afterScroll, this, [this] { QFindAfterScroll(); });
    QObject::connect(&dm->QFind, &TQuery::rowsAppended, this, [this] { showFoundCount(); });
    QObject::connect(&dm->QFind, &TQuery::readFailed, this, [this](const QString& message) {
        showFoundCount();
        ErrorDisplay::show(message);
    });
    connect(sbNextItem, &QToolButton::clicked, this, [this] { sbNextItemClick(); });
    connect(sbPredItem, &QToolButton::clicked, this, [this] { sbPredItemClick(); });
    connect(dbgFind, &TDBGrid::doubleClicked, this, [this] { dbgFindDblClick(); });
    connect(dbgFind, &TDBGrid::enterReleased, this, [this] { dbgFindKeyUp(); });
}
