// The print screen's controls: where they stand, and their texts in the
// language of the moment.

#include "ui/PrintScreen.h"

#include "ui/Controls.h"
#include "ui/ListBox.h"
#include "ui/SampleLabel.h"
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

ListBox* makeList(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* list = new ListBox(parent);
    Controls::name(list, name);
    list->setGeometry(x, y, w, h);
    return list;
}

} // namespace

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
    m_c.frameCheck->setGeometry(m_c.sampleLabel->width() - frameWidth, 147, frameWidth, 22);
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

