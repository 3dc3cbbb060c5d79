#include "ui/PrintScreen.h"

#include "ui/SampleLabel.h"

#include "core/layout/SheetLayout.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/PrintSheet.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/ListBox.h"
#include "ui/SheetMap.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>

namespace {

QStringList offsetItems()
{
    QStringList items;
    for (int i = 0; i <= 20; ++i) {
        const int halfSteps = i - 10;
        items << (halfSteps % 2 == 0 ? QString::number(halfSteps / 2)
                                     : QString::number(halfSteps / 2.0, 'f', 1));
    }
    return items;
}

ListBox* makeList(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* list = new ListBox(parent);
    Controls::name(list, name);
    list->setGeometry(x, y, w, h);
    return list;
}

} // namespace

PrintScreen::PrintScreen(QWidget* client, PrintAppearance& look, Dialogs& dialogs)
    : QObject(client), m_look(look), m_dialogs(dialogs)
{
    build(client);
    m_c.textColourList->setItems(Colours::textColorItems());
    m_c.textColourList->selectRow(0);
    m_c.backgroundColourList->setItems(Colours::backgroundColorItems());
    m_c.backgroundColourList->selectRow(0);
    m_c.verticalOffsetList->setItems(offsetItems());
    m_c.horizontalOffsetList->setItems(offsetItems());
}

void PrintScreen::build(QWidget* client)
{
    m_c.printPanel = new QWidget(client);
    m_c.printPanel->setObjectName(QStringLiteral("printPanel"));
    m_c.printPanel->setGeometry(392, 141, 425, 428);
    buildMap(client);
    buildScale(client);
    buildTrialButtons(client);
    buildSheetsAndOffsets();
    buildColours();
    buildSample();
    buildRainbowAndPrint();
    retranslate();
}

void PrintScreen::retranslate()
{
    Controls::setCaption(m_c.startPositionCaption, tr("開始位置"));
    Controls::setCaption(m_c.scaleXCaption, tr("横の倍率"));
    Controls::setCaption(m_c.scaleYCaption, tr("縦の倍率"));
    m_c.previewButton->setText(tr("プレビュー"));
    m_c.testPrintButton->setText(tr("テスト印刷"));
    Controls::setCaption(m_c.sheetListCaption, tr("枚目"));
    // Between the list and the offsets.
    Controls::fitCaption(m_c.sheetListCaption, m_c.offsetGroup->x() - m_c.sheetListCaption->x() - 4);
    m_c.offsetGroup->setTitle(tr("オフセット"));
    Controls::setCaption(m_c.verticalOffsetCaption, tr("縦方向（＋は下）に移動"));
    Controls::setCaption(m_c.horizontalOffsetCaption, tr("横方向（＋は右）に移動"));
    Controls::setCaption(m_c.textColourCaption, tr("文字の色"));
    Controls::setCaption(m_c.backgroundColourCaption, tr("背景の色"));
    m_c.rainbowCheck->setText(tr("Rainbow"));
    m_c.rainbowCheck->setAccessibleDescription(tr("ラベルの地の色を順に変えて印刷します"));
    m_c.printButton->setText(tr("Print"));
    m_c.sampleLabel->setAccessibleDescription(tr("右クリックでフォントを選べます"));
    m_c.codeCheck->setText(tr("2D コード"));
    m_c.codeCheck->setAccessibleDescription(
        tr("ラベルの中央に、文字と同じ内容の Data Matrix コードを印刷します"));
    m_c.frameCheck->setText(tr("枠"));
    // In the sample's lower right corner; a longer word takes more of it.
    const QStyle* style = m_c.frameCheck->style();
    const int frameWidth =
        std::max(37, style->pixelMetric(QStyle::PM_IndicatorWidth) +
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) +
                         m_c.frameCheck->fontMetrics().horizontalAdvance(m_c.frameCheck->text()));
    m_c.frameCheck->setGeometry(m_c.sampleLabel->width() - frameWidth, 144, frameWidth, 22);
    m_c.frameCheck->setAccessibleDescription(
        tr("見本のラベルにだけ枠を付けます。印刷はされません"));
    m_c.fontAction->setText(tr("Font"));
    m_c.sheetMap->retranslate();
    m_c.sampleLabel->retranslate();
}

void PrintScreen::buildMap(QWidget* client)
{
    m_c.sheetMap = new SheetMap(client);
    m_c.sheetMap->resize(289, 425);
    // The sheet map stands left of the print panel.
    m_c.sheetMap->move(m_c.printPanel->x() - m_c.sheetMap->width(), m_c.printPanel->y());
    connect(m_c.sheetMap, &SheetMap::pointerMoved, this, &PrintScreen::trackPointer);
    connect(m_c.sheetMap, &SheetMap::clicked, this, &PrintScreen::chooseStartAtPointer);
    connect(m_c.sheetMap, &SheetMap::startStepped, this, &PrintScreen::stepStart);

    // The start as a number, left of the map: typed, or stepped with the arrows.
    m_c.startPositionCaption = Controls::label(client, "startPositionCaption", QString(), 16, 173);
    m_c.startPositionBox = new QSpinBox(client);
    Controls::name(m_c.startPositionBox, "startPositionBox");
    Controls::nameAfter(m_c.startPositionBox, m_c.startPositionCaption);
    m_c.startPositionBox->setRange(1, SheetLayout::Positions);
    m_c.startPositionBox->setGeometry(16, 195, 80, 30);
    m_c.startPositionBox->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Only a finished number moves the start: Enter, leaving the field, or a step.
    m_c.startPositionBox->setKeyboardTracking(false);
    connect(m_c.startPositionBox, &QSpinBox::valueChanged, this, &PrintScreen::startPositionChosen);
}

void PrintScreen::buildScale(QWidget* client)
{
    // A printer that scales its pages a little: the positions follow, per
    // mille, measured on a test sheet.
    auto scale = [client, this](const char* labelName, const char* name, int y) {
        QLabel* label = Controls::label(client, labelName, QString(), 16, y);
        auto* box = new QSpinBox(client);
        Controls::name(box, name);
        Controls::nameAfter(box, label);
        box->setRange(SheetGeometry::MinScale, SheetGeometry::MaxScale);
        box->setValue(SheetGeometry::ScaleOne);
        box->setSuffix(QStringLiteral(" ‰"));
        box->setGeometry(16, y + 22, 80, 30);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setKeyboardTracking(false);
        connect(box, &QSpinBox::valueChanged, this,
                [this] { Q_EMIT scaleChosen(m_c.scaleXBox->value(), m_c.scaleYBox->value()); });
        return std::pair{label, box};
    };
    std::tie(m_c.scaleXCaption, m_c.scaleXBox) = scale("scaleXCaption", "scaleXBox", 245);
    std::tie(m_c.scaleYCaption, m_c.scaleYBox) = scale("scaleYCaption", "scaleYBox", 305);
}

void PrintScreen::buildTrialButtons(QWidget* client)
{
    m_c.previewButton = new QPushButton(client);
    Controls::name(m_c.previewButton, "previewButton");
    m_c.previewButton->setGeometry(6, 478, 94, 36);
    connect(m_c.previewButton, &QPushButton::clicked, this, &PrintScreen::previewRequested);
    m_c.testPrintButton = new QPushButton(client);
    Controls::name(m_c.testPrintButton, "testPrintButton");
    m_c.testPrintButton->setGeometry(6, 522, 94, 36);
    connect(m_c.testPrintButton, &QPushButton::clicked, this, &PrintScreen::testSheetRequested);
}

void PrintScreen::buildSheetsAndOffsets()
{
    QWidget* panel = m_c.printPanel;
    m_c.sheetList = makeList(panel, "sheetList", 8, 8, 52, 150);
    m_c.sheetListCaption = Controls::label(panel, "sheetListCaption", QString(), 64, 10);
    Controls::nameAfter(m_c.sheetList, m_c.sheetListCaption);

    m_c.offsetGroup = new QGroupBox(panel);
    Controls::name(m_c.offsetGroup, "offsetGroup");
    m_c.offsetGroup->setGeometry(104, 0, 313, 164);
    m_c.verticalOffsetCaption =
        Controls::label(m_c.offsetGroup, "verticalOffsetCaption", QString(), 8, 20, 148, 40);
    m_c.verticalOffsetCaption->setWordWrap(true);
    m_c.verticalOffsetList = makeList(m_c.offsetGroup, "verticalOffsetList", 8, 62, 140, 94);
    Controls::nameAfter(m_c.verticalOffsetList, m_c.verticalOffsetCaption);
    m_c.horizontalOffsetCaption =
        Controls::label(m_c.offsetGroup, "horizontalOffsetCaption", QString(), 160, 20, 148, 40);
    m_c.horizontalOffsetCaption->setWordWrap(true);
    m_c.horizontalOffsetList = makeList(m_c.offsetGroup, "horizontalOffsetList", 160, 62, 140, 94);
    Controls::nameAfter(m_c.horizontalOffsetList, m_c.horizontalOffsetCaption);

    connect(m_c.sheetList, &ListBox::currentRowChanged, this, &PrintScreen::showChosenSheet);
    connect(m_c.verticalOffsetList, &ListBox::currentRowChanged, this,
            &PrintScreen::chooseVerticalOffset);
    connect(m_c.horizontalOffsetList, &ListBox::currentRowChanged, this,
            &PrintScreen::chooseHorizontalOffset);
}

void PrintScreen::buildColours()
{
    QWidget* panel = m_c.printPanel;
    m_c.textColourCaption = Controls::label(panel, "textColourCaption", QString(), 8, 170);
    m_c.textColourList = makeList(panel, "textColourList", 8, 192, 112, 188);
    Controls::nameAfter(m_c.textColourList, m_c.textColourCaption);
    m_c.backgroundColourCaption =
        Controls::label(panel, "backgroundColourCaption", QString(), 128, 170);
    m_c.backgroundColourList = makeList(panel, "backgroundColourList", 128, 192, 112, 188);
    Controls::nameAfter(m_c.backgroundColourList, m_c.backgroundColourCaption);

    connect(m_c.textColourList, &ListBox::currentRowChanged, this, &PrintScreen::chooseTextColour);
    connect(m_c.backgroundColourList, &ListBox::currentRowChanged, this,
            &PrintScreen::chooseBackgroundColour);
    // "Custom" clicked again while selected: choose another custom colour.
    connect(m_c.backgroundColourList, &ListBox::currentRowClickedAgain, this, [this](int row) {
        if (row == Colours::CustomIndex)
            chooseBackgroundColour();
    });
}

void PrintScreen::buildRainbowAndPrint()
{
    m_c.rainbowCheck = new QCheckBox(m_c.printPanel);
    Controls::name(m_c.rainbowCheck, "rainbowCheck");
    m_c.rainbowCheck->setGeometry(8, 390, 120, 24);
    m_c.rainbowCheck->hide();
    connect(m_c.rainbowCheck, &QCheckBox::toggled, this, &PrintScreen::chooseRainbow);

    m_c.printButton = new QPushButton(m_c.printPanel);
    Controls::name(m_c.printButton, "printButton");
    m_c.printButton->setGeometry(252, 350, 165, 70);
    m_c.printButton->setFont(Controls::gothic(20));
    connect(m_c.printButton, &QPushButton::clicked, this, &PrintScreen::printRequested);
}

void PrintScreen::buildSample()
{
    m_c.sampleLabel = new SampleLabel(m_c.printPanel);
    Controls::name(m_c.sampleLabel, "sampleLabel");
    m_c.sampleLabel->setGeometry(252, 170, 153, 169);
    m_c.sampleLabel->setContextMenuPolicy(Qt::CustomContextMenu);

    m_c.frameCheck = new QCheckBox(m_c.sampleLabel);
    Controls::name(m_c.frameCheck, "frameCheck");
    m_c.codeCheck = new QCheckBox(m_c.sampleLabel);
    Controls::name(m_c.codeCheck, "codeCheck");
    m_c.codeCheck->setGeometry(0, 147, 84, 22);

    m_c.sampleMenu = new QMenu(m_c.sampleLabel);
    m_c.sampleMenu->setObjectName(QStringLiteral("sampleMenu"));
    m_c.fontAction = m_c.sampleMenu->addAction(QString());
    m_c.fontAction->setObjectName(QStringLiteral("fontAction"));
    connect(m_c.frameCheck, &QCheckBox::clicked, this, &PrintScreen::chooseFrame);
    connect(m_c.codeCheck, &QCheckBox::clicked, this, &PrintScreen::chooseCode);
    connect(m_c.fontAction, &QAction::triggered, this, &PrintScreen::chooseFont);
    connect(m_c.sampleLabel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_c.sampleMenu->popup(m_c.sampleLabel->mapToGlobal(at)); });
}

void PrintScreen::setShown(bool shown)
{
    m_c.printPanel->setVisible(shown);
    m_c.sheetMap->setVisible(shown);
    for (QWidget* widget :
         {static_cast<QWidget*>(m_c.startPositionCaption),
          static_cast<QWidget*>(m_c.startPositionBox), static_cast<QWidget*>(m_c.scaleXCaption),
          static_cast<QWidget*>(m_c.scaleXBox), static_cast<QWidget*>(m_c.scaleYCaption),
          static_cast<QWidget*>(m_c.scaleYBox), static_cast<QWidget*>(m_c.previewButton),
          static_cast<QWidget*>(m_c.testPrintButton)})
        widget->setVisible(shown);
    // The screen's work begins at the map.
    if (shown && m_c.sheetMap->isVisible())
        m_c.sheetMap->setFocus(Qt::OtherFocusReason);
}

QList<QWidget*> PrintScreen::tabOrder() const
{
    return {m_c.sheetMap,
            m_c.startPositionBox,
            m_c.scaleXBox,
            m_c.scaleYBox,
            m_c.sheetList,
            m_c.verticalOffsetList,
            m_c.horizontalOffsetList,
            m_c.textColourList,
            m_c.backgroundColourList,
            m_c.frameCheck,
            m_c.codeCheck,
            m_c.rainbowCheck,
            m_c.printButton,
            m_c.previewButton,
            m_c.testPrintButton};
}

void PrintScreen::showOffsets(const SheetGeometry::Offsets& offsets)
{
    m_c.verticalOffsetList->selectRow(offsets.vertIndex);
    m_c.horizontalOffsetList->selectRow(offsets.horzIndex);
}

void PrintScreen::showRun(const LabelRun& run, int startPosition)
{
    m_labelTotal = run.labelTotal();
    m_startPosition = startPosition;
    showStartField();
    countSheets();
    showSample(run);
}

void PrintScreen::showStart(int startPosition)
{
    m_startPosition = startPosition;
    showStartField();
    countSheets();
}

void PrintScreen::showAppearance()
{
    {
        const QSignalBlocker blocker(m_c.frameCheck);
        m_c.frameCheck->setChecked(m_look.frame);
    }
    {
        const QSignalBlocker blocker(m_c.codeCheck);
        m_c.codeCheck->setChecked(m_look.code != LabelCode::None);
    }
    chooseFrame();
}

void PrintScreen::showStartField()
{
    const QSignalBlocker blocker(m_c.startPositionBox);
    m_c.startPositionBox->setValue(m_startPosition);
}

void PrintScreen::showScale(int scaleX, int scaleY)
{
    const QSignalBlocker blockX(m_c.scaleXBox);
    const QSignalBlocker blockY(m_c.scaleYBox);
    m_c.scaleXBox->setValue(scaleX);
    m_c.scaleYBox->setValue(scaleY);
}

void PrintScreen::setPrintEnabled(bool enabled)
{
    m_c.printButton->setEnabled(enabled);
}

// ---- sheet map -------------------------------------------------------------

void PrintScreen::countSheets()
{
    m_sheetCount = SheetLayout::countSheets(m_startPosition, m_labelTotal);
    m_c.sheetList->setNumberRange(1, m_sheetCount);
    m_c.sheetList->selectRow(0);
    showSheet(1);
}

void PrintScreen::showSheet(int sheet)
{
    m_c.sheetMap->showMarks(SheetLayout::showSheet(sheet, m_startPosition, m_labelTotal));
}

void PrintScreen::trackPointer(int x, int y)
{
    m_mouseX = x;
    m_mouseY = y;
}

void PrintScreen::chooseStartAtPointer()
{
    // The start position can only be chosen while sheet 1 is shown.
    if (m_c.sheetList->currentRow() >= 1)
        return;
    const int position = SheetMap::positionAt(m_mouseX, m_mouseY);
    if (position == 0)
        return;
    Q_EMIT startPositionChosen(position);
}

void PrintScreen::stepStart(int positions)
{
    // As for clicks: only on sheet 1, and only to a position of the sheet.
    if (m_c.sheetList->currentRow() >= 1)
        return;
    const int position = m_startPosition + positions;
    if (position < 1 || position > SheetLayout::Positions)
        return;
    Q_EMIT startPositionChosen(position);
}

void PrintScreen::showChosenSheet()
{
    showSheet(m_c.sheetList->currentRow() + 1);
}

void PrintScreen::chooseVerticalOffset()
{
    Q_EMIT offsetsChosen(
        {m_c.horizontalOffsetList->currentRow(), m_c.verticalOffsetList->currentRow()});
}

void PrintScreen::chooseHorizontalOffset()
{
    Q_EMIT offsetsChosen(
        {m_c.horizontalOffsetList->currentRow(), m_c.verticalOffsetList->currentRow()});
}

// ---- sample label ----------------------------------------------------------

void PrintScreen::showSample(const LabelRun& run)
{
    m_run = run;
    {
        // The design may have brought its code along.
        const QSignalBlocker blocker(m_c.codeCheck);
        m_c.codeCheck->setChecked(m_look.code != LabelCode::None);
    }
    m_c.sampleLabel->showLabel(run, m_look);
}

void PrintScreen::resetAppearance(int repeatCount)
{
    m_c.textColourList->selectRow(0);
    chooseTextColour();
    m_c.backgroundColourList->selectRow(0);
    chooseBackgroundColour();
    m_c.backgroundColourList->setEnabled(true);
    m_c.textColourList->setEnabled(true);
    m_c.rainbowCheck->setVisible(repeatCount > 1);
    m_c.rainbowCheck->setChecked(false); // runs chooseRainbow when it was ticked
    m_look.rainbow = false;
    showLook();
}

// ---- appearance ------------------------------------------------------------

void PrintScreen::showLook()
{
    m_c.sampleLabel->setLook(m_look);
}

void PrintScreen::chooseTextColour()
{
    m_look.textColorIndex = std::max(0, m_c.textColourList->currentRow());
    showLook();
}

void PrintScreen::chooseBackgroundColour()
{
    const int row = m_c.backgroundColourList->currentRow();
    if (row == Colours::CustomIndex) {
        const std::optional<QColor> chosen =
            m_dialogs.chooseColor(m_c.printPanel, m_look.customColor);
        if (!chosen) {
            // Cancelling abandons the choice: the list goes back to the entry
            // in effect, so the sample and the printer keep agreeing.
            m_c.backgroundColourList->selectRow(m_look.backgroundIndex);
            return;
        }
        m_look.customColor = *chosen;
    }
    m_look.backgroundIndex = std::max(0, row);
    showLook();
}

void PrintScreen::chooseFrame()
{
    m_look.frame = m_c.frameCheck->isChecked();
    showLook();
}

void PrintScreen::chooseCode()
{
    PrintAppearance look = m_look;
    look.code = m_c.codeCheck->isChecked() ? LabelCode::DataMatrix : LabelCode::None;
    if (const QString problem = codeProblem(SheetLabels(m_run), look); !problem.isEmpty()) {
        m_dialogs.message(m_c.printPanel, problem);
        const QSignalBlocker blocker(m_c.codeCheck);
        m_c.codeCheck->setChecked(false);
        return;
    }
    m_look.code = look.code;
    showLook();
}

void PrintScreen::chooseRainbow()
{
    m_look.rainbow = m_c.rainbowCheck->isChecked();
    if (m_look.rainbow) {
        m_c.textColourList->selectRow(0);
        // The sample shows the black the labels will be printed in.
        chooseTextColour();
        m_c.textColourList->setEnabled(false);
        m_c.backgroundColourList->setEnabled(false);
    } else {
        m_c.backgroundColourList->setEnabled(true);
        m_c.textColourList->setEnabled(true);
    }
    showLook();
}

void PrintScreen::chooseFont()
{
    QFont preset = m_look.font;
    preset.setBold(true);
    preset.setItalic(false);
    preset.setUnderline(false);
    preset.setStrikeOut(false);
    if (const std::optional<QFont> chosen = m_dialogs.chooseFont(m_c.printPanel, preset)) {
        m_look.font = *chosen;
        showLook(); // the sample is drawn in the label font, as the labels are
    }
}
