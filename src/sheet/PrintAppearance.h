#pragma once

#include "sheet/Colours.h"

#include <QColor>
#include <QFont>

// How the labels look on paper, as chosen on the print screen.
struct PrintAppearance {
    int textColorIndex = 0;
    int backgroundIndex = 0;
    QColor customColor = QColor(0, 0, 0); // the colour chosen for "Custom"
    bool rainbow = false;
    QFont font;
    QColor fontColor = QColor(0, 0, 0); // the record's title and time stamp

    QColor textColor() const { return Colours::TextColorOf(textColorIndex); }
    QColor backgroundColor() const
    {
        return Colours::BackgroundColorOf(backgroundIndex, customColor);
    }
};
