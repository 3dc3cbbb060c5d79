#pragma once

#include "core/model/LabelDesign.h"
#include "core/model/LabelType.h"
#include "core/numbering/DateStamp.h"

#include <QList>
#include <QObject>

#include <array>

class ListBox;
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

// The controls of the design screen, named by their role. Entries indexed
// by type use index = type (0 unused).
struct DesignControls {
    QWidget* designPanel = nullptr;
    QWidget* types1to4Page = nullptr;
    QWidget* types5to8Page = nullptr;
    QWidget* types9to12Page = nullptr;
    std::array<QWidget*, 3> pages{};
    std::array<QRadioButton*, 13> typeButton{};
    std::array<QWidget*, 13> typePanel{};
    // The type's previews and texts, black while it is selected, and the
    // input that takes the focus first (none where its letters or the
    // numbering come first).
    std::array<QList<QWidget*>, 13> typeTexts{};
    std::array<QWidget*, 13> typeFirstInput{};
    QButtonGroup* typeGroup = nullptr;

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

    QLineEdit* type1UpperEdit = nullptr;
    QLineEdit* type2UpperEdit = nullptr;
    QLineEdit* type3UpperEdit = nullptr;
    QLineEdit* type9UpperEdit = nullptr;
    QLineEdit* type10UpperEdit = nullptr;
    std::array<QLineEdit*, 5> upperEdits{}; // as LabelDesign::upperTexts
    QPlainTextEdit* freeTextMemo = nullptr;
    QPlainTextEdit* type8Memo = nullptr;
    QPushButton* clearFreeTextsButton = nullptr;

    ListBox* type2LetterList = nullptr;
    ListBox* type3FirstLetterList = nullptr;
    ListBox* type3SecondLetterList = nullptr;
    ListBox* type6LetterList = nullptr;
    ListBox* type7LetterList = nullptr;
    ListBox* type10LetterList = nullptr;
    std::array<ListBox*, LetterListCount> letterLists{}; // by LetterList

    // Number captions
    QLabel* type1NumberCaption = nullptr;
    QLabel* type2NumberCaption = nullptr;
    QLabel* type3NumberCaption = nullptr;
    QLabel* type4NumberCaption = nullptr;
    QLabel* type5NumberCaption = nullptr;
    QLabel* type6NumberCaption = nullptr;
    QLabel* type7NumberCaption = nullptr;
    // Date captions: month-day and year-month
    QLabel* type4DateCaption = nullptr;
    QLabel* type7DateCaption = nullptr;
    QLabel* type11DateCaption = nullptr;
    QLabel* type5DateCaption = nullptr;
    QLabel* type6DateCaption = nullptr;
    QLabel* type12DateCaption = nullptr;
    // Pointers at the free-text memo
    QLabel* type9FreeTextPointer = nullptr;
    QLabel* type10FreeTextPointer = nullptr;
    QLabel* type11FreeTextPointer = nullptr;
    QLabel* type12FreeTextPointer = nullptr;

    QMenu* numberDisplayMenu = nullptr; // 数字表示
    QAction* paddedNumbersAction = nullptr;
    QAction* plainNumbersAction = nullptr;
    QMenu* stepMenu = nullptr; // ステップ
    QAction* step1Action = nullptr;
    QAction* step2Action = nullptr;
    QAction* step3Action = nullptr;
    QAction* step5Action = nullptr;
    QAction* step10Action = nullptr;
    std::array<QAction*, 5> stepActions{}; // by NumberSteps
};

// The design screen: the twelve label types with their previews, the
// numbering lists and menus, and the input limits. It shows a LabelDesign
// and writes the user's choices into it; it never decides a label.
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

    // Selecting a type and what it entails.
    void selectType(int type);
    void enableTypePanel(int type);
    void highlightLabelType(int type);
    void greyAllPreviews();
    void fillFirstNumberList(int digits);
    void showDateAdjust(bool shown);
    void fillRepeatList();
    void showFirstNumber(bool plain);
    void applyDateAdjust(int index);
    void uncheckStepActions();

public Q_SLOTS:
    void choosePaddedNumbers();
    void choosePlainNumbers();
    void chooseStep1();
    void chooseStep2();
    void chooseStep3();
    void chooseStep5();
    void chooseStep10();
    void chooseFirstNumber();
    void chooseSampleCount();
    void chooseRepeatCount();
    void chooseDateAdjust();
    void takeType1Upper();
    void takeType2Upper();
    void takeType3Upper();
    void takeType9Upper();
    void takeType10Upper();
    void takeType8Lines();
    void takeFreeTexts();
    void clearFreeTexts();

protected:
    // The arrow keys on a type button.
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // Number display or step changed: the frozen run and the sample follow.
    void numberingChanged();
    void printSetRequested();
    // Any change the user made to the design.
    void designEdited();

private:
    void buildPages(QWidget* client);
    void buildPanel(int type, QWidget* page, int x, int y);
    void buildNumberedControls(int type, QWidget* panel);
    void buildTypedControls(int type, QWidget* panel);
    void buildLists(QWidget* client);
    void buildMenus(QMenuBar* menuBar);
    void listTypeControls();
    void setStep(QAction* item, int step);
    void takeUpperText(int index);
    void paintBlack(int type);
    void tabToCheckedType();
    void showLetters();
    void showMemos();

    DesignControls m_c;
    LabelDesign& m_design;
    Clock m_clock;
    bool m_inMemoChange = false;
};
