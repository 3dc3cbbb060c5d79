#include "ui/PrinterDocument.h"

#include "print/PdfDocumentCanvas.h"
#include "print/PrintQueue.h"

#include <QCoreApplication>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The print dialog keeps the driver's own settings as name/value pairs under
// this key of the print engine.
constexpr auto CupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QByteArray sidesOf(const QPrinter& printer)
{
    switch (printer.duplex()) {
    case QPrinter::DuplexAuto:
        return printer.pageLayout().orientation() == QPageLayout::Portrait ? "two-sided-long-edge"
                                                                           : "two-sided-short-edge";
    case QPrinter::DuplexLongSide:
        return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
        return "two-sided-short-edge";
    case QPrinter::DuplexNone:
        break;
    }
    return "one-sided";
}

// Draws straight on the printer where no print system takes whole PDF jobs.
class PrinterCanvas final : public QtPrintCanvas {
public:
    explicit PrinterCanvas(QPrinter& printer) : QtPrintCanvas(printer), m_printer(printer) {}

protected:
    bool finishDocument(QString* error) override
    {
        if (m_printer.printerState() != QPrinter::Error)
            return true;
        *error = QCoreApplication::translate("PrintDocument", "%1 への印刷を完了できませんでした。")
                     .arg(deviceName());
        return false;
    }
    void discardDocument() override { m_printer.abort(); }
    QString deviceName() const override
    {
        return QCoreApplication::translate("PrintDocument", "プリンター「%1」")
            .arg(m_printer.printerName());
    }

private:
    QPrinter& m_printer;
};

} // namespace

PrintDestination destinationOf(const QPrinter& printer, const QString& title)
{
    PrintDestination destination;
    destination.title = title;
    // The layout's origin is the corner of the printable area: Qt's default
    // margins would move every label by about 10 points.
    destination.layout = printer.pageLayout();
    destination.layout.setMargins(destination.layout.minimumMargins());
    destination.resolution = printer.resolution();
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        destination.kind = PrintDestination::Kind::PdfFile;
        destination.pdfFile = printer.outputFileName();
        return destination;
    }
    destination.kind = PrintDestination::Kind::Queue;
    destination.queue = printer.printerName();
    auto& options = destination.options;
    options.emplace_back("media", printer.pageLayout().pageSize().key().toUtf8());
    const int copies = printer.copyCount();
    if (copies > 1) {
        options.emplace_back("copies", QByteArray::number(copies));
        if (printer.collateCopies())
            options.emplace_back("Collate", "True");
    }
    options.emplace_back("sides", sidesOf(printer));
    if (printer.pageLayout().orientation() == QPageLayout::Landscape)
        options.emplace_back("landscape", "true");
    const QStringList chosen = printer.printEngine()->property(CupsOptionsKey).toStringList();
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        options.emplace_back(chosen[i].toUtf8(), chosen[i + 1].toUtf8());
    return destination;
}

void applyChoice(QPrinter& printer, const PrinterChoice& choice)
{
    if (!choice.pdfFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice.pdfFile);
    } else if (!choice.printerName.isEmpty() &&
               QPrinterInfo::availablePrinterNames().contains(choice.printerName)) {
        printer.setPrinterName(choice.printerName);
    } else if (choice.isSet()) {
        return; // that printer is gone: its settings would not fit another
    }
    printer.setCopyCount(std::max(1, choice.copies));
    printer.setCollateCopies(choice.collate);
    const QString duplex = choice.duplex;
    printer.setDuplex(duplex == QLatin1String("long")    ? QPrinter::DuplexLongSide
                      : duplex == QLatin1String("short") ? QPrinter::DuplexShortSide
                      : duplex == QLatin1String("auto")  ? QPrinter::DuplexAuto
                                                         : QPrinter::DuplexNone);
    printer.setColorMode(choice.colorMode == QLatin1String("grayscale") ? QPrinter::GrayScale
                                                                        : QPrinter::Color);
    for (int id = 0; id <= int(QPageSize::LastPageSize) && !choice.pageSize.isEmpty(); ++id) {
        if (QPageSize::key(QPageSize::PageSizeId(id)) == choice.pageSize) {
            printer.setPageSize(QPageSize(QPageSize::PageSizeId(id)));
            break;
        }
    }
    printer.setPageOrientation(choice.orientation == QLatin1String("landscape")
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    QStringList options;
    for (const auto& [name, value] : choice.options)
        options << name << value;
    if (!options.isEmpty())
        printer.printEngine()->setProperty(CupsOptionsKey, options);
}

void applySheet(QPrinter& printer, const Sheet& sheet)
{
    if (sheet.isBuiltIn())
        return;
    const QPageLayout page = sheet.pageLayout();
    printer.setPageSize(page.pageSize());
    printer.setPageOrientation(page.orientation());
}

PrinterChoice choiceOf(const QPrinter& printer)
{
    PrinterChoice choice;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        choice.pdfFile = printer.outputFileName();
    else
        choice.printerName = printer.printerName();
    choice.copies = printer.copyCount();
    choice.collate = printer.collateCopies();
    switch (printer.duplex()) {
    case QPrinter::DuplexLongSide:
        choice.duplex = QStringLiteral("long");
        break;
    case QPrinter::DuplexShortSide:
        choice.duplex = QStringLiteral("short");
        break;
    case QPrinter::DuplexAuto:
        choice.duplex = QStringLiteral("auto");
        break;
    case QPrinter::DuplexNone:
        choice.duplex = QStringLiteral("none");
        break;
    }
    choice.colorMode = printer.colorMode() == QPrinter::GrayScale ? QStringLiteral("grayscale")
                                                                  : QStringLiteral("color");
    choice.pageSize = printer.pageLayout().pageSize().key();
    choice.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                             ? QStringLiteral("landscape")
                             : QStringLiteral("portrait");
    const QStringList options = printer.printEngine()->property(CupsOptionsKey).toStringList();
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        choice.options.emplace_back(options[i], options[i + 1]);
    return choice;
}

std::unique_ptr<PrintCanvas> openPrintDocument(QPrinter& printer, const QString& title)
{
    if (printer.outputFormat() == QPrinter::NativeFormat && !PrintQueue::available())
        return std::make_unique<PrinterCanvas>(printer);
    return std::make_unique<PdfDocumentCanvas>(destinationOf(printer, title));
}
