#pragma once

#include <QObject>

class QMenuBar;
class QWidget;
struct DesignControls;
struct LabelDesign;
struct LabelTypeTraits;

// The run on the design screen: the lists of the first number, the sample
// count, the repeat count and the date adjust on the design panel, with
// PrintSet and the line about the next job below them, and the menus of
// the number display and the step.
class NumberingLists final : public QObject {
    Q_OBJECT
public:
    NumberingLists(DesignControls& controls, LabelDesign& design, QWidget* client,
                   QMenuBar* menuBar, QObject* parent);

    void retranslate();
    // Every list and menu from the design, running no handler.
    void showDesign();
    // The lists a type has, and their ranges; the first number and the
    // repeat count are fitted to them.
    void showType(const LabelTypeTraits& traits);
    void fitToType(const LabelTypeTraits& traits);
    void showFirstNumber();
    // Tab pages of types 1..8 show the design's sample count.
    void showSampleCount();

Q_SIGNALS:
    // The first number or its display changed: the previews follow.
    void numberShown();
    // The date adjust changed, to `index` of its list: the dates follow.
    void dateAdjusted(int index);
    // Number display or step changed.
    void numberingChanged();
    void edited();

private:
    void buildMenus(QMenuBar* menuBar);
    void showDateAdjust(bool shown);
    void choosePlainNumbers(bool plain);
    // The step chosen from the menu, by its index in NumberSteps.
    void chooseStep(int index);
    void chooseFirstNumber();
    void chooseSampleCount();
    void chooseRepeatCount();
    void chooseDateAdjust();

    DesignControls& m_c;
    LabelDesign& m_design;
};
