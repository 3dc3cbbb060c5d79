#pragma once

#include "server/RequestFramer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QTcpSocket;

// The limits every connection has, set once for the whole service.
struct ConnectionLimits {
    int requestTimeoutMs = 10000; // from a request's first byte to its last
    int idleTimeoutMs = 60000;    // a kept-alive connection without a request
    int lingerMs = 2000;          // reading and dropping after a refusal
};

// Watches one connection for the HTTP library, which in Qt 6.4 reads a
// request whole into memory, however large, and waits for it however long.
// The guard reads every byte just before the library does (its readyRead
// slot is connected first) and follows the requests with a RequestFramer:
//   - a request the framer refuses (a body over 1 MiB, a malformed head)
//     is answered here, with its error, and the library never sees it; the
//     rest of it is read and dropped, not kept, until the client closes;
//   - a request that has not arrived whole within the request timeout is
//     answered 408 and the connection closed; an idle connection is closed.
// The library reads only one request per readyRead; when a client has sent
// the next one already, the guard hands it on once the first is answered.
class ConnectionGuard : public QObject {
    Q_OBJECT
public:
    // The request timeout runs from here: a new connection (and its TLS
    // handshake) has as long as a request to send its first request.
    ConnectionGuard(QTcpSocket* socket, const ConnectionLimits& limits);

    // Connects the guard's second slot after the library's own, once the
    // library (the `library` object) has taken the connection.
    void attached(QObject* library);

    // The request being answered.
    QByteArray method() const { return m_framer.method(); }
    QByteArray target() const { return m_framer.target(); }
    bool closeWanted() const { return m_framer.closeWanted(); }
    // Between requests: nothing begun, nothing to answer.
    bool idle() const { return !m_framer.inRequest() && !m_draining && m_answers == 0; }
    // A request is being answered elsewhere (ApiWorkers), and its answer is
    // written when it comes: the connection is not idle meanwhile.
    void answerPending();
    void answerWritten();

    // Answers with this error and closes the connection; whatever the
    // client still sends is read and dropped.
    void refuse(int status, const char* code, const QString& message);

private:
    void beforeLibrary();
    void afterLibrary();
    void requestTimedOut();
    void closeWhenSent();

    QTcpSocket* m_socket;
    QPointer<QObject> m_library;
    ConnectionLimits m_limits;
    RequestFramer m_framer;
    // Of the bytes the library has not read yet, how many the framer has.
    qint64 m_seen = 0;
    qint64 m_availableBeforeLibrary = 0;
    QTimer m_requestTimer;
    QTimer m_idleTimer;
    QElapsedTimer m_started; // the request under way
    int m_answers = 0;       // requests read whose answers are not written yet
    bool m_draining = false;
    bool m_halfClosed = false;
};
