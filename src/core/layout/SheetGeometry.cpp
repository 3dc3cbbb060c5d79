#include "core/layout/SheetGeometry.h"

#include <QtGlobal>

namespace SheetGeometry {

int labelLeft(int position, const Offsets& offsets)
{
    return BaseLeft + OffsetStep * (offsets.horzIndex - OffsetZeroIndex) +
           Pitch * ((position - 1) % 10);
}

int labelTop(int position, const Offsets& offsets)
{
    return BaseTop + OffsetStep * (offsets.vertIndex - OffsetZeroIndex) +
           Pitch * ((position - 1) / 10);
}

int toDots(int units, int dpi)
{
    return int(qint64(units) * dpi / UnitsPerInch);
}

LabelPlace place(int position, const Offsets& offsets, int dpiX, int dpiY)
{
    const int left = labelLeft(position, offsets);
    const int top = labelTop(position, offsets);
    LabelPlace p;
    p.box = {toDots(left, dpiX), toDots(top, dpiY), toDots(left + BoxSize, dpiX),
             toDots(top + BoxSize, dpiY)};
    p.cx = toDots(left + CentreX, dpiX);
    p.cy = toDots(top + CentreY, dpiY);
    return p;
}

} // namespace SheetGeometry
