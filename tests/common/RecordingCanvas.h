#pragma once

#include "core/render/PrintCanvas.h"

#include <QList>
#include <QStringList>

// Records every drawing call, with fixed text metrics so that geometry can
// be checked to the dot: a text is `charWidth` dots per code page 932 byte
// wide and `lineHeight` dots high, whatever the font.
class RecordingCanvas final : public PrintCanvas {
public:
    struct Op {
        QString name;  // begin, newPage, end, abort, font, size, fontColor, pen, brush,
                       // clearBrush, ellipse, rectangle, fill, line, text
        DeviceBox box; // a line's ends: (left, top) to (right, bottom)
        int x = 0;
        int y = 0;
        int value = 0; // pen width
        QColor color;
        QString text;
        QFont font;
        bool brushSolid = false; // at the time of a text or shape
        QColor brushColor;
        QColor textColor;
        double fontSize = 0; // at the time of the call; a size op's own
    };

    static Op makeOp(const QString& name)
    {
        Op op;
        op.name = name;
        return op;
    }

    explicit RecordingCanvas(int dpiX = 600, int dpiY = 600) : m_dpiX(dpiX), m_dpiY(dpiY) {}

    int charWidth = 10;
    int lineHeight = 75;
    // When set, texts shrink and grow with the font size: charWidth and
    // lineHeight are then the sizes at 9 points.
    bool scaleWithSize = false;
    // Fail the n-th beginDocument/newPage/endDocument call (1-based), 0 = never.
    int failAtDocumentCall = 0;
    // Where the paper's corner lies, as a printer's printable area puts it.
    QPoint corner;

    QList<Op> ops;

    int dpiX() const override { return m_dpiX; }
    int dpiY() const override { return m_dpiY; }
    QPoint paperCorner() const override { return corner; }
    bool beginDocument() override { return document(QStringLiteral("begin")); }
    bool newPage() override { return document(QStringLiteral("newPage")); }
    bool endDocument() override { return document(QStringLiteral("end")); }
    void abort() override { record(makeOp(QStringLiteral("abort"))); }
    QString errorString() const override { return QStringLiteral("printer on fire"); }

    void setFont(const QFont& description) override
    {
        Op op = makeOp(QStringLiteral("font"));
        op.font = description;
        record(op);
    }
    void setFontSize(double points) override
    {
        m_fontSize = points;
        record(makeOp(QStringLiteral("size")));
    }
    void setFontColor(const QColor& color) override
    {
        m_textColor = color;
        Op op = makeOp(QStringLiteral("fontColor"));
        op.color = color;
        record(op);
    }
    void setPen(int width, const QColor& color) override
    {
        Op op = makeOp(QStringLiteral("pen"));
        op.value = width;
        op.color = color;
        record(op);
    }
    void setBrush(const QColor& color) override
    {
        m_brushSolid = true;
        m_brushColor = color;
        Op op = makeOp(QStringLiteral("brush"));
        op.color = color;
        record(op);
    }
    void clearBrush() override
    {
        m_brushSolid = false;
        record(makeOp(QStringLiteral("clearBrush")));
    }
    void ellipse(const DeviceBox& box) override { shape(QStringLiteral("ellipse"), box); }
    void rectangle(const DeviceBox& box) override { shape(QStringLiteral("rectangle"), box); }
    // One "fill" op per cell, its box in dots, in the fill's colour.
    void fillCells(QPoint origin, QSize cell, const QList<QRect>& cells,
                   const QColor& color) override
    {
        for (const QRect& r : cells) {
            Op op = makeOp(QStringLiteral("fill"));
            op.box = {origin.x() + r.x() * cell.width(), origin.y() + r.y() * cell.height(),
                      origin.x() + (r.x() + r.width()) * cell.width(),
                      origin.y() + (r.y() + r.height()) * cell.height()};
            op.color = color;
            record(op);
        }
    }
    void line(int x1, int y1, int x2, int y2) override
    {
        shape(QStringLiteral("line"), {x1, y1, x2, y2});
    }
    QSize textExtent(const QString& text) override;
    void textOut(int x, int y, const QString& text) override
    {
        Op op = makeOp(QStringLiteral("text"));
        op.x = x;
        op.y = y;
        op.text = text;
        record(op);
    }

    // Convenience views of the record.
    QList<Op> named(const QString& name) const;
    QStringList texts() const;
    QStringList documentCalls() const; // begin/newPage/end/abort in order

private:
    bool document(const QString& name)
    {
        ++m_documentCalls;
        record(makeOp(name));
        return failAtDocumentCall == 0 || m_documentCalls != failAtDocumentCall;
    }
    void shape(const QString& name, const DeviceBox& box)
    {
        Op op = makeOp(name);
        op.box = box;
        record(op);
    }
    void record(Op op)
    {
        op.brushSolid = m_brushSolid;
        op.brushColor = m_brushColor;
        op.textColor = m_textColor;
        op.fontSize = m_fontSize;
        ops.append(op);
    }

    int m_dpiX;
    int m_dpiY;
    int m_documentCalls = 0;
    double m_fontSize = 0;
    bool m_brushSolid = false;
    QColor m_brushColor;
    QColor m_textColor;
};
