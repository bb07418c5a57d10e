// Pointing at and clicking the markers, the occurrences of a part, whole assemblies and
// dragging the drawing.
#include "app/mainform.h"

#include "data/datamod.h"
#include "data/sql.h"
#include "viewer/image.h"
#include "viewer/marker.h"
#include "viewer/viewersql.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace {

void normalLook(TMarker* m) {
    m->setLook(true, TMarker::Green, TMarker::Blue);
}

} // namespace

void TmainForm::dimHover() {
    TMarker* m = HoverLabel;
    if (!m || m->text().isEmpty() || m == SelLabel || m->background() == TMarker::Red ||
        SEPositions.contains(m->position()))
        return;
    normalLook(m);
}

void TmainForm::PosOnMouseMove(TMarker* marker) {
    if (HoverLabel != marker) dimHover();
    if (marker != HoverLabel || FromImage) marker->setTransparent(false);
    FromImage = false;
    HoverLabel = marker;
}

void TmainForm::mainImageMouseMove(int x, int y) {
    FromImage = true;
    dimHover();
    if (Dragging) {
        QScrollBar* h = ScrollBox->horizontalScrollBar();
        QScrollBar* v = ScrollBox->verticalScrollBar();
        h->setValue(h->value() + DragX - x);
        v->setValue(v->value() + DragY - y);
    }
}

void TmainForm::mainImageMouseDown(int x, int y) {
    Dragging = true;
    mainImage->setCursor(Qt::CrossCursor);
    DragX = x;
    DragY = y;
}

void TmainForm::mainImageMouseUp() {
    Dragging = false;
    mainImage->unsetCursor();
}

void TmainForm::PosOnClick(TMarker* marker) {
    sbNextItem->setEnabled(false);
    sbPredItem->setEnabled(false);
    SelAll(SelMarker, true);
    if (Markers[SelMarker]->text() == QLatin1String("0")) UnselectSE();
    if (SelLabel && !SelLabel->text().isEmpty()) SelAll(SelLabel->Tag, true);

    TQuery& part = dm->QPicPos;
    part.setText(ViewerSql::partAt(CurrentModif, CurrentPic, marker->position()));
    part.open();
    dm->QSTD.setText(ViewerSql::standardOf(CurrentModif, part.asString(QStringLiteral("N_f"))));
    dm->QSTD.open();
    LabelVisible(true);

    SelLabel = marker;
    SelMarker = marker->Tag;
    SelAll(SelMarker, false);
}

void TmainForm::PosOnContextPopup(TMarker* marker, const QPoint& globalPos) {
    PosOnClick(marker);
    pmImage->popup(globalPos);
}

void TmainForm::ComboBoxSEChange(int index) {
    TQuery& part = dm->QPicPos;
    part.moveBy(index - SEIndex);
    // An occurrence on no drawing (Picture 0) cannot be shown: the drawing stays as it is.
    if (part.asInteger(QStringLiteral("Picture")) <= 0) {
        setStatus(QStringLiteral("Это вхождение детали %1 не показано ни на одном рисунке")
                      .arg(part.asString(QStringLiteral("N"))),
                  statusHint());
        part.moveBy(SEIndex - index);
        ComboBoxSE->setCurrentIndex(SEIndex);
        return;
    }
    // The list of occurrences stays while the chosen one is shown.
    RefillSE = false;
    try {
        SEIndex = index;
        CurrentPic = part.asInteger(QStringLiteral("Picture"));
        SelAll(SelMarker, true);
        if (Markers[SelMarker]->text() == QLatin1String("0")) UnselectSE();
        TargetPos = part.asInteger(QStringLiteral("Position"));
        SeekTarget = true;
        LoadNewImage();
        LabelVisible(true);
    } catch (...) {
        RefillSE = true;
        throw;
    }
    if (SeekTarget) {
        // The position has no place on the drawing: no marker of another part is taken for it.
        SeekTarget = false;
    } else {
        SelAll(TargetMarker, false);
        SelMarker = TargetMarker;
    }
    ComboBoxSE->setCurrentIndex(index);
    ComboBoxSE->setToolTip(ComboBoxSE->currentText());
}

void TmainForm::allSE() {
    TQuery& part = dm->QPicPos;
    ComboBoxSE->clear();
    for (part.first(); !part.eof(); part.next())
        ComboBoxSE->addItem(part.asString(QStringLiteral("SE")));
    ComboBoxSE->setCurrentIndex(0);
    SEIndex = 0;
    part.first();
}

void TmainForm::sbSelSEClick() {
    const QString assembly = ComboBoxSE->currentText();
    if (assembly.isEmpty() || assembly == QLatin1String(" ") || assembly == QLatin1String("_"))
        return;
    TQuery& part = dm->QPicPos;
    part.setText(ViewerSql::partOnDrawing(CurrentPic, assembly));
    part.open();
    dm->QSTD.setText(ViewerSql::standardOf(part.asString(QStringLiteral("N_f"))));
    dm->QSTD.open();
    LabelVisible(true);
    SelAll(SelMarker, true);
    if (Markers[SelMarker]->text() == QLatin1String("0")) UnselectSE();

    const QString hint = part.asString(QStringLiteral("N")) + QLatin1Char(' ') +
                         part.asString(QStringLiteral("Name"));
    TMarker* found = nullptr;
    for (int i = 0; i < MarkerCount && !found; ++i)
        if (Markers[i]->toolTip() == hint) found = Markers[i];
    if (!found) {
        // The assembly has no number on this drawing: a hidden "0" marker stands for it.
        if (MarkerCount == Markers.size()) NewPos();
        found = Markers[MarkerCount];
        found->hide();
        found->setText(QStringLiteral("0"));
        found->Tag = MarkerCount;
        lbN->setText(assembly);
        setCurrentPart(lbN->text(), lbName->text(), lbV->text());
        ++MarkerCount;
    }
    SelLabel = found;
    SelMarker = found->Tag;
    SelAll(SelMarker, false);
    SelectSE(assembly);
}

void TmainForm::SelectSE(const QString& root) {
    // The members of an assembly highlighted before return to normal first.
    UnselectSE();
    QStringList stack{root};
    // Each assembly is expanded once, so a cycle in the catalogue cannot keep this going.
    QSet<QString> expanded;
    TQuery& q = dm->StrQuery;
    while (!stack.isEmpty()) {
        const QString number = stack.takeLast();
        if (expanded.contains(number)) continue;
        expanded.insert(number);
        q.setText(ViewerSql::membersOf(CurrentPic, number));
        q.open();
        for (; !q.eof(); q.next()) {
            const int position = q.asInteger(QStringLiteral("Position"));
            if (position != 0)
                SEPositions.insert(position);
            else
                stack.push_back(q.asString(QStringLiteral("N")));
        }
    }
    q.close();
    for (TMarker* m : Markers)
        if (!m->isHidden() && SEPositions.contains(m->position()))
            m->setLook(false, TMarker::AssemblyBlue, TMarker::White);
}

void TmainForm::UnselectSE() {
    for (TMarker* m : Markers)
        if (!m->isHidden() && SEPositions.contains(m->position())) normalLook(m);
    SEPositions.clear();
}
