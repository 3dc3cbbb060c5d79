#pragma once

#include "core/layout/DeviceBox.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Exactly the printer operations the label sheets and the print record use,
// in device units (printer dots) with the origin at the top-left corner of
// the printable area. QtPrintCanvas draws on a real printer; tests record.
class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;

    // Resolution in dots per inch.
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    // Where the paper's top-left corner lies, in dots from the origin: minus
    // the printable area's offset on a printer, (0, 0) where the drawing
    // starts at the paper's corner (a PDF without margins, an image).
    virtual QPoint paperCorner() const = 0;

    // Document control. A false result means the printer failed; then
    // errorString() says why and the caller aborts.
    virtual bool beginDocument() = 0;
    virtual bool newPage() = 0;
    virtual bool endDocument() = 0;
    // Drops the document so that nothing of it is printed.
    virtual void abort() = 0;
    virtual QString errorString() const = 0;

    // Typeface, weight, style of a font description; its size is kept until
    // setFontSize() replaces it. Sizes on a disc larger than the built-in
    // sheet's come in fractions of a point.
    virtual void setFont(const QFont& description) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontColor(const QColor& color) = 0;
    virtual void setPen(int width, const QColor& color) = 0;
    // A solid brush fills shapes and puts text on an opaque background of
    // its colour; a clear brush fills nothing and leaves text transparent.
    virtual void setBrush(const QColor& color) = 0;
    virtual void clearBrush() = 0;

    virtual void ellipse(const DeviceBox& box) = 0;
    virtual void rectangle(const DeviceBox& box) = 0;
    // Solid cells of a grid in one colour, with no outline and no
    // anti-aliasing: cell (x, y, w, h) covers w x h cells of `cell` dots from
    // `origin` + (x, y) cells, so every edge falls on a whole device dot (the
    // modules of a 2D code stay crisp for a scanner). Neither pen nor brush
    // changes.
    virtual void fillCells(QPoint origin, QSize cell, const QList<QRect>& cells,
                           const QColor& color) = 0;
    // A straight line in the pen's width and colour.
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // Width and height of a text in the current font.
    virtual QSize textExtent(const QString& text) = 0;
    // (x, y) is the top-left corner of the text.
    virtual void textOut(int x, int y, const QString& text) = 0;
};
