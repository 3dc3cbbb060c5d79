#pragma once

#include "core/render/PrintCanvas.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPen>

#include <map>

class QPaintDevice;

// The printer operations on any Qt paint device, in its device dots with the
// origin where the device's painter starts (the printable area of a paged
// device). A paged device (a PDF writer, a printer, a preview page) gets one
// page per newPage(); an image takes a single page. Text is measured with the
// device's own metrics, never the screen's, so that centring matches what
// comes out on paper.
class QtPrintCanvas : public PrintCanvas {
public:
    explicit QtPrintCanvas(QPaintDevice& device);
    ~QtPrintCanvas() override;
    QtPrintCanvas(const QtPrintCanvas&) = delete;
    QtPrintCanvas& operator=(const QtPrintCanvas&) = delete;

    int dpiX() const override;
    int dpiY() const override;
    QPoint paperCorner() const override;

    bool beginDocument() override;
    bool newPage() override;
    bool endDocument() override;
    void abort() override;
    QString errorString() const override;

    void setFont(const QFont& description) override;
    void setFontSize(double points) override;
    void setFontColor(const QColor& color) override;
    void setPen(int width, const QColor& color) override;
    void setBrush(const QColor& color) override;
    void clearBrush() override;

    void ellipse(const DeviceBox& box) override;
    void rectangle(const DeviceBox& box) override;
    void fillCells(QPoint origin, QSize cell, const QList<QRect>& cells,
                   const QColor& color) override;
    void line(int x1, int y1, int x2, int y2) override;
    QSize textExtent(const QString& text) override;
    void textOut(int x, int y, const QString& text) override;

protected:
    // For a canvas that creates its device after this base: the device is
    // used from beginDocument() on.
    QtPrintCanvas();
    void setDevice(QPaintDevice& device);
    // Where the drawing's origin lies on the device, for a device that is
    // the whole page (an image) while the origin is the printable area's.
    void setOrigin(const QPoint& origin) { m_origin = origin; }

    // Runs after the painter has ended a complete document: hands it on
    // (a file, a print queue). False with *error set when that failed.
    virtual bool finishDocument(QString* error);
    // Runs when a begun document is dropped: nothing of it may be handed on.
    virtual void discardDocument() {}
    // How the error messages name the output.
    virtual QString deviceName() const;

    void setError(const QString& error) { m_error = error; }

private:
    // The font's measures at one size, asked for every label: a font
    // engine's look-up for each line's height and the width of an upper
    // line that every label repeats cost more than drawing the label.
    struct Measures {
        QFontMetrics metrics;
        int height = 0;
        int ascent = 0;
        QHash<QString, int> widths;

        int width(const QString& text);
    };
    Measures& metrics();
    void useShapePen();
    void useTextPen();

    QPaintDevice* m_device = nullptr;
    QPoint m_origin;
    QPainter m_painter;
    QFont m_font;
    QColor m_fontColor = QColor(0, 0, 0);
    QPen m_shapePen;
    QBrush m_brush;                       // Qt::NoBrush while clear
    std::map<double, Measures> m_metrics; // of the font, by point size
    bool m_painterFontSet = false;
    bool m_textPenSet = false;
    bool m_begun = false;
    QString m_error;
};
