#include "FaultScene.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A peer notices the client's close within a few socket slices once its thread runs; this is
// ample on a loaded machine too.
constexpr int PEER_NOTICE_MS = 5000;

} // namespace

CFaultScene::CFaultScene(const FaultCase& c, const QString& address, quint16 port) : m_case(c)
{
    switch (c.peer) {
    case PeerKind::Simulator:
        m_sim = std::make_unique<RadioSimProcess>(address,
                                                  QStringList{"--port", QString::number(port)} + c.simOptions);
        m_bReady = m_sim->Ready();
        break;
    case PeerKind::Hostile:
        m_peer = std::make_unique<CHostilePeer>(address, port, c.behaviour, c.atRequest);
        m_bReady = m_peer->Ready();
        break;
    case PeerKind::ClosedPort:
        m_sim = std::make_unique<RadioSimProcess>(
            address, QStringList{"--port", QString::number(port + FaultMatrix::kClosedPortListenerOffset)});
        m_bReady = m_sim->Ready();
        break;
    case PeerKind::NoListener:
        break;
    }
}

void CFaultScene::ExpectSessionEnded(const QString& imagePath)
{
    if (m_case.peer == PeerKind::Simulator) {
        const auto summary = m_sim->Summary();
        ASSERT_TRUE(summary.contains("outcome")) << "the simulator's session did not end";
        if (m_case.result == UpdateResult::Updated) {
            EXPECT_EQ(summary.value("outcome"), "programmed");
            EXPECT_EQ(summary.value("sha256"), TestSupport::FileSha256(imagePath));
        } else if (m_case.result == UpdateResult::TransferFailed) {
            // A failed transfer never asks the radio to program.
            EXPECT_NE(summary.value("outcome"), "programmed");
        }
    } else if (m_peer && m_case.behaviour != CHostilePeer::Behaviour::NeverAccept) {
        EXPECT_TRUE(m_peer->WaitForClientGone(PEER_NOTICE_MS)) << "the run kept its connection";
    }
}
