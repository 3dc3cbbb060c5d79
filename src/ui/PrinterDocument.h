#pragma once

#include "print/PrintDestination.h"

#include <memory>

class PrintCanvas;
class QPrinter;

// The document for what the user chose in the print dialog: "Print to File
// (PDF)" becomes a PDF file, a printer becomes its print queue with the
// dialog's settings (copies, sides, paper, the driver's options).
PrintDestination destinationOf(const QPrinter& printer, const QString& title);

// A canvas that draws the document and hands it to that destination once it
// is complete. Without a print system to talk to, it draws on the printer
// itself.
std::unique_ptr<PrintCanvas> openPrintDocument(QPrinter& printer, const QString& title);
