// Start-up from the command line: the catalogue directory argument, --help and --version, a
// missing or wrong directory, and the installed demo offered when there is no catalogue.
#include "app/commandline.h"
#include "app/forms.h"
#include "app/mainform.h"
#include "data/datamod.h"
#include "support/fixture.h"
#include "support/modalscript.h"
#include "support/testmain.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>

namespace {

const QString MissingText =
    QStringLiteral("Для корректной работы программы обратитесь к разработчикам");

// File names and contents of a directory tree, to see that nothing in it changed.
QMap<QString, QByteArray> treeDigest(const QString& dir) {
    QMap<QString, QByteArray> digest;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly)) continue;
        digest[QDir(dir).relativeFilePath(f.fileName())] =
            QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
    }
    return digest;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data();
    void commandLine();
    void helpAndVersionStopAtOnce_data();
    void helpAndVersionStopAtOnce();
    void directoryArgumentOpensThatCatalogue_data();
    void directoryArgumentOpensThatCatalogue();
    void badDirectoryStopsWithTheMissingCatalogueMessage_data();
    void badDirectoryStopsWithTheMissingCatalogueMessage();
    void catalogueInTheWorkingDirectoryIsOpenedWithoutAsking();
    void demoAcceptedIsCopiedOnceAndOpened();
    void demoDeclinedStops();
    void installedDemoGivenOpensTheUsersCopy();
    void demoThatCannotBeCopiedSaysWhere();
    void installedDemoIsFoundInTheDataDirectories();

private:
    QTemporaryDir work; // an empty working directory
};

void TestStartup::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("russian");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("directory");
    const int run = CommandLine::Run, print = CommandLine::Print, refuse = CommandLine::Refuse;
    QTest::newRow("nothing") << QStringList{} << true << run << ""
                             << "";
    QTest::newRow("directory") << QStringList{"/data/cat"} << true << run << ""
                               << "/data/cat";
    QTest::newRow("dash dash") << QStringList{"--", "-odd"} << true << run << ""
                               << "-odd";
    QTest::newRow("help ru") << QStringList{"--help"} << true << print
                             << "Использование: catalog [ПАПКА_КАТАЛОГА]"
                             << "";
    QTest::newRow("help en") << QStringList{"-h"} << false << print
                             << "Usage: catalog [CATALOGUE_DIR]"
                             << "";
    QTest::newRow("help wins") << QStringList{"/x", "--help"} << false << print << "Usage:"
                               << "";
    QTest::newRow("version") << QStringList{"--version"} << true << print
                             << "catalog " CATALOG_VERSION "\n"
                             << "";
    QTest::newRow("version short")
        << QStringList{"-v"} << false << print << "catalog " CATALOG_VERSION "\n"
        << "";
    QTest::newRow("unknown ru") << QStringList{"--bogus"} << true << refuse
                                << "catalog: неизвестный параметр --bogus"
                                << "";
    QTest::newRow("unknown en") << QStringList{"-x"} << false << refuse
                                << "catalog: unknown option -x"
                                << "";
    QTest::newRow("two dirs") << QStringList{"a", "b"} << true << refuse
                              << "catalog: лишний аргумент b"
                              << "";
    QTest::newRow("empty dir") << QStringList{""} << false << refuse
                               << "catalog: empty directory name"
                               << "";
}

void TestStartup::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(bool, russian);
    QFETCH(int, action);
    QFETCH(QString, text);
    QFETCH(QString, directory);
    const CommandLine c = parseCommandLine(QStringList{"catalog"} + args, russian);
    QCOMPARE(int(c.action), action);
    QVERIFY2(text.isEmpty() ? c.text.isEmpty() : c.text.startsWith(text), qPrintable(c.text));
    QCOMPARE(c.directory, directory);
    if (action == CommandLine::Refuse)
        QVERIFY(c.text.endsWith(russian ? "Справка: catalog --help\n" : "Try: catalog --help\n"));
}

void TestStartup::helpAndVersionStopAtOnce_data() {
    QTest::addColumn<QString>("arg");
    QTest::addColumn<int>("status");
    QTest::newRow("help") << "--help" << 0;
    QTest::newRow("version") << "--version" << 0;
    QTest::newRow("unknown option") << "--bogus" << 2;
}

void TestStartup::helpAndVersionStopAtOnce() {
    QFETCH(QString, arg);
    QFETCH(int, status);
    CatalogFixture demo;
    ModalScript script;
    StartPlaces places{work.path(), demo.dir(), work.path(), true};
    int got = -1;
    QVERIFY(!startCatalog({"catalog", arg}, places, got));
    QCOMPARE(got, status);
    QVERIFY(script.captions.isEmpty()); // no window, not even the demo offer
}

void TestStartup::directoryArgumentOpensThatCatalogue_data() {
    QTest::addColumn<bool>("relative");
    QTest::newRow("absolute") << false;
    QTest::newRow("relative to the working directory") << true;
}

void TestStartup::directoryArgumentOpensThatCatalogue() {
    QFETCH(bool, relative);
    CatalogFixture catalogue;
    CatalogFixture other; // the working directory holds a catalogue too: the argument wins
    ModalScript script;
    const QString arg =
        relative ? QDir(other.dir()).relativeFilePath(catalogue.dir()) : catalogue.dir();
    int status = -1;
    auto forms =
        startCatalog({"catalog", arg}, {other.dir(), QString(), work.path(), true}, status);
    QVERIFY(forms);
    QCOMPARE(status, 0);
    QCOMPARE(DM->AppDir, QDir(catalogue.dir()).absolutePath() + "/");
    QVERIFY(script.captions.isEmpty());
}

void TestStartup::badDirectoryStopsWithTheMissingCatalogueMessage_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing directory") << "nowhere";
    QTest::newRow("directory without base.mdb") << "empty";
    QTest::newRow("a file, not a directory") << "file.txt";
}

void TestStartup::badDirectoryStopsWithTheMissingCatalogueMessage() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("empty");
    QFile f(dir.filePath("file.txt"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    CatalogFixture demo; // a demo is installed, but a directory was given: no offer
    ModalScript script;
    script.press("bOK");
    int status = -1;
    QVERIFY(!startCatalog({"catalog", dir.filePath(name)},
                          {work.path(), demo.dir(), dir.path(), true}, status));
    QCOMPARE(status, 1);
    QCOMPARE(script.messages, QStringList{MissingText});
    QVERIFY(script.unexpected.isEmpty());
}

void TestStartup::catalogueInTheWorkingDirectoryIsOpenedWithoutAsking() {
    CatalogFixture catalogue;
    CatalogFixture demo;
    ModalScript script;
    int status = -1;
    auto forms =
        startCatalog({"catalog"}, {catalogue.dir(), demo.dir(), work.path(), true}, status);
    QVERIFY(forms);
    QCOMPARE(status, 0);
    QCOMPARE(DM->AppDir, QDir(catalogue.dir()).absolutePath() + "/");
    QVERIFY(script.captions.isEmpty());
}

void TestStartup::demoAcceptedIsCopiedOnceAndOpened() {
    CatalogFixture demo;
    QFile help(demo.dir() + "/catalog.html");
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.write("<html>demo</html>");
    help.close();
    QTemporaryDir data;
    const QString copy = data.path() + "/demo";
    const auto before = treeDigest(demo.dir());
    const StartPlaces places{work.path(), demo.dir(), data.path(), true};
    {
        ModalScript script;
        script.press("bYes");
        int status = -1;
        auto forms = startCatalog({"catalog"}, places, status);
        QVERIFY(forms);
        QCOMPARE(status, 0);
        QCOMPARE(script.messages,
                 QStringList{QString("В папке «%1» нет каталога (файла base.mdb).\n\nОткрыть "
                                     "демонстрационный каталог? Он будет скопирован в папку «%2».")
                                 .arg(work.path(), copy)});
        QCOMPARE(DM->AppDir, copy + "/");
        QCOMPARE(DM->HelpFile, copy + "/catalog.html");
        QVERIFY(QFileInfo(copy + "/PIC/small").isDir());
    }
    QCOMPARE(treeDigest(demo.dir()), before); // never written in place
    QVERIFY(!QFileInfo::exists(copy + ".part"));

    // The next start opens the user's copy as it is now.
    QFile mine(copy + "/mine.txt");
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.close();
    ModalScript script;
    script.press("bYes");
    int status = -1;
    auto forms = startCatalog({"catalog"}, places, status);
    QVERIFY(forms);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.messages[0].endsWith(
        QString("Открыть демонстрационный каталог из папки «%1»?").arg(copy)));
    QCOMPARE(DM->AppDir, copy + "/");
    QVERIFY(QFileInfo::exists(copy + "/mine.txt"));
}

void TestStartup::demoDeclinedStops() {
    CatalogFixture demo;
    QTemporaryDir data;
    ModalScript script;
    script.press("bNo");
    int status = -1;
    QVERIFY(!startCatalog({"catalog"}, {work.path(), demo.dir(), data.path(), true}, status));
    QCOMPARE(status, 1);
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.unexpected.isEmpty());
    QVERIFY(QDir(data.path()).isEmpty());
    QVERIFY(!mainForm);

    // Without an installed demo the plain message of a missing catalogue stays.
    ModalScript plain;
    plain.press("bOK");
    QVERIFY(!startCatalog({"catalog"}, {work.path(), QString(), data.path(), true}, status));
    QCOMPARE(status, 1);
    QCOMPARE(plain.messages, QStringList{MissingText});
}

void TestStartup::installedDemoGivenOpensTheUsersCopy() {
    CatalogFixture demo;
    const auto before = treeDigest(demo.dir());
    QTemporaryDir data;
    ModalScript script;
    int status = -1;
    auto forms = startCatalog({"catalog", demo.dir() + "/PIC/.."},
                              {work.path(), demo.dir(), data.path(), true}, status);
    QVERIFY(forms);
    QCOMPARE(status, 0);
    QCOMPARE(DM->AppDir, data.path() + "/demo/");
    QVERIFY(script.captions.isEmpty());
    forms.reset();
    QCOMPARE(treeDigest(demo.dir()), before);
}

void TestStartup::demoThatCannotBeCopiedSaysWhere() {
    CatalogFixture demo;
    QTemporaryDir data;
    // The data directory's place is taken by a file: nothing can be made there.
    const QString blocked = data.path() + "/blocked";
    QFile f(blocked);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    ModalScript script;
    script.press("bYes");
    script.press("bOK");
    int status = -1;
    QVERIFY(!startCatalog({"catalog"}, {work.path(), demo.dir(), blocked, true}, status));
    QCOMPARE(status, 1);
    QCOMPARE(script.messages.size(), 2);
    QCOMPARE(script.messages[1],
             QString("Не удалось скопировать демонстрационный каталог из папки «%1» в папку «%2».")
                 .arg(demo.dir(), blocked + "/demo"));
    QVERIFY(!QFileInfo::exists(blocked + "/demo"));
}

void TestStartup::installedDemoIsFoundInTheDataDirectories() {
    // The test's temporary directories carry the program's name, with a ':' in it.
    QTemporaryDir share(QDir::tempPath() + "/share-XXXXXX");
    const QString demo = share.path() + "/catalog/demo";
    QVERIFY(QDir().mkpath(demo));
    const QByteArray saved = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", share.path().toUtf8());
    QCOMPARE(StartPlaces::standard().demoDir, QString()); // no base.mdb: no demo
    QFile f(demo + "/base.mdb");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const StartPlaces places = StartPlaces::standard();
    qputenv("XDG_DATA_DIRS", saved);
    QCOMPARE(places.demoDir, demo);
    QCOMPARE(places.workDir, QDir::currentPath());
    QVERIFY(places.userDataDir.endsWith("/Catalog M-315.04"));
}

CATALOG_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
