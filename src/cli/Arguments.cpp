#include "cli/Arguments.h"

#include "core/layout/SheetLayout.h"
#include "core/model/LabelDesign.h"

#include <array>

namespace {

enum class Option { Samples, First, Start, Printer, Pdf, Record, Xls, FreeTexts, StateDir };

struct KnownOption {
    const char* name;
    Option option;
    bool printOnly; // an output of a job: list and next print nothing
};

constexpr std::array<KnownOption, 9> Options = {{
    {"--samples", Option::Samples, false},
    {"--first", Option::First, false},
    {"--start", Option::Start, false},
    {"--printer", Option::Printer, true},
    {"--pdf", Option::Pdf, true},
    {"--record", Option::Record, true},
    {"--xls", Option::Xls, true},
    {"--free-texts", Option::FreeTexts, false},
    {"--state-dir", Option::StateDir, false},
}};

const KnownOption* findOption(const QString& name)
{
    for (const KnownOption& candidate : Options) {
        if (name == QLatin1String(candidate.name))
            return &candidate;
    }
    return nullptr;
}

// A whole decimal number within [low, high], or nullopt.
std::optional<int> wholeNumber(const QString& text, int low, int high)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

namespace {

std::optional<Arguments::Command> commandNamed(const QString& name)
{
    if (name == QLatin1String("print"))
        return Arguments::Command::Print;
    if (name == QLatin1String("list"))
        return Arguments::Command::List;
    if (name == QLatin1String("next"))
        return Arguments::Command::Next;
    return std::nullopt;
}

// Stores an option's value; the error when it does not fit, else empty.
QString storeOption(Arguments& a, Option option, const QString& value)
{
    switch (option) {
    case Option::Samples:
        a.samples = wholeNumber(value, 1, MaxSampleCount);
        if (!a.samples)
            return QStringLiteral("--samples takes a number from 1 to %1, not '%2'")
                .arg(MaxSampleCount)
                .arg(value);
        break;
    case Option::First:
        // The type's range is checked against the design.
        a.first = wholeNumber(value, 0, 9999);
        if (!a.first)
            return QStringLiteral("--first takes a number from 0 to 9999, not '%1'").arg(value);
        break;
    case Option::Start:
        a.start = wholeNumber(value, 1, SheetLayout::Positions);
        if (!a.start)
            return QStringLiteral("--start takes a sheet position from 1 to %1, not '%2'")
                .arg(SheetLayout::Positions)
                .arg(value);
        break;
    case Option::Printer:
        a.printer = value;
        break;
    case Option::Pdf:
        a.pdf = value;
        break;
    case Option::Record:
        a.record = value;
        break;
    case Option::Xls:
        a.xls = value;
        break;
    case Option::FreeTexts:
        a.freeTexts = value;
        break;
    case Option::StateDir:
        a.stateDir = value;
        break;
    }
    return {};
}

// The options after the command, and the rest as positional arguments.
QString readOptions(const QStringList& arguments, Arguments& a, QStringList& positional)
{
    QList<Option> seen;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString name = arguments[i];
        if (!name.startsWith(QLatin1String("--")) || name == QLatin1String("--")) {
            positional << name;
            continue;
        }
        std::optional<QString> value;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); eq > 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        }
        const KnownOption* known = findOption(name);
        if (!known)
            return QStringLiteral("unknown option %1").arg(name);
        if (a.command == Arguments::Command::Next && known->option != Option::StateDir)
            return QStringLiteral("next takes only --state-dir, not %1").arg(name);
        if (a.command == Arguments::Command::List && known->printOnly)
            return QStringLiteral("list prints nothing: %1 is for print").arg(name);
        if (seen.contains(known->option))
            return QStringLiteral("%1 is given twice").arg(name);
        seen << known->option;
        if (!value) {
            if (i + 1 == arguments.size())
                return QStringLiteral("%1 needs a value").arg(name);
            value = arguments[++i];
        }
        if (value->isEmpty())
            return QStringLiteral("%1 needs a value").arg(name);
        if (const QString error = storeOption(a, known->option, *value); !error.isEmpty())
            return error;
    }
    return {};
}

} // namespace

ParsedArguments parseArguments(const QStringList& arguments)
{
    ParsedArguments parsed;
    Arguments& a = parsed.arguments;
    const auto fail = [&parsed](const QString& error) {
        parsed.error = error;
        return parsed;
    };
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        a.command = Arguments::Command::Help;
        return parsed;
    }
    if (arguments.contains(QLatin1String("--version"))) {
        a.command = Arguments::Command::Version;
        return parsed;
    }
    if (arguments.isEmpty())
        return fail(QStringLiteral("a command is needed: print, list or next"));
    const QString command = arguments.first();
    const std::optional<Arguments::Command> known = commandNamed(command);
    if (!known)
        return fail(QStringLiteral("unknown command '%1' (print, list or next)").arg(command));
    a.command = *known;

    QStringList positional;
    if (const QString error = readOptions(arguments, a, positional); !error.isEmpty())
        return fail(error);
    if (a.command == Arguments::Command::Next) {
        if (!positional.isEmpty())
            return fail(QStringLiteral("next takes no design file ('%1')").arg(positional.first()));
        return parsed;
    }
    if (positional.isEmpty())
        return fail(QStringLiteral("%1 needs a design file").arg(command));
    if (positional.size() > 1)
        return fail(
            QStringLiteral("one design file only ('%1' is one too many)").arg(positional[1]));
    a.design = positional.first();
    if (!a.printer.isEmpty() && !a.pdf.isEmpty())
        return fail(QStringLiteral("--printer and --pdf exclude each other"));
    return parsed;
}

QString usageText()
{
    return QStringLiteral(
        R"(Usage:
  rondelmaker-cli print DESIGN.json [options]   print a job, as the window's Print button does
  rondelmaker-cli list DESIGN.json [options]    write the job's labels as CSV, print nothing
  rondelmaker-cli next [--state-dir DIR]        show where the next job starts
  rondelmaker-cli --help | --version

The numbering goes on where the last job of the same label type left it, and
the job starts at the sheet position in start.txt. After a job, start.txt and
state.json say where the next one goes on (the window reads the same files).

Options of print and list:
  --samples N          number of samples, 1..1200 (types 1 to 8)
  --first N            first number, within the type's range (instead of going on)
  --start P            sheet position to start at, 1..150 (instead of start.txt's)
  --free-texts FILE    free texts of types 9 to 12, one per line, or the first
                       column of a CSV file; "-" reads standard input
  --state-dir DIR      folder of start.txt and state.json (default: beside the
                       program, or ~/.config/Rondelmaker for an installed one)
Options of print only:
  --printer NAME       print queue (default: the system's default printer)
  --pdf FILE           write the labels to a PDF file instead of a printer
  --record FILE.pdf    also write the job's A4 record as a PDF
  --xls FILE.xls       also write the job's spreadsheet (Excel 97-2003)

list writes "sheet,position,sample,repeat,upper,lower" rows (RFC 4180, UTF-8).

Exit codes:
  0  done
  1  nothing printed and nothing advanced (printer refused the job, output not
     writable, another Rondelmaker holds the folder)
  2  bad arguments or a bad file (design, free texts, start.txt, state.json);
     nothing changed
  3  the labels were printed, but start.txt, state.json, the record or the
     spreadsheet could not be written (the message says which)
)");
}
