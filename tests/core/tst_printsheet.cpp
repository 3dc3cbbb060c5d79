#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/PrintSheet.h"

#include "PrintTestRun.h"
#include "RecordingCanvas.h"

#include <QTest>

using Op = RecordingCanvas::Op;

class TestPrintSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void discBoxes_data();
    void discBoxes();
    void textPositions_data();
    void textPositions();
    void textsCrossingTheEdge_data();
    void textsCrossingTheEdge();
    void fontSizes_data();
    void fontSizes();
    void discAndTextStyle();
    void rainbow_data();
    void rainbow();
    void drawsTheLabelsOfItsSheet_data();
    void drawsTheLabelsOfItsSheet();
    void drawsInProportionToTheDisc_data();
    void drawsInProportionToTheDisc();
};

namespace {

const QColor Yellow(255, 255, 0), Aqua(0, 255, 255), Red(255, 0, 0), Lime(0, 255, 0),
    Cream(255, 251, 240);

// Draws positions first..last of one sheet of a job started at `start`.
RecordingCanvas draw(const LabelRun& run, int start, int sheet, int first, int last,
                     const PrintAppearance& look = PrintAppearance())
{
    RecordingCanvas canvas;
    printSheet(canvas, run, look, {}, start, sheet, first, last);
    return canvas;
}

} // namespace

char* toString(const DeviceBox& box)
{
    return QTest::toString(QStringLiteral("(%1,%2)-(%3,%4)")
                               .arg(box.left)
                               .arg(box.top)
                               .arg(box.right)
                               .arg(box.bottom));
}

void TestPrintSheet::discBoxes_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("horz");
    QTest::addColumn<int>("vert");
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<DeviceBox>("box");

    QTest::newRow("position 1") << 1 << 10 << 10 << 600 << 600 << DeviceBox{468, 494, 780, 806};
    QTest::newRow("position 150") << 150 << 10 << 10 << 600 << 600
                                  << DeviceBox{4096, 6139, 4408, 6451};
    QTest::newRow("position 10 ends the first row")
        << 10 << 10 << 10 << 600 << 600 << DeviceBox{4096, 494, 4408, 806};
    QTest::newRow("position 11 starts the second row")
        << 11 << 10 << 10 << 600 << 600 << DeviceBox{468, 897, 780, 1209};
    QTest::newRow("offsets at 0: 50 units left and up")
        << 1 << 0 << 0 << 600 << 600 << DeviceBox{348, 374, 660, 686};
    QTest::newRow("offsets at 20: 50 units right and down")
        << 1 << 20 << 20 << 600 << 600 << DeviceBox{588, 614, 900, 926};
    QTest::newRow("offsets apart: right and up")
        << 1 << 20 << 0 << 600 << 600 << DeviceBox{588, 374, 900, 686};
    QTest::newRow("x by dpiX, y by dpiY")
        << 150 << 10 << 10 << 300 << 600 << DeviceBox{2048, 6139, 2204, 6451};
}

void TestPrintSheet::discBoxes()
{
    QFETCH(int, position);
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(int, horz);
    QFETCH(int, vert);
    RecordingCanvas canvas(dpiX, dpiY);
    printSheet(canvas, numberedRun(1, 1, 1), PrintAppearance(), {horz, vert}, position, 1, position,
               position);

    const QList<Op> discs = canvas.named("ellipse");
    QCOMPARE(discs.size(), 1);
    QTEST(discs[0].box, "box");
}

void TestPrintSheet::textPositions_data()
{
    // Position 1 at 600 dpi: centre (624, 652). Texts are charWidth dots per
    // byte and 75 high. An upper at -1 is not drawn.
    QTest::addColumn<LabelRun>("run");
    QTest::addColumn<int>("charWidth");
    QTest::addColumn<QPoint>("upperAt");
    QTest::addColumn<QPoint>("lowerAt");

    LabelRun run = numberedRun(2, 1, 1, 1, QStringLiteral("ABCDEFGHIJ"));
    QTest::newRow("type 2: upper 100 wide above the centre row")
        << run << 10 << QPoint(574, 567) << QPoint(604, 652);
    run.type = 9;
    run.freeTexts = {QStringLiteral("abcdefghijk")};
    QTest::newRow("type 9: lower 121 wide, half a dot truncated")
        << run << 11 << QPoint(569, 567) << QPoint(563, 652);
    run.type = 8;
    run.type8Lower = QStringLiteral("xyz");
    QTest::newRow("type 8") << run << 10 << QPoint(574, 567) << QPoint(609, 652);
    run = numberedRun(3, 5, 1);
    QTest::newRow("type 3") << run << 10 << QPoint(609, 567) << QPoint(604, 652);
    run = numberedRun(1, 1, 1);
    QTest::newRow("type 1: upper placed by the number")
        << run << 10 << QPoint(604, 577) << QPoint(604, 652);
    run.upper = QStringLiteral("ABCDE");
    QTest::newRow("type 1: five bytes inside the disc keep the number's left edge")
        << run << 40 << QPoint(544, 577) << QPoint(544, 652);
    run.upper = QStringLiteral("ABC");
    run.firstNumber = 10001;
    QTest::newRow("type 1 past 9999: placed by 0001 as it shows")
        << run << 10 << QPoint(604, 577) << QPoint(604, 652);
    run = numberedRun(5, 7, 1);
    run.plainNumbers = true;
    QTest::newRow("type 5 plain number") << run << 10 << QPoint(619, 577) << QPoint(619, 652);
    run.type = 4;
    run.firstNumber = 12345;
    QTest::newRow("type 4 plain past 9999: 2345")
        << run << 10 << QPoint(604, 577) << QPoint(604, 652);
    run = numberedRun(13, 1, 1);
    QTest::newRow("type 13: the number centred on the disc")
        << run << 10 << QPoint(-1, -1) << QPoint(604, 614);
}

void TestPrintSheet::textPositions()
{
    QFETCH(LabelRun, run);
    RecordingCanvas canvas;
    QFETCH(int, charWidth);
    canvas.charWidth = charWidth;
    printSheet(canvas, run, PrintAppearance(), {}, 1, 1, 1, 1);

    const LabelTexts label = composeLabelTexts(run, 0);
    QList<Op> texts = canvas.named("text");
    QFETCH(QPoint, upperAt);
    if (upperAt.x() >= 0) {
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts[0].text, label.upper);
        QCOMPARE(QPoint(texts[0].x, texts[0].y), upperAt);
        texts.removeFirst();
    }
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts[0].text, label.lower);
    QTEST(QPoint(texts[0].x, texts[0].y), "lowerAt");
}

void TestPrintSheet::textsCrossingTheEdge_data()
{
    // Position 1 at 600 dpi: the disc is centred on (624, 650) with a radius
    // of 156, the texts' centre is (624, 652). Texts here shrink with their
    // size: charWidth per byte and 75 high at 9 points.
    QTest::addColumn<LabelRun>("run");
    QTest::addColumn<int>("charWidth");
    QTest::addColumn<QPoint>("upperAt");
    QTest::addColumn<double>("upperSize");
    QTest::addColumn<QPoint>("lowerAt");
    QTest::addColumn<double>("lowerSize");

    // At 8 points "ABCDE" is 266 wide and 66 high; from the number's left
    // edge (213 wide) it would end at 783, past the disc's right edge.
    LabelRun run = numberedRun(1, 1, 1, 1, QStringLiteral("ABCDE"));
    QTest::newRow("type 1: centred where the number's edge takes it past the disc")
        << run << 60 << QPoint(491, 586) << 8.0 << QPoint(517, 652) << 8.0;
    // 288 wide at 8 points crosses the disc even centred; 252 x 58 at 7 fits.
    run.type = 2;
    QTest::newRow("type 2: one point smaller, the number keeps its size")
        << run << 65 << QPoint(498, 584) << 7.0 << QPoint(508, 652) << 8.0;
    // The number (320 wide at 8) fits at 7 (280); the upper fits only at 5
    // (250 x 41), back on the number's left edge and standing on its line.
    run.type = 1;
    QTest::newRow("type 1: each line shrinks on its own, the upper by the number as printed")
        << run << 90 << QPoint(484, 611) << 5.0 << QPoint(484, 652) << 7.0;
    run.type = 2;
    QTest::newRow("type 2: too wide at any size: centred at the smallest")
        << run << 200 << QPoint(402, 609) << 4.0 << QPoint(446, 652) << 4.0;
}

void TestPrintSheet::textsCrossingTheEdge()
{
    QFETCH(LabelRun, run);
    RecordingCanvas canvas;
    QFETCH(int, charWidth);
    canvas.charWidth = charWidth;
    canvas.scaleWithSize = true;
    printSheet(canvas, run, PrintAppearance(), {}, 1, 1, 1, 1);

    const QList<Op> texts = canvas.named("text");
    QCOMPARE(texts.size(), 2);
    QTEST(QPoint(texts[0].x, texts[0].y), "upperAt");
    QTEST(texts[0].fontSize, "upperSize");
    QTEST(QPoint(texts[1].x, texts[1].y), "lowerAt");
    QTEST(texts[1].fontSize, "lowerSize");
}

void TestPrintSheet::fontSizes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower"); // type 8's lower line or the free text
    QTest::addColumn<double>("upperSize");
    QTest::addColumn<double>("lowerSize");

    QTest::newRow("type 1, upper of 5 bytes") << 1 << "ABCDE"
                                              << "" << 8.0 << 8.0;
    QTest::newRow("type 1, upper of 4 bytes") << 1 << "ABCD"
                                              << "" << 9.0 << 9.0;
    QTest::newRow("type 2, upper of 6 bytes") << 2 << "ABCDEF"
                                              << "" << 9.0 << 9.0;
    QTest::newRow("type 3, full-width upper of 5 bytes") << 3 << "検体A"
                                                         << "" << 8.0 << 8.0;
    QTest::newRow("type 7, full-width upper of 4 bytes") << 7 << "検体"
                                                         << "" << 9.0 << 9.0;
    QTest::newRow("type 8, lower of 5 bytes under 4") << 8 << "ABCD"
                                                      << "VWXYZ" << 9.0 << 8.0;
    QTest::newRow("type 8, upper of 5 bytes over 6") << 8 << "ABCDE"
                                                     << "UVWXYZ" << 8.0 << 9.0;
    QTest::newRow("type 9, lower of 4 bytes") << 9 << "ABCDE"
                                              << "WXYZ" << 8.0 << 9.0;
    QTest::newRow("type 10, letter and 4 bytes make 5") << 10 << "AB"
                                                        << "WXYZ" << 9.0 << 8.0;
    QTest::newRow("type 11, full-width lower of 5 bytes") << 11 << "AB"
                                                          << "ａｂc" << 9.0 << 8.0;
    QTest::newRow("type 12, full-width lower of 6 bytes") << 12 << "AB"
                                                          << "ａｂｃ" << 9.0 << 9.0;
}

void TestPrintSheet::fontSizes()
{
    QFETCH(int, type);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    LabelRun run = numberedRun(type, 1, 1, 1, upper);
    run.type8Lower = lower;
    run.freeTexts = {lower};
    const QList<Op> texts = draw(run, 1, 1, 1, 1).named("text");

    QCOMPARE(texts.size(), 2);
    QTEST(texts[0].fontSize, "upperSize");
    QTEST(texts[1].fontSize, "lowerSize");
}

void TestPrintSheet::discAndTextStyle()
{
    PrintAppearance look;
    look.backgroundIndex = Colours::CustomIndex;
    look.customColor = QColor(12, 34, 56);
    look.textColorIndex = 2; // blue
    look.font = QFont(QStringLiteral("ＭＳ Ｐゴシック"), 20, QFont::Bold);
    const RecordingCanvas canvas = draw(numberedRun(2, 1, 20), 141, 1, 141, 150, look);

    QCOMPARE(canvas.named("font").size(), 1);
    QCOMPARE(canvas.named("font")[0].font, look.font);
    QCOMPARE(canvas.named("ellipse").size(), 10);
    const QList<Op> pens = canvas.named("pen");
    QVERIFY(!pens.isEmpty());
    for (const Op& pen : pens) {
        QCOMPARE(pen.value, 5);
        QCOMPARE(pen.color, look.customColor);
    }
    for (const Op& op : canvas.ops) {
        if (op.name == "ellipse") {
            QVERIFY(op.brushSolid);
            QCOMPARE(op.brushColor, look.customColor);
        } else if (op.name == "text") {
            QVERIFY2(!op.brushSolid, "text must be drawn on a clear brush");
            QCOMPARE(op.textColor, QColor(0, 0, 255));
        }
    }
}

void TestPrintSheet::rainbow_data()
{
    QTest::addColumn<LabelRun>("run");
    QTest::addColumn<int>("startPosition");
    QTest::addColumn<int>("sheet");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QList<QColor>>("fills");

    const QList<QColor> cycle3 = {Yellow, Aqua, Red, Yellow, Aqua, Red};
    QTest::newRow("3 copies cycle from the sheet's first label")
        << numberedRun(2, 1, 10, 3) << 1 << 1 << 1 << 6 << cycle3;
    QTest::newRow("the cycle restarts on a carried-over second copy")
        << numberedRun(2, 1, 10, 3) << 150 << 2 << 1 << 6 << cycle3;
    QTest::newRow("started mid-sheet") << numberedRun(1, 1, 10, 3) << 70 << 1 << 70 << 75 << cycle3;

    LabelRun type8 = numberedRun(8, 1, 1, 6);
    type8.type8Lower = QStringLiteral("x");
    QTest::newRow("type 8 with text, 6 copies wrap past the table")
        << type8 << 1 << 1 << 1 << 6 << QList<QColor>{Yellow, Aqua, Red, Lime, Cream, Yellow};
    type8.repeatCount = 7;
    QTest::newRow("type 8 with text, 7 copies wrap past the table")
        << type8 << 1 << 1 << 1 << 7 << QList<QColor>{Yellow, Aqua, Red, Lime, Cream, Yellow, Aqua};

    LabelRun blank = numberedRun(8, 1, 2, 3);
    blank.type8Blank = true;
    const QColor g0(0xFF, 0xFF, 0x80), g1(0x80, 0xFF, 0x80), g2(0x80, 0xFF, 0xFF);
    QTest::newRow("blank type 8 by sample group")
        << blank << 1 << 1 << 1 << 6 << QList<QColor>{g0, g0, g1, g1, g2, g2};
    blank.sampleCount = 1;
    blank.repeatCount = 7;
    QTest::newRow("blank type 8, 7 groups") << blank << 1 << 1 << 1 << 7
                                            << QList<QColor>{g0,
                                                             g1,
                                                             g2,
                                                             QColor(0xEA, 0x95, 0x15),
                                                             QColor(0xFF, 0x80, 0xFF),
                                                             QColor(0x97, 0x83, 0xE7),
                                                             QColor(0xCE, 0xCE, 0xCE)};
}

void TestPrintSheet::rainbow()
{
    QFETCH(LabelRun, run);
    QFETCH(int, startPosition);
    QFETCH(int, sheet);
    QFETCH(int, first);
    QFETCH(int, last);
    PrintAppearance look;
    look.rainbow = true;
    look.backgroundIndex = 3; // green stays the outline
    const RecordingCanvas canvas = draw(run, startPosition, sheet, first, last, look);

    QList<QColor> fills;
    for (const Op& op : canvas.named("ellipse"))
        fills << op.brushColor;
    QTEST(fills, "fills");
    for (const Op& pen : canvas.named("pen"))
        QCOMPARE(pen.color, QColor(0, 128, 0));
}

void TestPrintSheet::drawsTheLabelsOfItsSheet_data()
{
    QTest::addColumn<LabelRun>("run");
    QTest::addColumn<int>("startPosition");
    QTest::addColumn<int>("sheet");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QStringList>("lowers");

    LabelRun run = numberedRun(2, 998, 3);
    run.letter1 = 24;
    QTest::newRow("type 2 letter advances")
        << run << 1 << 1 << 1 << 3 << QStringList{"Y998", "Y999", "Z000"};
    run = numberedRun(3, 99, 2);
    run.letter2 = 25;
    QTest::newRow("type 3 carries into the first letter")
        << run << 1 << 1 << 1 << 2 << QStringList{"AZ99", "BA00"};
    QTest::newRow("sheet 2 continues the label index")
        << numberedRun(1, 1, 10, 2) << 148 << 2 << 1 << 3 << QStringList{"0002", "0003", "0003"};
}

void TestPrintSheet::drawsTheLabelsOfItsSheet()
{
    QFETCH(LabelRun, run);
    QFETCH(int, startPosition);
    QFETCH(int, sheet);
    QFETCH(int, first);
    QFETCH(int, last);
    const RecordingCanvas canvas = draw(run, startPosition, sheet, first, last);

    QStringList lowers;
    for (const Op& op : canvas.named("text")) {
        if (op.text != run.upper)
            lowers << op.text;
    }
    QTEST(lowers, "lowers");
    // Drawing is all it does: the document is the job's.
    QVERIFY(canvas.documentCalls().isEmpty());
}

void TestPrintSheet::drawsInProportionToTheDisc_data()
{
    QTest::addColumn<LabelRun>("run");
    QTest::addColumn<int>("charWidth");
    QTest::addColumn<bool>("code");

    QTest::newRow("type 1, upper by the number") << numberedRun(1, 7, 1) << 10 << false;
    QTest::newRow("type 2, five bytes at 8 points")
        << numberedRun(2, 7, 1, 1, QStringLiteral("ABCDE")) << 10 << false;
    QTest::newRow("type 2, shrunk to fit")
        << numberedRun(2, 7, 1, 1, QStringLiteral("ABCDE")) << 65 << false;
    QTest::newRow("type 13, the number alone") << numberedRun(13, 7, 1) << 10 << false;
    QTest::newRow("type 2 with a code") << numberedRun(2, 7, 1) << 10 << true;
}

void TestPrintSheet::drawsInProportionToTheDisc()
{
    // A 22 mm label alone is the built-in one twice over: its disc, lines,
    // font sizes, code modules and the texts' places from the disc's corner
    // are twice the built-in sheet's, with texts measured in proportion to
    // their size. A place the built-in sheet truncates to a dot may double
    // that dot.
    QFETCH(LabelRun, run);
    QFETCH(int, charWidth);
    QFETCH(bool, code);
    Sheet large;
    large.name = QStringLiteral("22 mm");
    large.paper = {210, 297};
    large.diameter = 22;
    large.grids = {{1, 1, {30, 40}, {0, 0}}};
    PrintAppearance look;
    look.code = code ? LabelCode::DataMatrix : LabelCode::None;
    const auto drawOn = [&](const Sheet& sheet) {
        RecordingCanvas canvas;
        canvas.charWidth = charWidth;
        canvas.scaleWithSize = true;
        printSheet(canvas, sheet, run, look, {}, 1, 1, 1, 1);
        return canvas;
    };
    const RecordingCanvas small = drawOn(Sheet::builtIn());
    const RecordingCanvas twice = drawOn(large);

    QCOMPARE(small.ops.size(), twice.ops.size());
    const DeviceBox a = small.named("ellipse").first().box;
    const DeviceBox b = twice.named("ellipse").first().box;
    QCOMPARE(b.right - b.left, 2 * (a.right - a.left));
    const auto near = [](int doubled, int actual) { return qAbs(actual - doubled) <= 2; };
    for (qsizetype i = 0; i < small.ops.size(); ++i) {
        const Op& was = small.ops[i];
        const Op& now = twice.ops[i];
        QCOMPARE(now.name, was.name);
        QCOMPARE(now.fontSize, 2 * was.fontSize);
        if (was.name == "pen")
            QCOMPARE(now.value, 2 * was.value);
        const bool drawn = was.name == "text" || was.name == "fill";
        const QPoint from = was.name == "text" ? QPoint(was.x - a.left, was.y - a.top)
                                               : QPoint(was.box.left - a.left, was.box.top - a.top);
        const QPoint to = now.name == "text" ? QPoint(now.x - b.left, now.y - b.top)
                                             : QPoint(now.box.left - b.left, now.box.top - b.top);
        QVERIFY2(!drawn || (near(2 * from.x(), to.x()) && near(2 * from.y(), to.y())),
                 qPrintable(QStringLiteral("%1 %2 at (%3, %4), not about (%5, %6)")
                                .arg(now.name, now.text)
                                .arg(to.x())
                                .arg(to.y())
                                .arg(2 * from.x())
                                .arg(2 * from.y())));
    }
    if (code) {
        const DeviceBox m = twice.named("fill").first().box;
        QCOMPARE(m.right - m.left, moduleDots(600, 2));
        QCOMPARE(moduleDots(600, 2), 2 * moduleDots(600));
    }
}

QTEST_MAIN(TestPrintSheet)
#include "tst_printsheet.moc"
