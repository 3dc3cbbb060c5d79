#include "core/numbering/Cp932.h"
#include "core/render/Fonts.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "ui/SampleLabel.h"

#include "MainFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

namespace {

const QColor Grey(0x80, 0x80, 0x80);

QStringList memoLines(const QPlainTextEdit* memo)
{
    QStringList lines;
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

QStringList blackControls(const DesignControls& c)
{
    const QList<QWidget*> all = {
        c.Label3,   c.Label5,   c.Label9,  c.Label10,  c.Label11,  c.Label12,  c.Label13,
        c.Label15,  c.Label16,  c.Label17, c.Label18,  c.Label20,  c.Label21,  c.Label22,
        c.Label23,  c.Label24,  c.Label28, c.ListBox1, c.ListBox3, c.ListBox4, c.ListBox5,
        c.ListBox6, c.ListBox8, c.Edit1,   c.Edit2,    c.Edit4,    c.Edit5,    c.Memo2};
    QStringList names;
    for (QWidget* widget : all) {
        const QColor color = Controls::fontColor(widget);
        if (color == QColor(Qt::black))
            names << widget->objectName();
        else if (color != Grey)
            names << widget->objectName() + "?";
    }
    names.sort();
    return names;
}

QStringList kept(QWidget* edit)
{
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        return {line->text()};
    return memoLines(qobject_cast<QPlainTextEdit*>(edit));
}

void paste(QWidget* edit, const QString& text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

// Selects the type as a user does: its page, then its button.
void chooseType(MainFixture& f, int type)
{
    f.w().controls().TabControl1->setCurrentIndex((type - 1) / 4);
    QRadioButton* button = f.w().design().controls().typeButton[type];
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, button->height() / 2));
    QCOMPARE(f.state().Design.type, type);
}

} // namespace

class TestDesignScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void selectingAType_data();
    void selectingAType();
    void firstNumberFollowsTheDigits();
    void typeAheadInLists_data();
    void typeAheadInLists();
    void repeatList();
    void numberMenus();
    void editLimits();
    void memoLimits();
    void controlCharacters_data();
    void controlCharacters();
    void cursorAfterACut_data();
    void cursorAfterACut();
    void resetEmptiesFreeTexts();
    void dateAdjust();
};

void TestDesignScreen::selectingAType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QStringList>("black");
    QTest::addColumn<int>("numbers"); // items of the first-number list, 0 = hidden
    QTest::addColumn<bool>("dateAdjust");
    QTest::addColumn<QString>("focus");

    QTest::newRow("1") << 1 << "RadioButton1"
                       << "Panel1" << QStringList{"Edit1", "Label3"} << 10000 << false << "Edit1";
    QTest::newRow("2") << 2 << "RadioButton2"
                       << "Panel2" << QStringList{"Edit2", "Label5", "ListBox4"} << 1000 << false
                       << "Edit2";
    QTest::newRow("3") << 3 << "RadioButton3"
                       << "Panel3" << QStringList{"Label12", "ListBox5", "ListBox6"} << 100 << false
                       << "Edit3";
    QTest::newRow("4") << 4 << "RadioButton4"
                       << "Panel4" << QStringList{"Label10", "Label9"} << 10000 << true
                       << "ListBox12";
    QTest::newRow("5") << 5 << "RadioButton5"
                       << "Panel5" << QStringList{"Label11", "Label16"} << 10000 << true
                       << "ListBox12";
    QTest::newRow("6") << 6 << "RadioButton6"
                       << "Panel6" << QStringList{"Label13", "Label15", "ListBox3"} << 1000 << true
                       << "ListBox3";
    QTest::newRow("7 on the crossed button")
        << 7 << "RadioButton8"
        << "Panel7" << QStringList{"Label17", "Label18", "ListBox1"} << 1000 << true << "ListBox1";
    QTest::newRow("8 on the crossed button")
        << 8 << "RadioButton7"
        << "Panel8" << QStringList{"Memo2"} << 0 << false << "Memo2";
    QTest::newRow("9") << 9 << "RadioButton9"
                       << "Panel9" << QStringList{"Edit4", "Label20"} << 0 << false << "Edit4";
    QTest::newRow("10 on Panel12")
        << 10 << "RadioButton10"
        << "Panel12" << QStringList{"Edit5", "Label28", "ListBox8"} << 0 << false << "Edit5";
    QTest::newRow("11") << 11 << "RadioButton11"
                        << "Panel11" << QStringList{"Label23", "Label24"} << 0 << true << "Memo1";
    QTest::newRow("12 on Panel10")
        << 12 << "RadioButton12"
        << "Panel10" << QStringList{"Label21", "Label22"} << 0 << true << "Memo1";
}

void TestDesignScreen::selectingAType()
{
    QFETCH(int, type);
    QFETCH(QString, button);
    QFETCH(QString, panel);
    QFETCH(int, numbers);
    QFETCH(QString, focus);
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    const DesignControls& c = f.w().design().controls();
    const int page = (type - 1) / 4;
    // Leave the start type first: clicking the checked button runs nothing.
    f.w().controls().TabControl1->setCurrentIndex((page + 1) % 3);
    f.w().controls().TabControl1->setCurrentIndex(page);

    auto* radio = f.w().findChild<QRadioButton*>(button);
    QCOMPARE(radio->text(), QStringLiteral("Type%1").arg(type));
    radio->click();
    QCOMPARE(f.state().Design.type, type);

    QStringList enabled, checked;
    for (int t = 1; t <= 12; ++t) {
        if (c.typePanel[t]->isEnabled())
            enabled << c.typePanel[t]->objectName();
        if (c.typeButton[t]->isChecked())
            checked << c.typeButton[t]->objectName();
    }
    QCOMPARE(enabled, QStringList{panel});
    QCOMPARE(checked, QStringList{button});
    QTEST(blackControls(c), "black");
    QCOMPARE(c.ListBox12->isVisibleTo(&f.w()), numbers > 0);
    QCOMPARE(c.Label14->isVisibleTo(&f.w()), numbers > 0);
    if (numbers > 0)
        QCOMPARE(c.ListBox12->count(), numbers);
    else
        QCOMPARE(c.ListBox12->count(), page == 2 || type == 8 ? 10000 : numbers); // kept
    QTEST(c.ListBox9->isVisibleTo(&f.w()), "dateAdjust");
    QTEST(c.Label30->isVisibleTo(&f.w()), "dateAdjust");
    const QWidget* focused = QApplication::focusWidget();
    QCOMPARE(focused ? focused->objectName() : QString(), focus);
}

void TestDesignScreen::firstNumberFollowsTheDigits()
{
    MainFixture f;
    const DesignControls& c = f.w().design().controls();
    c.ListBox12->selectRow(5432);
    f.w().design().ListBox12Click();
    c.typeButton[2]->click();
    QCOMPARE(f.state().Design.firstNumber, 432);
    QCOMPARE(c.ListBox12->currentRow(), 432);
    QCOMPARE(c.Label5->text(), QStringLiteral("432"));
    c.typeButton[3]->click();
    QCOMPARE(f.state().Design.firstNumber, 32);
    QCOMPARE(c.Label12->text(), QStringLiteral("32"));
    c.typeButton[1]->click();
    QCOMPARE(f.state().Design.firstNumber, 32);
    QCOMPARE(c.ListBox12->count(), 10000);
    QCOMPARE(c.Label3->text(), QStringLiteral("0032"));

    // The free-text types hide the list but keep its items and selection.
    c.typeButton[9]->click();
    QCOMPARE(c.ListBox12->count(), 10000);
    QCOMPARE(c.ListBox12->currentRow(), 32);
}

void TestDesignScreen::typeAheadInLists_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QStringList>("typed"); // each entry typed quickly, a pause between
    QTest::addColumn<QString>("selected");

    QTest::newRow("100 from 100, not 1000")
        << 1 << "ListBox12" << 100 << QStringList{"100"} << "100";
    QTest::newRow("100 from 1") << 1 << "ListBox12" << 1 << QStringList{"100"} << "100";
    QTest::newRow("9999") << 1 << "ListBox12" << 1 << QStringList{"9999"} << "9999";
    QTest::newRow("a pause begins a new number")
        << 1 << "ListBox12" << 1 << QStringList{"12", "5"} << "5";
    QTest::newRow("past the end begins anew") << 1 << "ListBox7" << 0 << QStringList{"34"} << "4";
    QTest::newRow("1200 samples") << 1 << "ListBox2" << 0 << QStringList{"1200"} << "1200";
    QTest::newRow("negative date adjust") << 4 << "ListBox9" << 365 << QStringList{"-12"} << "-12";
    QTest::newRow("letters search as before") << 2 << "ListBox4" << 0 << QStringList{"K"} << "K";
}

void TestDesignScreen::typeAheadInLists()
{
    QFETCH(int, type);
    QFETCH(QString, list);
    QFETCH(int, startRow);
    QFETCH(QStringList, typed);
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    chooseType(f, type);
    auto* box = f.w().findChild<ListBox*>(list);
    box->selectRow(startRow);
    box->setFocus(Qt::TabFocusReason);
    QSignalSpy chosen(box, &ListBox::currentRowChanged);
    for (const QString& keys : typed) {
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(box, keys);
    }
    QTEST(box->itemText(box->currentRow()), "selected");
    // A user's choice: the handlers ran and the design has it.
    QVERIFY(box->currentRow() == startRow || chosen.last().first().toInt() == box->currentRow());
    if (list == "ListBox12")
        QCOMPARE(f.state().Design.firstNumber, box->currentRow());
    if (list == "ListBox9")
        QCOMPARE(f.state().Design.dateAdjust, -12);
}

void TestDesignScreen::repeatList()
{
    MainFixture f;
    const DesignControls& c = f.w().design().controls();
    c.typeButton[8]->click(); // blank Type8: coloured by sample group, seven colours
    QCOMPARE(c.ListBox7->count(), 7);
    c.ListBox7->selectRow(6);
    f.w().design().ListBox7Click();
    QCOMPARE(f.state().Design.repeatCount, 7);

    // Typing into the memo does not refill the list until a type is chosen.
    c.Memo2->setPlainText(QStringLiteral("A"));
    QCOMPARE(c.ListBox7->count(), 7);

    c.typeButton[10]->click(); // Type10 refills it as well
    QCOMPARE(c.ListBox7->count(), 5);
    QCOMPARE(c.ListBox7->currentRow(), 0);
    QCOMPARE(f.state().Design.repeatCount, 1);

    c.ListBox7->selectRow(3);
    f.w().design().ListBox7Click();
    c.typeButton[8]->click(); // memo holds text now: 1..5, the choice kept
    QCOMPARE(c.ListBox7->count(), 5);
    QCOMPARE(f.state().Design.repeatCount, 4);
}

void TestDesignScreen::numberMenus()
{
    MainFixture f;
    const DesignControls& c = f.w().design().controls();
    c.ListBox12->selectRow(7);
    f.w().design().ListBox12Click();
    c.N4->trigger();
    QCOMPARE(f.state().Design.plainNumbers, true);
    QVERIFY(c.N4->isChecked() && !c.N3->isChecked());
    for (QLabel* label : {c.Label3, c.Label5, c.Label9, c.Label12, c.Label15, c.Label16, c.Label18})
        QCOMPARE(label->text(), QStringLiteral("7"));
    c.N3->trigger();
    QCOMPARE(f.state().Design.plainNumbers, false);
    QCOMPARE(c.Label9->text(), QStringLiteral("0007"));
    QCOMPARE(c.Label18->text(), QStringLiteral("007"));
    QCOMPARE(c.Label12->text(), QStringLiteral("07"));
    c.N3->trigger(); // the checked entry chosen again stays checked
    QVERIFY(c.N3->isChecked());

    c.N51->trigger();
    QCOMPARE(f.state().Design.step, 5);
    QStringList checked;
    for (QAction* item : {c.N11, c.N21, c.N31, c.N51, c.N101}) {
        if (item->isChecked())
            checked << item->objectName();
    }
    QCOMPARE(checked, QStringList{"N51"});
    c.N101->trigger();
    QCOMPARE(f.state().Design.step, 10);
}

void TestDesignScreen::editLimits()
{
    MainFixture f;
    f.w().show();
    const DesignControls& c = f.w().design().controls();
    c.Edit1->setFocus();
    QTest::keyClicks(c.Edit1, QStringLiteral("ABCDEF"));
    QCOMPARE(c.Edit1->text(), QStringLiteral("ABCDE"));
    c.Edit2->setText(QStringLiteral("ＡＢＣ"));
    QCOMPARE(c.Edit2->text(), QStringLiteral("ＡＢ"));
    c.Edit3->setText(QStringLiteral("ＡＢc"));
    QCOMPARE(c.Edit3->text(), QStringLiteral("ＡＢc"));
    c.Edit4->setText(QStringLiteral("A😀〜"));
    QCOMPARE(c.Edit4->text(), QStringLiteral("A～"));
    c.Edit5->setText(QStringLiteral("ｱｲｳｴｵｶ"));
    QCOMPARE(c.Edit5->text(), QStringLiteral("ｱｲｳｴｵ"));
}

void TestDesignScreen::memoLimits()
{
    MainFixture f;
    const DesignControls& c = f.w().design().controls();
    c.Memo2->setPlainText(QStringLiteral("ABCDEFG\nＡＢＣ\n3\n4\n5\n6\n7th"));
    QCOMPARE(memoLines(c.Memo2),
             (QStringList{"ABCDE", "ＡＢ", "", "", "", "", "7th"})); // the seventh is never used

    c.typeButton[10]->click();
    QStringList lines;
    for (int i = 1; i <= 62; ++i)
        lines << QStringLiteral("L%1").arg(i, 2, 10, QLatin1Char('0'));
    lines[0] = QStringLiteral("ABCDE");
    c.Memo1->setPlainText(lines.join('\n'));
    const QStringList kept = memoLines(c.Memo1);
    QCOMPARE(kept[0], QStringLiteral("ABCD")); // Type10: a letter goes before it
    QCOMPARE(kept[59], QStringLiteral("L60"));
    QCOMPARE(kept[60], QString());
    QCOMPARE(kept[61], QString());

    c.typeButton[9]->click();
    c.Memo1->setPlainText(QStringLiteral("ABCDE\nサンプル"));
    QCOMPARE(memoLines(c.Memo1), (QStringList{"ABCDE", "サン"}));
}

void TestDesignScreen::controlCharacters_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("how"); // paste, type, or unchecked: set behind the handlers
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("sample"); // upper/lower of the sample label after PrintSet

    const QString nul(QChar(0));
    QTest::newRow("Edit1 tab") << 1 << "Edit1"
                               << "paste" << QStringLiteral("AB\tCDEFG") << QStringList{"ABCDE"}
                               << "ABCDE/0001";
    QTest::newRow("Edit2 LF and lone CR")
        << 2 << "Edit2"
        << "paste" << QStringLiteral("A\nB\rC") << QStringList{"ABC"} << "ABC/A001";
    QTest::newRow("Edit3 CR LF and NUL")
        << 3 << "Edit3"
        << "paste" << QStringLiteral("A\r\nB") + nul + "C" << QStringList{"ABC"} << "ABC/AA01";
    QTest::newRow("Edit4 DEL, NEL and C1") << 9 << "Edit4"
                                           << "paste"
                                           << QStringLiteral("A\x7f"
                                                             "B\u0085"
                                                             "C\u009f")
                                           << QStringList{"ABC"} << "ABC/S1";
    QTest::newRow("Edit5 line and paragraph separators") << 10 << "Edit5"
                                                         << "paste"
                                                         << QStringLiteral("A\u2028"
                                                                           "B\u2029"
                                                                           "C")
                                                         << QStringList{"ABC"} << "ABC/AS1";
    QTest::newRow("Memo2 typed tab")
        << 8 << "Memo2"
        << "type" << QStringLiteral("A\tB") << QStringList{"AB"} << "AB/";
    QTest::newRow("Memo2 line separator") << 8 << "Memo2"
                                          << "paste"
                                          << QStringLiteral("AB\tC\u2028"
                                                            "D\u0085"
                                                            "E")
                                          << QStringList{"ABC", "DE"} << "ABC/DE";
    QTest::newRow("Memo2 lone CR")
        << 8 << "Memo2"
        << "paste" << QStringLiteral("A\rB") << QStringList{"A", "B"} << "A/B";
    QTest::newRow("Memo1 typed tab")
        << 9 << "Memo1"
        << "type" << QStringLiteral("A\tB") << QStringList{"AB"} << "/AB";
    QTest::newRow("Memo1 every line break")
        << 9 << "Memo1"
        << "paste" << QStringLiteral("X\u2028Y\r\nZ\rW\tV\u2029U")
        << QStringList{"X", "Y", "Z", "WV", "U"} << "/X";
    QTest::newRow("Memo1 cut after the tab is gone")
        << 10 << "Memo1"
        << "paste" << QStringLiteral("AB\tCDEFG") << QStringList{"ABCD"} << "/AABCD";
    QTest::newRow("Edit1 unchecked")
        << 1 << "Edit1"
        << "unchecked" << QStringLiteral("A\tB\nC") << QStringList{} << "ABC/0001";
    QTest::newRow("Memo2 unchecked") << 8 << "Memo2"
                                     << "unchecked"
                                     << QStringLiteral("A\tB\u2028"
                                                       "C\u0085"
                                                       "D")
                                     << QStringList{} << "AB/CD";
    QTest::newRow("Memo1 unchecked") << 10 << "Memo1"
                                     << "unchecked"
                                     << QStringLiteral("\x7f"
                                                       "AB\tCDEF\u2028\u0085\nS2")
                                     << QStringList{} << "/AABCD";
}

void TestDesignScreen::controlCharacters()
{
    QFETCH(int, type);
    QFETCH(QString, edit);
    QFETCH(QString, how);
    QFETCH(QString, input);
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    const DesignControls& c = f.w().design().controls();
    chooseType(f, type);
    if (type >= 9 && edit != "Memo1")
        QTest::keyClicks(c.Memo1, QStringLiteral("S1"));
    auto* widget = f.w().findChild<QWidget*>(edit);
    widget->setFocus();
    if (how == "paste") {
        paste(widget, input);
    } else if (how == "type") {
        QTest::keyClicks(widget, input);
    } else {
        // Texts that reach the design another way than typing (a file).
        LabelDesign& design = f.state().Design;
        if (edit == "Edit1")
            design.upperTexts[0] = input;
        else if (edit == "Memo2")
            design.type8Lines = Cp932::lines(input);
        else
            design.freeTexts = Cp932::lines(input);
    }
    if (how != "unchecked")
        QTEST(kept(widget), "kept");

    QTest::mouseClick(c.cmdPrintSet, Qt::LeftButton);
    QCOMPARE(f.w().screen(), TfrmMain::Screen::Print);
    const PrintControls& pc = f.w().printScreen().controls();
    QTEST(QString(pc.pnl150->upper() + "/" + pc.pnl150->lower()), "sample");
}

void TestDesignScreen::cursorAfterACut_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("at"); // characters from the start
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QStringList>("kept"); // after typing Q behind the paste

    QTest::newRow("Edit1 tab before the cursor")
        << 1 << "Edit1"
        << "ABC" << 0 << QStringLiteral("\tZ") << QStringList{"ZQABC"};
    QTest::newRow("Edit1 tab and cut")
        << 1 << "Edit1"
        << "ABCD" << 1 << QStringLiteral("\tX") << QStringList{"AXQBC"};
    QTest::newRow("Memo2 line separator")
        << 8 << "Memo2"
        << "AB" << 1 << QStringLiteral("\u2028") << QStringList{"A", "QB"};
    QTest::newRow("Memo1 second line")
        << 9 << "Memo1"
        << "ABC\nDEF" << 4 << QStringLiteral("\t1") << QStringList{"ABC", "1QDEF"};
    QTest::newRow("Memo1 tabs and cut")
        << 9 << "Memo1"
        << "ABCD" << 1 << QStringLiteral("\tX\tY") << QStringList{"AXYQB"};
}

void TestDesignScreen::cursorAfterACut()
{
    QFETCH(int, type);
    QFETCH(QString, edit);
    QFETCH(QString, before);
    QFETCH(int, at);
    QFETCH(QString, pasted);
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    chooseType(f, type);
    auto* widget = f.w().findChild<QWidget*>(edit);
    widget->setFocus();
    paste(widget, before);
    const bool memo = qobject_cast<QPlainTextEdit*>(widget);
    QTest::keyClick(widget, Qt::Key_Home, memo ? Qt::ControlModifier : Qt::NoModifier);
    for (int i = 0; i < at; ++i)
        QTest::keyClick(widget, Qt::Key_Right);
    paste(widget, pasted);
    QTest::keyClicks(widget, QStringLiteral("Q"));
    QTEST(kept(widget), "kept");
}

void TestDesignScreen::resetEmptiesFreeTexts()
{
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    const DesignControls& c = f.w().design().controls();
    f.w().controls().TabControl1->setCurrentIndex(2);
    c.Memo1->setPlainText(QStringLiteral("A1\nA2\nA3"));
    QCOMPARE(f.state().Design.freeTexts, (QStringList{"A1", "A2", "A3"}));
    QTest::mouseClick(c.cmdreset, Qt::LeftButton);
    QCOMPARE(memoLines(c.Memo1), (QStringList{"", "", ""}));
    QCOMPARE(f.state().Design.freeTexts, (QStringList{"", "", ""}));
    QVERIFY(c.Memo1->hasFocus());
}

void TestDesignScreen::dateAdjust()
{
    MainFixture f("10,10,1\r\n\r\n", [] { return QDateTime(QDate(2026, 1, 1), QTime(0, 5)); });
    const DesignControls& c = f.w().design().controls();
    QCOMPARE(c.Label17->text(), QStringLiteral("01/01"));
    c.ListBox9->selectRow(364); // "-1"
    f.w().design().ListBox9Click();
    for (QLabel* label : {c.Label10, c.Label17, c.Label23})
        QCOMPARE(label->text(), QStringLiteral("12/31"));
    for (QLabel* label : {c.Label11, c.Label13, c.Label21})
        QCOMPARE(label->text(), QStringLiteral("25|12"));
    QCOMPARE(c.ListBox9->itemText(730), QStringLiteral("365"));
}

QTEST_MAIN(TestDesignScreen)
#include "tst_designscreen.moc"
