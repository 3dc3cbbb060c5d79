// Builds the controls of the design screen: the three pages of type panels,
// the numbering lists and the two menus.

#include "ui/DesignScreen.h"

#include "core/model/LabelType.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "ui/CircleShape.h"
#include "ui/Controls.h"
#include "ui/ListBox.h"
#include "ui/MemoText.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int PanelWidth = 161;
constexpr int PanelHeight = 169;

// What the date and free-text previews show until the clock fills them in.
const QString MonthDayPreview = QStringLiteral("MM/DD");
const QString YearMonthPreview = QStringLiteral("YY|MM");

// Spoken names of the letter lists, which have no caption of their own.
QString lettersName(int type, int which = 0)
{
    const QString name = DesignScreen::tr("Type%1 英字").arg(type);
    return which > 0 ? name + QString::number(which) : name;
}

QLabel* caption(QWidget* panel, const char* name, const QString& text, int y, int pixels = 27,
                int x = 0, int width = PanelWidth)
{
    QLabel* label = Controls::label(panel, name, text, x, y, width, 34);
    label->setFont(Controls::gothic(pixels));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit* upperEdit(QWidget* panel, const char* name)
{
    auto* edit = new QLineEdit(panel);
    Controls::name(edit, name);
    edit->setFont(Controls::gothic(24));
    edit->setGeometry(28, 44, 105, 36);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

ListBox* letterList(QWidget* panel, const char* name, int x, int y)
{
    auto* list = new ListBox(panel);
    Controls::name(list, name);
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

DesignScreen::DesignScreen(QWidget* client, QMenuBar* menuBar, LabelDesign& design, Clock clock)
    : QObject(client), m_design(design), m_clock(std::move(clock))
{
    buildLists(client);
    buildPages(client);
    buildMenus(menuBar);
    retranslate();
}

void DesignScreen::retranslate()
{
    for (int type = FirstLabelType; type <= LastLabelType; ++type)
        m_c.typeButton[size_t(type)]->setText(tr("Type%1").arg(type));
    const std::pair<QLineEdit*, int> upperEdits[] = {{m_c.type1UpperEdit, 1},
                                                     {m_c.type2UpperEdit, 2},
                                                     {m_c.type3UpperEdit, 3},
                                                     {m_c.type9UpperEdit, 9},
                                                     {m_c.type10UpperEdit, 10}};
    for (const auto& [edit, type] : upperEdits)
        edit->setAccessibleName(tr("Type%1 上の文字").arg(type));
    m_c.type2LetterList->setAccessibleName(lettersName(2));
    m_c.type3FirstLetterList->setAccessibleName(lettersName(3, 1));
    m_c.type3SecondLetterList->setAccessibleName(lettersName(3, 2));
    m_c.type6LetterList->setAccessibleName(lettersName(6));
    m_c.type7LetterList->setAccessibleName(lettersName(7));
    m_c.type10LetterList->setAccessibleName(lettersName(10));
    m_c.type8Memo->setAccessibleName(tr("Type8 上下の文字"));
    m_c.freeTextMemo->setAccessibleName(tr("サンプルの文字（1行に1サンプル）"));
    for (QLabel* pointer : {m_c.type9FreeTextPointer, m_c.type10FreeTextPointer,
                            m_c.type11FreeTextPointer, m_c.type12FreeTextPointer})
        pointer->setText(tr("文字→"));
    m_c.clearFreeTextsButton->setText(tr("Reset"));
    m_c.clearFreeTextsButton->setAccessibleDescription(tr("サンプルの文字をすべて消します"));

    Controls::setCaption(m_c.firstNumberCaption, tr("初期値"));
    Controls::setCaption(m_c.sampleCountCaption, tr("サンプル数"));
    Controls::setCaption(m_c.repeatCountCaption, tr("リピート数"));
    Controls::setCaption(m_c.dateAdjustCaption, tr("日時調整"));
    m_c.printSetButton->setText(tr("PrintSet"));
    m_c.printSetButton->setAccessibleDescription(tr("印刷の設定画面に進みます"));
    m_c.numberDisplayMenu->setTitle(tr("数字表示"));
    m_c.stepMenu->setTitle(tr("ステップ"));
}

void DesignScreen::buildPages(QWidget* client)
{
    const char* pageNames[3] = {"types1to4Page", "types5to8Page", "types9to12Page"};
    for (int p = 0; p < 3; ++p) {
        m_c.pages[size_t(p)] = new QWidget(client);
        m_c.pages[size_t(p)]->setObjectName(QString::fromLatin1(pageNames[p]));
        m_c.pages[size_t(p)]->setGeometry(m_c.designPanel->x(), m_c.designPanel->y(), 476, 433);
    }
    m_c.types1to4Page = m_c.pages[0];
    m_c.types5to8Page = m_c.pages[1];
    m_c.types9to12Page = m_c.pages[2];

    m_c.typeGroup = new QButtonGroup(this);
    m_c.typeGroup->setExclusive(true);
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        const int x = 8 + (typeSlot(type) % 2) * 173;
        const int y = 4 + (typeSlot(type) / 2) * 201;
        QWidget* page = m_c.pages[size_t(typePage(type))];
        auto* button = new QRadioButton(page);
        button->setObjectName(QStringLiteral("type%1Button").arg(type));
        button->setGeometry(x, y, PanelWidth, 22);
        m_c.typeGroup->addButton(button, type);
        m_c.typeButton[size_t(type)] = button;
        button->installEventFilter(this);
        // A button checked by the program runs its handler only when it was
        // not checked before: toggled(true) fires exactly then.
        connect(button, &QRadioButton::toggled, this, [this, type](bool checked) {
            tabToCheckedType();
            if (checked)
                selectType(type);
        });
        buildPanel(type, page, x, y + 24);
    }

    // Free texts of types 9..12, one line per sample.
    m_c.freeTextMemo = memo(m_c.types9to12Page, "freeTextMemo", 20);
    m_c.freeTextMemo->setGeometry(350, 8, 121, 385);
    m_c.freeTextMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(m_c.freeTextMemo, &QPlainTextEdit::textChanged, this, &DesignScreen::takeFreeTexts);

    m_c.clearFreeTextsButton = new QPushButton(m_c.types9to12Page);
    Controls::name(m_c.clearFreeTextsButton, "clearFreeTextsButton");
    m_c.clearFreeTextsButton->setGeometry(350, 398, 121, 30);
    connect(m_c.clearFreeTextsButton, &QPushButton::clicked, this, &DesignScreen::clearFreeTexts);

    m_c.upperEdits = {m_c.type1UpperEdit, m_c.type2UpperEdit, m_c.type3UpperEdit,
                      m_c.type9UpperEdit, m_c.type10UpperEdit};
    void (DesignScreen::*handlers[])() = {
        &DesignScreen::takeType1Upper, &DesignScreen::takeType2Upper, &DesignScreen::takeType3Upper,
        &DesignScreen::takeType9Upper, &DesignScreen::takeType10Upper};
    for (size_t i = 0; i < m_c.upperEdits.size(); ++i)
        connect(m_c.upperEdits[i], &QLineEdit::textChanged, this, handlers[i]);

    listTypeControls();

    m_c.letterLists = {m_c.type2LetterList, m_c.type3FirstLetterList, m_c.type3SecondLetterList,
                       m_c.type6LetterList, m_c.type7LetterList,      m_c.type10LetterList};
    for (int i = 0; i < LetterListCount; ++i) {
        connect(m_c.letterLists[size_t(i)], &ListBox::currentRowChanged, this, [this, i](int row) {
            m_design.setLetter(LetterList(i), std::max(0, row));
            Q_EMIT designEdited();
        });
    }
}

void DesignScreen::buildPanel(int type, QWidget* page, int x, int y)
{
    auto* panel = new QWidget(page);
    panel->setObjectName(QStringLiteral("type%1Panel").arg(type));
    panel->setGeometry(x, y, PanelWidth, PanelHeight);
    m_c.typePanel[size_t(type)] = panel;

    auto* shape = new CircleShape(panel);
    shape->setObjectName(QStringLiteral("type%1Disc").arg(type));
    shape->setGeometry(-4, 12, 169, 145);

    if (type <= 7)
        buildNumberedControls(type, panel);
    else
        buildTypedControls(type, panel);
}

// Types 1..7: a running number, with an upper text, letters or a date.
void DesignScreen::buildNumberedControls(int type, QWidget* panel)
{
    switch (type) {
    case 1:
        m_c.type1UpperEdit = upperEdit(panel, "type1UpperEdit");
        m_c.type1NumberCaption = caption(panel, "type1NumberCaption", QStringLiteral("0001"), 86);
        break;
    case 2:
        m_c.type2UpperEdit = upperEdit(panel, "type2UpperEdit");
        m_c.type2LetterList = letterList(panel, "type2LetterList", 24, 84);
        m_c.type2NumberCaption =
            caption(panel, "type2NumberCaption", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    case 3:
        m_c.type3UpperEdit = upperEdit(panel, "type3UpperEdit");
        m_c.type3FirstLetterList = letterList(panel, "type3FirstLetterList", 12, 84);
        m_c.type3SecondLetterList = letterList(panel, "type3SecondLetterList", 64, 84);
        m_c.type3NumberCaption =
            caption(panel, "type3NumberCaption", QStringLiteral("01"), 86, 27, 114, 44);
        break;
    case 4:
        m_c.type4DateCaption = caption(panel, "type4DateCaption", MonthDayPreview, 44);
        m_c.type4NumberCaption = caption(panel, "type4NumberCaption", QStringLiteral("0001"), 86);
        break;
    case 5:
        m_c.type5DateCaption = caption(panel, "type5DateCaption", YearMonthPreview, 44);
        m_c.type5NumberCaption = caption(panel, "type5NumberCaption", QStringLiteral("0001"), 86);
        break;
    case 6:
        m_c.type6DateCaption = caption(panel, "type6DateCaption", YearMonthPreview, 44);
        m_c.type6LetterList = letterList(panel, "type6LetterList", 24, 84);
        m_c.type6NumberCaption =
            caption(panel, "type6NumberCaption", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    case 7:
        m_c.type7DateCaption = caption(panel, "type7DateCaption", MonthDayPreview, 44);
        m_c.type7LetterList = letterList(panel, "type7LetterList", 24, 84);
        m_c.type7NumberCaption =
            caption(panel, "type7NumberCaption", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    default:
        break;
    }
}

// Types 8..12: lines the user types, type 8's in its own memo, the others'
// in the free-text memo the pointers show at.
void DesignScreen::buildTypedControls(int type, QWidget* panel)
{
    switch (type) {
    case 8:
        m_c.type8Memo = memo(panel, "type8Memo", 24);
        m_c.type8Memo->setGeometry(28, 50, 105, 65);
        m_c.type8Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_c.type8Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(m_c.type8Memo, &QPlainTextEdit::textChanged, this, &DesignScreen::takeType8Lines);
        break;
    case 9:
        m_c.type9UpperEdit = upperEdit(panel, "type9UpperEdit");
        m_c.type9FreeTextPointer = caption(panel, "type9FreeTextPointer", QString(), 86);
        break;
    case 10:
        m_c.type10UpperEdit = upperEdit(panel, "type10UpperEdit");
        m_c.type10LetterList = letterList(panel, "type10LetterList", 16, 84);
        m_c.type10FreeTextPointer =
            caption(panel, "type10FreeTextPointer", QString(), 88, 24, 68, 90);
        break;
    case 11:
        m_c.type11DateCaption = caption(panel, "type11DateCaption", MonthDayPreview, 44);
        m_c.type11FreeTextPointer = caption(panel, "type11FreeTextPointer", QString(), 86);
        break;
    case 12:
        m_c.type12DateCaption = caption(panel, "type12DateCaption", YearMonthPreview, 44);
        m_c.type12FreeTextPointer = caption(panel, "type12FreeTextPointer", QString(), 86);
        break;
    default:
        break;
    }
}

void DesignScreen::listTypeControls()
{
    // Type3's number caption turns black with its letters, as every other
    // type's number caption does; its upper text keeps its colour.
    m_c.typeTexts[1] = {m_c.type1NumberCaption, m_c.type1UpperEdit};
    m_c.typeTexts[2] = {m_c.type2NumberCaption, m_c.type2LetterList, m_c.type2UpperEdit};
    m_c.typeTexts[3] = {m_c.type3FirstLetterList, m_c.type3SecondLetterList,
                        m_c.type3NumberCaption};
    m_c.typeTexts[4] = {m_c.type4DateCaption, m_c.type4NumberCaption};
    m_c.typeTexts[5] = {m_c.type5DateCaption, m_c.type5NumberCaption};
    m_c.typeTexts[6] = {m_c.type6DateCaption, m_c.type6NumberCaption, m_c.type6LetterList};
    m_c.typeTexts[7] = {m_c.type7DateCaption, m_c.type7NumberCaption, m_c.type7LetterList};
    m_c.typeTexts[8] = {m_c.type8Memo};
    m_c.typeTexts[9] = {m_c.type9FreeTextPointer, m_c.type9UpperEdit};
    m_c.typeTexts[10] = {m_c.type10FreeTextPointer, m_c.type10UpperEdit, m_c.type10LetterList};
    m_c.typeTexts[11] = {m_c.type11DateCaption, m_c.type11FreeTextPointer};
    m_c.typeTexts[12] = {m_c.type12DateCaption, m_c.type12FreeTextPointer};

    m_c.typeFirstInput[1] = m_c.type1UpperEdit;
    m_c.typeFirstInput[2] = m_c.type2UpperEdit;
    m_c.typeFirstInput[3] = m_c.type3UpperEdit;
    m_c.typeFirstInput[8] = m_c.type8Memo;
    m_c.typeFirstInput[9] = m_c.type9UpperEdit;
    m_c.typeFirstInput[10] = m_c.type10UpperEdit;
}

void DesignScreen::buildLists(QWidget* client)
{
    m_c.designPanel = new QWidget(client);
    m_c.designPanel->setObjectName(QStringLiteral("designPanel"));
    m_c.designPanel->setGeometry(88, 136, 761, 433);
    QWidget* panel = m_c.designPanel;

    auto makeList = [panel](const char* name, int x, int y, int w, int h) {
        auto* list = new ListBox(panel);
        Controls::name(list, name);
        list->setGeometry(x, y, w, h);
        return list;
    };
    m_c.firstNumberCaption = Controls::label(panel, "firstNumberCaption", QString(), 484, 4);
    m_c.firstNumberList = makeList("firstNumberList", 484, 26, 76, 300);
    m_c.sampleCountCaption = Controls::label(panel, "sampleCountCaption", QString(), 572, 4);
    m_c.sampleCountList = makeList("sampleCountList", 572, 26, 84, 300);
    m_c.repeatCountCaption = Controls::label(panel, "repeatCountCaption", QString(), 668, 4);
    m_c.repeatCountList = makeList("repeatCountList", 668, 26, 84, 110);
    m_c.dateAdjustCaption = Controls::label(panel, "dateAdjustCaption", QString(), 668, 150);
    m_c.dateAdjustList = makeList("dateAdjustList", 668, 172, 84, 154);
    Controls::nameAfter(m_c.firstNumberList, m_c.firstNumberCaption);
    Controls::nameAfter(m_c.sampleCountList, m_c.sampleCountCaption);
    Controls::nameAfter(m_c.repeatCountList, m_c.repeatCountCaption);
    Controls::nameAfter(m_c.dateAdjustList, m_c.dateAdjustCaption);
    m_c.sampleCountList->setNumberRange(1, MaxSampleCount);
    m_c.firstNumberList->setNumberRange(0, 9999);
    m_c.repeatCountList->setNumberRange(1, 5);
    m_c.dateAdjustList->setNumberRange(-MaxDateAdjust, MaxDateAdjust);

    m_c.printSetButton = new QPushButton(panel);
    Controls::name(m_c.printSetButton, "printSetButton");
    m_c.printSetButton->setGeometry(572, 348, 180, 64);
    m_c.printSetButton->setFont(Controls::gothic(20));
    connect(m_c.printSetButton, &QPushButton::clicked, this, &DesignScreen::printSetRequested);
    m_c.nextJobLine = Controls::label(panel, "nextJobLine", QString(), 484, 330, 270, 18);

    connect(m_c.firstNumberList, &ListBox::currentRowChanged, this,
            &DesignScreen::chooseFirstNumber);
    connect(m_c.sampleCountList, &ListBox::currentRowChanged, this,
            &DesignScreen::chooseSampleCount);
    connect(m_c.repeatCountList, &ListBox::currentRowChanged, this,
            &DesignScreen::chooseRepeatCount);
    connect(m_c.dateAdjustList, &ListBox::currentRowChanged, this, &DesignScreen::chooseDateAdjust);
}

void DesignScreen::buildMenus(QMenuBar* menuBar)
{
    auto item = [this](QMenu* menu, const char* name, const QString& text, bool checked,
                       void (DesignScreen::*handler)()) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setChecked(checked);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_c.numberDisplayMenu = menuBar->addMenu(QString());
    m_c.numberDisplayMenu->setObjectName(QStringLiteral("numberDisplayMenu"));
    m_c.paddedNumbersAction =
        item(m_c.numberDisplayMenu, "paddedNumbersAction", QStringLiteral("０００１"), true,
             &DesignScreen::choosePaddedNumbers);
    m_c.plainNumbersAction = item(m_c.numberDisplayMenu, "plainNumbersAction", QStringLiteral("１"),
                                  false, &DesignScreen::choosePlainNumbers);
    m_c.stepMenu = menuBar->addMenu(QString());
    m_c.stepMenu->setObjectName(QStringLiteral("stepMenu"));
    m_c.step1Action =
        item(m_c.stepMenu, "step1Action", QStringLiteral("1"), true, &DesignScreen::chooseStep1);
    m_c.step2Action =
        item(m_c.stepMenu, "step2Action", QStringLiteral("2"), false, &DesignScreen::chooseStep2);
    m_c.step3Action =
        item(m_c.stepMenu, "step3Action", QStringLiteral("3"), false, &DesignScreen::chooseStep3);
    m_c.step5Action =
        item(m_c.stepMenu, "step5Action", QStringLiteral("5"), false, &DesignScreen::chooseStep5);
    m_c.step10Action = item(m_c.stepMenu, "step10Action", QStringLiteral("10"), false,
                            &DesignScreen::chooseStep10);
    m_c.stepActions = {m_c.step1Action, m_c.step2Action, m_c.step3Action, m_c.step5Action,
                       m_c.step10Action};
}
