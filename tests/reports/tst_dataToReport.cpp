// The report data dialog: its documents and fields, the price column copied into the basket,
// and the remembered price column.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "data/textfmt.h"
#include "reports/Report.h"
#include "reports/Select.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSqlQuery>
#include <QToolButton>

namespace {

void addLines(CatalogFixture& f) {
    f.exec("insert into Order_ (N, ID, ID_f, Name, K, V, Price, PriceZ, PriceToReport) values "
           "(1, '50-1', '501', 'Втулка', 2, 1.5, 100, 90, 7), "
           "(2, '50-2', '502', 'Болт', 1, 0.1, 20.5, NULL, 7)");
}

// "N:PriceToReport" of every basket line.
QStringList copied(CatalogFixture& f) {
    QSqlQuery q(f.db().database());
    q.exec("select N, PriceToReport from Order_ order by N");
    QStringList out;
    while (q.next())
        out << q.value(0).toString() + ":" +
                   (q.value(1).isNull() ? QString("NULL") : q.value(1).toString());
    return out;
}

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Catalog M-315.04");
}

QLineEdit* field(const QString& name) {
    return formDataToReport->findChild<QLineEdit*>(name);
}

const QStringList DateFields = {"eInvoiceData", "eAgreementData", "meMailPData", "eAccountData",
                                "eAccountDataF"};

} // namespace

class TestDataToReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void dialogLayout();
    void documentsAndTheirPanels();
    void datesAreMasked();
    void okCopiesTheChosenPriceColumn();
    void cancelWritesNothing();
    void priceColumnSurvivesARestart_data();
    void priceColumnSurvivesARestart();
    void failingCopyKeepsTheDialogOpen();
    void priceListFollowsThePriceColumns();
};

void TestDataToReport::init() {
    userSettings().clear();
}

void TestDataToReport::dialogLayout() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TformDataToReport& r = *formDataToReport;
    QCOMPARE(r.windowTitle(), QString("Данные для отчета"));
    QCOMPARE(r.LabelPriceFrom->text(), QString("Цена из:"));
    QCOMPARE(r.LabelPriceFrom->pos(), QPoint(8, 8));
    const int captionBottom = 8 + r.LabelPriceFrom->height();
    QCOMPARE(r.cbPriceFrom->geometry(), QRect(130, 4, 345, 21));
    QCOMPARE(r.Bevel1->geometry(), QRect(8, captionBottom + 8, 473, 2));
    QCOMPARE(r.LabelReport->pos(), QPoint(8, captionBottom + 16));
    QCOMPARE(r.cbReport->geometry(), QRect(130, captionBottom + 12, 345, 21));
    const QRect area(0, r.LabelReport->y() + r.LabelReport->height() + 2, 490, 125);
    for (QWidget* p : {r.pInvoice, r.pAgreement, r.pMailP, r.pOpise, r.pAccount, r.pAccountF})
        QCOMPARE(p->geometry(), area);
    // Rows every 24 from 8; the letter panel uses the rows of the tax invoice's.
    QCOMPARE(r.eInvoiceNumber->geometry(), QRect(130, 4, 345, 21));
    QCOMPARE(r.eMailPPost->geometry(), QRect(130, 8 + 4 * 24 - 4, 345, 21));
    QCOMPARE(r.eMailPPost->geometry(), r.eAccountAddresseeF->geometry());
    QStringList captions;
    for (int row = 0; row < 5; ++row)
        for (QLabel* l : r.pAccountF->findChildren<QLabel*>())
            if (l->pos() == QPoint(8, 8 + 24 * row)) captions << l->text();
    QCOMPARE(captions, QStringList({"Номер сч.-фактуры:", "Дополнение:", "Дата сч.-фактуры:",
                                    "Грузоотправитель:", "Грузополучатель:"}));
    QCOMPARE(r.BitBtnCancel->text(), QString("Отмена"));
    QCOMPARE(r.BitBtnCancel->geometry(), QRect(490 - 75, area.bottom() + 1 + 5, 75, 25));
    QCOMPARE(r.BitBtnOK->geometry(), QRect(490 - 75 - 5 - 75, r.BitBtnCancel->y(), 75, 25));
    QCOMPARE(r.size(), QSize(495, r.BitBtnCancel->y() + 25 + 5));
    QCOMPARE(r.minimumSize(), r.maximumSize());
    QVERIFY(r.windowFlags() & Qt::WindowStaysOnTopHint);
    // The price columns in table order.
    QCOMPARE(r.cbPriceFrom->count(), 2);
    QCOMPARE(r.cbPriceFrom->itemText(0), QString("Цена"));
    QCOMPARE(r.cbPriceFrom->itemText(1), QString("Цена ЮЛЗ"));
}

void TestDataToReport::documentsAndTheirPanels() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TformDataToReport& r = *formDataToReport;
    QStringList docs;
    for (int i = 0; i < r.cbReport->count(); ++i)
        docs << r.cbReport->itemText(i);
    QCOMPARE(docs, QStringList({"Накладная", "Спецификация", "Письмо-предложение", "Опись вложения",
                                "Счет", "Счет-фактура"}));
    const QList<QWidget*> panels = {r.pInvoice, r.pAgreement, r.pMailP,
                                    r.pOpise,   r.pAccount,   r.pAccountF};
    auto shown = [&] {
        QList<int> out;
        for (int i = 0; i < panels.size(); ++i)
            if (!panels[i]->isHidden()) out << i;
        return out;
    };
    QCOMPARE(r.cbReport->currentIndex(), 0);
    QCOMPARE(shown(), QList<int>({0}));
    script.then([&](QDialog&) {
        r.eInvoiceNumber->setText("Н-17");
        r.cbReport->setCurrentIndex(5);
        QCOMPARE(shown(), QList<int>({5}));
        r.eAccountCargoF->setText("ООО «Юг»");
        r.cbReport->setCurrentIndex(0);
        QCOMPARE(shown(), QList<int>({0}));
        QCOMPARE(r.eInvoiceNumber->text(), QString("Н-17"));
        r.BitBtnCancel->click();
    });
    mainForm->sbReport->click();
    // Reopened later in the run: what was typed, and the document chosen, are still there.
    script.then([&](QDialog&) {
        QCOMPARE(r.cbReport->currentIndex(), 0);
        QCOMPARE(r.eAccountCargoF->text(), QString("ООО «Юг»"));
        r.BitBtnCancel->click();
    });
    mainForm->sbReport->click();
    QVERIFY(script.unexpected.isEmpty());
    const auto values = r.fields();
    QCOMPARE(values.value("eInvoiceNumber"), QString("Н-17"));
    QCOMPARE(values.value("eAccountCargoF"), QString("ООО «Юг»"));
    QCOMPARE(values.size(), 24);
}

void TestDataToReport::datesAreMasked() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    for (const QString& name : DateFields)
        QCOMPARE(field(name)->text(), TodayStr());
    QLineEdit* e = field("eInvoiceData");
    e->clear();
    e->setCursorPosition(0);
    QTest::keyClicks(e, "1x2/0");
    QCOMPARE(formDataToReport->fields().value("eInvoiceData"), QString("12.0 .    "));
    QTest::keyClicks(e, "3200a9");
    QCOMPARE(formDataToReport->fields().value("eInvoiceData"), QString("12.03.2009"));
    // Free text elsewhere.
    QTest::keyClicks(field("eOpiseSeal"), "N 5/A-b");
    QCOMPARE(formDataToReport->fields().value("eOpiseSeal"), QString("N 5/A-b"));
}

void TestDataToReport::okCopiesTheChosenPriceColumn() {
    CatalogFixture f;
    addLines(f);
    ModalScript script;
    auto forms = f.start();
    script.then([](QDialog& d) {
        formDataToReport->cbPriceFrom->setCurrentIndex(1);
        formDataToReport->BitBtnOK->click();
        QVERIFY(!d.isVisible());
    });
    // Then the viewer: this catalogue has no templates, so it says so first.
    script.close();
    script.close();
    mainForm->sbReport->click();
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(script.captions.last(), Report->windowTitle());
    // Also where that price is empty.
    QCOMPARE(copied(f), QStringList({"1:90", "2:NULL"}));
    QCOMPARE(userSettings().value("PriceToReport").toString(), QString("1"));

    script.then([](QDialog&) {
        formDataToReport->cbPriceFrom->setCurrentIndex(0);
        formDataToReport->BitBtnOK->click();
    });
    script.close();
    script.close();
    mainForm->sbReport->click();
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(copied(f), QStringList({"1:100", "2:20.5"}));
}

void TestDataToReport::cancelWritesNothing() {
    CatalogFixture f;
    addLines(f);
    ModalScript script;
    auto forms = f.start();
    script.then([](QDialog&) {
        formDataToReport->cbPriceFrom->setCurrentIndex(1);
        formDataToReport->BitBtnCancel->click();
    });
    mainForm->sbReport->click();
    QCOMPARE(copied(f), QStringList({"1:7", "2:7"}));
    QVERIFY(!userSettings().contains("PriceToReport"));
}

void TestDataToReport::priceColumnSurvivesARestart_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("copy");
    QTest::newRow("second") << "1" << 1 << QStringList({"1:90", "2:NULL"});
    QTest::newRow("missing: the first") << QString() << 0 << QStringList({"1:100", "2:20.5"});
    QTest::newRow("no number: the first") << "Цена" << 0 << QStringList({"1:100", "2:20.5"});
    QTest::newRow("beyond: none, copies the first")
        << "2" << -1 << QStringList({"1:100", "2:20.5"});
}

void TestDataToReport::priceColumnSurvivesARestart() {
    QFETCH(QString, stored);
    QFETCH(int, chosen);
    QFETCH(QStringList, copy);
    CatalogFixture f;
    addLines(f);
    if (!stored.isNull()) userSettings().setValue("PriceToReport", stored);
    ModalScript script;
    auto forms = f.start();
    QCOMPARE(formDataToReport->cbPriceFrom->currentIndex(), chosen);
    script.then([&](QDialog&) {
        QCOMPARE(formDataToReport->cbPriceFrom->currentIndex(), chosen);
        formDataToReport->BitBtnOK->click();
    });
    mainForm->sbReport->click();
    QCOMPARE(copied(f), copy);
    QCOMPARE(userSettings().value("PriceToReport").toString(), QString::number(chosen));
}

void TestDataToReport::failingCopyKeepsTheDialogOpen() {
    CatalogFixture f;
    addLines(f);
    f.exec("create trigger refuse before update on Order_ "
           "begin select raise(abort, 'корзина заблокирована'); end");
    ModalScript script;
    auto forms = f.start();
    script.then([](QDialog& d) {
        formDataToReport->BitBtnOK->click();
        QVERIFY(d.isVisible());
        formDataToReport->BitBtnCancel->click();
    });
    script.press("bOK");
    mainForm->sbReport->click();
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("корзина заблокирована"), qPrintable(script.messages[0]));
    QCOMPARE(copied(f), QStringList({"1:7", "2:7"}));
}

void TestDataToReport::priceListFollowsThePriceColumns() {
    CatalogFixture f;
    addLines(f);
    ModalScript script;
    auto forms = f.start();
    script.then([](QDialog&) {
        formDataToReport->cbPriceFrom->setCurrentIndex(1);
        formDataToReport->BitBtnCancel->click();
    });
    mainForm->sbReport->click();
    // The price settings renamed one column and removed the other meanwhile: the next showing
    // lists what there is and keeps the column chosen.
    f.exec("update PriceFields set Name='Цена завода' where FieldName='PriceZ'");
    f.exec("delete from PriceFields where FieldName='Price'");
    script.then([](QDialog&) {
        QCOMPARE(formDataToReport->cbPriceFrom->count(), 1);
        QCOMPARE(formDataToReport->cbPriceFrom->currentText(), QString("Цена завода"));
        formDataToReport->BitBtnOK->click();
    });
    script.close(); // no templates here: the viewer's message
    script.close(); // and the viewer
    mainForm->sbReport->click();
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(copied(f), QStringList({"1:90", "2:NULL"}));
}

CATALOG_TEST_MAIN(TestDataToReport)
#include "tst_dataToReport.moc"
