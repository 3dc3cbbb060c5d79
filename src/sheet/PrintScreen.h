#pragma once

#include "design/LabelRun.h"
#include "sheet/PrintAppearance.h"

#include <QObject>

#include <functional>

class CircleShape;
class Dialogs;
class ListBox;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;
class SheetMap;
struct WorkingState;

struct PrintControls {
    QWidget* pnlPrint = nullptr;
    SheetMap* pnlCircle = nullptr;
    ListBox* ListBox20 = nullptr; // sheet selector
    QLabel* Label8 = nullptr;     // 枚目
    QGroupBox* GroupBox14 = nullptr;
    QLabel* Label26 = nullptr;
    ListBox* ListBox23 = nullptr; // vertical offset
    QLabel* Label38 = nullptr;
    ListBox* ListBox25 = nullptr; // horizontal offset
    QLabel* Label29 = nullptr;
    ListBox* ListBox21 = nullptr; // text colour
    QLabel* Label25 = nullptr;
    ListBox* ListBox19 = nullptr; // background colour
    QWidget* pnl150 = nullptr;    // the sample label
    CircleShape* Shape1 = nullptr;
    CircleShape* Shape10 = nullptr;
    QLabel* Label7 = nullptr;       // upper line
    QLabel* Label6 = nullptr;       // lower line
    QCheckBox* CheckBox1 = nullptr; // 枠
    QCheckBox* CheckBox2 = nullptr; // Rainbow
    QMenu* PopupMenu1 = nullptr;
    QAction* Font1 = nullptr;
    QPushButton* cmdPrint = nullptr;
};

// The print screen: sheet map and start position, offsets, the sample label
// and the print appearance.
class PrintScreen final : public QObject {
    Q_OBJECT
public:
    PrintScreen(QWidget* client, WorkingState& state, Dialogs& dialogs,
                std::function<bool()> saveStartFile);

    const PrintControls& controls() const { return m_c; }

    void fillStartLists();
    void selectOffsets();

    void CountSheets();
    void ShowSheet(int sheet);

    // Shows the first label of the run on the sample and centres both lines.
    void showSample(const LabelRun& run);
    // PrintSet's last steps: colours back to black on white, Rainbow off.
    void resetAppearance(int repeatCount);

    PrintAppearance appearance() const;

public Q_SLOTS:
    void image7MouseMove(int x, int y);
    void image7Click();
    void ListBox20Click();
    void ListBox23Click();
    void ListBox25Click();
    void ListBox21Click();
    void ListBox19Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void Font1Click();

private:
    void build(QWidget* client);
    void buildSample();
    void setLabelBackgrounds(const QColor& color);

    PrintControls m_c;
    WorkingState& m_state;
    Dialogs& m_dialogs;
    std::function<bool()> m_saveStartFile;
    QColor m_customColor = QColor(0, 0, 0);
    int m_backgroundRow = 0; // the entry the background list shows in effect
};
