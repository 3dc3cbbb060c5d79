#pragma once

#include <QString>

// Label texts are measured as the label printer's code page 932 sees them: a
// half-width character takes 1 byte, a full-width one 2. Texts stay Unicode in
// memory; only their lengths and cuts follow the byte form.
namespace Cp932 {

// Input methods on Linux type a few characters with code points that code
// page 932 spells differently (the wave dash, the minus sign, ...). Map those
// to the code page's own, and drop what it cannot hold at all (emoji), since
// such characters could never be printed within the label's room.
QString normalize(const QString& text);

// Bytes of the code page 932 form; characters it cannot hold count 0.
int byteLength(const QString& text);

// The longest prefix of whole characters that fits into maxBytes. Never
// splits a double-byte character.
QString cut(const QString& text, int maxBytes);

// normalize() then cut(): what an input field keeps of what was typed.
QString limit(const QString& text, int maxBytes);

} // namespace Cp932
