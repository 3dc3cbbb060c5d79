#include "core/io/RunFiles.h"

#include "CliFiles.h"
#include "CliRun.h"
#include "FullTmpfs.h"
#include "ReadOnlyMount.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// What rondelmaker-cli leaves when a job cannot finish: a full or read-only
// folder, writers at once, a kill at an exact point of the job.
class TestCliFailures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unrecordableFolderPrintsNothing_data();
    void unrecordableFolderPrintsNothing();
    void concurrentWritersNeverRepeat();
    void killedJobsLeaveGapsOrQuestions_data();
    void killedJobsLeaveGapsOrQuestions();
};

namespace {

// The command killed with SIGKILL at the system call `point` names: an
// exact point of a job. "linkat,rename@FILE" is the first of those calls
// on FILE; "rename#2" the second rename.
Result cliKilledAt(const QString& dir, const QString& point, const QStringList& arguments)
{
    const QStringList at = point.split(QRegularExpression("[@#]"));
    QStringList strace = {"-f", "-o", "/dev/null", "-e", "trace=" + at[0]};
    if (point.contains('@'))
        strace << "-P" << dir + '/' + at[1] << "-e"
               << "inject=" + at[0] + ":signal=KILL";
    else
        strace << "-e"
               << "inject=" + at[0] + ":signal=KILL:when=" + at[1];
    QProcess process;
    process.start(QStringLiteral("strace"), strace + QStringList{RONDEL_CLI} + arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

void TestCliFailures::unrecordableFolderPrintsNothing_data()
{
    QTest::addColumn<bool>("full");
    QTest::newRow("full") << true;
    QTest::newRow("read-only") << false;
}

void TestCliFailures::unrecordableFolderPrintsNothing()
{
    // Where the numbering cannot be recorded, no label may print: a re-run
    // would print the same numbers again.
    QFETCH(bool, full);
    FullTmpfs disk(1024);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    TestAppDir out;
    put(disk.filePath("start.txt"), "10,10,1\r\n\r\n");
    const QString design = saveDesign(out, 1, 1, 300, 1);
    QStringList line = {"print",       design,     "--pdf", out.path() + "/1.pdf",
                        "--state-dir", disk.path()};
    QCOMPARE(cli(line).code, 0);
    const QByteArray start = contents(disk.filePath("start.txt"));
    const QByteArray state = contents(disk.filePath("state.json"));

    std::optional<ReadOnlyMount> readOnly;
    if (full)
        QVERIFY(disk.fill());
    else if (!readOnly.emplace(disk.path()).isReady())
        QSKIP(qPrintable(readOnly->skipReason()));
    const QString folder = full ? disk.path() : readOnly->path();
    line[3] = out.path() + "/2.pdf";
    line[5] = folder;
    const Result r = cli(line);
    // The cause in the user's words; the system's own as a detail.
    QVERIFY2(r.code == 1 && r.err.contains(folder) &&
                 r.err.contains(full ? "ディスクがいっぱい" : "読み取り専用"),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(out.path() + "/2.pdf"));
    QCOMPARE(contents(disk.filePath("start.txt")), start);
    QCOMPARE(contents(disk.filePath("state.json")), state);
    QFile::remove(disk.filePath("filler"));
    readOnly.reset();
    const Result history = cli({"history", "--state-dir", disk.path()});
    QCOMPARE(history.out.count("\r\n"), 2); // the header and the first job
}

void TestCliFailures::concurrentWritersNeverRepeat()
{
    // Four processes print two jobs of 30 each into one folder at once: the
    // 240 labels are 0001..0240, each once.
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    const QString design = saveDesign(dir, 1, 1, 30, 1);
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const QString w : {"a", "b", "c", "d"}) {
        const QString job = QStringLiteral("'%1' print '%2' --state-dir '%3' --pdf '%3/%4")
                                .arg(RONDEL_CLI, design, dir.path(), w);
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start("/bin/sh", {"-c", job + "1.pdf' && " + job + "2.pdf'"});
    }
    QStringList numbers;
    for (const auto& writer : writers) {
        QVERIFY(writer->waitForFinished(60000));
        QVERIFY2(writer->exitCode() == 0, writer->readAllStandardError().constData());
    }
    for (const QString& pdf : QDir(dir.path()).entryList({"*.pdf"}))
        numbers << pdfWords(dir.path() + '/' + pdf).filter(QRegularExpression("^\\d{4}$"));
    numbers.sort();
    QStringList expected;
    for (int n = 1; n <= 240; ++n)
        expected << QString::number(n).rightJustified(4, '0');
    QCOMPARE(numbers, expected);
    QCOMPARE(dir.startFile(), QByteArray("10,10,91\r\n\r\n"));
}

void TestCliFailures::killedJobsLeaveGapsOrQuestions_data()
{
    QTest::addColumn<QString>("point");
    QTest::addColumn<bool>("damagedState");
    // Between reserving the labels and the PDF's arrival.
    QTest::newRow("handing over the labels") << "linkat,rename@o1.pdf" << false;
    // A lock file made but not yet locked or written.
    QTest::newRow("taking the lock") << "flock@rondelmaker.lock" << false;
    // The start file's temporary written, not yet renamed.
    QTest::newRow("replacing the start file") << "rename#1" << false;
    // A damaged state kept aside, the new one not yet in its place (after
    // the start file's rename).
    QTest::newRow("replacing a damaged state") << "rename#2" << true;
}

void TestCliFailures::killedJobsLeaveGapsOrQuestions()
{
    QFETCH(QString, point);
    QFETCH(bool, damagedState);
    if (QStandardPaths::findExecutable("strace").isEmpty())
        QSKIP("needs strace (scripts/setup --test)");
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    const QString design = saveDesign(dir, 1, 1, 40, 1);
    if (damagedState)
        put(StateFile::pathIn(dir.path()), "{\"format\": \"rondelmaker-state\"");
    const auto job = [&](int n) {
        QStringList line = {"print",       design,
                            "--pdf",       dir.path() + QStringLiteral("/o%1.pdf").arg(n),
                            "--state-dir", dir.path()};
        return damagedState && n == 1 ? line << "--first"
                                             << "1"
                                      : line;
    };
    const Result killed = cliKilledAt(dir.path(), point, job(1));
    QVERIFY2(killed.code != 0, qPrintable(killed.err));

    // The next job never repeats a number: it goes on after what the killed
    // one reserved, and says which job is in question.
    const Result next = cli(job(2));
    QVERIFY2(next.code == 0, qPrintable(next.err));
    const QStringList first = pdfWords(dir.path() + "/o1.pdf");
    const QStringList second = pdfWords(dir.path() + "/o2.pdf");
    for (const QString& word : second)
        QVERIFY2(word == "LAB" || !first.contains(word), qPrintable(word));
    const bool reserved = cli({"history", "--state-dir", dir.path()}).out.contains(",reserved,");
    QCOMPARE(next.err.contains("resolve 1 printed|not-printed"), reserved);
    QCOMPARE(second.value(1), reserved ? QStringLiteral("0041") : QStringLiteral("0001"));
    if (damagedState)
        QVERIFY(QFile::exists(StateFile::pathIn(dir.path()) + ".bad"));
    // What the killed save left, the next job removed.
    QCOMPARE(QDir(dir.path()).entryList({"start.txt.??????", "state.json.??????"}), QStringList());
    if (reserved) {
        // Said not to have printed, its numbers are a gap: later jobs went on.
        QCOMPARE(cli({"resolve", "1", "not-printed", "--state-dir", dir.path()}).code, 0);
        QVERIFY(!cli(job(3)).err.contains("resolve 1"));
    }
}

QTEST_GUILESS_MAIN(TestCliFailures)
#include "tst_clifailures.moc"
