#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// How rondelmaker-server runs: its command, and for the service its state
// folder, registry, address, TLS and limits. The command line comes first;
// what it leaves out comes from "rondelmaker.conf" in the state folder, then
// from /etc/rondelmaker/rondelmaker.conf (the file the stations read their
// "registry=" from), then the defaults:
//   listen=HOST:PORT            127.0.0.1:8750
//   tls-cert=FILE, tls-key=FILE PEM files; both or neither
//   cors-origin=ORIGIN ...      origins a browser page may call the API from; none
//   request-timeout=SECONDS     1..300, for a request to arrive whole; 10
struct ServerSettings {
    enum class Command { Serve, TokenAdd, TokenList, TokenRemove, Help, Version };
    static constexpr quint16 DefaultPort = 8750;

    Command command = Command::Serve;
    QString tokenName; // token add, token remove
    QString stateDir;
    QString registry; // --registry; empty: the configuration's, else the state folder's SQLite
    QHostAddress host = QHostAddress(QHostAddress::LocalHost);
    quint16 port = DefaultPort; // 0: any free port (it is named on standard error)
    QString tlsCert;
    QString tlsKey;
    QStringList corsOrigins;
    int requestTimeoutMs = 10000;

    bool loopbackOnly() const { return host.isLoopback(); }
    // "127.0.0.1:8750", "[::1]:8750"
    QString shownAddress(quint16 actualPort) const;
};

struct SettingsResult {
    ServerSettings settings;
    QString error; // names the argument or the file and key; empty when all is well
};

// `arguments` without the program's name.
SettingsResult
readSettings(const QStringList& arguments,
             const QString& systemConfig = QStringLiteral("/etc/rondelmaker/rondelmaker.conf"));

QString serverUsage();
