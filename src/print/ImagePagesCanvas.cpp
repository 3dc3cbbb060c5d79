#include "print/ImagePagesCanvas.h"

namespace {

constexpr double InchesPerMetre = 1 / 0.0254;

} // namespace

ImagePagesCanvas::ImagePagesCanvas(const QPageLayout& layout, int dpi)
    : m_layout(layout), m_dpi(dpi)
{
    startPage();
}

void ImagePagesCanvas::startPage()
{
    m_page = QImage(m_layout.fullRectPixels(m_dpi).size(), QImage::Format_RGB32);
    m_page.fill(Qt::white);
    m_page.setDotsPerMeterX(qRound(m_dpi * InchesPerMetre));
    m_page.setDotsPerMeterY(qRound(m_dpi * InchesPerMetre));
    setDevice(m_page);
    setOrigin(m_layout.paintRectPixels(m_dpi).topLeft());
}

bool ImagePagesCanvas::beginDocument()
{
    m_pages.clear();
    startPage();
    return QtPrintCanvas::beginDocument();
}

bool ImagePagesCanvas::newPage()
{
    // The painter leaves a page by ending; the next page is a new image.
    if (!QtPrintCanvas::endDocument())
        return false;
    startPage();
    return QtPrintCanvas::beginDocument();
}

bool ImagePagesCanvas::finishDocument(QString*)
{
    m_pages << m_page;
    return true;
}

void ImagePagesCanvas::discardDocument()
{
    m_pages.clear();
}
