#include "FaultCase.h"

#include "base/MessageCatalog.h"

namespace FaultMatrix {

namespace {

using Behaviour = CHostilePeer::Behaviour;

enum class Phase { Begin, FirstBlock, MiddleBlock, LastBlock, Program };

// A phase as the simulator's AT names it and as the hostile peer counts requests.
struct PhaseAt {
    Phase phase;
    const char* name;
    const char* simAt;
    int request;
};

const PhaseAt kPhases[] = {
    {Phase::Begin, "Begin", "begin", 1},
    {Phase::FirstBlock, "FirstBlock", "data:1", 2},
    {Phase::MiddleBlock, "MiddleBlock", "data:4", 5},
    {Phase::LastBlock, "LastBlock", "data:7", 8},
    {Phase::Program, "Program", "program", 9},
};

// What a failing exchange at `phase` ends the run with.
UpdateResult Failed(const PhaseAt& at, UpdateResult atProgram)
{
    return at.phase == Phase::Program ? atProgram : UpdateResult::TransferFailed;
}

int TimeoutAt(const PhaseAt& at)
{
    return at.phase == Phase::Program ? kTimeouts.programMs : kTimeouts.transferMs;
}

FaultCase Sim(std::string name, QStringList options, UpdateResult result, bool waits = false)
{
    FaultCase c;
    c.name = std::move(name);
    c.simOptions = std::move(options);
    c.result = result;
    c.waitsOutTimeout = waits;
    return c;
}

FaultCase Hostile(std::string name, Behaviour behaviour, int atRequest, UpdateResult result, bool waits = false)
{
    FaultCase c;
    c.name = std::move(name);
    c.peer = PeerKind::Hostile;
    c.behaviour = behaviour;
    c.atRequest = atRequest;
    c.result = result;
    c.waitsOutTimeout = waits;
    return c;
}

std::vector<FaultCase> Build()
{
    std::vector<FaultCase> cases;
    FaultCase closedPort;
    closedPort.name = "ClosedPort";
    closedPort.peer = PeerKind::ClosedPort;
    closedPort.result = UpdateResult::RadioNotFound;
    cases.push_back(closedPort);
    FaultCase noListener = closedPort;
    noListener.name = "NoListener";
    noListener.peer = PeerKind::NoListener;
    cases.push_back(noListener);
    // The system completes the handshake of a listener that never accepts: the connect succeeds
    // and the begin request waits in vain.
    cases.push_back(Hostile("NeverAccepted", Behaviour::NeverAccept, 0, UpdateResult::TransferFailed, true));

    for (const PhaseAt& at : kPhases) {
        const std::string suffix = std::string("_") + at.name;
        const QString simAt = QString::fromLatin1(at.simAt);
        // One busy answer past the resend limit; a refusing status; no answer; a closed
        // connection; an answer that comes too late (by far, for a run held up on a loaded
        // machine; the simulator ends its session when the run closes the connection).
        cases.push_back(Sim("Busy31" + suffix, {"--busy", "31@" + simAt}, Failed(at, UpdateResult::ProgramRefused)));
        cases.push_back(Sim("Refused" + suffix, {"--refuse", simAt}, Failed(at, UpdateResult::ProgramRefused)));
        cases.push_back(Sim("Silent" + suffix, {"--silent", simAt}, Failed(at, UpdateResult::NoProgramReply), true));
        cases.push_back(Sim("Closed" + suffix, {"--close", simAt}, Failed(at, UpdateResult::ProgramRefused)));
        cases.push_back(Sim("SlowPastTimeout" + suffix,
                            {"--slow", simAt + u'=' + QString::number(TimeoutAt(at) + 2000)},
                            Failed(at, UpdateResult::NoProgramReply), true));

        // Unasked bytes from the moment of the connection, or from the phase's request on.
        const int floodAt = at.phase == Phase::Begin ? 0 : at.request;
        cases.push_back(Hostile("Flood" + suffix, Behaviour::Flood, floodAt, Failed(at, UpdateResult::ProgramRefused)));
        // A byte every three seconds: the time-out counts from the call, however the bytes trickle in.
        cases.push_back(Hostile("Trickle" + suffix, Behaviour::Trickle, at.request,
                                Failed(at, UpdateResult::NoProgramReply), true));
        // A reset is a receive error, not an orderly close: no reply to the program command.
        cases.push_back(Hostile("Reset" + suffix, Behaviour::Reset, at.request, Failed(at, UpdateResult::NoProgramReply)));
        // The answer is accepted; its tail, still unread when the next request goes, is judged as
        // that request's answer and refuses it. After the program command nothing is read again.
        UpdateResult megabyte = UpdateResult::TransferFailed;
        if (at.phase == Phase::LastBlock)
            megabyte = UpdateResult::ProgramRefused;
        if (at.phase == Phase::Program)
            megabyte = UpdateResult::Updated;
        FaultCase overlong = Hostile("Megabyte" + suffix, Behaviour::Megabyte, at.request, megabyte);
        overlong.windowToo = megabyte != UpdateResult::Updated;
        cases.push_back(overlong);
    }
    cases.push_back(Sim("WrongEcho_FirstBlock", {"--wrong-echo"}, UpdateResult::TransferFailed));
    // A radio that itself answers "B" means the same as no answer.
    cases.push_back(Sim("RefusedWithNoReplyStatus_Program", {"--refuse", "program=0x42"}, UpdateResult::NoProgramReply));

    // Faults that the run rides out: through the command line only.
    for (const PhaseAt& at : kPhases) {
        const std::string suffix = std::string("_") + at.name;
        const QString simAt = QString::fromLatin1(at.simAt);
        for (FaultCase c : {Sim("Busy30" + suffix, {"--busy", "30@" + simAt}, UpdateResult::Updated),
                            Sim("Bang" + suffix, {"--bang", simAt}, UpdateResult::Updated),
                            Sim("Split" + suffix, {"--split", simAt}, UpdateResult::Updated),
                            Sim("SlowWithinTimeout" + suffix,
                                {"--slow", simAt + u'=' + QString::number(TimeoutAt(at) / 2)},
                                UpdateResult::Updated)}) {
            c.windowToo = false;
            cases.push_back(c);
        }
    }
    int windowIndex = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        cases[i].index = int(i);
        if (cases[i].windowToo)
            cases[i].windowIndex = windowIndex++;
    }
    return cases;
}

} // namespace

const std::vector<FaultCase>& Cases()
{
    static const std::vector<FaultCase> cases = Build();
    return cases;
}

std::vector<FaultCase> WindowCases()
{
    std::vector<FaultCase> cases;
    for (const FaultCase& c : Cases()) {
        if (c.windowToo)
            cases.push_back(c);
    }
    return cases;
}

QString CliAddressOf(const FaultCase& c)
{
    return QStringLiteral("127.0.0.%1").arg(150 + c.index % kAddressCount);
}

quint16 CliPortOf(const FaultCase& c)
{
    return quint16(kCliPort + c.index / kAddressCount);
}

QString WindowAddressOf(const FaultCase& c)
{
    return QStringLiteral("127.0.0.%1").arg(150 + c.windowIndex);
}

int PhaseTimeoutMs(UpdateResult result)
{
    switch (result) {
    case UpdateResult::RadioNotFound:
        return kTimeouts.connectMs;
    case UpdateResult::TransferFailed:
        return kTimeouts.transferMs;
    default:
        return kTimeouts.programMs;
    }
}

std::vector<quint16> ExpectedLines(UpdateResult result)
{
    if (result == UpdateResult::RadioNotFound)
        return {IDS_STATUS_CONNECTING, IDS_ERR_NOT_FOUND};
    if (result == UpdateResult::TransferFailed)
        return {IDS_STATUS_CONNECTING, IDS_STATUS_CONNECTED, IDS_STATUS_TRANSFERRING, IDS_ERR_TRANSFER};
    std::vector<quint16> lines = {IDS_STATUS_CONNECTING,  IDS_STATUS_CONNECTED,    IDS_STATUS_TRANSFERRING,
                                  IDS_STATUS_TRANSFERRED, IDS_STATUS_UPDATE_START, IDS_STATUS_WAIT};
    switch (result) {
    case UpdateResult::ProgramRefused:
        lines.push_back(IDS_ERR_ILLEGAL_DATA);
        break;
    case UpdateResult::NoProgramReply:
        lines.push_back(IDS_ERR_NO_REPLY);
        break;
    default:
        lines.push_back(IDS_STATUS_UPDATED);
        break;
    }
    return lines;
}

} // namespace FaultMatrix
