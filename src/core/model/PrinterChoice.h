#pragma once

#include <QList>
#include <QString>

#include <utility>

// What the user last chose in a print dialog, as plain data, so that the next
// job starts from it, also after a restart.
struct PrinterChoice {
    QString printerName; // a print queue; empty: the system's default printer
    QString pdfFile;     // set: "Print to File (PDF)" into this file
    int copies = 1;
    bool collate = true;
    QString duplex = QStringLiteral("none");     // none, auto, long, short
    QString colorMode = QStringLiteral("color"); // color, grayscale
    QString pageSize; // a page size key such as "A4"; empty: the printer's
    QString orientation = QStringLiteral("portrait"); // portrait, landscape
    QList<std::pair<QString, QString>> options;       // the driver's own settings

    bool isSet() const { return !printerName.isEmpty() || !pdfFile.isEmpty(); }

    friend bool operator==(const PrinterChoice&, const PrinterChoice&) = default;
};
