#include "core/io/DesignFile.h"
#include "core/io/RunFiles.h"
#include "core/layout/SheetLayout.h"
#include "core/model/Freeze.h"
#include "core/numbering/ComposeLabelTexts.h"

#include "CliRun.h"
#include "FullTmpfs.h"
#include "PdfTools.h"
#include "PostgresServer.h"
#include "ReadOnlyMount.h"
#include "TestAppDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

// rondelmaker-cli as a laboratory system runs it: a process of its own on a
// state folder, its labels read back from what it wrote.
class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listMatchesTheCore_data();
    void listMatchesTheCore();
    void secondJobContinuesTheFirst();
    void freeTextsOfADesignFile();
    void badInputChangesNothing_data();
    void badInputChangesNothing();
    void unrecordableFolderPrintsNothing_data();
    void unrecordableFolderPrintsNothing();
    void concurrentWritersNeverRepeat();
    void killedJobsLeaveGapsOrQuestions_data();
    void killedJobsLeaveGapsOrQuestions();
    void nextWaitsForAJob();
    void duplicatesNeedTheUsersSay();
    void reprintsKeepTheirTextsAndTheNumbering();
    void stationsShareOneNumbering();
    void serverAwayPrintsNothingUnrecorded_data();
    void serverAwayPrintsNothingUnrecorded();
    void registrySettingsAndSearchesThatCannotBe_data();
    void registrySettingsAndSearchesThatCannotBe();
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
        strace << "-P" << dir + '/' + at[1] << "-e" << "inject=" + at[0] + ":signal=KILL";
    else
        strace << "-e" << "inject=" + at[0] + ":signal=KILL:when=" + at[1];
    QProcess process;
    process.start(QStringLiteral("strace"), strace + QStringList{RONDEL_CLI} + arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

QString saveDesign(const TestAppDir& dir, int type, int first, int samples, int repeat,
                   int step = 1)
{
    LabelDesign design;
    design.type = type;
    design.upperTexts = {"LAB", "ＡＢ", "x1", "血液", "ｱｲ"};
    design.type8Lines = {"UP", "LOW"};
    design.letters = {25, 25, 24, 3, 4, 5};
    design.firstNumber = first;
    design.sampleCount = samples;
    design.repeatCount = repeat;
    design.step = step;
    const QString path = dir.path() + QStringLiteral("/design.json");
    return DesignFile::save(path, design, nullptr) ? path : QString();
}

LabelRun runOf(const QString& designPath, const QStringList& freeTexts = {})
{
    LabelDesign design = *DesignFile::load(designPath, nullptr);
    design.freeTexts = freeTexts;
    return freeze(design, QDate::currentDate());
}

QStringList pdfWords(const QString& pdf)
{
    QString error;
    return PdfTools::text(pdf, error).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

} // namespace

void TestCli::listMatchesTheCore_data()
{
    QTest::addColumn<int>("type");
    for (int type = FirstLabelType; type <= LastLabelType; ++type)
        QTest::addRow("type %d", type) << type;
}

void TestCli::listMatchesTheCore()
{
    // Numbers and letters that wrap, a second sheet, free texts that need
    // quoting both ways.
    QFETCH(int, type);
    const QByteArray start = "10,10,148\r\n\r\n";
    TestAppDir dir(&start);
    const LabelTypeTraits& traits = labelType(type);
    const QString design = saveDesign(dir, type, std::max(0, traits.range - 2), 4, 2, 3);
    QStringList arguments = {"list", design, "--state-dir", dir.path()};
    if (traits.hasFreeTexts())
        arguments << "--free-texts"
                  << put(dir.path() + "/f.csv", "\"A,B\",x\n\"Q\"\"1\"\nS3\r\nS4\n");
    const Result r = cli(arguments);
    QCOMPARE(r.err, QString()); // the program's own messages only, and none here
    QCOMPARE(r.code, 0);

    const LabelRun run = runOf(design, {"A,B", "Q\"1", "S3", "S4"});
    QCOMPARE(run.labelTotal(), 8);
    QString expected = "sheet,position,sample,repeat,upper,lower\r\n";
    for (int n = 0; n < 8; ++n) {
        QStringList texts = {composeLabelTexts(run, n).upper, composeLabelTexts(run, n).lower};
        for (QString& text : texts) {
            if (text.contains(',') || text.contains('"'))
                text = '"' + text.replace("\"", "\"\"") + '"';
        }
        expected += QStringLiteral("%1,%2,%3,%4,%5\r\n")
                        .arg((147 + n) / 150 + 1)
                        .arg((147 + n) % 150 + 1)
                        .arg(n / 2 + 1)
                        .arg(n % 2 + 1)
                        .arg(texts.join(','));
    }
    QCOMPARE(r.out, expected);
}

void TestCli::secondJobContinuesTheFirst()
{
    // Z995 on, ten labels a job from position 140: the second job goes on
    // to A000 and a second sheet, as one job of twenty would.
    const QByteArray start = "9,11,140\r\nnote\r\n";
    TestAppDir dir(&start);
    SavedState before; // a type 1 run: not the one to continue
    before.exportFolder = "/lab/out";
    before.recentDesigns = {"/lab/a.json"};
    QVERIFY(StateFile::write(StateFile::pathIn(dir.path()), before, nullptr));
    const QString design = saveDesign(dir, 2, 995, 5, 2);
    QStringList printed;
    for (const QString& pdf : QStringList{dir.path() + "/a.pdf", dir.path() + "/b.pdf"}) {
        const Result r = cli({"print", design, "--pdf", pdf, "--state-dir", dir.path()});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        printed << pdfWords(pdf);
    }
    LabelRun both = runOf(design);
    both.sampleCount = 10;
    QStringList expected;
    for (int n = 0; n < 20; ++n)
        expected << composeLabelTexts(both, n).upper << composeLabelTexts(both, n).lower;
    QCOMPARE(printed, expected);
    QCOMPARE(expected.mid(19, 3), QStringList({"Z999", "ＡＢ", "A000"}));

    QCOMPARE(StartFile::read(dir.startFilePath()).values,
             (StartSettings{9, 11, SheetLayout::nextStartPosition(140, 20), "note"}));
    // The window, started now, shows the state's design: the label after the 20th.
    const SavedState after = StateFile::read(StateFile::pathIn(dir.path())).state;
    QCOMPARE(composeLabelTexts(freeze(after.design, QDate::currentDate()), 0).lower,
             composeLabelTexts(both, 20).lower);
    QCOMPARE(after.lastJob->labels.first().lower, "A000");
    QCOMPARE(after.exportFolder, before.exportFolder);
    QCOMPARE(after.recentDesigns, before.recentDesigns);
    QVERIFY(cli({"next", "--state-dir", dir.path()})
                .out.startsWith("start position: 10\nnext label: A005\n"));
}

void TestCli::freeTextsOfADesignFile()
{
    // Empty texts at the end end the list, as a memo's last line break does;
    // a line break inside a text makes two samples; a gap is refused.
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    const QString path = saveDesign(dir, 9, 0, 1, 1);
    QJsonObject design = QJsonDocument::fromJson(contents(path)).object();
    design["freeTexts"] = QJsonArray{"A", "B\r\nC", "D\r", ""};
    put(path, QJsonDocument(design).toJson());
    Result r = cli({"list", path, "--state-dir", dir.path()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out.count("\r\n"), 5);
    QVERIFY(r.out.endsWith(",D\r\n"));

    design["freeTexts"] = QJsonArray{"A", "", "B"};
    put(path, QJsonDocument(design).toJson());
    r = cli({"list", path, "--state-dir", dir.path()});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains("2 番目の自由テキストが空"), qPrintable(r.err));
}

void TestCli::badInputChangesNothing_data()
{
    // D/: the state folder, F/: a full disk. Some rows prepare by their name.
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown option") << "--pdf D/o.pdf --frob" << 2 << "--frob";
    QTest::newRow("unknown code") << "--pdf D/o.pdf --code qr" << 2 << "datamatrix or none";
    QTest::newRow("bad design") << "--pdf D/o.pdf" << 2 << "design.json: ";
    QTest::newRow("too many labels") << "--pdf D/o.pdf --samples 601" << 2 << "１２００";
    QTest::newRow("too many free texts") << "--pdf D/o.pdf --free-texts D/f" << 2 << "自由テキストが 61 個";
    QTest::newRow("damaged state") << "--pdf D/o.pdf" << 2 << "--first N";
    QTest::newRow("no output folder") << "--pdf D/no/o.pdf" << 1 << "cannot write";
    QTest::newRow("full disk") << "--pdf F/o.pdf" << 1 << "PDFファイルを保存できません";
    QTest::newRow("refused queue") << "--printer RondelPDF" << 1 << "受け付けていません";
    QTest::newRow("folder locked") << "--pdf D/o.pdf" << 1 << "別の Rondelmaker";
}

void TestCli::badInputChangesNothing()
{
    QFETCH(QString, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    const QString row = QTest::currentDataTag();
    const QByteArray start = "10,10,12\r\n\r\n";
    TestAppDir dir(&start);
    const QString state = StateFile::pathIn(dir.path());
    QVERIFY(StateFile::write(state, SavedState(), nullptr));
    const QString design = saveDesign(dir, row == "too many free texts" ? 9 : 1, 5, 10, 2);
    put(dir.path() + "/f", QByteArray("S\n").repeated(61));
    if (row == "bad design")
        put(design, "{\"format\": \"rondelmaker-design\"}");
    if (row == "damaged state")
        put(state, "{\"format\": \"rondelmaker-state\", \"version\": 1");
    std::optional<FullTmpfs> full;
    if (row == "full disk" && !(full.emplace().isMounted() && full->fill()))
        QSKIP(qPrintable("a full disk: " + full->skipReason()));
    RunFiles holder(dir.path());
    QString error;
    if (row == "folder locked")
        QVERIFY2(holder.lock(&error), qPrintable(error));
    if (row == "refused queue")
        PdfTools::run("cupsreject", {"RondelPDF"}, error);
    if (!error.isEmpty())
        QSKIP(qPrintable("needs the queue of scripts/cups-pdf-queue: " + error));
    const auto accept = qScopeGuard([&row, &error] {
        if (row == "refused queue")
            PdfTools::run("cupsaccept", {"RondelPDF"}, error);
    });
    const QByteArray startBefore = dir.startFile(), stateBefore = contents(state);

    QStringList line = {"print", design, "--state-dir", dir.path()};
    for (const QString& argument : arguments.split(' '))
        line << (argument.startsWith("D/")   ? dir.path() + argument.mid(1)
                 : argument.startsWith("F/") ? full->path() + argument.mid(1)
                                             : argument);
    const Result r = cli(line);
    QVERIFY2(r.code == code && r.err.startsWith("rondelmaker-cli: ") && r.err.contains(message),
             qPrintable(QString::number(r.code) + ' ' + r.err));
    QCOMPARE(dir.startFile(), startBefore);
    QCOMPARE(contents(state), stateBefore);
}

void TestCli::unrecordableFolderPrintsNothing_data()
{
    QTest::addColumn<bool>("full");
    QTest::newRow("full") << true;
    QTest::newRow("read-only") << false;
}

void TestCli::unrecordableFolderPrintsNothing()
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
    QStringList line = {"print", design, "--pdf", out.path() + "/1.pdf", "--state-dir", disk.path()};
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

void TestCli::concurrentWritersNeverRepeat()
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

void TestCli::killedJobsLeaveGapsOrQuestions_data()
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

void TestCli::killedJobsLeaveGapsOrQuestions()
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
        QStringList line = {"print", design, "--pdf", dir.path() + QStringLiteral("/o%1.pdf").arg(n),
                            "--state-dir", dir.path()};
        return damagedState && n == 1 ? line << "--first" << "1" : line;
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

void TestCli::nextWaitsForAJob()
{
    // A job holding the folder is seen wholly or not at all; a stale
    // temporary of an interrupted save goes.
    const QByteArray start = "10,10,7\r\n\r\n";
    TestAppDir dir(&start);
    QFile stale(put(dir.path() + "/state.json.Ab12Cd", "half"));
    QVERIFY(stale.open(QIODevice::ReadWrite) &&
            stale.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                              QFileDevice::FileModificationTime));
    stale.close();
    RunFiles holder(dir.path());
    QString error;
    QVERIFY(holder.lock(&error));
    Result r = cli({"next", "--state-dir", dir.path()});
    QVERIFY2(r.code == 1 && r.err.contains("印刷中"), qPrintable(r.err));
    holder.unlock();
    r = cli({"next", "--state-dir", dir.path()});
    QVERIFY(r.out.startsWith("start position: 7\n"));
    QVERIFY(!stale.exists());
}

void TestCli::duplicatesNeedTheUsersSay()
{
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    const QString design = saveDesign(dir, 1, 31, 10, 1);
    const auto print = [&](const QString& pdf, const QStringList& more) {
        return cli(QStringList{"print", design, "--pdf", dir.path() + '/' + pdf, "--state-dir",
                               dir.path()} +
                   more);
    };
    QCOMPARE(print("a.pdf", {}).code, 0);
    // The first number set back: 0036..0040 were issued by job 1.
    Result r = print("b.pdf", {"--first", "36"});
    QVERIFY2(r.code == 4 && r.err.contains("LAB 0036–LAB 0040") && r.err.contains("1"),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(dir.path() + "/b.pdf"));
    QVERIFY(cli({"next", "--state-dir", dir.path()}).out.contains("next label: 0041"));
    r = print("b.pdf", {"--first", "36", "--allow-duplicates"});
    QCOMPARE(r.code, 0);
    QCOMPARE(pdfWords(dir.path() + "/b.pdf").value(1), "0036");
}

void TestCli::reprintsKeepTheirTextsAndTheNumbering()
{
    // A dated job printed "yesterday" is reprinted today: the labels keep
    // their date, the numbering stays, the start position moves on.
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    const QString design = saveDesign(dir, 4, 1, 6, 2);
    QCOMPARE(cli({"print", design, "--pdf", dir.path() + "/a.pdf", "--state-dir", dir.path()}).code,
             0);
    const QString registry = dir.path() + "/registry.sqlite";
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "edit");
        db.setDatabaseName(registry);
        QVERIFY(db.open());
        QSqlQuery(db).exec("UPDATE labels SET upper_text = '12/08'");
    }
    QSqlDatabase::removeDatabase("edit");
    const QByteArray next = cli({"next", "--state-dir", dir.path()}).out.toUtf8();

    const Result r = cli({"reprint", "1", "--samples", "2-3", "--start", "20", "--pdf",
                          dir.path() + "/r.pdf", "--state-dir", dir.path()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(pdfWords(dir.path() + "/r.pdf"),
             QStringList({"12/08", "0002", "12/08", "0002", "12/08", "0003", "12/08", "0003"}));
    QCOMPARE(cli({"next", "--state-dir", dir.path()}).out.toUtf8(),
             QByteArray(next).replace("start position: 13", "start position: 24"));
    const Result labels = cli({"labels", "2", "--state-dir", dir.path()});
    QVERIFY2(labels.out.endsWith("1,23,3,2,12/08,0003\r\n"), qPrintable(labels.out));
    QVERIFY(cli({"history", "--state-dir", dir.path()}).out.contains(",reprint,printed,4,"));
    QCOMPARE(cli({"find", "12/08 0003", "--state-dir", dir.path()}).out.count("\r\n"), 3);
}

namespace {

// A station of a shared registry: its own folder, start file and printer.
struct Station {
    explicit Station(const QString& registry, const QByteArray& more = {})
    {
        dir.writeStartFile("10,10,1\r\n\r\n");
        put(dir.path() + "/rondelmaker.conf",
            "# shared\nregistry=" + registry.toUtf8() + "\n" + more);
    }
    QStringList print(const QString& design, const QString& pdf) const
    {
        return {"print", design, "--pdf", dir.path() + '/' + pdf, "--state-dir", dir.path()};
    }
    TestAppDir dir;
};

} // namespace

void TestCli::stationsShareOneNumbering()
{
    // Two stations, three jobs at once on each, four rounds: every number
    // once, none skipped, and each station's sheet positions its own.
    PostgresServer server;
    if (!server.isReady())
        QSKIP(qPrintable(server.skipReason()));
    const Station a(server.url()), b(server.url());
    const QString design = saveDesign(a.dir, 1, 1, 20, 1);
    QStringList pdfs;
    for (int round = 0; round < 4; ++round) {
        std::vector<std::unique_ptr<QProcess>> jobs;
        for (int k = 0; k < 6; ++k) {
            const QString pdf = QStringLiteral("r%1-%2.pdf").arg(round).arg(k);
            pdfs << (k % 2 ? b : a).dir.path() + '/' + pdf;
            jobs.push_back(std::make_unique<QProcess>());
            jobs.back()->start(RONDEL_CLI, (k % 2 ? b : a).print(design, pdf));
        }
        for (const auto& job : jobs) {
            QVERIFY(job->waitForFinished(60000));
            // A job planned again after another station took its numbers
            // says nothing about the round that lost them.
            const QByteArray err = job->readAllStandardError();
            QVERIFY2(job->exitCode() == 0 && err.isEmpty(), err.constData());
        }
    }
    QStringList numbers;
    for (const QString& pdf : pdfs)
        numbers << pdfWords(pdf).filter(QRegularExpression("^\\d{4}$"));
    numbers.sort();
    QStringList expected;
    for (int n = 1; n <= 480; ++n)
        expected << QString::number(n).rightJustified(4, '0');
    QCOMPARE(numbers, expected);
    QCOMPARE(a.dir.startFile(), QByteArray("10,10,91\r\n\r\n")); // 12 jobs of 20 from 1
    QCOMPARE(server.query("SELECT count(*) FROM jobs WHERE state = 'printed'"), "24");
}

void TestCli::serverAwayPrintsNothingUnrecorded_data()
{
    QTest::addColumn<bool>("frozen");
    QTest::newRow("stopped") << false;
    // Its processes stopped where they stand: connections stay open, and
    // nothing answers. Each call is given up at registry_timeout.
    QTest::newRow("frozen") << true;
}

void TestCli::serverAwayPrintsNothingUnrecorded()
{
    QFETCH(bool, frozen);
    PostgresServer server;
    if (!server.isReady())
        QSKIP(qPrintable(server.skipReason()));
    const Station station(server.url(), "registry_timeout=2\n");
    const QString design = saveDesign(station.dir, 1, 1, 10, 1);
    std::optional<ServerFreeze> freeze;
    const auto away = [&] {
        if (frozen)
            freeze.emplace(server, 40000);
        return frozen || server.stop();
    };
    const auto back = [&] {
        freeze.reset();
        return frozen || server.start();
    };

    // Away before the job: no numbered label prints without a reservation.
    // Frozen, the job has connected and waits for the folder's lock.
    RunFiles holder(station.dir.path());
    QString error;
    QProcess job;
    if (frozen) {
        QVERIFY(holder.lock(&error));
        job.start(RONDEL_CLI, station.print(design, "1.pdf"));
        QTRY_COMPARE(server.query("SELECT count(*) FROM pg_stat_activity WHERE "
                                  "application_name = 'rondelmaker'"),
                     "1");
    }
    QVERIFY(away());
    holder.unlock();
    Result r = frozen ? Result() : cli(station.print(design, "1.pdf"));
    if (frozen && job.waitForFinished(20000))
        r = {job.exitCode(), {}, QString::fromUtf8(job.readAllStandardError())};
    QVERIFY2(r.code == 1 && r.err.contains("ラベル台帳") && r.err.contains(server.socketFolder()),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(station.dir.path() + "/1.pdf"));
    QCOMPARE(station.dir.startFile(), QByteArray("10,10,1\r\n\r\n"));
    QVERIFY(back());

    // Away between the reservation and its confirmation: the PDF's arrival
    // is held back while the server goes. The labels printed and stay
    // issued; the next contact confirms them.
    job.start("strace", QStringList{"-f", "-o", "/dev/null", "-P", station.dir.path() + "/2.pdf",
                                    "-e", "trace=linkat,rename", "-e",
                                    "inject=linkat,rename:delay_exit=1500000", RONDEL_CLI} +
                            station.print(design, "2.pdf"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(station.dir.path() + "/2.pdf"), 20000);
    QVERIFY(away());
    QVERIFY(job.waitForFinished(30000));
    const QString err = QString::fromUtf8(job.readAllStandardError());
    QVERIFY2(job.exitCode() == 3 && err.contains("次の接続で記録します"), qPrintable(err));
    QVERIFY(back());
    QCOMPARE(server.query("SELECT state FROM jobs"), "reserved");
    r = cli({"history", "--state-dir", station.dir.path()});
    QVERIFY2(r.code == 0 && r.out.contains(",printed,") && !r.err.contains("resolve"),
             qPrintable(r.err));
    QCOMPARE(server.query("SELECT state FROM jobs"), "printed");
    QCOMPARE(pdfWords(station.dir.path() + "/2.pdf").value(1), "0001");
    r = cli(station.print(design, "3.pdf"));
    QCOMPARE(r.code, 0);
    QCOMPARE(pdfWords(station.dir.path() + "/3.pdf").value(1), "0011");
}

void TestCli::registrySettingsAndSearchesThatCannotBe_data()
{
    // The command line after "rondelmaker-cli"; N/: a folder that is not there.
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString server = "--registry postgresql://labels@db/labels?";
    QTest::newRow("password in the query")
        << "next " + server + "password=secret" << 2 << "password";
    QTest::newRow("option not passed on")
        << "next " + server + "sslmode=require&gssencmode=disable" << 2 << "gssencmode";
    QTest::newRow("no folder for the file, history")
        << "history --registry N/r.sqlite" << 1 << "フォルダーがありません";
    QTest::newRow("no folder for the file, next")
        << "next --registry N/r.sqlite" << 1 << "フォルダーがありません";
    QTest::newRow("search longer than a label") << "find " + QString(600, 'x') << 2 << "at most 11";
}

void TestCli::registrySettingsAndSearchesThatCannotBe()
{
    QFETCH(QString, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    QStringList line;
    for (const QString& argument : arguments.split(' '))
        line << (argument.startsWith("N/") ? dir.path() + "/none" + argument.mid(1) : argument);
    const Result r = cli(line << "--state-dir" << dir.path());
    QVERIFY2(r.code == code && r.err.contains(message),
             qPrintable(QString::number(r.code) + ' ' + r.err));
    QCOMPARE(QDir(dir.path()).entryList({"registry*"}), QStringList());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
