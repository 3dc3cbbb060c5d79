#include "core/render/Fonts.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"

#include "MainFixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTest>

namespace {

const QColor Grey(0x80, 0x80, 0x80);

QStringList blackControls(const DesignControls& c)
{
    // Type3's upper text keeps its colour.
    QList<QWidget*> all = {c.type8Memo};
    for (int type = 1; type <= 12; ++type) {
        for (QWidget* shown : {static_cast<QWidget*>(c.numberCaption[type]),
                               static_cast<QWidget*>(c.dateCaption[type]),
                               static_cast<QWidget*>(c.freeTextPointer[type]),
                               static_cast<QWidget*>(type == 3 ? nullptr : c.upperEdit[type])}) {
            if (shown)
                all << shown;
        }
    }
    for (ListBox* letters : c.letterLists)
        all << letters;
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

} // namespace

// The design screen's label types and the lists and menus of the run.
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

    QTest::newRow("1") << 1 << "type1Button"
                       << "type1Panel" << QStringList{"type1NumberCaption", "type1UpperEdit"}
                       << 10000 << false << "type1UpperEdit";
    QTest::newRow("2") << 2 << "type2Button"
                       << "type2Panel"
                       << QStringList{"type2LetterList", "type2NumberCaption", "type2UpperEdit"}
                       << 1000 << false << "type2UpperEdit";
    QTest::newRow("3") << 3 << "type3Button"
                       << "type3Panel"
                       << QStringList{"type3FirstLetterList", "type3NumberCaption",
                                      "type3SecondLetterList"}
                       << 100 << false << "type3UpperEdit";
    QTest::newRow("4") << 4 << "type4Button"
                       << "type4Panel" << QStringList{"type4DateCaption", "type4NumberCaption"}
                       << 10000 << true << "firstNumberList";
    QTest::newRow("5") << 5 << "type5Button"
                       << "type5Panel" << QStringList{"type5DateCaption", "type5NumberCaption"}
                       << 10000 << true << "firstNumberList";
    QTest::newRow("6") << 6 << "type6Button"
                       << "type6Panel"
                       << QStringList{"type6DateCaption", "type6LetterList", "type6NumberCaption"}
                       << 1000 << true << "type6LetterList";
    QTest::newRow("7") << 7 << "type7Button"
                       << "type7Panel"
                       << QStringList{"type7DateCaption", "type7LetterList", "type7NumberCaption"}
                       << 1000 << true << "type7LetterList";
    QTest::newRow("8") << 8 << "type8Button"
                       << "type8Panel" << QStringList{"type8Memo"} << 0 << false << "type8Memo";
    QTest::newRow("9") << 9 << "type9Button"
                       << "type9Panel" << QStringList{"type9FreeTextPointer", "type9UpperEdit"} << 0
                       << false << "type9UpperEdit";
    QTest::newRow("10") << 10 << "type10Button"
                        << "type10Panel"
                        << QStringList{"type10FreeTextPointer", "type10LetterList",
                                       "type10UpperEdit"}
                        << 0 << false << "type10UpperEdit";
    QTest::newRow("11") << 11 << "type11Button"
                        << "type11Panel"
                        << QStringList{"type11DateCaption", "type11FreeTextPointer"} << 0 << true
                        << "freeTextMemo";
    QTest::newRow("12") << 12 << "type12Button"
                        << "type12Panel"
                        << QStringList{"type12DateCaption", "type12FreeTextPointer"} << 0 << true
                        << "freeTextMemo";
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
    // From another page: clicking the checked button runs nothing.
    clickTab(f.w().controls().typePageTabs, (page + 1) % 3);
    auto* radio = f.w().findChild<QRadioButton*>(button);
    QCOMPARE(radio->text(), QStringLiteral("Type%1").arg(type));
    chooseType(f.w(), type);
    QCOMPARE(f.state().design.type, type);

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
    QCOMPARE(c.firstNumberList->isVisibleTo(&f.w()), numbers > 0);
    QCOMPARE(c.firstNumberCaption->isVisibleTo(&f.w()), numbers > 0);
    if (numbers > 0)
        QCOMPARE(c.firstNumberList->count(), numbers);
    else
        QCOMPARE(c.firstNumberList->count(), page == 2 || type == 8 ? 10000 : numbers); // kept
    QTEST(c.dateAdjustList->isVisibleTo(&f.w()), "dateAdjust");
    QTEST(c.dateAdjustCaption->isVisibleTo(&f.w()), "dateAdjust");
    const QWidget* focused = QApplication::focusWidget();
    QCOMPARE(focused ? focused->objectName() : QString(), focus);
}

void TestDesignScreen::firstNumberFollowsTheDigits()
{
    MainFixture f;
    const DesignControls& c = f.w().design().controls();
    clickRow(c.firstNumberList, 5432);
    clickMark(c.typeButton[2]);
    QCOMPARE(f.state().design.firstNumber, 432);
    QCOMPARE(c.firstNumberList->currentRow(), 432);
    QCOMPARE(c.numberCaption[2]->text(), QStringLiteral("432"));
    clickMark(c.typeButton[3]);
    QCOMPARE(f.state().design.firstNumber, 32);
    QCOMPARE(c.numberCaption[3]->text(), QStringLiteral("32"));
    clickMark(c.typeButton[1]);
    QCOMPARE(f.state().design.firstNumber, 32);
    QCOMPARE(c.firstNumberList->count(), 10000);
    QCOMPARE(c.numberCaption[1]->text(), QStringLiteral("0032"));

    // The free-text types hide the list but keep its items and selection.
    chooseType(f.w(), 9);
    QCOMPARE(c.firstNumberList->count(), 10000);
    QCOMPARE(c.firstNumberList->currentRow(), 32);
}

void TestDesignScreen::typeAheadInLists_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QStringList>("typed"); // each entry typed quickly, a pause between
    QTest::addColumn<QString>("selected");

    QTest::newRow("100 from 100, not 1000")
        << 1 << "firstNumberList" << 100 << QStringList{"100"} << "100";
    QTest::newRow("100 from 1") << 1 << "firstNumberList" << 1 << QStringList{"100"} << "100";
    QTest::newRow("9999") << 1 << "firstNumberList" << 1 << QStringList{"9999"} << "9999";
    QTest::newRow("a pause begins a new number")
        << 1 << "firstNumberList" << 1 << QStringList{"12", "5"} << "5";
    QTest::newRow("past the end begins anew")
        << 1 << "repeatCountList" << 0 << QStringList{"34"} << "4";
    QTest::newRow("1200 samples") << 1 << "sampleCountList" << 0 << QStringList{"1200"} << "1200";
    QTest::newRow("negative date adjust")
        << 4 << "dateAdjustList" << 365 << QStringList{"-12"} << "-12";
    QTest::newRow("letters search as before")
        << 2 << "type2LetterList" << 0 << QStringList{"K"} << "K";
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
    chooseType(f.w(), type);
    auto* box = f.w().findChild<ListBox*>(list);
    clickRow(box, startRow);
    box->setFocus(Qt::TabFocusReason);
    QSignalSpy chosen(box, &ListBox::currentRowChanged);
    for (const QString& keys : typed) {
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(box, keys);
    }
    QTEST(box->itemText(box->currentRow()), "selected");
    // A user's choice: the handlers ran and the design has it.
    QVERIFY(box->currentRow() == startRow || chosen.last().first().toInt() == box->currentRow());
    if (list == "firstNumberList")
        QCOMPARE(f.state().design.firstNumber, box->currentRow());
    if (list == "dateAdjustList")
        QCOMPARE(f.state().design.dateAdjust, -12);
}

void TestDesignScreen::repeatList()
{
    MainFixture f;
    const DesignControls& c = f.w().design().controls();
    chooseType(f.w(), 8); // blank Type8: coloured by sample group, seven colours
    QCOMPARE(c.repeatCountList->count(), 7);
    clickRow(c.repeatCountList, 6);
    QCOMPARE(f.state().design.repeatCount, 7);

    // Typing into the memo does not refill the list until a type is chosen.
    typeText(c.type8Memo, QStringLiteral("A"));
    QCOMPARE(c.repeatCountList->count(), 7);

    chooseType(f.w(), 10); // Type10 refills it as well
    QCOMPARE(c.repeatCountList->count(), 5);
    QCOMPARE(c.repeatCountList->currentRow(), 0);
    QCOMPARE(f.state().design.repeatCount, 1);

    clickRow(c.repeatCountList, 3);
    chooseType(f.w(), 8); // memo holds text now: 1..5, the choice kept
    QCOMPARE(c.repeatCountList->count(), 5);
    QCOMPARE(f.state().design.repeatCount, 4);
}

void TestDesignScreen::numberMenus()
{
    MainFixture f;
    const DesignControls& c = f.w().design().controls();
    clickRow(c.firstNumberList, 7);
    chooseMenuItem(c.numberDisplayMenu, c.plainNumbersAction);
    QCOMPARE(f.state().design.plainNumbers, true);
    QVERIFY(c.plainNumbersAction->isChecked() && !c.paddedNumbersAction->isChecked());
    for (QLabel* label :
         {c.numberCaption[1], c.numberCaption[2], c.numberCaption[4], c.numberCaption[3],
          c.numberCaption[6], c.numberCaption[5], c.numberCaption[7]})
        QCOMPARE(label->text(), QStringLiteral("7"));
    chooseMenuItem(c.numberDisplayMenu, c.paddedNumbersAction);
    QCOMPARE(f.state().design.plainNumbers, false);
    QCOMPARE(c.numberCaption[4]->text(), QStringLiteral("0007"));
    QCOMPARE(c.numberCaption[7]->text(), QStringLiteral("007"));
    QCOMPARE(c.numberCaption[3]->text(), QStringLiteral("07"));
    // The checked entry chosen again stays checked.
    chooseMenuItem(c.numberDisplayMenu, c.paddedNumbersAction);
    QVERIFY(c.paddedNumbersAction->isChecked());

    chooseMenuItem(c.stepMenu, c.stepActions[3]);
    QCOMPARE(f.state().design.step, 5);
    QStringList checked;
    for (QAction* item : c.stepActions) {
        if (item->isChecked())
            checked << item->objectName();
    }
    QCOMPARE(checked, QStringList{"step5Action"});
    chooseMenuItem(c.stepMenu, c.stepActions[4]);
    QCOMPARE(f.state().design.step, 10);
}

void TestDesignScreen::dateAdjust()
{
    MainFixture f("10,10,1\r\n\r\n", [] { return QDateTime(QDate(2026, 1, 1), QTime(0, 5)); });
    const DesignControls& c = f.w().design().controls();
    QCOMPARE(c.dateCaption[7]->text(), QStringLiteral("01/01"));
    clickMark(c.typeButton[4]);      // a dated type shows the list
    clickRow(c.dateAdjustList, 364); // "-1"
    for (QLabel* label : {c.dateCaption[4], c.dateCaption[7], c.dateCaption[11]})
        QCOMPARE(label->text(), QStringLiteral("12/31"));
    for (QLabel* label : {c.dateCaption[5], c.dateCaption[6], c.dateCaption[12]})
        QCOMPARE(label->text(), QStringLiteral("25|12"));
    QCOMPARE(c.dateAdjustList->itemText(730), QStringLiteral("365"));
}

QTEST_MAIN(TestDesignScreen)
#include "tst_designscreen.moc"
