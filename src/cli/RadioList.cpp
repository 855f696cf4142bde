#include "RadioList.h"

#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QSet>
#include <QTimer>

#include <cstdio>

bool ReadRadioList(const QString& path, QStringList& radios, QString& error)
{
    QFile file;
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                   : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        error = QStringLiteral("cannot read the radio list %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read the radio list %1: %2").arg(path, file.errorString());
        return false;
    }
    for (const QString& raw : QString::fromUtf8(bytes).split(u'\n')) {
        const QString line = raw.trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            radios << line;
    }
    return true;
}

namespace {

// The addresses `radio` stands for: itself when it is numeric, else what the name resolves to.
QVector<QHostAddress> Resolve(const QString& radio, int timeoutMs)
{
    const QHostAddress numeric(radio);
    if (!numeric.isNull())
        return {numeric};
    QVector<QHostAddress> addresses;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int id = QHostInfo::lookupHost(radio, &loop, [&](const QHostInfo& info) {
        if (info.error() == QHostInfo::NoError)
            addresses = QVector<QHostAddress>(info.addresses().cbegin(), info.addresses().cend());
        loop.quit();
    });
    limit.start(timeoutMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QHostInfo::abortHostLookup(id);
    return addresses;
}

} // namespace

bool FindDuplicateRadio(const QStringList& radios, int lookupTimeoutMs, QString& error)
{
    QSet<QString> texts;
    for (const QString& radio : radios) {
        if (texts.contains(radio)) {
            error = QStringLiteral("radio listed twice: %1").arg(radio);
            return true;
        }
        texts.insert(radio);
    }
    QHash<QString, QString> owners; // address -> the entry that named it first
    for (const QString& radio : radios) {
        for (const QHostAddress& address : Resolve(radio, lookupTimeoutMs)) {
            // An IPv4 address written as IPv6 (::ffff:a.b.c.d) is the same radio.
            bool isV4 = false;
            const quint32 v4 = address.toIPv4Address(&isV4);
            const QString key = isV4 ? QHostAddress(v4).toString() : address.toString();
            const auto owner = owners.constFind(key);
            if (owner != owners.constEnd() && *owner != radio) {
                error = QStringLiteral("radio listed twice: %1 and %2 are both %3").arg(*owner, radio, key);
                return true;
            }
            owners.insert(key, radio);
        }
    }
    return false;
}
