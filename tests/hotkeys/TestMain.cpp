// Entry point of the HotKeys unit tests: a Qt application, a private settings folder, the
// test key-binding schemas instead of the desktop's, and the fake window-system backend.
#include "FakeHotKeyBackend.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    qputenv("GSETTINGS_BACKEND", "memory");
    qputenv("GSETTINGS_SCHEMA_DIR", HOTKEYS_TEST_SCHEMA_DIR);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // As the application using the facility names itself: its settings file follows.
    QCoreApplication::setOrganizationName(QStringLiteral("ostrel"));
    QCoreApplication::setApplicationName(QStringLiteral("Vorlane"));
    FakeHotKeyBackend::install();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
