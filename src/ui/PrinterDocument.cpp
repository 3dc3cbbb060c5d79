#include "ui/PrinterDocument.h"

#include "print/PdfDocumentCanvas.h"
#include "print/PrintQueue.h"

#include <QPrintEngine>
#include <QPrinter>

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
        *error = QStringLiteral("%1 への印刷を完了できませんでした。").arg(deviceName());
        return false;
    }
    void discardDocument() override { m_printer.abort(); }
    QString deviceName() const override
    {
        return QStringLiteral("プリンター「%1」").arg(m_printer.printerName());
    }

private:
    QPrinter& m_printer;
};

} // namespace

PrintDestination destinationOf(const QPrinter& printer, const QString& title)
{
    PrintDestination destination;
    destination.title = title;
    destination.layout = printer.pageLayout();
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

std::unique_ptr<PrintCanvas> openPrintDocument(QPrinter& printer, const QString& title)
{
    if (printer.outputFormat() == QPrinter::NativeFormat && !PrintQueue::available())
        return std::make_unique<PrinterCanvas>(printer);
    return std::make_unique<PdfDocumentCanvas>(destinationOf(printer, title));
}
