// The enterprise boxes of the basket and history panels, their buttons, and "Отчет".
#include "app/mainform.h"

#include "data/datamod.h"
#include "data/shared.h"
#include "platform/errordisplay.h"
#include "platform/modal.h"
#include "reports/Report.h"
#include "reports/Select.h"
#include "reports/Sell_Buy.h"
#include "reports/plants.h"
#include "reports/reportdata.h"
#include "reports/ssp.h"

#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <utility>

namespace {

const QString AnyPlant = QStringLiteral("Любой");

} // namespace

void TmainForm::enterprisesChanged(const QStringList& names, const Plants::ListEdit& edit) {
    const std::pair<QComboBox*, const QString&> basket[] = {{cbOrSupplier, ReportData::SupplierKey},
                                                            {cbOrBuyer, ReportData::BuyerKey}};
    for (const auto& [box, key] : basket) {
        const QSignalBlocker quiet(box);
        const int old = box->currentIndex();
        box->clear();
        box->addItems(names);
        const int now = Plants::positionAfter(old, edit, int(names.size()));
        box->setCurrentIndex(now);
        // The remembered position follows its enterprise when the register moves it, so the
        // next start shows the same one.
        if (edit.kind != Plants::ListEdit::Filled && now != old)
            dm->settings().setValue(key, QString::number(now));
    }
    // The history filters list the real enterprises after "Любой" and keep their choice by
    // name; one whose enterprise is gone falls back to "Любой".
    const QStringList real = names.mid(Plants::FixedRows);
    for (QComboBox* box : {cbSupplier, cbBuyer}) {
        const QSignalBlocker quiet(box);
        const QString chosen = box->currentText();
        box->clear();
        box->addItem(AnyPlant);
        box->addItems(real);
        const int i = box->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
        box->setCurrentIndex(edit.kind == Plants::ListEdit::Filled ? -1 : std::max(i, 0));
    }
}

void TmainForm::loadEnterpriseBoxes() {
    formDataToPlant->CreateComboBoxList();
    for (QComboBox* box : {cbSupplier, cbBuyer}) {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(0);
    }
    const std::pair<QComboBox*, const QString&> basket[] = {
        {cbOrBuyer, ReportData::BuyerKey}, {cbOrSupplier, ReportData::SupplierKey}};
    for (const auto& [box, key] : basket) {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(
            ReportData::entryFor(ReportData::storedPosition(dm->settings(), key), box->count()));
    }
}

void TmainForm::cbOrBuyerChange() {
    dm->settings().setValue(ReportData::BuyerKey, QString::number(cbOrBuyer->currentIndex()));
    if (cbOrBuyer->currentIndex() == Plants::NewPlantPosition) fbBuyerInfoClick();
}

void TmainForm::cbOrSupplierChange() {
    dm->settings().setValue(ReportData::SupplierKey, QString::number(cbOrSupplier->currentIndex()));
    if (cbOrSupplier->currentIndex() == Plants::NewPlantPosition) fbSupplierInfoClick();
}

namespace {

// The register on the entry of from; a box left on "Новое предприятие" while the register
// closed on it too falls back to the neutral entry.
void showRegister(QComboBox* from, QComboBox* supplier, QComboBox* buyer) {
    if (!formDataToPlant->showAt(from->currentIndex())) return;
    for (QComboBox* box : {buyer, supplier})
        if (box->currentIndex() == Plants::NewPlantPosition) {
            const QSignalBlocker quiet(box);
            box->setCurrentIndex(Plants::NeutralPosition);
        }
}

} // namespace

void TmainForm::fbBuyerInfoClick() {
    showRegister(cbOrBuyer, cbOrSupplier, cbOrBuyer);
}

void TmainForm::fbSupplierInfoClick() {
    showRegister(cbOrSupplier, cbOrSupplier, cbOrBuyer);
}

void TmainForm::sbReportClick() {
    // "OK" has remembered the price column and copied it into the basket by now.
    if (Modal::exec(*formDataToReport) == QDialog::Accepted) Report1Click();
}

void TmainForm::Report1Click() {
    ReportVariables& v = Report->variables();
    // The neutral entry is position 0 and matches no enterprise.
    v.SupplierIndex = cbOrSupplier->currentIndex() + 1;
    v.BuyerIndex = cbOrBuyer->currentIndex() + 1;
    v.fields = formDataToReport->fields();
    v.vatText = QString::number(Shared->ndsPercent());
    Report->execReport(formDataToReport->cbReport->currentIndex());
}

void TmainForm::N10Click() {
    sspForm->sShow(0);
}

void TmainForm::N12Click() {
    sspForm->sShow(1);
}

void TmainForm::connectPlants() {
    ErrorDisplay::connect(cbOrBuyer, &QComboBox::activated, this, [this] { cbOrBuyerChange(); });
    ErrorDisplay::connect(cbOrSupplier, &QComboBox::activated, this,
                          [this] { cbOrSupplierChange(); });
    ErrorDisplay::connect(fbBuyerInfo, &QToolButton::clicked, this, [this] { fbBuyerInfoClick(); });
    ErrorDisplay::connect(fbSupplierInfo, &QToolButton::clicked, this,
                          [this] { fbSupplierInfoClick(); });
    ErrorDisplay::connect(sbReport, &QToolButton::clicked, this, [this] { sbReportClick(); });
    ErrorDisplay::connect(Report1, &QAction::triggered, this, [this] { Report1Click(); });
    ErrorDisplay::connect(N10, &QAction::triggered, this, [this] { N10Click(); });
    ErrorDisplay::connect(N12, &QAction::triggered, this, [this] { N12Click(); });
}
