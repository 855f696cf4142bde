#include "RadioSession.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTimer>

namespace {

// The wire format written out again on the radio's side on purpose: the simulator is the
// client's test oracle, so it must not share the client's definitions of the bytes.
constexpr int HEADER_SIZE = 8;
constexpr int BLOCK_SIZE = 1024;
constexpr char MARKER = 0x10;
constexpr quint8 CMD_DATA = 0;
constexpr quint8 CMD_PROGRAM = 2;
constexpr quint8 CMD_BEGIN = 3;
constexpr char STATUS_ACCEPTED = ' ';
constexpr char STATUS_ACCEPTED_ALT = '!';
constexpr char STATUS_BUSY = '@';
constexpr char STATUS_OUT_OF_ORDER = 'E';
// Keeps the bytes of a split answer in separate segments.
constexpr int SPLIT_GAP_MS = 2;

// A reply's first two bytes: the marker and the status.
QByteArray StatusReply(char status)
{
    QByteArray reply;
    reply.append(MARKER).append(status);
    return reply;
}

} // namespace

CRadioSession::CRadioSession(QTcpSocket* socket, const SimOptions& options, int number, SimTally& tally,
                             const QString& radio, QObject* parent)
    : QObject(parent), m_socket(socket), m_options(options), m_number(number), m_tally(tally), m_radio(radio)
{
    m_socket->setParent(this);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_peer = QStringLiteral("%1:%2").arg(m_socket->peerAddress().toString()).arg(m_socket->peerPort());
    connect(m_socket, &QTcpSocket::readyRead, this, &CRadioSession::OnReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, [this] { End(m_outcome); });
}

QString CRadioSession::Summary() const
{
    // Asked for once the session has ended: no bytes come after it.
    const QByteArray digest = m_hash.result().toHex();
    return QStringLiteral("session=%1 peer=%2 requests=%3 busy=%4 bytes=%5 sha256=%6 outcome=%7 radio=%8 peak=%9")
        .arg(m_number)
        .arg(m_peer)
        .arg(m_requests)
        .arg(m_busyTotal)
        .arg(m_imageBytes)
        .arg(QString::fromLatin1(digest), m_outcome, m_radio)
        .arg(m_tally.peak);
}

void CRadioSession::OnReadyRead()
{
    m_pending += m_socket->readAll();
    // Lock-step: the next request waits until the current one is answered.
    while (!m_answering && !m_silenced && !m_ended && m_pending.size() >= HEADER_SIZE) {
        const quint8 length0 = quint8(m_pending[2]);
        const int length = length0 | (quint8(m_pending[3]) << 8);
        const quint8 command = quint8(m_pending[1]);
        const bool reservedClear = m_pending.mid(4, 4) == QByteArray(4, '\0');
        if (m_pending[0] != MARKER || length > BLOCK_SIZE || !reservedClear
            || (command != CMD_DATA && command != CMD_PROGRAM && command != CMD_BEGIN)) {
            End(QStringLiteral("protocol-error"));
            return;
        }
        if (m_pending.size() < HEADER_SIZE + length)
            return;
        const QByteArray payload = m_pending.mid(HEADER_SIZE, length);
        m_pending.remove(0, HEADER_SIZE + length);
        HandleRequest(command, payload);
    }
}

void CRadioSession::HandleRequest(quint8 command, const QByteArray& payload)
{
    ++m_requests;
    EnterTally();
    if (!m_lastWasBusy) {
        ++m_requestIndex;
        m_busyGiven = 0;
        if (command == CMD_DATA)
            ++m_dataIndex;
    }
    const int dataIndex = command == CMD_DATA ? m_dataIndex : 0;
    // --faulty-sessions spares every later session of every fault, the wrong echo included.
    const bool faulty = m_options.faultySessions == 0 || m_number <= m_options.faultySessions;
    const auto fault = [&](SimFault::Kind kind) {
        return faulty ? m_options.FaultFor(kind, m_requestIndex, command, dataIndex) : nullptr;
    };
    m_lastWasBusy = false;

    if (const SimFault* busy = fault(SimFault::Kind::Busy); busy && m_busyGiven < busy->value) {
        ++m_busyGiven;
        ++m_busyTotal;
        m_lastWasBusy = true;
        Reply(StatusReply(STATUS_BUSY), 0, false);
        return;
    }
    if (fault(SimFault::Kind::Close)) {
        End(QStringLiteral("closed-by-fault"));
        return;
    }
    if (fault(SimFault::Kind::Silent)) {
        m_silenced = true;
        return;
    }

    char status = fault(SimFault::Kind::Bang) ? STATUS_ACCEPTED_ALT : STATUS_ACCEPTED;
    if (const SimFault* refuse = fault(SimFault::Kind::Refuse)) {
        status = char(refuse->value);
        m_outcome = QStringLiteral("refused");
    } else if ((command != CMD_BEGIN && !m_begun)) {
        status = STATUS_OUT_OF_ORDER;
        m_outcome = QStringLiteral("refused");
    }
    QByteArray reply = StatusReply(status);
    const bool accepted = status == STATUS_ACCEPTED || status == STATUS_ACCEPTED_ALT;
    int delayMs = 0;
    if (accepted) {
        switch (command) {
        case CMD_BEGIN:
            m_begun = true;
            m_image.clear();
            m_hash.reset();
            m_imageBytes = 0;
            m_dataIndex = 0;
            break;
        case CMD_DATA:
            if (dataIndex == 1) {
                QByteArray echo = payload.mid(4, 4).leftJustified(4, '\0');
                if (m_options.wrongEcho && faulty)
                    echo[0] = char(~echo[0]);
                reply += echo;
            }
            m_hash.addData(payload);
            m_imageBytes += payload.size();
            if (!m_options.saveFile.isEmpty())
                m_image += payload;
            break;
        case CMD_PROGRAM:
            delayMs = m_options.programDelayMs;
            if (!m_options.saveFile.isEmpty()) {
                QFile out(m_options.saveFile);
                if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(m_image) != m_image.size())
                    qWarning("zerlind-radio-sim: %s", qPrintable(tr("cannot save the image to %1").arg(m_options.saveFile)));
            }
            m_outcome = QStringLiteral("programmed");
            break;
        }
    }
    if (const SimFault* slow = fault(SimFault::Kind::Slow))
        delayMs += slow->value;
    m_lastAnswer = command == CMD_PROGRAM;
    Reply(reply, delayMs, fault(SimFault::Kind::Split) != nullptr);
}

void CRadioSession::Reply(QByteArray reply, int delayMs, bool split)
{
    if (delayMs <= 0 && !split) {
        m_socket->write(reply);
        m_socket->flush();
        if (m_lastAnswer)
            LeaveTally();
        return;
    }
    m_answering = true;
    QTimer::singleShot(delayMs, this, [this, reply, split] { SendBytes(reply, split); });
}

void CRadioSession::SendBytes(const QByteArray& bytes, bool split)
{
    if (m_ended)
        return;
    if (!split || bytes.size() <= 1) {
        m_socket->write(bytes);
        m_socket->flush();
        AnswerDone();
        return;
    }
    m_socket->write(bytes.left(1));
    m_socket->flush();
    const QByteArray rest = bytes.mid(1);
    QTimer::singleShot(SPLIT_GAP_MS, this, [this, rest] { SendBytes(rest, true); });
}

void CRadioSession::AnswerDone()
{
    m_answering = false;
    if (m_lastAnswer)
        LeaveTally();
    // Requests that came in while the answer was under way.
    if (!m_pending.isEmpty())
        QTimer::singleShot(0, this, &CRadioSession::OnReadyRead);
}

void CRadioSession::End(const QString& outcome)
{
    if (m_ended)
        return;
    m_ended = true;
    m_outcome = outcome;
    LeaveTally();
    m_socket->disconnect(this);
    m_socket->abort();
    emit finished();
}

void CRadioSession::EnterTally()
{
    if (m_inTally || m_lastAnswer)
        return;
    m_inTally = true;
    m_tally.peak = qMax(m_tally.peak, ++m_tally.open);
}

void CRadioSession::LeaveTally()
{
    if (!m_inTally)
        return;
    m_inTally = false;
    --m_tally.open;
}
