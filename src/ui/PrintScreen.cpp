#include "ui/PrintScreen.h"

#include "ui/SampleLabel.h"

#include "core/layout/SheetLayout.h"
#include "core/numbering/ComposeLabelTexts.h"
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
    m_c.ListBox21->setItems(Colours::textColorItems());
    m_c.ListBox21->selectRow(0);
    m_c.ListBox19->setItems(Colours::backgroundColorItems());
    m_c.ListBox19->selectRow(0);
    m_c.ListBox23->setItems(offsetItems());
    m_c.ListBox25->setItems(offsetItems());
}

void PrintScreen::build(QWidget* client)
{
    m_c.pnlPrint = new QWidget(client);
    m_c.pnlPrint->setObjectName(QStringLiteral("pnlPrint"));
    m_c.pnlPrint->setGeometry(392, 141, 425, 428);
    QWidget* panel = m_c.pnlPrint;

    m_c.pnlCircle = new SheetMap(client);
    m_c.pnlCircle->resize(289, 425);
    // The sheet map stands left of the print panel.
    m_c.pnlCircle->move(m_c.pnlPrint->x() - m_c.pnlCircle->width(), m_c.pnlPrint->y());
    connect(m_c.pnlCircle, &SheetMap::image7MouseMove, this, &PrintScreen::image7MouseMove);
    connect(m_c.pnlCircle, &SheetMap::image7Click, this, &PrintScreen::image7Click);
    connect(m_c.pnlCircle, &SheetMap::startStepped, this, &PrintScreen::stepStart);

    // The start as a number, left of the map: typed, or stepped with the arrows.
    m_c.StartPositionLabel =
        Controls::label(client, "StartPositionLabel", QStringLiteral("開始位置"), 16, 173);
    m_c.StartPosition = new QSpinBox(client);
    Controls::name(m_c.StartPosition, "StartPosition", m_c.StartPositionLabel->text());
    m_c.StartPositionLabel->setBuddy(m_c.StartPosition);
    m_c.StartPosition->setRange(1, SheetLayout::Positions);
    m_c.StartPosition->setGeometry(16, 195, 80, 30);
    m_c.StartPosition->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Only a finished number moves the start: Enter, leaving the field, or a step.
    m_c.StartPosition->setKeyboardTracking(false);
    connect(m_c.StartPosition, &QSpinBox::valueChanged, this, &PrintScreen::startPositionChosen);

    // A printer that scales its pages a little: the positions follow, per
    // mille, measured on a test sheet.
    auto scale = [client, this](const char* labelName, const QString& caption, const char* name,
                                int y) {
        QLabel* label = Controls::label(client, labelName, caption, 16, y);
        auto* box = new QSpinBox(client);
        Controls::name(box, name, caption);
        label->setBuddy(box);
        box->setRange(SheetGeometry::MinScale, SheetGeometry::MaxScale);
        box->setValue(SheetGeometry::ScaleOne);
        box->setSuffix(QStringLiteral(" ‰"));
        box->setGeometry(16, y + 22, 80, 30);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setKeyboardTracking(false);
        connect(box, &QSpinBox::valueChanged, this,
                [this] { Q_EMIT scaleChosen(m_c.ScaleX->value(), m_c.ScaleY->value()); });
        return std::pair{label, box};
    };
    std::tie(m_c.ScaleXLabel, m_c.ScaleX) =
        scale("ScaleXLabel", QStringLiteral("横の倍率"), "ScaleX", 245);
    std::tie(m_c.ScaleYLabel, m_c.ScaleY) =
        scale("ScaleYLabel", QStringLiteral("縦の倍率"), "ScaleY", 305);

    m_c.cmdPreview = new QPushButton(QStringLiteral("プレビュー"), client);
    Controls::name(m_c.cmdPreview, "cmdPreview", QStringLiteral("プレビュー"));
    m_c.cmdPreview->setGeometry(6, 478, 94, 36);
    connect(m_c.cmdPreview, &QPushButton::clicked, this, &PrintScreen::previewRequested);
    m_c.cmdTestPrint = new QPushButton(QStringLiteral("テスト印刷"), client);
    Controls::name(m_c.cmdTestPrint, "cmdTestPrint", QStringLiteral("テスト印刷"));
    m_c.cmdTestPrint->setGeometry(6, 522, 94, 36);
    connect(m_c.cmdTestPrint, &QPushButton::clicked, this, &PrintScreen::testSheetRequested);

    auto makeList = [](QWidget* parent, const char* name, const QString& caption, int x, int y,
                       int w, int h) {
        auto* list = new ListBox(parent);
        Controls::name(list, name, caption);
        list->setGeometry(x, y, w, h);
        return list;
    };

    m_c.ListBox20 = makeList(panel, "ListBox20", QStringLiteral("枚目"), 8, 8, 52, 150);
    m_c.Label8 = Controls::label(panel, "Label8", QStringLiteral("枚目"), 64, 10);

    m_c.GroupBox14 = new QGroupBox(QStringLiteral("オフセット"), panel);
    Controls::name(m_c.GroupBox14, "GroupBox14", QStringLiteral("オフセット"));
    m_c.GroupBox14->setGeometry(104, 0, 313, 164);
    m_c.Label26 = Controls::label(m_c.GroupBox14, "Label26",
                                  QStringLiteral("縦方向（＋は下）に移動"), 8, 20, 148, 40);
    m_c.Label26->setWordWrap(true);
    m_c.ListBox23 = makeList(m_c.GroupBox14, "ListBox23", m_c.Label26->text(), 8, 62, 140, 94);
    m_c.Label38 = Controls::label(m_c.GroupBox14, "Label38",
                                  QStringLiteral("横方向（＋は右）に移動"), 160, 20, 148, 40);
    m_c.Label38->setWordWrap(true);
    m_c.ListBox25 = makeList(m_c.GroupBox14, "ListBox25", m_c.Label38->text(), 160, 62, 140, 94);

    m_c.Label29 = Controls::label(panel, "Label29", QStringLiteral("文字の色"), 8, 170);
    m_c.ListBox21 = makeList(panel, "ListBox21", m_c.Label29->text(), 8, 192, 112, 188);
    m_c.Label25 = Controls::label(panel, "Label25", QStringLiteral("背景の色"), 128, 170);
    m_c.ListBox19 = makeList(panel, "ListBox19", m_c.Label25->text(), 128, 192, 112, 188);

    buildSample();

    m_c.CheckBox2 = new QCheckBox(QStringLiteral("Rainbow"), panel);
    Controls::name(m_c.CheckBox2, "CheckBox2", QStringLiteral("Rainbow"));
    m_c.CheckBox2->setGeometry(8, 390, 120, 24);
    m_c.CheckBox2->hide();

    m_c.cmdPrint = new QPushButton(QStringLiteral("Print"), panel);
    Controls::name(m_c.cmdPrint, "cmdPrint", QStringLiteral("Print"));
    m_c.cmdPrint->setGeometry(252, 350, 165, 70);
    m_c.cmdPrint->setFont(Controls::gothic(20));

    connect(m_c.ListBox20, &ListBox::currentRowChanged, this, &PrintScreen::ListBox20Click);
    connect(m_c.ListBox23, &ListBox::currentRowChanged, this, &PrintScreen::ListBox23Click);
    connect(m_c.ListBox25, &ListBox::currentRowChanged, this, &PrintScreen::ListBox25Click);
    connect(m_c.ListBox21, &ListBox::currentRowChanged, this, &PrintScreen::ListBox21Click);
    connect(m_c.ListBox19, &ListBox::currentRowChanged, this, &PrintScreen::ListBox19Click);
    // "Custom" clicked again while selected: choose another custom colour.
    connect(m_c.ListBox19, &ListBox::currentRowClickedAgain, this, [this](int row) {
        if (row == Colours::CustomIndex)
            ListBox19Click();
    });
    connect(m_c.CheckBox1, &QCheckBox::clicked, this, &PrintScreen::CheckBox1Click);
    connect(m_c.cmdPrint, &QPushButton::clicked, this, &PrintScreen::printRequested);
    connect(m_c.CheckBox2, &QCheckBox::toggled, this, &PrintScreen::CheckBox2Click);
}

void PrintScreen::buildSample()
{
    m_c.pnl150 = new SampleLabel(m_c.pnlPrint);
    Controls::name(m_c.pnl150, "pnl150", QStringLiteral("見本"));
    m_c.pnl150->setGeometry(252, 170, 153, 169);
    m_c.pnl150->setContextMenuPolicy(Qt::CustomContextMenu);

    m_c.CheckBox1 = new QCheckBox(QStringLiteral("枠"), m_c.pnl150);
    Controls::name(m_c.CheckBox1, "CheckBox1", QStringLiteral("枠"));
    m_c.CheckBox1->setGeometry(116, 144, 37, 22);

    m_c.PopupMenu1 = new QMenu(m_c.pnl150);
    m_c.PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    m_c.Font1 = m_c.PopupMenu1->addAction(QStringLiteral("Font"));
    m_c.Font1->setObjectName(QStringLiteral("Font1"));
    connect(m_c.Font1, &QAction::triggered, this, &PrintScreen::Font1Click);
    connect(m_c.pnl150, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_c.PopupMenu1->popup(m_c.pnl150->mapToGlobal(at)); });
}

void PrintScreen::setShown(bool shown)
{
    m_c.pnlPrint->setVisible(shown);
    m_c.pnlCircle->setVisible(shown);
    for (QWidget* widget :
         {static_cast<QWidget*>(m_c.StartPositionLabel), static_cast<QWidget*>(m_c.StartPosition),
          static_cast<QWidget*>(m_c.ScaleXLabel), static_cast<QWidget*>(m_c.ScaleX),
          static_cast<QWidget*>(m_c.ScaleYLabel), static_cast<QWidget*>(m_c.ScaleY),
          static_cast<QWidget*>(m_c.cmdPreview), static_cast<QWidget*>(m_c.cmdTestPrint)})
        widget->setVisible(shown);
    // The screen's work begins at the map.
    if (shown && m_c.pnlCircle->isVisible())
        m_c.pnlCircle->setFocus(Qt::OtherFocusReason);
}

QList<QWidget*> PrintScreen::tabOrder() const
{
    return {m_c.pnlCircle, m_c.StartPosition, m_c.ScaleX,     m_c.ScaleY,      m_c.ListBox20,
            m_c.ListBox23, m_c.ListBox25,     m_c.ListBox21,  m_c.ListBox19,   m_c.CheckBox1,
            m_c.CheckBox2, m_c.cmdPrint,      m_c.cmdPreview, m_c.cmdTestPrint};
}

void PrintScreen::showOffsets(const SheetGeometry::Offsets& offsets)
{
    m_c.ListBox23->selectRow(offsets.vertIndex);
    m_c.ListBox25->selectRow(offsets.horzIndex);
}

void PrintScreen::showRun(const LabelRun& run, int startPosition)
{
    m_labelTotal = run.labelTotal();
    m_startPosition = startPosition;
    showStartField();
    CountSheets();
    showSample(run);
}

void PrintScreen::showStart(int startPosition)
{
    m_startPosition = startPosition;
    showStartField();
    CountSheets();
}

void PrintScreen::showAppearance()
{
    {
        const QSignalBlocker blocker(m_c.CheckBox1);
        m_c.CheckBox1->setChecked(m_look.frame);
    }
    CheckBox1Click();
}

void PrintScreen::showStartField()
{
    const QSignalBlocker blocker(m_c.StartPosition);
    m_c.StartPosition->setValue(m_startPosition);
}

void PrintScreen::showScale(int scaleX, int scaleY)
{
    const QSignalBlocker blockX(m_c.ScaleX);
    const QSignalBlocker blockY(m_c.ScaleY);
    m_c.ScaleX->setValue(scaleX);
    m_c.ScaleY->setValue(scaleY);
}

void PrintScreen::setPrintEnabled(bool enabled)
{
    m_c.cmdPrint->setEnabled(enabled);
}

// ---- sheet map -------------------------------------------------------------

void PrintScreen::CountSheets()
{
    m_sheetCount = SheetLayout::CountSheets(m_startPosition, m_labelTotal);
    m_c.ListBox20->setNumberRange(1, m_sheetCount);
    m_c.ListBox20->selectRow(0);
    ShowSheet(1);
}

void PrintScreen::ShowSheet(int sheet)
{
    const auto marks = SheetLayout::ShowSheet(sheet, m_startPosition, m_labelTotal);
    std::array<QColor, SheetLayout::Positions + 1> colors;
    for (int p = 1; p <= SheetLayout::Positions; ++p)
        colors[size_t(p)] = SheetLayout::colorOf(marks[size_t(p)]);
    m_c.pnlCircle->setColors(colors);
}

void PrintScreen::image7MouseMove(int x, int y)
{
    m_mouseX = x;
    m_mouseY = y;
}

void PrintScreen::image7Click()
{
    // The start position can only be chosen while sheet 1 is shown.
    if (m_c.ListBox20->currentRow() >= 1)
        return;
    const int position = SheetLayout::positionAt(m_mouseX, m_mouseY);
    if (position == 0)
        return;
    Q_EMIT startPositionChosen(position);
}

void PrintScreen::stepStart(int positions)
{
    // As for clicks: only on sheet 1, and only to a position of the sheet.
    if (m_c.ListBox20->currentRow() >= 1)
        return;
    const int position = m_startPosition + positions;
    if (position < 1 || position > SheetLayout::Positions)
        return;
    Q_EMIT startPositionChosen(position);
}

void PrintScreen::ListBox20Click()
{
    ShowSheet(m_c.ListBox20->currentRow() + 1);
}

void PrintScreen::ListBox23Click()
{
    Q_EMIT offsetsChosen({m_c.ListBox25->currentRow(), m_c.ListBox23->currentRow()});
}

void PrintScreen::ListBox25Click()
{
    Q_EMIT offsetsChosen({m_c.ListBox25->currentRow(), m_c.ListBox23->currentRow()});
}

// ---- sample label ----------------------------------------------------------

void PrintScreen::showSample(const LabelRun& run)
{
    m_c.pnl150->showLabel(run, m_look);
}

void PrintScreen::resetAppearance(int repeatCount)
{
    m_c.ListBox21->selectRow(0);
    ListBox21Click();
    m_c.ListBox19->selectRow(0);
    ListBox19Click();
    m_c.ListBox19->setEnabled(true);
    m_c.ListBox21->setEnabled(true);
    m_c.CheckBox2->setVisible(repeatCount > 1);
    m_c.CheckBox2->setChecked(false); // runs CheckBox2Click when it was ticked
    m_look.rainbow = false;
    showLook();
}

// ---- appearance ------------------------------------------------------------

void PrintScreen::showLook()
{
    m_c.pnl150->setLook(m_look);
}

void PrintScreen::ListBox21Click()
{
    m_look.textColorIndex = std::max(0, m_c.ListBox21->currentRow());
    showLook();
}

void PrintScreen::ListBox19Click()
{
    const int row = m_c.ListBox19->currentRow();
    if (row == Colours::CustomIndex) {
        const std::optional<QColor> chosen =
            m_dialogs.chooseColor(m_c.pnlPrint, m_look.customColor);
        if (!chosen) {
            // Cancelling abandons the choice: the list goes back to the entry
            // in effect, so the sample and the printer keep agreeing.
            m_c.ListBox19->selectRow(m_look.backgroundIndex);
            return;
        }
        m_look.customColor = *chosen;
    }
    m_look.backgroundIndex = std::max(0, row);
    showLook();
}

void PrintScreen::CheckBox1Click()
{
    m_look.frame = m_c.CheckBox1->isChecked();
    showLook();
}

void PrintScreen::CheckBox2Click()
{
    m_look.rainbow = m_c.CheckBox2->isChecked();
    if (m_look.rainbow) {
        m_c.ListBox21->selectRow(0);
        // The sample shows the black the labels will be printed in.
        ListBox21Click();
        m_c.ListBox21->setEnabled(false);
        m_c.ListBox19->setEnabled(false);
    } else {
        m_c.ListBox19->setEnabled(true);
        m_c.ListBox21->setEnabled(true);
    }
    showLook();
}

void PrintScreen::Font1Click()
{
    QFont preset = m_look.font;
    preset.setBold(true);
    preset.setItalic(false);
    preset.setUnderline(false);
    preset.setStrikeOut(false);
    if (const std::optional<QFont> chosen = m_dialogs.chooseFont(m_c.pnlPrint, preset)) {
        m_look.font = *chosen;
        showLook(); // the sample is drawn in the label font, as the labels are
    }
}
