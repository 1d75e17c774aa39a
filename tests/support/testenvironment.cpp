#include <unistd.h>
#include <QTemporaryDir>

#include "support/testmain.h"

void prepareTestEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Removed again when the process ends.
    static QTemporaryDir home(QDir::tempPath() + QLatin1String("/launcher-test-home-XXXXXX"));
    if (home.isValid())
        qputenv("HOME", home.path().toLocal8Bit());
}
