#include "core/code/DataMatrix.h"
#include "core/code/LabelCode.h"
#include "core/job/Reprint.h"
#include "core/render/PrintSheet.h"

#include "PrintTestRun.h"
#include "RecordingCanvas.h"

#include <QRect>
#include <QTest>

#include <cstdlib>

using Op = RecordingCanvas::Op;

class TestLabelCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void symbolSizes_data();
    void symbolSizes();
    void refusesCodesOverTwentyModules();
    void partialReprintKeepsTheCodeSize();
    void discLayout_data();
    void discLayout();
};

void TestLabelCodes::symbolSizes_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("modules");
    QTest::newRow("number alone") << "0001" << 10;
    QTest::newRow("free text") << "AB123" << 12;
    QTest::newRow("text and number") << "LAB 0001" << 14;
    QTest::newRow("date and number") << "12/09 0031" << 14;
    QTest::newRow("two full lines") << "LABCD ABCDE" << 16;
    QTest::newRow("kanji, Shift_JIS") << "検体 0001" << 16;
    QTest::newRow("half-width katakana") << "ｱｲｳｴｵ 12345" << 18;
    QTest::newRow("empty: no code") << "" << 0;
}

void TestLabelCodes::symbolSizes()
{
    QFETCH(QString, content);
    QFETCH(int, modules);
    QCOMPARE(DataMatrix::squareSizeFor(content), modules);
    const std::optional<DataMatrix::Symbol> symbol = DataMatrix::encode(content);
    QCOMPARE(symbol ? symbol->modules : 0, modules);
}

void TestLabelCodes::refusesCodesOverTwentyModules()
{
    // A job's codes take the size its largest label needs.
    const LabelRun run = numberedRun(1, 9990, 20, 2, QStringLiteral("LAB"));
    const SheetLabels labels(run);
    QCOMPARE(labels.codeSize(), (LabelCodes::JobSize{14, QStringLiteral("LAB 9990"), true}));
    PrintAppearance look;
    QVERIFY(codeProblem(labels, look).isEmpty());
    look.code = LabelCode::DataMatrix;
    QVERIFY(codeProblem(labels, look).isEmpty());

    // Reprinted texts from elsewhere may be longer than typing allows.
    const QString longest = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijkl");
    const QList<PrintLogEntry> given = {{"AB", "1"}, {longest.left(26), longest.mid(27)}, {"C", ""}};
    const SheetLabels reprint(run, given);
    QVERIFY(!reprint.codeSize().fits);
    QCOMPARE(reprint.codeSize().longest, longest);
    QVERIFY2(codeProblem(reprint, look).contains(longest), qPrintable(codeProblem(reprint, look)));
    QVERIFY(codeProblem(reprint, look).contains(QStringLiteral("20×20")));
    QVERIFY(!reprint.codeOf(reprint.texts(0)));
}

void TestLabelCodes::partialReprintKeepsTheCodeSize()
{
    // Plain numbers grow: "LAB 1" alone takes 12 modules, the job's
    // "LAB 1000" 14. Label 1 printed again looks as it did the first time.
    LabelRun run = numberedRun(1, 1, 1000, 1, QStringLiteral("LAB"));
    run.plainNumbers = true;
    RegistryJob job;
    job.id = 7;
    job.job.run = run;
    job.job.look.code = LabelCode::DataMatrix;
    for (int n = 0; n < run.labelTotal(); ++n)
        job.job.labels << PrintLogEntry{"LAB", QString::number(n + 1)};
    const JobPlan reprint = Reprint::plan(job, {0}, 1);
    const auto codeWidth = [&job](const SheetLabels& labels) {
        RecordingCanvas canvas(600, 600);
        printSheet(canvas, labels, job.job.look, {}, 1, 1, 1, 1);
        QRect code;
        for (const Op& op : canvas.named("fill"))
            code |= QRect(op.box.left, op.box.top, op.box.right - op.box.left,
                          op.box.bottom - op.box.top);
        return code.width();
    };
    QCOMPARE(DataMatrix::squareSizeFor(QStringLiteral("LAB 1")), 12);
    QCOMPARE(codeWidth(SheetLabels(reprint.run, reprint.givenLabels)), 14 * moduleDots(600));
    QCOMPARE(codeWidth(SheetLabels(reprint.run, reprint.givenLabels)), codeWidth(SheetLabels(run)));
}

void TestLabelCodes::discLayout_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("moduleDots");
    QTest::addColumn<int>("background"); // index in the background list
    QTest::newRow("300 dpi") << 300 << 3 << 0;
    QTest::newRow("600 dpi, coloured disc") << 600 << 6 << 2;
    QTest::newRow("1200 dpi") << 1200 << 12 << 0;
    QTest::newRow("150 dpi: not under 0.2 mm") << 150 << 2 << 0;
}

// The code's modules on whole dots, in the middle of the disc, its quiet
// zone cleared only where the disc is coloured, and the lines clear of it.
// (Real glyphs and the disc's margin are checked where the codes are read.)
void TestLabelCodes::discLayout()
{
    QFETCH(int, dpi);
    QFETCH(int, moduleDots);
    QFETCH(int, background);
    QCOMPARE(::moduleDots(dpi), moduleDots);
    RecordingCanvas canvas(dpi, dpi);
    PrintAppearance look;
    look.code = LabelCode::DataMatrix;
    look.backgroundIndex = background;
    // Type 4 places its upper line by the number without a code.
    printSheet(canvas, numberedRun(4, 31, 1, 1, QStringLiteral("12/09")), look, {}, 1, 1, 1, 1);

    const DeviceBox disc = canvas.named("ellipse").first().box;
    QRect code;
    QList<QRect> cleared;
    for (const Op& op : canvas.named("fill")) {
        const QRect box(op.box.left, op.box.top, op.box.right - op.box.left,
                        op.box.bottom - op.box.top);
        if (op.color == Qt::black)
            code |= box;
        else
            cleared << box;
    }
    QCOMPARE(code.size(), QSize(14 * moduleDots, 14 * moduleDots));
    QVERIFY(std::abs(2 * code.center().x() - disc.left - disc.right) <= 2);
    QVERIFY(std::abs(2 * code.center().y() - disc.top - disc.bottom) <= 2);
    const QRect quiet = code.adjusted(-moduleDots, -moduleDots, moduleDots, moduleDots);
    QCOMPARE(cleared, background ? QList<QRect>{quiet} : QList<QRect>{});
    const QList<Op> texts = canvas.named("text");
    QCOMPARE(canvas.texts(), (QStringList{"12/09", "0031"}));
    QVERIFY(texts[0].y + canvas.lineHeight <= quiet.top());
    QVERIFY(texts[1].y >= quiet.bottom());
}

QTEST_GUILESS_MAIN(TestLabelCodes)
#include "tst_labelcodes.moc"
