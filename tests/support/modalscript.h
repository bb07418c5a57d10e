#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QDialog;

// Scripted answers for the modal seam. Each dialog the program shows takes the next answer;
// a dialog with no answer left is recorded as unexpected and closed from its title bar.
// The message box's texts are recorded in messages.
class ModalScript {
public:
    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Queue an action on the next dialog.
    void then(std::function<void(QDialog&)> action);
    // Queue a click on the next dialog's button with this object name ("bYes", "bOK", ...).
    void press(const QString& buttonName);
    // Queue closing the next dialog from its title bar.
    void close();
    // Queue a path for the next file dialog ("" = Cancel).
    void file(const QString& path);

    int pending() const { return int(actions.size() + files.size()); }

    QStringList messages;   // text of every message box shown
    QStringList captions;   // window title of every dialog shown
    QStringList unexpected; // dialogs shown with no answer queued

private:
    std::deque<std::function<void(QDialog&)>> actions;
    std::deque<QString> files;
};
