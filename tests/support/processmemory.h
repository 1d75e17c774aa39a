#pragma once

#include <QtGlobal>

// Memory figures of this process from /proc/self/status, in KiB.
// -1 when the figure cannot be read.
qint64 residentKiB();      // VmRSS: resident now
qint64 peakResidentKiB();  // VmHWM: highest resident size since the last reset

// Makes the peak start again from the current resident size, so that the
// peak of one step can be measured on its own.
void resetPeakResident();

// Resident size of this process plus every process below it (the web
// engine's renderer and helpers, for instance), in KiB.
qint64 treeResidentKiB();
