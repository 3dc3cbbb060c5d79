// rondelmaker-cli: prints a design file's labels from a laboratory's own
// system, sharing the window's start file, state and lock.
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "core/i18n/UiLanguage.h"
#include "core/render/Fonts.h"

#include <QGuiApplication>

#include <QCoreApplication>
#include <cstdio>

namespace {

// A script reads standard error: it carries the program's own messages
// (Cli::report), never Qt's notes about the environment.
void onlyFatalMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        std::fputs((message + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(onlyFatalMessages);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // Fonts need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The window's name: both find the same configuration folder.
    QGuiApplication::setApplicationName(QStringLiteral("Rondelmaker"));
    QGuiApplication::setApplicationVersion(QStringLiteral(RONDEL_VERSION));
    // Messages and the usage in the system's language.
    UiLanguages::apply(UiLanguage::Automatic);

    const ParsedArguments parsed = parseArguments(arguments);
    if (!parsed.error.isEmpty()) {
        Cli::report(parsed.error + QCoreApplication::translate(
                                       "Cli", "\n(rondelmaker-cli --help shows the usage)"));
        return Cli::BadInput;
    }
    const Arguments& a = parsed.arguments;
    switch (a.command) {
    case Arguments::Command::Help:
        std::fputs(usageText().toUtf8().constData(), stdout);
        return Cli::Done;
    case Arguments::Command::Version:
        std::fputs("rondelmaker-cli " RONDEL_VERSION "\n", stdout);
        return Cli::Done;
    default:
        break;
    }

    installFontSubstitutions();

    switch (a.command) {
    case Arguments::Command::Print:
        return Cli::print(a);
    case Arguments::Command::List:
        return Cli::list(a);
    case Arguments::Command::History:
        return Cli::history(a);
    case Arguments::Command::Labels:
        return Cli::labels(a);
    case Arguments::Command::Find:
        return Cli::find(a);
    case Arguments::Command::Reprint:
        return Cli::reprint(a);
    case Arguments::Command::Resolve:
        return Cli::resolve(a);
    case Arguments::Command::Sheets:
        return Cli::sheets(a);
    default:
        return Cli::next(a);
    }
}
