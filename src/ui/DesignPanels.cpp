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

QLabel* caption(QWidget* panel, const char* name, const QString& text, int y, int pixels = 27,
                int x = 0, int width = PanelWidth)
{
    QLabel* label = Controls::label(panel, name, text, x, y, width, 34);
    label->setFont(Controls::gothic(pixels));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit* upperEdit(QWidget* panel, const char* name, int type)
{
    auto* edit = new QLineEdit(panel);
    Controls::name(edit, name, QStringLiteral("Type%1 上の文字").arg(type));
    edit->setFont(Controls::gothic(24));
    edit->setGeometry(28, 44, 105, 36);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

ListBox* letterList(QWidget* panel, const char* name, const QString& caption, int x, int y)
{
    auto* list = new ListBox(panel);
    Controls::name(list, name, caption);
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

QPlainTextEdit* memo(QWidget* parent, const char* name, const QString& caption, int pixels)
{
    auto* memo = new QPlainTextEdit(parent);
    Controls::name(memo, name, caption);
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
}

void DesignScreen::buildPages(QWidget* client)
{
    const char* pageNames[3] = {"PnlType1", "pnlType2", "pnlType3"};
    for (int p = 0; p < 3; ++p) {
        m_c.pages[size_t(p)] = new QWidget(client);
        m_c.pages[size_t(p)]->setObjectName(QString::fromLatin1(pageNames[p]));
        m_c.pages[size_t(p)]->setGeometry(m_c.pnlMain->x(), m_c.pnlMain->y(), 476, 433);
    }
    m_c.PnlType1 = m_c.pages[0];
    m_c.pnlType2 = m_c.pages[1];
    m_c.pnlType3 = m_c.pages[2];

    m_c.typeGroup = new QButtonGroup(this);
    m_c.typeGroup->setExclusive(true);
    for (int type = FirstLabelType; type <= LastLabelType; ++type) {
        const LabelTypeTraits& traits = labelType(type);
        const int x = 8 + (traits.slot % 2) * 173;
        const int y = 4 + (traits.slot / 2) * 201;
        QWidget* page = m_c.pages[size_t(traits.page)];
        auto* button = new QRadioButton(QStringLiteral("Type%1").arg(type), page);
        Controls::name(button, traits.button, button->text());
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
    m_c.Memo1 = memo(m_c.pnlType3, "Memo1", QStringLiteral("サンプルの文字（1行に1サンプル）"), 20);
    m_c.Memo1->setGeometry(350, 8, 121, 385);
    m_c.Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(m_c.Memo1, &QPlainTextEdit::textChanged, this, &DesignScreen::Memo1Change);

    m_c.cmdreset = new QPushButton(QStringLiteral("Reset"), m_c.pnlType3);
    Controls::name(m_c.cmdreset, "cmdreset", QStringLiteral("Reset"));
    m_c.cmdreset->setGeometry(350, 398, 121, 30);
    connect(m_c.cmdreset, &QPushButton::clicked, this, &DesignScreen::cmdresetClick);

    m_c.upperEdits = {m_c.Edit1, m_c.Edit2, m_c.Edit3, m_c.Edit4, m_c.Edit5};
    void (DesignScreen::*handlers[])() = {&DesignScreen::Edit1Change, &DesignScreen::Edit2Change,
                                          &DesignScreen::Edit3Change, &DesignScreen::Edit4Change,
                                          &DesignScreen::Edit5Change};
    for (size_t i = 0; i < m_c.upperEdits.size(); ++i)
        connect(m_c.upperEdits[i], &QLineEdit::textChanged, this, handlers[i]);

    m_c.letterLists = {m_c.ListBox4, m_c.ListBox5, m_c.ListBox6,
                       m_c.ListBox3, m_c.ListBox1, m_c.ListBox8};
    for (int i = 0; i < LetterListCount; ++i) {
        connect(m_c.letterLists[size_t(i)], &ListBox::currentRowChanged, this, [this, i](int row) {
            m_design.setLetter(LetterList(i), std::max(0, row));
            Q_EMIT designEdited();
        });
    }
}

void DesignScreen::buildPanel(int type, QWidget* page, int x, int y)
{
    const LabelTypeTraits& traits = labelType(type);
    auto* panel = new QWidget(page);
    panel->setObjectName(QString::fromLatin1(traits.panel));
    panel->setGeometry(x, y, PanelWidth, PanelHeight);
    m_c.typePanel[size_t(type)] = panel;

    auto* shape = new CircleShape(panel);
    shape->setObjectName(QString::fromLatin1(traits.shape));
    shape->setGeometry(-4, 12, 169, 145);

    const QString today = QStringLiteral("MM/DD");
    const QString month = QStringLiteral("YY|MM");
    const QString pointer = QStringLiteral("文字→");
    // Spoken names of the letter lists, which have no caption of their own.
    auto letters = [type](int which = 0) {
        const QString name = QStringLiteral("Type%1 英字").arg(type);
        return which > 0 ? name + QString::number(which) : name;
    };
    switch (type) {
    case 1:
        m_c.Edit1 = upperEdit(panel, "Edit1", type);
        m_c.Label3 = caption(panel, "Label3", QStringLiteral("0001"), 86);
        break;
    case 2:
        m_c.Edit2 = upperEdit(panel, "Edit2", type);
        m_c.ListBox4 = letterList(panel, "ListBox4", letters(), 24, 84);
        m_c.Label5 = caption(panel, "Label5", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    case 3:
        m_c.Edit3 = upperEdit(panel, "Edit3", type);
        m_c.ListBox5 = letterList(panel, "ListBox5", letters(1), 12, 84);
        m_c.ListBox6 = letterList(panel, "ListBox6", letters(2), 64, 84);
        m_c.Label12 = caption(panel, "Label12", QStringLiteral("01"), 86, 27, 114, 44);
        break;
    case 4:
        m_c.Label10 = caption(panel, "Label10", today, 44);
        m_c.Label9 = caption(panel, "Label9", QStringLiteral("0001"), 86);
        break;
    case 5:
        m_c.Label11 = caption(panel, "Label11", month, 44);
        m_c.Label16 = caption(panel, "Label16", QStringLiteral("0001"), 86);
        break;
    case 6:
        m_c.Label13 = caption(panel, "Label13", month, 44);
        m_c.ListBox3 = letterList(panel, "ListBox3", letters(), 24, 84);
        m_c.Label15 = caption(panel, "Label15", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    case 7:
        m_c.Label17 = caption(panel, "Label17", today, 44);
        m_c.ListBox1 = letterList(panel, "ListBox1", letters(), 24, 84);
        m_c.Label18 = caption(panel, "Label18", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    case 8:
        m_c.Memo2 = memo(panel, "Memo2", QStringLiteral("Type8 上下の文字"), 24);
        m_c.Memo2->setGeometry(28, 50, 105, 65);
        m_c.Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_c.Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(m_c.Memo2, &QPlainTextEdit::textChanged, this, &DesignScreen::Memo2Change);
        break;
    case 9:
        m_c.Edit4 = upperEdit(panel, "Edit4", type);
        m_c.Label20 = caption(panel, "Label20", pointer, 86);
        break;
    case 10:
        m_c.Edit5 = upperEdit(panel, "Edit5", type);
        m_c.ListBox8 = letterList(panel, "ListBox8", letters(), 16, 84);
        m_c.Label28 = caption(panel, "Label28", pointer, 88, 24, 68, 90);
        break;
    case 11:
        m_c.Label23 = caption(panel, "Label23", today, 44);
        m_c.Label24 = caption(panel, "Label24", pointer, 86);
        break;
    case 12:
        m_c.Label21 = caption(panel, "Label21", month, 44);
        m_c.Label22 = caption(panel, "Label22", pointer, 86);
        break;
    default:
        break;
    }
}

void DesignScreen::buildLists(QWidget* client)
{
    m_c.pnlMain = new QWidget(client);
    m_c.pnlMain->setObjectName(QStringLiteral("pnlMain"));
    m_c.pnlMain->setGeometry(88, 136, 761, 433);
    QWidget* panel = m_c.pnlMain;

    auto makeList = [panel](const char* name, int x, int y, int w, int h) {
        auto* list = new ListBox(panel);
        Controls::name(list, name);
        list->setGeometry(x, y, w, h);
        return list;
    };
    m_c.Label14 = Controls::label(panel, "Label14", QStringLiteral("初期値"), 484, 4);
    m_c.ListBox12 = makeList("ListBox12", 484, 26, 76, 300);
    m_c.Label1 = Controls::label(panel, "Label1", QStringLiteral("サンプル数"), 572, 4);
    m_c.ListBox2 = makeList("ListBox2", 572, 26, 84, 300);
    m_c.Label19 = Controls::label(panel, "Label19", QStringLiteral("リピート数"), 668, 4);
    m_c.ListBox7 = makeList("ListBox7", 668, 26, 84, 110);
    m_c.Label30 = Controls::label(panel, "Label30", QStringLiteral("日時調整"), 668, 150);
    m_c.ListBox9 = makeList("ListBox9", 668, 172, 84, 154);
    m_c.ListBox12->setAccessibleName(m_c.Label14->text());
    m_c.ListBox2->setAccessibleName(m_c.Label1->text());
    m_c.ListBox7->setAccessibleName(m_c.Label19->text());
    m_c.ListBox9->setAccessibleName(m_c.Label30->text());
    m_c.ListBox2->setNumberRange(1, MaxSampleCount);
    m_c.ListBox12->setNumberRange(0, 9999);
    m_c.ListBox7->setNumberRange(1, 5);
    m_c.ListBox9->setNumberRange(-MaxDateAdjust, MaxDateAdjust);

    m_c.cmdPrintSet = new QPushButton(QStringLiteral("PrintSet"), panel);
    Controls::name(m_c.cmdPrintSet, "cmdPrintSet", QStringLiteral("PrintSet"));
    m_c.cmdPrintSet->setGeometry(572, 348, 180, 64);
    m_c.cmdPrintSet->setFont(Controls::gothic(20));
    connect(m_c.cmdPrintSet, &QPushButton::clicked, this, &DesignScreen::printSetRequested);
    m_c.NextJob = Controls::label(panel, "NextJob", QString(), 484, 330, 270, 18);

    connect(m_c.ListBox12, &ListBox::currentRowChanged, this, &DesignScreen::ListBox12Click);
    connect(m_c.ListBox2, &ListBox::currentRowChanged, this, &DesignScreen::ListBox2Click);
    connect(m_c.ListBox7, &ListBox::currentRowChanged, this, &DesignScreen::ListBox7Click);
    connect(m_c.ListBox9, &ListBox::currentRowChanged, this, &DesignScreen::ListBox9Click);
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
    m_c.N2 = menuBar->addMenu(QStringLiteral("数字表示"));
    m_c.N2->setObjectName(QStringLiteral("N2"));
    m_c.N3 = item(m_c.N2, "N3", QStringLiteral("０００１"), true, &DesignScreen::N3Click);
    m_c.N4 = item(m_c.N2, "N4", QStringLiteral("１"), false, &DesignScreen::N4Click);
    m_c.N5 = menuBar->addMenu(QStringLiteral("ステップ"));
    m_c.N5->setObjectName(QStringLiteral("N5"));
    m_c.N11 = item(m_c.N5, "N11", QStringLiteral("1"), true, &DesignScreen::N11Click);
    m_c.N21 = item(m_c.N5, "N21", QStringLiteral("2"), false, &DesignScreen::N21Click);
    m_c.N31 = item(m_c.N5, "N31", QStringLiteral("3"), false, &DesignScreen::N31Click);
    m_c.N51 = item(m_c.N5, "N51", QStringLiteral("5"), false, &DesignScreen::N51Click);
    m_c.N101 = item(m_c.N5, "N101", QStringLiteral("10"), false, &DesignScreen::N101Click);
    m_c.stepItems = {m_c.N11, m_c.N21, m_c.N31, m_c.N51, m_c.N101};
}
