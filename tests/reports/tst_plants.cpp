// The enterprise register: its window, adding, changing and deleting enterprises, and the
// enterprise boxes of the basket and history panels that follow it.
#include "app/forms.h"
#include "app/mainform.h"
#include "app/widgets.h"
#include "data/datamod.h"
#include "data/sql.h"
#include "reports/Sell_Buy.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSqlQuery>
#include <QToolButton>

namespace {

// Enterprises from Index 3 on, each with its remark "Rem <name>".
void addPlants(CatalogFixture& f, const QStringList& names) {
    int index = 3;
    for (const QString& n : names)
        f.exec(QStringLiteral("insert into enterprise ([Index], Name, Rem) values (%1, %2, %3)")
                   .arg(index++)
                   .arg(Sql::quote(n), Sql::quote("Rem " + n)));
}

QStringList items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

// "Index:Name" of every row in Index order.
QStringList rows(CatalogFixture& f) {
    QSqlQuery q(f.db().database());
    q.exec("select [Index], Name from enterprise order by [Index]");
    QStringList out;
    while (q.next())
        out << q.value(0).toString() + ":" + q.value(1).toString();
    return out;
}

QString column(CatalogFixture& f, const QString& col, const QString& name) {
    return f.scalar(QString("select %1 from enterprise where Name=%2").arg(col, Sql::quote(name)))
        .toString();
}

// The user picks entry i of a box from its list.
void choose(QComboBox* box, int i) {
    box->setCurrentIndex(i);
    Q_EMIT box->activated(i);
}

QString stored(const QString& key) {
    return DM->settings().value(key).toString();
}

void setStored(const QString& key, const QString& value) {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Catalog M-315.04");
    s.setValue(key, value);
}

// The register shown from the basket's buyer button, acted on by what.
void inRegister(ModalScript& script, std::function<void(TformDataToPlant&)> what) {
    script.then([what](QDialog& d) { what(static_cast<TformDataToPlant&>(d)); });
}

} // namespace

class TestPlants : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void registerLayout();
    void listsKeepRegisterOrder();
    void addFromTheRegister();
    void nameRefusals_data();
    void nameRefusals();
    void contactWithTheSeparatorIsRefused();
    void existingNameIsChanged();
    void answeringNoWritesNothing();
    void newEnterpriseFromTheBuyerBox();
    void closingOnTheNewEntryFallsBack();
    void changeFromTheNewEntryShowsThatEnterprise();
    void deleteRenumbersAndMovesTheBoxes();
    void deleteNeedsAnEntryPickedFromTheList();
    void deletingTheLastRealEnterprise();
    void closeAsksOnlyAfterEditing();
    void numbersAbove255();
    void choiceSurvivesARestart();
};

void TestPlants::init() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Catalog M-315.04").clear();
}

void TestPlants::registerLayout() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    TformDataToPlant& p = *formDataToPlant;
    QCOMPARE(p.windowTitle(), QString("Данные о предприятиях"));
    QCOMPARE(p.sbAppendNew->geometry(), QRect(10, 10, 150, 22));
    QCOMPARE(p.sbDelList->geometry(), QRect(170, 10, 150, 22));
    QCOMPARE(p.sAppendNew->geometry(), p.sbAppendNew->geometry());
    QCOMPARE(p.sDelList->geometry(), p.sbDelList->geometry());
    QCOMPARE(p.sbAppendNew->toolTip(), QString("Добавить/Изменить данные о предприятии"));
    QCOMPARE(p.sbDelList->toolTip(), QString("Удалить предприятие из списка"));
    QCOMPARE(p.gbInfo->title(), QString("Сведения"));
    QCOMPARE(p.gbInfo->geometry(), QRect(10, 42, 505, 24 + 16 * 24 + 24));
    const QStringList captions = {
        "Предприятие:", "Примечание:", "Тип",      "Директор:", "Гл. бухгалтер:", "Реквизиты",
        "Адрес:",       "Р./сч.:",     "Банк:",    "ИНН:",      "Бик:",           "Кор./сч.:",
        "ОКОНХ:",       "ОКПО:",       "Телефон:", "Факс:",     "E-mail:"};
    QStringList shown;
    for (int row = 0; row < captions.size(); ++row)
        for (QLabel* l : p.gbInfo->findChildren<QLabel*>())
            if (l->pos() == QPoint(5, 24 + 24 * row)) shown << l->text();
    QCOMPARE(shown, captions);
    QCOMPARE(p.cbPlant->geometry(), QRect(100, 20, 400, 21));
    QCOMPARE(p.ePlantRem->geometry(), QRect(100, 44, 400, 21));
    QCOMPARE(p.bvRequisites->geometry(), QRect(100, 24 + 5 * 24 + 6, 400, 2));
    QCOMPARE(p.ePlantAdres->geometry(), QRect(100, 24 + 6 * 24 - 4, 400, 21));
    QCOMPARE(p.ePlantEmail->geometry(), QRect(100, 24 + 16 * 24 - 4, 400, 21));
    QCOMPARE(p.BitBtnPlantOK->text(), QString("Закрыть"));
    QCOMPARE(p.BitBtnPlantOK->geometry(), QRect(10 + (505 - 75) / 2, 42 + 432 + 10, 75, 25));
    QCOMPARE(p.size(), QSize(525, 42 + 432 + 10 + 25 + 10));
    QCOMPARE(p.minimumSize(), p.maximumSize());
    QVERIFY(p.windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestPlants::listsKeepRegisterOrder() {
    CatalogFixture f;
    addPlants(f, {"Яхонт", "Альфа", "Вектор"});
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    const QStringList all = {"Не указано", "Новое предприятие", "Яхонт", "Альфа", "Вектор"};
    QCOMPARE(items(formDataToPlant->cbPlant), all);
    QCOMPARE(items(m.cbOrSupplier), all);
    QCOMPARE(items(m.cbOrBuyer), all);
    const QStringList filter = {"Любой", "Яхонт", "Альфа", "Вектор"};
    QCOMPARE(items(m.cbSupplier), filter);
    QCOMPARE(items(m.cbBuyer), filter);
    QCOMPARE(m.cbSupplier->currentIndex(), 0);
    QCOMPARE(m.cbBuyer->currentIndex(), 0);
    // Nothing remembered yet: the neutral entry.
    QCOMPARE(m.cbOrSupplier->currentIndex(), 0);
    QCOMPARE(m.cbOrBuyer->currentIndex(), 0);

    // The register opens on the box's entry: position 3 is Index 4, "Альфа".
    choose(m.cbOrSupplier, 3);
    QCOMPARE(stored("Supplier"), QString("3"));
    inRegister(script, [](TformDataToPlant& p) {
        QCOMPARE(p.cbPlant->currentText(), QString("Альфа"));
        QCOMPARE(p.ePlantRem->text(), QString("Rem Альфа"));
        QVERIFY(!p.PlantChanged);
    });
    m.fbSupplierInfo->click();
    QVERIFY(script.unexpected.isEmpty());
}

void TestPlants::addFromTheRegister() {
    CatalogFixture f;
    addPlants(f, {"Яхонт", "Альфа"});
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    choose(m.cbOrSupplier, 3);
    inRegister(script, [&](TformDataToPlant& p) {
        p.cbPlant->setEditText("Заря");
        p.ePlantAdres->setText("ул. О'Хара, д. #5 «Б» \"В\"");
        p.ePlantTel->setText("a,, b  c");
        p.ePlantFax->setText(", a");
        p.ePlantEmail->setText("a, ");
        p.eDirector->setText("Пётр Ёлкин");
        QVERIFY(p.PlantChanged);
        p.sbAppendNew->click();
        QVERIFY(!p.PlantChanged);
        QCOMPARE(p.cbPlant->currentIndex(), 4);
        QCOMPARE(p.cbPlant->currentText(), QString("Заря"));
        p.BitBtnPlantOK->click(); // nothing changed since: closes without asking
    });
    script.press("bYes");
    m.fbBuyerInfo->click();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join("; ")));
    QCOMPARE(script.messages, QStringList({"Добавить данные о предприятии?"}));
    QCOMPARE(rows(f).last(), QString("5:Заря"));
    QCOMPARE(column(f, "Address", "Заря"), QString("ул. О'Хара, д. #5 «Б» \"В\""));
    QCOMPARE(column(f, "Tel", "Заря"), QString("a#b#c"));
    QCOMPARE(column(f, "Fax", "Заря"), QString("a"));
    QCOMPARE(column(f, "Email", "Заря"), QString("a#"));
    QCOMPARE(column(f, "Director", "Заря"), QString("Пётр Ёлкин"));
    QCOMPARE(column(f, "Rem", "Заря"), QString(""));
    // Every list follows; the boxes keep their enterprises.
    QCOMPARE(items(m.cbOrBuyer).last(), QString("Заря"));
    QCOMPARE(items(m.cbOrSupplier).size(), 5);
    QCOMPARE(items(m.cbBuyer), QStringList({"Любой", "Яхонт", "Альфа", "Заря"}));
    QCOMPARE(m.cbOrSupplier->currentText(), QString("Альфа"));
    QCOMPARE(m.cbOrBuyer->currentIndex(), 0);

    // Shown back in the display form.
    inRegister(script, [](TformDataToPlant& p) {
        QCOMPARE(p.ePlantTel->text(), QString("a, b, c"));
        QCOMPARE(p.ePlantEmail->text(), QString("a, "));
    });
    choose(m.cbOrBuyer, 4);
    m.fbBuyerInfo->click();
    QVERIFY(script.unexpected.isEmpty());
}

void TestPlants::nameRefusals_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
    QTest::newRow("the new entry") << "Новое предприятие";
}

void TestPlants::nameRefusals() {
    QFETCH(QString, name);
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    const QStringList before = rows(f);
    inRegister(script, [&](TformDataToPlant& p) {
        p.cbPlant->setEditText(name);
        p.ePlantINN->setText("123");
        p.sbAppendNew->click();
        QVERIFY(p.PlantChanged);
    });
    script.press("bOK");
    mainForm->fbBuyerInfo->click();
    QCOMPARE(script.messages, QStringList({"Введите название предприятия"}));
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(rows(f), before);
}

void TestPlants::contactWithTheSeparatorIsRefused() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    const QStringList before = rows(f);
    inRegister(script, [&](TformDataToPlant& p) {
        p.cbPlant->setEditText("Заря");
        p.ePlantFax->setText("222-33-44, 5#6");
        p.sbAppendNew->click();
    });
    script.press("bOK");
    mainForm->fbBuyerInfo->click();
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("5#6") && script.messages[0].contains("Факс"),
             qPrintable(script.messages[0]));
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(rows(f), before);
}

void TestPlants::existingNameIsChanged() {
    CatalogFixture f;
    addPlants(f, {"Яхонт", "Альфа", "Вектор"});
    ModalScript script;
    auto forms = f.start();
    choose(mainForm->cbOrSupplier, 3);
    inRegister(script, [](TformDataToPlant& p) {
        p.ePlantINN->setText("7701'02");
        p.sbAppendNew->click();
        QCOMPARE(p.cbPlant->currentIndex(), 3);
    });
    script.press("bYes");
    mainForm->fbSupplierInfo->click();
    QCOMPARE(script.messages, QStringList({"Изменить данные о предприятии?"}));
    QCOMPARE(rows(f), QStringList({"1:Не указано", "2:Новое предприятие", "3:Яхонт", "4:Альфа",
                                   "5:Вектор"}));
    QCOMPARE(column(f, "INN", "Альфа"), QString("7701'02"));
    QCOMPARE(column(f, "Rem", "Альфа"), QString("Rem Альфа"));
    QCOMPARE(mainForm->cbOrSupplier->currentIndex(), 3);
}

void TestPlants::answeringNoWritesNothing() {
    CatalogFixture f;
    addPlants(f, {"Альфа"});
    ModalScript script;
    auto forms = f.start();
    inRegister(script, [](TformDataToPlant& p) {
        p.cbPlant->setEditText("Заря");
        p.sbAppendNew->click();
        // The lists were rebuilt all the same; the typed name stays.
        QCOMPARE(p.cbPlant->currentText(), QString("Заря"));
        QCOMPARE(p.chosenPosition(), -1);
        p.cbPlant->setCurrentIndex(2);
        p.cbPlantClick();
        p.ePlantOKPO->setText("1");
        p.sbAppendNew->click();
    });
    script.press("bNo");
    script.press("bNo");
    mainForm->fbBuyerInfo->click();
    QCOMPARE(script.messages,
             QStringList({"Добавить данные о предприятии?", "Изменить данные о предприятии?"}));
    QCOMPARE(rows(f).size(), 3);
    QCOMPARE(column(f, "OKPO", "Альфа"), QString(""));
}

void TestPlants::newEnterpriseFromTheBuyerBox() {
    CatalogFixture f;
    addPlants(f, {"Яхонт", "Альфа"});
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    choose(m.cbOrSupplier, 2);
    inRegister(script, [](TformDataToPlant& p) {
        QCOMPARE(p.cbPlant->currentIndex(), 1);
        p.cbPlant->setEditText("Заря");
        p.sbAppendNew->click();
    });
    script.press("bYes");
    choose(m.cbOrBuyer, 1);
    QVERIFY(script.unexpected.isEmpty());
    // The new enterprise is the buyer, and is remembered as such.
    QCOMPARE(m.cbOrBuyer->currentIndex(), 4);
    QCOMPARE(m.cbOrBuyer->currentText(), QString("Заря"));
    QCOMPARE(stored("Buyer"), QString("4"));
    QCOMPARE(m.cbOrSupplier->currentText(), QString("Яхонт"));
    QCOMPARE(stored("Supplier"), QString("2"));
}

void TestPlants::closingOnTheNewEntryFallsBack() {
    CatalogFixture f;
    addPlants(f, {"Альфа"});
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    // The close box, and "Закрыть": either way the box goes back to the neutral entry, which
    // is not written.
    script.close();
    choose(m.cbOrBuyer, 1);
    QCOMPARE(script.captions, QStringList({"Данные о предприятиях"}));
    QCOMPARE(m.cbOrBuyer->currentIndex(), 0);
    QCOMPARE(stored("Buyer"), QString("1"));
    script.press("BitBtnPlantOK");
    choose(m.cbOrSupplier, 1);
    QCOMPARE(m.cbOrSupplier->currentIndex(), 0);
    QCOMPARE(stored("Supplier"), QString("1"));
    // Left on another entry, the box stays.
    inRegister(script, [](TformDataToPlant& p) {
        p.cbPlant->setCurrentIndex(2);
        p.cbPlantClick();
    });
    choose(m.cbOrBuyer, 1);
    QCOMPARE(m.cbOrBuyer->currentIndex(), 1);
    QVERIFY(script.unexpected.isEmpty());
}

void TestPlants::changeFromTheNewEntryShowsThatEnterprise() {
    CatalogFixture f;
    addPlants(f, {"Яхонт", "Альфа"});
    ModalScript script;
    auto forms = f.start();
    inRegister(script, [](TformDataToPlant& p) {
        p.cbPlant->setEditText("Яхонт");
        p.ePlantBik->setText("044");
        p.sbAppendNew->click();
    });
    script.press("bYes");
    choose(mainForm->cbOrBuyer, 1);
    QCOMPARE(mainForm->cbOrBuyer->currentText(), QString("Яхонт"));
    QCOMPARE(stored("Buyer"), QString("2"));
    QCOMPARE(column(f, "BIK", "Яхонт"), QString("044"));
}

void TestPlants::deleteRenumbersAndMovesTheBoxes() {
    CatalogFixture f;
    addPlants(f, {"Д3", "Д4", "Д5", "Д6"});
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    choose(m.cbOrSupplier, 5); // Д6
    choose(m.cbOrBuyer, 3);    // Д4, to be deleted
    m.cbSupplier->setCurrentIndex(items(m.cbSupplier).indexOf("Д5"));
    m.cbBuyer->setCurrentIndex(items(m.cbBuyer).indexOf("Д4"));
    inRegister(script, [](TformDataToPlant& p) {
        QCOMPARE(p.cbPlant->currentText(), QString("Д4"));
        p.ePlantINN->setText("changed");
        p.sbDelList->click();
        QVERIFY(!p.PlantChanged);
        // The register shows its first entry again.
        QCOMPARE(p.cbPlant->currentIndex(), 0);
        QCOMPARE(p.ePlantINN->text(), QString(""));
    });
    script.press("bYes");
    m.fbBuyerInfo->click();
    QCOMPARE(script.messages, QStringList({"Удалить данные о предприятии?"}));
    QCOMPARE(rows(f), QStringList({"1:Не указано", "2:Новое предприятие", "3:Д3", "4:Д5", "5:Д6"}));
    QCOMPARE(m.cbOrSupplier->currentIndex(), 4);
    QCOMPARE(m.cbOrSupplier->currentText(), QString("Д6"));
    QCOMPARE(m.cbOrBuyer->currentIndex(), 0);
    // The remembered positions follow, so the next start shows the same enterprises.
    QCOMPARE(stored("Supplier"), QString("4"));
    QCOMPARE(stored("Buyer"), QString("0"));
    QCOMPARE(m.cbSupplier->currentText(), QString("Д5"));
    QCOMPARE(m.cbBuyer->currentText(), QString("Любой"));
}

void TestPlants::deleteNeedsAnEntryPickedFromTheList() {
    CatalogFixture f;
    addPlants(f, {"Д3", "Д4"});
    ModalScript script;
    auto forms = f.start();
    const QStringList before = rows(f);
    inRegister(script, [](TformDataToPlant& p) {
        for (int fixed : {0, 1}) {
            p.cbPlant->setCurrentIndex(fixed);
            p.sbDelList->click();
        }
        // Picked, then overtyped with another enterprise's name: not picked.
        p.cbPlant->setCurrentIndex(2);
        p.cbPlant->setEditText("Д4");
        p.sbDelList->click();
        p.cbPlant->setEditText("нет такого");
        p.sbDelList->click();
    });
    mainForm->fbBuyerInfo->click();
    QVERIFY(script.messages.isEmpty());
    QVERIFY(script.unexpected.isEmpty());
    QCOMPARE(rows(f), before);
}

void TestPlants::deletingTheLastRealEnterprise() {
    CatalogFixture f;
    addPlants(f, {"Д3"});
    ModalScript script;
    auto forms = f.start();
    choose(mainForm->cbOrSupplier, 2);
    inRegister(script, [](TformDataToPlant& p) { p.sbDelList->click(); });
    script.press("bYes");
    mainForm->fbSupplierInfo->click();
    QCOMPARE(rows(f).size(), 2);
    QCOMPARE(mainForm->cbOrSupplier->currentIndex(), -1);
    QCOMPARE(mainForm->cbOrBuyer->currentIndex(), -1);
    QCOMPARE(items(mainForm->cbBuyer), QStringList({"Любой"}));
}

void TestPlants::closeAsksOnlyAfterEditing() {
    CatalogFixture f;
    addPlants(f, {"Альфа"});
    ModalScript script;
    auto forms = f.start();
    choose(mainForm->cbOrBuyer, 2);
    inRegister(script, [](TformDataToPlant& p) {
        // Typing a name is no edit.
        p.cbPlant->setEditText("Другое");
        QVERIFY(!p.PlantChanged);
        p.ePlantType->setText("ООО");
        p.BitBtnPlantOK->click();
        QVERIFY(p.isVisible());
        p.BitBtnPlantOK->click();
        QVERIFY(!p.isVisible());
    });
    script.press("bNo");
    script.press("bYes");
    mainForm->fbBuyerInfo->click();
    const QString question = "Произведенные изменения будут потеряны\nЗакрыть форму?";
    QCOMPARE(script.messages, QStringList({question, question}));
    QCOMPARE(column(f, "Type", "Альфа"), QString(""));
    // The close box discards silently; the next opening loads the row again.
    inRegister(script, [](TformDataToPlant& p) {
        QCOMPARE(p.ePlantType->text(), QString(""));
        p.ePlantType->setText("ЗАО");
        p.close();
    });
    mainForm->fbBuyerInfo->click();
    QCOMPARE(script.messages.size(), 2);
    QVERIFY(script.unexpected.isEmpty());
}

void TestPlants::numbersAbove255() {
    CatalogFixture f;
    QStringList names;
    for (int i = 3; i <= 300; ++i)
        names << QString("Предприятие %1").arg(i);
    addPlants(f, names);
    setStored("Buyer", "290");
    setStored("Supplier", "299");
    ModalScript script;
    auto forms = f.start();
    TmainForm& m = *mainForm;
    QCOMPARE(m.cbOrBuyer->currentText(), QString("Предприятие 291"));
    QCOMPARE(m.cbOrSupplier->currentText(), QString("Предприятие 300"));
    inRegister(script, [](TformDataToPlant& p) {
        QCOMPARE(p.ePlantRem->text(), QString("Rem Предприятие 291"));
        p.cbPlant->setCurrentIndex(279); // Index 280
        p.cbPlantClick();
        QCOMPARE(p.ePlantRem->text(), QString("Rem Предприятие 280"));
        p.sbDelList->click();
    });
    script.press("bYes");
    m.fbBuyerInfo->click();
    QCOMPARE(m.cbOrBuyer->currentText(), QString("Предприятие 291"));
    QCOMPARE(m.cbOrBuyer->currentIndex(), 289);
    QCOMPARE(m.cbOrSupplier->currentIndex(), 298);
    QCOMPARE(f.scalar("select [Index] from enterprise where Name='Предприятие 300'").toInt(), 299);
    QCOMPARE(stored("Buyer"), QString("289"));
}

void TestPlants::choiceSurvivesARestart() {
    CatalogFixture f;
    addPlants(f, {"Яхонт", "Альфа", "Вектор"});
    {
        ModalScript script;
        auto forms = f.start();
        choose(mainForm->cbOrSupplier, 4);
        choose(mainForm->cbOrBuyer, 3);
    }
    {
        ModalScript script;
        auto forms = f.start();
        QCOMPARE(mainForm->cbOrSupplier->currentText(), QString("Вектор"));
        QCOMPARE(mainForm->cbOrBuyer->currentText(), QString("Альфа"));
    }
    // A register that shrank: a position beyond it chooses nothing; one not a number is 0.
    f.exec("delete from enterprise where [Index]=5");
    setStored("Buyer", "два");
    ModalScript script;
    auto forms = f.start();
    QCOMPARE(mainForm->cbOrSupplier->currentIndex(), -1);
    QCOMPARE(mainForm->cbOrBuyer->currentIndex(), 0);
}

CATALOG_TEST_MAIN(TestPlants)
#include "tst_plants.moc"
