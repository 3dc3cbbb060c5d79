#include "core/render/TestSheet.h"

#include "RecordingCanvas.h"

#include <QTest>

using Op = RecordingCanvas::Op;

// The test sheet, held against a label sheet before labels are spent.
class TestTestSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void builtInSheet();
    void paperSheet();
};

void TestTestSheet::builtInSheet()
{
    const SheetGeometry::Offsets offsets{20, 0, 1010, 990};
    RecordingCanvas canvas;
    printTestSheet(canvas, offsets);

    // Every disc as an outline only, where the labels would land, with its
    // number in the middle.
    const QList<Op> discs = canvas.named("ellipse");
    QCOMPARE(discs.size(), 150);
    QStringList numbers;
    for (int p = 1; p <= 150; ++p) {
        QCOMPARE(discs[p - 1].box, SheetGeometry::place(p, offsets, 600, 600).box);
        QVERIFY(!discs[p - 1].brushSolid);
        numbers << QString::number(p);
    }
    const QStringList texts = canvas.texts();
    QCOMPARE(texts.mid(0, 150), numbers);
    QCOMPARE(texts.size(), 150 + 2 * 10); // and every centimetre of two rulers
    const Op fifty = canvas.named("text")[49];
    QCOMPARE(QPoint(fifty.x, fifty.y),
             QPoint(((discs[49].box.left + discs[49].box.right) - 20) / 2,
                    ((discs[49].box.top + discs[49].box.bottom) - 75) / 2));

    // Crosshairs through the corner discs' centres, longer than the discs.
    const QList<Op> lines = canvas.named("line");
    for (int p : {1, 10, 141, 150}) {
        const DeviceBox box = discs[p - 1].box;
        const int cx = (box.left + box.right) / 2;
        const int cy = (box.top + box.bottom) / 2;
        int crossing = 0;
        for (const Op& line : lines) {
            const DeviceBox& l = line.box;
            if ((l.top == cy && l.bottom == cy && l.left < box.left && l.right > box.right) ||
                (l.left == cx && l.right == cx && l.top < box.top && l.bottom > box.bottom))
                ++crossing;
        }
        QVERIFY2(crossing == 2,
                 qPrintable(QStringLiteral("position %1: %2 lines cross it").arg(p).arg(crossing)));
    }

    // Two rulers of 100 mm (2362 dots at 600 dpi, unscaled), each a line
    // and 101 ticks, the centimetres longest.
    QCOMPARE(lines.size(), 8 + 2 * 102);
    int rulerEnd = 0;
    for (const Op& line : lines.mid(8))
        rulerEnd = std::max({rulerEnd, line.box.right, line.box.bottom});
    QCOMPARE(rulerEnd, 2362);
    const auto tickLength = [&](int i) {
        const DeviceBox& b = lines[8 + i].box;
        return b.right - b.left + b.bottom - b.top;
    };
    // Top ruler: the line, then the ticks at 0, 1, ... mm.
    QCOMPARE(tickLength(1 + 10), 94);
    QVERIFY(tickLength(1 + 5) < tickLength(1 + 10));
    QVERIFY(tickLength(1 + 1) < tickLength(1 + 5));

    // It draws only: the document is the caller's.
    QVERIFY(canvas.documentCalls().isEmpty());
}

void TestTestSheet::paperSheet()
{
    // Two grids measured from the paper, on a printer whose printable area
    // starts 50 and 60 dots into it: every disc, the crosshairs at each
    // grid's corners, and the rulers counting from the paper's corner.
    Sheet sheet;
    sheet.name = QStringLiteral("two grids");
    sheet.paper = {215.9, 279.4};
    sheet.diameter = 19;
    sheet.grids = {{3, 2, {10, 12}, {25, 25}}, {2, 2, {120, 150}, {30, 30}}};
    const SheetGeometry::Offsets offsets{12, 9, 1000, 1000};
    RecordingCanvas canvas;
    canvas.corner = QPoint(-50, -60);
    printTestSheet(canvas, sheet, offsets);

    const QList<Op> discs = canvas.named("ellipse");
    QCOMPARE(discs.size(), 10);
    const SheetDots::Placement placement(sheet, offsets, 600, 600, canvas.corner);
    for (int p = 1; p <= 10; ++p)
        QCOMPARE(discs[p - 1].box, placement.place(p).box);
    QCOMPARE(canvas.named("size").first().fontSize, 7 * 19 / 11.0);

    const QList<Op> lines = canvas.named("line");
    const QList<int> crossed = {1, 3, 4, 6, 7, 8, 9, 10};
    QCOMPARE(sheet.cornerPositions(), crossed);
    for (int i = 0; i < crossed.size(); ++i) {
        const DeviceBox& box = discs[crossed[i] - 1].box;
        QCOMPARE(lines[2 * i].box.top, (box.top + box.bottom) / 2);
        QCOMPARE(lines[2 * i + 1].box.left, (box.left + box.right) / 2);
    }

    // 1 mm is 23.6 dots: the ticks for 0 to 2 mm lie off the printable
    // area; the line runs along its edge, and 100 mm end 2362 dots from the
    // paper's corner.
    const QList<Op> rulers = lines.mid(2 * crossed.size());
    QCOMPARE(rulers.size(), 2 * (1 + 98));
    const Op& top = rulers.first();
    QCOMPARE(top.box, (DeviceBox{0, 1, 2362 - 50, 1}));
    QCOMPARE(rulers[1].box.left, 70 - 50);      // 3 mm
    QCOMPARE(rulers[1 + 7].box.left, 236 - 50); // 10 mm, the first centimetre
    QCOMPARE(rulers[1 + 7].box.bottom - rulers[1 + 7].box.top, 94);
    const Op& left = rulers[99];
    QCOMPARE(left.box, (DeviceBox{1, 0, 1, 2362 - 60}));
    QCOMPARE(rulers[100].box.top, 70 - 60);
}

QTEST_MAIN(TestTestSheet)
#include "tst_testsheet.moc"
