#include "core/io/StartFile.h"

#include "ReadOnlyDir.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestStartFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsValidFiles_data();
    void readsValidFiles();
    void refusesMalformedFiles_data();
    void refusesMalformedFiles();
    void roundTripKeepsNoteByteForByte_data();
    void roundTripKeepsNoteByteForByte();
    void readsOnlySmallRegularFiles_data();
    void readsOnlySmallRegularFiles();
    void messagesQuoteBriefly_data();
    void messagesQuoteBriefly();
    void failedWriteLeavesOldFileUntouched();
};

void TestStartFile::readsValidFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("horz");
    QTest::addColumn<int>("vert");
    QTest::addColumn<int>("start");
    QTest::addColumn<QByteArray>("note");

    QTest::newRow("crlf with note")
        << QByteArray("10,10,1\r\nlabel room 3\r\n") << 10 << 10 << 1 << QByteArray("label room 3");
    QTest::newRow("lf only") << QByteArray("3,17,42\nnote\n") << 3 << 17 << 42
                             << QByteArray("note");
    QTest::newRow("empty file") << QByteArray() << 0 << 0 << 0 << QByteArray();
    QTest::newRow("one line, no end") << QByteArray("20,0,150") << 20 << 0 << 150 << QByteArray();
    QTest::newRow("start 0 kept for the caller")
        << QByteArray("10,10,0\r\n\r\n") << 10 << 10 << 0 << QByteArray();
    QTest::newRow("five lines: only line 2 is kept")
        << QByteArray("1,2,3\r\nsecond\r\nthird\r\nfourth\r\nfifth\r\n") << 1 << 2 << 3
        << QByteArray("second");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "10,10,1\r\nnote\r\n")
                                     << 10 << 10 << 1 << QByteArray("note");
    QTest::newRow("blanks and tabs around fields")
        << QByteArray(" 10 ,\t10, 1\t\r\n \tnote \r\n") << 10 << 10 << 1 << QByteArray(" \tnote ");
}

void TestStartFile::readsValidFiles()
{
    QFETCH(QByteArray, bytes);
    const StartFileReadResult result = StartFile::parse(bytes);
    QCOMPARE(result.status, StartFileReadResult::Ok);
    QTEST(result.values.horzOffsetIndex, "horz");
    QTEST(result.values.vertOffsetIndex, "vert");
    QTEST(result.values.startPosition, "start");
    QTEST(result.values.note, "note");
}

void TestStartFile::refusesMalformedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    QTest::newRow("one comma") << QByteArray("10,10\r\n") << QStringLiteral("'10,10'");
    QTest::newRow("three commas") << QByteArray("10,10,1,4\r\n") << QStringLiteral("'10,10,1,4'");
    QTest::newRow("letters") << QByteArray("a,10,1\r\n")
                             << QStringLiteral("'a' は整数ではありません");
    QTest::newRow("empty field") << QByteArray("10,,1\r\n")
                                 << QStringLiteral("'' は整数ではありません");
    QTest::newRow("space inside") << QByteArray("10,1 0,1\r\n")
                                  << QStringLiteral("'1 0' は整数ではありません");
    QTest::newRow("mark not at the start") << QByteArray("10,\xEF\xBB\xBF"
                                                         "10,1\r\n")
                                           << QStringLiteral("は整数ではありません");
    QTest::newRow("empty first line")
        << QByteArray("\r\nnote\r\n") << QStringLiteral("'' は整数ではありません");
    QTest::newRow("huge") << QByteArray("10,10,99999999999\r\n")
                          << QStringLiteral("'99999999999' は整数ではありません");
    QTest::newRow("offset above 20") << QByteArray("21,10,1\r\n") << QStringLiteral("'21'");
    QTest::newRow("negative offset") << QByteArray("10,-1,1\r\n") << QStringLiteral("'-1'");
    QTest::newRow("start above 999") << QByteArray("10,10,1000\r\n") << QStringLiteral("'1000'");
}

void TestStartFile::refusesMalformedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const StartFileReadResult result = StartFile::parse(bytes);
    QCOMPARE(result.status, StartFileReadResult::Malformed);
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
}

void TestStartFile::roundTripKeepsNoteByteForByte_data()
{
    QTest::addColumn<QByteArray>("note");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("ascii") << QByteArray("printer B, tray 2");
    QTest::newRow("shift-jis bytes") << QByteArray("\x83\x89\x83\x78\x83\x8B"); // ラベル
    QTest::newRow("invalid utf-8") << QByteArray("\xff\xfe\x80 raw");
    QTest::newRow("inner carriage return") << QByteArray("a\rb");
}

void TestStartFile::roundTripKeepsNoteByteForByte()
{
    QFETCH(QByteArray, note);
    QTemporaryDir dir;
    const QString path = StartFile::pathIn(dir.path());
    const StartSettings values{4, 16, 77, note};
    QString error;
    QVERIFY(StartFile::write(path, values, &error));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("4,16,77\r\n") + note + "\r\n");

    const StartFileReadResult back = StartFile::read(path);
    QCOMPARE(back.status, StartFileReadResult::Ok);
    QCOMPARE(back.values, values);
}

void TestStartFile::readsOnlySmallRegularFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::newRow("missing") << "missing" << int(StartFileReadResult::Missing);
    QTest::newRow("folder") << "folder" << int(StartFileReadResult::Unreadable);
    QTest::newRow("fifo, which would wait for a writer")
        << "fifo" << int(StartFileReadResult::Unreadable);
    QTest::newRow("link to /dev/zero, which never ends")
        << "zero" << int(StartFileReadResult::Unreadable);
    QTest::newRow("100 KiB") << "large" << int(StartFileReadResult::Malformed);
    QTest::newRow("link to a valid file") << "link" << int(StartFileReadResult::Ok);
}

void TestStartFile::readsOnlySmallRegularFiles()
{
    QFETCH(QString, kind);
    QFETCH(int, status);
    QTemporaryDir dir;
    const QString path = StartFile::pathIn(dir.path());
    const QByteArray large = "10,10,1\r\n" + QByteArray(100 * 1024, 'x') + "\r\n";
    if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkdir("start.txt"));
    if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == "zero")
        QVERIFY(QFile::link("/dev/zero", path));
    if (kind == "large" || kind == "link") {
        QFile file(kind == "large" ? path : dir.filePath("target"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kind == "large" ? large : QByteArray("1,2,3\r\n"));
        if (kind == "link")
            QVERIFY(file.link(path));
    }

    const StartFileReadResult result = StartFile::read(path);
    QCOMPARE(int(result.status), status);
    if (status != StartFileReadResult::Ok && status != StartFileReadResult::Missing)
        QVERIFY2(result.error.contains(path), qPrintable(result.error));
    if (kind == "link")
        QCOMPARE(result.values, (StartSettings{1, 2, 3, {}}));
    if (kind == "large") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), large);
    }
}

void TestStartFile::messagesQuoteBriefly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("quoted");
    const QByteArray longLine(60000, '7');
    QTest::newRow("long first line") << longLine + "\r\n"
                                     << "'" + QString(39, '7') + QStringLiteral("…'");
    QTest::newRow("long field") << "1,2," + longLine
                                << "'" + QString(39, '7') + QStringLiteral("…'");
    QTest::newRow("nul") << QByteArray("1,2\0x,3", 7) << QStringLiteral("'2\\0x'");
    QTest::newRow("tab, cr and other controls")
        << QByteArray("1,2\t\r\x01\x7fx,3") << QStringLiteral("'2\\t\\r\\x01\\x7Fx'");
}

void TestStartFile::messagesQuoteBriefly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, quoted);
    QTemporaryDir dir;
    const QString path = StartFile::pathIn(dir.path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const StartFileReadResult result = StartFile::read(path);
    QCOMPARE(result.status, StartFileReadResult::Malformed);
    QVERIFY2(result.error.contains(quoted), qPrintable(result.error));
    QVERIFY2(result.error.contains(path), qPrintable(result.error));
    QVERIFY2(result.error.size() < path.size() + 120, qPrintable(result.error));
}

void TestStartFile::failedWriteLeavesOldFileUntouched()
{
    QTemporaryDir dir;
    const QString path = StartFile::pathIn(dir.path());
    QVERIFY(StartFile::write(path, {10, 10, 1, "keep"}, nullptr));
    const QByteArray before = StartFile::format({10, 10, 1, "keep"});

    QString error;
    {
        ReadOnlyDir readOnly(dir.path());
        QVERIFY(!StartFile::write(path, {0, 0, 99, "new"}, &error));
    }
    QVERIFY(error.contains(QStringLiteral("start.txt")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"start.txt"});
}

QTEST_GUILESS_MAIN(TestStartFile)
#include "tst_startfile.moc"
