#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class Forms;

// The command line: catalog [CATALOGUE_DIR], --help, --version.
struct CommandLine {
    enum Action { Run, Print, Refuse };
    Action action = Run;
    QString text;      // Print: for standard output; Refuse: for standard error
    QString directory; // the catalogue directory given, empty when none
};

// Texts in Russian when russian, else in English.
CommandLine parseCommandLine(const QStringList& arguments, bool russian);

// Answers --help and --version before the application object exists, so that they work
// without a display. True when answered, with the exit status in status.
bool answerBeforeStart(int argc, char** argv, int& status);

// Where a start looks for its catalogue, and the language of its command-line texts.
struct StartPlaces {
    QString workDir;     // the default catalogue directory
    QString demoDir;     // the installed demo catalogue (never written), empty when none
    QString userDataDir; // where the demo is copied on first use
    bool russian = true;

    // The working directory, the demo installed beside the program or under the system's data
    // directories (share/catalog/demo), the user's data directory, the system locale.
    static StartPlaces standard();
};

// Start-up up to the message loop: reads the command line, finds the catalogue directory (with
// no catalogue at the default place and none given, offers the installed demo) and creates the
// windows. Returns null when the program is to stop, with its exit status in status.
std::unique_ptr<Forms> startCatalog(const QStringList& arguments, const StartPlaces& places,
                                    int& status);
