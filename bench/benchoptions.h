#pragma once

#include <QString>
#include <QStringList>

// Command line of the benchmark programs, given by the driver script:
//   --spawned-at=NS   monotonic time stamp the driver took just before it
//                     started the process (default: entry of main)
//   --address=A       the simulated mixer to connect to (none: start only)
//   --maximise        maximise the window before connecting
//   --settle-ms=N     quiet time before memory is read (default 1500)
//   --burst=N         press Search and wait for N mixers in the table; only
//                     where every address lies in --lan (the test LAN)
//   --lan=NET/BITS    the test LAN's subnet (default 10.77.0.0/16)
//   --hidden-view     (floor) keep the web view on a hidden page of a stack,
//                     as the launcher does, instead of showing it
struct BenchOptions
{
    qint64 spawnedAtNs = 0;
    QString address;
    bool maximise = false;
    bool hiddenView = false;
    int settleMs = 1500;
    int burstMixers = 0;
    QString lan = QStringLiteral("10.77.0.0/16");

    static BenchOptions parse(const QStringList &arguments, qint64 fallbackStartNs);
    QString consoleUrl() const;
};
