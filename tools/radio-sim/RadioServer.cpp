#include "RadioServer.h"

#include "RadioSession.h"

CRadioServer::CRadioServer(const SimOptions& options, SimTally& tally, QTextStream& out, QObject* parent)
    : QObject(parent), m_options(options), m_tally(tally), m_out(out)
{
    connect(&m_server, &QTcpServer::newConnection, this, &CRadioServer::OnNewConnection);
}

bool CRadioServer::Listen(QString& error)
{
    const SimRadio& radio = m_options.radios.front();
    if (!m_server.listen(radio.address, radio.port)) {
        error = m_server.errorString();
        // Qt's words for the failures to listen that a simulator meets, in the program's language.
        static const char* const known[] = {
            QT_TR_NOOP("The bound address is already in use"),
            QT_TR_NOOP("The address is not available"),
            QT_TR_NOOP("The address is protected"),
        };
        for (const char* text : known) {
            if (error == QLatin1String(text))
                error = tr(text);
        }
        return false;
    }
    return true;
}

QString CRadioServer::Where() const
{
    const SimRadio& radio = m_options.radios.front();
    return QStringLiteral("%1:%2").arg(radio.address.toString()).arg(m_server.isListening() ? m_server.serverPort() : radio.port);
}

void CRadioServer::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_options.sessions > 0 && m_started >= m_options.sessions) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* session = new CRadioSession(socket, m_options, ++m_started, m_tally, Where(), this);
        connect(session, &CRadioSession::finished, this, [this, session] {
            m_out << session->Summary() << Qt::endl;
            session->deleteLater();
            if (m_options.sessions > 0 && ++m_finished >= m_options.sessions)
                emit allSessionsDone();
        });
    }
}
