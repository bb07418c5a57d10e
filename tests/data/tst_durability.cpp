// Durability: base.mdb alone holds every committed change, even after the program is killed in
// the middle of writing; the backup command writes a consistent copy.
#include "app/catalogapp.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "data/connection.h"
#include "data/datamod.h"
#include "support/fixture.h"
#include "support/modalscript.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

namespace {

// The child: commits one row after another into the catalogue at path and reports each value
// on stdout once its commit has returned; runs until it is killed.
int writeForever(const QString& path) {
    Connection db(path);
    for (int i = 1;; ++i) {
        db.execAll(
            {QStringLiteral("insert into stdrep (paramname, param) values ('killed', '%1')").arg(i),
             QStringLiteral("update stdrep set param = '%1' where paramname = 'last'").arg(i)});
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
}

// The file's own journal mode as its header records it: 1 rollback journal, 2 WAL.
int headerJournalMode(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray h = f.read(20);
    return h.size() == 20 ? int(h[18]) : -1;
}

QStringList column(Connection& db, const QString& sql) {
    QSqlQuery q(db.database());
    if (!q.exec(sql)) return {QStringLiteral("error: ") + q.lastError().text()};
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

// A copy of base.mdb alone (no journal beside it) in a directory of its own.
QString copyAlone(const QString& from, const QTemporaryDir& to) {
    const QString copy = to.path() + QStringLiteral("/base.mdb");
    QFile::remove(copy);
    return QFile::copy(from, copy) ? copy : QString();
}

} // namespace

class TestDurability : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copyTakenWhileOpenHoldsEveryCommit();
    void fileLeftInWalIsTakenOutOfIt();
    void killedWriterLosesNoCommittedChange();
    void backupWritesAConsistentCopy();
    void cancelledBackupWritesNothing();
};

void TestDurability::copyTakenWhileOpenHoldsEveryCommit() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QVERIFY(forms);
    DM->StrQuery.setText({"insert into stdrep (paramname, param) values ('open', 'копия')"});
    DM->StrQuery.execSQL();
    QVERIFY(!QFile::exists(f.dir() + "/base.mdb-wal"));
    QVERIFY(!QFile::exists(f.dir() + "/base.mdb-journal"));
    QCOMPARE(headerJournalMode(f.dir() + "/base.mdb"), 1);

    QTemporaryDir elsewhere;
    const QString copy = copyAlone(f.dir() + "/base.mdb", elsewhere);
    QVERIFY(!copy.isEmpty());
    Connection c(copy);
    QCOMPARE(column(c, "select param from stdrep where paramname = 'open'"), QStringList{"копия"});
    QCOMPARE(column(c, "pragma synchronous"), QStringList{"2"}); // FULL on every connection
}

void TestDurability::fileLeftInWalIsTakenOutOfIt() {
    CatalogFixture f;
    f.exec("pragma journal_mode=WAL");
    QCOMPARE(headerJournalMode(f.dir() + "/base.mdb"), 2);
    f.db().database().close(); // the older program has ended
    ModalScript script;
    auto forms = f.start();
    QVERIFY(forms);
    QCOMPARE(headerJournalMode(f.dir() + "/base.mdb"), 1);
    QCOMPARE(column(*DM->Database, "pragma journal_mode"), QStringList{"delete"});
}

void TestDurability::killedWriterLosesNoCommittedChange() {
    CatalogFixture f;
    f.exec("insert into stdrep (paramname, param) values ('last', '0')");
    const QString path = f.dir() + "/base.mdb";
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({"--write-forever", path});
    child.start();
    QVERIFY(child.waitForStarted());

    // Kill it in the middle of the loop, once it has committed a good number of rows.
    QByteArray out;
    while (out.count('\n') < 60 && child.state() == QProcess::Running) {
        child.waitForReadyRead(10000);
        out += child.readAllStandardOutput();
    }
    child.kill(); // SIGKILL
    QVERIFY(child.waitForFinished());
    out += child.readAllStandardOutput();
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QStringList reported = QString::fromLatin1(out).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(reported.size() >= 60, qPrintable(QString::fromUtf8(child.readAllStandardError())));
    QVERIFY(!QFile::exists(f.dir() + "/base.mdb-wal"));

    // Opening the catalogue again takes back a commit the kill interrupted; then base.mdb
    // alone is whole and holds every commit the child reported.
    {
        Connection check(path);
        QCOMPARE(column(check, "pragma integrity_check"), QStringList{"ok"});
    }
    f.db().database().close();
    QTemporaryDir elsewhere;
    const QString copy = copyAlone(path, elsewhere);
    QVERIFY(!copy.isEmpty());
    Connection c(copy);
    QCOMPARE(column(c, "pragma integrity_check"), QStringList{"ok"});
    const QStringList stored = column(c, "select param from stdrep where paramname = 'killed'");
    for (const QString& v : reported)
        QVERIFY2(stored.contains(v), qPrintable("committed value lost: " + v));
    // Each commit wrote both rows or neither.
    const QStringList last = column(c, "select param from stdrep where paramname = 'last'");
    QCOMPARE(last.size(), 1);
    QCOMPARE(last[0].toInt(), int(stored.size()));
}

void TestDurability::backupWritesAConsistentCopy() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    QVERIFY(forms);
    QTemporaryDir out;
    const QString target = out.path() + "/копия каталога.mdb";
    QFile old(target); // a file there is replaced (the save dialog has asked already)
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("older");
    old.close();
    script.file(target);
    script.press("bOK");
    auto* action = mainForm->findChild<QAction*>("Backup1");
    QVERIFY(action);
    QCOMPARE(action->text().remove('&'), QString("Резервная копия..."));
    action->trigger();
    QVERIFY2(script.unexpected.isEmpty(), qPrintable(script.unexpected.join('\n')));
    QCOMPARE(script.captions.value(0), QString("Резервная копия каталога"));
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.messages[0].contains(target));
    QVERIFY(!QFile::exists(target + ".part"));

    Connection copy(target);
    QCOMPARE(column(copy, "pragma integrity_check"), QStringList{"ok"});
    QCOMPARE(column(copy, "select count(*) from Detail"),
             QStringList{f.scalar("select count(*) from Detail").toString()});
    QCOMPARE(headerJournalMode(target), 1);
}

void TestDurability::cancelledBackupWritesNothing() {
    CatalogFixture f;
    ModalScript script;
    auto forms = f.start();
    script.file(QString());
    mainForm->findChild<QAction*>("Backup1")->trigger();
    QVERIFY(script.messages.isEmpty());
    QVERIFY(script.unexpected.isEmpty());
}

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--write-forever") == 0) {
        QCoreApplication child(argc, argv);
        return writeForever(QString::fromLocal8Bit(argv[2]));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", settingsHome.path().toUtf8());
    CatalogApplication app(argc, argv);
    TestDurability test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_durability.moc"
