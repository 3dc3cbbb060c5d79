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
    // Only the corner moves with the scale; the box and its centre keep
    // their size in units. With 1000 this is toDots() of every value.
    const qint64 left = qint64(labelLeft(position, offsets)) * offsets.scaleX;
    const qint64 top = qint64(labelTop(position, offsets)) * offsets.scaleY;
    const auto dots = [](qint64 milliUnits, int dpi) {
        return int(milliUnits * dpi / (qint64(UnitsPerInch) * ScaleOne));
    };
    LabelPlace p;
    p.box = {dots(left, dpiX), dots(top, dpiY), dots(left + BoxSize * ScaleOne, dpiX),
             dots(top + BoxSize * ScaleOne, dpiY)};
    p.cx = dots(left + CentreX * ScaleOne, dpiX);
    p.cy = dots(top + CentreY * ScaleOne, dpiY);
    return p;
}

} // namespace SheetGeometry
