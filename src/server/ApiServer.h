#pragma once

#include "server/ApiRouter.h"
#include "server/HttpGate.h"

#include <QAbstractHttpServer>
#include <QPointer>

#include <functional>

// rondelmaker-server's HTTP side: Qt HttpServer 6.4 parses the requests that
// the gate (HttpGate, with a ConnectionGuard on every connection) lets
// through, and every request goes to the ApiRouter on this thread. Each
// answer is written here with its log line.
//
// The handlers run one at a time on this thread; a stop therefore waits for
// the request being answered, then for the answers still being sent.
class ApiServer : public QAbstractHttpServer {
    Q_OBJECT
public:
    explicit ApiServer(ServerContext& context, QObject* parent = nullptr);

    // Listens and serves; false with *error when the address cannot be had.
    bool start(const QSslConfiguration* tls, QString* error);
    quint16 port() const;

    // Stops listening, closes the idle connections, lets the answers under
    // way go out (for at most `graceMs`), then calls `done`.
    void stop(int graceMs, const std::function<void()>& done);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    ServerContext& m_context;
    ApiRouter m_router;
    QPointer<HttpGate> m_gate;
    bool m_stopping = false;
};
