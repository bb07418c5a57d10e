#include "app/commandline.h"

#include "app/forms.h"
#include "app/messbox.h"
#include "data/datamod.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const char* const ProgramName = "catalog";

QString help(bool russian) {
    if (russian)
        return QStringLiteral(
            "Использование: catalog [ПАПКА_КАТАЛОГА]\n"
            "Каталог деталей и сборочных единиц: Трактор М-315.04.\n\n"
            "Открывает каталог (base.mdb, PIC/ и catalog.html) в указанной папке,\n"
            "без аргумента - в рабочей папке.\n\n"
            "  -h, --help     показать эту справку\n"
            "  -v, --version  показать версию программы\n");
    return QStringLiteral("Usage: catalog [CATALOGUE_DIR]\n"
                          "Spare parts catalogue of the M-315.04 tractor.\n\n"
                          "Opens the catalogue (base.mdb, PIC/ and catalog.html) in the given\n"
                          "directory, without an argument in the working directory.\n\n"
                          "  -h, --help     show this help\n"
                          "  -v, --version  show the program's version\n");
}

CommandLine refuse(const QString& message, bool russian) {
    return {CommandLine::Refuse,
            QStringLiteral("%1: %2\n%3\n")
                .arg(QLatin1String(ProgramName), message,
                     russian ? QStringLiteral("Справка: catalog --help")
                             : QStringLiteral("Try: catalog --help")),
            QString()};
}

bool hasCatalogue(const QString& dir) {
    return QFileInfo(QDir(dir).filePath(TDM::databaseFileName())).isFile();
}

// Copies the tree from into to.
bool copyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) return false;
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target)) return false;
            continue;
        }
        if (!QFile::copy(source, target)) return false;
        // The installed files are read-only; the user's copy is his to change.
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
    return true;
}

// Makes the user's copy of the installed demo once: copied beside it and renamed into place,
// so that a failed copy never leaves half a catalogue behind. Returns an error text or "".
QString copyDemo(const QString& demoDir, const QString& copy) {
    const QString part = copy + QStringLiteral(".part");
    QDir(part).removeRecursively();
    if (copyTree(demoDir, part) && QDir().rename(part, copy)) return QString();
    QDir(part).removeRecursively();
    return QStringLiteral("Не удалось скопировать демонстрационный каталог из папки «%1» в "
                          "папку «%2».")
        .arg(QDir::toNativeSeparators(demoDir), QDir::toNativeSeparators(copy));
}

QString demoCopyDir(const StartPlaces& places) {
    return QDir(places.userDataDir).filePath(QStringLiteral("demo"));
}

// The user's copy of the demo, made when there is none yet; "" when the copy fails (said in
// the message box).
QString userDemo(const StartPlaces& places, TmessForm& box) {
    const QString copy = demoCopyDir(places);
    if (hasCatalogue(copy)) return copy;
    const QString error = copyDemo(places.demoDir, copy);
    if (error.isEmpty()) return copy;
    box.ShowBox(error, CatalogCaption, TmessForm::kindOk);
    return QString();
}

// With no catalogue at the default place: asks whether to open the demo and returns its
// directory (the user's copy), or "" when the user declines or the copy fails.
QString offerDemo(const StartPlaces& places) {
    const QString copy = QDir::toNativeSeparators(demoCopyDir(places));
    TmessForm box;
    box.ShowBox(
        QStringLiteral("В папке «%1» нет каталога (файла base.mdb).\r\n\r\n%2")
            .arg(QDir::toNativeSeparators(places.workDir),
                 hasCatalogue(copy)
                     ? QStringLiteral("Открыть демонстрационный каталог из папки «%1»?").arg(copy)
                     : QStringLiteral("Открыть демонстрационный каталог? Он будет "
                                      "скопирован в папку «%1».")
                           .arg(copy)),
        CatalogCaption, TmessForm::kindYesNo);
    return box.Answer == TmessForm::mrYes ? userDemo(places, box) : QString();
}

bool isInstalledDemo(const QString& dir, const StartPlaces& places) {
    return !places.demoDir.isEmpty() &&
           QFileInfo(dir).canonicalFilePath() == QFileInfo(places.demoDir).canonicalFilePath();
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments, bool russian) {
    CommandLine c;
    bool optionsEnd = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const bool option = !optionsEnd && a.startsWith(QLatin1Char('-')) && a.size() > 1;
        if (option && (a == QLatin1String("-h") || a == QLatin1String("--help")))
            return {CommandLine::Print, help(russian), QString()};
        if (option && (a == QLatin1String("-v") || a == QLatin1String("--version")))
            return {CommandLine::Print,
                    QStringLiteral("%1 %2\n").arg(QLatin1String(ProgramName),
                                                  QStringLiteral(CATALOG_VERSION)),
                    QString()};
        if (option && a == QLatin1String("--"))
            optionsEnd = true;
        else if (option)
            return refuse(russian ? QStringLiteral("неизвестный параметр %1").arg(a)
                                  : QStringLiteral("unknown option %1").arg(a),
                          russian);
        else if (!c.directory.isEmpty())
            return refuse(
                russian ? QStringLiteral("лишний аргумент %1: каталог открывается один").arg(a)
                        : QStringLiteral("extra argument %1: one catalogue at a time").arg(a),
                russian);
        else if (a.isEmpty())
            return refuse(russian ? QStringLiteral("пустое имя папки")
                                  : QStringLiteral("empty directory name"),
                          russian);
        else
            c.directory = a;
    }
    return c;
}

bool answerBeforeStart(int argc, char** argv, int& status) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Anything else waits for the application, which takes Qt's own options out first.
    const CommandLine c =
        parseCommandLine(arguments, QLocale::system().language() == QLocale::Russian);
    if (c.action != CommandLine::Print) return false;
    QTextStream(stdout) << c.text;
    status = 0;
    return true;
}

StartPlaces StartPlaces::standard() {
    StartPlaces p;
    p.workDir = QDir::currentPath();
    const QString sub = QStringLiteral("catalog/demo");
    QStringList candidates = {QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../share/") + sub};
    candidates += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, sub,
                                            QStandardPaths::LocateDirectory);
    for (const QString& c : candidates) {
        if (hasCatalogue(c)) {
            p.demoDir = QDir(c).absolutePath();
            break;
        }
    }
    // Named like the settings ("Catalog M-315.04"), so both are easy to find.
    p.userDataDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/Catalog M-315.04");
    p.russian = QLocale::system().language() == QLocale::Russian;
    return p;
}

std::unique_ptr<Forms> startCatalog(const QStringList& arguments, const StartPlaces& places,
                                    int& status) {
    const CommandLine c = parseCommandLine(arguments, places.russian);
    if (c.action != CommandLine::Run) {
        QTextStream(c.action == CommandLine::Print ? stdout : stderr) << c.text;
        status = c.action == CommandLine::Print ? 0 : 2;
        return nullptr;
    }
    status = 1;
    QString dir = c.directory.isEmpty()
                      ? places.workDir
                      : QDir::cleanPath(QDir(places.workDir).absoluteFilePath(c.directory));
    if (c.directory.isEmpty() && !hasCatalogue(dir) && !places.demoDir.isEmpty()) {
        dir = offerDemo(places);
        if (dir.isEmpty()) return nullptr;
    } else if (isInstalledDemo(dir, places)) {
        // The installed demo is never written: asked for by its place, the user's copy opens.
        TmessForm box;
        dir = userDemo(places, box);
        if (dir.isEmpty()) return nullptr;
    }
    // A missing or wrong directory has no base.mdb: the windows say so and stop.
    std::unique_ptr<Forms> forms = Forms::create(dir);
    if (forms) status = 0;
    return forms;
}
