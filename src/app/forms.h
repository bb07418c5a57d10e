#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TmainForm;

// The windows of one run of the program, created once in the start-up order and destroyed
// together at the end, in the reverse order. Each sets the program-wide pointer of its kind
// (mainForm, DM ...). A new dialog is one line in create().
class Forms {
public:
    // Creates every window for the catalogue in workDir. When base.mdb is missing or is no
    // catalogue it says so in the message box and returns null: the program stops.
    static std::unique_ptr<Forms> create(const QString& workDir);
    ~Forms();

    TmainForm& main() { return *mainWindow; }

private:
    Forms() = default;

    // Creates a T from args, points global at it and keeps it until the end, when global is
    // cleared and the T destroyed.
    template <typename T, typename... Args> T& keep(T*& global, Args&&... args) {
        T* made = new T(std::forward<Args>(args)...);
        global = made;
        closers.push_back([made, &global] {
            global = nullptr;
            delete made;
        });
        return *made;
    }

    TmainForm* mainWindow = nullptr;
    std::vector<std::function<void()>> closers;
};

// The program: start-up, the message loop, the end.
int runCatalog(int argc, char** argv);
