#pragma once

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QString>

#include <utility>

// Where a printed document goes and how its pages are laid out. Documents
// are rendered as PDF and handed on only once complete: a PDF file is then
// replaced in one step, a print queue gets the whole job or none of it, and
// a document kept in memory (the service answers with it) is there whole or
// not at all.
struct PrintDestination {
    enum class Kind { PdfFile, Queue, Memory };

    Kind kind = Kind::PdfFile;
    QString pdfFile; // Kind::PdfFile
    QString queue;   // Kind::Queue: the print system's name, "printer" or "printer/instance"
    // Queue options as name and value, such as ("copies", "2") or a driver's
    // own settings chosen in the print dialog.
    QList<std::pair<QByteArray, QByteArray>> options;
    QPageLayout layout;
    int resolution = 1200; // dots per inch of the drawing
    QString title;         // the job's name in the queue and the PDF's title
};
