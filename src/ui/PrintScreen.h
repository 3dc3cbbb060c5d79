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
    QWidget* printPanel = nullptr;
    SheetMap* sheetMap = nullptr;
    QLabel* startPositionCaption = nullptr; // 開始位置
    QSpinBox* startPositionBox = nullptr;   // the start as a number, beside the map
    QLabel* scaleXCaption = nullptr;        // 横の倍率
    QSpinBox* scaleXBox = nullptr;          // per mille
    QLabel* scaleYCaption = nullptr;        // 縦の倍率
    QSpinBox* scaleYBox = nullptr;
    QPushButton* previewButton = nullptr;   // プレビュー
    QPushButton* testPrintButton = nullptr; // テスト印刷
    ListBox* sheetList = nullptr;           // the sheet the map shows
    QLabel* sheetListCaption = nullptr;     // 枚目
    QGroupBox* offsetGroup = nullptr;
    QLabel* verticalOffsetCaption = nullptr;
    ListBox* verticalOffsetList = nullptr;
    QLabel* horizontalOffsetCaption = nullptr;
    ListBox* horizontalOffsetList = nullptr;
    QLabel* textColourCaption = nullptr;
    ListBox* textColourList = nullptr;
    QLabel* backgroundColourCaption = nullptr;
    ListBox* backgroundColourList = nullptr;
    SampleLabel* sampleLabel = nullptr;
    QCheckBox* frameCheck = nullptr;   // 枠
    QCheckBox* codeCheck = nullptr;    // 2D コード
    QCheckBox* rainbowCheck = nullptr; // Rainbow
    QMenu* sampleMenu = nullptr;       // the sample's context menu
    QAction* fontAction = nullptr;
    QPushButton* printButton = nullptr;
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

    // Every text of the screen in the language now in effect.
    void retranslate();

    // What the window asks of the screen.
    void setShown(bool shown);
    bool isShown() const { return m_shown; }
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
    // The parts of the appearance that PrintSet keeps (the frame, the code).
    void showAppearance();
    // The inputs in the order Tab visits them.
    QList<QWidget*> tabOrder() const;

    void countSheets();
    void showSheet(int sheet);
    int sheetCount() const { return m_sheetCount; }

public Q_SLOTS:
    void trackPointer(int x, int y);
    void chooseStartAtPointer();
    void stepStart(int positions);
    void showChosenSheet();
    void chooseVerticalOffset();
    void chooseHorizontalOffset();
    void chooseTextColour();
    void chooseBackgroundColour();
    void chooseFrame();
    void chooseCode();
    void chooseRainbow();
    void chooseFont();

Q_SIGNALS:
    void startPositionChosen(int position);
    void offsetsChosen(const SheetGeometry::Offsets& offsets);
    void printRequested();
    void previewRequested();
    void testSheetRequested();
    void scaleChosen(int scaleX, int scaleY);

private:
    void build(QWidget* client);
    void buildMap(QWidget* client);
    void buildScale(QWidget* client);
    void buildTrialButtons(QWidget* client);
    void buildSheetsAndOffsets();
    void buildColours();
    void buildSample();
    void buildRainbowAndPrint();
    void showStartField();
    void showLook();

    PrintControls m_c;
    bool m_shown = false;
    PrintAppearance& m_look;
    Dialogs& m_dialogs;
    int m_startPosition = 1;
    int m_labelTotal = 0;
    LabelRun m_run; // the run PrintSet froze, which a code must fit
    int m_sheetCount = 0;
    int m_mouseX = 0;
    int m_mouseY = 0;
};
