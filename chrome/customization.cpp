#include "chrome/customization.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace Customization {

QString folder(const QString &appDir)
{
    const QString beside = appDir + QLatin1String("/customization");
    const QString installed =
        QDir::cleanPath(appDir + QLatin1String("/../share/model-series/customization"));
    if (!QFileInfo(beside).isDir() && QFileInfo(installed).isDir())
        return installed;
    return beside;
}

QString filePath(File file)
{
    static const char *const names[] = {"/config.ini", "/Tessan.ico", "/Nav.png"};
    return folder(QCoreApplication::applicationDirPath()) + QLatin1String(names[file]);
}

QString displayName()
{
    const QSettings config(filePath(ConfigFile), QSettings::IniFormat);
    return config.value(QStringLiteral("App/name"), QStringLiteral("Corvane")).toString();
}

}  // namespace Customization
