#pragma once

#include <QString>
#include <QStringList>

// The test LAN that run-in-lan.sh built around this process: the launcher's
// namespace (the one this process runs in) and the mixer namespaces.
class LanEnvironment
{
public:
    // Reads the LAN_* variables; isComplete() tells whether they were there.
    LanEnvironment();

    bool isComplete() const;
    QStringList launcherAddresses() const { return launcher; }
    int mixerNamespaceCount() const { return int(mixerNamespaces.size()); }
    QString mixerNamespace(int index) const { return mixerNamespaces.value(index); }
    QStringList mixerAddresses(int index) const { return mixers.value(index); }

private:
    QStringList launcher;
    QStringList mixerNamespaces;
    QList<QStringList> mixers;
};
