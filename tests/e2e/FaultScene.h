// One case of the fault matrix on the wire: the simulator with the case's faults, the hostile
// peer, a listener on another port, or nobody, at the case's address; and what the peer saw.
#pragma once

#include "FaultCase.h"

#include "common/RadioSimProcess.h"

#include <memory>

class CFaultScene {
public:
    // `address` and `port` are where the client will connect.
    CFaultScene(const FaultCase& c, const QString& address, quint16 port);

    bool Ready() const { return m_bReady; }
    // After the run: the peer's session has ended (the run closed its connection), and a
    // programmed image is the file's.
    void ExpectSessionEnded(const QString& imagePath);

private:
    const FaultCase& m_case;
    std::unique_ptr<RadioSimProcess> m_sim;
    std::unique_ptr<CHostilePeer> m_peer;
    bool m_bReady = true;
};
