// A radio for the fuzz targets, in the same process: listens on a loopback address, takes one
// connection per session, reassembles each request by its length field and answers it as the
// fuzz input's script says: any bytes cut into any segments, the echo, busy, silence, an
// orderly close or a reset.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <thread>
#include <vector>

class CScriptedPeer {
public:
    // Listens on `address` at a port the system picks; Port() is 0 when that failed.
    explicit CScriptedPeer(const char* address);
    ~CScriptedPeer();
    CScriptedPeer(const CScriptedPeer&) = delete;
    CScriptedPeer& operator=(const CScriptedPeer&) = delete;

    quint16 Port() const { return m_port; }
    QString Address() const { return m_address; }

    // Serves one connection on its own thread with `script` until the script ends, the client
    // leaves or Finish is called.
    void Start(QByteArray script);
    // Stops the session and returns every whole request it received, header included.
    std::vector<QByteArray> Finish();

private:
    void Serve();
    void Answer(int connection, const QByteArray& request, class CFuzzInput& script, bool& open);
    bool SendSegments(int connection, const QByteArray& bytes, CFuzzInput& script);
    void DropBacklog();

    QString m_address;
    int m_listener = -1;
    quint16 m_port = 0;
    QByteArray m_script;
    std::vector<QByteArray> m_requests;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
