#include "core/io/StateFile.h"

#include "CliFiles.h"
#include "CliRun.h"

#include <QTest>

// rondelmaker-cli on label sheets other than the built-in one: the sheet
// chosen, kept by the station, recorded with each job, and refused.
class TestCliSheets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void jobsRunAcrossTheChosenSheet();
    void startsTheSheetDoesNotHave();
    void badSheetsChangeNothing();
};

namespace {

// 13 x 18 discs of 12 mm on A4: 234 positions.
const QByteArray Sheet234 = R"({"format": "rondelmaker-sheet", "version": 1,
    "name": "A4 12 mm 13 x 18", "paper": {"width": 210, "height": 297}, "diameter": 12,
    "columns": 13, "rows": 18, "first": {"x": 9, "y": 15}, "pitch": {"x": 15, "y": 15}})";

QStringList at(const TestAppDir& dir, QStringList arguments)
{
    return arguments << "--state-dir" << dir.path();
}

QString pageSize(const QString& pdf)
{
    QString error;
    const QString info = QString::fromUtf8(PdfTools::run("pdfinfo", {pdf}, error));
    const QRegularExpressionMatch m = QRegularExpression("Page size:\\s+([^\\n]*)").match(info);
    return m.captured(1);
}

} // namespace

void TestCliSheets::jobsRunAcrossTheChosenSheet()
{
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    const QString sheetFile = put(dir.path() + "/cap12.json", Sheet234);
    const QString design = saveDesign(dir, 1, 1, 60, 1);

    const Result listed = cli(at(dir, {"sheets"}));
    QCOMPARE(listed.code, 0);
    QVERIFY(listed.out.startsWith("id,name,paper_width,paper_height,diameter,columns,rows,"
                                  "positions,source\r\nbuiltin,"));
    QVERIFY2(listed.out.contains("shipped:letter-19mm-8x10,"
                                 "US Letter · 19 mm · 8 × 10,215.9,279.4,19,8,10,80,shipped\r\n"),
             qPrintable(listed.out));

    // 60 labels from 200 of 234: 200..234, then 1..25 of a second sheet.
    const Result printed = cli(at(dir, {"print", design, "--sheet", sheetFile, "--start", "200",
                                        "--pdf", dir.path() + "/a.pdf"}));
    QVERIFY2(printed.code == 0, qPrintable(printed.err));
    QVERIFY(printed.out.contains("start position: 26\n"));
    QString error;
    QCOMPARE(PdfTools::pageCount(dir.path() + "/a.pdf", error), 2);
    QCOMPARE(pageSize(dir.path() + "/a.pdf"), QString("595 x 842 pts (A4)"));
    const QStringList rows = cli(at(dir, {"labels", "1"})).out.split("\r\n");
    QCOMPARE(rows.value(1), QString("1,200,1,1,LAB,0001"));
    QCOMPARE(rows.value(35), QString("1,234,35,1,LAB,0035"));
    QCOMPARE(rows.value(36), QString("2,1,36,1,LAB,0036"));

    // The station keeps the sheet, its file gone or not.
    QVERIFY(QFile::remove(sheetFile));
    const Result next = cli(at(dir, {"next"}));
    QVERIFY2(next.out.contains("start position: 26\n") &&
                 next.out.contains(QString("sheet: %1 (234 positions)\n")
                                       .arg(QFileInfo(sheetFile).absoluteFilePath())),
             qPrintable(next.out + next.err));
    QVERIFY(cli(at(dir, {"list", design, "--start", "234"})).out.contains("\r\n2,59,60,1,"));

    // A job on another sheet makes it the station's; the registry keeps
    // each job's own.
    QCOMPARE(cli(at(dir, {"print", design, "--samples", "2", "--sheet", "shipped:letter-19mm-8x10",
                          "--start", "80", "--pdf", dir.path() + "/b.pdf"}))
                 .code,
             0);
    QCOMPARE(pageSize(dir.path() + "/b.pdf"), QString("612 x 792 pts (letter)"));
    QVERIFY(
        cli(at(dir, {"labels", "2"})).out.endsWith("1,80,1,1,LAB,0061\r\n2,1,2,1,LAB,0062\r\n"));
    QVERIFY(cli(at(dir, {"labels", "1"})).out.contains("\r\n1,234,35,1,"));
    QVERIFY(cli(at(dir, {"next"})).out.contains("start position: 2\n"));
    QVERIFY(cli(at(dir, {"next"})).out.contains("sheet: shipped:letter-19mm-8x10 (80 positions)"));
}

void TestCliSheets::startsTheSheetDoesNotHave()
{
    // A start file left at 200 by a larger sheet, on the built-in sheet:
    // the job begins at 1 and says so, never at some other position.
    const QByteArray start = "10,10,200\r\n\r\n";
    TestAppDir dir(&start);
    const QString design = saveDesign(dir, 1, 1, 2, 1);
    const Result next = cli(at(dir, {"next"}));
    QVERIFY(next.out.startsWith("start position: 1\n"));
    QVERIFY2(next.err.contains("200") && next.err.contains("1～150"), qPrintable(next.err));

    const Result beyond =
        cli(at(dir, {"print", design, "--start", "151", "--pdf", dir.path() + "/a.pdf"}));
    QCOMPARE(beyond.code, 2);
    QVERIFY2(beyond.err.contains("--start") && beyond.err.contains("1～150"),
             qPrintable(beyond.err));
    QCOMPARE(dir.startFile(), start);

    const Result printed = cli(at(dir, {"print", design, "--pdf", dir.path() + "/a.pdf"}));
    QVERIFY2(printed.code == 0 && printed.err.contains("200"), qPrintable(printed.err));
    QVERIFY(cli(at(dir, {"labels", "1"})).out.endsWith("1,1,1,1,LAB,0001\r\n1,2,2,1,LAB,0002\r\n"));
    QCOMPARE(dir.startFile(), QByteArray("10,10,3\r\n\r\n"));
}

void TestCliSheets::badSheetsChangeNothing()
{
    const QByteArray start = "10,10,5\r\n\r\n";
    TestAppDir dir(&start);
    const QString design = saveDesign(dir, 1, 1, 2, 1);
    const QString tooBig =
        put(dir.path() + "/big.json",
            QByteArray(Sheet234).replace("\"diameter\": 12", "\"diameter\": 61"));
    const QString noRows =
        put(dir.path() + "/rows.json", QByteArray(Sheet234).replace("\"rows\": 18,", ""));
    const struct {
        QString sheet;
        const char* named;
    } cases[] = {
        {tooBig, "diameter"}, {noRows, "rows"}, {"shipped:no-such-sheet", "no-such-sheet"}};
    for (const auto& bad : cases) {
        const Result r =
            cli(at(dir, {"print", design, "--sheet", bad.sheet, "--pdf", dir.path() + "/a.pdf"}));
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains("--sheet") && r.err.contains(bad.named), qPrintable(r.err));
    }
    QVERIFY(!QFile::exists(dir.path() + "/a.pdf"));
    QVERIFY(!QFile::exists(StateFile::pathIn(dir.path())));
    QCOMPARE(dir.startFile(), start);
}

QTEST_MAIN(TestCliSheets)
#include "tst_clisheets.moc"
