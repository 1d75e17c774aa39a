#include <unistd.h>
#include <QByteArray>
#include <QDir>
#include <cstdlib>

#include "support/testmain.h"

void prepareTestEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    QByteArray home = QDir::tempPath().toLocal8Bit() + "/launcher-test-home-XXXXXX";
    if (mkdtemp(home.data()))
        qputenv("HOME", home);
}
