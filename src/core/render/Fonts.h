#pragma once

// "ＭＳ Ｐゴシック" is a Windows font. Where it is missing, a Japanese
// proportional Gothic stands in (IPAPGothic on Debian), so that captions and
// printed labels show glyphs, not boxes. Call before any font is made.
void installFontSubstitutions();
