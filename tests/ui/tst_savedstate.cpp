#include "core/io/StateFile.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/Fonts.h"
#include "ui/DesignScreen.h"
#include "ui/PrintScreen.h"
#include "ui/SampleLabel.h"

#include "FullTmpfs.h"
#include "MainFixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QToolButton>

// The run between two sessions: state.json, and designs in files.
class TestSavedState : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }
    void runGoesOnAfterARestart();
    void damagedStateIsKeptAndReported_data();
    void damagedStateIsKeptAndReported();
    void failedSaveAtTheEndAsks();
    void designFilesOpenAndSave();
    void jobPrintedElsewhereIsSeen();
    void scaleIsKeptInTheState();
};

namespace {

void restart(MainFixture& f)
{
    QVERIFY(f.w().close());
    f.window = std::make_unique<MainWindow>(f.dialogs, f.dir.path(), fixedNow);
}

} // namespace

void TestSavedState::runGoesOnAfterARestart()
{
    // Z995 with 20 samples, End, start again, 20 more: the two jobs print
    // what one job of 40 prints.
    MainFixture f;
    const QString pdf = f.dir.path() + QStringLiteral("/labels.pdf");
    chooseType(f.w(), 2);
    QTest::keyClicks(f.w().design().controls().upperEdit[2], QStringLiteral("PCR"));
    chooseRow(f.w().design().controls().letters(LetterList::Type2), 25);
    chooseRow(f.w().design().controls().sampleCountList, 19);
    clickRow(f.w().design().controls().firstNumberList, 995);
    printToPdf(f, pdf);
    QVERIFY(f.state().lastJob);
    LabelRun both = f.state().lastJob->run;
    both.sampleCount = 40;

    restart(f);
    QCOMPARE(f.w().design().controls().nextJobLine->text(), QStringLiteral("次: A015 ・ 開始位置 21"));
    QCOMPARE(f.state().design.type, 2);
    QCOMPARE(f.w().design().controls().upperEdit[2]->text(), QStringLiteral("PCR"));
    QCOMPARE(f.state().start.startPosition, 21);
    QVERIFY(f.w().controls().excelButton->isVisibleTo(&f.w()));
    QCOMPARE(f.printed(19).lower, QStringLiteral("A014"));
    const QString xls = f.dir.path() + QStringLiteral("/after.xls");
    f.dialogs.saveFileAnswers << xls;
    QTest::mouseClick(f.w().controls().excelButton, Qt::LeftButton);
    QVERIFY(QFile::exists(xls));

    // The print dialog opens on the printer chosen before the restart.
    QString offered;
    f.dialogs.printerAnswer = [&offered, pdf](QPrinter& printer) {
        offered = printer.outputFileName();
        printer.setOutputFileName(pdf);
        return true;
    };
    QTest::mouseClick(f.w().design().controls().printSetButton, Qt::LeftButton);
    QTest::mouseClick(f.w().printScreen().controls().printButton, Qt::LeftButton);
    QCOMPARE(offered, pdf);
    QCOMPARE(f.dialogs.count("error"), 0);
    for (int n = 0; n < 20; ++n)
        QCOMPARE(f.printed(n).lower, composeLabelTexts(both, 20 + n).lower);
}

void TestSavedState::damagedStateIsKeptAndReported_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not JSON") << QByteArray("{\"format\": \"rondelmaker-st");
    QTest::newRow("a newer version")
        << QByteArray("{\"format\": \"rondelmaker-state\", \"version\": 9}");
}

void TestSavedState::damagedStateIsKeptAndReported()
{
    QFETCH(QByteArray, bytes);
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    const QString path = StateFile::pathIn(dir.path());
    QFile state(path);
    QVERIFY(state.open(QIODevice::WriteOnly) && state.write(bytes) == bytes.size());
    state.close();
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);

    QCOMPARE(dialogs.count("message"), 1);
    QVERIFY(dialogs.calls.first().text.contains(QStringLiteral("次の番号を復元できません")));
    QVERIFY2(dialogs.calls.first().detail.contains(QDir::toNativeSeparators(path)),
             qPrintable(dialogs.calls.first().detail));
    QCOMPARE(w.state().design, LabelDesign());
    QFile kept(path + QStringLiteral(".bad"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), bytes);
    // The damaged state stays in its place until a new one replaces it: the
    // window's, saved as it closes.
    QVERIFY(w.close());
    QCOMPARE(StateFile::read(path).status, StateFile::ReadResult::Ok);
}

void TestSavedState::failedSaveAtTheEndAsks()
{
    FullTmpfs disk;
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    QFile start(disk.filePath(QStringLiteral("start.txt")));
    QVERIFY(start.open(QIODevice::WriteOnly) && start.write("10,10,1\r\n\r\n") > 0);
    start.close();
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, disk.path(), fixedNow);
    w.show();
    QVERIFY(disk.fill());

    dialogs.yesNoAnswers << false;
    QVERIFY(!w.close()); // the user keeps the window, and with it the run
    QCOMPARE(dialogs.count("error"), 1);
    QVERIFY2(dialogs.texts("error").first().contains(FullTmpfs::reason()),
             qPrintable(dialogs.texts("error").first()));
    dialogs.yesNoAnswers << true;
    QVERIFY(w.close());
    // No temporary is left beside the files that belong there.
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"filler", "registry.sqlite", "registry.sqlite-shm", "registry.sqlite-wal",
                          "rondelmaker.lock", "start.txt"}));
}

void TestSavedState::designFilesOpenAndSave()
{
    MainFixture f;
    QTest::keyClicks(f.w().design().controls().upperEdit[1], QStringLiteral("ABC"));
    const QString path = f.dir.path() + QStringLiteral("/mine");
    f.dialogs.saveFileAnswers << path;
    chooseMenuItem(f.w().controls().fileMenu, f.w().controls().saveAsAction);
    QVERIFY(QFile::exists(path + QStringLiteral(".json")));
    const LabelDesign saved = f.state().design;

    clickTab(f.w().controls().typePageTabs, 2);
    QCOMPARE(f.state().design.type, 9);
    f.dialogs.openFileAnswers << path + QStringLiteral(".json");
    chooseMenuItem(f.w().controls().fileMenu, f.w().controls().openAction);
    QCOMPARE(f.state().design, saved);
    QCOMPARE(f.w().design().controls().upperEdit[1]->text(), QStringLiteral("ABC"));
    QVERIFY(f.w().design().controls().pages[0]->isVisibleTo(&f.w()));
    QVERIFY(f.w().controls().recentDesignActions[0]->isVisible());

    // A bad file leaves the design as it is and says which file and why.
    QFile bad(f.dir.path() + QStringLiteral("/bad.json"));
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("[1, 2]") > 0);
    bad.close();
    f.dialogs.openFileAnswers << bad.fileName();
    chooseMenuItem(f.w().controls().fileMenu, f.w().controls().openAction);
    QCOMPARE(f.dialogs.count("error"), 1);
    QVERIFY(f.dialogs.texts("error").first().contains(QStringLiteral("bad.json")));
    QCOMPARE(f.state().design, saved);
}

void TestSavedState::jobPrintedElsewhereIsSeen()
{
    // Between PrintSet and Print, the command line printed 30 labels of the
    // same series: the window takes its numbering and start instead of
    // printing those numbers again.
    MainFixture f;
    QTest::mouseClick(f.w().design().controls().printSetButton, Qt::LeftButton);
    SavedState elsewhere;
    elsewhere.design.firstNumber = 31;
    QString error;
    QVERIFY(StateFile::write(StateFile::pathIn(f.dir.path()), elsewhere, &error));
    f.dir.writeStartFile("10,10,31\r\n\r\n");

    const QString pdf = f.dir.path() + QStringLiteral("/labels.pdf");
    f.dialogs.printerAnswer = [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    QTest::mouseClick(f.w().printScreen().controls().printButton, Qt::LeftButton);
    QCOMPARE(f.dialogs.count("message"), 1);
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(f.w().printScreen().controls().sampleLabel->lower(), QStringLiteral("0031"));

    QTest::mouseClick(f.w().printScreen().controls().printButton, Qt::LeftButton);
    QCOMPARE(f.printed(0).lower, QStringLiteral("0031"));
    QCOMPARE(f.dir.startFile(), QByteArray("10,10,61\r\n\r\n"));
    QCOMPARE(StateFile::read(StateFile::pathIn(f.dir.path())).state.design.firstNumber, 61);
}

void TestSavedState::scaleIsKeptInTheState()
{
    MainFixture f;
    f.w().show();
    QTest::mouseClick(f.w().design().controls().printSetButton, Qt::LeftButton);
    QSpinBox* scaleX = f.w().printScreen().controls().scaleXBox;
    scaleX->setFocus();
    scaleX->selectAll();
    QTest::keyClicks(scaleX, QStringLiteral("1010"));
    QTest::keyClick(scaleX, Qt::Key_Return);
    QCOMPARE(StateFile::read(StateFile::pathIn(f.dir.path())).state.scale, (SheetScale{1010, 1000}));
    QCOMPARE(f.dir.startFile(), QByteArray("10,10,1\r\n\r\n")); // not the start file's

    restart(f);
    QCOMPARE(f.w().printScreen().controls().scaleXBox->value(), 1010);
}

QTEST_MAIN(TestSavedState)
#include "tst_savedstate.moc"
