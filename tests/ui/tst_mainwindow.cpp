#include "core/render/Fonts.h"
#include "ui/AboutDialog.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/MainWindow.h"
#include "ui/PrintScreen.h"
#include "ui/SheetMap.h"

#include "MainFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QStringList visibleButtons(MainWindow& w)
{
    QList<QToolButton*> shown;
    for (const char* name :
         {"excelButton", "reportButton", "historyButton", "backButton", "endButton"}) {
        auto* button = w.findChild<QToolButton*>(QString::fromLatin1(name));
        if (button->isVisibleTo(&w))
            shown << button;
    }
    std::sort(shown.begin(), shown.end(),
              [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    QStringList out;
    for (QToolButton* button : shown)
        out << QStringLiteral("%1@%2").arg(button->objectName()).arg(button->x());
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void startsFromStartFile();
    void buttonBarStates_data();
    void buttonBarStates();
    void tabChangeSelectsFirstTypeOfPage();
    void programmaticSelectionRunsNoHandler();
    void radioButtonsActAsOneGroup();
    void versionDialogDisablesWindow();
    void endAndBack();
    void keyboardFromTheStart();
    void tabFollowsTheWork_data();
    void tabFollowsTheWork();
    void japaneseFontResolves();
};

void TestMainWindow::startsFromStartFile()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\nmy note\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    QVERIFY(dialogs.calls.isEmpty());
    const WorkingState& s = w.state();
    QCOMPARE(s.closeRequested, false);
    QCOMPARE(s.start, (StartSettings{10, 10, 1, "my note"}));
    QCOMPARE(s.design, LabelDesign());
    QCOMPARE(s.design.type, 1);
    QCOMPARE(s.design.sampleCount, 30);
    QCOMPARE(s.design.look.font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(s.design.look.font.bold());
    QCOMPARE(s.design.look.font.pointSize(), 9);

    const DesignControls& dc = w.design().controls();
    QCOMPARE(dc.sampleCountList->count(), 1200);
    QCOMPARE(dc.sampleCountList->currentRow(), 29);
    QCOMPARE(dc.firstNumberList->count(), 10000);
    QCOMPARE(dc.firstNumberList->currentRow(), 1);
    QCOMPARE(dc.repeatCountList->count(), 5);
    QCOMPARE(dc.repeatCountList->currentRow(), 0);
    QCOMPARE(dc.dateAdjustList->count(), 731);
    QCOMPARE(dc.dateAdjustList->itemText(dc.dateAdjustList->currentRow()), QStringLiteral("0"));
    QVERIFY(!dc.dateAdjustList->isVisibleTo(&w));
    for (ListBox* letters : {dc.letters(LetterList::Type7), dc.letters(LetterList::Type6),
                             dc.letters(LetterList::Type2), dc.letters(LetterList::Type3First),
                             dc.letters(LetterList::Type3Second), dc.letters(LetterList::Type10)})
        QCOMPARE(letters->itemText(letters->currentRow()), QStringLiteral("A"));
    QCOMPARE(dc.dateCaption[4]->text(), QStringLiteral("12/08"));
    QCOMPARE(dc.dateCaption[5]->text(), QStringLiteral("26|12"));

    const PrintControls& pc = w.printScreen().controls();
    QCOMPARE(pc.textColourList->count(), 9);
    QCOMPARE(pc.textColourList->currentRow(), 0);
    QCOMPARE(pc.backgroundColourList->itemText(8), QStringLiteral("Custom"));
    QCOMPARE(pc.verticalOffsetList->itemText(pc.verticalOffsetList->currentRow()),
             QStringLiteral("0"));
    QCOMPARE(pc.horizontalOffsetList->itemText(0), QStringLiteral("-5"));
    QCOMPARE(pc.horizontalOffsetList->itemText(11), QStringLiteral("0.5"));
    QCOMPARE(pc.sheetMap->geometry(), QRect(103, 141, 289, 425));

    // Design screen, Type1 chosen, previews grey but Type1's.
    QVERIFY(dc.designPanel->isVisibleTo(&w));
    QVERIFY(dc.pages[0]->isVisibleTo(&w));
    QVERIFY(!pc.printPanel->isVisibleTo(&w));
    QVERIFY(dc.typeButton[1]->isChecked());
    QCOMPARE(Controls::fontColor(dc.numberCaption[1]), QColor(Qt::black));
    QCOMPARE(Controls::fontColor(dc.numberCaption[2]), QColor(0x80, 0x80, 0x80));
    // The first panel of each page starts enabled.
    for (int type = 1; type <= 12; ++type)
        QCOMPARE(dc.typePanel[type]->isEnabled(), type == 1 || type == 5 || type == 9);
    QCOMPARE(dc.upperEdit[1]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(visibleButtons(w), (QStringList{"historyButton@80", "endButton@152"}));
    QCOMPARE(w.windowTitle(), QStringLiteral("Rondelmaker"));
    QCOMPARE(w.objectName(), QStringLiteral("mainWindow"));
}

void TestMainWindow::buttonBarStates_data()
{
    QTest::addColumn<bool>("print");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("design") << false << false << QStringList{"historyButton@80", "endButton@152"};
    QTest::newRow("design after a job")
        << false << true
        << QStringList{"excelButton@80", "reportButton@152", "historyButton@224", "endButton@296"};
    QTest::newRow("print") << true << false
                           << QStringList{"historyButton@80", "backButton@152", "endButton@224"};
    QTest::newRow("print after a job")
        << true << true
        << QStringList{"excelButton@80", "reportButton@152", "historyButton@224", "backButton@296",
                       "endButton@368"};
}

void TestMainWindow::buttonBarStates()
{
    QFETCH(bool, print);
    QFETCH(bool, printed);
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    // A job printed before the window started: its state says so.
    SavedState state;
    if (printed)
        state.lastJob = PrintedJob();
    QVERIFY(StateFile::write(StateFile::pathIn(dir.path()), state, nullptr));
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    if (print)
        QTest::mouseClick(w.design().controls().printSetButton, Qt::LeftButton);
    QTEST(visibleButtons(w), "buttons");
    QCOMPARE(w.controls().versionButton->pos(), QPoint(8, 8));
}

void TestMainWindow::tabChangeSelectsFirstTypeOfPage()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    const DesignControls& dc = w.design().controls();
    w.state().design.sampleCount = 12;
    dc.sampleCountList->selectRow(99);

    clickTab(w.controls().typePageTabs, 2);
    QCOMPARE(w.state().design.type, 9);
    QVERIFY(dc.pages[2]->isVisibleTo(&w));
    QVERIFY(!dc.pages[0]->isVisibleTo(&w));
    QCOMPARE(dc.sampleCountList->currentRow(), 99); // left alone on the free-text page

    clickTab(w.controls().typePageTabs, 1);
    QCOMPARE(w.state().design.type, 5);
    QVERIFY(dc.pages[1]->isVisibleTo(&w));
    QCOMPARE(dc.sampleCountList->currentRow(), 11);
    QCOMPARE(w.state().design.sampleCount, 12); // selected by the program: no handler ran
}

void TestMainWindow::programmaticSelectionRunsNoHandler()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ListBox* list = w.design().controls().firstNumberList;
    QSignalSpy changed(list, &ListBox::currentRowChanged);

    list->selectRow(250);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(w.state().design.firstNumber, 1);

    // A user's click and a user's key press do run it.
    list->scrollTo(list->model()->index(260, 0));
    const QRect row = list->visualRect(list->model()->index(260, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(w.state().design.firstNumber, 260);
    QCOMPARE(w.design().controls().numberCaption[1]->text(), QStringLiteral("0260"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(w.state().design.firstNumber, 261);
}

void TestMainWindow::radioButtonsActAsOneGroup()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    const DesignControls& dc = w.design().controls();
    auto checkedButtons = [&dc] {
        QStringList names;
        for (int type = 1; type <= 12; ++type) {
            if (dc.typeButton[type]->isChecked())
                names << dc.typeButton[type]->objectName();
        }
        return names;
    };
    dc.typeButton[7]->click();
    QCOMPARE(dc.typeButton[7]->objectName(), QStringLiteral("type7Button"));
    QCOMPARE(w.state().design.type, 7);
    QCOMPARE(checkedButtons(), QStringList{"type7Button"});
    dc.typeButton[11]->click(); // another page
    QCOMPARE(checkedButtons(), QStringList{"type11Button"});

    // Checking the checked button again from the program runs nothing.
    w.state().design.firstNumber = 42;
    dc.typeButton[11]->setChecked(true);
    QCOMPARE(w.state().design.firstNumber, 42);
    // Checking another one runs its handler once.
    dc.typeButton[3]->setChecked(true);
    QCOMPARE(w.state().design.type, 3);
    QCOMPARE(w.state().design.firstNumber, 42);
    QCOMPARE(dc.firstNumberList->count(), 100);
}

void TestMainWindow::versionDialogDisablesWindow()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    w.show();
    AboutDialog* about = w.aboutDialog();
    QVERIFY(!about->isVisible());

    QTest::mouseClick(w.controls().versionButton, Qt::LeftButton);
    QVERIFY(about->isVisible());
    QCOMPARE(about->parentWidget(), &w); // kept in front of the window it disables
    QVERIFY(!w.isEnabled());
    QVERIFY(about->isEnabled());
    QCOMPARE(about->windowTitle(), QStringLiteral("バージョン情報"));
    QVERIFY(about->findChild<QLabel*>("version")->text().contains(QStringLiteral("1.03")));
    QTest::mouseClick(about->okButton(), Qt::LeftButton);
    QVERIFY(!about->isVisible());
    QVERIFY(w.isEnabled());

    // Closing by the title bar acts as OK.
    QTest::mouseClick(w.controls().versionButton, Qt::LeftButton);
    QVERIFY(!w.isEnabled());
    QVERIFY(about->close());
    QVERIFY(!about->isVisible());
    QVERIFY(w.isEnabled());
}

void TestMainWindow::endAndBack()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    w.show();
    const PrintControls& pc = w.printScreen().controls();
    QTest::mouseClick(w.design().controls().printSetButton, Qt::LeftButton);
    pc.printButton->setEnabled(false);
    QTest::mouseClick(w.controls().backButton, Qt::LeftButton);
    QVERIFY(pc.printButton->isEnabled());
    QVERIFY(w.design().controls().designPanel->isVisible());
    QVERIFY(!pc.printPanel->isVisible());

    QSignalSpy closed(&w, &MainWindow::windowClosed);
    QTest::mouseClick(w.controls().endButton, Qt::LeftButton);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(dir.startFile(), QByteArray("10,10,1\r\n\r\n")); // nothing saved on the way out
}

void TestMainWindow::keyboardFromTheStart()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // What is typed first goes into the first input of the type.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("AB"));
    QCOMPARE(w.state().design.upperTexts[0], QStringLiteral("AB"));

    // The arrows on the type buttons choose among the types of the page
    // shown; Tab then reaches the chosen type's input.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QList<int> types;
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Left, Qt::Key_Up}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        types << w.state().design.type;
    }
    QCOMPARE(types, (QList<int>{2, 4, 3, 3, 1}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.design().controls().upperEdit[2]);

    // Back to the tabs, which keep the focus while the arrows page through them.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), w.controls().typePageTabs);
    QTest::keyClick(w.controls().typePageTabs, Qt::Key_Right);
    QTest::keyClick(w.controls().typePageTabs, Qt::Key_Right);
    QCOMPARE(w.state().design.type, 9);
    QCOMPARE(QApplication::focusWidget(), w.controls().typePageTabs);
    QTest::keyClick(w.controls().typePageTabs, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("RUN"));
    QCOMPARE(w.state().design.upperTexts[3], QStringLiteral("RUN"));

    // Enter on a focused button presses it; Escape on the print screen goes back.
    QPushButton* printSet = w.design().controls().printSetButton;
    printSet->setFocus(Qt::TabFocusReason);
    QTest::keyClick(printSet, Qt::Key_Return);
    QCOMPARE(w.screen(), MainWindow::Screen::Print);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(w.screen(), MainWindow::Screen::Design);
}

void TestMainWindow::tabFollowsTheWork_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("print");
    QTest::addColumn<QStringList>("stops");

    const QStringList bar = {"versionButton", "historyButton", "endButton"};
    QTest::newRow("type 1") << 1 << false
                            << QStringList{"typePageTabs",    "type1Button",     "type1UpperEdit",
                                           "firstNumberList", "sampleCountList", "repeatCountList",
                                           "printSetButton"} +
                                   bar;
    QTest::newRow("type 6 with a date")
        << 6 << false
        << QStringList{"typePageTabs",    "type6Button",     "type6LetterList", "firstNumberList",
                       "sampleCountList", "repeatCountList", "dateAdjustList",  "printSetButton"} +
               bar;
    QTest::newRow("type 10 with free texts")
        << 10 << false
        << QStringList{"typePageTabs",     "type10Button",  "type10UpperEdit",
                       "type10LetterList", "freeTextMemo",  "clearFreeTextsButton",
                       "repeatCountList",  "printSetButton"} +
               bar;
    QTest::newRow("print screen") << 1 << true
                                  << QStringList{"sheetMap",
                                                 "startPositionBox",
                                                 "sheetList",
                                                 "verticalOffsetList",
                                                 "horizontalOffsetList",
                                                 "scaleXBox",
                                                 "scaleYBox",
                                                 "textColourList",
                                                 "backgroundColourList",
                                                 "frameCheck",
                                                 "codeCheck",
                                                 "printButton",
                                                 "previewButton",
                                                 "testPrintButton",
                                                 "sheetChoiceList",
                                                 "newSheetButton",
                                                 "versionButton",
                                                 "historyButton",
                                                 "backButton",
                                                 "endButton"};
}

void TestMainWindow::tabFollowsTheWork()
{
    QFETCH(int, type);
    QFETCH(bool, print);
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const DesignControls& dc = w.design().controls();
    QTest::mouseClick(w.controls().typePageTabs, Qt::LeftButton, {},
                      w.controls().typePageTabs->tabRect((type - 1) / 4).center());
    QTest::mouseClick(dc.typeButton[type], Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(w.state().design.type, type);
    if (print)
        QTest::keyClick(dc.printSetButton, Qt::Key_Space);

    QWidget* first = print ? static_cast<QWidget*>(w.printScreen().controls().sheetMap)
                           : w.controls().typePageTabs;
    first->setFocus(Qt::TabFocusReason);
    QStringList stops;
    QWidget* at = first;
    do {
        stops << at->objectName();
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
    } while (at && at != first && stops.size() < 40);
    QTEST(stops, "stops");
}

void TestMainWindow::japaneseFontResolves()
{
    // A family without Japanese glyphs would draw the captions as boxes.
    const QFontInfo info(Controls::gothic(15));
    QVERIFY2(info.family().contains(QStringLiteral("IPA")), qPrintable(info.family()));
    const QFontMetrics metrics(Controls::gothic(15));
    for (const QChar ch : QStringLiteral("スタートファイル初期値枚目"))
        QVERIFY2(metrics.inFont(ch), qPrintable(QString(ch)));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
