// zerlind-radio-sim as a child process of a test: started on its own loopback address, ready
// once it says it listens, and always stopped when the object goes.
#pragma once

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

class RadioSimProcess {
public:
    // One session at `address` (port 1111) with the given fault options.
    RadioSimProcess(const QString& address, const QStringList& options = {});
    ~RadioSimProcess();
    RadioSimProcess(const RadioSimProcess&) = delete;
    RadioSimProcess& operator=(const RadioSimProcess&) = delete;

    bool Ready() const { return m_ready; }
    // The session summary as key=value pairs once the session has ended; empty if it does not.
    QMap<QString, QString> Summary();

private:
    QProcess m_process;
    bool m_ready = false;
};
