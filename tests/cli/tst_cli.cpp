#include "core/io/RunFiles.h"
#include "core/layout/SheetLayout.h"
#include "core/numbering/ComposeLabelTexts.h"

#include "CliFiles.h"
#include "CliRun.h"
#include "FullTmpfs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    void nextWaitsForAJob();
    void duplicatesNeedTheUsersSay();
};

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
    QTest::newRow("too many free texts")
        << "--pdf D/o.pdf --free-texts D/f" << 2 << "自由テキストが 61 個";
    QTest::newRow("a first number for free texts") << "--pdf D/o.pdf --first 5 --free-texts D/f"
                                                   << 2 << "--first: タイプ 9 に番号はありません";
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
    const QString design = saveDesign(dir, row.contains("free texts") ? 9 : 1, 5, 10, 2);
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

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
