#include "ProcessResources.h"

#include <QDir>
#include <QFile>

namespace {

// One "Name:   1234 kB" field of /proc/self/status.
qint64 StatusFieldKiB(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // A /proc file reports no size: read it whole rather than line by line up to its "end".
    const QByteArray prefix = QByteArray(name) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix)) {
            bool ok = false;
            const qint64 value = line.mid(prefix.size()).simplified().split(' ').value(0).toLongLong(&ok);
            return ok ? value : -1;
        }
    }
    return -1;
}

} // namespace

namespace ProcessResources {

int OpenDescriptors()
{
    QDir fds(QStringLiteral("/proc/self/fd"));
    if (!fds.exists())
        return -1;
    // The listing itself holds one descriptor while it reads; it is closed again when the
    // count is returned, so it is left out.
    return int(fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size()) - 1;
}

qint64 ResidentKiB()
{
    return StatusFieldKiB("VmRSS");
}

qint64 PeakResidentKiB()
{
    return StatusFieldKiB("VmHWM");
}

} // namespace ProcessResources
