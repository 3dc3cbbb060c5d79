#include "design/DesignScreen.h"

#include "app/CircleShape.h"
#include "app/Controls.h"
#include "app/ListBox.h"
#include "app/WorkingState.h"
#include "design/ComposeLabelTexts.h"
#include "design/Cp932.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <limits>

namespace {

constexpr int LabelBytes = 5;
constexpr int PanelWidth = 161;
constexpr int PanelHeight = 169;
const QColor Grey(0x80, 0x80, 0x80);
const QColor Black(0, 0, 0);

// Bytes a free text may take on the label; 0 for types without free texts.
// Type10 puts its letter before the text: 4 bytes are left for it.
int freeTextRoom(int type)
{
    return (type == 9 || type == 11 || type == 12) ? LabelBytes : type == 10 ? 4 : 0;
}

struct TypePlace {
    const char* button;
    const char* panel;
    const char* shape;
    int page;
    int slot; // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
};

// Index = type. On page "Type5-8" the bottom row's button names are crossed,
// and on "Type9-12" Type10 and Type12 swap panel names.
constexpr TypePlace Places[13] = {
    {nullptr, nullptr, nullptr, 0, 0},
    {"RadioButton1", "Panel1", "Shape2", 0, 0},
    {"RadioButton2", "Panel2", "Shape3", 0, 1},
    {"RadioButton3", "Panel3", "Shape4", 0, 2},
    {"RadioButton4", "Panel4", "Shape5", 0, 3},
    {"RadioButton5", "Panel5", "Shape6", 1, 0},
    {"RadioButton6", "Panel6", "Shape7", 1, 1},
    {"RadioButton8", "Panel7", "Shape8", 1, 2},
    {"RadioButton7", "Panel8", "Shape9", 1, 3},
    {"RadioButton9", "Panel9", "Shape11", 2, 0},
    {"RadioButton10", "Panel12", "Shape14", 2, 1},
    {"RadioButton11", "Panel11", "Shape13", 2, 2},
    {"RadioButton12", "Panel10", "Shape12", 2, 3},
};

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

// Replaces the text of one memo line (a paragraph, not a wrapped line).
void setLine(QPlainTextEdit* memo, int lineIndex, const QString& text)
{
    const QTextBlock block = memo->document()->findBlockByNumber(lineIndex);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

// The memo's lines as a label sees them: a line separator inside a block
// (U+2028 survives a paste) ends a line too.
QStringList linesOf(const QPlainTextEdit* memo)
{
    return Cp932::lines(memo->document()->toRawText());
}

int lineCount(const QPlainTextEdit* memo)
{
    return memo->document()->blockCount();
}

constexpr int NoCut = std::numeric_limits<int>::max();

// Tidies a memo in place after a change: a line separator inside a line
// becomes a line break, what no label can hold is dropped, and line n is cut
// to roomOf(n) bytes. The cursor stays after the characters it followed.
template <typename Room> void tidyMemo(QPlainTextEdit* memo, Room roomOf)
{
    QTextDocument* document = memo->document();
    for (int line = 0; line < document->blockCount(); ++line) {
        QTextBlock block = document->findBlockByNumber(line);
        QString text = block.text();
        const QStringList parts = Cp932::lines(text);
        if (parts.size() > 1) {
            // Break at the first separator; the rest is the next line, tidied
            // in its turn. The editor's cursor moves along with the edit.
            const int at = int(parts.first().size());
            const int width = text.mid(at).startsWith(QStringLiteral("\r\n")) ? 2 : 1;
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + at);
            cursor.setPosition(block.position() + at + width, QTextCursor::KeepAnchor);
            cursor.insertBlock();
            block = document->findBlockByNumber(line);
            text = block.text();
        }
        const int room = roomOf(line);
        const QString kept = Cp932::limit(text, room);
        if (kept == text)
            continue;
        const int start = block.position();
        QTextCursor user = memo->textCursor();
        const bool userInLine = user.block() == block;
        const int userAt =
            userInLine ? Cp932::limitedPosition(text, user.position() - start, room) : 0;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(kept);
        if (userInLine) {
            user.setPosition(start + userAt);
            memo->setTextCursor(user);
        }
    }
}

void rightAlign(QPlainTextEdit* memo)
{
    QTextOption option = memo->document()->defaultTextOption();
    option.setAlignment(Qt::AlignRight);
    memo->document()->setDefaultTextOption(option);
}

} // namespace

DesignScreen::DesignScreen(QWidget* client, QMenuBar* menuBar, WorkingState& state, Clock clock)
    : QObject(client), m_state(state), m_clock(std::move(clock))
{
    buildLists(client);
    buildPages(client);
    buildMenus(menuBar);
}

void DesignScreen::buildPages(QWidget* client)
{
    const char* pageNames[3] = {"PnlType1", "pnlType2", "pnlType3"};
    QWidget* pages[3];
    for (int p = 0; p < 3; ++p) {
        pages[p] = new QWidget(client);
        pages[p]->setObjectName(QString::fromLatin1(pageNames[p]));
        pages[p]->setGeometry(m_c.pnlMain->x(), m_c.pnlMain->y(), 476, 433);
    }
    m_c.PnlType1 = pages[0];
    m_c.pnlType2 = pages[1];
    m_c.pnlType3 = pages[2];

    m_c.typeGroup = new QButtonGroup(this);
    m_c.typeGroup->setExclusive(true);
    for (int type = 1; type <= 12; ++type) {
        const TypePlace& place = Places[type];
        const int x = 8 + (place.slot % 2) * 173;
        const int y = 4 + (place.slot / 2) * 201;
        auto* button = new QRadioButton(QStringLiteral("Type%1").arg(type), pages[place.page]);
        Controls::name(button, place.button, button->text());
        button->setGeometry(x, y, PanelWidth, 22);
        m_c.typeGroup->addButton(button, type);
        m_c.typeButton[type] = button;
        // A button checked by the program runs its handler only when it was
        // not checked before: toggled(true) fires exactly then.
        connect(button, &QRadioButton::toggled, this, [this, type](bool checked) {
            if (checked)
                selectType(type);
        });
        buildPanel(type, pages[place.page], x, y + 24);
    }

    // Free texts of types 9..12, one line per sample.
    m_c.Memo1 = new QPlainTextEdit(m_c.pnlType3);
    Controls::name(m_c.Memo1, "Memo1");
    m_c.Memo1->setFont(Controls::gothic(20));
    m_c.Memo1->setGeometry(350, 8, 121, 385);
    m_c.Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_c.Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    rightAlign(m_c.Memo1);
    connect(m_c.Memo1, &QPlainTextEdit::textChanged, this, &DesignScreen::Memo1Change);

    m_c.cmdreset = new QPushButton(QStringLiteral("Reset"), m_c.pnlType3);
    Controls::name(m_c.cmdreset, "cmdreset", QStringLiteral("Reset"));
    m_c.cmdreset->setGeometry(350, 398, 121, 30);
    connect(m_c.cmdreset, &QPushButton::clicked, this, &DesignScreen::cmdresetClick);
}

void DesignScreen::buildPanel(int type, QWidget* page, int x, int y)
{
    const TypePlace& place = Places[type];
    auto* panel = new QWidget(page);
    panel->setObjectName(QString::fromLatin1(place.panel));
    panel->setGeometry(x, y, PanelWidth, PanelHeight);
    m_c.typePanel[type] = panel;

    auto* shape = new CircleShape(panel);
    shape->setObjectName(QString::fromLatin1(place.shape));
    shape->setGeometry(-4, 12, 169, 145);

    const QString today = QStringLiteral("MM/DD");
    const QString month = QStringLiteral("YY|MM");
    const QString pointer = QStringLiteral("文字→");
    switch (type) {
    case 1:
        m_c.Edit1 = upperEdit(panel, "Edit1");
        m_c.Label3 = caption(panel, "Label3", QStringLiteral("0001"), 86);
        break;
    case 2:
        m_c.Edit2 = upperEdit(panel, "Edit2");
        m_c.ListBox4 = letterList(panel, "ListBox4", 24, 84);
        m_c.Label5 = caption(panel, "Label5", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    case 3:
        m_c.Edit3 = upperEdit(panel, "Edit3");
        m_c.ListBox5 = letterList(panel, "ListBox5", 12, 84);
        m_c.ListBox6 = letterList(panel, "ListBox6", 64, 84);
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
        m_c.ListBox3 = letterList(panel, "ListBox3", 24, 84);
        m_c.Label15 = caption(panel, "Label15", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    case 7:
        m_c.Label17 = caption(panel, "Label17", today, 44);
        m_c.ListBox1 = letterList(panel, "ListBox1", 24, 84);
        m_c.Label18 = caption(panel, "Label18", QStringLiteral("001"), 86, 27, 76, 70);
        break;
    case 8:
        m_c.Memo2 = new QPlainTextEdit(panel);
        Controls::name(m_c.Memo2, "Memo2");
        m_c.Memo2->setFont(Controls::gothic(24));
        m_c.Memo2->setGeometry(28, 50, 105, 65);
        m_c.Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_c.Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_c.Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        rightAlign(m_c.Memo2);
        connect(m_c.Memo2, &QPlainTextEdit::textChanged, this, &DesignScreen::Memo2Change);
        break;
    case 9:
        m_c.Edit4 = upperEdit(panel, "Edit4");
        m_c.Label20 = caption(panel, "Label20", pointer, 86);
        break;
    case 10:
        m_c.Edit5 = upperEdit(panel, "Edit5");
        m_c.ListBox8 = letterList(panel, "ListBox8", 16, 84);
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

    QLineEdit* edits[] = {m_c.Edit1, m_c.Edit2, m_c.Edit3, m_c.Edit4, m_c.Edit5};
    void (DesignScreen::*handlers[])() = {&DesignScreen::Edit1Change, &DesignScreen::Edit2Change,
                                          &DesignScreen::Edit3Change, &DesignScreen::Edit4Change,
                                          &DesignScreen::Edit5Change};
    for (int i = 0; i < 5; ++i) {
        if (edits[i] && edits[i]->parent() == panel)
            connect(edits[i], &QLineEdit::textChanged, this, handlers[i]);
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

    m_c.cmdPrintSet = new QPushButton(QStringLiteral("PrintSet"), panel);
    Controls::name(m_c.cmdPrintSet, "cmdPrintSet", QStringLiteral("PrintSet"));
    m_c.cmdPrintSet->setGeometry(572, 348, 180, 64);
    m_c.cmdPrintSet->setFont(Controls::gothic(20));

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
}

// ---- start-up --------------------------------------------------------------

void DesignScreen::fillStartLists()
{
    m_c.ListBox2->setNumberRange(1, 1200);
    m_c.ListBox2->selectRow(29);
    m_c.ListBox12->setNumberRange(0, 9999);
    m_c.ListBox12->selectRow(1);
    m_state.SampleCount = 30;
    m_c.ListBox7->setNumberRange(1, 5);
    m_c.ListBox7->selectRow(0);
    m_state.RepeatCount = 1;
    m_c.ListBox9->setNumberRange(-365, 365);
    m_c.ListBox9->selectRow(367);
    m_c.ListBox9->selectRow(365);
}

void DesignScreen::setStartDates()
{
    ApplyDateAdjust(365);
}

void DesignScreen::selectStartLetters()
{
    for (ListBox* list :
         {m_c.ListBox1, m_c.ListBox3, m_c.ListBox4, m_c.ListBox5, m_c.ListBox6, m_c.ListBox8})
        list->selectRow(0);
}

void DesignScreen::RightAlignEdits()
{
    for (QLineEdit* edit : {m_c.Edit1, m_c.Edit2, m_c.Edit3, m_c.Edit4, m_c.Edit5})
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// ---- selecting a type ------------------------------------------------------

void DesignScreen::selectType(int type)
{
    m_state.LabelType = type;
    EnableTypePanel(type);
    HighlightLabelType(type);
    if (type >= 1 && type <= 7)
        FillFirstNumberList(numberDigits(type));
    ShowDateAdjust(type >= 4 && type <= 7 ? true : (type == 11 || type == 12));
    // Type10 refills the list too: a count of 6 or 7 left by a blank Type8
    // would otherwise reach a rainbow table of five colours.
    FillRepeatList();
    QWidget* focus = nullptr;
    switch (type) {
    case 1:
        focus = m_c.Edit1;
        break;
    case 2:
        focus = m_c.Edit2;
        break;
    case 3:
        focus = m_c.Edit3;
        break;
    case 8:
        focus = m_c.Memo2;
        break;
    case 9:
        focus = m_c.Edit4;
        break;
    case 10:
        focus = m_c.Edit5;
        break;
    default:
        break;
    }
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void DesignScreen::EnableTypePanel(int type)
{
    for (int t = 1; t <= 12; ++t)
        m_c.typePanel[t]->setEnabled(false);
    m_c.Label14->hide();
    m_c.ListBox12->hide();
    if (type >= 1 && type <= 12)
        m_c.typePanel[type]->setEnabled(true);
    if (type >= 1 && type <= 7) {
        m_c.Label14->show();
        m_c.ListBox12->show();
    }
}

void DesignScreen::HighlightLabelType(int type)
{
    GreyAllPreviews();
    if (type >= 1 && type <= 12)
        m_c.typeButton[type]->setChecked(true); // the group unchecks the other eleven
    paintBlack(type);
}

void DesignScreen::paintBlack(int type)
{
    QList<QWidget*> black;
    switch (type) {
    case 1:
        black = {m_c.Label3, m_c.Edit1};
        break;
    case 2:
        black = {m_c.Label5, m_c.ListBox4, m_c.Edit2};
        break;
    // Type3's number caption turns black with its letters, as every other
    // type's number caption does.
    case 3:
        black = {m_c.ListBox5, m_c.ListBox6, m_c.Label12};
        break;
    case 4:
        black = {m_c.Label10, m_c.Label9};
        break;
    case 5:
        black = {m_c.Label11, m_c.Label16};
        break;
    case 6:
        black = {m_c.Label13, m_c.Label15, m_c.ListBox3};
        break;
    case 7:
        black = {m_c.Label17, m_c.Label18, m_c.ListBox1};
        break;
    case 8:
        black = {m_c.Memo2};
        break;
    case 9:
        black = {m_c.Label20, m_c.Edit4};
        break;
    case 10:
        black = {m_c.Label28, m_c.Edit5, m_c.ListBox8};
        break;
    case 11:
        black = {m_c.Label23, m_c.Label24};
        break;
    case 12:
        black = {m_c.Label21, m_c.Label22};
        break;
    default:
        break;
    }
    for (QWidget* widget : black)
        Controls::setFontColor(widget, Black);
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
    if (digits < 4 && m_state.FirstNumber >= range)
        m_state.FirstNumber %= range;
    m_c.ListBox12->selectRow(m_state.FirstNumber);
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
    if (m_state.LabelType == 8 && m_c.Memo2->toPlainText().isEmpty()) {
        m_c.ListBox7->setNumberRange(1, 7);
    } else {
        m_c.ListBox7->setNumberRange(1, 5);
        if (remembered > 4)
            remembered = 0;
    }
    m_c.ListBox7->selectRow(remembered);
    m_state.RepeatCount = remembered + 1;
}

// ---- numbering -------------------------------------------------------------

void DesignScreen::ShowFirstNumber(bool plain)
{
    const int n = m_state.FirstNumber;
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
    for (QAction* item : {m_c.N11, m_c.N21, m_c.N31, m_c.N51, m_c.N101})
        item->setChecked(false);
}

void DesignScreen::N3Click()
{
    m_c.N3->setChecked(true);
    m_c.N4->setChecked(false);
    m_state.PlainNumbers = 0;
    ShowFirstNumber(false);
    Q_EMIT numberingChanged();
}

void DesignScreen::N4Click()
{
    m_c.N3->setChecked(false);
    m_c.N4->setChecked(true);
    m_state.PlainNumbers = 1;
    ShowFirstNumber(true);
    Q_EMIT numberingChanged();
}

void DesignScreen::setStep(QAction* item, int step)
{
    UncheckStepItems();
    item->setChecked(true);
    m_state.NumberStep = step;
    Q_EMIT numberingChanged();
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
    m_state.FirstNumber = std::max(0, m_c.ListBox12->currentRow());
    ShowFirstNumber(m_state.PlainNumbers != 0);
}

void DesignScreen::ListBox2Click()
{
    m_state.SampleCount = m_c.ListBox2->currentRow() + 1;
}

void DesignScreen::ListBox7Click()
{
    m_state.RepeatCount = m_c.ListBox7->currentRow() + 1;
}

void DesignScreen::ListBox9Click()
{
    ApplyDateAdjust(m_c.ListBox9->currentRow());
}

// ---- input limits ----------------------------------------------------------

void DesignScreen::limitEdit(QLineEdit* edit)
{
    const QString text = edit->text();
    const QString kept = Cp932::limit(text, LabelBytes);
    if (kept == text)
        return;
    const int cursor = Cp932::limitedPosition(text, edit->cursorPosition(), LabelBytes);
    edit->setText(kept); // runs this handler again, which finds nothing to cut
    edit->setCursorPosition(cursor);
}

void DesignScreen::Edit1Change()
{
    limitEdit(m_c.Edit1);
}
void DesignScreen::Edit2Change()
{
    limitEdit(m_c.Edit2);
}
void DesignScreen::Edit3Change()
{
    limitEdit(m_c.Edit3);
}
void DesignScreen::Edit4Change()
{
    limitEdit(m_c.Edit4);
}
void DesignScreen::Edit5Change()
{
    limitEdit(m_c.Edit5);
}

void DesignScreen::Memo2Change()
{
    if (m_inMemoChange)
        return;
    m_inMemoChange = true;
    // Only two lines fit on the label; the next four are emptied, their line
    // breaks kept.
    tidyMemo(m_c.Memo2, [](int line) { return line < 2 ? LabelBytes : line < 6 ? 0 : NoCut; });
    m_inMemoChange = false;
}

void DesignScreen::Memo1Change()
{
    if (m_inMemoChange)
        return;
    m_inMemoChange = true;
    const int room = freeTextRoom(m_state.LabelType);
    tidyMemo(m_c.Memo1, [room](int line) {
        return line < MaxFreeTexts ? (room > 0 ? room : NoCut) : line < 101 ? 0 : NoCut;
    });
    m_inMemoChange = false;
}

void DesignScreen::cmdresetClick()
{
    for (int line = 0; line <= MaxFreeTexts && line < lineCount(m_c.Memo1); ++line)
        setLine(m_c.Memo1, line, QString());
    setLine(m_c.Memo1, 0, QString());
    m_state.FreeTextCount = 0;
    m_c.Memo1->setFocus(Qt::OtherFocusReason);
}

// ---- the run ---------------------------------------------------------------

int DesignScreen::letterIndex(int type, int which) const
{
    ListBox* list = nullptr;
    switch (type) {
    case 2:
        list = m_c.ListBox4;
        break;
    case 3:
        list = which == 1 ? m_c.ListBox5 : m_c.ListBox6;
        break;
    case 6:
        list = m_c.ListBox3;
        break;
    case 7:
        list = m_c.ListBox1;
        break;
    case 10:
        list = m_c.ListBox8;
        break;
    default:
        return 0;
    }
    return std::max(0, list->currentRow());
}

void DesignScreen::selectLetters(int type, int letter1, int letter2)
{
    switch (type) {
    case 2:
        m_c.ListBox4->selectRow(letter1);
        break;
    case 3:
        m_c.ListBox5->selectRow(letter1);
        m_c.ListBox6->selectRow(letter2);
        break;
    case 6:
        m_c.ListBox3->selectRow(letter1);
        break;
    case 7:
        m_c.ListBox1->selectRow(letter1);
        break;
    default:
        break;
    }
}

QStringList DesignScreen::takeFreeTexts() const
{
    QStringList texts;
    for (const QString& line : linesOf(m_c.Memo1)) {
        const QString text = Cp932::normalize(line);
        if (text.isEmpty() || texts.size() == MaxFreeTexts)
            break;
        texts << text;
    }
    return texts;
}

LabelRun DesignScreen::currentRun() const
{
    LabelRun run;
    run.type = m_state.LabelType;
    run.firstNumber = m_state.FirstNumber;
    run.step = m_state.NumberStep;
    run.plainNumbers = m_state.PlainNumbers != 0;
    run.sampleCount = m_state.SampleCount;
    run.repeatCount = m_state.RepeatCount;
    run.letter1 = letterIndex(run.type, 1);
    run.letter2 = run.type == 3 ? letterIndex(3, 2) : 0;
    auto cut = [](const QString& text) { return Cp932::limit(text, LabelBytes); };
    switch (run.type) {
    case 1:
    case 13:
        run.upper = cut(m_c.Edit1->text());
        break;
    case 2:
        run.upper = cut(m_c.Edit2->text());
        break;
    case 3:
        run.upper = cut(m_c.Edit3->text());
        break;
    case 4:
        run.upper = m_c.Label10->text();
        break;
    case 5:
        run.upper = m_c.Label11->text();
        break;
    case 6:
        run.upper = m_c.Label13->text();
        break;
    case 7:
        run.upper = m_c.Label17->text();
        break;
    case 8: {
        const QStringList lines = linesOf(m_c.Memo2);
        run.upper = cut(lines.value(0));
        run.type8Lower = cut(lines.value(1));
        run.memo2Empty = m_c.Memo2->toPlainText().isEmpty();
        break;
    }
    case 9:
        run.upper = cut(m_c.Edit4->text());
        break;
    case 10:
        run.upper = cut(m_c.Edit5->text());
        break;
    case 11:
        run.upper = m_c.Label23->text();
        break;
    case 12:
        run.upper = m_c.Label21->text();
        break;
    default:
        break;
    }
    if (run.type >= 9 && run.type <= 12) {
        for (const QString& text : m_state.FreeTexts.mid(0, m_state.FreeTextCount))
            run.freeTexts << Cp932::limit(text, freeTextRoom(run.type));
    }
    return run;
}
