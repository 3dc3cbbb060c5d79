#include "server/ApiServer.h"

#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QTcpSocket>
#include <QTimer>

ApiServer::ApiServer(ServerContext& context, QObject* parent)
    : QAbstractHttpServer(parent), m_context(context), m_router(context)
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
        if (m_gate->openConnections() > 0 && waited->elapsed() < graceMs)
            return;
        poll->stop();
        poll->deleteLater();
        done();
    });
    poll->start(50);
}

bool ApiServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    QElapsedTimer timer;
    timer.start();
    const auto* guard = socket->findChild<ConnectionGuard*>(QString(), Qt::FindDirectChildrenOnly);
    ApiRequest api;
    // The request line as sent: Qt's own reading of it knows no other
    // methods and normalises the path.
    api.method = guard ? guard->method() : QByteArray();
    api.target = guard ? guard->target()
                       : request.url().toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    api.host = request.value("host");
    api.authorization = request.value("authorization");
    api.origin = request.value("origin");
    api.contentType = request.value("content-type");
    api.acceptLanguage = request.value("accept-language");
    api.body = request.body();
    const ApiAnswer answer = m_router.answer(api);
    // Past a stop, every answer is the connection's last.
    const bool closing = !guard || guard->closeWanted() || m_stopping;
    socket->write(serialize(answer.reply, closing, api.method == "HEAD"));
    if (closing)
        socket->disconnectFromHost();
    logRequest(api.method, api.target, answer.reply.status, timer.elapsed(), answer.tokenName);
    return true;
}

void ApiServer::missingHandler(const QHttpServerRequest&, QTcpSocket*)
{
    // handleRequest() answers every request.
}
