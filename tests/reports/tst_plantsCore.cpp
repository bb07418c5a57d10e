// The enterprise register's statements and routines and the report data's settings, on a
// catalogue of their own and without windows: this executable links the core library alone.
#include "data/connection.h"
#include "data/dberror.h"
#include "data/schema.h"
#include "data/sql.h"
#include "data/tquery.h"
#include "reports/plants.h"
#include "reports/plantsql.h"
#include "reports/reportdata.h"

#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// A new catalogue with the two fixed rows and then the given enterprises, Index 3 on.
struct Register {
    explicit Register(const QStringList& plants = {}) {
        Schema::createCatalogue(tmp.path() + "/base.mdb");
        db = std::make_unique<Connection>(tmp.path() + "/base.mdb");
        q = std::make_unique<TQuery>(*db, "QPlant");
        int index = 3;
        for (const QString& name : plants)
            db->exec(QStringLiteral("insert into enterprise ([Index], Name) values (%1, %2)")
                         .arg(index++)
                         .arg(Sql::quote(name)));
    }
    // "Index:Name" of every row in Index order.
    QStringList rows() {
        QSqlQuery s(db->database());
        s.exec("select [Index], Name from enterprise order by [Index]");
        QStringList out;
        while (s.next())
            out << s.value(0).toString() + ":" + s.value(1).toString();
        return out;
    }
    QTemporaryDir tmp;
    std::unique_ptr<Connection> db;
    std::unique_ptr<TQuery> q;
};

PlantRecord record(const QString& name) {
    PlantRecord r;
    r.name = name;
    for (const QString& c : PlantSql::columns())
        r.fields.insert(c, c + " of " + name);
    return r;
}

} // namespace

class TestPlantsCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statements_data();
    void statements();
    void listsKeepRegisterOrder();
    void everyFieldIsStoredAsTyped();
    void contactWithTheSeparatorIsRefused();
    void deleteRenumbers();
    void failedRenumberingLeavesTheRegisterAsItWas();
    void numbersAbove255();
    void positionAfter_data();
    void positionAfter();
    void storedPositions_data();
    void storedPositions();
};

void TestPlantsCore::statements_data() {
    QTest::addColumn<QStringList>("built");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("list in register order")
        << PlantSql::list() << QStringList{"select * from enterprise order by [index]"};
    QTest::newRow("position 299 is Index 300")
        << PlantSql::atPosition(299) << QStringList{"select * from enterprise where [index]=300"};
    QTest::newRow("by name, quoted")
        << PlantSql::byName("Завод \"Мотор\" О'Нил")
        << QStringList{"select * from enterprise where Name='Завод \"Мотор\" О''Нил'"};
    PlantRecord r;
    r.name = "ООО 'Луч'";
    r.fields = {{"Address", "ул. Мира, 5"}, {"Tel", "1#2"}, {"Rem", "it's"}};
    QTest::newRow("insert")
        << PlantSql::insert(300, r)
        << QStringList{"insert into enterprise([index], Name, Type, Address, R_schet_n, R_schet, "
                       "INN, BIK, K_schet, OKONH, OKPO, Director, Accountant, Tel, Fax, Email, "
                       "Rem)",
                       "values(300,'ООО ''Луч''','','ул. Мира, 5','','','','','','','','','',"
                       "'1#2','','','it''s')"};
    QTest::newRow("update, Address first")
        << PlantSql::update(r)
        << QStringList{"update enterprise",
                       "set Address='ул. Мира, 5', Type='', R_schet_n='', R_schet='', INN='', "
                       "BIK='', K_schet='', OKONH='', OKPO='', Director='', Accountant='', "
                       "Tel='1#2', Fax='', Email='', Rem='it''s'",
                       "where Name='ООО ''Луч'''"};
    QTest::newRow("delete") << PlantSql::remove("О'Нил")
                            << QStringList{"delete from enterprise", "where Name='О''Нил'"};
    QTest::newRow("renumber") << PlantSql::renumberAfter(280)
                              << QStringList{"update enterprise", "set [index]=[index]-1",
                                             "where [index]>280"};
    QTest::newRow("price copy") << ReportData::copyPrice("PriceZ")
                                << QStringList{"update Order_", "set PriceToReport=[PriceZ]"};
}

void TestPlantsCore::statements() {
    QFETCH(QStringList, built);
    QFETCH(QStringList, expected);
    QCOMPARE(built, expected);
}

void TestPlantsCore::listsKeepRegisterOrder() {
    Register reg({"Яхонт", "Альфа", "Вектор"});
    // The trap: a bare select of the names comes from the unique index, alphabetically.
    QSqlQuery bare(reg.db->database());
    bare.exec("select Name from enterprise");
    bare.next();
    QCOMPARE(bare.value(0).toString(), QString("Альфа"));
    QCOMPARE(Plants::names(*reg.q),
             QStringList({"Не указано", "Новое предприятие", "Яхонт", "Альфа", "Вектор"}));
    PlantRecord r;
    QVERIFY(Plants::load(*reg.q, 3, r));
    QCOMPARE(r.name, QString("Альфа"));
    QVERIFY(!Plants::load(*reg.q, 5, r));
    QVERIFY(r.name.isEmpty());
    QVERIFY(!Plants::load(*reg.q, -1, r));
}

void TestPlantsCore::everyFieldIsStoredAsTyped() {
    Register reg;
    PlantRecord typed = record("ООО «Ёлка» \"Юг\" О'Нил #1");
    typed.fields["Address"] = "ул. Д'Артаньяна, д. #5 — «корпус» \"Б\"";
    typed.fields["Tel"] = "+7 (812) 'доб.'12, 8-800";
    typed.fields["Email"] = "o'neil@почта.рф";
    typed.fields["Fax"] = "";
    const PlantRecord stored = Plants::packed(typed);
    QCOMPARE(stored.field("Tel"), QString("+7#(812)#'доб.'12#8-800"));
    Plants::add(*reg.q, 3, stored);
    PlantRecord back;
    QVERIFY(Plants::load(*reg.q, 2, back));
    QCOMPARE(back.name, typed.name);
    for (const QString& c : PlantSql::columns())
        QCOMPARE(back.field(c), stored.field(c));
    QCOMPARE(Plants::unpacked(back).field("Tel"), QString("+7, (812), 'доб.'12, 8-800"));
    QCOMPARE(Plants::indexOf(*reg.q, typed.name), 3);

    PlantRecord changed = stored;
    changed.fields["Rem"] = "Примечание с ' и \"";
    Plants::change(*reg.q, changed);
    QVERIFY(Plants::load(*reg.q, 2, back));
    QCOMPARE(back.field("Rem"), QString("Примечание с ' и \""));
    QCOMPARE(reg.rows().size(), 3);
}

void TestPlantsCore::contactWithTheSeparatorIsRefused() {
    for (const char* column : {"Tel", "Fax", "Email"}) {
        PlantRecord typed = record("Завод");
        typed.fields[column] = "222-33-44, 12#34";
        try {
            Plants::packed(typed);
            QFAIL("a contact with # was accepted");
        } catch (const CatalogError& e) {
            QVERIFY2(e.message().contains("12#34"), qPrintable(e.message()));
        }
    }
}

void TestPlantsCore::deleteRenumbers() {
    Register reg({"Д3", "Д4", "Д5", "Д6"});
    QCOMPARE(Plants::remove(*reg.q, *reg.db, "Д4"), 4);
    QCOMPARE(reg.rows(),
             QStringList({"1:Не указано", "2:Новое предприятие", "3:Д3", "4:Д5", "5:Д6"}));
    QCOMPARE(Plants::remove(*reg.q, *reg.db, "нет такого"), 0);
    QCOMPARE(reg.rows().size(), 5);
}

void TestPlantsCore::failedRenumberingLeavesTheRegisterAsItWas() {
    Register reg({"Д3", "Д4", "Д5"});
    const QStringList before = reg.rows();
    reg.db->exec("create trigger refuse before update on enterprise "
                 "begin select raise(abort, 'перенумерация запрещена'); end");
    try {
        Plants::remove(*reg.q, *reg.db, "Д4");
        QFAIL("the failing renumbering was not reported");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains("перенумерация запрещена"), qPrintable(e.message()));
    }
    QCOMPARE(reg.rows(), before);
}

void TestPlantsCore::numbersAbove255() {
    QStringList plants;
    for (int i = 3; i <= 300; ++i)
        plants << QString("Предприятие %1").arg(i);
    Register reg(plants);
    PlantRecord r;
    QVERIFY(Plants::load(*reg.q, 299, r));
    QCOMPARE(r.name, QString("Предприятие 300"));
    QVERIFY(Plants::load(*reg.q, 256, r));
    QCOMPARE(r.name, QString("Предприятие 257"));
    QCOMPARE(Plants::indexOf(*reg.q, "Предприятие 290"), 290);
    QCOMPARE(Plants::remove(*reg.q, *reg.db, "Предприятие 280"), 280);
    QCOMPARE(Plants::indexOf(*reg.q, "Предприятие 290"), 289);
    QCOMPARE(Plants::names(*reg.q).size(), 299);
    Plants::add(*reg.q, 300, record("Новое 300"));
    QCOMPARE(Plants::indexOf(*reg.q, "Новое 300"), 300);
}

void TestPlantsCore::positionAfter_data() {
    using E = Plants::ListEdit;
    QTest::addColumn<int>("old");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("saved");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("now");
    auto row = [](const char* name, int old, int kind, int saved, int deleted, int count, int now) {
        QTest::newRow(name) << old << kind << saved << deleted << count << now;
    };
    row("refill chooses nothing", 3, E::Filled, -1, 0, 6, -1);
    row("save keeps a box", 3, E::Saved, 6, 0, 7, 3);
    row("save moves a box on the new entry", 1, E::Saved, 6, 0, 7, 6);
    row("change moves it to the enterprise changed", 1, E::Saved, 4, 0, 6, 4);
    row("nothing saved leaves it", 1, E::Saved, -1, 0, 6, 1);
    row("save leaves no selection", -1, E::Saved, 6, 0, 7, -1);
    row("delete: box after the deleted", 5, E::Deleted, -1, 4, 5, 4);
    row("delete: box on the deleted", 3, E::Deleted, -1, 4, 5, 0);
    row("delete: box before the deleted", 2, E::Deleted, -1, 4, 5, 2);
    row("delete: neutral entry stays", 0, E::Deleted, -1, 4, 5, 0);
    row("delete: no selection stays", -1, E::Deleted, -1, 4, 5, -1);
    row("delete the last real one", 0, E::Deleted, -1, 3, 2, -1);
    row("delete above 255", 299, E::Deleted, -1, 280, 299, 298);
    row("delete at 256 of a box on it", 255, E::Deleted, -1, 256, 299, 0);
}

void TestPlantsCore::positionAfter() {
    QFETCH(int, old);
    QFETCH(int, kind);
    QFETCH(int, saved);
    QFETCH(int, deleted);
    QFETCH(int, count);
    QFETCH(int, now);
    const Plants::ListEdit edit{Plants::ListEdit::Kind(kind), saved, deleted};
    QCOMPARE(Plants::positionAfter(old, edit, count), now);
}

void TestPlantsCore::storedPositions_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("entry");
    QTest::newRow("missing") << QVariant() << 5 << 0;
    QTest::newRow("not a number") << QVariant("второй") << 5 << 0;
    QTest::newRow("empty") << QVariant("") << 5 << 0;
    QTest::newRow("a position") << QVariant("3") << 5 << 3;
    QTest::newRow("none") << QVariant("-1") << 5 << -1;
    QTest::newRow("beyond the list") << QVariant("5") << 5 << -1;
    QTest::newRow("above 255") << QVariant("290") << 300 << 290;
}

void TestPlantsCore::storedPositions() {
    QFETCH(QVariant, stored);
    QFETCH(int, count);
    QFETCH(int, entry);
    QTemporaryDir tmp;
    QSettings s(tmp.path() + "/settings.ini", QSettings::IniFormat);
    if (stored.isValid()) s.setValue(ReportData::BuyerKey, stored);
    QCOMPARE(ReportData::entryFor(ReportData::storedPosition(s, ReportData::BuyerKey), count),
             entry);
}

QTEST_GUILESS_MAIN(TestPlantsCore)
#include "tst_plantsCore.moc"
