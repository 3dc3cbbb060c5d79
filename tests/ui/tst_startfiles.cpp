#include "ui/ListBox.h"
#include "ui/MainWindow.h"
#include "ui/PrintScreen.h"

#include "ReadOnlyDir.h"
#include "ScriptedDialogs.h"
#include "TestAppDir.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>

// The start file and the saved files as the window finds them at start and
// saves them: odd start files, a missing or damaged one, a save that fails,
// and temporaries a crash left behind.
class TestStartFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startFileEdgeCases_data();
    void startFileEdgeCases();
    void missingStartFileClosesWithoutCreatingOne();
    void malformedStartFileIsReportedAndCloses();
    void failedSaveKeepsNewValues();
    void staleTemporariesRemovedAtStart_data();
    void staleTemporariesRemovedAtStart();
};

void TestStartFiles::startFileEdgeCases_data()
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

void TestStartFiles::startFileEdgeCases()
{
    QFETCH(QByteArray, file);
    TestAppDir dir;
    dir.writeStartFile(file);
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    QTEST(w.state().start.startPosition, "start");
    const ListBox* horz = w.printScreen().controls().horizontalOffsetList;
    QTEST(horz->itemText(horz->currentRow()), "horzItem");
    QCOMPARE(dir.startFile(), file); // reading never writes
    QVERIFY(w.saveStartFile());
    QTEST(dir.startFile(), "afterSave");
}

void TestStartFiles::missingStartFileClosesWithoutCreatingOne()
{
    TestAppDir dir;
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    QCOMPARE(dialogs.texts("message"),
             QStringList{QStringLiteral("スタートファイルがありません。")});
    QCOMPARE(dialogs.calls.first().detail, dir.startFilePath());
    QVERIFY(w.state().closeRequested);
    QVERIFY(w.controls().startupTimer->isActive());
    QSignalSpy closed(&w, &MainWindow::windowClosed);
    QVERIFY(closed.wait(2000));
    QVERIFY(!w.controls().startupTimer->isActive());
    QVERIFY(!QFile::exists(dir.startFilePath()));
}

void TestStartFiles::malformedStartFileIsReportedAndCloses()
{
    TestAppDir dir;
    dir.writeStartFile("10;10;1\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    QCOMPARE(dialogs.count("error"), 1);
    QVERIFY(dialogs.texts("error").first().contains(QStringLiteral("10;10;1")));
    QSignalSpy closed(&w, &MainWindow::windowClosed);
    QVERIFY(closed.wait(2000));
    QCOMPARE(dir.startFile(), QByteArray("10;10;1\r\n"));
}

void TestStartFiles::failedSaveKeepsNewValues()
{
    TestAppDir dir;
    dir.writeStartFile("10,10,1\r\n\r\n");
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, dir.path(), fixedNow);
    w.state().start.startPosition = 77;
    {
        ReadOnlyDir readOnly(dir.path());
        QVERIFY(!w.saveStartFile());
    }
    QCOMPARE(dialogs.count("error"), 1);
    QCOMPARE(w.state().start.startPosition, 77);
    QCOMPARE(dir.startFile(), QByteArray("10,10,1\r\n\r\n"));
}

void TestStartFiles::staleTemporariesRemovedAtStart_data()
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

void TestStartFiles::staleTemporariesRemovedAtStart()
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
    MainWindow w(dialogs, dir.path(), fixedNow);
    QTEST(!QFileInfo(path).exists(), "removed");
    QVERIFY(QFile::exists(dir.startFilePath()));
    QVERIFY(kind != "link" || QFile::exists(target));
}

QTEST_MAIN(TestStartFiles)
#include "tst_startfiles.moc"
