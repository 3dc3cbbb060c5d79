#pragma once

#include "server/ConnectionGuard.h"

#include <QPointer>
#include <QSslConfiguration>
#include <QTcpServer>

#include <optional>

class QAbstractHttpServer;

// The listening socket of the service. It makes each connection itself, so
// that a ConnectionGuard is on it before the HTTP library reads a byte, and
// performs the TLS handshake itself (with the request timeout as its limit)
// before it hands the connection on. Beyond MaxConnections a new connection
// is answered 503 and closed.
class HttpGate : public QTcpServer {
    Q_OBJECT
public:
    static constexpr int MaxConnections = 256;

    HttpGate(const ConnectionLimits& limits, QObject* parent = nullptr);

    // Connections are handed to this library, which must be bound to the
    // gate (QAbstractHttpServer::bind) after it listens.
    void handTo(QAbstractHttpServer* library) { m_library = library; }
    void useTls(const QSslConfiguration& configuration) { m_tls = configuration; }
    bool tls() const { return m_tls.has_value(); }

    int openConnections() const { return m_open; }
    // Closes the connections that wait for nothing (kept alive between
    // requests), for a shutdown.
    void closeIdleConnections();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void hand(QTcpSocket* socket, ConnectionGuard* guard);

    ConnectionLimits m_limits;
    QPointer<QAbstractHttpServer> m_library;
    std::optional<QSslConfiguration> m_tls;
    int m_open = 0;
};
