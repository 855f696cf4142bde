// A scripted radio on its own thread for loopback tests: takes one connection, reassembles each
// request by its length field, records it and answers as the test's script says.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct FakeRequest {
    quint8 command = 0;
    QByteArray payload;
    qint64 atMs = 0; // when it was complete, from the radio's start
};

struct FakeAnswer {
    enum class Kind { Reply, Silent, Close };
    Kind kind = Kind::Reply;
    QByteArray bytes;     // the reply, sent as one segment unless split
    int delayMs = 0;      // before the first byte
    int splitGapMs = -1;  // >= 0: one byte per segment, this far apart
    QByteArray later;     // sent laterMs after the reply, unasked
    int laterMs = 0;
    bool closeAfter = false; // close the connection once all is sent

    static FakeAnswer Status(char status);
    static FakeAnswer Silent() { return Of(Kind::Silent); }
    static FakeAnswer Close() { return Of(Kind::Close); }
    static FakeAnswer Of(Kind kind)
    {
        FakeAnswer a;
        a.kind = kind;
        return a;
    }
};

class CFakeRadio {
public:
    // The answer to the `index`-th request (0-based) given everything received so far.
    using Script = std::function<FakeAnswer(int index, const FakeRequest& request)>;

    // The usual radio: " " to everything, the echo after the first data block.
    static FakeAnswer Accepting(int index, const FakeRequest& request, int dataIndex);
    static Script AcceptAll();

    explicit CFakeRadio(const QString& address, Script script = AcceptAll(), quint16 port = 1111);
    ~CFakeRadio();

    bool Listening() const { return m_listening; }
    std::vector<FakeRequest> Requests() const;
    int Connections() const { return m_connections; }
    // How many unasked `later` answers have left for the peer so far.
    int LaterSent() const { return m_laterSent; }

private:
    void Serve();

    QString m_address;
    quint16 m_port;
    Script m_script;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_listening{false};
    std::atomic<int> m_connections{0};
    std::atomic<int> m_laterSent{0};
    mutable std::mutex m_mutex;
    std::vector<FakeRequest> m_requests;
    std::thread m_thread;
};
