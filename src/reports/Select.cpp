#include "reports/Select.h"

#include "app/dialogs.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "data/textfmt.h"
#include "data/tquery.h"
#include "platform/errordisplay.h"
#include "reports/reportdata.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <initializer_list>

TformDataToReport* formDataToReport = nullptr;

namespace {

struct Field {
    const char* caption;
    const char* name;
    QLineEdit** edit;
    bool date;
};

} // namespace

TformDataToReport::TformDataToReport(QWidget* parent) : QDialog(parent) {
    setupDialog(this, QStringLiteral("formDataToReport"), QStringLiteral("Данные для отчета"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    FormCreate();
    ErrorDisplay::connect(BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
    ErrorDisplay::connect(BitBtnCancel, &QPushButton::clicked, this,
                          [this] { BitBtnCancelClick(); });
    ErrorDisplay::connect(cbReport, &QComboBox::currentIndexChanged, this,
                          [this] { cbReportChange(); });
}

void TformDataToReport::FormCreate() {
    LabelPriceFrom = makeLabel(this, "LabelPriceFrom", "Цена из:");
    LabelPriceFrom->move(8, 8);
    cbPriceFrom = makeNamed<QComboBox>(this, "cbPriceFrom");
    cbPriceFrom->setGeometry(130, LabelPriceFrom->y() - 4, 345, 21);
    Bevel1 = makeBevel(this, "Bevel1");
    Bevel1->setGeometry(8, bottom(LabelPriceFrom) + 8, 473, 2);
    LabelReport = makeLabel(this, "LabelReport", "Отчет:");
    LabelReport->move(8, bottom(LabelPriceFrom) + 16);
    cbReport = makeNamed<QComboBox>(this, "cbReport");
    cbReport->setGeometry(130, LabelReport->y() - 4, 345, 21);
    const QRect area(0, bottom(LabelReport) + 2, 490, 125);

    const std::initializer_list<Field> documents[] = {
        {{"Номер накладной:", "eInvoiceNumber", &eInvoiceNumber, false},
         {"Дата накладной:", "eInvoiceData", &eInvoiceData, true},
         {"Через кого:", "eInvoiceFrom", &eInvoiceFrom, false},
         {"Основание:", "eInvoiceOsnovanie", &eInvoiceOsnovanie, false}},
        {{"Номер приложения:", "eAgreementNumP", &eAgreementNumP, false},
         {"Номер договора:", "eAgreementNumber", &eAgreementNumber, false},
         {"Дата договора:", "eAgreementData", &eAgreementData, true}},
        {{"Дата:", "meMailPData", &meMailPData, true},
         {"Фамилия:", "eMailPName1", &eMailPName1, false},
         {"Имя:", "eMailPName2", &eMailPName2, false},
         {"Отчество:", "eMailPName3", &eMailPName3, false},
         {"Должность:", "eMailPPost", &eMailPPost, false}},
        {{"Номер контейнера:", "eOpiseNumber", &eOpiseNumber, false},
         {"Пломба:", "eOpiseSeal", &eOpiseSeal, false}},
        {{"Номер счета:", "eAccountNumber", &eAccountNumber, false},
         {"Дополнение:", "eAccountAddition", &eAccountAddition, false},
         {"Дата счета:", "eAccountData", &eAccountData, true},
         {"Грузоотправитель:", "eAccountCargo", &eAccountCargo, false},
         {"Грузополучатель:", "eAccountAddressee", &eAccountAddressee, false}},
        {{"Номер сч.-фактуры:", "eAccountNumberF", &eAccountNumberF, false},
         {"Дополнение:", "eAccountAdditionF", &eAccountAdditionF, false},
         {"Дата сч.-фактуры:", "eAccountDataF", &eAccountDataF, true},
         {"Грузоотправитель:", "eAccountCargoF", &eAccountCargoF, false},
         {"Грузополучатель:", "eAccountAddresseeF", &eAccountAddresseeF, false}}};
    const struct {
        const char* document;
        const char* panel;
        QWidget** widget;
    } panelNames[] = {
        {"Накладная", "pInvoice", &pInvoice},      {"Спецификация", "pAgreement", &pAgreement},
        {"Письмо-предложение", "pMailP", &pMailP}, {"Опись вложения", "pOpise", &pOpise},
        {"Счет", "pAccount", &pAccount},           {"Счет-фактура", "pAccountF", &pAccountF}};

    const QString today = TodayStr();
    for (int d = 0; d < 6; ++d) {
        QWidget* panel = makeNamed<QWidget>(this, panelNames[d].panel);
        *panelNames[d].widget = panel;
        panel->setGeometry(area);
        panels << panel;
        cbReport->addItem(QString::fromUtf8(panelNames[d].document));
        int top = 8;
        for (const Field& f : documents[d]) {
            const QString name = QString::fromLatin1(f.name);
            const QString stem = name.mid(name.startsWith(QLatin1String("me")) ? 2 : 1);
            makeLabel(panel, QStringLiteral("Label") + stem, QString::fromUtf8(f.caption))
                ->move(8, top);
            QLineEdit* e = makeNamed<QLineEdit>(panel, name);
            e->setGeometry(130, top - 4, 345, 21);
            if (f.date) {
                // dd.mm.yyyy: digits only, the dots fixed, open places shown as blanks.
                e->setInputMask(QStringLiteral("99.99.9999; "));
                e->setText(today);
            }
            *f.edit = e;
            allFields << e;
            top += 24;
        }
    }
    cbReport->setCurrentIndex(0);
    cbReportChange();

    setPriceColumns();
    cbPriceFrom->setCurrentIndex(ReportData::entryFor(
        ReportData::storedPosition(DM->settings(), ReportData::PriceKey), cbPriceFrom->count()));

    BitBtnCancel = makeDialogButton(this, "BitBtnCancel", "Отмена");
    BitBtnCancel->move(area.right() + 1 - BitBtnCancel->width(), area.bottom() + 1 + 5);
    BitBtnOK = makeDialogButton(this, "BitBtnOK", "OK");
    BitBtnOK->move(BitBtnCancel->x() - 5 - BitBtnOK->width(), BitBtnCancel->y());
    fixAndCentre(this, right(BitBtnCancel) + 5, bottom(BitBtnCancel) + 5);
}

void TformDataToReport::setPriceColumns() {
    const int chosen = cbPriceFrom->currentIndex();
    const QString field = chosen >= 0 ? shownFields.value(chosen) : QString();
    cbPriceFrom->clear();
    shownFields.clear();
    for (const TDM::PriceColumn& p : DM->priceColumns()) {
        cbPriceFrom->addItem(p.name);
        shownFields << p.field;
    }
    const int kept = shownFields.indexOf(field);
    cbPriceFrom->setCurrentIndex(chosen < 0 ? -1 : std::max(kept, 0));
}

void TformDataToReport::showEvent(QShowEvent* event) {
    // The price settings may have changed the columns since the last showing.
    if (!event->spontaneous()) setPriceColumns();
    QDialog::showEvent(event);
}

void TformDataToReport::cbReportChange() {
    const int shown = cbReport->currentIndex();
    for (int i = 0; i < panels.size(); ++i)
        panels[i]->setVisible(i == shown);
}

void TformDataToReport::PriceToReport() {
    const auto columns = DM->priceColumns();
    if (columns.empty()) return;
    const int p = std::clamp(cbPriceFrom->currentIndex(), 0, int(columns.size()) - 1);
    TQuery& q = DM->StrQuery;
    q.setText(ReportData::copyPrice(columns[size_t(p)].field));
    q.execSQL();
}

void TformDataToReport::BitBtnOKClick() {
    DM->settings().setValue(ReportData::PriceKey, QString::number(cbPriceFrom->currentIndex()));
    PriceToReport();
    accept();
}

void TformDataToReport::BitBtnCancelClick() {
    reject();
}

QHash<QString, QString> TformDataToReport::fields() const {
    QHash<QString, QString> out;
    for (const QLineEdit* e : allFields)
        out.insert(e->objectName(), e->displayText());
    return out;
}
