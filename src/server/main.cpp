// rondelmaker-server: the laboratory's print service, an HTTP API over the
// same core, registry and printers as the window and the command line. The
// program runs the service, or manages its tokens.
#include "core/i18n/UiLanguage.h"
#include "core/job/ReservedJobs.h"
#include "core/registry/RegistrySetup.h"
#include "core/render/Fonts.h"
#include "server/ApiServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

#include <csignal>
#include <cstdio>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum ExitCode { Done = 0, Failed = 1, BadInput = 2 };

void report(const QString& message)
{
    QString text = QStringLiteral("rondelmaker-server: ") + message;
    text.replace(QLatin1Char('\n'), QLatin1String("\n  "));
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
    std::fflush(stderr);
}

// Standard error carries the request log and the service's own messages;
// of Qt's, only what is wrong.
void seriousMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        report(message);
}

bool prepareStateDir(const QString& dir)
{
    const QFileInfo info(dir);
    if (!info.isDir() && !QDir().mkpath(dir)) {
        report(QCoreApplication::translate("ServerCommand", "cannot make the state folder %1")
                   .arg(dir));
        return false;
    }
    return true;
}

int tokenCommand(const ServerSettings& settings)
{
    if (!prepareStateDir(settings.stateDir))
        return Failed;
    TokenStore tokens(settings.stateDir);
    QString error;
    switch (settings.command) {
    case ServerSettings::Command::TokenAdd: {
        const std::optional<QString> token = tokens.add(settings.tokenName, &error);
        if (!token)
            break;
        std::fputs((*token + QLatin1Char('\n')).toLatin1().constData(), stdout);
        report(QCoreApplication::translate("ServerCommand",
                                           "token %1 added; it is shown this once, keep it safe")
                   .arg(settings.tokenName));
        return Done;
    }
    case ServerSettings::Command::TokenRemove:
        if (!tokens.remove(settings.tokenName, &error))
            break;
        report(QCoreApplication::translate("ServerCommand",
                                           "token %1 removed; it is refused from now on")
                   .arg(settings.tokenName));
        return Done;
    default:
        if (const std::optional<QList<TokenStore::Entry>> entries = tokens.read(&error)) {
            for (const TokenStore::Entry& entry : *entries)
                std::fputs(QStringLiteral("%1\t%2\n")
                               .arg(entry.name, entry.created.toString(Qt::ISODate))
                               .toUtf8()
                               .constData(),
                           stdout);
            return Done;
        }
    }
    report(error);
    return settings.command == ServerSettings::Command::TokenList ? Failed : BadInput;
}

// The certificate (with its chain) and key of --tls-cert and --tls-key.
std::optional<QSslConfiguration> tlsConfiguration(const ServerSettings& settings)
{
    if (!QSslSocket::supportsSsl()) {
        report(QCoreApplication::translate("ServerCommand", "this Qt has no TLS support"));
        return std::nullopt;
    }
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(settings.tlsCert, QSsl::Pem);
    QFile keyFile(settings.tlsKey);
    QSslKey key;
    if (keyFile.open(QIODevice::ReadOnly)) {
        const QByteArray pem = keyFile.readAll();
        for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec})
            if (key.isNull())
                key = QSslKey(pem, algorithm, QSsl::Pem);
    }
    if (chain.isEmpty() || key.isNull()) {
        report(QCoreApplication::translate("ServerCommand",
                                           "cannot read the certificate %1 or the key %2 (PEM)")
                   .arg(settings.tlsCert, settings.tlsKey));
        return std::nullopt;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    return configuration;
}

// SIGTERM and SIGINT reach the event loop through a socket pair.
int signalPair[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    if (::write(signalPair[1], &byte, 1) < 0) {
        // the service is stopping already
    }
}

void stopOnSignals(ApiServer& server)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPair) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPair[0], QSocketNotifier::Read, &server);
    QObject::connect(notifier, &QSocketNotifier::activated, &server, [notifier, &server] {
        char byte = 0;
        if (::read(signalPair[0], &byte, 1) < 0)
            return;
        notifier->setEnabled(false);
        report(QCoreApplication::translate("ServerCommand", "stopping"));
        // Jobs under way end first; each ends within its own deadlines.
        server.stop(60000, [] { QCoreApplication::quit(); });
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

// Jobs of the stations that printed while the registry was away are
// confirmed now; those still in question are named. The tables of a new
// registry are made here, before the threads of the API open it.
void contactRegistry(ServerContext& context)
{
    ServerRegistry registry(context.registry, context.settings.stateDir);
    SqlRegistry* open = registry.get();
    const std::optional<QList<JobSummary>> questions =
        open ? ApiRoutes::unresolvedJobs(context.stations, *open) : std::nullopt;
    if (!questions) {
        report(QCoreApplication::translate(
                   "ServerCommand", "the registry %1 cannot be used now (%2); requests that need "
                                    "it are answered 503 until it can")
                   .arg(registry.location(), registry.problem()));
        return;
    }
    for (const JobSummary& job : *questions)
        report(ReservedJobs::describe(job));
}

int serve(const ServerSettings& settings)
{
    if (!prepareStateDir(settings.stateDir))
        return Failed;
    QString error;
    const std::optional<QList<TokenStore::Entry>> tokens =
        TokenStore(settings.stateDir).read(&error);
    if (!tokens) {
        report(error);
        return Failed;
    }
    if (!settings.loopbackOnly() && tokens->isEmpty()) {
        report(QCoreApplication::translate(
                   "ServerCommand",
                   "listening on %1 reaches beyond this computer: add a token first "
                   "(rondelmaker-server token add NAME); every request must then bring it")
                   .arg(settings.shownAddress(settings.port)));
        return BadInput;
    }
    std::optional<QSslConfiguration> tls;
    if (!settings.tlsCert.isEmpty() && !(tls = tlsConfiguration(settings)))
        return BadInput;
    const RegistrySetup::Choice choice =
        RegistrySetup::choose(settings.stateDir, settings.registry);
    if (!choice.error.isEmpty()) {
        report(choice.error);
        return BadInput;
    }
    installFontSubstitutions();
    ServerContext context{settings, TokenStore(settings.stateDir), choice.target,
                          ServerStations(settings.stateDir), ServerSheets(settings.stateDir)};
    contactRegistry(context);
    ApiServer server(context);
    if (!server.start(tls ? &*tls : nullptr, &error)) {
        report(QCoreApplication::translate("ServerCommand", "cannot listen on %1: %2")
                   .arg(settings.shownAddress(settings.port), error));
        return Failed;
    }
    stopOnSignals(server);
    report(QCoreApplication::translate("ServerCommand", "listening on %1://%2 (registry %3)")
               .arg(tls ? QStringLiteral("https") : QStringLiteral("http"),
                    settings.shownAddress(server.port()), choice.target.shown()));
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    // The tokens, the registry and the stations' files are the service's own.
    ::umask(077);
    std::signal(SIGPIPE, SIG_IGN);
    qInstallMessageHandler(seriousMessages);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Labels and records are drawn with fonts, which need a GUI application,
    // never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Rondelmaker"));
    QGuiApplication::setApplicationVersion(QStringLiteral(RONDEL_VERSION));
    UiLanguages::apply(UiLanguage::Automatic);

    const SettingsResult parsed = readSettings(arguments);
    if (!parsed.error.isEmpty()) {
        report(parsed.error +
               QCoreApplication::translate("ServerCommand",
                                           "\n(rondelmaker-server --help shows the usage)"));
        return BadInput;
    }
    const ServerSettings& settings = parsed.settings;
    switch (settings.command) {
    case ServerSettings::Command::Help:
        std::fputs(serverUsage().toUtf8().constData(), stdout);
        return Done;
    case ServerSettings::Command::Version:
        std::fputs("rondelmaker-server " RONDEL_VERSION "\n", stdout);
        return Done;
    case ServerSettings::Command::Serve:
        return serve(settings);
    default:
        return tokenCommand(settings);
    }
}
