#pragma once

#include <QString>
#include <memory>

class TAboutBox;
class TDM;
class TfindForm;
class TlistForm;
class TmainForm;
class TmessForm;
class ToptionForm;
class TorderForm;

// The windows of one run of the program, created once in the start-up order and destroyed
// together at the end. Each sets the program-wide pointer of its kind (mainForm, DM ...).
class Forms {
public:
    // Creates every window for the catalogue in workDir. When base.mdb is missing or is no
    // catalogue it says so in the message box and returns null: the program stops.
    static std::unique_ptr<Forms> create(const QString& workDir);
    ~Forms();

    TmainForm& main() { return *mainWindow; }

private:
    Forms() = default;

    std::unique_ptr<TmainForm> mainWindow;
    std::unique_ptr<TmessForm> messBox;
    std::unique_ptr<TDM> dataModule;
    std::unique_ptr<TAboutBox> about;
    std::unique_ptr<TfindForm> find;
    std::unique_ptr<TlistForm> list;
    std::unique_ptr<TorderForm> order;
    std::unique_ptr<ToptionForm> option;
};

// The program: start-up, the message loop, the end.
int runCatalog(int argc, char** argv);
