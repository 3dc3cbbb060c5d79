#include "cli/Arguments.h"

#include "core/layout/Sheet.h"
#include "core/model/LabelDesign.h"

#include <QCoreApplication>
#include <array>

namespace {

using Command = Arguments::Command;

enum class Option {
    Samples,
    First,
    Start,
    Printer,
    Pdf,
    Record,
    Xls,
    FreeTexts,
    StateDir,
    Registry,
    AllowDuplicates,
    Since,
    Type,
    Labels,
    Code,
    Sheet,
};

// Which commands take an option, as bits of 1 << Command.
constexpr unsigned bit(Command c)
{
    return 1u << unsigned(c);
}
constexpr unsigned Jobs = bit(Command::Print) | bit(Command::List);
constexpr unsigned Printing = bit(Command::Print) | bit(Command::Reprint);
constexpr unsigned Everywhere = Jobs | bit(Command::Next) | bit(Command::History) |
                                bit(Command::Labels) | bit(Command::Reprint) | bit(Command::Find) |
                                bit(Command::Resolve);
constexpr unsigned OnASheet = Jobs | bit(Command::Next) | bit(Command::Reprint);

struct KnownOption {
    const char* name;
    Option option;
    unsigned commands;
    bool flag = false; // takes no value
};

constexpr std::array<KnownOption, 16> Options = {{
    {"--samples", Option::Samples, Jobs | bit(Command::Reprint)},
    {"--first", Option::First, Jobs},
    {"--start", Option::Start, Jobs | bit(Command::Reprint)},
    {"--printer", Option::Printer, Printing},
    {"--pdf", Option::Pdf, Printing},
    {"--record", Option::Record, bit(Command::Print)},
    {"--xls", Option::Xls, bit(Command::Print)},
    {"--free-texts", Option::FreeTexts, Jobs},
    {"--code", Option::Code, Jobs},
    {"--sheet", Option::Sheet, OnASheet},
    {"--state-dir", Option::StateDir, Everywhere | bit(Command::Sheets)},
    {"--registry", Option::Registry, Everywhere},
    {"--allow-duplicates", Option::AllowDuplicates, bit(Command::Print), true},
    {"--since", Option::Since, bit(Command::History)},
    {"--type", Option::Type, bit(Command::History)},
    {"--labels", Option::Labels, bit(Command::Reprint)},
}};

struct KnownCommand {
    const char* name;
    Command command;
    const char* operand; // what the one positional argument is, or null for none
};

constexpr std::array<KnownCommand, 9> Commands = {{
    {"print", Command::Print, "a design file"},
    {"list", Command::List, "a design file"},
    {"next", Command::Next, nullptr},
    {"history", Command::History, nullptr},
    {"labels", Command::Labels, "a job number"},
    {"reprint", Command::Reprint, "a job number"},
    {"find", Command::Find, "a label text"},
    {"resolve", Command::Resolve, "a job number"},
    {"sheets", Command::Sheets, nullptr},
}};

const KnownOption* findOption(const QString& name)
{
    for (const KnownOption& candidate : Options) {
        if (name == QLatin1String(candidate.name))
            return &candidate;
    }
    return nullptr;
}

const KnownCommand* findCommand(const QString& name)
{
    for (const KnownCommand& candidate : Commands) {
        if (name == QLatin1String(candidate.name))
            return &candidate;
    }
    return nullptr;
}

// A whole decimal number within [low, high], or nullopt.
std::optional<qint64> wholeNumber(const QString& text, qint64 low, qint64 high)
{
    if (text.isEmpty() || text.size() > 15)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const qint64 value = text.toLongLong();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<int> smallNumber(const QString& text, int low, int high)
{
    const std::optional<qint64> value = wholeNumber(text, low, high);
    return value ? std::optional<int>(int(*value)) : std::nullopt;
}

// Stores an option's value; the error when it does not fit, else empty.
QString storeOption(Arguments& a, Option option, const QString& value)
{
    switch (option) {
    case Option::Samples:
        if (a.command == Command::Reprint) {
            const QStringList ends = value.split(QLatin1Char('-'));
            const std::optional<int> from = smallNumber(ends.value(0), 1, MaxSampleCount);
            const std::optional<int> to =
                ends.size() == 2 ? smallNumber(ends[1], 1, MaxSampleCount) : from;
            if (ends.size() > 2 || !from || !to || *to < *from)
                return QCoreApplication::translate(
                           "Cli", "--samples takes a range of samples A-B, not '%1'")
                    .arg(value);
            a.sampleRange = std::pair(*from, *to);
            break;
        }
        a.samples = smallNumber(value, 1, MaxSampleCount);
        if (!a.samples)
            return QCoreApplication::translate("Cli",
                                               "--samples takes a number from 1 to %1, not '%2'")
                .arg(MaxSampleCount)
                .arg(value);
        break;
    case Option::First:
        // The type's range is checked against the design.
        a.first = smallNumber(value, 0, 9999);
        if (!a.first)
            return QCoreApplication::translate("Cli",
                                               "--first takes a number from 0 to 9999, not '%1'")
                .arg(value);
        break;
    case Option::Start:
        // The sheet's own count is checked once the sheet is known.
        a.start = smallNumber(value, 1, Sheet::MaxPositions);
        if (!a.start)
            return QCoreApplication::translate(
                       "Cli", "--start takes a sheet position from 1 to %1, not '%2'")
                .arg(Sheet::MaxPositions)
                .arg(value);
        break;
    case Option::Sheet:
        a.sheet = value;
        break;
    case Option::Since:
        a.since = QDate::fromString(value, Qt::ISODate);
        if (!a.since.isValid())
            return QCoreApplication::translate("Cli",
                                               "--since takes a date as YYYY-MM-DD, not '%1'")
                .arg(value);
        break;
    case Option::Type:
        a.type = smallNumber(value, 1, 12).value_or(0);
        if (a.type == 0)
            return QCoreApplication::translate("Cli",
                                               "--type takes a label type from 1 to 12, not '%1'")
                .arg(value);
        break;
    case Option::Labels:
        a.labelTexts = value.split(QLatin1Char(','));
        break;
    case Option::Code:
        if (value == QLatin1String("datamatrix"))
            a.code = LabelCode::DataMatrix;
        else if (value == QLatin1String("none"))
            a.code = LabelCode::None;
        else
            return QStringLiteral("--code takes datamatrix or none, not '%1'").arg(value);
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
    case Option::Registry:
        a.registry = value;
        break;
    case Option::AllowDuplicates:
        a.allowDuplicates = true;
        break;
    }
    return {};
}

// The options after the command, and the rest as positional arguments.
QString readOptions(const QStringList& arguments, Arguments& a, QStringList& positional)
{
    QList<Option> seen;
    const QString command = arguments.first();
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
            return QCoreApplication::translate("Cli", "unknown option %1").arg(name);
        if (!(known->commands & bit(a.command)))
            return QCoreApplication::translate("Cli", "%1 does not take %2").arg(command, name);
        if (seen.contains(known->option))
            return QCoreApplication::translate("Cli", "%1 is given twice").arg(name);
        seen << known->option;
        if (known->flag) {
            if (value)
                return QCoreApplication::translate("Cli", "%1 takes no value").arg(name);
            value = QString();
        } else {
            if (!value) {
                if (i + 1 == arguments.size())
                    return QCoreApplication::translate("Cli", "%1 needs a value").arg(name);
                value = arguments[++i];
            }
            if (value->isEmpty())
                return QCoreApplication::translate("Cli", "%1 needs a value").arg(name);
        }
        if (const QString error = storeOption(a, known->option, *value); !error.isEmpty())
            return error;
    }
    return {};
}

// The one positional argument: a design file, a job number or a text.
QString storeOperand(const KnownCommand& command, const QStringList& positional, Arguments& a)
{
    const QString name = QLatin1String(command.name);
    if (!command.operand) {
        if (!positional.isEmpty())
            return QCoreApplication::translate("Cli", "%1 takes no other argument ('%2')")
                .arg(name, positional.first());
        return {};
    }
    if (positional.isEmpty())
        return QCoreApplication::translate("Cli", "%1 needs %2")
            .arg(name, QLatin1String(command.operand));
    const qsizetype wanted = command.command == Command::Resolve ? 2 : 1;
    if (positional.size() > wanted)
        return QCoreApplication::translate("Cli", "'%1' is one argument too many")
            .arg(positional[wanted]);
    switch (command.command) {
    case Command::Print:
    case Command::List:
        a.design = positional.first();
        break;
    case Command::Find:
        a.text = positional.first();
        break;
    default: {
        a.job = wholeNumber(positional.first(), 1, Q_INT64_C(999999999999999)).value_or(0);
        if (a.job == 0)
            return QCoreApplication::translate("Cli", "%1 needs a job number, not '%2'")
                .arg(name, positional.first());
        if (command.command != Command::Resolve)
            break;
        const QString answer = positional.value(1);
        if (answer == QLatin1String("printed"))
            a.printed = true;
        else if (answer == QLatin1String("not-printed"))
            a.printed = false;
        else
            return QCoreApplication::translate("Cli",
                                               "resolve JOB takes printed or not-printed, not '%1'")
                .arg(answer);
        break;
    }
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
        a.command = Command::Help;
        return parsed;
    }
    if (arguments.contains(QLatin1String("--version"))) {
        a.command = Command::Version;
        return parsed;
    }
    if (arguments.isEmpty())
        return fail(QCoreApplication::translate(
            "Cli", "a command is needed (rondelmaker-cli --help lists them)"));
    const KnownCommand* command = findCommand(arguments.first());
    if (!command)
        return fail(
            QCoreApplication::translate("Cli", "unknown command '%1'").arg(arguments.first()));
    a.command = command->command;

    QStringList positional;
    if (const QString error = readOptions(arguments, a, positional); !error.isEmpty())
        return fail(error);
    if (const QString error = storeOperand(*command, positional, a); !error.isEmpty())
        return fail(error);
    if (!a.printer.isEmpty() && !a.pdf.isEmpty())
        return fail(QCoreApplication::translate("Cli", "--printer and --pdf exclude each other"));
    if (a.sampleRange && !a.labelTexts.isEmpty())
        return fail(
            QCoreApplication::translate("Cli", "--samples and --labels exclude each other"));
    return parsed;
}

QString usageText()
{
    return QCoreApplication::translate("Cli", R"(Usage:
  rondelmaker-cli print DESIGN.json [options]   print a job, as the window's Print button does
  rondelmaker-cli list DESIGN.json [options]    write the job's labels as CSV, print nothing
  rondelmaker-cli next                          show where the next job starts
  rondelmaker-cli history [--since DATE] [--type N]   the jobs of the registry, as CSV
  rondelmaker-cli labels JOB                    a job's labels, as list writes them
  rondelmaker-cli find TEXT                     the jobs that issued a label
  rondelmaker-cli reprint JOB [options]         print a job's labels again
  rondelmaker-cli resolve JOB printed|not-printed   say whether a job in question printed
  rondelmaker-cli sheets                        the label sheets it can print on, as CSV
  rondelmaker-cli --help | --version

The numbering goes on where the last job of the same label type left it (the
registry of issued labels keeps it), and the job starts at the sheet position
in start.txt, on the station's label sheet (the one last printed on, else
the built-in sheet of 150 positions). A job is recorded in the registry before it prints; labels that
were issued before are printed again only with --allow-duplicates. Type 8's
labels are never checked for duplicates: its two lines are fixed texts, the
same on every label.

Options of print and list:
  --samples N          number of samples, 1..1200 (types 1 to 8)
  --first N            first number, within the type's range (instead of going on)
  --start P            sheet position to start at, 1..N of the sheet (instead of
                       start.txt's)
  --sheet ID|FILE      print on this label sheet (an id that sheets lists, or a
                       sheet file); it becomes the station's sheet. Also for
                       next and reprint; a reprint is otherwise on the
                       station's sheet, whatever sheet the job was on
  --free-texts FILE    free texts of types 9 to 12, one per line, or the first
                       column of a CSV file; "-" reads standard input
  --code datamatrix|none
                       a Data Matrix code on every label, or none (instead of
                       the design's choice)
Options of print only:
  --printer NAME       print queue (default: the system's default printer)
  --pdf FILE           write the labels to a PDF file instead of a printer
  --record FILE.pdf    also write the job's A4 record as a PDF
  --xls FILE.xls       also write the job's spreadsheet (Excel 97-2003)
  --allow-duplicates   print also labels that were issued before
Options of reprint:
  --samples A-B        samples A to B of the job (default: all its labels)
  --labels TEXT,...    these labels only ("LAB 0057", or the lower line)
  --start P, --printer NAME, --pdf FILE   as for print
Options of every command:
  --state-dir DIR      folder of start.txt and state.json (default: beside the
                       program, or ~/.config/Rondelmaker for an installed one)
  --registry URL       postgresql://user@host/database, or a SQLite file
                       (default: rondelmaker.conf's, else registry.sqlite in
                       the state folder). The URL may add ?sslmode=,
                       sslrootcert=, sslcert=, sslkey=, connect_timeout=,
                       application_name=, host= (a socket folder), port=;
                       any other option, and a password, are refused
history: --since YYYY-MM-DD, --type N (1..12). find: a label's text, at most
11 characters.
Every call of the registry ends within registry_timeout= seconds of
rondelmaker.conf (default 10); a registry that does not answer by then counts
as unreachable.

list and labels write "sheet,position,sample,repeat,upper,lower" rows (the
position on the job's sheet), sheets
"id,name,paper_width,paper_height,diameter,columns,rows,positions,source"
(lengths in mm; columns and rows of the first grid), history
and find "id,time,kind,state,type,first,last,labels,printer,station" (RFC 4180,
UTF-8).

Exit codes:
  0  done
  1  nothing printed and nothing advanced (printer refused the job, output not
     writable, another Rondelmaker holds the folder, the registry cannot be
     reached, does not answer in time or cannot record the job, start.txt or
     state.json not writable)
  2  bad arguments, a bad file (design, free texts, start.txt, state.json) or
     a registry setting that cannot be used; nothing changed
  3  the labels were printed and recorded, but the record or the spreadsheet
     could not be written, or the registry could not be told they printed
     (the next contact does; the message says which)
  4  some labels were issued before: nothing printed (--allow-duplicates)
)");
}
