#include "ui/SheetMap.h"

#include <QSignalSpy>
#include <QTest>

// The sheet map's click bands: which position a click at a point of the
// click area picks.
class TestSheetMap : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clickBands_data();
    void clickBands();
    void otherSheetsFillTheRoom();
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

void TestSheetMap::otherSheetsFillTheRoom()
{
    // 13 x 18 on A4, and a Letter sheet of 8 x 10 large discs: every circle
    // in the map, apart from the others, picked by a click on it and by
    // nothing between; a row down is a row of the sheet.
    const Sheet sheets[] = {
        {"13 x 18", QSizeF(210, 297), 12, {{13, 18, {9, 15}, {15, 15}}}},
        {"8 x 10", QSizeF(215.9, 279.4), 19, {{8, 10, {12, 15}, {25, 25}}}},
    };
    for (const Sheet& sheet : sheets) {
        SheetMap map;
        map.resize(289, 425);
        map.showSheet(sheet);
        const QPoint area = map.clickArea()->pos();
        for (int p = 1; p <= sheet.positions(); ++p) {
            const QRectF circle = map.circleRect(p);
            QVERIFY(map.rect().contains(circle.toAlignedRect()));
            QVERIFY(map.clickArea()->geometry().contains(circle.center().toPoint()));
            if (p > 1)
                QVERIFY(!circle.intersects(map.circleRect(p - 1).adjusted(1, 1, -1, -1)));
            const QPoint centre = circle.center().toPoint() - area;
            QCOMPARE(map.pick(centre.x(), centre.y()), p);
        }
        QCOMPARE(map.pick(-40, -40), 0);
        QCOMPARE(map.colorAt(sheet.positions()), QColor(Qt::white));
        QSignalSpy stepped(&map, &SheetMap::startStepped);
        QTest::keyClick(&map, Qt::Key_Down);
        QCOMPARE(stepped.value(0).value(0).toInt(), sheet.grids[0].columns);
    }
}

QTEST_MAIN(TestSheetMap)
#include "tst_sheetmap.moc"
