#include "server/ServerSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <optional>

namespace {

using Command = ServerSettings::Command;

// key=value lines; "#" starts a comment. Keys this program does not know
// belong to the stations (registry=) and are left alone.
QHash<QString, QString> readConfig(const QString& path, QString* error)
{
    QHash<QString, QString> values;
    QFile file(path);
    if (!file.exists())
        return values;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return values;
    }
    for (const QByteArray& raw : file.read(64 * 1024).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('#')) || eq <= 0)
            continue;
        values.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return values;
}

// "HOST:PORT": an address (IPv6 in brackets), "localhost" or "*" for every
// address.
bool parseListen(const QString& text, ServerSettings& s)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString host = text.left(colon);
    bool number = false;
    const uint port = text.mid(colon + 1).toUInt(&number);
    if (!number || port > 65535)
        return false;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    else if (host.contains(QLatin1Char(':')))
        return false; // IPv6 without brackets
    QHostAddress address;
    if (host == QLatin1String("localhost"))
        address = QHostAddress(QHostAddress::LocalHost);
    else if (host == QLatin1String("*"))
        address = QHostAddress(QHostAddress::Any);
    else if (!address.setAddress(host))
        return false;
    s.host = address;
    s.port = quint16(port);
    return true;
}

struct Given {
    QString listen, tlsCert, tlsKey;
};

QString readOptions(const QStringList& arguments, ServerSettings& s, Given& given)
{
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            s.command = Command::Help;
            return {};
        }
        if (argument == QLatin1String("--version")) {
            s.command = Command::Version;
            return {};
        }
        QString* value = argument == QLatin1String("--state-dir")  ? &s.stateDir
                         : argument == QLatin1String("--registry") ? &s.registry
                         : argument == QLatin1String("--listen")   ? &given.listen
                         : argument == QLatin1String("--tls-cert") ? &given.tlsCert
                         : argument == QLatin1String("--tls-key")  ? &given.tlsKey
                                                                   : nullptr;
        if (value) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
                return QCoreApplication::translate("ServerCommand", "%1 needs a value")
                    .arg(argument);
            *value = arguments[++i];
        } else if (argument.startsWith(QLatin1Char('-'))) {
            return QCoreApplication::translate("ServerCommand", "unknown option %1").arg(argument);
        } else {
            positional << argument;
        }
    }
    if (positional.isEmpty())
        return {};
    const QString sub = positional.value(1);
    if (positional[0] != QLatin1String("token") ||
        !(sub == QLatin1String("add") || sub == QLatin1String("list") ||
          sub == QLatin1String("remove")))
        return QCoreApplication::translate("ServerCommand", "unknown command: %1")
            .arg(positional.join(QLatin1Char(' ')));
    s.command = sub == QLatin1String("add")    ? Command::TokenAdd
                : sub == QLatin1String("list") ? Command::TokenList
                                               : Command::TokenRemove;
    const qsizetype wanted = s.command == Command::TokenList ? 2 : 3;
    if (positional.size() != wanted)
        return s.command == Command::TokenList
                   ? QCoreApplication::translate("ServerCommand", "token list takes no name")
                   : QCoreApplication::translate("ServerCommand", "token %1 needs one NAME")
                         .arg(sub);
    s.tokenName = positional.value(2);
    return {};
}

// The first file that sets a key, after the command line.
QString applyConfig(ServerSettings& s, Given& given, const QString& systemConfig)
{
    QString error;
    QList<std::pair<QString, QHash<QString, QString>>> files;
    for (const QString& path :
         {QDir(s.stateDir).filePath(QStringLiteral("rondelmaker.conf")), systemConfig}) {
        files.append({QDir::toNativeSeparators(path), readConfig(path, &error)});
        if (!error.isEmpty())
            return error;
    }
    QString source = QStringLiteral("--listen");
    const auto fill = [&](QString& value, const char* key) {
        for (const auto& [path, values] : files) {
            if (!value.isEmpty())
                return;
            value = values.value(QLatin1String(key));
            source = path + QLatin1Char(' ') + QLatin1String(key);
        }
    };
    fill(given.listen, "listen");
    if (!given.listen.isEmpty() && !parseListen(given.listen, s))
        return QCoreApplication::translate("ServerCommand", "%1: not HOST:PORT: %2")
            .arg(source, given.listen);
    fill(given.tlsCert, "tls-cert");
    fill(given.tlsKey, "tls-key");
    if (given.tlsCert.isEmpty() != given.tlsKey.isEmpty())
        return QCoreApplication::translate("ServerCommand", "--tls-cert and --tls-key go together");
    s.tlsCert = given.tlsCert;
    s.tlsKey = given.tlsKey;
    QString origins, timeout;
    fill(origins, "cors-origin");
    s.corsOrigins =
        origins.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    fill(timeout, "request-timeout");
    if (!timeout.isEmpty()) {
        bool number = false;
        const int seconds = timeout.toInt(&number);
        if (!number || seconds < 1 || seconds > 300)
            return QCoreApplication::translate("ServerCommand",
                                               "%1: request-timeout is 1 to 300 seconds, not %2")
                .arg(source, timeout);
        s.requestTimeoutMs = seconds * 1000;
    }
    return {};
}

} // namespace

QString ServerSettings::shownAddress(quint16 actualPort) const
{
    const QString address = host.protocol() == QAbstractSocket::IPv6Protocol
                                ? QLatin1Char('[') + host.toString() + QLatin1Char(']')
                                : host.toString();
    return address + QLatin1Char(':') + QString::number(actualPort);
}

SettingsResult readSettings(const QStringList& arguments, const QString& systemConfig)
{
    SettingsResult result;
    ServerSettings& s = result.settings;
    Given given;
    result.error = readOptions(arguments, s, given);
    if (!result.error.isEmpty() || s.command == Command::Help || s.command == Command::Version)
        return result;
    if (s.stateDir.isEmpty()) {
        // systemd's StateDirectory=, else the package's folder.
        const QString systemd =
            qEnvironmentVariable("STATE_DIRECTORY").section(QLatin1Char(':'), 0, 0);
        s.stateDir = systemd.isEmpty() ? QStringLiteral("/var/lib/rondelmaker") : systemd;
    }
    s.stateDir = QDir::cleanPath(QDir(s.stateDir).absolutePath());
    if (s.command == Command::Serve)
        result.error = applyConfig(s, given, systemConfig);
    return result;
}

QString serverUsage()
{
    return QCoreApplication::translate("ServerCommand", R"(Usage:
  rondelmaker-server [options]         serve the HTTP API (see docs/api.md)
  rondelmaker-server token add NAME    make a token and print it once
  rondelmaker-server token list        the tokens' names and when they were made
  rondelmaker-server token remove NAME the token stops working at once
  rondelmaker-server --help | --version

Options:
  --state-dir DIR      the service's folder: tokens, a folder per print queue
                       and per token (default: $STATE_DIRECTORY, else
                       /var/lib/rondelmaker)
  --registry URL       postgresql://user@host/database, or a SQLite file
                       (default: rondelmaker.conf's registry=, else
                       registry.sqlite in the state folder)
  --listen HOST:PORT   address to listen on (default 127.0.0.1:8750). Beyond
                       loopback a token must exist, and every request needs it.
  --tls-cert FILE --tls-key FILE
                       serve HTTPS with this certificate and key (PEM)

rondelmaker.conf in the state folder, then /etc/rondelmaker/rondelmaker.conf,
may set listen=, tls-cert=, tls-key=, cors-origin= (origins a browser page may
call from) and request-timeout= (seconds).
)");
}
