#include "HostResolver.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QHostInfo>
#include <QTimer>

namespace {

// How often the wait looks at the stop flag: an interrupt ends it within this.
constexpr int STOP_POLL_MS = 20;

QString Preferred(const QList<QHostAddress>& addresses)
{
    // The radios speak IPv4 (written as IPv6 too: ::ffff:a.b.c.d); an IPv6 address is taken only
    // when the name has no other.
    for (const QHostAddress& address : addresses) {
        bool isV4 = false;
        const quint32 v4 = address.toIPv4Address(&isV4);
        if (isV4)
            return QHostAddress(v4).toString();
    }
    return addresses.isEmpty() ? QString() : addresses.first().toString();
}

} // namespace

int SystemResolver::Start(const QString& name, QObject* context, Done done)
{
    return QHostInfo::lookupHost(name, context, [done = std::move(done)](const QHostInfo& info) {
        done(info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress>());
    });
}

void SystemResolver::Abort(int id)
{
    QHostInfo::abortHostLookup(id);
    m_abandoned = true;
}

ResolveResult ResolveRadios(QVector<RadioEntry>& radios, HostResolver& resolver, const ResolveLimits& limits,
                            const std::atomic<bool>& stop, const std::function<void(int)>& slow)
{
    // Each name once, however often it is listed.
    QHash<QString, QString> found;  // name -> address ("" while pending or when not found)
    QHash<QString, int> lookups;    // name -> lookup id, while pending
    QEventLoop loop;
    for (const RadioEntry& radio : radios) {
        if (!radio.address.isEmpty() || found.contains(radio.host))
            continue;
        found.insert(radio.host, QString());
        const QString name = radio.host;
        lookups.insert(name, -1);
        const int id = resolver.Start(name, &loop, [&, name](const QList<QHostAddress>& addresses) {
            found[name] = Preferred(addresses);
            lookups.remove(name);
            if (lookups.isEmpty())
                loop.quit();
        });
        // A resolver may answer at once, before its id is known.
        if (lookups.contains(name))
            lookups[name] = id;
    }

    QElapsedTimer clock;
    clock.start();
    bool announced = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const qint64 elapsed = clock.elapsed();
        if (stop.load() || elapsed >= limits.timeoutMs) {
            loop.quit();
            return;
        }
        if (!announced && elapsed >= limits.announceAfterMs && slow) {
            announced = true;
            slow(int(found.size()));
        }
    });
    poll.start(STOP_POLL_MS);
    if (!lookups.isEmpty())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    poll.stop();
    // Whatever is still pending is given up: past its time-out, or the run was stopped.
    for (const int id : std::as_const(lookups))
        resolver.Abort(id);

    for (RadioEntry& radio : radios) {
        if (radio.address.isEmpty()) {
            radio.address = found.value(radio.host);
            radio.nameLate = lookups.contains(radio.host);
        }
    }
    return stop.load() ? ResolveResult::Interrupted : ResolveResult::Done;
}
