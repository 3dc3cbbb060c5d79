#pragma once

#include "core/model/LabelRun.h"
#include "core/model/PrintAppearance.h"

#include <QObject>

class Dialogs;
struct PrintControls;

// How the label looks, the print screen's right side: the text and
// background colours, the sample label (the first label of the run, drawn
// as it prints), its frame, the 2D code, Rainbow and the label font. It
// edits the appearance in place.
class LookPanel final : public QObject {
    Q_OBJECT
public:
    // Builds its controls on the screen's panel, into `c`.
    LookPanel(PrintControls& c, PrintAppearance& look, Dialogs& dialogs);

    void retranslate();
    // Shows the first label of the run on the sample and centres both lines.
    void showSample(const LabelRun& run);
    // PrintSet's last steps: colours back to black on white, Rainbow off.
    void resetAppearance(int repeatCount);
    // The parts of the appearance that PrintSet keeps (the frame, the code).
    void showAppearance();

private:
    void buildColours();
    void buildSample();
    void buildRainbow();
    void showLook();
    void chooseTextColour();
    void chooseBackgroundColour();
    void chooseFrame();
    void chooseCode();
    void chooseRainbow();
    void chooseFont();

    PrintControls& m_c;
    PrintAppearance& m_look;
    Dialogs& m_dialogs;
    LabelRun m_run; // the run PrintSet froze, which a code must fit
};
