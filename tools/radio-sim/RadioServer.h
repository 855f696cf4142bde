// The simulated radio's listening side: accepts connections, runs one session for each and
// prints each session's summary; stops after the number of sessions asked for.
#pragma once

#include "SimOptions.h"

#include <QObject>
#include <QTcpServer>
#include <QTextStream>

class CRadioServer : public QObject {
    Q_OBJECT
public:
    explicit CRadioServer(const SimOptions& options, QObject* parent = nullptr);

    // Starts listening; false with `error` set when the address cannot be bound.
    bool Listen(QString& error);

signals:
    void allSessionsDone();

private:
    void OnNewConnection();

    const SimOptions& m_options;
    QTcpServer m_server;
    QTextStream m_out;
    int m_started = 0;
    int m_finished = 0;
};
