#pragma once

#include <QApplication>
#include <QtTest>

// Points HOME at a fresh temporary folder (so the settings file never lands
// in a real home), selects the offscreen platform unless one is chosen, and
// lets the web engine start as root.
void prepareTestEnvironment();

// A test main for binaries that may create web engine widgets: the shared
// OpenGL context must be requested before the application object exists.
#define LAUNCHER_TEST_MAIN(TestObject)                                        \
    int main(int argc, char *argv[])                                          \
    {                                                                         \
        prepareTestEnvironment();                                             \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, true);     \
        QApplication app(argc, argv);                                         \
        QCoreApplication::setApplicationName(QStringLiteral("Model Series")); \
        TestObject tc;                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                            \
        return QTest::qExec(&tc, argc, argv);                                 \
    }
