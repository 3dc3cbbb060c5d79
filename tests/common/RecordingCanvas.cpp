#include "RecordingCanvas.h"

#include "core/numbering/Cp932.h"

QSize RecordingCanvas::textExtent(const QString& text)
{
    const int width = charWidth * Cp932::byteLength(text);
    if (!scaleWithSize)
        return QSize(width, lineHeight);
    return QSize(int(width * m_fontSize / 9), int(lineHeight * m_fontSize / 9));
}

QList<RecordingCanvas::Op> RecordingCanvas::named(const QString& name) const
{
    QList<Op> out;
    for (const Op& op : ops) {
        if (op.name == name)
            out << op;
    }
    return out;
}

QStringList RecordingCanvas::texts() const
{
    QStringList out;
    for (const Op& op : named(QStringLiteral("text")))
        out << op.text;
    return out;
}

QStringList RecordingCanvas::documentCalls() const
{
    QStringList out;
    for (const Op& op : ops) {
        if (op.name == "begin" || op.name == "newPage" || op.name == "end" || op.name == "abort")
            out << op.name;
    }
    return out;
}
