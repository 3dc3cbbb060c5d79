#include "print/PdfDocumentCanvas.h"

#include "core/io/AtomicFile.h"
#include "print/PrintQueue.h"

#include <QCoreApplication>
#include <QDir>

bool isCompletePdf(const QByteArray& pdf)
{
    // The trailer may be followed by a line end, nothing more.
    return pdf.startsWith("%PDF-") && pdf.right(16).trimmed().endsWith("%%EOF");
}

PdfDocumentCanvas::PdfDocumentCanvas(const PrintDestination& destination)
    : m_destination(destination)
{
    startWriter();
}

PdfDocumentCanvas::~PdfDocumentCanvas() = default;

void PdfDocumentCanvas::startWriter()
{
    m_pdf.clear();
    m_buffer.setBuffer(&m_pdf);
    m_buffer.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setResolution(m_destination.resolution);
    m_writer->setCreator(QStringLiteral("Rondelmaker"));
    m_writer->setTitle(m_destination.title);
    if (m_destination.layout.isValid())
        m_writer->setPageLayout(m_destination.layout);
    setDevice(*m_writer);
}

QString PdfDocumentCanvas::deviceName() const
{
    if (m_destination.kind == PrintDestination::Kind::Memory)
        return QCoreApplication::translate("PrintDocument", "PDF文書");
    if (m_destination.kind == PrintDestination::Kind::PdfFile)
        return QCoreApplication::translate("PrintDocument", "出力ファイル「%1」")
            .arg(QDir::toNativeSeparators(m_destination.pdfFile));
    return QCoreApplication::translate("PrintDocument", "プリンター「%1」")
        .arg(m_destination.queue);
}

bool PdfDocumentCanvas::finishDocument(QString* error)
{
    m_buffer.close();
    if (!isCompletePdf(m_pdf)) {
        *error = QCoreApplication::translate(
                     "PrintDocument",
                     "%1 への印刷を完了できませんでした。文書を最後まで作れませんでした。")
                     .arg(deviceName());
        return false;
    }
    if (m_destination.kind == PrintDestination::Kind::Memory)
        return true;
    if (m_destination.kind == PrintDestination::Kind::PdfFile) {
        QString reason;
        if (writeFileAtomically(m_destination.pdfFile, m_pdf, &reason))
            return true;
        *error =
            QCoreApplication::translate("PrintDocument", "PDFファイルを保存できません。\n%1\n%2")
                .arg(QDir::toNativeSeparators(m_destination.pdfFile), reason);
        return false;
    }
    return PrintQueue::submit(m_destination.queue, m_destination.title, m_pdf,
                              m_destination.options, error);
}

void PdfDocumentCanvas::discardDocument()
{
    // Nothing has left the program yet: dropping the bytes drops the document.
    m_buffer.close();
    m_pdf.clear();
}
