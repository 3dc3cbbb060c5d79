#include "ui/SheetMap.h"

#include <QTest>

// The sheet map's click bands: which position a click at a point of the
// click area picks.
class TestSheetMap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clickBands_data();
    void clickBands();
};

void TestSheetMap::clickBands_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("position");

    QTest::newRow("row 3 column 5") << 72 << 70 << 25;
    QTest::newRow("left of column 1") << 9 << 20 << 0;
    QTest::newRow("column 1 left edge") << 10 << 16 << 1;
    QTest::newRow("column 1 right edge") << 24 << 29 << 1;
    QTest::newRow("column 2 left edge") << 25 << 16 << 2;
    QTest::newRow("column 9 circle picks column 10") << 148 << 16 << 10;
    QTest::newRow("column 10 right edge") << 159 << 16 << 10;
    QTest::newRow("column 10 circle right of the bands") << 165 << 16 << 0;
    QTest::newRow("above row 1") << 12 << 15 << 0;
    QTest::newRow("between rows 1 and 2") << 12 << 30 << 0;
    QTest::newRow("row 9 bottom") << 12 << 221 << 81;
    QTest::newRow("row 10 starts a pixel lower") << 12 << 232 << 0;
    QTest::newRow("row 10 top") << 12 << 233 << 91;
    QTest::newRow("row 15 bottom") << 159 << 366 << 150;
    QTest::newRow("below row 15") << 159 << 367 << 0;
}

void TestSheetMap::clickBands()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QTEST(SheetMap::positionAt(x, y), "position");
}

QTEST_MAIN(TestSheetMap)
#include "tst_sheetmap.moc"
