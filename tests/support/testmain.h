#pragma once

#include <unistd.h>
#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

#include "app/language.h"
#include "app/startup.h"

// Points HOME at a fresh temporary folder, removed again at exit (so the
// settings file never lands in a real home), selects the offscreen platform
// unless one is chosen, and lets the web engine start as root.
inline void prepareTestEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    static QTemporaryDir home(QDir::tempPath() + "/launcher-test-home-XXXXXX");
    qputenv("HOME", home.path().toLocal8Bit());
}

// Runs a QtTest object in a process prepared the way the launcher prepares
// its own: web engine widgets and Qt Quick views need settings made before
// the application object exists.
template <class TestObject>
int runLauncherTests(int argc, char *argv[])
{
    prepareTestEnvironment();
    prepareProcessForWebAndQuick();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Model Series"));
    TestObject tests;
    return QTest::qExec(&tests, argc, argv);
}

#define LAUNCHER_TEST_MAIN(TestObject)                   \
    int main(int argc, char *argv[])                     \
    {                                                    \
        return runLauncherTests<TestObject>(argc, argv); \
    }

// The application's top-level widgets of class T.
template <class T>
QList<T *> findTopLevels()
{
    QList<T *> found;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *widget = qobject_cast<T *>(window))
            found << widget;
    return found;
}

// A value the launcher keeps in the user's settings file, read afresh.
inline QVariant storedSetting(const QString &key)
{
    return QSettings(settingsFilePath(), QSettings::IniFormat).value(key);
}
