#include "ui/PrintScreen.h"

#include "ui/Controls.h"
#include "ui/ListBox.h"
#include "ui/LookPanel.h"
#include "ui/PlacementPanel.h"
#include "ui/SampleLabel.h"
#include "ui/SheetMap.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

PrintScreen::PrintScreen(QWidget* client, PrintAppearance& look, Dialogs& dialogs) : QObject(client)
{
    m_c.printPanel = new QWidget(client);
    m_c.printPanel->setObjectName(QStringLiteral("printPanel"));
    m_c.printPanel->setGeometry(392, 141, 425, 428);
    m_placement = new PlacementPanel(client, m_c);
    m_lookPanel = new LookPanel(m_c, look, dialogs);

    m_c.printButton = new QPushButton(m_c.printPanel);
    Controls::name(m_c.printButton, "printButton");
    m_c.printButton->setGeometry(252, 350, 165, 70);
    m_c.printButton->setFont(Controls::gothic(20));
    connect(m_c.printButton, &QPushButton::clicked, this, &PrintScreen::printRequested);
    retranslate();

    connect(m_placement, &PlacementPanel::startPositionChosen, this,
            &PrintScreen::startPositionChosen);
    connect(m_placement, &PlacementPanel::offsetsChosen, this, &PrintScreen::offsetsChosen);
    connect(m_placement, &PlacementPanel::scaleChosen, this, &PrintScreen::scaleChosen);
    connect(m_placement, &PlacementPanel::previewRequested, this, &PrintScreen::previewRequested);
    connect(m_placement, &PlacementPanel::testSheetRequested, this,
            &PrintScreen::testSheetRequested);
}

void PrintScreen::retranslate()
{
    m_placement->retranslate();
    m_lookPanel->retranslate();
    m_c.printButton->setText(tr("Print"));
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
    m_placement->showOffsets(offsets);
}

void PrintScreen::showRun(const LabelRun& run, int startPosition)
{
    m_placement->showRun(run.labelTotal(), startPosition);
    m_lookPanel->showSample(run);
}

void PrintScreen::showStart(int startPosition)
{
    m_placement->showStart(startPosition);
}

void PrintScreen::resetAppearance(int repeatCount)
{
    m_lookPanel->resetAppearance(repeatCount);
}

void PrintScreen::showSample(const LabelRun& run)
{
    m_lookPanel->showSample(run);
}

void PrintScreen::setPrintEnabled(bool enabled)
{
    m_c.printButton->setEnabled(enabled);
}

void PrintScreen::showScale(int scaleX, int scaleY)
{
    m_placement->showScale(scaleX, scaleY);
}

void PrintScreen::showAppearance()
{
    m_lookPanel->showAppearance();
}

int PrintScreen::sheetCount() const
{
    return m_placement->sheetCount();
}
