#include "support/localechild.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDebug>
#include <QProcess>

QByteArray runInLocale(const QString &locale, const QString &home, const QString &argument,
                       bool unprivileged)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : environment.keys()) {
        if (name.startsWith(QLatin1String("LC_")) || name == QLatin1String("LANGUAGE"))
            environment.remove(name);
    }
    environment.insert(QStringLiteral("LANG"), locale);
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("HOME"), home);
    QStringList command{QCoreApplication::applicationFilePath(), argument};
    if (unprivileged && geteuid() == 0)
        command =
            QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} + command;
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(command.takeFirst(), command);
    if (child.waitForFinished(120000) && child.exitStatus() == QProcess::NormalExit &&
        child.exitCode() == 0)
        return child.readAllStandardOutput();
    child.kill();
    child.waitForFinished(5000);
    qWarning().noquote() << "child in" << locale << "failed:" << child.readAllStandardError();
    return {};
}
