#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// Square ECC 200 Data Matrix symbols. libzint does the encoding; nothing
// else of the program sees it.
namespace DataMatrix {

// The square sizes, in modules per side, up to the largest a label takes.
inline constexpr int SquareSizes[] = {10, 12, 14, 16, 18, 20, 22, 24, 26};

// A symbol as its dark rectangles, in modules from its top-left corner,
// without a quiet zone.
struct Symbol {
    int modules = 0; // per side
    QList<QRect> dark;
};

// `text` as a symbol: the smallest square one that holds it, or one of
// `modules` per side. ASCII is encoded as it is; a text beyond ASCII in
// Shift_JIS under its ECI, so that a reader that honours the ECI returns
// the same text (in UTF-8 under its ECI where Shift_JIS cannot return it).
// Nothing for an empty text or one that does not fit.
std::optional<Symbol> encode(const QString& text, int modules = 0);

// The modules per side of the smallest square symbol that holds `text`,
// 0 when none of the sizes above does.
int squareSizeFor(const QString& text);

} // namespace DataMatrix
