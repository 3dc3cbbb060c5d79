#include "ui/LabelTextInputs.h"

#include "core/model/LabelDesign.h"
#include "core/numbering/Cp932.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/MemoText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// Memo lines past these are emptied: the labels never read them.
constexpr int Type8Lines = 2;
constexpr int Type8EmptiedLines = 6;
constexpr int FreeTextEmptiedLines = 101;

// Spoken names of the letter lists, which have no caption of their own.
QString lettersName(int type, int which = 0)
{
    const QString name = DesignScreen::tr("Type%1 英字").arg(type);
    return which > 0 ? name + QString::number(which) : name;
}

} // namespace

LabelTextInputs::LabelTextInputs(DesignControls& controls, LabelDesign& design, QObject* parent)
    : QObject(parent), m_c(controls), m_design(design)
{
    connect(m_c.freeTextMemo, &QPlainTextEdit::textChanged, this, &LabelTextInputs::takeFreeTexts);
    connect(m_c.clearFreeTextsButton, &QPushButton::clicked, this,
            &LabelTextInputs::clearFreeTexts);
    connect(m_c.type8Memo, &QPlainTextEdit::textChanged, this, &LabelTextInputs::takeType8Lines);
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        if (QLineEdit* edit = m_c.upperEdit[size_t(type)])
            connect(edit, &QLineEdit::textChanged, this, [this, type] { takeUpperText(type); });
    }
    for (int i = 0; i < LetterListCount; ++i) {
        connect(m_c.letterLists[size_t(i)], &ListBox::currentRowChanged, this, [this, i](int row) {
            m_design.setLetter(LetterList(i), std::max(0, row));
            Q_EMIT edited();
        });
    }
}

void LabelTextInputs::retranslate()
{
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        const LabelTypeTraits& traits = labelType(type);
        if (QLineEdit* edit = m_c.upperEdit[size_t(type)])
            edit->setAccessibleName(DesignScreen::tr("Type%1 上の文字").arg(type));
        for (int i = 0; i < traits.letterCount; ++i)
            m_c.letters(traits.letters[size_t(i)])
                ->setAccessibleName(lettersName(type, traits.letterCount > 1 ? i + 1 : 0));
    }
    m_c.type8Memo->setAccessibleName(DesignScreen::tr("Type8 上下の文字"));
    m_c.freeTextMemo->setAccessibleName(DesignScreen::tr("サンプルの文字（1行に1サンプル）"));
    m_c.clearFreeTextsButton->setText(DesignScreen::tr("Reset"));
    m_c.clearFreeTextsButton->setAccessibleDescription(
        DesignScreen::tr("サンプルの文字をすべて消します"));
}

void LabelTextInputs::showTexts()
{
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        if (QLineEdit* edit = m_c.upperEdit[size_t(type)]) {
            const QSignalBlocker blocker(edit);
            edit->setText(m_design.upperTexts[size_t(labelType(type).upperText)]);
        }
    }
    const QSignalBlocker blocker1(m_c.freeTextMemo);
    const QSignalBlocker blocker2(m_c.type8Memo);
    m_c.freeTextMemo->setPlainText(m_design.freeTexts.join(QLatin1Char('\n')));
    m_c.type8Memo->setPlainText(m_design.type8Lines.join(QLatin1Char('\n')));
}

void LabelTextInputs::showLetters()
{
    for (int i = 0; i < LetterListCount; ++i)
        m_c.letterLists[size_t(i)]->selectRow(m_design.letter(LetterList(i)));
}

void LabelTextInputs::takeUpperText(int type)
{
    QLineEdit* edit = m_c.upperEdit[size_t(type)];
    const QString text = edit->text();
    const QString kept = Cp932::limit(text, LabelBytes);
    if (kept != text) {
        const int cursor = Cp932::limitedPosition(text, edit->cursorPosition(), LabelBytes);
        edit->setText(kept); // runs this handler again, which finds nothing to cut
        edit->setCursorPosition(cursor);
        return;
    }
    m_design.upperTexts[size_t(labelType(type).upperText)] = text;
    Q_EMIT edited();
}

void LabelTextInputs::takeType8Lines()
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
    Q_EMIT edited();
}

void LabelTextInputs::takeFreeTexts()
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
    Q_EMIT edited();
}

void LabelTextInputs::clearFreeTexts()
{
    for (int line = 0; line <= MaxFreeTexts && line < MemoText::lineCount(m_c.freeTextMemo); ++line)
        MemoText::setLine(m_c.freeTextMemo, line, QString());
    MemoText::setLine(m_c.freeTextMemo, 0, QString());
    m_c.freeTextMemo->setFocus(Qt::OtherFocusReason);
}
