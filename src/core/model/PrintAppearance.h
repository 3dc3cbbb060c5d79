#pragma once

#include "core/model/Colours.h"

#include <QColor>
#include <QFont>

// The 2D code in the middle of every label, for the laboratory's scanners.
enum class LabelCode { None, DataMatrix };

// How the labels look, as chosen on the print screen.
struct PrintAppearance {
    int textColorIndex = 0;
    int backgroundIndex = 0;
    QColor customColor = QColor(0, 0, 0); // the colour chosen for "Custom"
    bool rainbow = false;
    bool frame = false; // a white ring on the sample label only, never printed
    QFont font = defaultLabelFont();
    QColor fontColor = QColor(0, 0, 0); // the record's title and time stamp
    LabelCode code = LabelCode::None;

    QColor textColor() const { return Colours::textColorOf(textColorIndex); }
    QColor backgroundColor() const
    {
        return Colours::backgroundColorOf(backgroundIndex, customColor);
    }

    // Bold "ＭＳ Ｐゴシック" at 9 points.
    static QFont defaultLabelFont();

    friend bool operator==(const PrintAppearance&, const PrintAppearance&) = default;
};
