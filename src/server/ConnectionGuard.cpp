#include "server/ConnectionGuard.h"

#include "server/HttpReply.h"

#include <QCoreApplication>
#include <QSslSocket>
#include <QTcpSocket>

#include <sys/socket.h>

ConnectionGuard::ConnectionGuard(QTcpSocket* socket, const ConnectionLimits& limits)
    : QObject(socket), m_socket(socket), m_limits(limits)
{
    m_requestTimer.setSingleShot(true);
    m_requestTimer.setInterval(limits.requestTimeoutMs);
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(limits.idleTimeoutMs);
    connect(&m_requestTimer, &QTimer::timeout, this, &ConnectionGuard::requestTimedOut);
    connect(&m_idleTimer, &QTimer::timeout, this, [this] {
        if (idle())
            m_socket->disconnectFromHost();
    });
    // First of all the slots: the guard reads before the library does.
    connect(socket, &QIODevice::readyRead, this, &ConnectionGuard::beforeLibrary);
    m_started.start();
    m_requestTimer.start();
}

void ConnectionGuard::attached(QObject* library)
{
    m_library = library;
    connect(m_socket, &QIODevice::readyRead, this, &ConnectionGuard::afterLibrary);
}

void ConnectionGuard::beforeLibrary()
{
    if (m_draining) {
        // Read and dropped: a refused body is never kept.
        char sink[64 * 1024];
        while (m_socket->read(sink, sizeof sink) > 0) {
        }
        return;
    }
    const qint64 available = m_socket->bytesAvailable();
    m_seen = std::min(m_seen, available);
    if (available > m_seen) {
        if (!m_framer.inRequest())
            m_started.start();
        const qint64 completed = m_framer.completed();
        const QByteArray unread = m_socket->peek(available);
        m_seen += m_framer.feed(QByteArrayView(unread).sliced(m_seen));
        if (const std::optional<RequestFramer::Refusal>& refusal = m_framer.refusal()) {
            refuse(refusal->status, refusal->code, refusal->message);
            return;
        }
        if (m_framer.inRequest()) {
            m_idleTimer.stop();
            if (!m_requestTimer.isActive())
                m_requestTimer.start();
        } else if (m_framer.completed() != completed) {
            m_requestTimer.stop();
            m_idleTimer.start();
        }
    }
    m_availableBeforeLibrary = available;
}

void ConnectionGuard::afterLibrary()
{
    if (m_draining || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    const qint64 left = m_socket->bytesAvailable();
    const qint64 consumed = m_availableBeforeLibrary - left;
    m_seen = std::max<qint64>(0, m_seen - consumed);
    m_availableBeforeLibrary = left;
    // The library answered a request and stopped there: the next one the
    // client has sent already waits for another readyRead, which may never
    // come. Hand it on.
    if (left > 0 && consumed > 0) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_draining && m_socket->state() == QAbstractSocket::ConnectedState)
                    Q_EMIT m_socket->readyRead();
            },
            Qt::QueuedConnection);
    }
}

void ConnectionGuard::answerPending()
{
    ++m_answers;
    m_idleTimer.stop();
}

void ConnectionGuard::answerWritten()
{
    if (--m_answers == 0 && idle())
        m_idleTimer.start();
}

void ConnectionGuard::requestTimedOut()
{
    if (m_draining)
        return;
    if (!m_framer.inRequest()) {
        // Nothing asked, nothing to answer.
        m_socket->disconnectFromHost();
        return;
    }
    refuse(408, "request-timeout",
           QCoreApplication::translate("Server", "リクエストが時間内に届きませんでした（%1 秒）。")
               .arg(m_limits.requestTimeoutMs / 1000.0));
}

void ConnectionGuard::refuse(int status, const char* code, const QString& message)
{
    if (m_draining)
        return;
    m_draining = true;
    m_requestTimer.stop();
    m_idleTimer.stop();
    if (m_library)
        QObject::disconnect(m_socket, &QIODevice::readyRead, m_library, nullptr);
    if (m_socket->isTransactionStarted())
        m_socket->commitTransaction();
    m_socket->readAll();
    m_socket->write(serialize(HttpReply::error(status, code, message), true));
    logRequest(m_framer.method(), m_framer.target(), status, m_started.elapsed(), QString());
    connect(m_socket, &QIODevice::bytesWritten, this, &ConnectionGuard::closeWhenSent);
    closeWhenSent();
    // A client that goes on sending is cut off after a while.
    QTimer::singleShot(m_limits.lingerMs, this, [this] { m_socket->abort(); });
}

void ConnectionGuard::closeWhenSent()
{
    if (m_halfClosed || m_socket->bytesToWrite() > 0)
        return;
    m_halfClosed = true;
    // Closing at once with the client's bytes unread would reset the
    // connection, and the client could lose the answer: only the sending
    // side closes, and what still comes is dropped until the client closes.
    if (qobject_cast<QSslSocket*>(m_socket) || m_socket->socketDescriptor() < 0)
        m_socket->disconnectFromHost();
    else
        ::shutdown(int(m_socket->socketDescriptor()), SHUT_WR);
}
