// One connection to the simulated radio: reassembles requests by their length field, answers
// them in lock-step with the faults the options ask for, and keeps the received image.
#pragma once

#include "SimOptions.h"

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>

class CRadioSession : public QObject {
    Q_OBJECT
public:
    CRadioSession(QTcpSocket* socket, const SimOptions& options, int number, QObject* parent = nullptr);

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

    QTcpSocket* m_socket;
    const SimOptions& m_options;
    int m_number;
    QString m_peer;
    QByteArray m_pending;   // bytes of requests not handled yet
    QByteArray m_image;
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
