#pragma once

struct MainControls;
class QWidget;

// The window's frame around the screens: the row of buttons at the top
// (Version, Excel, Report, History, Back, End), the title banners beside
// it, the tabs of the design screen's type pages, and the line along the
// bottom that names the registry.
class ButtonBar {
public:
    // Builds them on the window's client area, into the window's controls.
    ButtonBar(QWidget* client, MainControls& controls);

    void retranslate();
    // The buttons that apply: Excel and Report once there is a last job,
    // Back on the print screen; each in the next place from the left.
    void arrange(bool printScreen, bool lastJob);

private:
    MainControls& m_c;
};
