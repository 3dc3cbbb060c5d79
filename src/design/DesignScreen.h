#pragma once

#include "design/DateStamp.h"
#include "design/LabelRun.h"

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
struct WorkingState;

// The controls of the design screen, under the names the program's tables
// use. Entries indexed by type use index = type (0 unused).
struct DesignControls {
    QWidget* pnlMain = nullptr;
    QWidget* PnlType1 = nullptr;
    QWidget* pnlType2 = nullptr;
    QWidget* pnlType3 = nullptr;
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

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPushButton* cmdreset = nullptr;

    ListBox* ListBox1 = nullptr; // letter of type 7
    ListBox* ListBox3 = nullptr; // type 6
    ListBox* ListBox4 = nullptr; // type 2
    ListBox* ListBox5 = nullptr; // type 3, first letter
    ListBox* ListBox6 = nullptr; // type 3, second letter
    ListBox* ListBox8 = nullptr; // type 10

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
};

// The design screen: the twelve label types with their previews, the
// numbering lists and menus, and the input limits. It writes the working
// state and freezes a run for PrintSet.
class DesignScreen final : public QObject {
    Q_OBJECT
public:
    DesignScreen(QWidget* client, QMenuBar* menuBar, WorkingState& state, Clock clock);

    const DesignControls& controls() const { return m_c; }

    // Start-up: lists, date captions, letters, greys (the window's creation
    // handler calls these in its order).
    void fillStartLists();
    void setStartDates();
    void selectStartLetters();
    void RightAlignEdits();

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

    // The run as the design stands (without the free texts of Memo1, which
    // PrintSet takes first with takeFreeTexts).
    LabelRun currentRun() const;
    // Leading non-empty lines of Memo1, at most 60, normalized (see Cp932).
    QStringList takeFreeTexts() const;
    // The letter-list index for the given type (type 3: first letter).
    int letterIndex(int type, int which = 1) const;
    void selectLetters(int type, int letter1, int letter2);

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

Q_SIGNALS:
    // Number display or step changed: the frozen run and the sample follow.
    void numberingChanged();

private:
    void buildPages(QWidget* client);
    void buildPanel(int type, QWidget* page, int x, int y);
    void buildLists(QWidget* client);
    void buildMenus(QMenuBar* menuBar);
    void setStep(QAction* item, int step);
    void limitEdit(QLineEdit* edit);
    void paintBlack(int type);

    DesignControls m_c;
    WorkingState& m_state;
    Clock m_clock;
    bool m_inMemoChange = false;
};
