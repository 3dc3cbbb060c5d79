// The service's HTTP side, on the real program over loopback: tokens, the
// limits every connection has, malformed requests, CORS, TLS and stopping.
#include "ServerRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {

struct Command {
    int code = -1;
    QString out, err;
};

Command serverCommand(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(RONDEL_SERVER), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool writeConfig(const QTemporaryDir& dir, const QByteArray& lines)
{
    QFile file(dir.filePath(QStringLiteral("rondelmaker.conf")));
    return file.open(QIODevice::WriteOnly) && file.write(lines) == lines.size();
}

} // namespace

class ServerHttpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { m_shared.reset(); }
    void loopbackWithoutTokensNeedsNone();
    void tokensGuardEveryRequest();
    void beyondLoopbackWithoutTokenIsRefused();
    void malformedRequests_data();
    void malformedRequests();
    void oversizedBodyIsRefusedBeforeItArrives();
    void slowRequestIsDroppedWhileOthersAreServed();
    void corsOnlyForConfiguredOrigins();
    void thePageItsPolicyAndItsLanguages();
    void servesTls();
    void sigtermLetsTheAnswerUnderWayFinish();

private:
    QTemporaryDir m_sharedDir;
    std::unique_ptr<ServerRun> m_shared; // for the cases that need nothing of their own
};

void ServerHttpTest::initTestCase()
{
    m_shared = std::make_unique<ServerRun>(QStringList{"--state-dir", m_sharedDir.path()});
    QVERIFY2(m_shared->started(), qPrintable(m_shared->log()));
}

void ServerHttpTest::loopbackWithoutTokensNeedsNone()
{
    QTemporaryDir dir;
    ServerRun server({"--state-dir", dir.path()});
    QVERIFY2(server.started(), qPrintable(server.log()));
    const HttpAnswer status =
        get(server.port(), "/api/v1/status", "Origin: https://lims.example\r\n");
    QCOMPARE(status.status, 200);
    QCOMPARE(status.json().value("tokenRequired").toBool(), false);
    QVERIFY(status.header("Content-Type").startsWith("application/json"));
    // No CORS unless configured, whatever the origin.
    QVERIFY(!status.head.toLower().contains("access-control-"));
    QTRY_VERIFY(server.log().contains(QStringLiteral("GET /api/v1/status 200 ")));
}

void ServerHttpTest::tokensGuardEveryRequest()
{
    QTemporaryDir dir;
    ServerRun server({"--state-dir", dir.path()});
    QVERIFY2(server.started(), qPrintable(server.log()));

    const Command added = serverCommand({"--state-dir", dir.path(), "token", "add", "lims"});
    QCOMPARE(added.code, 0);
    const QByteArray token = added.out.trimmed().toLatin1();
    QVERIFY(token.size() >= 40);
    // Only the hash is kept, in a file of its owner's alone.
    QFile file(dir.filePath(QStringLiteral("tokens.json")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains(token));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(file.fileName()).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0600));
    QCOMPARE(serverCommand({"--state-dir", dir.path(), "token", "add", "lims"}).code, 2);

    // Once a token exists, the running service asks for it, also on loopback.
    const HttpAnswer without = get(server.port(), "/api/v1/status");
    QCOMPARE(without.status, 401);
    QCOMPARE(without.error(), QStringLiteral("unauthorized"));
    QVERIFY(without.header("WWW-Authenticate").startsWith("Bearer"));
    QCOMPARE(
        get(server.port(), "/api/v1/status", "Authorization: Bearer " + token + "x\r\n").status,
        401);
    QCOMPARE(get(server.port(), "/api/v1/status?access_token=" + token).status, 401);
    QCOMPARE(get(server.port(), "/api/v1/status", "Authorization: Bearer " + token + "\r\n").status,
             200);
    QTRY_VERIFY(server.log().contains(QStringLiteral("GET /api/v1/status 200 ")));
    QTRY_VERIFY(server.log().contains(QStringLiteral(" ms lims\n")));
    QVERIFY(!server.log().contains(QString::fromLatin1(token)));

    const Command listed = serverCommand({"--state-dir", dir.path(), "token", "list"});
    QVERIFY(listed.out.startsWith(QStringLiteral("lims\t")));
    QCOMPARE(serverCommand({"--state-dir", dir.path(), "token", "remove", "lims"}).code, 0);
    QCOMPARE(get(server.port(), "/api/v1/status", "Authorization: Bearer " + token + "\r\n").status,
             401);
}

void ServerHttpTest::beyondLoopbackWithoutTokenIsRefused()
{
    QTemporaryDir dir;
    ServerRun refused({"--state-dir", dir.path(), "--listen", "0.0.0.0:0"}, true);
    QCOMPARE(refused.finished(), 2);
    QVERIFY(refused.log().contains(QStringLiteral("token add")));

    QCOMPARE(serverCommand({"--state-dir", dir.path(), "token", "add", "lims"}).code, 0);
    ServerRun open({"--state-dir", dir.path(), "--listen", "0.0.0.0:0"}, true);
    QVERIFY2(open.started(), qPrintable(open.log()));
    QCOMPARE(get(open.port(), "/api/v1/status").status, 401);
}

void ServerHttpTest::malformedRequests_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    const QByteArray close = "Connection: close\r\n";
    QTest::newRow("dot segments") << request("GET", "/api/v1/jobs/../../etc/passwd", close) << 400
                                  << "bad-path";
    QTest::newRow("encoded dot segments")
        << request("GET", "/api/v1/jobs/%2e%2e/%2E%2E/etc/passwd", close) << 400 << "bad-path";
    QTest::newRow("NUL") << request("GET", "/api/v1/jobs/1%00", close) << 400 << "bad-path";
    QTest::newRow("encoded slash")
        << request("GET", "/api/v1/jobs%2F1", close) << 400 << "bad-path";
    QTest::newRow("bad escape") << request("GET", "/api/v1/find?label=%zz", close) << 400
                                << "bad-field";
    QTest::newRow("unknown method")
        << request("BREW", "/api/v1/status", close) << 405 << "method-not-allowed";
    QTest::newRow("wrong method") << request("DELETE", "/api/v1/jobs/1", close) << 405
                                  << "method-not-allowed";
    QTest::newRow("unknown path") << request("GET", "/api/v1/nothing", close) << 404 << "not-found";
    QTest::newRow("no request line") << QByteArray("hello\r\n\r\n") << 400 << "bad-request";
    QTest::newRow("absolute target")
        << request("GET", "http://evil.example/api/v1/status", close) << 400 << "bad-request";
    QTest::newRow("header without colon")
        << QByteArray("GET /api/v1/status HTTP/1.1\r\nHost 1\r\n\r\n") << 400 << "bad-request";
    QTest::newRow("chunked body") << request("POST", "/api/v1/jobs/1/resolve",
                                             "Transfer-Encoding: chunked\r\n", {})
                                  << 411 << "length-required";
    QTest::newRow("two hosts") << request("GET", "/api/v1/status", "Host: a\r\nHost: b\r\n") << 400
                               << "bad-request";
    QTest::newRow("two lengths")
        << QByteArray("POST /api/v1/jobs/1/resolve HTTP/1.1\r\nContent-Length: 2\r\n"
                      "Content-Length: 3\r\n\r\n{}")
        << 400 << "bad-request";
    QTest::newRow("head too large")
        << request("GET", "/api/v1/status", "X-Filler: " + QByteArray(20000, 'a') + "\r\n") << 431
        << "header-too-large";
    QTest::newRow("another host without tokens")
        << request("GET", "/api/v1/status", "Host: rebound.example\r\n" + close) << 403
        << "forbidden";
    QTest::newRow("not JSON") << request("POST", "/api/v1/jobs/1/resolve",
                                         "Content-Type: text/plain\r\n", "printed")
                              << 415 << "unsupported-media-type";
}

void ServerHttpTest::malformedRequests()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, error);
    const HttpAnswer answer = exchange(m_shared->port(), bytes);
    QCOMPARE(answer.status, status);
    QCOMPARE(answer.error(), error);
    if (status == 405)
        QVERIFY(answer.header("Allow").contains("GET"));
    // The service goes on serving.
    QCOMPARE(get(m_shared->port(), "/api/v1/status").status, 200);
}

void ServerHttpTest::oversizedBodyIsRefusedBeforeItArrives()
{
    QTemporaryDir dir;
    ServerRun server({"--state-dir", dir.path()});
    QVERIFY2(server.started(), qPrintable(server.log()));
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), server.port());
    QVERIFY(socket.waitForConnected(5000));
    constexpr qint64 Announced = 5 * 1024 * 1024;
    socket.write("POST /api/v1/jobs/1/resolve HTTP/1.1\r\nHost: x\r\n"
                 "Content-Type: application/json\r\nContent-Length: " +
                 QByteArray::number(Announced) + "\r\n\r\n" + QByteArray(64 * 1024, ' '));
    // The answer comes while 5 MiB less 64 KiB of the body are still unsent:
    // the service decided from the head and kept nothing of the body.
    const HttpAnswer answer = readAnswer(socket);
    QCOMPARE(answer.status, 413);
    QCOMPARE(answer.error(), QStringLiteral("payload-too-large"));
    QCOMPARE(answer.header("Connection"), QByteArray("close"));
    // The rest of the body is read and dropped, and the service serves on.
    for (int i = 0; i < 80 && socket.state() == QAbstractSocket::ConnectedState; ++i) {
        socket.write(QByteArray(64 * 1024, ' '));
        socket.waitForBytesWritten(200);
    }
    QCOMPARE(get(server.port(), "/api/v1/status").status, 200);
}

void ServerHttpTest::slowRequestIsDroppedWhileOthersAreServed()
{
    QTemporaryDir dir;
    QVERIFY(writeConfig(dir, "request-timeout=1\n"));
    ServerRun server({"--state-dir", dir.path()});
    QVERIFY2(server.started(), qPrintable(server.log()));
    QTcpSocket slow;
    slow.connectToHost(QStringLiteral("127.0.0.1"), server.port());
    QVERIFY(slow.waitForConnected(5000));
    slow.write("POST /api/v1/jobs/1/resolve HTTP/1.1\r\nHost: x\r\nContent-Type: "
               "application/json\r\nContent-Length: 40\r\n\r\n{\"print");
    QVERIFY(slow.waitForBytesWritten(5000));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(get(server.port(), "/api/v1/status").status, 200);
    QVERIFY(timer.elapsed() < 900);
    const HttpAnswer dropped = readAnswer(slow, 10000);
    QCOMPARE(dropped.status, 408);
    QCOMPARE(dropped.error(), QStringLiteral("request-timeout"));
    QTRY_COMPARE_WITH_TIMEOUT(slow.state(), QAbstractSocket::UnconnectedState, 5000);
}

void ServerHttpTest::corsOnlyForConfiguredOrigins()
{
    QTemporaryDir dir;
    QVERIFY(writeConfig(dir, "# the LIMS's page\ncors-origin=https://lims.example\n"));
    ServerRun server({"--state-dir", dir.path()});
    QVERIFY2(server.started(), qPrintable(server.log()));
    const HttpAnswer allowed =
        get(server.port(), "/api/v1/status", "Origin: https://lims.example\r\n");
    QCOMPARE(allowed.header("Access-Control-Allow-Origin"), QByteArray("https://lims.example"));
    const HttpAnswer other =
        get(server.port(), "/api/v1/status", "Origin: https://evil.example\r\n");
    QCOMPARE(other.status, 200);
    QVERIFY(!other.head.toLower().contains("access-control-"));
    const HttpAnswer preflight = exchange(
        server.port(),
        request("OPTIONS", "/api/v1/jobs/1/resolve",
                "Origin: https://lims.example\r\nAccess-Control-Request-Method: POST\r\n"));
    QCOMPARE(preflight.status, 204);
    QVERIFY(preflight.header("Access-Control-Allow-Headers").contains("Authorization"));
    QVERIFY(preflight.header("Allow").contains("POST"));
}

void ServerHttpTest::thePageItsPolicyAndItsLanguages()
{
    const quint16 port = m_shared->port();
    const HttpAnswer page = get(port, "/");
    QCOMPARE(page.status, 200);
    QCOMPARE(page.header("Content-Type"), QByteArray("text/html; charset=utf-8"));
    // Its own modules and nothing else: no inline script, no handler in an
    // attribute, no eval, nothing from elsewhere.
    const QByteArray policy = page.header("Content-Security-Policy");
    QVERIFY(policy.contains("script-src 'self';") && policy.contains("default-src 'none'"));
    QVERIFY(!policy.contains("unsafe") && !policy.contains("http"));
    QVERIFY(!QRegularExpression(QStringLiteral("<script(?![^>]*src=)|\\son[a-z]+="))
                 .match(QString::fromUtf8(page.body))
                 .hasMatch());
    QCOMPARE(get(port, "/web/js/main.js").header("Content-Type"),
             QByteArray("text/javascript; charset=utf-8"));
    QCOMPARE(get(port, "/web/icon.svg").header("Content-Type"), QByteArray("image/svg+xml"));
    QCOMPARE(get(port, "/web/nothing.js").status, 404);
    QCOMPARE(get(port, "/web/js/../../api/v1/status").status, 400);
    QCOMPARE(
        exchange(port, request("POST", "/", "Content-Type: application/json\r\n", "{}")).status,
        405);
    QCOMPARE(get(port, "/api/v1/status").header("Content-Security-Policy"),
             QByteArray("default-src 'none'; frame-ancestors 'none'"));

    // The page's texts: the window's English where the window says the same.
    const QJsonObject english = get(port, "/web/texts/en.json").json()["texts"].toObject();
    QCOMPARE(english[QStringLiteral("サンプル数")].toString(), QStringLiteral("Samples"));
    QCOMPARE(english[QStringLiteral("初期値")].toString(), QStringLiteral("First number"));
    QCOMPARE(get(port, "/web/texts/ja.json").json()["texts"][QStringLiteral("初期値")].toString(),
             QStringLiteral("初期値"));

    // Messages in the language a request asks for, and the service's after it.
    const auto message = [port](const QByteArray& headers) {
        return get(port, "/api/v1/nothing", headers).json()["message"].toString();
    };
    QCOMPARE(message("Accept-Language: en-GB,en;q=0.8\r\n"),
             QStringLiteral("There is no such address."));
    QCOMPARE(message({}), QStringLiteral("そのアドレスはありません。"));
    QCOMPARE(message("Accept-Language: de\r\n"), QStringLiteral("そのアドレスはありません。"));
}

void ServerHttpTest::servesTls()
{
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        QSKIP("needs openssl to make a certificate");
    QTemporaryDir dir;
    const QString cert = dir.filePath(QStringLiteral("cert.pem"));
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                   "/CN=127.0.0.1", "-keyout", key, "-out", cert});
    QVERIFY(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    ServerRun server({"--state-dir", dir.path(), "--tls-cert", cert, "--tls-key", key});
    QVERIFY2(server.started(), qPrintable(server.log()));
    QVERIFY(server.log().contains(QStringLiteral("https://")));
    QCOMPARE(exchange(server.port(), request("GET", "/api/v1/status"), true).status, 200);
    // Plain HTTP gets no answer from a TLS port.
    QCOMPARE(get(server.port(), "/api/v1/status").status, 0);
}

void ServerHttpTest::sigtermLetsTheAnswerUnderWayFinish()
{
    QTemporaryDir dir;
    ServerRun server({"--state-dir", dir.path()});
    QVERIFY2(server.started(), qPrintable(server.log()));
    QTcpSocket idle;
    idle.connectToHost(QStringLiteral("127.0.0.1"), server.port());
    QTcpSocket underWay;
    underWay.connectToHost(QStringLiteral("127.0.0.1"), server.port());
    QVERIFY(idle.waitForConnected(5000) && underWay.waitForConnected(5000));
    const QByteArray whole = request("GET", "/api/v1/status");
    underWay.write(whole.left(20));
    QVERIFY(underWay.waitForBytesWritten(5000));
    QTest::qWait(200);
    ::kill(pid_t(server.pid()), SIGTERM);
    QTest::qWait(200);
    underWay.write(whole.mid(20));
    const HttpAnswer answer = readAnswer(underWay);
    QCOMPARE(answer.status, 200);
    QCOMPARE(answer.header("Connection"), QByteArray("close"));
    QTRY_COMPARE_WITH_TIMEOUT(idle.state(), QAbstractSocket::UnconnectedState, 5000);
    QCOMPARE(server.finished(), 0);
    QVERIFY(server.log().contains(QStringLiteral("stopping")));
}

QTEST_GUILESS_MAIN(ServerHttpTest)
#include "tst_serverhttp.moc"
