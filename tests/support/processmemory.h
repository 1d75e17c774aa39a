#pragma once

#include <QtGlobal>

// Memory figures of this process from /proc/self/status, in KiB.
// -1 when the figure cannot be read.
qint64 residentKiB();      // VmRSS: resident now
qint64 peakResidentKiB();  // VmHWM: highest resident size since the last reset

// Makes the peak start again from the current resident size, so that the
// peak of one step can be measured on its own.
void resetPeakResident();

// How much more memory the same work takes in this build: AddressSanitizer
// pads every allocation and holds freed memory back for a while, so memory
// bounds are scaled by this.
constexpr int memoryOverheadFactor()
{
#if defined(__SANITIZE_ADDRESS__)
    return 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return 4;
#else
    return 1;
#endif
#else
    return 1;
#endif
}
