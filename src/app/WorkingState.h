#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

#include "design/LabelRun.h"

// Everything of a run that the controls do not hold themselves. The main
// window owns the one instance; the screens get a reference. Plain fields, no
// accessors: every handler reads and writes what it needs directly.
//
// Arrays numbered 1..N keep index 0 unused so that the code reads like the
// layout tables (position p is LabelLeft[p]).

struct PrintLogEntry {
    QString upper;
    QString lower;

    friend bool operator==(const PrintLogEntry&, const PrintLogEntry&) = default;
};

inline constexpr int SheetPositions = 150;
inline constexpr int MaxLabelsPerJob = 1200;
inline constexpr int MaxFreeTexts = 60;

struct WorkingState {
    // Start file and print offsets
    QString AppDir;
    QByteArray StartFileNote; // line 2 of the start file, byte for byte
    int HorzOffsetIndex = 10; // 0..20, 10 = no shift
    int VertOffsetIndex = 10;
    int StartPosition = 1; // 1..150

    // Sheet map: fill colour of the circle of each sheet position (1..150)
    std::array<QColor, SheetPositions + 1> SheetShapes{};
    int MouseX = 0;
    int MouseY = 0;
    int SheetCount = 0;

    // Label design
    int LabelType = 1; // 1..12; 13 only while a print job runs
    int FirstNumber = 1;
    int NumberStep = 1;
    int PlainNumbers = 0; // 0 = leading zeros, 1 = plain
    int SampleCount = 30;
    int RepeatCount = 1;
    QStringList FreeTexts = QStringList(MaxFreeTexts); // entries 0..59 = samples 1..60
    int FreeTextCount = 0;

    // Print set-up and print job
    int LabelTotal = 0;
    LabelRun Run; // the run PrintSet froze: the sample label and the print job use it
    QFont LabelFont;
    QColor LabelFontColor = QColor(0, 0, 0);
    std::array<int, SheetPositions + 1> LabelLeft{};
    std::array<int, SheetPositions + 1> LabelTop{};
    bool HasPrinted = false;
    // Sized for the largest job, so that every label of it is logged.
    QList<PrintLogEntry> PrintLog = QList<PrintLogEntry>(MaxLabelsPerJob);
    int PrintLogNext = 0; // 1-based number of the next entry during a job
    // Samples and labels per sample of the job the log holds, so that the
    // record and the export list that job whatever the lists show now.
    int PrintLogSampleCount = 0;
    int PrintLogRepeatCount = 1;
    QString LastLetter;
    QString LastSecondLetter;

    // Shell
    bool CloseRequested = false;
};
