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
    const int page = typePage(m_design.type);
    m_c.designPanel->setVisible(shown);
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
        m_c.sampleCountList->selectRow(m_design.sampleCount - 1);
}

void DesignScreen::showDesign()
{
    const LabelTypeTraits& traits = labelType(m_design.type);
    {
        const QSignalBlocker blocker(m_c.typeButton[size_t(traits.type)]);
        m_c.typeButton[size_t(traits.type)]->setChecked(true);
    }
    tabToCheckedType();
    enableTypePanel(traits.type);
    greyAllPreviews();
    paintBlack(traits.type);
    m_c.firstNumberList->setNumberRange(0, (traits.hasNumber() ? traits.range : 10000) - 1);
    m_c.firstNumberList->selectRow(m_design.firstNumber);
    m_c.sampleCountList->selectRow(m_design.sampleCount - 1);
    m_c.repeatCountList->setNumberRange(1,
                                        std::max(maxRepeatCount(m_design), m_design.repeatCount));
    m_c.repeatCountList->selectRow(m_design.repeatCount - 1);
    m_c.dateAdjustList->selectRow(m_design.dateAdjust + MaxDateAdjust);
    showDateAdjust(traits.hasDate());
    for (size_t i = 0; i < m_c.upperEdits.size(); ++i) {
        const QSignalBlocker blocker(m_c.upperEdits[i]);
        m_c.upperEdits[i]->setText(m_design.upperTexts[i]);
    }
    showMemos();
    showLetters();
    m_c.paddedNumbersAction->setChecked(!m_design.plainNumbers);
    m_c.plainNumbersAction->setChecked(m_design.plainNumbers);
    for (size_t i = 0; i < NumberSteps.size(); ++i)
        m_c.stepActions[i]->setChecked(NumberSteps[i] == m_design.step);
    showFirstNumber(m_design.plainNumbers);
    showDates();
}

void DesignScreen::showStartPanels()
{
    // Until a type is chosen on their page, the first type of each page and
    // Type12 stay enabled.
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        m_c.typePanel[size_t(type)]->setEnabled(typeSlot(type) == 0 || type == LastLabelType);
    }
}

void DesignScreen::showNumbering()
{
    showLetters();
    m_c.firstNumberList->selectRow(m_design.firstNumber);
    showFirstNumber(m_design.plainNumbers);
}

void DesignScreen::showLetters()
{
    for (int i = 0; i < LetterListCount; ++i)
        m_c.letterLists[size_t(i)]->selectRow(m_design.letter(LetterList(i)));
}

void DesignScreen::showMemos()
{
    const QSignalBlocker blocker1(m_c.freeTextMemo);
    const QSignalBlocker blocker2(m_c.type8Memo);
    m_c.freeTextMemo->setPlainText(m_design.freeTexts.join(QLatin1Char('\n')));
    m_c.type8Memo->setPlainText(m_design.type8Lines.join(QLatin1Char('\n')));
}

void DesignScreen::showNext(const QString& text)
{
    m_c.nextJobLine->setText(text);
}

void DesignScreen::showDates()
{
    applyDateAdjust(m_design.dateAdjust + MaxDateAdjust);
}

void DesignScreen::focusFirstInput()
{
    if (!m_c.designPanel->isVisible())
        return;
    const LabelTypeTraits& traits = labelType(m_design.type);
    QList<QWidget*> inputs;
    if (QWidget* first = m_c.typeFirstInput[size_t(traits.type)])
        inputs << first;
    for (int i = 0; i < traits.letterCount; ++i)
        inputs << m_c.letterLists[size_t(traits.letters[size_t(i)])];
    inputs << m_c.firstNumberList;
    if (traits.hasFreeTexts())
        inputs << m_c.freeTextMemo;
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
    order << m_c.type1UpperEdit << m_c.type2UpperEdit << m_c.type2LetterList << m_c.type3UpperEdit
          << m_c.type3FirstLetterList << m_c.type3SecondLetterList << m_c.type6LetterList
          << m_c.type7LetterList << m_c.type8Memo << m_c.type9UpperEdit << m_c.type10UpperEdit
          << m_c.type10LetterList << m_c.freeTextMemo << m_c.clearFreeTextsButton
          << m_c.firstNumberList << m_c.sampleCountList << m_c.repeatCountList << m_c.dateAdjustList
          << m_c.printSetButton;
    return order;
}

// ---- selecting a type ------------------------------------------------------

void DesignScreen::selectType(int type)
{
    const LabelTypeTraits& traits = labelType(type);
    m_design.type = type;
    enableTypePanel(type);
    highlightLabelType(type);
    if (traits.hasNumber())
        fillFirstNumberList(traits.digits);
    showDateAdjust(traits.hasDate());
    // Type10 refills the list too: a count of 6 or 7 left by a blank Type8
    // would otherwise reach a rainbow table of five colours.
    fillRepeatList();
    focusFirstInput();
    Q_EMIT designEdited();
}

void DesignScreen::enableTypePanel(int type)
{
    for (int t = FirstLabelType; t <= LastLabelType; ++t)
        m_c.typePanel[size_t(t)]->setEnabled(t == type);
    const bool numbered = labelType(type).hasNumber();
    m_c.firstNumberCaption->setVisible(numbered);
    m_c.firstNumberList->setVisible(numbered);
}

void DesignScreen::highlightLabelType(int type)
{
    greyAllPreviews();
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
    const int at = typeSlot(type);
    const bool right = at % 2 == 1;
    const bool lower = at / 2 == 1;
    int slot = -1;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Left:
        slot = right ? at - 1 : -1;
        break;
    case Qt::Key_Right:
        slot = right ? -1 : at + 1;
        break;
    case Qt::Key_Up:
        slot = lower ? at - 2 : -1;
        break;
    case Qt::Key_Down:
        slot = lower ? -1 : at + 2;
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    for (int t = FirstLabelType; t <= LastLabelType && slot >= 0; ++t) {
        if (typePage(t) == typePage(type) && typeSlot(t) == slot) {
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
    for (QWidget* widget : m_c.typeTexts[size_t(labelType(type).type)])
        Controls::setFontColor(widget, Black);
}

void DesignScreen::greyAllPreviews()
{
    for (const QList<QWidget*>& texts : m_c.typeTexts) {
        for (QWidget* widget : texts)
            Controls::setFontColor(widget, Grey);
    }
}

void DesignScreen::fillFirstNumberList(int digits)
{
    const int range = digits == 4 ? 10000 : digits == 3 ? 1000 : 100;
    m_c.firstNumberList->setNumberRange(0, range - 1);
    if (digits < 4 && m_design.firstNumber >= range)
        m_design.firstNumber %= range;
    m_c.firstNumberList->selectRow(m_design.firstNumber);
    chooseFirstNumber();
}

void DesignScreen::showDateAdjust(bool shown)
{
    m_c.dateAdjustList->setVisible(shown);
    m_c.dateAdjustCaption->setVisible(shown);
}

void DesignScreen::fillRepeatList()
{
    int remembered = std::max(0, m_c.repeatCountList->currentRow());
    const int most = maxRepeatCount(m_design);
    m_c.repeatCountList->setNumberRange(1, most);
    if (remembered >= most)
        remembered = 0;
    m_c.repeatCountList->selectRow(remembered);
    m_design.repeatCount = remembered + 1;
}

// ---- numbering -------------------------------------------------------------

void DesignScreen::showFirstNumber(bool plain)
{
    const int n = m_design.firstNumber;
    auto padded = [n, plain](int digits) {
        return plain ? QString::number(n)
                     : QStringLiteral("%1").arg(n, digits, 10, QLatin1Char('0'));
    };
    for (QLabel* label : {m_c.type1NumberCaption, m_c.type4NumberCaption, m_c.type5NumberCaption})
        label->setText(padded(4));
    for (QLabel* label : {m_c.type2NumberCaption, m_c.type6NumberCaption, m_c.type7NumberCaption})
        label->setText(padded(3));
    m_c.type3NumberCaption->setText(padded(2));
}

void DesignScreen::applyDateAdjust(int index)
{
    const QDate date = DateStamp::adjusted(m_clock(), index);
    for (QLabel* label : {m_c.type4DateCaption, m_c.type7DateCaption, m_c.type11DateCaption})
        label->setText(DateStamp::monthDay(date));
    for (QLabel* label : {m_c.type5DateCaption, m_c.type6DateCaption, m_c.type12DateCaption})
        label->setText(DateStamp::yearMonth(date));
}

void DesignScreen::uncheckStepActions()
{
    for (QAction* item : m_c.stepActions)
        item->setChecked(false);
}

void DesignScreen::choosePaddedNumbers()
{
    m_c.paddedNumbersAction->setChecked(true);
    m_c.plainNumbersAction->setChecked(false);
    m_design.plainNumbers = false;
    showFirstNumber(false);
    Q_EMIT numberingChanged();
    Q_EMIT designEdited();
}

void DesignScreen::choosePlainNumbers()
{
    m_c.paddedNumbersAction->setChecked(false);
    m_c.plainNumbersAction->setChecked(true);
    m_design.plainNumbers = true;
    showFirstNumber(true);
    Q_EMIT numberingChanged();
    Q_EMIT designEdited();
}

void DesignScreen::setStep(QAction* item, int step)
{
    uncheckStepActions();
    item->setChecked(true);
    m_design.step = step;
    Q_EMIT numberingChanged();
    Q_EMIT designEdited();
}

void DesignScreen::chooseStep1()
{
    setStep(m_c.step1Action, 1);
}
void DesignScreen::chooseStep2()
{
    setStep(m_c.step2Action, 2);
}
void DesignScreen::chooseStep3()
{
    setStep(m_c.step3Action, 3);
}
void DesignScreen::chooseStep5()
{
    setStep(m_c.step5Action, 5);
}
void DesignScreen::chooseStep10()
{
    setStep(m_c.step10Action, 10);
}

void DesignScreen::chooseFirstNumber()
{
    m_design.firstNumber = std::max(0, m_c.firstNumberList->currentRow());
    showFirstNumber(m_design.plainNumbers);
    Q_EMIT designEdited();
}

void DesignScreen::chooseSampleCount()
{
    m_design.sampleCount = m_c.sampleCountList->currentRow() + 1;
    Q_EMIT designEdited();
}

void DesignScreen::chooseRepeatCount()
{
    m_design.repeatCount = m_c.repeatCountList->currentRow() + 1;
    Q_EMIT designEdited();
}

void DesignScreen::chooseDateAdjust()
{
    m_design.dateAdjust = m_c.dateAdjustList->currentRow() - MaxDateAdjust;
    applyDateAdjust(m_c.dateAdjustList->currentRow());
    Q_EMIT designEdited();
}

// ---- input limits ----------------------------------------------------------

void DesignScreen::takeUpperText(int index)
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

void DesignScreen::takeType1Upper()
{
    takeUpperText(0);
}
void DesignScreen::takeType2Upper()
{
    takeUpperText(1);
}
void DesignScreen::takeType3Upper()
{
    takeUpperText(2);
}
void DesignScreen::takeType9Upper()
{
    takeUpperText(3);
}
void DesignScreen::takeType10Upper()
{
    takeUpperText(4);
}

void DesignScreen::takeType8Lines()
{
    if (m_inMemoChange)
        return;
    m_inMemoChange = true;
    // Only two lines fit on the label; the next four are emptied, their line
    // breaks kept.
    MemoText::tidy(m_c.type8Memo, [](int line) {
        return line < Type8Lines ? LabelBytes : line < Type8EmptiedLines ? 0 : MemoText::NoCut;
    });
    m_design.type8Lines = MemoText::lines(m_c.type8Memo);
    m_inMemoChange = false;
    Q_EMIT designEdited();
}

void DesignScreen::takeFreeTexts()
{
    if (m_inMemoChange)
        return;
    m_inMemoChange = true;
    const int room = labelType(m_design.type).freeTextBytes;
    MemoText::tidy(m_c.freeTextMemo, [room](int line) {
        if (line >= MaxFreeTexts)
            return line < FreeTextEmptiedLines ? 0 : MemoText::NoCut;
        return room > 0 ? room : MemoText::NoCut;
    });
    m_design.freeTexts = MemoText::lines(m_c.freeTextMemo);
    m_inMemoChange = false;
    Q_EMIT designEdited();
}

void DesignScreen::clearFreeTexts()
{
    for (int line = 0; line <= MaxFreeTexts && line < MemoText::lineCount(m_c.freeTextMemo); ++line)
        MemoText::setLine(m_c.freeTextMemo, line, QString());
    MemoText::setLine(m_c.freeTextMemo, 0, QString());
    m_c.freeTextMemo->setFocus(Qt::OtherFocusReason);
}
