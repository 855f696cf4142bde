// The radio simulator's settings: where it listens, how it answers, and which faults it shows
// at which request, read from its command line.
#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <QVector>

// Picks requests of a session: the n-th request (resends after a busy reply keep their number),
// a command, the k-th data request, or every request.
struct RequestSelector {
    enum class Kind { Index, Begin, Data, DataIndex, Program, All };
    Kind kind = Kind::All;
    int number = 0;

    bool Matches(int requestIndex, quint8 command, int dataIndex) const;
    static bool Parse(const QString& text, RequestSelector& selector);
};

struct SimFault {
    enum class Kind { Busy, Refuse, Silent, Close, Bang, Split, Slow };
    Kind kind;
    RequestSelector at;
    int value = 0; // Busy: how many times; Refuse: the status byte; Slow: the delay in ms
    QHostAddress radio; // the one radio it applies to; null: every radio
};

// One simulated radio: where it listens.
struct SimRadio {
    QHostAddress address;
    quint16 port = 0; // 0: the --port value
};

// More radios than this in one process is a typing error rather than a fleet. Each radio takes a
// descriptor to listen and one a session: the simulator raises its own limit to match.
inline constexpr int MAX_SIM_RADIOS = 1024;

struct SimOptions {
    QVector<SimRadio> radios; // none given: one radio on 127.0.0.1
    quint16 port = 1111;
    int sessions = 0;       // 0: serve until stopped
    int programDelayMs = 0; // how long the radio "programs" before it answers
    int faultySessions = 0; // faults apply to each radio's first N sessions only (0: to all)
    QString saveFile;
    bool wrongEcho = false;
    QVector<SimFault> faults;

    // The first fault of `kind` that applies to the request, or nullptr.
    const SimFault* FaultFor(SimFault::Kind kind, int requestIndex, quint8 command, int dataIndex) const;

    // Every radio to serve, each with its port filled in.
    QVector<SimRadio> Radios() const;
    // The options one radio runs with: only the faults meant for it, and its own save file.
    SimOptions ForRadio(const SimRadio& radio) const;
};

enum class ParseOutcome { Run, Help, Version, Error };

ParseOutcome ParseSimOptions(const QStringList& arguments, SimOptions& options, QString& error);
QString SimHelpText();
