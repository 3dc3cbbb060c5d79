#include "core/code/DataMatrix.h"

#include <zint.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

namespace {

// ECIs: Shift_JIS for Japanese text, UTF-8 for a character Shift_JIS lacks.
constexpr int EciShiftJis = 20;
constexpr int EciUtf8 = 26;

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using ZintSymbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

// zint numbers the square sizes 1, 2, ... in the order of SquareSizes.
int sizeOption(int modules)
{
    const auto* end = std::end(DataMatrix::SquareSizes);
    const auto* at = std::find(std::begin(DataMatrix::SquareSizes), end, modules);
    return at == end ? -1 : int(at - std::begin(DataMatrix::SquareSizes)) + 1;
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

// Shift_JIS has one byte for both the backslash and the yen sign (and for
// the tilde and the overline): a reader would return the other one.
bool readsBackInShiftJis(const QString& text)
{
    for (const QChar c : text) {
        if (c == u'\\' || c == u'~' || c == u'\u00A5' || c == u'\u203E')
            return false;
    }
    return true;
}

// zint keeps state in the symbol, and 2.11 cannot reset one: a fresh
// symbol per code. Its vector output costs several times the encoding, so
// only a symbol to be drawn gets one.
enum class Output { Modules, Vector };

ZintSymbol encodeWith(const QByteArray& utf8, int option, int eci, Output output)
{
    ZintSymbol symbol(ZBarcode_Create());
    if (!symbol)
        return nullptr;
    symbol->symbology = BARCODE_DATAMATRIX;
    symbol->input_mode = UNICODE_MODE;
    symbol->eci = eci;
    symbol->option_2 = option;
    symbol->option_3 = DM_SQUARE;
    symbol->show_hrt = 0;
    const auto* source = reinterpret_cast<const unsigned char*>(utf8.constData());
    const int result =
        output == Output::Vector
            ? ZBarcode_Encode_and_Buffer_Vector(symbol.get(), source, int(utf8.size()), 0)
            : ZBarcode_Encode(symbol.get(), source, int(utf8.size()));
    if (result >= ZINT_ERROR || symbol->rows != symbol->width ||
        (output == Output::Vector && !symbol->vector))
        return nullptr;
    return symbol;
}

ZintSymbol encodeText(const QString& text, int option, Output output)
{
    if (text.isEmpty())
        return nullptr;
    const QByteArray utf8 = text.toUtf8();
    if (isAscii(text))
        return encodeWith(utf8, option, 0, output);
    if (readsBackInShiftJis(text)) {
        if (ZintSymbol symbol = encodeWith(utf8, option, EciShiftJis, output))
            return symbol;
    }
    // A character code page 932 has and Shift_JIS lacks (such as the NEC
    // signs), or one it would not return: UTF-8 reads back as the same text.
    return encodeWith(utf8, option, EciUtf8, output);
}

} // namespace

namespace DataMatrix {

std::optional<Symbol> encode(const QString& text, int modules)
{
    int option = 0;
    if (modules != 0 && (option = sizeOption(modules)) < 0)
        return std::nullopt;
    const ZintSymbol symbol = encodeText(text, option, Output::Vector);
    if (!symbol)
        return std::nullopt;
    Symbol out;
    out.modules = symbol->width;
    // The vector is drawn at some scale of zint's own; a module is the
    // symbol's width over its modules.
    const double unit = double(symbol->vector->width) / symbol->width;
    for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next) {
        out.dark << QRect(int(std::lround(r->x / unit)), int(std::lround(r->y / unit)),
                          int(std::lround(r->width / unit)), int(std::lround(r->height / unit)));
    }
    return out;
}

int squareSizeFor(const QString& text)
{
    const ZintSymbol symbol = encodeText(text, 0, Output::Modules);
    if (!symbol || sizeOption(symbol->width) < 0)
        return 0;
    return symbol->width;
}

} // namespace DataMatrix
