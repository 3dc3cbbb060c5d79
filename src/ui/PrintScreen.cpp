#include "ui/PrintScreen.h"

#include "core/layout/SheetLayout.h"
#include "ui/Controls.h"
#include "ui/JobLines.h"
#include "ui/ListBox.h"
#include "ui/LookPanel.h"
#include "ui/PlacementPanel.h"
#include "ui/SampleLabel.h"
#include "ui/SheetChooser.h"
#include "ui/SheetMap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

PrintScreen::PrintScreen(QWidget* client, PrintAppearance& look, Dialogs& dialogs,
                         SheetCatalogue& sheets)
    : QObject(client), m_look(look)
{
    m_c.printPanel = new QWidget(client);
    m_c.printPanel->setObjectName(QStringLiteral("printPanel"));
    m_c.printPanel->setGeometry(392, 141, 425, 428);
    m_placement = new PlacementPanel(client, m_c);
    m_sheets = new SheetChooser(client, sheets, dialogs);
    m_lookPanel = new LookPanel(m_c, look, dialogs);
    buildPrint();
    retranslate();

    connect(m_placement, &PlacementPanel::startPositionChosen, this,
            &PrintScreen::startPositionChosen);
    connect(m_placement, &PlacementPanel::startTyped, this, &PrintScreen::showJob);
    connect(m_placement, &PlacementPanel::offsetsChosen, this, &PrintScreen::offsetsChosen);
    connect(m_placement, &PlacementPanel::scaleChosen, this, &PrintScreen::scaleChosen);
    connect(m_placement, &PlacementPanel::previewRequested, this, &PrintScreen::previewRequested);
    connect(m_placement, &PlacementPanel::testSheetRequested, this,
            &PrintScreen::testSheetRequested);
    connect(m_lookPanel, &LookPanel::codeChosen, this, &PrintScreen::showJob);
    connect(m_sheets, &SheetChooser::sheetChosen, this, &PrintScreen::sheetChosen);
}

void PrintScreen::showLabelSheet(const SheetChoice& choice)
{
    m_sheets->showSheet(choice);
    m_placement->showLabelSheet(choice.sheet);
    showJob();
}

void PrintScreen::buildPrint()
{
    m_c.printButton = new QPushButton(m_c.printPanel);
    Controls::name(m_c.printButton, "printButton");
    m_c.printButton->setGeometry(252, 350, 165, 70);
    m_c.printButton->setFont(Controls::gothic(20));
    connect(m_c.printButton, &QPushButton::clicked, this, &PrintScreen::requestPrint);

    // Across the top of the screen, where the design screen has its tabs.
    QWidget* client = m_c.printPanel->parentWidget();
    m_c.jobSummaryLine =
        Controls::label(client, "jobSummaryLine", QString(), 16, 100, client->width() - 32, 30);
    m_c.jobSummaryLine->setFont(Controls::gothic(18));
    m_c.printRefusalLine =
        Controls::label(m_c.printPanel, "printRefusalLine", QString(), 132, 380, 114, 48);
    m_c.printRefusalLine->setFont(Controls::gothic(12));
    m_c.printRefusalLine->setWordWrap(true);
    m_c.printRefusalLine->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    Controls::setFontColor(m_c.printRefusalLine, Controls::WrongColour);
}

void PrintScreen::retranslate()
{
    m_placement->retranslate();
    m_lookPanel->retranslate();
    m_sheets->retranslate();
    m_c.printButton->setText(tr("Print"));
    showJob();
}

void PrintScreen::setShown(bool shown)
{
    m_shown = shown;
    m_c.printPanel->setVisible(shown);
    m_c.sheetMap->setVisible(shown);
    m_sheets->setVisible(shown);
    m_c.jobSummaryLine->setVisible(shown);
    m_c.startRangeLine->setVisible(shown && !m_placement->startIsValid());
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
    // The start, then the sheet and the offsets; the calibration after them.
    return {m_c.sheetMap,
            m_c.startPositionBox,
            m_c.sheetList,
            m_c.verticalOffsetList,
            m_c.horizontalOffsetList,
            m_c.scaleXBox,
            m_c.scaleYBox,
            m_c.textColourList,
            m_c.backgroundColourList,
            m_c.frameCheck,
            m_c.codeCheck,
            m_c.rainbowCheck,
            m_c.printButton,
            m_c.previewButton,
            m_c.testPrintButton,
            m_sheets->list(),
            m_sheets->newButton()};
}

void PrintScreen::showOffsets(const SheetGeometry::Offsets& offsets)
{
    m_placement->showOffsets(offsets);
}

void PrintScreen::showRun(const LabelRun& run, int startPosition, int dateAdjust)
{
    m_run = run;
    m_dateAdjust = dateAdjust;
    m_placement->showRun(run.labelTotal(), startPosition);
    m_lookPanel->showSample(run);
    showJob();
}

void PrintScreen::showStart(int startPosition)
{
    m_placement->showStart(startPosition);
    showJob();
}

void PrintScreen::takeTypedStart()
{
    m_placement->takeTypedStart();
}

void PrintScreen::resetAppearance(int repeatCount)
{
    m_lookPanel->resetAppearance(repeatCount);
}

void PrintScreen::showSample(const LabelRun& run)
{
    m_run = run;
    m_lookPanel->showSample(run);
    showJob();
}

void PrintScreen::setPrintEnabled(bool enabled)
{
    m_jobRunning = !enabled;
    showJob();
}

void PrintScreen::requestPrint()
{
    // A start typed and not yet confirmed is the one the user sees.
    m_placement->takeTypedStart();
    if (printRefusal().isEmpty() && !m_jobRunning)
        Q_EMIT printRequested();
}

QString PrintScreen::printRefusal() const
{
    if (!m_placement->startIsValid())
        return tr("開始位置は %1〜%2 の番号です").arg(1).arg(m_c.sheetMap->sheet().positions());
    if (m_run.labelTotal() == 0)
        return tr("印刷するラベルがありません。サンプルの文字を入れてください");
    return QString();
}

void PrintScreen::showJob()
{
    const QString refusal = printRefusal();
    m_c.jobSummaryLine->setText(refusal.isEmpty()
                                    ? JobLines::summary(m_run, m_look, m_c.sheetMap->sheet(),
                                                        m_placement->shownStart(), m_dateAdjust)
                                    : QString());
    m_c.printRefusalLine->setText(refusal);
    m_c.printButton->setToolTip(refusal);
    m_c.printButton->setEnabled(refusal.isEmpty() && !m_jobRunning);
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
