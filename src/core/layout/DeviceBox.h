#pragma once

// A box in device units, as the printer draws it: right and bottom are the
// far edges (left + width, top + height).
struct DeviceBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const DeviceBox&, const DeviceBox&) = default;
};
