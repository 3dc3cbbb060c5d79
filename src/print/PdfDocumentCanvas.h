#pragma once

#include "print/PrintDestination.h"
#include "print/QtPrintCanvas.h"

#include <QBuffer>
#include <QPdfWriter>

#include <memory>

// Draws a document as PDF in memory and hands it to its destination only
// when it is complete, so that a failure on the way never leaves half a
// document behind: a PDF file keeps its old contents, and a print queue gets
// nothing. endDocument() reports false when the destination did not take
// the document (a full disk, a queue that refuses jobs).
class PdfDocumentCanvas final : public QtPrintCanvas {
public:
    explicit PdfDocumentCanvas(const PrintDestination& destination);
    ~PdfDocumentCanvas() override;

    // Kind::Memory: the complete document once endDocument() succeeded.
    const QByteArray& document() const { return m_pdf; }

protected:
    bool finishDocument(QString* error) override;
    void discardDocument() override;
    QString deviceName() const override;

private:
    void startWriter();

    PrintDestination m_destination;
    QByteArray m_pdf;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
};

// A PDF that was written to the end: not empty, and closed by its trailer.
bool isCompletePdf(const QByteArray& pdf);
