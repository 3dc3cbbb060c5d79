#include "core/model/Colours.h"

namespace Colours {

namespace {

struct Rgb {
    int r, g, b;
};

constexpr Rgb TextColors[] = {
    {5, 5, 5},     {255, 0, 0},   {0, 0, 255}, {0, 128, 0},     {255, 255, 0},
    {255, 0, 255}, {0, 255, 255}, {0, 255, 0}, {255, 255, 255},
};

constexpr Rgb BackgroundColors[] = {
    {255, 255, 255}, {255, 255, 0}, {166, 202, 240}, {0, 128, 0},
    {192, 192, 192}, {255, 0, 0},   {0, 255, 255},   {0, 255, 0},
};

// Yellow, aqua, red, lime, cream.
constexpr Rgb RepeatRainbow[RepeatRainbowSize] = {
    {0xFF, 0xFF, 0x00}, {0x00, 0xFF, 0xFF}, {0xFF, 0x00, 0x00},
    {0x00, 0xFF, 0x00}, {0xFF, 0xFB, 0xF0},
};

constexpr Rgb GroupRainbow[GroupRainbowSize] = {
    {0xFF, 0xFF, 0x80}, {0x80, 0xFF, 0x80}, {0x80, 0xFF, 0xFF}, {0xEA, 0x95, 0x15},
    {0xFF, 0x80, 0xFF}, {0x97, 0x83, 0xE7}, {0xCE, 0xCE, 0xCE},
};

constexpr int SheetText[] = {8, 10, 12, 11, 13, 14, 15, 11, 9};
constexpr int SheetBack[] = {9, 13, 30, 11, 22, 10, 15, 11};

QColor toColor(const Rgb& c)
{
    return QColor(c.r, c.g, c.b);
}

int wrapped(int index, int size)
{
    return ((index % size) + size) % size;
}

} // namespace

QStringList textColorItems()
{
    return {QStringLiteral("Black"), QStringLiteral("Red"),    QStringLiteral("Blue"),
            QStringLiteral("Green"), QStringLiteral("Yellow"), QStringLiteral("Magenta"),
            QStringLiteral("Aqua"),  QStringLiteral("Lime"),   QStringLiteral("White")};
}

QStringList backgroundColorItems()
{
    return {QStringLiteral("White"), QStringLiteral("Yellow"), QStringLiteral("SkyBlue"),
            QStringLiteral("Green"), QStringLiteral("Silver"), QStringLiteral("Red"),
            QStringLiteral("Aqua"),  QStringLiteral("Lime"),   QStringLiteral("Custom")};
}

QColor textColorOf(int index)
{
    if (index < 0 || index >= int(std::size(TextColors)))
        return toColor(TextColors[0]);
    return toColor(TextColors[index]);
}

QColor backgroundColorOf(int index, const QColor& custom)
{
    if (index == CustomIndex)
        return custom;
    if (index < 0 || index >= int(std::size(BackgroundColors)))
        return toColor(BackgroundColors[0]);
    return toColor(BackgroundColors[index]);
}

QColor rainbowByRepeat(int n, int repeatCount)
{
    const int index = repeatCount > 0 ? n % repeatCount : 0;
    return toColor(RepeatRainbow[wrapped(index, RepeatRainbowSize)]);
}

QColor rainbowBySampleGroup(int n, int sampleCount)
{
    const int index = sampleCount > 0 ? n / sampleCount : 0;
    return toColor(GroupRainbow[wrapped(index, GroupRainbowSize)]);
}

int sheetTextColorOf(int index)
{
    if (index < 0 || index >= int(std::size(SheetText)))
        return SheetText[0];
    return SheetText[index];
}

int sheetBackColorOf(int index)
{
    if (index < 0 || index >= int(std::size(SheetBack)))
        return -1;
    return SheetBack[index];
}

} // namespace Colours
