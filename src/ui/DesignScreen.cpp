#include "ui/DesignScreen.h"

#include "core/model/LabelType.h"
#include "ui/LabelTextInputs.h"
#include "ui/ListBox.h"
#include "ui/NumberingLists.h"
#include "ui/TypePages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

DesignScreen::DesignScreen(QWidget* client, QMenuBar* menuBar, LabelDesign& design, Clock clock)
    : QObject(client), m_design(design), m_clock(std::move(clock))
{
    // The lists first: the pages lie over the design panel that holds them.
    m_numbering = new NumberingLists(m_c, m_design, client, menuBar, this);
    m_pages = new TypePages(m_c, client, this);
    m_inputs = new LabelTextInputs(m_c, m_design, this);

    connect(m_pages, &TypePages::typeChosen, this, &DesignScreen::selectType);
    connect(m_numbering, &NumberingLists::numberShown, this,
            [this] { m_pages->showNumber(m_design.firstNumber, m_design.plainNumbers); });
    connect(m_numbering, &NumberingLists::dateAdjusted, this,
            [this](int index) { m_pages->showDate(DateStamp::adjusted(m_clock(), index)); });
    connect(m_numbering, &NumberingLists::numberingChanged, this, &DesignScreen::numberingChanged);
    connect(m_numbering, &NumberingLists::edited, this, &DesignScreen::designEdited);
    connect(m_inputs, &LabelTextInputs::edited, this, &DesignScreen::designEdited);
    connect(m_c.printSetButton, &QPushButton::clicked, this, &DesignScreen::printSetRequested);
    retranslate();
}

void DesignScreen::retranslate()
{
    m_pages->retranslate();
    m_inputs->retranslate();
    m_numbering->retranslate();
}

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
        m_numbering->showSampleCount();
}

void DesignScreen::showDesign()
{
    const LabelTypeTraits& traits = labelType(m_design.type);
    m_pages->showChosen(traits.type);
    m_numbering->showType(traits);
    m_numbering->showDesign();
    m_inputs->showTexts();
    m_inputs->showLetters();
    m_pages->showNumber(m_design.firstNumber, m_design.plainNumbers);
    showDates();
}

void DesignScreen::showStartPanels()
{
    m_pages->showStartPanels();
}

void DesignScreen::showNumbering()
{
    m_inputs->showLetters();
    m_numbering->showFirstNumber();
}

void DesignScreen::showNext(const QString& text)
{
    m_c.nextJobLine->setText(text);
}

void DesignScreen::showDates()
{
    m_pages->showDate(DateStamp::adjusted(m_clock(), m_design.dateAdjust + MaxDateAdjust));
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
        inputs << m_c.letters(traits.letters[size_t(i)]);
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
    // Each type's inputs in the order they stand on its panel.
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        const LabelTypeTraits& traits = labelType(type);
        if (QLineEdit* edit = m_c.upperEdit[size_t(type)])
            order << edit;
        for (int i = 0; i < traits.letterCount; ++i)
            order << m_c.letters(traits.letters[size_t(i)]);
        if (type == 8)
            order << m_c.type8Memo;
    }
    order << m_c.freeTextMemo << m_c.clearFreeTextsButton << m_c.firstNumberList
          << m_c.sampleCountList << m_c.repeatCountList << m_c.dateAdjustList << m_c.printSetButton;
    return order;
}

void DesignScreen::selectType(int type)
{
    const LabelTypeTraits& traits = labelType(type);
    m_design.type = type;
    // The window may set where the type's numbering goes on; the lists
    // below show it.
    const LabelDesign before = m_design;
    Q_EMIT typeChanged(type);
    if (!(before == m_design))
        m_inputs->showLetters();
    m_pages->enable(type);
    m_numbering->showType(traits);
    m_pages->highlight(type);
    m_numbering->fitToType(traits);
    focusFirstInput();
    Q_EMIT designEdited();
}
