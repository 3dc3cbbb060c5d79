#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSslSocket>
#include <QString>
#include <QStringList>
#include <QTcpSocket>

#include <csignal>

// rondelmaker-server run as a separate process on a loopback port it picks
// itself (--listen 127.0.0.1:0) and names on standard error, so that tests
// running side by side never race for a port.
class ServerRun {
public:
    explicit ServerRun(const QStringList& arguments, bool listenGiven = false)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.setReadChannel(QProcess::StandardError);
        QStringList all = arguments;
        if (!listenGiven)
            all << QStringLiteral("--listen") << QStringLiteral("127.0.0.1:0");
        m_process.start(QStringLiteral(RONDEL_SERVER), all);
        static const QRegularExpression listening(
            QStringLiteral("listening on https?://[^ ]*:(\\d+)"));
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
            m_process.waitForReadyRead(200);
            m_log += m_process.readAllStandardError();
            const QRegularExpressionMatch match = listening.match(QString::fromUtf8(m_log));
            if (match.hasMatch()) {
                m_port = quint16(match.captured(1).toUInt());
                return;
            }
        }
    }
    ~ServerRun()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    ServerRun(const ServerRun&) = delete;
    ServerRun& operator=(const ServerRun&) = delete;

    quint16 port() const { return m_port; }
    bool started() const { return m_port != 0; }
    qint64 pid() const { return m_process.processId(); }
    // Standard error so far: the messages and the request log.
    QString log()
    {
        m_log += m_process.readAllStandardError();
        return QString::fromUtf8(m_log);
    }
    // The exit code after SIGTERM (or after it ended by itself); -1 when it
    // did not end within the time.
    int terminate(int waitMs = 20000)
    {
        if (m_process.state() != QProcess::NotRunning)
            ::kill(pid_t(m_process.processId()), SIGTERM);
        return finished(waitMs);
    }
    int finished(int waitMs = 20000)
    {
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(waitMs))
            return -1;
        log();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    QByteArray m_log;
    quint16 m_port = 0;
};

// An answer read off the wire.
struct HttpAnswer {
    int status = 0; // 0: none came
    QByteArray head;
    QByteArray body;
    bool closed = false; // the server closed the connection

    QByteArray header(const QByteArray& name) const
    {
        for (const QByteArray& line : head.split('\n')) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
                return line.mid(colon + 1).trimmed();
        }
        return {};
    }
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
    QString error() const { return json().value(QStringLiteral("error")).toString(); }
};

// Reads one answer from `socket`: the head, then Content-Length bytes.
inline HttpAnswer readAnswer(QTcpSocket& socket, int waitMs = 10000)
{
    HttpAnswer answer;
    QByteArray data;
    const QDeadlineTimer deadline(waitMs);
    qsizetype headEnd = -1;
    qint64 length = -1;
    while (!deadline.hasExpired()) {
        data += socket.readAll();
        if (headEnd < 0 && (headEnd = data.indexOf("\r\n\r\n")) >= 0) {
            answer.head = data.left(headEnd);
            answer.status = answer.head.mid(9, 3).toInt();
            const QByteArray declared = answer.header("Content-Length");
            length = declared.isEmpty() ? 0 : declared.toLongLong();
        }
        if (headEnd >= 0 && data.size() - headEnd - 4 >= length)
            break;
        if (socket.state() != QAbstractSocket::ConnectedState && socket.bytesAvailable() == 0) {
            answer.closed = true;
            break;
        }
        socket.waitForReadyRead(qMax<qint64>(1, qMin<qint64>(200, deadline.remainingTime())));
    }
    if (headEnd >= 0)
        answer.body = data.mid(headEnd + 4, length);
    return answer;
}

// One request as bytes on a new connection (TLS where asked), and its answer.
inline HttpAnswer exchange(quint16 port, const QByteArray& request, bool tls = false)
{
    QSslSocket socket;
    if (tls) {
        socket.setPeerVerifyMode(QSslSocket::VerifyNone);
        socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), port);
        if (!socket.waitForEncrypted(10000))
            return {};
    } else {
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (!socket.waitForConnected(10000))
            return {};
    }
    socket.write(request);
    return readAnswer(socket);
}

// A request with the usual head.
inline QByteArray request(const QByteArray& method, const QByteArray& target,
                          const QByteArray& headers = {}, const QByteArray& body = {})
{
    QByteArray bytes =
        method + ' ' + target + " HTTP/1.1\r\n" +
        (headers.startsWith("Host:") ? QByteArray() : QByteArray("Host: 127.0.0.1\r\n")) + headers;
    if (!body.isEmpty() || method == "POST")
        bytes += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return bytes + "\r\n" + body;
}

inline HttpAnswer get(quint16 port, const QByteArray& target, const QByteArray& headers = {})
{
    return exchange(port, request("GET", target, headers));
}

inline HttpAnswer post(quint16 port, const QByteArray& target, const QByteArray& json,
                       const QByteArray& headers = {})
{
    return exchange(port,
                    request("POST", target, "Content-Type: application/json\r\n" + headers, json));
}
