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

// The print screen: where the labels go (PlacementPanel: the sheet map and
// start position, the sheets, offsets and scale) and how they look
// (LookPanel: colours, the sample label, frame, code, Rainbow, font), with
// Print. It shows the run, the start position and the offsets it is given
// and reports the user's choices of them; the appearance it edits in place.
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
    int sheetCount() const;

Q_SIGNALS:
    void startPositionChosen(int position);
    void offsetsChosen(const SheetGeometry::Offsets& offsets);
    void printRequested();
    void previewRequested();
    void testSheetRequested();
    void scaleChosen(int scaleX, int scaleY);

private:
    PrintControls m_c;
    PlacementPanel* m_placement = nullptr;
    LookPanel* m_lookPanel = nullptr;
    bool m_shown = false;
};
