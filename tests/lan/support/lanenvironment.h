#pragma once

#include <QStringList>

// The test LAN that run-in-lan.sh built around this process: the launcher's
// addresses in its namespace (the one this process runs in) and the mixer
// namespaces, read from the LAN_* variables.
struct LanEnvironment
{
    QStringList launcherAddresses =
        qEnvironmentVariable("LAN_LAUNCHER_ADDRESSES").split(u',', Qt::SkipEmptyParts);
    QStringList mixerNamespaces =
        qEnvironmentVariable("LAN_MIXER_NS").split(u' ', Qt::SkipEmptyParts);

    bool isComplete() const { return !launcherAddresses.isEmpty() && !mixerNamespaces.isEmpty(); }
};
