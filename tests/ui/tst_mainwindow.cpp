#include "core/render/Fonts.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "ui/SheetMap.h"
#include "ui/TAboutBox.h"
#include "ui/TfrmMain.h"

#include "ReadOnlyDir.h"
#include "ScriptedDialogs.h"
#include "TestAppDir.h"

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

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QStringList visibleButtons(TfrmMain& w)
{
    QList<QToolButton*> shown;
    for (const char* name : {"cmdExcel", "cmdSheet", "cmdBack", "cmdEnd"}) {
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
    void startFileEdgeCases_data();
    void startFileEdgeCases();
    void missingStartFileClosesWithoutCreatingOne();
    void malformedStartFileIsReportedAndCloses();
    void failedSaveKeepsNewValues();
    void staleTemporariesRemovedAtStart_data();
    void staleTemporariesRemovedAtStart();
    void buttonBarStates_data();
    void buttonBarStates();
    void tabChangeSelectsFirstTypeOfPage();
    void programmaticSelectionRunsNoHandler();
    void radioButtonsActAsOneGroup();
    void versionDialogDisablesWindow();
    void endAndBack();
    void controlsAreNamedForAutomation();
    void keyboardFromTheStart();
    void tabFollowsTheWork_data();
    void tabFollowsTheWork();
    void everyInputHasASpokenName();
    void japaneseFontResolves();
};

void TestMainWindow::startsFromStartFile()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\nmy note\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    QVERIFY(dialogs.calls.isEmpty());
    const WorkingState& s = w.state();
    QCOMPARE(s.CloseRequested, false);
    QCOMPARE(s.Start, (StartSettings{10, 10, 1, "my note"}));
    QCOMPARE(s.Design, LabelDesign());
    QCOMPARE(s.Design.type, 1);
    QCOMPARE(s.Design.sampleCount, 30);
    QCOMPARE(s.Design.look.font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(s.Design.look.font.bold());
    QCOMPARE(s.Design.look.font.pointSize(), 9);

    const DesignControls& dc = w.design().controls();
    QCOMPARE(dc.ListBox2->count(), 1200);
    QCOMPARE(dc.ListBox2->currentRow(), 29);
    QCOMPARE(dc.ListBox12->count(), 10000);
    QCOMPARE(dc.ListBox12->currentRow(), 1);
    QCOMPARE(dc.ListBox7->count(), 5);
    QCOMPARE(dc.ListBox7->currentRow(), 0);
    QCOMPARE(dc.ListBox9->count(), 731);
    QCOMPARE(dc.ListBox9->itemText(dc.ListBox9->currentRow()), QStringLiteral("0"));
    QVERIFY(!dc.ListBox9->isVisibleTo(&w));
    for (ListBox* letters :
         {dc.ListBox1, dc.ListBox3, dc.ListBox4, dc.ListBox5, dc.ListBox6, dc.ListBox8})
        QCOMPARE(letters->itemText(letters->currentRow()), QStringLiteral("A"));
    QCOMPARE(dc.Label10->text(), QStringLiteral("12/08"));
    QCOMPARE(dc.Label11->text(), QStringLiteral("26|12"));

    const PrintControls& pc = w.printScreen().controls();
    QCOMPARE(pc.ListBox21->count(), 9);
    QCOMPARE(pc.ListBox21->currentRow(), 0);
    QCOMPARE(pc.ListBox19->itemText(8), QStringLiteral("Custom"));
    QCOMPARE(pc.ListBox23->itemText(pc.ListBox23->currentRow()), QStringLiteral("0"));
    QCOMPARE(pc.ListBox25->itemText(0), QStringLiteral("-5"));
    QCOMPARE(pc.ListBox25->itemText(11), QStringLiteral("0.5"));
    QCOMPARE(pc.pnlCircle->geometry(), QRect(103, 141, 289, 425));

    // Design screen, Type1 chosen, previews grey but Type1's.
    QVERIFY(dc.pnlMain->isVisibleTo(&w));
    QVERIFY(dc.PnlType1->isVisibleTo(&w));
    QVERIFY(!pc.pnlPrint->isVisibleTo(&w));
    QVERIFY(dc.typeButton[1]->isChecked());
    QCOMPARE(Controls::fontColor(dc.Label3), QColor(Qt::black));
    QCOMPARE(Controls::fontColor(dc.Label5), QColor(0x80, 0x80, 0x80));
    // The first panel of each page and Panel10 (Type12's) start enabled.
    for (int type = 1; type <= 12; ++type)
        QCOMPARE(dc.typePanel[type]->isEnabled(),
                 type == 1 || type == 5 || type == 9 || type == 12);
    QCOMPARE(dc.Edit1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(visibleButtons(w), (QStringList{"cmdEnd@80"}));
    QCOMPARE(w.windowTitle(), QStringLiteral("Rondelmaker"));
    QCOMPARE(w.objectName(), QStringLiteral("frmMain"));
}

void TestMainWindow::startFileEdgeCases_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("horzItem");
    QTest::addColumn<QByteArray>("afterSave");

    QTest::newRow("start 0 becomes 1 but the file keeps 0 until saved")
        << QByteArray("10,10,0\r\nx\r\n") << 1 << QStringLiteral("0")
        << QByteArray("10,10,1\r\nx\r\n");
    QTest::newRow("empty file") << QByteArray() << 1 << QStringLiteral("-5")
                                << QByteArray("0,0,1\r\n\r\n");
    QTest::newRow("five lines keep two") << QByteArray("20,20,150\r\nb\r\nc\r\nd\r\ne\r\n") << 150
                                         << QStringLiteral("5") << QByteArray("20,20,150\r\nb\r\n");
}

void TestMainWindow::startFileEdgeCases()
{
    QFETCH(QByteArray, file);
    TestAppDir dir;
    dir.writeStartFile(file);
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    QTEST(w.state().Start.startPosition, "start");
    const ListBox* horz = w.printScreen().controls().ListBox25;
    QTEST(horz->itemText(horz->currentRow()), "horzItem");
    QCOMPARE(dir.startFile(), file); // reading never writes
    QVERIFY(w.SaveStartFile());
    QTEST(dir.startFile(), "afterSave");
}

void TestMainWindow::missingStartFileClosesWithoutCreatingOne()
{
    TestAppDir dir;
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    QCOMPARE(dialogs.texts("message"),
             QStringList{QStringLiteral("スタートファイルがありません。")});
    QCOMPARE(dialogs.calls.first().detail, dir.startFilePath());
    QVERIFY(w.state().CloseRequested);
    QVERIFY(w.controls().Timer1->isActive());
    QSignalSpy closed(&w, &TfrmMain::windowClosed);
    QVERIFY(closed.wait(2000));
    QVERIFY(!w.controls().Timer1->isActive());
    QVERIFY(!QFile::exists(dir.startFilePath()));
}

void TestMainWindow::malformedStartFileIsReportedAndCloses()
{
    TestAppDir dir;
    dir.writeStartFile("10;10;1\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    QCOMPARE(dialogs.count("error"), 1);
    QVERIFY(dialogs.texts("error").first().contains(QStringLiteral("10;10;1")));
    QSignalSpy closed(&w, &TfrmMain::windowClosed);
    QVERIFY(closed.wait(2000));
    QCOMPARE(dir.startFile(), QByteArray("10;10;1\r\n"));
}

void TestMainWindow::failedSaveKeepsNewValues()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    w.state().Start.startPosition = 77;
    {
        ReadOnlyDir readOnly(dir.path());
        QVERIFY(!w.SaveStartFile());
    }
    QCOMPARE(dialogs.count("error"), 1);
    QCOMPARE(w.state().Start.startPosition, 77);
    QCOMPARE(dir.startFile(), QByteArray("10,10,1\r\n\r\n"));
}

void TestMainWindow::staleTemporariesRemovedAtStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("removed");
    QTest::newRow("old temporary") << "start.txt.aB3xY9"
                                   << "file" << 120 << true;
    QTest::newRow("fresh one of a save in progress") << "start.txt.aB3xY9"
                                                     << "file" << 5 << false;
    QTest::newRow("five characters") << "start.txt.aB3xY"
                                     << "file" << 120 << false;
    QTest::newRow("seven characters") << "start.txt.aB3xY90"
                                      << "file" << 120 << false;
    QTest::newRow("not a letter or digit") << "start.txt.aB3-Y9"
                                           << "file" << 120 << false;
    QTest::newRow("other file's name") << "notes.txt.aB3xY9"
                                       << "file" << 120 << false;
    QTest::newRow("folder") << "start.txt.aB3xY9"
                            << "folder" << 120 << false;
    QTest::newRow("symbolic link") << "start.txt.aB3xY9"
                                   << "link" << 120 << false;
}

void TestMainWindow::staleTemporariesRemovedAtStart()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(int, ageSeconds);
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    const QString path = QDir(dir.path()).filePath(name);
    const QString target = QDir(dir.path()).filePath("target");
    if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir(name));
    } else {
        QFile file(kind == "file" ? path : target);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (kind == "link")
        QVERIFY(QFile::link(target, path));
    const timespec modified{time(nullptr) - ageSeconds, 0};
    const timespec times[2] = {modified, modified};
    for (const QString& entry : {path, target})
        utimensat(AT_FDCWD, QFile::encodeName(entry).constData(), times, AT_SYMLINK_NOFOLLOW);

    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    QTEST(!QFileInfo(path).exists(), "removed");
    QVERIFY(QFile::exists(dir.startFilePath()));
    QVERIFY(kind != "link" || QFile::exists(target));
}

void TestMainWindow::buttonBarStates_data()
{
    QTest::addColumn<bool>("print");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("design") << false << false << QStringList{"cmdEnd@80"};
    QTest::newRow("design after a job")
        << false << true << QStringList{"cmdExcel@80", "cmdSheet@152", "cmdEnd@224"};
    QTest::newRow("print") << true << false << QStringList{"cmdBack@80", "cmdEnd@152"};
    QTest::newRow("print after a job")
        << true << true << QStringList{"cmdExcel@80", "cmdSheet@152", "cmdBack@224", "cmdEnd@296"};
}

void TestMainWindow::buttonBarStates()
{
    QFETCH(bool, print);
    QFETCH(bool, printed);
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    if (printed)
        w.state().LastJob = PrintedJob();
    const auto screen = print ? TfrmMain::Screen::Print : TfrmMain::Screen::Design;
    w.ShowScreen(screen);
    w.ArrangeButtonBar(screen);
    QTEST(visibleButtons(w), "buttons");
    QCOMPARE(w.controls().cmdVersion->pos(), QPoint(8, 8));
}

void TestMainWindow::tabChangeSelectsFirstTypeOfPage()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    const DesignControls& dc = w.design().controls();
    w.state().Design.sampleCount = 12;
    dc.ListBox2->selectRow(99);

    w.controls().TabControl1->setCurrentIndex(2);
    QCOMPARE(w.state().Design.type, 9);
    QVERIFY(dc.pnlType3->isVisibleTo(&w));
    QVERIFY(!dc.PnlType1->isVisibleTo(&w));
    QCOMPARE(dc.ListBox2->currentRow(), 99); // left alone on the free-text page

    w.controls().TabControl1->setCurrentIndex(1);
    QCOMPARE(w.state().Design.type, 5);
    QVERIFY(dc.pnlType2->isVisibleTo(&w));
    QCOMPARE(dc.ListBox2->currentRow(), 11);
    QCOMPARE(w.state().Design.sampleCount, 12); // selected by the program: no handler ran
}

void TestMainWindow::programmaticSelectionRunsNoHandler()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ListBox* list = w.design().controls().ListBox12;
    QSignalSpy changed(list, &ListBox::currentRowChanged);

    list->selectRow(250);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(w.state().Design.firstNumber, 1);

    // A user's click and a user's key press do run it.
    list->scrollTo(list->model()->index(260, 0));
    const QRect row = list->visualRect(list->model()->index(260, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(w.state().Design.firstNumber, 260);
    QCOMPARE(w.design().controls().Label3->text(), QStringLiteral("0260"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(w.state().Design.firstNumber, 261);
}

void TestMainWindow::radioButtonsActAsOneGroup()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    const DesignControls& dc = w.design().controls();
    auto checkedButtons = [&dc] {
        QStringList names;
        for (int type = 1; type <= 12; ++type) {
            if (dc.typeButton[type]->isChecked())
                names << dc.typeButton[type]->objectName();
        }
        return names;
    };
    dc.typeButton[7]->click(); // "Type7" sits on RadioButton8
    QCOMPARE(dc.typeButton[7]->objectName(), QStringLiteral("RadioButton8"));
    QCOMPARE(w.state().Design.type, 7);
    QCOMPARE(checkedButtons(), QStringList{"RadioButton8"});
    dc.typeButton[11]->click(); // another page
    QCOMPARE(checkedButtons(), QStringList{"RadioButton11"});

    // Checking the checked button again from the program runs nothing.
    w.state().Design.firstNumber = 42;
    dc.typeButton[11]->setChecked(true);
    QCOMPARE(w.state().Design.firstNumber, 42);
    // Checking another one runs its handler once.
    dc.typeButton[3]->setChecked(true);
    QCOMPARE(w.state().Design.type, 3);
    QCOMPARE(w.state().Design.firstNumber, 42);
    QCOMPARE(dc.ListBox12->count(), 100);
}

void TestMainWindow::versionDialogDisablesWindow()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    w.show();
    TAboutBox* about = w.aboutBox();
    QVERIFY(!about->isVisible());

    w.controls().cmdVersion->click();
    QVERIFY(about->isVisible());
    QCOMPARE(about->parentWidget(), &w); // kept in front of the window it disables
    QVERIFY(!w.isEnabled());
    QVERIFY(about->isEnabled());
    QCOMPARE(about->windowTitle(), QStringLiteral("バージョン情報"));
    QVERIFY(about->findChild<QLabel*>("Version")->text().contains(QStringLiteral("1.03")));
    QTest::mouseClick(about->okButton(), Qt::LeftButton);
    QVERIFY(!about->isVisible());
    QVERIFY(w.isEnabled());

    // Closing by the title bar acts as OK.
    w.controls().cmdVersion->click();
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
    TfrmMain w(dialogs, dir.path(), fixedNow);
    w.show();
    const PrintControls& pc = w.printScreen().controls();
    w.ShowScreen(TfrmMain::Screen::Print);
    pc.cmdPrint->setEnabled(false);
    w.controls().cmdBack->click();
    QVERIFY(pc.cmdPrint->isEnabled());
    QVERIFY(w.design().controls().pnlMain->isVisible());
    QVERIFY(!pc.pnlPrint->isVisible());

    QSignalSpy closed(&w, &TfrmMain::windowClosed);
    w.controls().cmdEnd->click();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(dir.startFile(), QByteArray("10,10,1\r\n\r\n")); // nothing saved on the way out
}

void TestMainWindow::controlsAreNamedForAutomation()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    const QStringList operated = {
        "cmdVersion",   "cmdExcel",     "cmdSheet",     "cmdBack",   "cmdEnd",      "TabControl1",
        "ListBox12",    "ListBox7",     "ListBox2",     "ListBox9",  "cmdPrintSet", "ListBox20",
        "ListBox23",    "ListBox25",    "ListBox21",    "ListBox19", "CheckBox1",   "CheckBox2",
        "cmdPrint",     "image7",       "Edit1",        "Edit5",     "Memo1",       "Memo2",
        "cmdreset",     "RadioButton7", "RadioButton8", "ListBox4",  "ListBox6",    "pnlCircle",
        "StartPosition"};
    for (const QString& name : operated) {
        auto* widget = w.findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->accessibleDescription(), name);
    }
    QCOMPARE(w.findChild<QWidget*>("RadioButton7")->accessibleName(), QStringLiteral("Type8"));
    QCOMPARE(w.findChild<QWidget*>("ListBox12")->accessibleName(), QStringLiteral("初期値"));
    QCOMPARE(w.findChild<QWidget*>("cmdPrint")->accessibleName(), QStringLiteral("Print"));
    QCOMPARE(w.findChild<QWidget*>("StartPosition")->accessibleName(), QStringLiteral("開始位置"));
}

void TestMainWindow::keyboardFromTheStart()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // What is typed first goes into the first input of the type.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("AB"));
    QCOMPARE(w.state().Design.upperTexts[0], QStringLiteral("AB"));

    // The arrows on the type buttons choose among the types of the page
    // shown; Tab then reaches the chosen type's input.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QList<int> types;
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Left, Qt::Key_Up}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        types << w.state().Design.type;
    }
    QCOMPARE(types, (QList<int>{2, 4, 3, 3, 1}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.design().controls().Edit2);

    // Back to the tabs, which keep the focus while the arrows page through them.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), w.controls().TabControl1);
    QTest::keyClick(w.controls().TabControl1, Qt::Key_Right);
    QTest::keyClick(w.controls().TabControl1, Qt::Key_Right);
    QCOMPARE(w.state().Design.type, 9);
    QCOMPARE(QApplication::focusWidget(), w.controls().TabControl1);
    QTest::keyClick(w.controls().TabControl1, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("RUN"));
    QCOMPARE(w.state().Design.upperTexts[3], QStringLiteral("RUN"));
}

void TestMainWindow::tabFollowsTheWork_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("print");
    QTest::addColumn<QStringList>("stops");

    const QStringList bar = {"cmdVersion", "cmdEnd"};
    QTest::newRow("type 1") << 1 << false
                            << QStringList{"TabControl1", "RadioButton1", "Edit1",      "ListBox12",
                                           "ListBox2",    "ListBox7",     "cmdPrintSet"} +
                                   bar;
    QTest::newRow("type 6 with a date")
        << 6 << false
        << QStringList{"TabControl1", "RadioButton6", "ListBox3", "ListBox12",
                       "ListBox2",    "ListBox7",     "ListBox9", "cmdPrintSet"} +
               bar;
    QTest::newRow("type 10 with free texts")
        << 10 << false
        << QStringList{"TabControl1", "RadioButton10", "Edit5",    "ListBox8",   "Memo1",
                       "cmdreset",    "ListBox2",      "ListBox7", "cmdPrintSet"} +
               bar;
    QTest::newRow("print screen") << 1 << true
                                  << QStringList{
                                         "pnlCircle",    "StartPosition", "ScaleX",    "ScaleY",
                                         "ListBox20",    "ListBox23",     "ListBox25", "ListBox21",
                                         "ListBox19",    "CheckBox1",     "cmdPrint",  "cmdPreview",
                                         "cmdTestPrint", "cmdVersion",    "cmdBack",   "cmdEnd"};
}

void TestMainWindow::tabFollowsTheWork()
{
    QFETCH(int, type);
    QFETCH(bool, print);
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const DesignControls& dc = w.design().controls();
    QTest::mouseClick(w.controls().TabControl1, Qt::LeftButton, {},
                      w.controls().TabControl1->tabRect((type - 1) / 4).center());
    QTest::mouseClick(dc.typeButton[type], Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(w.state().Design.type, type);
    if (print)
        QTest::keyClick(dc.cmdPrintSet, Qt::Key_Space);

    QWidget* first = print ? static_cast<QWidget*>(w.printScreen().controls().pnlCircle)
                           : w.controls().TabControl1;
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

void TestMainWindow::everyInputHasASpokenName()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    TfrmMain w(dialogs, dir.path(), fixedNow);
    // Every control either screen shows, whichever is shown now.
    QStringList unnamed;
    int inputs = 0;
    for (QWidget* widget : w.findChildren<QWidget*>()) {
        if (widget->focusPolicy() == Qt::NoFocus || widget->focusProxy())
            continue;
        ++inputs;
        if (widget->accessibleName().isEmpty())
            unnamed << widget->objectName() + "/" + widget->metaObject()->className();
    }
    QCOMPARE(unnamed, QStringList());
    QVERIFY(inputs > 50);
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
