#pragma once

#include <QString>
#include <QStringList>

// Command line of the benchmark programs, given by the driver script:
//   --spawned-at=NS   monotonic time stamp the driver took just before it
//                     started the process (default: entry of main)
//   --address=A       the simulated mixer to connect to (none: start only)
//   --maximise        maximise the window before connecting
//   --settle-ms=N     quiet time before memory is read (default 1500)
struct BenchOptions
{
    qint64 spawnedAtNs = 0;
    QString address;
    bool maximise = false;
    int settleMs = 1500;

    static BenchOptions parse(const QStringList &arguments, qint64 fallbackStartNs);
    QString consoleUrl() const;
};
