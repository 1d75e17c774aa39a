#include "benchoptions.h"

BenchOptions BenchOptions::parse(const QStringList &arguments, qint64 fallbackStartNs)
{
    BenchOptions options;
    options.spawnedAtNs = fallbackStartNs;
    for (const QString &argument : arguments) {
        const QString value = argument.section(QLatin1Char('='), 1);
        if (argument.startsWith(QLatin1String("--spawned-at=")))
            options.spawnedAtNs = value.toLongLong();
        else if (argument.startsWith(QLatin1String("--address=")))
            options.address = value;
        else if (argument == QLatin1String("--maximise"))
            options.maximise = true;
        else if (argument == QLatin1String("--hidden-view"))
            options.hiddenView = true;
        else if (argument.startsWith(QLatin1String("--settle-ms=")))
            options.settleMs = value.toInt();
        else if (argument.startsWith(QLatin1String("--burst=")))
            options.burstMixers = value.toInt();
        else if (argument.startsWith(QLatin1String("--lan=")))
            options.lan = value;
    }
    return options;
}

QString BenchOptions::consoleUrl() const
{
    return QStringLiteral("http://%1/dist/index.html").arg(address);
}
