#pragma once

#include "app/catalogapp.h"

#include <QTemporaryDir>
#include <QtTest>

// main() of a test executable: offscreen windows, the program's locale and formats, and a
// settings directory of its own so that no test sees the user's or another test's settings.
#define CATALOG_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QTemporaryDir settingsHome;                                                                \
        qputenv("XDG_CONFIG_HOME", settingsHome.path().toUtf8());                                  \
        qputenv("XDG_RUNTIME_DIR", settingsHome.path().toUtf8());                                  \
        CatalogApplication app(argc, argv);                                                        \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
