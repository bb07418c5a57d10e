// Opening a catalogue that cannot be written, is locked by another program, or is faulty: the
// user reads what is wrong in Russian, with the file's path.
#include "app/forms.h"
#include "app/mainform.h"
#include "data/catalogfile.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "data/dberror.h"
#include "data/dbmessage.h"
#include "settings/option.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QSqlQuery>
#include <QTreeWidget>
#include <unistd.h>

namespace {

// Makes a directory and the files in it unwritable for as long as it lives. Permissions do not
// stop root, so for root the files and the directory are made immutable instead.
class WriteProtect {
public:
    explicit WriteProtect(const QString& dir) : path(dir) {
        files = QDir(dir).entryList(QDir::Files);
        if (::geteuid() == 0) {
            immutable = true;
            ok = chattr("+i");
        } else {
            for (const QString& f : files)
                QFile::setPermissions(path + "/" + f, QFile::ReadOwner | QFile::ReadGroup);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
            ok = true;
        }
    }
    ~WriteProtect() {
        if (immutable)
            chattr("-i");
        else {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            for (const QString& f : files)
                QFile::setPermissions(path + "/" + f, QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    bool ok = false;

private:
    bool chattr(const char* flag) {
        QStringList args{flag, path};
        for (const QString& f : files)
            args << path + "/" + f;
        return QProcess::execute("chattr", args) == 0;
    }
    QString path;
    QStringList files;
    bool immutable = false;
};

// Another program's connection to the catalogue.
class OtherProgram {
public:
    explicit OtherProgram(const QString& path) : db(QSqlDatabase::addDatabase("QSQLITE", "other")) {
        db.setDatabaseName(path);
        db.open();
    }
    ~OtherProgram() {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
    }
    bool run(const QString& sql) { return QSqlQuery(db).exec(sql); }
    QSqlDatabase db;
};

} // namespace

class TestOpening : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readOnlyCatalogueOpensForBrowsing();
    void olderCatalogueGainsItsIndexes();
    void lockedAtStartOffersToRetry();
    void lockedAtStartCanBeLeft();
    void lockedCatalogueAnswersAtOnce();
    void catalogueWithoutCommonModificationIsRefused();
    void catalogueMissingPriceColumnsIsRefused();
    void sqliteMessagesAreTranslated_data();
    void sqliteMessagesAreTranslated();
    void damagedFileIsCalledSo();
};

void TestOpening::readOnlyCatalogueOpensForBrowsing() {
    CatalogFixture f;
    // An older catalogue: the index it lacks cannot be made here, and it opens without it.
    f.exec("drop index DrawingGroup");
    f.db().database().close();
    WriteProtect protect(f.dir());
    if (!protect.ok) QSKIP("chattr could not make the directory immutable on this file system");
    ModalScript script;
    auto forms = f.start();
    QVERIFY2(forms, qPrintable(script.messages.join('\n')));
    QVERIFY(CatalogFile::readOnly(*DM->Database));
    // Browsing and searching read as usual.
    DM->StrQuery.setText({"select count(*) from Find where Name like '%ЦИЛИНДР%'"});
    DM->StrQuery.open();
    QVERIFY(DM->StrQuery.asInteger("count(*)") > 0);
    QVERIFY(mainForm->Tree->topLevelItemCount() > 0);

    // A command that writes says that the catalogue is read-only.
    script.press("bOK");
    QListWidgetItem* item = optionForm->clbMod->item(2);
    item->setCheckState(Qt::Checked);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].startsWith("Каталог " + f.dir() +
                                           "/base.mdb открыт только для "
                                           "чтения"),
             qPrintable(script.messages[0]));
    QVERIFY(!QFile::exists(f.dir() + "/base.mdb-journal"));
    QVERIFY(script.unexpected.isEmpty());
}

void TestOpening::olderCatalogueGainsItsIndexes() {
    CatalogFixture f;
    f.exec("drop index DrawingGroup");
    auto forms = f.start();
    QVERIFY(forms);
    QCOMPARE(f.scalar("select count(*) from sqlite_master where name = 'DrawingGroup'").toInt(), 1);
}

void TestOpening::lockedAtStartOffersToRetry() {
    CatalogFixture f;
    OtherProgram other(f.dir() + "/base.mdb");
    QVERIFY(other.run("begin exclusive"));
    QVERIFY(other.run("update Modif set MODName = MODName"));
    ModalScript script;
    // The user closes the other program's work, then presses "Да" to try again.
    script.then([&](QDialog& box) {
        QVERIFY(other.run("commit"));
        box.findChild<QAbstractButton*>("bYes")->click();
    });
    QElapsedTimer t;
    t.start();
    auto forms = f.start();
    QVERIFY(forms);
    QVERIFY(t.elapsed() < 3000);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("занят другой программой"),
             qPrintable(script.messages[0]));
    QVERIFY(script.messages[0].contains(f.dir() + "/base.mdb"));
    QVERIFY(script.messages[0].contains("Повторить попытку?"));
    QVERIFY(script.messages[0].contains("database is locked"));
}

void TestOpening::lockedAtStartCanBeLeft() {
    CatalogFixture f;
    OtherProgram other(f.dir() + "/base.mdb");
    QVERIFY(other.run("begin exclusive"));
    ModalScript script;
    script.press("bNo");
    auto forms = f.start();
    QVERIFY(!forms);
    QCOMPARE(script.messages.size(), 1);
    other.run("rollback");
}

void TestOpening::lockedCatalogueAnswersAtOnce() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QVERIFY(forms);
    OtherProgram other(f.dir() + "/base.mdb");
    QVERIFY(other.run("begin exclusive"));
    script.press("bOK");
    QElapsedTimer t;
    t.start();
    optionForm->clbMod->item(2)->setCheckState(Qt::Checked);
    QVERIFY2(t.elapsed() < 1500, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].startsWith("Каталог " + f.dir() + "/base.mdb занят другой"),
             qPrintable(script.messages[0]));
    other.run("rollback");
}

void TestOpening::catalogueWithoutCommonModificationIsRefused() {
    CatalogFixture f;
    f.exec("delete from Modif where modif = 0");
    ModalScript script;
    script.press("bOK");
    auto forms = f.start();
    QVERIFY(!forms);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("нет строки общей модификации (modif = 0)"),
             qPrintable(script.messages[0]));
    QVERIFY(script.messages[0].contains(f.dir() + "/base.mdb"));
}

void TestOpening::catalogueMissingPriceColumnsIsRefused() {
    CatalogFixture f;
    f.exec("alter table Order_ drop column PriceZ");
    f.exec("alter table History drop column Price");
    ModalScript script;
    script.press("bOK");
    auto forms = f.start();
    QVERIFY(!forms);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("нет столбцов цен, перечисленных в таблице PriceFields: "
                                         "Order_.PriceZ, History.Price."),
             qPrintable(script.messages[0]));
}

void TestOpening::sqliteMessagesAreTranslated_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("original");
    QTest::addColumn<QString>("russian");
    QTest::newRow("locked") << 5 << "database is locked"
                            << "занят другой программой";
    QTest::newRow("read-only") << 8 << "attempt to write a readonly database"
                               << "открыт только для чтения";
    QTest::newRow("not a database") << 26 << "file is not a database"
                                    << "не является базой данных каталога";
    QTest::newRow("malformed") << 11 << "database disk image is malformed"
                               << "повреждён";
    QTest::newRow("by words only") << 0 << "database disk image is malformed"
                                   << "повреждён";
    QTest::newRow("full") << 13 << "database or disk is full"
                          << "Недостаточно места";
}

void TestOpening::sqliteMessagesAreTranslated() {
    QFETCH(int, code);
    QFETCH(QString, original);
    QFETCH(QString, russian);
    try {
        DbMessage::raise("/каталог/base.mdb", code, original);
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(russian), qPrintable(e.message()));
        QVERIFY(e.message().contains("/каталог/base.mdb"));
        QVERIFY(e.message().endsWith(original)); // kept for support
        QVERIFY(e.message().indexOf(russian) < e.message().indexOf(original));
    }
}

void TestOpening::damagedFileIsCalledSo() {
    CatalogFixture f;
    f.db().database().close();
    QFile file(f.dir() + "/base.mdb");
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(100); // past the header: the first page's contents
    file.write(QByteArray(3900, '\x5a'));
    file.close();
    ModalScript script;
    script.press("bOK");
    auto forms = f.start();
    QVERIFY(!forms);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].contains("повреждён"), qPrintable(script.messages[0]));
    QVERIFY(script.messages[0].contains(f.dir() + "/base.mdb"));
    QVERIFY(script.messages[0].contains("malformed"));
}

CATALOG_TEST_MAIN(TestOpening)
#include "tst_opening.moc"
