#include "lan/support/lanenvironment.h"

#include <QtGlobal>

LanEnvironment::LanEnvironment()
{
    launcher = qEnvironmentVariable("LAN_LAUNCHER_ADDRESSES").split(u',', Qt::SkipEmptyParts);
    mixerNamespaces = qEnvironmentVariable("LAN_MIXER_NS").split(u' ', Qt::SkipEmptyParts);
    const QStringList groups =
        qEnvironmentVariable("LAN_MIXER_ADDRESSES").split(u';', Qt::SkipEmptyParts);
    for (const QString &group : groups)
        mixers.append(group.split(u',', Qt::SkipEmptyParts));
}

bool LanEnvironment::isComplete() const
{
    return !launcher.isEmpty() && !mixerNamespaces.isEmpty() &&
           mixers.size() == mixerNamespaces.size();
}
