#pragma once

#include "print/PrintCanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <optional>

class QPrinter;

// The printer operations on a real QPrinter, in its device dots with the
// origin at the top-left corner of the printable area (QPrinter's default).
// Text is measured with the printer's own metrics, never the screen's, so
// that centring matches what comes out on paper.
class QtPrintCanvas final : public PrintCanvas {
public:
    explicit QtPrintCanvas(QPrinter& printer);
    ~QtPrintCanvas() override;
    QtPrintCanvas(const QtPrintCanvas&) = delete;
    QtPrintCanvas& operator=(const QtPrintCanvas&) = delete;

    int dpiX() const override;
    int dpiY() const override;

    bool beginDocument() override;
    bool newPage() override;
    bool endDocument() override;
    void abort() override;
    QString errorString() const override;

    void setFont(const QFont& description) override;
    void setFontSize(int points) override;
    void setFontColor(const QColor& color) override;
    void setPen(int width, const QColor& color) override;
    void setBrush(const QColor& color) override;
    void clearBrush() override;

    void ellipse(const DeviceBox& box) override;
    void rectangle(const DeviceBox& box) override;
    QSize textExtent(const QString& text) override;
    void textOut(int x, int y, const QString& text) override;

private:
    void fontChanged();
    const QFontMetrics& metrics();
    void useShapePen();
    void useTextPen();
    QString deviceName() const;

    QPrinter& m_printer;
    QPainter m_painter;
    QFont m_font;
    QColor m_fontColor = QColor(0, 0, 0);
    QPen m_shapePen;
    QBrush m_brush; // Qt::NoBrush while clear
    std::optional<QFontMetrics> m_metrics;
    bool m_textPenSet = false;
    bool m_begun = false;
    QString m_error;
};
