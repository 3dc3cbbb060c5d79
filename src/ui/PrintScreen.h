#pragma once

#include "core/layout/SheetGeometry.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintAppearance.h"

#include <QObject>

class Dialogs;
class ListBox;
class LookPanel;
class PlacementPanel;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QWidget;
class SampleLabel;
class SheetCatalogue;
class SheetChooser;
class SheetMap;
struct SheetChoice;

struct PrintControls {
    QWidget* printPanel = nullptr;
    SheetMap* sheetMap = nullptr;
    QLabel* startPositionCaption = nullptr; // 開始位置
    QSpinBox* startPositionBox = nullptr;   // the start as a number, beside the map
    QLabel* startRangeLine = nullptr;       // the sheet's positions, while the start is off it
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
    QLabel* jobSummaryLine = nullptr;   // what Print prints
    QLabel* printRefusalLine = nullptr; // beside Print: why it cannot print now
};

// The print screen: where the labels go (PlacementPanel: the sheet map and
// start position, the sheets, offsets and scale) and how they look
// (LookPanel: colours, the sample label, frame, code, Rainbow, font), with
// Print, the line above it that says what Print prints, and beside it why
// Print cannot print when it cannot. It shows the run, the start position
// and the offsets it is given and reports the user's choices of them; the
// appearance it edits in place.
class PrintScreen final : public QObject {
    Q_OBJECT
public:
    PrintScreen(QWidget* client, PrintAppearance& look, Dialogs& dialogs, SheetCatalogue& sheets);

    const PrintControls& controls() const { return m_c; }

    // Every text of the screen in the language now in effect.
    void retranslate();

    // What the window asks of the screen.
    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    void showOffsets(const SheetGeometry::Offsets& offsets);
    // The run PrintSet froze, from a start position, with the design's date
    // adjustment: the sheets, the sample and the summary.
    void showRun(const LabelRun& run, int startPosition, int dateAdjust);
    // A new start position: the map and the sheets count from it.
    void showStart(int startPosition);
    // The station's sheet: chosen in the list, drawn by the map.
    void showLabelSheet(const SheetChoice& choice);
    // A start typed but not confirmed yet is chosen now (Print, Back).
    void takeTypedStart();
    // PrintSet's last steps: colours back to black on white, Rainbow off.
    void resetAppearance(int repeatCount);
    // Shows the first label of the run on the sample and centres both lines.
    void showSample(const LabelRun& run);
    // Print takes no click while a job runs.
    void setPrintEnabled(bool enabled);
    void showScale(int scaleX, int scaleY);
    // The parts of the appearance that PrintSet keeps (the frame, the code).
    void showAppearance();
    // The inputs in the order Tab visits them.
    QList<QWidget*> tabOrder() const;
    int sheetCount() const;

Q_SIGNALS:
    void startPositionChosen(int position);
    void sheetChosen(const SheetChoice& choice);
    void offsetsChosen(const SheetGeometry::Offsets& offsets);
    void printRequested();
    void previewRequested();
    void testSheetRequested();
    void scaleChosen(int scaleX, int scaleY);

private:
    void buildPrint();
    void requestPrint();
    // The summary, and whether Print can print and why not.
    void showJob();
    QString printRefusal() const;

    PrintControls m_c;
    PlacementPanel* m_placement = nullptr;
    SheetChooser* m_sheets = nullptr;
    LookPanel* m_lookPanel = nullptr;
    const PrintAppearance& m_look;
    LabelRun m_run;
    int m_dateAdjust = 0;
    bool m_jobRunning = false;
    bool m_shown = false;
};
