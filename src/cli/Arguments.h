#pragma once

#include "core/model/PrintAppearance.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of rondelmaker-cli, checked for what can be checked
// without reading a file: the command, the options it takes, numbers within
// their lists, and outputs that exclude each other.
struct Arguments {
    enum class Command {
        Print,
        List,
        Next,
        History,
        Labels,
        Reprint,
        Find,
        Resolve,
        Sheets,
        Help,
        Version
    };

    Command command = Command::Help;
    QString design;              // print, list: the design file
    qint64 job = 0;              // labels, reprint, resolve: the job's number in the registry
    QString text;                // find: a label text
    std::optional<bool> printed; // resolve: printed or not-printed
    std::optional<int> samples;
    std::optional<std::pair<int, int>> sampleRange; // reprint: samples A to B, 1-based
    QStringList labelTexts;                         // reprint: these labels only
    std::optional<int> first;
    std::optional<int> start;      // 1..Sheet::MaxPositions here; the sheet's own count in the plan
    QString sheet;                 // print, list, next, reprint: a sheet's id or file
    std::optional<LabelCode> code; // print, list: instead of the design's
    QString printer;               // a print queue; empty with pdf empty: the default printer
    QString pdf;                   // print into this PDF file instead
    QString record;                // the A4 record of the job, as a PDF
    QString xls;                   // the job's spreadsheet
    QString freeTexts;             // a file, or "-" for standard input
    QString stateDir;              // empty: where the window keeps its files
    QString registry; // empty: the folder's or the administrator's setting, else the folder's file
    bool allowDuplicates = false;
    QDate since;  // history: from this day on
    int type = 0; // history: one label type only
};

struct ParsedArguments {
    Arguments arguments;
    QString error; // English, names the argument; empty when they are fine
};

// `arguments` without the program's name.
ParsedArguments parseArguments(const QStringList& arguments);

QString usageText();
