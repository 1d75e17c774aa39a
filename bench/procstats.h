#pragma once

#include <QtGlobal>

// What the benchmarks read about processes from /proc (Linux only).
namespace ProcStats {

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process of the
// machine, so a driver's time stamp and a child's can be subtracted.
qint64 monotonicNs();

// VmRSS of a process in KiB (0 when it cannot be read).
qint64 residentKb(qint64 pid);

// Peak resident size (VmHWM) of a process since it started, in KiB.
qint64 peakResidentKb(qint64 pid);

// Proportional set size of a process and all its descendants in KiB: the
// web engine's helper processes share most of their pages, so their plain
// resident sizes cannot be added up.
qint64 treeProportionalKb(qint64 pid);

qint64 selfPid();

}  // namespace ProcStats
