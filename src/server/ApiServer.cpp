#include "server/ApiServer.h"

#include <QHttpServerRequest>
#include <QTcpSocket>
#include <QTimer>

ApiServer::ApiServer(ServerContext& context, QObject* parent)
    : QAbstractHttpServer(parent), m_context(context), m_router(context),
      m_workers(context.registry, context.settings.stateDir, Threads)
{
}

bool ApiServer::start(const QSslConfiguration* tls, QString* error)
{
    ConnectionLimits limits;
    limits.requestTimeoutMs = m_context.settings.requestTimeoutMs;
    auto* gate = new HttpGate(limits, this);
    if (tls)
        gate->useTls(*tls);
    if (!gate->listen(m_context.settings.host, m_context.settings.port)) {
        *error = gate->errorString();
        delete gate;
        return false;
    }
    gate->handTo(this);
    bind(gate);
    m_gate = gate;
    return true;
}

quint16 ApiServer::port() const
{
    return m_gate ? m_gate->serverPort() : 0;
}

void ApiServer::stop(int graceMs, const std::function<void()>& done)
{
    if (!m_gate) {
        done();
        return;
    }
    m_stopping = true;
    m_gate->close();
    m_gate->closeIdleConnections();
    auto* poll = new QTimer(this);
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    connect(poll, &QTimer::timeout, this, [this, poll, waited, graceMs, done] {
        m_gate->closeIdleConnections();
        if ((m_gate->openConnections() > 0 || m_workers.pending() > 0) &&
            waited->elapsed() < graceMs)
            return;
        poll->stop();
        poll->deleteLater();
        done();
    });
    poll->start(50);
}

bool ApiServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    Waiting asked;
    asked.timer.start();
    auto* guard = socket->findChild<ConnectionGuard*>(QString(), Qt::FindDirectChildrenOnly);
    // The request line as sent: Qt's own reading of it knows no other
    // methods and normalises the path.
    ApiRequest& api = asked.request;
    api.method = guard ? guard->method() : QByteArray();
    api.target = guard ? guard->target()
                       : request.url().toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    api.host = request.value("host");
    api.authorization = request.value("authorization");
    api.origin = request.value("origin");
    api.contentType = request.value("content-type");
    api.acceptLanguage = request.value("accept-language");
    api.body = request.body();
    asked.closing = !guard || guard->closeWanted();
    if (guard)
        guard->answerPending();
    if (!m_connections.contains(socket))
        connect(socket, &QObject::destroyed, this,
                [this, socket] { m_connections.remove(socket); });
    Connection& connection = m_connections[socket];
    connection.waiting.push_back(std::move(asked));
    if (!connection.answering)
        answerNext(socket);
    return true;
}

void ApiServer::answerNext(QTcpSocket* socket)
{
    Connection& connection = m_connections[socket];
    if (connection.waiting.empty())
        return;
    connection.answering = true;
    auto asked = std::make_shared<Waiting>(std::move(connection.waiting.front()));
    connection.waiting.pop_front();
    RoutedRequest routed = m_router.route(asked->request);
    m_workers.run(routed.language, routed.needsRegistry, std::move(routed.work),
                  [this, socket = QPointer<QTcpSocket>(socket), asked,
                   tokenName = routed.tokenName](const HttpReply& reply) {
                      write(socket, *asked, tokenName, reply);
                      if (!socket)
                          return;
                      m_connections[socket].answering = false;
                      if (socket->state() == QAbstractSocket::ConnectedState)
                          answerNext(socket);
                  });
}

void ApiServer::write(QTcpSocket* socket, const Waiting& asked, const QString& tokenName,
                      const HttpReply& reply)
{
    const ApiRequest& request = asked.request;
    // A client that went away meanwhile gets nothing; the log still says
    // what was done.
    if (socket && socket->state() == QAbstractSocket::ConnectedState) {
        // Past a stop, every answer is the connection's last.
        const bool closing = asked.closing || m_stopping;
        socket->write(serialize(reply, closing, request.method == "HEAD"));
        if (auto* guard =
                socket->findChild<ConnectionGuard*>(QString(), Qt::FindDirectChildrenOnly))
            guard->answerWritten();
        if (closing)
            socket->disconnectFromHost();
    }
    logRequest(request.method, request.target, reply.status, asked.timer.elapsed(), tokenName);
}

void ApiServer::missingHandler(const QHttpServerRequest&, QTcpSocket*)
{
    // handleRequest() answers every request.
}
