// "Изменить/Добавить деталь...": the editing wizard on the current part or an empty one, and
// the drawing and part panel refreshed after the catalogue changed.
#include "app/mainform.h"

#include "app/messbox.h"
#include "data/datamod.h"
#include "editing/det.h"
#include "editing/detsql.h"
#include "platform/errordisplay.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

void TmainForm::Change1Click() {
    detForm->startEmpty = true;
    if (sbOrder->isEnabled()) {
        messForm->ShowBox(QStringLiteral("Изменить параметры текущей детали?"), CatalogCaption,
                          TmessForm::kindYesNo);
        if (messForm->Answer == TmessForm::mrYes) detForm->prepareCurrent(CurN, CurrentModif);
    }
    const bool changed =
        detForm->run([this](const DetSql::Part& part) { DetSql::write(*dm->Database, part); });
    if (!changed) return;
    // The drawing shows the new positions; the panel of the selected part its new data.
    const bool panelShown = !lbN->isHidden();
    if (CurrentPic > 0) LoadNewImage();
    if (panelShown && SelMarker < Markers.size()) PosOnClick(Markers[SelMarker]);
}

void TmainForm::connectEditing() {
    ErrorDisplay::connect(Change1, &QAction::triggered, this, [this] { Change1Click(); });
}
