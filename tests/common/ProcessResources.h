// What this process holds from the system: open descriptors (handles on Windows) and resident
// memory. Read from /proc on POSIX systems, from the process's counters on Windows; where the
// system does not say, every figure is -1 and callers skip their check.
#pragma once

#include <QtGlobal>

namespace ProcessResources {

// Open file descriptors of this process; -1 when the system does not say.
int OpenDescriptors();

// Resident memory now (VmRSS) and at its peak (VmHWM), in KiB; -1 when the system does not say.
qint64 ResidentKiB();
qint64 PeakResidentKiB();

} // namespace ProcessResources
