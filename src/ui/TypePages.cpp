#include "ui/TypePages.h"

#include "core/model/LabelType.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/numbering/DateStamp.h"
#include "ui/CircleShape.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/MemoText.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

constexpr int PanelWidth = 161;
constexpr int PanelHeight = 169;

const QColor Grey(0x80, 0x80, 0x80);
const QColor Black(0, 0, 0);

QByteArray nameOf(int type, const char* role)
{
    return QStringLiteral("type%1%2").arg(type).arg(QLatin1String(role)).toLatin1();
}

QLabel* caption(QWidget* panel, const QByteArray& name, const QString& text, int y, int pixels = 27,
                int x = 0, int width = PanelWidth)
{
    QLabel* label = Controls::label(panel, name.constData(), text, x, y, width, 34);
    label->setFont(Controls::gothic(pixels));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit* upperEdit(QWidget* panel, const QByteArray& name)
{
    auto* edit = new QLineEdit(panel);
    Controls::name(edit, name.constData());
    edit->setFont(Controls::gothic(24));
    edit->setGeometry(28, 44, 105, 36);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

ListBox* letterList(QWidget* panel, const QByteArray& name, int x, int y)
{
    auto* list = new ListBox(panel);
    Controls::name(list, name.constData());
    list->setFont(Controls::gothic(24));
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QStringList letters;
    for (int i = 0; i < 26; ++i)
        letters << letterOf(i);
    list->setItems(letters);
    list->selectRow(0);
    // One letter at a time, stepped with the scroll arrows, wheel or keys.
    list->setGeometry(x, y, 50, list->sizeHintForRow(0) + 2 * list->frameWidth());
    return list;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, int pixels)
{
    auto* memo = new QPlainTextEdit(parent);
    Controls::name(memo, name);
    memo->setFont(Controls::gothic(pixels));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoText::rightAlign(memo);
    // Tab goes on to the next input (a tab is no character of a label).
    memo->setTabChangesFocus(true);
    return memo;
}

} // namespace

TypePages::TypePages(DesignControls& controls, QWidget* client, QObject* parent)
    : QObject(parent), m_c(controls)
{
    const char* pageNames[3] = {"types1to4Page", "types5to8Page", "types9to12Page"};
    for (int p = 0; p < 3; ++p) {
        m_c.pages[size_t(p)] = new QWidget(client);
        m_c.pages[size_t(p)]->setObjectName(QString::fromLatin1(pageNames[p]));
        m_c.pages[size_t(p)]->setGeometry(m_c.designPanel->x(), m_c.designPanel->y(), 476, 433);
    }

    m_c.typeGroup = new QButtonGroup(this);
    m_c.typeGroup->setExclusive(true);
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        const int x = 8 + (typeSlot(type) % 2) * 173;
        const int y = 4 + (typeSlot(type) / 2) * 201;
        QWidget* page = m_c.pages[size_t(typePage(type))];
        auto* button = new QRadioButton(page);
        button->setObjectName(QString::fromLatin1(nameOf(type, "Button")));
        button->setGeometry(x, y, PanelWidth, 22);
        m_c.typeGroup->addButton(button, type);
        m_c.typeButton[size_t(type)] = button;
        button->installEventFilter(this);
        // A button checked by the program runs its handler only when it was
        // not checked before: toggled(true) fires exactly then.
        connect(button, &QRadioButton::toggled, this, [this, type](bool checked) {
            tabToCheckedType();
            if (checked)
                Q_EMIT typeChosen(type);
        });
        buildPanel(type, page, x, y + 24);
    }
    buildFreeTexts();
    listTypeControls();
}

void TypePages::retranslate()
{
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        m_c.typeButton[size_t(type)]->setText(DesignScreen::tr("Type%1").arg(type));
        if (QLabel* pointer = m_c.freeTextPointer[size_t(type)])
            pointer->setText(DesignScreen::tr("文字→"));
    }
}

// A panel holds, from the top: the upper text or the date, the letters, and
// the running number or the pointer at the free-text memo; type 8 has a
// memo of its own for both lines.
void TypePages::buildPanel(int type, QWidget* page, int x, int y)
{
    auto* panel = new QWidget(page);
    panel->setObjectName(QString::fromLatin1(nameOf(type, "Panel")));
    panel->setGeometry(x, y, PanelWidth, PanelHeight);
    m_c.typePanel[size_t(type)] = panel;

    auto* shape = new CircleShape(panel);
    shape->setObjectName(QString::fromLatin1(nameOf(type, "Disc")));
    shape->setGeometry(-4, 12, 169, 145);

    const LabelTypeTraits& traits = labelType(type);
    if (traits.upperText >= 0)
        m_c.upperEdit[size_t(type)] = upperEdit(panel, nameOf(type, "UpperEdit"));
    if (traits.hasDate()) {
        // What the date shows until the clock fills it in.
        const QString preview =
            traits.upper == UpperLine::MonthDay ? QStringLiteral("MM/DD") : QStringLiteral("YY|MM");
        m_c.dateCaption[size_t(type)] = caption(panel, nameOf(type, "DateCaption"), preview, 44);
    }
    if (traits.letterCount == 1) {
        m_c.letterLists[size_t(traits.letters[0])] =
            letterList(panel, nameOf(type, "LetterList"), type == 10 ? 16 : 24, 84);
    } else if (traits.letterCount == 2) {
        m_c.letterLists[size_t(traits.letters[0])] =
            letterList(panel, nameOf(type, "FirstLetterList"), 12, 84);
        m_c.letterLists[size_t(traits.letters[1])] =
            letterList(panel, nameOf(type, "SecondLetterList"), 64, 84);
    }
    if (traits.hasNumber()) {
        // Beside the letters, in the width the number takes.
        const QString zeros(traits.digits - 1, QLatin1Char('0'));
        const QByteArray name = nameOf(type, "NumberCaption");
        m_c.numberCaption[size_t(type)] =
            traits.letterCount == 0 ? caption(panel, name, zeros + QLatin1Char('1'), 86)
            : traits.letterCount == 1
                ? caption(panel, name, zeros + QLatin1Char('1'), 86, 27, 76, 70)
                : caption(panel, name, zeros + QLatin1Char('1'), 86, 27, 114, 44);
    } else if (traits.hasFreeTexts()) {
        const QByteArray name = nameOf(type, "FreeTextPointer");
        m_c.freeTextPointer[size_t(type)] = traits.letterCount > 0
                                                ? caption(panel, name, QString(), 88, 24, 68, 90)
                                                : caption(panel, name, QString(), 86);
    } else {
        m_c.type8Memo = memo(panel, "type8Memo", 24);
        m_c.type8Memo->setGeometry(28, 50, 105, 65);
        m_c.type8Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_c.type8Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
}

void TypePages::buildFreeTexts()
{
    // Free texts of types 9..12, one line per sample.
    QWidget* page = m_c.pages[2];
    m_c.freeTextMemo = memo(page, "freeTextMemo", 20);
    m_c.freeTextMemo->setGeometry(350, 8, 121, 385);
    m_c.freeTextMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_c.clearFreeTextsButton = new QPushButton(page);
    Controls::name(m_c.clearFreeTextsButton, "clearFreeTextsButton");
    m_c.clearFreeTextsButton->setGeometry(350, 398, 121, 30);
}

void TypePages::listTypeControls()
{
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        const auto t = size_t(type);
        const LabelTypeTraits& traits = labelType(type);
        QList<QWidget*>& texts = m_c.typeTexts[t];
        for (QWidget* shown : {static_cast<QWidget*>(m_c.dateCaption[t]),
                               static_cast<QWidget*>(m_c.numberCaption[t]),
                               static_cast<QWidget*>(m_c.freeTextPointer[t])}) {
            if (shown)
                texts << shown;
        }
        for (int i = 0; i < traits.letterCount; ++i)
            texts << m_c.letters(traits.letters[size_t(i)]);
        // Type3's number caption turns black with its letters, as every
        // other type's number caption does; its upper text keeps its colour.
        if (m_c.upperEdit[t] && type != 3)
            texts << m_c.upperEdit[t];
        if (type == 8)
            texts << m_c.type8Memo;
        m_c.typeFirstInput[t] = type == 8 ? static_cast<QWidget*>(m_c.type8Memo) : m_c.upperEdit[t];
    }
}

void TypePages::showChosen(int type)
{
    {
        const QSignalBlocker blocker(m_c.typeButton[size_t(type)]);
        m_c.typeButton[size_t(type)]->setChecked(true);
    }
    tabToCheckedType();
    enable(type);
    greyAllPreviews();
    paintBlack(type);
}

void TypePages::enable(int type)
{
    for (int t = FirstLabelType; t <= LastLabelType; ++t)
        m_c.typePanel[size_t(t)]->setEnabled(t == type);
}

void TypePages::highlight(int type)
{
    greyAllPreviews();
    if (type >= FirstLabelType && type <= LastLabelType)
        m_c.typeButton[size_t(type)]->setChecked(true); // the group unchecks the other eleven
    paintBlack(type);
}

void TypePages::showStartPanels()
{
    for (int type = FirstLabelType; type <= LastLabelType; ++type)
        m_c.typePanel[size_t(type)]->setEnabled(typeSlot(type) == 0);
}

void TypePages::showNumber(int number, bool plain)
{
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        if (QLabel* label = m_c.numberCaption[size_t(type)]) {
            const int digits = labelType(type).digits;
            label->setText(plain ? QString::number(number)
                                 : QStringLiteral("%1").arg(number, digits, 10, QLatin1Char('0')));
        }
    }
}

void TypePages::showDate(const QDate& date)
{
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        if (QLabel* label = m_c.dateCaption[size_t(type)])
            label->setText(labelType(type).upper == UpperLine::MonthDay
                               ? DateStamp::monthDay(date)
                               : DateStamp::yearMonth(date));
    }
}

void TypePages::tabToCheckedType()
{
    // Tab stops at the chosen type only; the arrow keys choose another.
    for (QRadioButton* button : m_c.typeButton) {
        if (button)
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

bool TypePages::eventFilter(QObject* watched, QEvent* event)
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

void TypePages::paintBlack(int type)
{
    for (QWidget* widget : m_c.typeTexts[size_t(labelType(type).type)])
        Controls::setFontColor(widget, Black);
}

void TypePages::greyAllPreviews()
{
    for (const QList<QWidget*>& texts : m_c.typeTexts) {
        for (QWidget* widget : texts)
            Controls::setFontColor(widget, Grey);
    }
}
