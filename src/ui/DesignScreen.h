#pragma once

#include "core/model/LabelDesign.h"
#include "core/numbering/DateStamp.h"

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

// The controls of the design screen, under the names the program's tables
// use. Entries indexed by type use index = type (0 unused).
struct DesignControls {
    QWidget* pnlMain = nullptr;
    QWidget* PnlType1 = nullptr;
    QWidget* pnlType2 = nullptr;
    QWidget* pnlType3 = nullptr;
    std::array<QWidget*, 3> pages{};
    std::array<QRadioButton*, 13> typeButton{};
    std::array<QWidget*, 13> typePanel{};
    QButtonGroup* typeGroup = nullptr;

    QLabel* Label14 = nullptr; // 初期値
    ListBox* ListBox12 = nullptr;
    QLabel* Label19 = nullptr; // リピート数
    ListBox* ListBox7 = nullptr;
    QLabel* Label1 = nullptr; // サンプル数
    ListBox* ListBox2 = nullptr;
    QLabel* Label30 = nullptr; // 日時調整
    ListBox* ListBox9 = nullptr;
    QPushButton* cmdPrintSet = nullptr;
    QLabel* NextJob = nullptr; // where the next job starts

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    std::array<QLineEdit*, 5> upperEdits{}; // Edit1..Edit5
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPushButton* cmdreset = nullptr;

    ListBox* ListBox1 = nullptr;                         // letter of type 7
    ListBox* ListBox3 = nullptr;                         // type 6
    ListBox* ListBox4 = nullptr;                         // type 2
    ListBox* ListBox5 = nullptr;                         // type 3, first letter
    ListBox* ListBox6 = nullptr;                         // type 3, second letter
    ListBox* ListBox8 = nullptr;                         // type 10
    std::array<ListBox*, LetterListCount> letterLists{}; // by LetterList

    // Number captions
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label18 = nullptr;
    // Date captions: month-day and year-month
    QLabel* Label10 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label21 = nullptr;
    // Pointers at the free-text memo
    QLabel* Label20 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label24 = nullptr;
    QLabel* Label28 = nullptr;

    QMenu* N2 = nullptr; // 数字表示
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QMenu* N5 = nullptr; // ステップ
    QAction* N11 = nullptr;
    QAction* N21 = nullptr;
    QAction* N31 = nullptr;
    QAction* N51 = nullptr;
    QAction* N101 = nullptr;
    std::array<QAction*, 5> stepItems{}; // N11..N101, by NumberSteps
};

// The design screen: the twelve label types with their previews, the
// numbering lists and menus, and the input limits. It shows a LabelDesign
// and writes the user's choices into it; it never decides a label.
class DesignScreen final : public QObject {
    Q_OBJECT
public:
    DesignScreen(QWidget* client, QMenuBar* menuBar, LabelDesign& design, Clock clock);

    const DesignControls& controls() const { return m_c; }

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
    void EnableTypePanel(int type);
    void HighlightLabelType(int type);
    void GreyAllPreviews();
    void FillFirstNumberList(int digits);
    void ShowDateAdjust(bool shown);
    void FillRepeatList();
    void ShowFirstNumber(bool plain);
    void ApplyDateAdjust(int index);
    void UncheckStepItems();

public Q_SLOTS:
    void N3Click();
    void N4Click();
    void N11Click();
    void N21Click();
    void N31Click();
    void N51Click();
    void N101Click();
    void ListBox12Click();
    void ListBox2Click();
    void ListBox7Click();
    void ListBox9Click();
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Edit4Change();
    void Edit5Change();
    void Memo2Change();
    void Memo1Change();
    void cmdresetClick();

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
    void buildLists(QWidget* client);
    void buildMenus(QMenuBar* menuBar);
    void setStep(QAction* item, int step);
    void limitEdit(int index);
    void paintBlack(int type);
    void tabToCheckedType();
    void showLetters();
    void showMemos();

    DesignControls m_c;
    LabelDesign& m_design;
    Clock m_clock;
    bool m_inMemoChange = false;
};
