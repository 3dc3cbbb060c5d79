#pragma once

#include <QObject>

struct DesignControls;
struct LabelDesign;

// What the user types for the labels: the upper texts, the letters, type
// 8's two lines and the free texts of types 9 to 12. Each is held to what a
// label takes (in code page 932 bytes) as it is typed, and goes into the
// design.
class LabelTextInputs final : public QObject {
    Q_OBJECT
public:
    // The inputs are those TypePages built.
    LabelTextInputs(DesignControls& controls, LabelDesign& design, QObject* parent);

    void retranslate();
    // The design's texts and letters, running no handler.
    void showTexts();
    void showLetters();

Q_SIGNALS:
    void edited();

private:
    void takeUpperText(int type);
    void takeType8Lines();
    void takeFreeTexts();
    void clearFreeTexts();

    DesignControls& m_c;
    LabelDesign& m_design;
    bool m_inMemoChange = false;
};
