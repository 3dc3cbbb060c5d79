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

void PrintScreen::setShown(bool shown)
{
    m_shown = shown;
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
