// Host names to addresses, once per run and before anything is sent: every radio then connects
// to the address its name had when the run began, and two names of one radio are seen as one.
// The lookup itself is a parameter, so tests give a resolver that is slow, fails or never answers.
#pragma once

#include "RadioList.h"

#include <QHostAddress>
#include <QList>
#include <QObject>

#include <atomic>
#include <functional>

class HostResolver {
public:
    // Empty when the name does not resolve.
    using Done = std::function<void(const QList<QHostAddress>& addresses)>;

    virtual ~HostResolver() = default;
    // Starts looking `name` up; `done` runs later in `context`'s thread, unless Abort(id) came first.
    virtual int Start(const QString& name, QObject* context, Done done) = 0;
    virtual void Abort(int id) = 0;
};

// The system's resolver, through Qt's lookups on a pool of threads.
class SystemResolver : public HostResolver {
public:
    int Start(const QString& name, QObject* context, Done done) override;
    void Abort(int id) override;
    // A lookup was given up while the system still works on it: its thread cannot be stopped, and
    // the library waits for it at exit, which is then taken without waiting.
    bool Abandoned() const { return m_abandoned; }

private:
    bool m_abandoned = false;
};

enum class ResolveResult { Done, Interrupted };

struct ResolveLimits {
    int timeoutMs = 3000;      // each name, as long as a connection may take
    int announceAfterMs = 1000; // then `slow` says how many names are still looked up
};

// Looks up every host name in `radios` at once and sets each one's `address` (IPv4 preferred);
// a name that does not resolve within the time-out keeps an empty address. Numeric addresses are
// left as they are. Ends at once with Interrupted when `stop` is set.
ResolveResult ResolveRadios(QVector<RadioEntry>& radios, HostResolver& resolver, const ResolveLimits& limits,
                            const std::atomic<bool>& stop, const std::function<void(int names)>& slow);
