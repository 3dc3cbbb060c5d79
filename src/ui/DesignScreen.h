#pragma once

#include "core/model/LabelDesign.h"
#include "core/model/LabelType.h"
#include "core/numbering/DateStamp.h"

#include <QList>
#include <QObject>

#include <array>

class LabelTextInputs;
class ListBox;
class NumberingLists;
class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class TypePages;

// Where a label type sits on the design screen: its tab page (0..2) and its
// place on the page (0..3: left, right, lower left, lower right).
inline int typePage(int type)
{
    return type >= FirstLabelType && type <= LastLabelType ? (type - 1) / 4 : 0;
}
inline int typeSlot(int type)
{
    return type >= FirstLabelType && type <= LastLabelType ? (type - 1) % 4 : 0;
}

// One entry per label type: index = type (0 unused), null where the type
// has no such control.
template <typename T>
using ByType = std::array<T, LastLabelType + 1>;

// The controls of the design screen, named by their role.
struct DesignControls {
    QWidget* designPanel = nullptr;
    std::array<QWidget*, 3> pages{}; // types 1-4, 5-8 and 9-12
    ByType<QRadioButton*> typeButton{};
    ByType<QWidget*> typePanel{};
    // The type's previews and texts, black while it is selected, and the
    // input that takes the focus first (none where its letters or the
    // numbering come first).
    ByType<QList<QWidget*>> typeTexts{};
    ByType<QWidget*> typeFirstInput{};
    QButtonGroup* typeGroup = nullptr;

    // What the panels show and take, by type.
    ByType<QLineEdit*> upperEdit{};                      // types 1, 2, 3, 9 and 10
    ByType<QLabel*> numberCaption{};                     // types 1..7
    ByType<QLabel*> dateCaption{};                       // types 4..7, 11 and 12
    ByType<QLabel*> freeTextPointer{};                   // types 9..12: their texts are in the memo
    std::array<ListBox*, LetterListCount> letterLists{}; // by LetterList
    QPlainTextEdit* type8Memo = nullptr;
    QPlainTextEdit* freeTextMemo = nullptr;
    QPushButton* clearFreeTextsButton = nullptr;

    QLabel* firstNumberCaption = nullptr; // 初期値
    ListBox* firstNumberList = nullptr;
    QLabel* repeatCountCaption = nullptr; // リピート数
    ListBox* repeatCountList = nullptr;
    QLabel* sampleCountCaption = nullptr; // サンプル数
    ListBox* sampleCountList = nullptr;
    QLabel* dateAdjustCaption = nullptr; // 日時調整
    ListBox* dateAdjustList = nullptr;
    QPushButton* printSetButton = nullptr;
    QLabel* nextJobLine = nullptr; // where the next job starts

    QMenu* numberDisplayMenu = nullptr; // 数字表示
    QAction* paddedNumbersAction = nullptr;
    QAction* plainNumbersAction = nullptr;
    QMenu* stepMenu = nullptr;             // ステップ
    std::array<QAction*, 5> stepActions{}; // by NumberSteps

    ListBox* letters(LetterList list) const { return letterLists[size_t(list)]; }
};

// The design screen: the twelve label types with their previews, the
// numbering lists and menus, and the input limits. It shows a LabelDesign
// and writes the user's choices into it; it never decides a label. Its
// parts: TypePages (the type buttons and panels), LabelTextInputs (what is
// typed into them) and NumberingLists (the lists and menus of the run);
// the screen coordinates them.
class DesignScreen final : public QObject {
    Q_OBJECT
public:
    DesignScreen(QWidget* client, QMenuBar* menuBar, LabelDesign& design, Clock clock);

    const DesignControls& controls() const { return m_c; }

    // Every text of the screen in the language now in effect.
    void retranslate();

    // What the window asks of the screen.
    // The lists and the page of the design's type; shown, the focus goes to
    // the type's first input.
    void setShown(bool shown);
    void showPage(int page); // a tab: shows the page and selects its first type
    // Every control from the design, running no handler: at start-up, and
    // for a design that was opened or restored.
    void showDesign();
    // The start-up state of the type panels.
    void showStartPanels();
    // After a job: the first number and the letters where the run goes on.
    void showNumbering();
    // The date captions from the clock and the design's date adjust.
    void showDates();
    // The type's first input: its text, its letters, the first number, or
    // the free texts.
    void focusFirstInput();
    // The line that says where the next job starts.
    void showNext(const QString& text);
    // The inputs in the order Tab visits them (disabled and hidden ones are
    // passed over).
    QList<QWidget*> tabOrder() const;

Q_SIGNALS:
    // The user chose another type; its numbering is shown once the
    // handlers return, so that they may set where it goes on.
    void typeChanged(int type);
    // Number display or step changed: the frozen run and the sample follow.
    void numberingChanged();
    void printSetRequested();
    // Any change the user made to the design.
    void designEdited();

private:
    void selectType(int type);

    DesignControls m_c;
    LabelDesign& m_design;
    Clock m_clock;
    TypePages* m_pages = nullptr;
    LabelTextInputs* m_inputs = nullptr;
    NumberingLists* m_numbering = nullptr;
};
