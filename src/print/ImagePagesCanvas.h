#pragma once

#include "print/QtPrintCanvas.h"

#include <QImage>
#include <QList>
#include <QPageLayout>

// Draws a document into images, a page each, on the page layout the printer
// gets and at a resolution of its own: the preview shows the pages the
// painter draws for the printer, not an imitation of them.
class ImagePagesCanvas final : public QtPrintCanvas {
public:
    ImagePagesCanvas(const QPageLayout& layout, int dpi);

    bool beginDocument() override;
    bool newPage() override;

    const QList<QImage>& pages() const { return m_pages; }

protected:
    bool finishDocument(QString* error) override;
    void discardDocument() override;

private:
    void startPage();

    QPageLayout m_layout;
    int m_dpi;
    QImage m_page;
    QList<QImage> m_pages;
};
