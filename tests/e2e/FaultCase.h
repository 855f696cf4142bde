// The fault matrix: every fault of the simulator at every phase of a run, a hostile peer at
// every phase and the connect failures, each with the outcome the operator must see.
#pragma once

#include "HostilePeer.h"

#include "engine/UpdateRun.h"

#include <QStringList>

#include <ostream>
#include <string>
#include <vector>

// Who is at the case's address.
enum class PeerKind { Simulator, Hostile, ClosedPort, NoListener };

struct FaultCase {
    std::string name;
    PeerKind peer = PeerKind::Simulator;
    QStringList simOptions;
    CHostilePeer::Behaviour behaviour = CHostilePeer::Behaviour::Flood;
    int atRequest = 0;
    UpdateResult result = UpdateResult::Updated;
    // The run must wait its phase's whole time-out before it gives up, not end sooner.
    bool waitsOutTimeout = false;
    // Failures go through the window too; runs that succeed despite a fault only through the CLI.
    bool windowToo = true;
    // Position in the table, and among the window's cases: picks the case's loopback address.
    int index = 0;
    int windowIndex = -1;
};

// Test names and failure messages show the case by its name.
inline void PrintTo(const FaultCase& c, std::ostream* os)
{
    *os << c.name;
}

namespace FaultMatrix {

// Short time-outs, each different, so a phase that waits on another's time-out shows.
inline constexpr UpdateTimeouts kTimeouts{500, 400, 700};
// Waiting past the phase's time-out by more than this is a fault. Room for a loaded machine (or
// the sanitizers), yet short of the shortest documented time-out (3000 ms), which a phase that
// ignored its own would wait.
inline constexpr int kGraceMs = 2000;
// Starting and ending a Windows program under Wine on a busy machine, on top of the grace where
// the command line's whole process is timed.
#ifdef _WIN32
inline constexpr int kProgramStartMs = 1500;
#else
inline constexpr int kProgramStartMs = 0;
#endif
// Six full blocks and a partial one: data requests 1 to 7, the middle one is the fourth.
inline constexpr int kImageSize = 6 * 1024 + 300;
// The window always connects to the radio's port; the CLI uses another one, so a window case
// and a CLI case on the same address can run at once.
inline constexpr quint16 kWindowPort = 1111;
inline constexpr quint16 kCliPort = 1120;
// A closed port: something listens on the address, but on this port further on.
inline constexpr quint16 kClosedPortListenerOffset = 100;
// 127.0.0.150 to 127.0.0.198; 127.0.0.199 is the soak's.
inline constexpr int kAddressCount = 49;

const std::vector<FaultCase>& Cases();
std::vector<FaultCase> WindowCases();

// Where a case's peer listens for the CLI: cases past the address range share an address with
// an earlier one, on the next port.
QString CliAddressOf(const FaultCase& c);
quint16 CliPortOf(const FaultCase& c);
// Where it listens for the window, always on the radio's port: one address per window case.
QString WindowAddressOf(const FaultCase& c);

// The time-out of the phase that ends the run with `result`.
int PhaseTimeoutMs(UpdateResult result);
// The catalog lines the run shows, in order, ending with the failure text when it fails.
std::vector<quint16> ExpectedLines(UpdateResult result);

} // namespace FaultMatrix
