#include "ui/DesignScreen.h"

#include "core/model/LabelType.h"
#include "core/numbering/Cp932.h"
#include "ui/Controls.h"
#include "ui/ListBox.h"
#include "ui/MemoText.h"

#include <QAction>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

const QColor Grey(0x80, 0x80, 0x80);
const QColor Black(0, 0, 0);

// Memo lines past these are emptied: the labels never read them.
constexpr int Type8Lines = 2;
constexpr int Type8EmptiedLines = 6;
constexpr int FreeTextEmptiedLines = 101;

} // namespace

// ---- what the window asks --------------------------------------------------

void DesignScreen::setShown(bool shown)
{
    const int page = labelType(m_design.type).page;
    m_c.pnlMain->setVisible(shown);
    for (size_t p = 0; p < m_c.pages.size(); ++p)
        m_c.pages[p]->setVisible(shown && int(p) == page);
    if (shown)
        focusFirstInput();
}

void DesignScreen::showPage(int page)
{
    if (page < 0 || page > 2)
        return;
    for (size_t p = 0; p < m_c.pages.size(); ++p)
        m_c.pages[p]->setVisible(int(p) == page);
    // Checking runs the type's handler when it was not checked before.
    const int firstType[3] = {1, 5, 9};
    m_c.typeButton[size_t(firstType[page])]->setChecked(true);
    // Types 9..12 take their sample count from the free-text lines.
    if (page < 2)
        m_c.ListBox2->selectRow(m_design.sampleCount - 1);
}

void DesignScreen::showDesign()
{
    const LabelTypeTraits& traits = labelType(m_design.type);
    {
        const QSignalBlocker blocker(m_c.typeButton[size_t(traits.type)]);
        m_c.typeButton[size_t(traits.type)]->setChecked(true);
    }
    tabToCheckedType();
    EnableTypePanel(traits.type);
    GreyAllPreviews();
    paintBlack(traits.type);
    m_c.ListBox12->setNumberRange(0, (traits.hasNumber() ? traits.range : 10000) - 1);
    m_c.ListBox12->selectRow(m_design.firstNumber);
    m_c.ListBox2->selectRow(m_design.sampleCount - 1);
    m_c.ListBox7->setNumberRange(1, std::max(maxRepeatCount(m_design), m_design.repeatCount));
    m_c.ListBox7->selectRow(m_design.repeatCount - 1);
    m_c.ListBox9->selectRow(m_design.dateAdjust + MaxDateAdjust);
    ShowDateAdjust(traits.showsDateAdjust);
    for (size_t i = 0; i < m_c.upperEdits.size(); ++i) {
        const QSignalBlocker blocker(m_c.upperEdits[i]);
        m_c.upperEdits[i]->setText(m_design.upperTexts[i]);
    }
    showMemos();
    showLetters();
    m_c.N3->setChecked(!m_design.plainNumbers);
    m_c.N4->setChecked(m_design.plainNumbers);
    for (size_t i = 0; i < NumberSteps.size(); ++i)
        m_c.stepItems[i]->setChecked(NumberSteps[i] == m_design.step);
    ShowFirstNumber(m_design.plainNumbers);
    showDates();
}

void DesignScreen::showStartPanels()
{
    // Until a type is chosen on their page, the first panel of each page
    // and Type12's stay enabled.
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        const QString panel = QString::fromLatin1(labelType(type).panel);
        m_c.typePanel[size_t(type)]->setEnabled(
            panel == QLatin1String("Panel1") || panel == QLatin1String("Panel5") ||
            panel == QLatin1String("Panel9") || panel == QLatin1String("Panel10"));
    }
}

void DesignScreen::showNumbering()
{
    showLetters();
    m_c.ListBox12->selectRow(m_design.firstNumber);
    ShowFirstNumber(m_design.plainNumbers);
}

void DesignScreen::showLetters()
{
    for (int i = 0; i < LetterListCount; ++i)
        m_c.letterLists[size_t(i)]->selectRow(m_design.letter(LetterList(i)));
}

void DesignScreen::showMemos()
{
    const QSignalBlocker blocker1(m_c.Memo1);
    const QSignalBlocker blocker2(m_c.Memo2);
    m_c.Memo1->setPlainText(m_design.freeTexts.join(QLatin1Char('\n')));
    m_c.Memo2->setPlainText(m_design.type8Lines.join(QLatin1Char('\n')));
}

void DesignScreen::showNext(const QString& text)
{
    m_c.NextJob->setText(text);
}

void DesignScreen::showDates()
{
    ApplyDateAdjust(m_design.dateAdjust + MaxDateAdjust);
}

void DesignScreen::focusFirstInput()
{
    if (!m_c.pnlMain->isVisible())
        return;
    const LabelTypeTraits& traits = labelType(m_design.type);
    QList<QWidget*> inputs;
    if (traits.focus)
        inputs << m_c.pages[size_t(traits.page)]->findChild<QWidget*>(
            QString::fromLatin1(traits.focus));
    for (int i = 0; i < traits.letterCount; ++i)
        inputs << m_c.letterLists[size_t(traits.letters[size_t(i)])];
    inputs << m_c.ListBox12;
    if (traits.hasFreeTexts())
        inputs << m_c.Memo1;
    for (QWidget* input : inputs) {
        if (input && input->isVisible() && input->isEnabled()) {
            input->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

QList<QWidget*> DesignScreen::tabOrder() const
{
    QList<QWidget*> order;
    for (int type = FirstLabelType; type <= LastLabelType; ++type)
        order << m_c.typeButton[size_t(type)];
    order << m_c.Edit1 << m_c.Edit2 << m_c.ListBox4 << m_c.Edit3 << m_c.ListBox5 << m_c.ListBox6
          << m_c.ListBox3 << m_c.ListBox1 << m_c.Memo2 << m_c.Edit4 << m_c.Edit5 << m_c.ListBox8
          << m_c.Memo1 << m_c.cmdreset << m_c.ListBox12 << m_c.ListBox2 << m_c.ListBox7
          << m_c.ListBox9 << m_c.cmdPrintSet;
    return order;
}

// ---- selecting a type ------------------------------------------------------

void DesignScreen::selectType(int type)
{
    const LabelTypeTraits& traits = labelType(type);
    m_design.type = type;
    EnableTypePanel(type);
    HighlightLabelType(type);
    if (traits.hasNumber())
        FillFirstNumberList(traits.digits);
    ShowDateAdjust(traits.showsDateAdjust);
    // Type10 refills the list too: a count of 6 or 7 left by a blank Type8
    // would otherwise reach a rainbow table of five colours.
    FillRepeatList();
    focusFirstInput();
    Q_EMIT designEdited();
}

void DesignScreen::EnableTypePanel(int type)
{
    for (int t = FirstLabelType; t <= LastLabelType; ++t)
        m_c.typePanel[size_t(t)]->setEnabled(t == type);
    const bool numbered = labelType(type).showsFirstNumber;
    m_c.Label14->setVisible(numbered);
    m_c.ListBox12->setVisible(numbered);
}

void DesignScreen::HighlightLabelType(int type)
{
    GreyAllPreviews();
    if (type >= FirstLabelType && type <= LastLabelType)
        m_c.typeButton[size_t(type)]->setChecked(true); // the group unchecks the other eleven
    paintBlack(type);
}

void DesignScreen::tabToCheckedType()
{
    // Tab stops at the chosen type only; the arrow keys choose another.
    for (QRadioButton* button : m_c.typeButton) {
        if (button)
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

bool DesignScreen::eventFilter(QObject* watched, QEvent* event)
{
    // The arrows step among the four types of the page shown, two by two.
    // Qt's own stepping would also reach the buttons of the hidden pages,
    // which share the group.
    const int type = m_c.typeGroup->id(qobject_cast<QAbstractButton*>(watched));
    if (event->type() != QEvent::KeyPress || type < FirstLabelType)
        return QObject::eventFilter(watched, event);
    const LabelTypeTraits& traits = labelType(type);
    const bool right = traits.slot % 2 == 1;
    const bool lower = traits.slot / 2 == 1;
    int slot = -1;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Left:
        slot = right ? traits.slot - 1 : -1;
        break;
    case Qt::Key_Right:
        slot = right ? -1 : traits.slot + 1;
        break;
    case Qt::Key_Up:
        slot = lower ? traits.slot - 2 : -1;
        break;
    case Qt::Key_Down:
        slot = lower ? -1 : traits.slot + 2;
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    for (int t = FirstLabelType; t <= LastLabelType && slot >= 0; ++t) {
        if (labelType(t).page == traits.page && labelType(t).slot == slot) {
            QRadioButton* next = m_c.typeButton[size_t(t)];
            next->click();
            next->setFocus(Qt::TabFocusReason); // the type's input took it
            break;
        }
    }
    return true;
}

void DesignScreen::paintBlack(int type)
{
    const LabelTypeTraits& traits = labelType(type);
    QWidget* page = m_c.pages[size_t(traits.page)];
    for (const char* name : traits.blackControls) {
        if (!name)
            continue;
        if (auto* widget = page->findChild<QWidget*>(QString::fromLatin1(name)))
            Controls::setFontColor(widget, Black);
    }
}

void DesignScreen::GreyAllPreviews()
{
    const QList<QWidget*> grey = {
        m_c.Label3,   m_c.Label5,   m_c.Label9,   m_c.Label10,  m_c.Label11,  m_c.Label12,
        m_c.Label13,  m_c.Label15,  m_c.Label16,  m_c.Label17,  m_c.Label18,  m_c.Label20,
        m_c.Label21,  m_c.Label22,  m_c.Label23,  m_c.Label24,  m_c.Label28,  m_c.ListBox1,
        m_c.ListBox3, m_c.ListBox4, m_c.ListBox5, m_c.ListBox6, m_c.ListBox8, m_c.Edit1,
        m_c.Edit2,    m_c.Edit4,    m_c.Edit5,    m_c.Memo2};
    for (QWidget* widget : grey)
        Controls::setFontColor(widget, Grey);
}

void DesignScreen::FillFirstNumberList(int digits)
{
    const int range = digits == 4 ? 10000 : digits == 3 ? 1000 : 100;
    m_c.ListBox12->setNumberRange(0, range - 1);
    if (digits < 4 && m_design.firstNumber >= range)
        m_design.firstNumber %= range;
    m_c.ListBox12->selectRow(m_design.firstNumber);
    ListBox12Click();
}

void DesignScreen::ShowDateAdjust(bool shown)
{
    m_c.ListBox9->setVisible(shown);
    m_c.Label30->setVisible(shown);
}

void DesignScreen::FillRepeatList()
{
    int remembered = std::max(0, m_c.ListBox7->currentRow());
    const int most = maxRepeatCount(m_design);
    m_c.ListBox7->setNumberRange(1, most);
    if (remembered >= most)
        remembered = 0;
    m_c.ListBox7->selectRow(remembered);
    m_design.repeatCount = remembered + 1;
}

// ---- numbering -------------------------------------------------------------

void DesignScreen::ShowFirstNumber(bool plain)
{
    const int n = m_design.firstNumber;
    auto padded = [n, plain](int digits) {
        return plain ? QString::number(n)
                     : QStringLiteral("%1").arg(n, digits, 10, QLatin1Char('0'));
    };
    for (QLabel* label : {m_c.Label3, m_c.Label9, m_c.Label16})
        label->setText(padded(4));
    for (QLabel* label : {m_c.Label5, m_c.Label15, m_c.Label18})
        label->setText(padded(3));
    m_c.Label12->setText(padded(2));
}

void DesignScreen::ApplyDateAdjust(int index)
{
    const QDate date = DateStamp::adjusted(m_clock(), index);
    for (QLabel* label : {m_c.Label10, m_c.Label17, m_c.Label23})
        label->setText(DateStamp::monthDay(date));
    for (QLabel* label : {m_c.Label11, m_c.Label13, m_c.Label21})
        label->setText(DateStamp::yearMonth(date));
}

void DesignScreen::UncheckStepItems()
{
    for (QAction* item : m_c.stepItems)
        item->setChecked(false);
}

void DesignScreen::N3Click()
{
    m_c.N3->setChecked(true);
    m_c.N4->setChecked(false);
    m_design.plainNumbers = false;
    ShowFirstNumber(false);
    Q_EMIT numberingChanged();
    Q_EMIT designEdited();
}

void DesignScreen::N4Click()
{
    m_c.N3->setChecked(false);
    m_c.N4->setChecked(true);
    m_design.plainNumbers = true;
    ShowFirstNumber(true);
    Q_EMIT numberingChanged();
    Q_EMIT designEdited();
}

void DesignScreen::setStep(QAction* item, int step)
{
    UncheckStepItems();
    item->setChecked(true);
    m_design.step = step;
    Q_EMIT numberingChanged();
    Q_EMIT designEdited();
}

void DesignScreen::N11Click()
{
    setStep(m_c.N11, 1);
}
void DesignScreen::N21Click()
{
    setStep(m_c.N21, 2);
}
void DesignScreen::N31Click()
{
    setStep(m_c.N31, 3);
}
void DesignScreen::N51Click()
{
    setStep(m_c.N51, 5);
}
void DesignScreen::N101Click()
{
    setStep(m_c.N101, 10);
}

void DesignScreen::ListBox12Click()
{
    m_design.firstNumber = std::max(0, m_c.ListBox12->currentRow());
    ShowFirstNumber(m_design.plainNumbers);
    Q_EMIT designEdited();
}

void DesignScreen::ListBox2Click()
{
    m_design.sampleCount = m_c.ListBox2->currentRow() + 1;
    Q_EMIT designEdited();
}

void DesignScreen::ListBox7Click()
{
    m_design.repeatCount = m_c.ListBox7->currentRow() + 1;
    Q_EMIT designEdited();
}

void DesignScreen::ListBox9Click()
{
    m_design.dateAdjust = m_c.ListBox9->currentRow() - MaxDateAdjust;
    ApplyDateAdjust(m_c.ListBox9->currentRow());
    Q_EMIT designEdited();
}

// ---- input limits ----------------------------------------------------------

void DesignScreen::limitEdit(int index)
{
    QLineEdit* edit = m_c.upperEdits[size_t(index)];
    const QString text = edit->text();
    const QString kept = Cp932::limit(text, LabelBytes);
    if (kept != text) {
        const int cursor = Cp932::limitedPosition(text, edit->cursorPosition(), LabelBytes);
        edit->setText(kept); // runs this handler again, which finds nothing to cut
        edit->setCursorPosition(cursor);
        return;
    }
    m_design.upperTexts[size_t(index)] = text;
    Q_EMIT designEdited();
}

void DesignScreen::Edit1Change()
{
    limitEdit(0);
}
void DesignScreen::Edit2Change()
{
    limitEdit(1);
}
void DesignScreen::Edit3Change()
{
    limitEdit(2);
}
void DesignScreen::Edit4Change()
{
    limitEdit(3);
}
void DesignScreen::Edit5Change()
{
    limitEdit(4);
}

void DesignScreen::Memo2Change()
{
    if (m_inMemoChange)
        return;
    m_inMemoChange = true;
    // Only two lines fit on the label; the next four are emptied, their line
    // breaks kept.
    MemoText::tidy(m_c.Memo2, [](int line) {
        return line < Type8Lines ? LabelBytes : line < Type8EmptiedLines ? 0 : MemoText::NoCut;
    });
    m_design.type8Lines = MemoText::lines(m_c.Memo2);
    m_inMemoChange = false;
    Q_EMIT designEdited();
}

void DesignScreen::Memo1Change()
{
    if (m_inMemoChange)
        return;
    m_inMemoChange = true;
    const int room = labelType(m_design.type).freeTextBytes;
    MemoText::tidy(m_c.Memo1, [room](int line) {
        if (line >= MaxFreeTexts)
            return line < FreeTextEmptiedLines ? 0 : MemoText::NoCut;
        return room > 0 ? room : MemoText::NoCut;
    });
    m_design.freeTexts = MemoText::lines(m_c.Memo1);
    m_inMemoChange = false;
    Q_EMIT designEdited();
}

void DesignScreen::cmdresetClick()
{
    for (int line = 0; line <= MaxFreeTexts && line < MemoText::lineCount(m_c.Memo1); ++line)
        MemoText::setLine(m_c.Memo1, line, QString());
    MemoText::setLine(m_c.Memo1, 0, QString());
    m_c.Memo1->setFocus(Qt::OtherFocusReason);
}
