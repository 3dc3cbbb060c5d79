#include "ui/PlacementPanel.h"

#include "core/layout/SheetLayout.h"
#include "ui/Controls.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "ui/SheetMap.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

// The start as a number. It takes any number, so that a position off the
// sheet is shown as typed and marked wrong, never cut to another number;
// its arrows step within the sheet.
class StartPositionBox final : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

    std::function<void()> onStep;
    int last = SheetLayout::Positions; // the sheet's last position

    void stepBy(int steps) override
    {
        const int stepped = std::clamp(value() + steps, 1, last);
        if (stepped == value())
            return;
        setValue(stepped);
        if (onStep)
            onStep();
    }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled enabled = StepNone;
        if (value() > 1)
            enabled |= StepDownEnabled;
        if (value() < last)
            enabled |= StepUpEnabled;
        return enabled;
    }
};

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

} // namespace

PlacementPanel::PlacementPanel(QWidget* client, PrintControls& c) : QObject(client), m_c(c)
{
    buildMap(client);
    buildScale(client);
    buildTrialButtons(client);
    buildSheetsAndOffsets();
    m_c.verticalOffsetList->setItems(offsetItems());
    m_c.horizontalOffsetList->setItems(offsetItems());
}

void PlacementPanel::retranslate()
{
    Controls::setCaption(m_c.startPositionCaption, tr("開始位置"));
    m_c.startRangeLine->setText(tr("%1〜%2 の番号").arg(1).arg(lastPosition()));
    Controls::setCaption(m_c.scaleXCaption, tr("横の倍率"));
    Controls::setCaption(m_c.scaleYCaption, tr("縦の倍率"));
    m_c.previewButton->setText(tr("プレビュー"));
    m_c.testPrintButton->setText(tr("テスト印刷"));
    Controls::setCaption(m_c.sheetListCaption, tr("枚目"));
    // Between the list and the offsets.
    Controls::fitCaption(m_c.sheetListCaption,
                         m_c.offsetGroup->x() - m_c.sheetListCaption->x() - 4);
    m_c.offsetGroup->setTitle(tr("オフセット"));
    Controls::setCaption(m_c.verticalOffsetCaption, tr("縦方向（＋は下）に移動"));
    Controls::setCaption(m_c.horizontalOffsetCaption, tr("横方向（＋は右）に移動"));
    m_c.sheetMap->retranslate();
}

void PlacementPanel::buildMap(QWidget* client)
{
    m_c.sheetMap = new SheetMap(client);
    m_c.sheetMap->resize(289, 425);
    // The sheet map stands left of the print panel.
    m_c.sheetMap->move(m_c.printPanel->x() - m_c.sheetMap->width(), m_c.printPanel->y());
    connect(m_c.sheetMap, &SheetMap::pointerMoved, this, [this](int x, int y) {
        m_mouseX = x;
        m_mouseY = y;
    });
    connect(m_c.sheetMap, &SheetMap::clicked, this, &PlacementPanel::chooseStartAtPointer);
    connect(m_c.sheetMap, &SheetMap::startStepped, this, &PlacementPanel::stepStart);

    // The start as a number, left of the map: typed, or stepped with the arrows.
    m_c.startPositionCaption = Controls::label(client, "startPositionCaption", QString(), 16, 173);
    auto* box = new StartPositionBox(client);
    m_c.startPositionBox = box;
    Controls::name(box, "startPositionBox");
    Controls::nameAfter(box, m_c.startPositionCaption);
    box->setRange(0, 99999);
    box->setGeometry(16, 195, 80, 30);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The map follows each key; the start is chosen by Enter, by leaving the
    // field, by a step, or by the job.
    box->setKeyboardTracking(true);
    box->onStep = [this] { takeTypedStart(); };
    connect(box, &QSpinBox::valueChanged, this, &PlacementPanel::followTypedStart);
    connect(box, &QSpinBox::editingFinished, this, &PlacementPanel::takeTypedStart);
    // Shown under the field while it holds no position of the sheet.
    m_c.startRangeLine = Controls::label(client, "startRangeLine", QString(), 16, 226, 86, 18);
    m_c.startRangeLine->setFont(Controls::gothic(12));
    Controls::setFontColor(m_c.startRangeLine, Controls::WrongColour);
    m_c.startRangeLine->hide();
}

void PlacementPanel::buildScale(QWidget* client)
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

void PlacementPanel::buildTrialButtons(QWidget* client)
{
    m_c.previewButton = new QPushButton(client);
    Controls::name(m_c.previewButton, "previewButton");
    m_c.previewButton->setGeometry(6, 478, 94, 36);
    connect(m_c.previewButton, &QPushButton::clicked, this, &PlacementPanel::previewRequested);
    m_c.testPrintButton = new QPushButton(client);
    Controls::name(m_c.testPrintButton, "testPrintButton");
    m_c.testPrintButton->setGeometry(6, 522, 94, 36);
    connect(m_c.testPrintButton, &QPushButton::clicked, this, &PlacementPanel::testSheetRequested);
}

void PlacementPanel::buildSheetsAndOffsets()
{
    QWidget* panel = m_c.printPanel;
    m_c.sheetList = ListBox::make(panel, "sheetList", QRect(8, 8, 52, 150));
    m_c.sheetListCaption = Controls::label(panel, "sheetListCaption", QString(), 64, 10);
    Controls::nameAfter(m_c.sheetList, m_c.sheetListCaption);

    m_c.offsetGroup = new QGroupBox(panel);
    Controls::name(m_c.offsetGroup, "offsetGroup");
    m_c.offsetGroup->setGeometry(104, 0, 313, 164);
    m_c.verticalOffsetCaption =
        Controls::label(m_c.offsetGroup, "verticalOffsetCaption", QString(), 8, 20, 148, 40);
    m_c.verticalOffsetCaption->setWordWrap(true);
    m_c.verticalOffsetList =
        ListBox::make(m_c.offsetGroup, "verticalOffsetList", QRect(8, 62, 140, 94));
    Controls::nameAfter(m_c.verticalOffsetList, m_c.verticalOffsetCaption);
    m_c.horizontalOffsetCaption =
        Controls::label(m_c.offsetGroup, "horizontalOffsetCaption", QString(), 160, 20, 148, 40);
    m_c.horizontalOffsetCaption->setWordWrap(true);
    m_c.horizontalOffsetList =
        ListBox::make(m_c.offsetGroup, "horizontalOffsetList", QRect(160, 62, 140, 94));
    Controls::nameAfter(m_c.horizontalOffsetList, m_c.horizontalOffsetCaption);

    connect(m_c.sheetList, &ListBox::currentRowChanged, this,
            [this] { showSheet(m_c.sheetList->currentRow() + 1); });
    connect(m_c.verticalOffsetList, &ListBox::currentRowChanged, this,
            &PlacementPanel::chooseOffsets);
    connect(m_c.horizontalOffsetList, &ListBox::currentRowChanged, this,
            &PlacementPanel::chooseOffsets);
}

void PlacementPanel::showRun(int labelTotal, int startPosition)
{
    m_labelTotal = labelTotal;
    showStart(startPosition);
}

void PlacementPanel::showStart(int startPosition)
{
    m_startPosition = startPosition;
    m_shownStart = startPosition;
    showStartField();
    countSheets();
}

void PlacementPanel::followTypedStart(int typed)
{
    const bool valid = typed >= 1 && typed <= lastPosition();
    markStart(valid);
    // A number off the sheet leaves the map at the start chosen last.
    const int shown = valid ? typed : m_startPosition;
    if (shown != m_shownStart) {
        m_shownStart = shown;
        countSheets();
    }
    Q_EMIT startTyped();
}

void PlacementPanel::takeTypedStart()
{
    const int typed = m_c.startPositionBox->value();
    if (m_startValid && typed != m_startPosition)
        Q_EMIT startPositionChosen(typed);
}

void PlacementPanel::markStart(bool valid)
{
    if (valid == m_startValid)
        return;
    m_startValid = valid;
    m_c.startRangeLine->setVisible(!valid && m_c.startPositionBox->isVisible());
    if (valid)
        m_c.startPositionBox->setPalette(QPalette());
    else
        Controls::setFontColor(m_c.startPositionBox, Controls::WrongColour);
}

void PlacementPanel::showOffsets(const SheetGeometry::Offsets& offsets)
{
    m_c.verticalOffsetList->selectRow(offsets.vertIndex);
    m_c.horizontalOffsetList->selectRow(offsets.horzIndex);
}

void PlacementPanel::showStartField()
{
    const QSignalBlocker blocker(m_c.startPositionBox);
    m_c.startPositionBox->setValue(m_startPosition);
    markStart(true);
}

void PlacementPanel::showScale(int scaleX, int scaleY)
{
    const QSignalBlocker blockX(m_c.scaleXBox);
    const QSignalBlocker blockY(m_c.scaleYBox);
    m_c.scaleXBox->setValue(scaleX);
    m_c.scaleYBox->setValue(scaleY);
}

void PlacementPanel::countSheets()
{
    m_sheetCount = SheetLayout::countSheets(m_c.sheetMap->sheet(), m_shownStart, m_labelTotal);
    m_c.sheetList->setNumberRange(1, m_sheetCount);
    m_c.sheetList->selectRow(0);
    showSheet(1);
}

void PlacementPanel::showSheet(int sheet)
{
    m_c.sheetMap->showMarks(
        SheetLayout::showSheet(m_c.sheetMap->sheet(), sheet, m_shownStart, m_labelTotal));
}

void PlacementPanel::chooseStartAtPointer()
{
    // The start position can only be chosen while sheet 1 is shown.
    if (m_c.sheetList->currentRow() >= 1)
        return;
    const int position = m_c.sheetMap->pick(m_mouseX, m_mouseY);
    if (position == 0)
        return;
    Q_EMIT startPositionChosen(position);
}

void PlacementPanel::stepStart(int positions)
{
    // As for clicks: only on sheet 1, and only to a position of the sheet.
    if (m_c.sheetList->currentRow() >= 1)
        return;
    const int position = m_shownStart + positions;
    if (position < 1 || position > lastPosition())
        return;
    Q_EMIT startPositionChosen(position);
}

int PlacementPanel::lastPosition() const
{
    return m_c.sheetMap->sheet().positions();
}

void PlacementPanel::showLabelSheet(const Sheet& sheet)
{
    m_c.sheetMap->showSheet(sheet);
    static_cast<StartPositionBox*>(m_c.startPositionBox)->last = sheet.positions();
    m_c.startRangeLine->setText(tr("%1〜%2 の番号").arg(1).arg(lastPosition()));
    countSheets();
}

void PlacementPanel::chooseOffsets()
{
    Q_EMIT offsetsChosen(
        {m_c.horizontalOffsetList->currentRow(), m_c.verticalOffsetList->currentRow()});
}
