// One connection to the simulated radio: reassembles requests by their length field, answers
// them in lock-step with the faults the options ask for, and keeps the received image.
#pragma once

#include "RadioServer.h"
#include "SimOptions.h"

#include <QCryptographicHash>

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>

class CRadioSession : public QObject {
    Q_OBJECT
public:
    // `radio` names the radio in the summary; `tally` counts the sessions in progress at once.
    CRadioSession(QTcpSocket* socket, const SimOptions& options, int number, SimTally& tally, const QString& radio,
                  QObject* parent = nullptr);

    // The one summary line of the session.
    QString Summary() const;

signals:
    void finished();

private:
    void OnReadyRead();
    void HandleRequest(quint8 command, const QByteArray& payload);
    void Reply(QByteArray reply, int delayMs, bool split);
    void SendBytes(const QByteArray& bytes, bool split);
    void AnswerDone();
    void End(const QString& outcome);
    // In progress from the first request until the answer to the program command has gone or
    // the connection ends: the client cannot start another session before either.
    void EnterTally();
    void LeaveTally();

    QTcpSocket* m_socket;
    const SimOptions& m_options;
    int m_number;
    QString m_peer;
    QByteArray m_pending;   // bytes of requests not handled yet
    SimTally& m_tally;
    QString m_radio;
    QByteArray m_image;       // kept only to be saved; the summary needs just its hash and size
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_imageBytes = 0;
    bool m_inTally = false;
    bool m_lastAnswer = false; // the answer under way is the one to the program command
    bool m_begun = false;
    bool m_answering = false; // a delayed or split answer is under way
    bool m_silenced = false;  // a request was left unanswered on purpose
    bool m_lastWasBusy = false;
    bool m_ended = false;
    int m_requests = 0;       // every request received, resends included
    int m_requestIndex = 0;   // logical request number; resends after busy keep it
    int m_dataIndex = 0;
    int m_busyGiven = 0;      // busy answers to the current request
    int m_busyTotal = 0;
    QString m_outcome = QStringLiteral("client-closed");
};
