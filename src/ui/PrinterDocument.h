#pragma once

#include "core/layout/Sheet.h"
#include "core/model/PrinterChoice.h"
#include "print/PrintDestination.h"

#include <memory>

class PrintCanvas;
class QPrinter;

// The document for what the user chose in the print dialog: "Print to File
// (PDF)" becomes a PDF file, a printer becomes its print queue with the
// dialog's settings (copies, sides, paper, the driver's options).
PrintDestination destinationOf(const QPrinter& printer, const QString& title);

// The user's last choices, so that the next print dialog starts from them.
// A printer that no longer exists leaves the system's default in place.
void applyChoice(QPrinter& printer, const PrinterChoice& choice);
PrinterChoice choiceOf(const QPrinter& printer);

// The sheet's paper, after the user's last choices and before the print
// dialog: any sheet but the built-in one goes onto its own paper (A4, Letter
// or its size); the built-in sheet keeps the paper the user chose, as it
// always did.
void applySheet(QPrinter& printer, const Sheet& sheet);

// A canvas that draws the document and hands it to that destination once it
// is complete. Without a print system to talk to, it draws on the printer
// itself.
std::unique_ptr<PrintCanvas> openPrintDocument(QPrinter& printer, const QString& title);
