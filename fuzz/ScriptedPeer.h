// A radio for the fuzz targets, in the same process and on the same thread: listens on a
// loopback address, takes one connection per session, reassembles each request by its length
// field and answers it as the fuzz input's script says: any bytes cut into any segments, the
// echo, busy, silence, an orderly close or a reset.
//
// It lives inside the client's clock. The client reads Tick() at every check of its time-out,
// and each reading lets the peer take what has arrived and send its next segment. A gap
// between segments, and a silence, move the clock on instead of being waited out, so a run
// costs what its bytes cost, however long the time-outs it meets.
#pragma once

#include "FuzzInput.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <deque>
#include <vector>

class CScriptedPeer {
public:
    // Listens on `address` at a port the system picks; Port() is 0 when that failed. The
    // scripted gaps are measured against the client's time-out `timeoutMs`: some shorter, one
    // past it.
    CScriptedPeer(const char* address, int timeoutMs);
    ~CScriptedPeer();
    CScriptedPeer(const CScriptedPeer&) = delete;
    CScriptedPeer& operator=(const CScriptedPeer&) = delete;

    quint16 Port() const { return m_port; }
    QString Address() const { return m_address; }

    // Serves the next connection with `script` until the script ends, the client leaves or
    // Finish is called.
    void Start(QByteArray script);
    // After Start: makes that connection itself and returns the client's end, for the client to
    // adopt and close; -1 when it could not. Saves the client's own connect, which costs more
    // than many a short session.
    qintptr Connect();
    // Ends the session and returns every whole request it received, header included.
    std::vector<QByteArray> Finish();

    // The client's millisecond tick: the steady clock plus every gap and silence skipped.
    quint32 Tick();

private:
    struct Step {
        enum class Kind { Send, Close, Reset } kind;
        QByteArray bytes;
        int gapMs; // how long after the step before it this one happens
    };

    void Advance();
    bool Accept();
    bool Receive();
    bool NextRequest(QByteArray& request);
    bool TakeRequest();
    void Answer(const QByteArray& request);
    void PlanSegments(const QByteArray& bytes);
    void Perform(const Step& step);
    void Disconnect();
    void DropBacklog();

    QString m_address;
    int m_listener = -1;
    quint16 m_port = 0;
    int m_timeoutMs;
    quint32 m_skippedMs = 0;

    QByteArray m_script;
    CFuzzInput m_input{nullptr, 0};
    bool m_serving = false;  // a session is on and its connection not yet ended
    int m_connection = -1;
    QByteArray m_pending;
    std::deque<Step> m_steps;
    bool m_answered = false; // a request came in this session: silence is now the peer's choice
    std::vector<QByteArray> m_requests;
};
