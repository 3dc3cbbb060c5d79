#include "core/io/DesignFile.h"
#include "core/io/RunFiles.h"
#include "core/layout/SheetLayout.h"
#include "core/model/Freeze.h"
#include "core/numbering/ComposeLabelTexts.h"

#include "FullTmpfs.h"
#include "PdfTools.h"
#include "TestAppDir.h"

#include <QProcess>
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
    void badInputChangesNothing_data();
    void badInputChangesNothing();
    void printedJobWithoutItsStateSaysSo();
    void concurrentWritersNeverRepeat();
};

namespace {

struct Result {
    int code = -1;
    QString out, err;
};

Result cli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(RONDEL_CLI), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
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
    QVERIFY2(r.code == 0, qPrintable(r.err));

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

void TestCli::badInputChangesNothing_data()
{
    // D/: the state folder, F/: a full disk. Some rows prepare by their name.
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown option") << "--pdf D/o.pdf --frob" << 2 << "--frob";
    QTest::newRow("bad design") << "--pdf D/o.pdf" << 2 << "design.json: ";
    QTest::newRow("too many labels") << "--pdf D/o.pdf --samples 601" << 2 << "１２００";
    QTest::newRow("too many free texts") << "--pdf D/o.pdf --free-texts D/f" << 2 << "61 free";
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

void TestCli::printedJobWithoutItsStateSaysSo()
{
    // The state folder fills up while the labels print: they are on paper,
    // so the exit code says so rather than "nothing advanced".
    FullTmpfs disk(64);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    TestAppDir out;
    put(disk.filePath("start.txt"), "10,10,1\r\n\r\n");
    const QString design = saveDesign(out, 1, 1, 300, 1);
    QVERIFY(disk.fill(8));
    const Result r =
        cli({"print", design, "--pdf", out.path() + "/o.pdf", "--state-dir", disk.path()});
    QVERIFY2(r.code == 3 && r.err.contains("状態を保存できません"), qPrintable(r.err));
    QCOMPARE(pdfWords(out.path() + "/o.pdf").mid(598), QStringList({"LAB", "0300"}));
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

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
