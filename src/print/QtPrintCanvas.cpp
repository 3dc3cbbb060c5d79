#include "print/QtPrintCanvas.h"

#include <QFile>
#include <QPrinter>

namespace {

QRect toRect(const DeviceBox& box)
{
    return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

} // namespace

QtPrintCanvas::QtPrintCanvas(QPrinter& printer) : m_printer(printer) {}

QtPrintCanvas::~QtPrintCanvas()
{
    if (m_painter.isActive())
        m_painter.end();
}

int QtPrintCanvas::dpiX() const
{
    return m_printer.logicalDpiX();
}

int QtPrintCanvas::dpiY() const
{
    return m_printer.logicalDpiY();
}

QString QtPrintCanvas::deviceName() const
{
    const QString file = m_printer.outputFileName();
    if (!file.isEmpty())
        return QStringLiteral("出力ファイル「%1」").arg(file);
    const QString name = m_printer.printerName();
    return QStringLiteral("プリンター「%1」")
        .arg(name.isEmpty() ? QStringLiteral("(未選択)") : name);
}

bool QtPrintCanvas::beginDocument()
{
    m_error.clear();
    if (!m_painter.begin(&m_printer)) {
        m_error =
            QStringLiteral("印刷を開始できません。%1 に書き出せませんでした。").arg(deviceName());
        return false;
    }
    m_begun = true;
    m_painter.setFont(m_font);
    m_painter.setBrush(m_brush);
    m_textPenSet = false;
    return true;
}

bool QtPrintCanvas::newPage()
{
    if (!m_printer.newPage()) {
        m_error = QStringLiteral("%1 で次のページを開始できませんでした。").arg(deviceName());
        return false;
    }
    return true;
}

bool QtPrintCanvas::endDocument()
{
    if (!m_painter.end() || m_printer.printerState() == QPrinter::Error) {
        m_error = QStringLiteral("%1 への印刷を完了できませんでした。").arg(deviceName());
        return false;
    }
    m_begun = false; // finished: an abort now has nothing left to drop
    return true;
}

void QtPrintCanvas::abort()
{
    // Qt's PDF and CUPS engines cannot withdraw a document: ending the painter
    // completes it. A half document written to a file is removed instead, so
    // that it cannot pass for a finished one.
    const bool withdrawn = m_printer.abort();
    if (m_painter.isActive())
        m_painter.end();
    const QString file = m_printer.outputFileName();
    if (m_begun && !withdrawn && !file.isEmpty())
        QFile::remove(file);
    m_begun = false;
}

QString QtPrintCanvas::errorString() const
{
    return m_error;
}

void QtPrintCanvas::setFont(const QFont& description)
{
    m_font = description;
    fontChanged();
}

void QtPrintCanvas::setFontSize(int points)
{
    // Called for every label; switching fonts on the painter is not free.
    if (m_font.pointSize() == points)
        return;
    m_font.setPointSize(points);
    fontChanged();
}

void QtPrintCanvas::fontChanged()
{
    m_metrics.reset();
    if (m_painter.isActive())
        m_painter.setFont(m_font);
}

const QFontMetrics& QtPrintCanvas::metrics()
{
    // Measured at the printer's resolution: 9 points are 75 dots at 600 dpi.
    if (!m_metrics)
        m_metrics.emplace(m_font, &m_printer);
    return *m_metrics;
}

void QtPrintCanvas::setFontColor(const QColor& color)
{
    m_fontColor = color;
    m_textPenSet = false;
}

void QtPrintCanvas::setPen(int width, const QColor& color)
{
    m_shapePen = QPen(QBrush(color), width);
    m_textPenSet = false;
}

void QtPrintCanvas::setBrush(const QColor& color)
{
    m_brush = QBrush(color);
    if (m_painter.isActive())
        m_painter.setBrush(m_brush);
}

void QtPrintCanvas::clearBrush()
{
    m_brush = QBrush();
    if (m_painter.isActive())
        m_painter.setBrush(m_brush);
}

void QtPrintCanvas::useShapePen()
{
    m_painter.setPen(m_shapePen);
    m_textPenSet = false;
}

void QtPrintCanvas::useTextPen()
{
    if (m_textPenSet)
        return;
    m_painter.setPen(m_fontColor);
    m_textPenSet = true;
}

void QtPrintCanvas::ellipse(const DeviceBox& box)
{
    useShapePen();
    m_painter.drawEllipse(toRect(box));
}

void QtPrintCanvas::rectangle(const DeviceBox& box)
{
    useShapePen();
    m_painter.drawRect(toRect(box));
}

QSize QtPrintCanvas::textExtent(const QString& text)
{
    const QFontMetrics& fm = metrics();
    return QSize(fm.horizontalAdvance(text), fm.height());
}

void QtPrintCanvas::textOut(int x, int y, const QString& text)
{
    const QFontMetrics& fm = metrics();
    // A solid brush gives the text an opaque background of its colour.
    if (m_brush.style() != Qt::NoBrush)
        m_painter.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), m_brush);
    useTextPen();
    // drawText() takes the baseline; the caller gives the top-left corner.
    m_painter.drawText(QPoint(x, y + fm.ascent()), text);
}
