#include "server/HttpGate.h"

#include <QAbstractHttpServer>
#include <QCoreApplication>
#include <QSslSocket>

namespace {

constexpr const char* HandedOn = "rondelHandedOn";

// A request is a head and at most 1 MiB of body, which the library keeps
// whole until it has read the request to its end. Beyond this much the
// system's buffer holds the rest, and the sender waits.
constexpr qint64 ReadBufferBytes = 2 * 1024 * 1024;

} // namespace

HttpGate::HttpGate(const ConnectionLimits& limits, QObject* parent)
    : QTcpServer(parent), m_limits(limits)
{
}

void HttpGate::incomingConnection(qintptr descriptor)
{
    QTcpSocket* socket = m_tls ? new QSslSocket(this) : new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    ++m_open;
    connect(socket, &QObject::destroyed, this, [this] { --m_open; });
    // Until the library has it, the connection is the gate's to delete.
    connect(socket, &QAbstractSocket::disconnected, socket, [socket] {
        if (!socket->property(HandedOn).toBool())
            socket->deleteLater();
    });
    socket->setReadBufferSize(ReadBufferBytes);
    auto* guard = new ConnectionGuard(socket, m_limits);
    if (m_open > MaxConnections || !m_library) {
        guard->refuse(503, "busy",
                      QCoreApplication::translate(
                          "Server", "接続が多すぎます。しばらくしてからもう一度お試しください。"));
        return;
    }
    auto* ssl = qobject_cast<QSslSocket*>(socket);
    if (!ssl) {
        hand(socket, guard);
        return;
    }
    ssl->setSslConfiguration(*m_tls);
    connect(ssl, &QSslSocket::encrypted, this, [this, ssl, guard] { hand(ssl, guard); });
    // A failed handshake: nothing to answer in plain text.
    connect(ssl, &QAbstractSocket::errorOccurred, ssl, [ssl] {
        if (!ssl->isEncrypted())
            ssl->abort();
    });
    ssl->startServerEncryption();
}

void HttpGate::hand(QTcpSocket* socket, ConnectionGuard* guard)
{
    socket->setProperty(HandedOn, true);
    // The library takes it at once and connects its own readyRead slot,
    // after the guard's first and before its second.
    addPendingConnection(socket);
    guard->attached(m_library);
}

void HttpGate::closeIdleConnections()
{
    for (QTcpSocket* socket : findChildren<QTcpSocket*>(QString(), Qt::FindDirectChildrenOnly)) {
        const auto* guard =
            socket->findChild<ConnectionGuard*>(QString(), Qt::FindDirectChildrenOnly);
        if (guard && guard->idle() && socket->state() == QAbstractSocket::ConnectedState)
            socket->disconnectFromHost();
    }
}
