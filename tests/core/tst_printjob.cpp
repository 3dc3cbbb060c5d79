#include "core/layout/SheetFile.h"
#include "core/numbering/Continuation.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintSheet.h"

#include "core/numbering/ComposeLabelTexts.h"

#include "PrintTestRun.h"
#include "RecordingCanvas.h"

#include <QTest>

class TestPrintJob : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitsIntoSheets_data();
    void splitsIntoSheets();
    void noLabelsPrintsNothing();
    void printerFailureCountsNothing_data();
    void printerFailureCountsNothing();
    void continuation_data();
    void continuation();
    void twoJobsInARowPrintLikeOne_data();
    void twoJobsInARowPrintLikeOne();
};

namespace {

struct JobRecord {
    PrintJobResult result;
    RecordingCanvas canvas;
    QList<QPoint> pauses; // (sheet, sheetCount) of every afterSheet call
};

JobRecord runJob(const LabelRun& run, int start, int failAtDocumentCall = 0,
                 const Sheet& sheet = Sheet::builtIn())
{
    JobRecord job;
    job.canvas.failAtDocumentCall = failAtDocumentCall;
    job.result =
        runPrintJob(job.canvas, sheet, run, PrintAppearance(), {}, start,
                    [&job](int number, int count) { job.pauses << QPoint(number, count); });
    return job;
}

// The sheet position a disc was drawn at, found from its box at 600 dpi.
int positionOf(const Sheet& sheet, const DeviceBox& box)
{
    const SheetDots::Placement placement(sheet, {}, 600, 600);
    for (int p = 1; p <= sheet.positions(); ++p) {
        if (placement.place(p).box == box)
            return p;
    }
    return 0;
}

// What a job drew: the texts with their places.
QStringList textsOf(const RecordingCanvas& canvas)
{
    QStringList texts;
    for (const RecordingCanvas::Op& op : canvas.named("text"))
        texts << QStringLiteral("%1@%2,%3").arg(op.text).arg(op.x).arg(op.y);
    return texts;
}

// First and last position drawn on each page, checking that the positions
// of a page run on without gaps.
QList<QPoint> pagesOf(const Sheet& sheet, const RecordingCanvas& canvas)
{
    QList<QPoint> pages;
    int previous = 0;
    for (const RecordingCanvas::Op& op : canvas.ops) {
        if (op.name == "begin" || op.name == "newPage") {
            pages << QPoint();
            previous = 0;
        } else if (op.name == "ellipse") {
            const int p = positionOf(sheet, op.box);
            if (pages.isEmpty() || (previous != 0 && p != previous + 1))
                return {};
            if (previous == 0)
                pages.last().setX(p);
            pages.last().setY(p);
            previous = p;
        }
    }
    return pages;
}

QStringList expectedCalls(int sheets)
{
    QStringList calls{QStringLiteral("begin")};
    for (int k = 1; k < sheets; ++k)
        calls << QStringLiteral("newPage");
    return calls << QStringLiteral("end");
}

} // namespace

void TestPrintJob::splitsIntoSheets_data()
{
    QTest::addColumn<Sheet>("sheet");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("total");
    QTest::addColumn<QList<QPoint>>("pages"); // first and last position of each sheet
    QTest::addColumn<int>("nextStart");

    // 234 positions, 13 x 18.
    const Sheet a4 = *SheetFile::load(QStringLiteral(":/sheets/a4-12mm-13x18.json"), nullptr);
    QTest::newRow("200 + 300 on 13 x 18: 200..234, a full sheet, 1..31")
        << a4 << 200 << 300 << QList<QPoint>{{200, 234}, {1, 234}, {1, 31}} << 32;
    QTest::newRow("234 + 1 on 13 x 18: the last position, then the first")
        << a4 << 234 << 1 << QList<QPoint>{{234, 234}} << 1;

    const Sheet builtIn = Sheet::builtIn();
    const QPoint full(1, 150);
    QTest::newRow("140 + 20: 140..150 and 1..9")
        << builtIn << 140 << 20 << QList<QPoint>{{140, 150}, {1, 9}} << 10;
    QTest::newRow("121 + 29: one sheet up to 149")
        << builtIn << 121 << 29 << QList<QPoint>{{121, 149}} << 150;
    QTest::newRow("1 + 150: one full sheet") << builtIn << 1 << 150 << QList<QPoint>{full} << 1;
    QTest::newRow("1 + 1001: seven sheets, the last up to 101")
        << builtIn << 1 << 1001 << QList<QPoint>{full, full, full, full, full, full, {1, 101}}
        << 102;
    QTest::newRow("1 + 1051: eight sheets, the last holds position 1")
        << builtIn << 1 << 1051 << QList<QPoint>{full, full, full, full, full, full, full, {1, 1}}
        << 2;
    QTest::newRow("150 + 1200: nine sheets")
        << builtIn << 150 << 1200
        << QList<QPoint>{{150, 150}, full, full, full, full, full, full, full, {1, 149}} << 150;
    QTest::newRow("150 + 1: one label") << builtIn << 150 << 1 << QList<QPoint>{{150, 150}} << 1;
}

void TestPrintJob::splitsIntoSheets()
{
    QFETCH(int, start);
    QFETCH(int, total);
    QFETCH(QList<QPoint>, pages);
    QFETCH(Sheet, sheet);
    const LabelRun run = numberedRun(2, 0, total);
    const JobRecord job = runJob(run, start, 0, sheet);

    QVERIFY(job.result.ok);
    QCOMPARE(job.canvas.documentCalls(), expectedCalls(pages.size()));
    QCOMPARE(pagesOf(sheet, job.canvas), pages);
    QList<QPoint> pauses;
    for (int k = 1; k <= pages.size(); ++k)
        pauses << QPoint(k, pages.size());
    QCOMPARE(job.pauses, pauses);
    QTEST(job.result.next.startPosition, "nextStart");

    // Every label is logged in print order, however large the job.
    const PrintedJob& printed = job.result.job;
    QCOMPARE(printed.run, run);
    QCOMPARE(printed.startPosition, start);
    QCOMPARE(printed.labels.size(), total);
    QStringList drawn;
    for (const RecordingCanvas::Op& op : job.canvas.named("text")) {
        if (op.text != run.upper)
            drawn << op.text;
    }
    QCOMPARE(drawn.size(), total);
    for (int k = 0; k < total; ++k) {
        QCOMPARE(printed.labels[k].lower, composeLabelTexts(run, k).lower);
        QCOMPARE(drawn[k], printed.labels[k].lower);
    }
}

void TestPrintJob::noLabelsPrintsNothing()
{
    LabelRun run;
    run.type = 9; // free texts, none typed
    run.sampleCount = 0;
    const JobRecord job = runJob(run, 42);

    QVERIFY(job.result.ok);
    QVERIFY(job.canvas.ops.isEmpty());
    QVERIFY(job.pauses.isEmpty());
    QVERIFY(job.result.job.labels.isEmpty());
    QCOMPARE(job.result.next.startPosition, 42);
}

void TestPrintJob::printerFailureCountsNothing_data()
{
    QTest::addColumn<int>("failAt"); // document call: begin, newPage, newPage, end
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("sheetsDone");

    QTest::newRow("printer does not start") << 1 << QStringList{"begin", "abort"} << 0;
    QTest::newRow("fails after sheet 2")
        << 3 << QStringList{"begin", "newPage", "newPage", "abort"} << 1;
    QTest::newRow("fails at the end")
        << 4 << QStringList{"begin", "newPage", "newPage", "end", "abort"} << 2;
}

void TestPrintJob::printerFailureCountsNothing()
{
    QFETCH(int, failAt);
    const JobRecord job = runJob(numberedRun(1, 1, 400), 1, failAt);

    QVERIFY(!job.result.ok);
    QCOMPARE(job.result.error, QStringLiteral("printer on fire"));
    QTEST(job.canvas.documentCalls(), "calls");
    QTEST(int(job.pauses.size()), "sheetsDone");
    QVERIFY(job.result.job.labels.isEmpty());
}

void TestPrintJob::continuation_data()
{
    QTest::addColumn<LabelRun>("run");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("nextStart");
    QTest::addColumn<int>("firstNumber");
    QTest::addColumn<QString>("letters");

    QTest::newRow("type 1 wraps past 9999")
        << steppedRun(1, 9990, 1, 20, 1) << 1 << 21 << 10 << "AA";
    QTest::newRow("type 4 twice round the range")
        << steppedRun(4, 9000, 10, 1200, 1) << 150 << 150 << 1000 << "AA";
    QTest::newRow("type 5 with copies") << steppedRun(5, 3, 5, 10, 3) << 140 << 20 << 53 << "AA";
    QTest::newRow("type 13 goes on as type 1")
        << steppedRun(13, 9999, 1, 1, 1) << 150 << 1 << 0 << "AA";
    QTest::newRow("type 2 995 + 3 x 2: next letter, 1")
        << steppedRun(2, 995, 2, 3, 1, 4) << 1 << 4 << 1 << "FA";
    QTest::newRow("type 2 from Z across 1000: A")
        << steppedRun(2, 990, 1, 20, 2, 25) << 121 << 11 << 10 << "AA";
    QTest::newRow("type 6 below 1000 keeps its letter")
        << steppedRun(6, 100, 3, 50, 1, 7) << 1 << 51 << 250 << "HA";
    QTest::newRow("type 7 across 2000 moves two letters")
        << steppedRun(7, 500, 10, 200, 1, 1) << 1 << 51 << 500 << "DA";
    QTest::newRow("type 3 AA00 + 100: AB00, not AA00 again")
        << steppedRun(3, 0, 1, 100, 1) << 1 << 101 << 0 << "AB";
    QTest::newRow("type 3 AZ95 + 10: BA05")
        << steppedRun(3, 95, 1, 10, 1, 0, 25) << 1 << 11 << 5 << "BA";
    QTest::newRow("type 3 ZZ90 + 200: round to AB90")
        << steppedRun(3, 90, 10, 20, 1, 25, 25) << 1 << 21 << 90 << "AB";
    QTest::newRow("type 3 below 100 keeps its letters")
        << steppedRun(3, 10, 2, 5, 1, 2, 3) << 1 << 6 << 20 << "CD";
    for (int type = 8; type <= 12; ++type) {
        QTest::addRow("type %d keeps number and letters", type)
            << steppedRun(type, 77, 1, 30, 5, 9, 11) << 100 << 100 << 77 << "JL";
    }
}

void TestPrintJob::continuation()
{
    QFETCH(LabelRun, run);
    QFETCH(int, start);
    const Continuation next = continueAfterJob(run, start);

    QTEST(next.startPosition, "nextStart");
    QTEST(next.firstNumber, "firstNumber");
    QTEST(QString(letterOf(next.letter1) + letterOf(next.letter2)), "letters");
}

void TestPrintJob::twoJobsInARowPrintLikeOne_data()
{
    QTest::addColumn<LabelRun>("run"); // with the first job's samples
    QTest::addColumn<int>("secondSamples");
    QTest::addColumn<int>("start");

    QTest::newRow("type 1 across 9999") << steppedRun(1, 9980, 3, 10, 2) << 15 << 141;
    QTest::newRow("type 13 ends on a sheet's last position")
        << steppedRun(13, 5, 1, 50, 3) << 40 << 1;
    QTest::newRow("type 4 step 10, far past the range")
        << steppedRun(4, 9000, 10, 1100, 1) << 100 << 150;
    QTest::newRow("type 5") << steppedRun(5, 0, 5, 7, 5) << 7 << 77;
    QTest::newRow("type 2 from Z across 1000") << steppedRun(2, 990, 2, 10, 1, 25) << 10 << 10;
    QTest::newRow("type 6 across 2000") << steppedRun(6, 999, 10, 120, 1, 3) << 20 << 100;
    QTest::newRow("type 7 ends right before the carry")
        << steppedRun(7, 0, 1, 1000, 1, 6) << 5 << 1;
    QTest::newRow("type 3 AA00 + 100 samples") << steppedRun(3, 0, 1, 100, 1) << 30 << 1;
    QTest::newRow("type 3 ZZ around to AA") << steppedRun(3, 50, 5, 30, 2, 25, 25) << 30 << 60;
    QTest::newRow("type 3 step 10 across several carries")
        << steppedRun(3, 0, 10, 95, 1, 1, 24) << 55 << 1;
    // Plain numbers past the wrap print within their range in either job.
    for (int type : {1, 2, 3, 4, 5, 6, 7, 13}) {
        LabelRun run = steppedRun(type,
                                  type == 3                ? 98
                                  : type == 2 || type >= 6 ? 998
                                                           : 9998,
                                  1, 2, 1);
        run.plainNumbers = true;
        QTest::addRow("type %d plain across the wrap", type) << run << 2 << 1;
    }
}

void TestPrintJob::twoJobsInARowPrintLikeOne()
{
    QFETCH(LabelRun, run);
    QFETCH(int, secondSamples);
    QFETCH(int, start);

    LabelRun both = run;
    both.sampleCount += secondSamples;
    const JobRecord whole = runJob(both, start);

    const JobRecord firstJob = runJob(run, start);
    const Continuation next = firstJob.result.next;
    LabelRun rest = run;
    rest.sampleCount = secondSamples;
    rest.firstNumber = next.firstNumber;
    rest.letter1 = next.letter1;
    rest.letter2 = next.letter2;
    const JobRecord secondJob = runJob(rest, next.startPosition);
    QVERIFY(whole.result.ok && firstJob.result.ok && secondJob.result.ok);

    QCOMPARE(firstJob.result.job.labels + secondJob.result.job.labels, whole.result.job.labels);
    QCOMPARE(textsOf(firstJob.canvas) + textsOf(secondJob.canvas), textsOf(whole.canvas));
    QList<DeviceBox> twoJobs;
    for (const RecordingCanvas::Op& op :
         firstJob.canvas.named("ellipse") + secondJob.canvas.named("ellipse"))
        twoJobs << op.box;
    QList<DeviceBox> oneJob;
    for (const RecordingCanvas::Op& op : whole.canvas.named("ellipse"))
        oneJob << op.box;
    QVERIFY(twoJobs == oneJob);
}

QTEST_MAIN(TestPrintJob)
#include "tst_printjob.moc"
