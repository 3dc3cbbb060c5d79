#pragma once

#include "core/layout/SheetGeometry.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintAppearance.h"

#include <QObject>

#include <functional>

class Dialogs;
class ListBox;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QWidget;
class SampleLabel;
class SheetMap;

struct PrintControls {
    QWidget* pnlPrint = nullptr;
    SheetMap* pnlCircle = nullptr;
    QLabel* StartPositionLabel = nullptr; // 開始位置
    QSpinBox* StartPosition = nullptr;    // the start as a number, beside the map
    QLabel* ScaleXLabel = nullptr;        // 横の倍率
    QSpinBox* ScaleX = nullptr;           // per mille
    QLabel* ScaleYLabel = nullptr;        // 縦の倍率
    QSpinBox* ScaleY = nullptr;
    QPushButton* cmdPreview = nullptr;   // プレビュー
    QPushButton* cmdTestPrint = nullptr; // テスト印刷
    ListBox* ListBox20 = nullptr;        // sheet selector
    QLabel* Label8 = nullptr;            // 枚目
    QGroupBox* GroupBox14 = nullptr;
    QLabel* Label26 = nullptr;
    ListBox* ListBox23 = nullptr; // vertical offset
    QLabel* Label38 = nullptr;
    ListBox* ListBox25 = nullptr; // horizontal offset
    QLabel* Label29 = nullptr;
    ListBox* ListBox21 = nullptr; // text colour
    QLabel* Label25 = nullptr;
    ListBox* ListBox19 = nullptr;   // background colour
    SampleLabel* pnl150 = nullptr;  // the sample label
    QCheckBox* CheckBox1 = nullptr; // 枠
    QCheckBox* CheckBox2 = nullptr; // Rainbow
    QMenu* PopupMenu1 = nullptr;
    QAction* Font1 = nullptr;
    QPushButton* cmdPrint = nullptr;
};

// The print screen: sheet map and start position, offsets, the sample label
// and the print appearance. It shows the run, the start position and the
// offsets it is given and reports the user's choices of them; the
// appearance it edits in place.
class PrintScreen final : public QObject {
    Q_OBJECT
public:
    PrintScreen(QWidget* client, PrintAppearance& look, Dialogs& dialogs);

    const PrintControls& controls() const { return m_c; }

    // What the window asks of the screen.
    void setShown(bool shown);
    void showOffsets(const SheetGeometry::Offsets& offsets);
    // The run PrintSet froze, from a start position: the sheets and the sample.
    void showRun(const LabelRun& run, int startPosition);
    // A new start position: the map and the sheets count from it.
    void showStart(int startPosition);
    // PrintSet's last steps: colours back to black on white, Rainbow off.
    void resetAppearance(int repeatCount);
    // Shows the first label of the run on the sample and centres both lines.
    void showSample(const LabelRun& run);
    void setPrintEnabled(bool enabled);
    void showScale(int scaleX, int scaleY);
    // The parts of the appearance that PrintSet keeps (the frame).
    void showAppearance();
    // The inputs in the order Tab visits them.
    QList<QWidget*> tabOrder() const;

    void CountSheets();
    void ShowSheet(int sheet);
    int sheetCount() const { return m_sheetCount; }

public Q_SLOTS:
    void image7MouseMove(int x, int y);
    void image7Click();
    void stepStart(int positions);
    void ListBox20Click();
    void ListBox23Click();
    void ListBox25Click();
    void ListBox21Click();
    void ListBox19Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void Font1Click();

Q_SIGNALS:
    void startPositionChosen(int position);
    void offsetsChosen(const SheetGeometry::Offsets& offsets);
    void printRequested();
    void previewRequested();
    void testSheetRequested();
    void scaleChosen(int scaleX, int scaleY);

private:
    void build(QWidget* client);
    void buildSample();
    void showStartField();
    void showLook();

    PrintControls m_c;
    PrintAppearance& m_look;
    Dialogs& m_dialogs;
    int m_startPosition = 1;
    int m_labelTotal = 0;
    int m_sheetCount = 0;
    int m_mouseX = 0;
    int m_mouseY = 0;
};
