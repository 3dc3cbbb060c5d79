#pragma once

#include "server/ApiRouter.h"
#include "server/ApiWorkers.h"
#include "server/HttpGate.h"

#include <QAbstractHttpServer>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>

#include <deque>
#include <functional>

// rondelmaker-server's HTTP side: Qt HttpServer 6.4 parses the requests that
// the gate (HttpGate, with a ConnectionGuard on every connection) lets
// through, and every request goes to the ApiRouter on this thread, then to
// the threads of the API (ApiWorkers) for its answer, which is written back
// here with its log line. A connection's requests are answered one after
// the other, in the order they came; other connections' requests run
// meanwhile.
class ApiServer : public QAbstractHttpServer {
    Q_OBJECT
public:
    // Threads for requests that need the registry: a job prints on one
    // while the others answer the history, the page's previews and jobs of
    // other stations.
    static constexpr int Threads = 3;

    explicit ApiServer(ServerContext& context, QObject* parent = nullptr);

    // Listens and serves; false with *error when the address cannot be had.
    bool start(const QSslConfiguration* tls, QString* error);
    quint16 port() const;

    // Stops listening, closes the idle connections, lets the requests under
    // way end and their answers go out (for at most `graceMs`), then calls
    // `done`.
    void stop(int graceMs, const std::function<void()>& done);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    struct Waiting {
        ApiRequest request;
        bool closing = false; // the client's last request
        QElapsedTimer timer;
    };
    struct Connection {
        std::deque<Waiting> waiting;
        bool answering = false;
    };

    void answerNext(QTcpSocket* socket);
    void write(QTcpSocket* socket, const Waiting& asked, const QString& tokenName,
               const HttpReply& reply);

    ServerContext& m_context;
    ApiRouter m_router;
    ApiWorkers m_workers;
    QPointer<HttpGate> m_gate;
    QHash<QTcpSocket*, Connection> m_connections;
    bool m_stopping = false;
};
