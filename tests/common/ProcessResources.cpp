#include "ProcessResources.h"

#include <QDir>
#include <QFile>

namespace {

// One "Name:   1234 kB" field of /proc/self/status.
qint64 StatusFieldKiB(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(name) + ':';
    // The file is a few dozen short lines; the bound only guards against a strange one.
    for (int line = 0; line < 200 && !status.atEnd(); ++line) {
        const QByteArray text = status.readLine();
        if (text.startsWith(prefix)) {
            bool ok = false;
            const qint64 value = text.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong(&ok);
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
