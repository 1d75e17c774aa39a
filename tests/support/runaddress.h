#pragma once

#include <QCoreApplication>
#include <QString>

// A loopback address of this process's own for `host` (1 to 254): test
// binaries running side by side never compete for the simulated mixer's ports.
inline QString runAddress(int host)
{
    const qint64 pid = QCoreApplication::applicationPid();
    return QStringLiteral("127.%1.%2.%3").arg(1 + (pid >> 8) % 250).arg(pid & 0xFF).arg(host);
}
