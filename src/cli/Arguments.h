#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line of rondelmaker-cli, checked for what can be checked
// without reading a file: the command, the options it takes, numbers within
// their lists, and outputs that exclude each other.
struct Arguments {
    enum class Command { Print, List, Next, Help, Version };

    Command command = Command::Help;
    QString design; // print, list: the design file
    std::optional<int> samples;
    std::optional<int> first;
    std::optional<int> start;
    QString printer;   // a print queue; empty with pdf empty: the default printer
    QString pdf;       // print into this PDF file instead
    QString record;    // the A4 record of the job, as a PDF
    QString xls;       // the job's spreadsheet
    QString freeTexts; // a file, or "-" for standard input
    QString stateDir;  // empty: where the window keeps its files
};

struct ParsedArguments {
    Arguments arguments;
    QString error; // English, names the argument; empty when they are fine
};

// `arguments` without the program's name.
ParsedArguments parseArguments(const QStringList& arguments);

QString usageText();
