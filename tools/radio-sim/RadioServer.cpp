#include "RadioServer.h"

#include "RadioSession.h"

#include <cstdio>

CRadioServer::CRadioServer(const SimOptions& options, QObject* parent)
    : QObject(parent), m_options(options), m_out(stdout)
{
    connect(&m_server, &QTcpServer::newConnection, this, &CRadioServer::OnNewConnection);
}

bool CRadioServer::Listen(QString& error)
{
    if (!m_server.listen(m_options.address, m_options.port)) {
        error = m_server.errorString();
        return false;
    }
    m_out << "listening on " << m_options.address.toString() << ':' << m_server.serverPort() << Qt::endl;
    return true;
}

void CRadioServer::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_options.sessions > 0 && m_started >= m_options.sessions) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* session = new CRadioSession(socket, m_options, ++m_started, this);
        connect(session, &CRadioSession::finished, this, [this, session] {
            m_out << session->Summary() << Qt::endl;
            session->deleteLater();
            if (m_options.sessions > 0 && ++m_finished >= m_options.sessions)
                emit allSessionsDone();
        });
    }
}
