#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

// "Данные для отчета": which document, the price column its prices come from, and the
// document's own data. "OK" remembers the price column, copies it into every basket line's
// PriceToReport and accepts; whoever showed the dialog goes on to the report.
class TformDataToReport : public QDialog {
    Q_OBJECT
public:
    explicit TformDataToReport(QWidget* parent = nullptr);

    void BitBtnOKClick();
    void BitBtnCancelClick();
    // Shows the chosen document's panel, hides the others.
    void cbReportChange();
    // Every basket line's PriceToReport from the chosen price column (none chosen: the first).
    void PriceToReport();

    // The document fields by component name ("eInvoiceNumber", "meMailPData" ...), as the
    // report reads them: dates as shown, with blanks in the open places.
    QHash<QString, QString> fields() const;

    QLabel* LabelPriceFrom;
    QComboBox* cbPriceFrom;
    QFrame* Bevel1;
    QLabel* LabelReport;
    QComboBox* cbReport;
    QWidget* pInvoice;
    QWidget* pAgreement;
    QWidget* pMailP;
    QWidget* pOpise;
    QWidget* pAccount;
    QWidget* pAccountF;
    QLineEdit* eInvoiceNumber;
    QLineEdit* eInvoiceData;
    QLineEdit* eInvoiceFrom;
    QLineEdit* eInvoiceOsnovanie;
    QLineEdit* eAgreementNumP;
    QLineEdit* eAgreementNumber;
    QLineEdit* eAgreementData;
    QLineEdit* meMailPData;
    QLineEdit* eMailPName1;
    QLineEdit* eMailPName2;
    QLineEdit* eMailPName3;
    QLineEdit* eMailPPost;
    QLineEdit* eOpiseNumber;
    QLineEdit* eOpiseSeal;
    QLineEdit* eAccountNumber;
    QLineEdit* eAccountAddition;
    QLineEdit* eAccountData;
    QLineEdit* eAccountCargo;
    QLineEdit* eAccountAddressee;
    QLineEdit* eAccountNumberF;
    QLineEdit* eAccountAdditionF;
    QLineEdit* eAccountDataF;
    QLineEdit* eAccountCargoF;
    QLineEdit* eAccountAddresseeF;
    QPushButton* BitBtnOK;
    QPushButton* BitBtnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    // Refills cbPriceFrom from the price columns, keeping the chosen column while it exists.
    void setPriceColumns();

    QList<QWidget*> panels;
    QList<QLineEdit*> allFields;
    QStringList shownFields; // FieldName of each cbPriceFrom entry
};

extern TformDataToReport* formDataToReport;
