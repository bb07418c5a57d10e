// The price update wizard driven as a user drives it: a supplier's table written by shapelib in
// code page 866, and the price of one part typed by hand.
#include "app/forms.h"
#include "app/mainform.h"
#include "settings/Upprice.h"
#include "settings/pricepreviewpage.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/suppliertable.h"
#include "support/testmain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>

namespace {

QStringList select(CatalogFixture& f, const QString& sql) {
    return tableRows(f, sql);
}

void choose(QComboBox* box, const QString& entry) {
    const int i = box->findText(entry);
    QVERIFY2(i >= 0, qPrintable(entry));
    box->setCurrentIndex(i);
    Q_EMIT box->activated(i);
}

// Shows the wizard from the menu; act runs on it while it is shown.
void wizard(ModalScript& script, std::function<void(TpriceForm&)> act) {
    script.then([act](QDialog& d) { act(static_cast<TpriceForm&>(d)); });
    mainForm->N4->trigger();
}

} // namespace

class TestUpprice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void automaticUpdateFromASupplierTable();
    void wrongFileHidesTheMapping();
    void byHand_data();
    void byHand();
    void typingCompletesTheNumber();
    void longPathShortened();
};

void TestUpprice::automaticUpdateFromASupplierTable() {
    ModalScript script;
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, {{"50-1002010", "Блок цилиндров (новый)", "16000,50"},
                      {"50.12.003", "Вал O'Neil", "12,50"},
                      {"ИЗ-99", "Пробка", ""},
                      {"50-1002015", "Гильза", "не указана"}});
    const QStringList otherBefore = select(f, "select Price from Price where ID_P = '50-1002010'");
    auto forms = f.start();
    script.file(path);
    wizard(script, [&](TpriceForm& w) {
        QCOMPARE(w.Screen, 0);
        QCOMPARE(w.lbTitle->text(), QString("Выберите способ"));
        QVERIFY(w.rbAuto->isChecked());
        QVERIFY(!w.bbBack->isEnabled());
        w.bbForw->click();
        QCOMPARE(w.lbTitle->text(), QString("Укажите внешнюю таблицу"));
        QVERIFY(!w.bbForw->isEnabled());
        QVERIFY(w.cbFieldN->isHidden());
        w.bbAuto->click();
        QCOMPARE(w.eAuto->text(), path);
        QVERIFY(!w.cbFieldN->isHidden());
        QCOMPARE(w.cbFieldN->count(), 3);
        choose(w.cbFieldN, "NOMER");
        choose(w.cbFieldName, "NAIM");
        QVERIFY(!w.bbForw->isEnabled());
        choose(w.cbFieldPrice, "CENA");
        choose(w.cbUpPrice, "Цена ЮЛЗ");
        QVERIFY(w.bbForw->isEnabled());
        w.cbAppend->setChecked(true);
        w.bbForw->click();
        QCOMPARE(w.lbTitle->text(), QString("Внешная таблица"));
        QCOMPARE(w.lbFieldZName->text(), QString("NAIM"));
        w.bbForw->click();
        QCOMPARE(w.lbTitle->text(), QString("Проверьте изменения цен"));
        QCOMPARE(w.preview->lbSummary->text(),
                 QString("Изменится цен: 1. Без изменений: 0. Нет в каталоге: 2. Не прочитано "
                         "строк: 1."));
        QCOMPARE(w.bbForw->text(), QString("Готово"));
        QVERIFY(w.bbBack->isEnabled());
        w.bbForw->click();
        QCOMPARE(w.Screen, 3);
        QCOMPARE(w.lbTitle->text(), QString("Обновление прошло успешно"));
        QVERIFY(w.procStr->isHidden());
        QCOMPARE(w.procStr->value(), 4);
        QCOMPARE(w.lbResult->text(), QString("Обновлено строк: 1\nДобавлено строк: 2\nПропущено "
                                             "строк: 1\nДобавлено деталей в каталог: 2"));
        QCOMPARE(w.bbForw->text(), QString("Готово"));
        QVERIFY(!w.bbCancel->isEnabled());
        w.bbForw->click();
    });
    QVERIFY(script.unexpected.isEmpty());
    QVERIFY(script.messages.isEmpty());
    QCOMPARE(select(f, "select ID_P, Name_P, PriceZ from Price where ID_P in ('50-1002010', "
                       "'50.12.003', 'ИЗ-99') order by ID_P"),
             QStringList({"50-1002010|Блок цилиндров (новый)|16000.5", "50.12.003|Вал O'Neil|12.5",
                          "ИЗ-99|Пробка|0"}));
    // The other price column is left as it was.
    QCOMPARE(select(f, "select Price from Price where ID_P = '50-1002010'"), otherBefore);
    QCOMPARE(select(f, "select modif, N_f, N, Name from Detail where N = '50.12.003'"),
             QStringList({"0|5012003|50.12.003|Вал O'Neil"}));
}

void TestUpprice::wrongFileHidesTheMapping() {
    ModalScript script;
    CatalogFixture f;
    const QString path = f.dir() + "/price.dbf";
    writeTable(path, {{"50-1002010", "Блок", "1"}});
    QFile text(f.dir() + "/notes.dbf");
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a table");
    text.close();
    auto forms = f.start();
    wizard(script, [&](TpriceForm& w) {
        w.bbForw->click();
        for (const QString& p : {path, f.dir() + "/missing.dbf", f.dir() + "/notes.dbf"}) {
            w.eAuto->setText(p);
            const bool good = p == path;
            QCOMPARE(w.cbFieldN->isHidden(), !good);
            QCOMPARE(w.cbUpPrice->count(), good ? 2 : 0);
            QVERIFY(!w.bbForw->isEnabled());
        }
        w.bbBack->click();
        QCOMPARE(w.Screen, 0);
        w.bbCancel->click();
    });
    QVERIFY(script.unexpected.isEmpty());
    QVERIFY(script.messages.isEmpty());
}

void TestUpprice::byHand_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("stored");
    QTest::newRow("only a price") << ""
                                  << ""
                                  << "5"
                                  << "Недостаточно информации"
                                  << "";
    QTest::newRow("number, no price") << "50-1002015"
                                      << ""
                                      << ""
                                      << "Недостаточно информации"
                                      << "";
    QTest::newRow("no such part") << "99-999"
                                  << ""
                                  << "5"
                                  << "Деталь не найдена"
                                  << "";
    QTest::newRow("not a number") << "50-1002015"
                                  << ""
                                  << "дорого"
                                  << "Цена \"дорого\" не является числом"
                                  << "";
    QTest::newRow("new price") << "50-1002015"
                               << ""
                               << "7,5"
                               << ""
                               << "50-1002015|Гильза цилиндра|7.5";
    QTest::newRow("by name, no Price row yet") << ""
                                               << "Шайба%"
                                               << "3"
                                               << ""
                                               << "ИЗ-12.001|Шайба|3";
}

void TestUpprice::byHand() {
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QString, price);
    QFETCH(QString, error);
    QFETCH(QString, stored);
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    const QStringList before = select(f, "select * from Price order by ID_P");
    wizard(script, [&](TpriceForm& w) {
        w.rbHandle->setChecked(true);
        w.bbForw->click();
        QCOMPARE(w.lbTitle->text(), QString("Укажите деталь и её цену"));
        QCOMPARE(int(w.priceEdits.size()), 2);
        w.eN->setText(number);
        w.eName->setText(name);
        w.priceEdits[0]->setText(price);
        w.bbForw->click();
        if (!error.isEmpty()) {
            QCOMPARE(w.Screen, 2);
            QVERIFY(!w.lbError->isHidden());
            QCOMPARE(w.lbError->text(), error);
            w.bbCancel->click();
            return;
        }
        QCOMPARE(w.Screen, 4);
        QCOMPARE(w.lbNNew->text(), stored.section('|', 0, 0));
        w.bbForw->click();
        QCOMPARE(w.Screen, 3);
        w.bbForw->click();
    });
    QVERIFY(script.unexpected.isEmpty());
    if (stored.isEmpty()) {
        QCOMPARE(select(f, "select * from Price order by ID_P"), before);
        return;
    }
    const QString n = stored.section('|', 0, 0);
    QCOMPARE(select(f, "select ID_P, Name_P, Price from Price where ID_P = '" + n + "'"),
             QStringList{stored});
}

void TestUpprice::typingCompletesTheNumber() {
    ModalScript script;
    CatalogFixture f;
    auto forms = f.start();
    wizard(script, [&](TpriceForm& w) {
        w.rbHandle->setChecked(true);
        w.bbForw->click();
        QTest::keyClicks(w.eN, "50.1");
        QCOMPARE(w.eN->text(), QString("50.12.003-1"));
        QCOMPARE(w.eN->selectedText(), QString("2.003-1"));
        // Enter acts as "Далее >".
        w.priceEdits[0]->setText("12");
        QTest::keyClick(w.eN, Qt::Key_Return);
        QCOMPARE(w.Screen, 4);
        QCOMPARE(w.lbNameNew->text(), QString("Втулка"));
        w.bbCancel->click();
    });
    QVERIFY(script.unexpected.isEmpty());
}

void TestUpprice::longPathShortened() {
    QLabel l;
    l.setText("C:\\Прайс\\2004\\Май\\price.dbf");
    const int whole = l.fontMetrics().horizontalAdvance(l.text());
    TpriceForm::LongLabelDir(&l, whole);
    QCOMPARE(l.text(), QString("C:\\Прайс\\2004\\Май\\price.dbf"));
    TpriceForm::LongLabelDir(&l, whole - 1);
    QCOMPARE(l.text(), QString("C:\\...\\2004\\Май\\price.dbf"));
    TpriceForm::LongLabelDir(&l, 1);
    QCOMPARE(l.text(), QString("C:\\...\\price.dbf"));
}

CATALOG_TEST_MAIN(TestUpprice)
#include "tst_upprice.moc"
