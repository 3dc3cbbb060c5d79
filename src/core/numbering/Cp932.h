#pragma once

#include <QString>
#include <QStringList>

// Label texts are measured as the label printer's code page 932 sees them: a
// half-width character takes 1 byte, a full-width one 2. Texts stay Unicode in
// memory; only their lengths and cuts follow the byte form.
namespace Cp932 {

// Input methods on Linux type a few characters with code points that code
// page 932 spells differently (the wave dash, the minus sign, ...). Map those
// to the code page's own, and drop what it cannot hold at all (emoji), since
// such characters could never be printed within the label's room. A label
// line is one line: control characters (C0, DEL, C1) and line or paragraph
// separators are dropped too, or a pasted tab or line break would reach the
// label, the record and the spreadsheet.
QString normalize(const QString& text);

// The lines of a memo's text, split at CR LF, CR, LF, U+2028 and U+2029.
// The lines are not normalized.
QStringList lines(const QString& text);

// Bytes of the code page 932 form; characters it cannot hold count 0.
int byteLength(const QString& text);

// The longest prefix of whole characters that fits into maxBytes. Never
// splits a double-byte character.
QString cut(const QString& text, int maxBytes);

// normalize() then cut(): what an input field keeps of what was typed.
QString limit(const QString& text, int maxBytes);

// Where a cursor at position in text stands in limit(text, maxBytes): after
// the characters it followed, as far as they are kept.
int limitedPosition(const QString& text, int position, int maxBytes);

} // namespace Cp932
