#pragma once

#include "core/model/LabelRun.h"
#include "core/model/PrintAppearance.h"
#include "core/model/PrintedJob.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// The lines that say in words what a job will print and what it did: the
// summary above Print, and the window's status line after a job, a record
// or a spreadsheet.
class JobLines {
    Q_DECLARE_TR_FUNCTIONS(JobLines)
public:
    // First and last label of a job, "LAB 0001–LAB 0024"; one label alone.
    static QString range(const QList<PrintLogEntry>& labels);

    // What Print prints: how many labels, the first and the last, the sheet and
    // the start, and the 2D code and the date adjustment when they are on.
    static QString summary(const LabelRun& run, const PrintAppearance& look, const Sheet& sheet,
                           int startPosition, int dateAdjust);

    // Where a document went: the print queue, or the PDF file.
    static QString destination(const QString& printer);

    // A label job or a reprint that printed, and where the next job goes on;
    // `next` is the next job's first running number, empty for a type without one.
    static QString printed(const PrintedJob& job, bool reprint, const QString& printer,
                           const QString& next, int nextPosition);
    static QString recordPrinted(const PrintedJob& job, const QString& printer, bool toFile);
    static QString spreadsheetSaved(const QString& path);

    // A PDF file for a job in `folder`, named by when it prints and its first
    // label, with what a file name cannot hold replaced.
    static QString pdfName(const QString& folder, const QDateTime& at, const QString& firstLabel);
};
