// What this process holds from Windows: its handles (the descriptors of POSIX) and its working set.
#include "ProcessResources.h"

#include <windows.h>
#include <psapi.h>

namespace {

bool MemoryCounters(PROCESS_MEMORY_COUNTERS& counters)
{
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) != 0;
}

} // namespace

namespace ProcessResources {

int OpenDescriptors()
{
    DWORD handles = 0;
    return GetProcessHandleCount(GetCurrentProcess(), &handles) ? int(handles) : -1;
}

qint64 ResidentKiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    return MemoryCounters(counters) ? qint64(counters.WorkingSetSize / 1024) : -1;
}

qint64 PeakResidentKiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    return MemoryCounters(counters) ? qint64(counters.PeakWorkingSetSize / 1024) : -1;
}

} // namespace ProcessResources
