#include "ui/LookPanel.h"

#include "core/model/Colours.h"
#include "core/render/PrintSheet.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "ui/SampleLabel.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>

LookPanel::LookPanel(PrintControls& c, PrintAppearance& look, Dialogs& dialogs)
    : QObject(c.printPanel), m_c(c), m_look(look), m_dialogs(dialogs)
{
    buildColours();
    buildSample();
    buildRainbow();
    m_c.textColourList->setItems(Colours::textColorItems());
    m_c.textColourList->selectRow(0);
    m_c.backgroundColourList->setItems(Colours::backgroundColorItems());
    m_c.backgroundColourList->selectRow(0);
}

void LookPanel::retranslate()
{
    Controls::setCaption(m_c.textColourCaption, tr("文字の色"));
    Controls::setCaption(m_c.backgroundColourCaption, tr("背景の色"));
    m_c.rainbowCheck->setText(tr("Rainbow"));
    m_c.rainbowCheck->setAccessibleDescription(tr("ラベルの地の色を順に変えて印刷します"));
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
    m_c.sampleLabel->retranslate();
}

void LookPanel::buildColours()
{
    QWidget* panel = m_c.printPanel;
    m_c.textColourCaption = Controls::label(panel, "textColourCaption", QString(), 8, 170);
    m_c.textColourList = ListBox::make(panel, "textColourList", QRect(8, 192, 112, 188));
    Controls::nameAfter(m_c.textColourList, m_c.textColourCaption);
    m_c.backgroundColourCaption =
        Controls::label(panel, "backgroundColourCaption", QString(), 128, 170);
    m_c.backgroundColourList =
        ListBox::make(panel, "backgroundColourList", QRect(128, 192, 112, 188));
    Controls::nameAfter(m_c.backgroundColourList, m_c.backgroundColourCaption);

    connect(m_c.textColourList, &ListBox::currentRowChanged, this, &LookPanel::chooseTextColour);
    connect(m_c.backgroundColourList, &ListBox::currentRowChanged, this,
            &LookPanel::chooseBackgroundColour);
    // "Custom" clicked again while selected: choose another custom colour.
    connect(m_c.backgroundColourList, &ListBox::currentRowClickedAgain, this, [this](int row) {
        if (row == Colours::CustomIndex)
            chooseBackgroundColour();
    });
}

void LookPanel::buildSample()
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
    connect(m_c.frameCheck, &QCheckBox::clicked, this, &LookPanel::chooseFrame);
    connect(m_c.codeCheck, &QCheckBox::clicked, this, &LookPanel::chooseCode);
    connect(m_c.fontAction, &QAction::triggered, this, &LookPanel::chooseFont);
    connect(m_c.sampleLabel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_c.sampleMenu->popup(m_c.sampleLabel->mapToGlobal(at)); });
}

void LookPanel::buildRainbow()
{
    m_c.rainbowCheck = new QCheckBox(m_c.printPanel);
    Controls::name(m_c.rainbowCheck, "rainbowCheck");
    m_c.rainbowCheck->setGeometry(8, 390, 120, 24);
    m_c.rainbowCheck->hide();
    connect(m_c.rainbowCheck, &QCheckBox::toggled, this, &LookPanel::chooseRainbow);
}

void LookPanel::showSample(const LabelRun& run)
{
    m_run = run;
    {
        // The design may have brought its code along.
        const QSignalBlocker blocker(m_c.codeCheck);
        m_c.codeCheck->setChecked(m_look.code != LabelCode::None);
    }
    m_c.sampleLabel->showLabel(run, m_look);
}

void LookPanel::showAppearance()
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

void LookPanel::resetAppearance(int repeatCount)
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

void LookPanel::showLook()
{
    m_c.sampleLabel->setLook(m_look);
}

void LookPanel::chooseTextColour()
{
    m_look.textColorIndex = std::max(0, m_c.textColourList->currentRow());
    showLook();
}

void LookPanel::chooseBackgroundColour()
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

void LookPanel::chooseFrame()
{
    m_look.frame = m_c.frameCheck->isChecked();
    showLook();
}

void LookPanel::chooseCode()
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

void LookPanel::chooseRainbow()
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

void LookPanel::chooseFont()
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
