#pragma once

#include <QApplication>

// The application object: whatever error an event handler lets through is shown by the
// general error display instead of ending the program.
class CatalogApplication : public QApplication {
    Q_OBJECT
public:
    CatalogApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Title, date and number formats of the program (also used by the tests).
    static void setUpProcess();
};
