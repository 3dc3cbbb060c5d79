#include "core/layout/SheetLayout.h"
#include "core/model/Colours.h"

#include <QTest>

using SheetLayout::Mark;

namespace {

// "1-24:U 25-54:P 55-150:F": runs of equal marks, to compare sheets at a glance.
QString runs(const std::array<Mark, 151>& marks)
{
    QStringList out;
    int from = 1;
    for (int p = 2; p <= 151; ++p) {
        if (p == 151 || marks[p] != marks[from]) {
            const char tag = marks[from] == Mark::Used      ? 'U'
                             : marks[from] == Mark::Printed ? 'P'
                                                            : 'F';
            out << QStringLiteral("%1-%2:%3").arg(from).arg(p - 1).arg(QLatin1Char(tag));
            from = p;
        }
    }
    return out.join(' ');
}

} // namespace

class TestSheetLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countsAndColoursSheets_data();
    void countsAndColoursSheets();
    void everyLabelGetsOnePositionOnce();
    void colourTables();
};

void TestSheetLayout::countsAndColoursSheets_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("sheets");
    QTest::addColumn<int>("sheet");
    QTest::addColumn<QString>("marks");

    QTest::newRow("30 from 1") << 1 << 30 << 1 << 1 << "1-30:P 31-150:F";
    QTest::newRow("30 from 25") << 25 << 30 << 1 << 1 << "1-24:U 25-54:P 55-150:F";
    QTest::newRow("30 from 121") << 121 << 30 << 1 << 1 << "1-120:U 121-150:P";
    QTest::newRow("none") << 40 << 0 << 1 << 1 << "1-39:U 40-150:F";
    QTest::newRow("one from 150") << 150 << 1 << 1 << 1 << "1-149:U 150-150:P";
    QTest::newRow("150 from 1") << 1 << 150 << 1 << 1 << "1-150:P";
    QTest::newRow("150 from 2, first") << 2 << 150 << 2 << 1 << "1-1:U 2-150:P";
    QTest::newRow("150 from 2, second") << 2 << 150 << 2 << 2 << "1-1:P 2-150:F";
    QTest::newRow("151 from 1, second") << 1 << 151 << 2 << 2 << "1-1:P 2-150:F";
    QTest::newRow("100 from 100, first") << 100 << 100 << 2 << 1 << "1-99:U 100-150:P";
    QTest::newRow("100 from 100, second") << 100 << 100 << 2 << 2 << "1-49:P 50-150:F";
    QTest::newRow("1200 from 150, middle") << 150 << 1200 << 9 << 5 << "1-150:P";
    QTest::newRow("1200 from 150, last") << 150 << 1200 << 9 << 9 << "1-149:P 150-150:F";
    QTest::newRow("1200 from 1, last") << 1 << 1200 << 8 << 8 << "1-150:P";
    QTest::newRow("no sheet selected") << 1 << 30 << 1 << 0 << "1-150:P";
}

void TestSheetLayout::countsAndColoursSheets()
{
    QFETCH(int, start);
    QFETCH(int, total);
    QFETCH(int, sheet);
    QTEST(SheetLayout::countSheets(start, total), "sheets");
    QTEST(runs(SheetLayout::showSheet(sheet, start, total)), "marks");
}

void TestSheetLayout::everyLabelGetsOnePositionOnce()
{
    // Across all sheets of a job, the printed positions are exactly the
    // labels, and the job's sheet ranges agree with the map, on the built-in
    // sheet (whose forms without a sheet say the same) and on one of 234.
    Sheet a4;
    a4.grids = {{13, 18, {}, {15, 15}}};
    for (const Sheet& paper : {Sheet::builtIn(), a4}) {
        const int n = paper.positions();
        for (int start : {1, 2, 75, 100, 121, 149, 150, n}) {
            for (int total : {0, 1, 29, 149, 150, 151, 299, 300, 1001, 1051, 1200}) {
                const int sheets = SheetLayout::countSheets(paper, start, total);
                int printed = 0;
                for (int sheet = 1; sheet <= sheets; ++sheet) {
                    const auto marks = SheetLayout::showSheet(paper, sheet, start, total);
                    const auto range = SheetLayout::sheetRange(paper, sheet, sheets, start, total);
                    QCOMPARE(int(marks.size()), n + 1);
                    for (int p = 1; p <= n; ++p) {
                        const bool inRange = total > 0 && p >= range.first && p <= range.last;
                        QCOMPARE(marks[p] == Mark::Printed, inRange);
                        printed += inRange ? 1 : 0;
                    }
                    if (n == SheetLayout::Positions) {
                        const auto old = SheetLayout::showSheet(sheet, start, total);
                        QVERIFY(std::equal(marks.begin(), marks.end(), old.begin()));
                    }
                }
                QCOMPARE(printed, total);
                const int next = SheetLayout::nextStartPosition(paper, start, total);
                QCOMPARE(next, (start - 1 + total) % n + 1);
            }
        }
    }
}

void TestSheetLayout::colourTables()
{
    using namespace Colours;
    QCOMPARE(textColorOf(0), QColor(5, 5, 5));
    QCOMPARE(textColorOf(3), QColor(0, 128, 0));
    QCOMPARE(backgroundColorOf(2, Qt::black), QColor(166, 202, 240));
    QCOMPARE(backgroundColorOf(CustomIndex, QColor(1, 2, 3)), QColor(1, 2, 3));
    // Written 0xF0FBFF in blue-green-red order: red FF, green FB, blue F0.
    QCOMPARE(rainbowByRepeat(4, 5), QColor(0xFF, 0xFB, 0xF0));
    QCOMPARE(rainbowByRepeat(0, 3), QColor(255, 255, 0));
    QCOMPARE(rainbowByRepeat(4, 3), QColor(0, 255, 255));
    QCOMPARE(rainbowBySampleGroup(3 * 10, 10), QColor(0xEA, 0x95, 0x15));
    // Past the end of a table the colours start over instead of leaving
    // the previous label's fill.
    QCOMPARE(rainbowByRepeat(5, 6), rainbowByRepeat(0, 6));
    QCOMPARE(rainbowBySampleGroup(7 * 4, 4), rainbowBySampleGroup(0, 4));
    QCOMPARE(sheetTextColorOf(7), 11);
    QCOMPARE(sheetBackColorOf(2), 30);
    QCOMPARE(sheetBackColorOf(CustomIndex), -1);
}

QTEST_GUILESS_MAIN(TestSheetLayout)
#include "tst_sheetlayout.moc"
