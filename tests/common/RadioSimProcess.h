// zerlind-radio-sim as a child process of a test: started on its own loopback address, ready
// once it says it listens, and always stopped when the object goes.
#pragma once

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

class RadioSimProcess {
public:
    // One session at `address` (port 1111) with the given fault options. A range such as
    // 127.0.0.10-127.0.0.17 serves one session on each of its radios.
    RadioSimProcess(const QString& address, const QStringList& options = {});
    ~RadioSimProcess();
    RadioSimProcess(const RadioSimProcess&) = delete;
    RadioSimProcess& operator=(const RadioSimProcess&) = delete;

    bool Ready() const { return m_ready; }
    // The session summary as key=value pairs once the session has ended; empty if it does not.
    QMap<QString, QString> Summary();
    // Every session's summary once all have ended (empty if they do not), keyed by the radio's
    // address.
    QMap<QString, QMap<QString, QString>> Sessions();
    // How many sessions have ended so far, once `awaited` have (within a bounded wait) and then
    // `settleMs` more for the last lines to come in; for a simulator whose radios may rightly
    // never be reached.
    int SessionsSoFar(int settleMs, int awaited = 0);

private:
    QProcess m_process;
    bool m_ready = false;
    QByteArray m_soFar;
};
