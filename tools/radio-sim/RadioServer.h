// One simulated radio's listening side: accepts connections, runs one session for each and
// prints each session's summary; stops after the number of sessions asked for.
#pragma once

#include "SimOptions.h"

#include <QObject>
#include <QTcpServer>
#include <QTextStream>

// Shared by every radio of the process: how many sessions are in progress now, and the most
// that ever were at once.
struct SimTally {
    int open = 0;
    int peak = 0;
};

class CRadioServer : public QObject {
    Q_OBJECT
public:
    // `options` are the radio's own (SimOptions::ForRadio); `out` takes the summary lines.
    CRadioServer(const SimOptions& options, SimTally& tally, QTextStream& out, QObject* parent = nullptr);

    // Starts listening; false with `error` set when the address cannot be bound.
    bool Listen(QString& error);
    QString Where() const;

signals:
    void allSessionsDone();

private:
    void OnNewConnection();

    const SimOptions m_options;
    SimTally& m_tally;
    QTextStream& m_out;
    QTcpServer m_server;
    int m_started = 0;
    int m_finished = 0;
};
