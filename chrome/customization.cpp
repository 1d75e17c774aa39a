#include "chrome/customization.h"

#include <QCoreApplication>
#include <QSettings>

namespace Customization {

QString filePath(File file)
{
    static const char *const names[] = {"/customization/config.ini", "/customization/Tessan.ico",
                                        "/customization/Nav.png"};
    return QCoreApplication::applicationDirPath() + QLatin1String(names[file]);
}

QString displayName()
{
    const QSettings config(filePath(ConfigFile), QSettings::IniFormat);
    return config.value(QStringLiteral("App/name"), QStringLiteral("Corvane")).toString();
}

}  // namespace Customization
