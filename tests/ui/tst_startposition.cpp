#include "core/render/Fonts.h"
#include "ui/ListBox.h"

#include "FullTmpfs.h"
#include "PrintScreenFixture.h"

#include <QSpinBox>
#include <QTest>

// Where a job starts and how the sheet sits in the printer: the sheet map
// clicked or driven from the keyboard, the start position's field, and the
// offsets, each saved to the start file at once.
class TestStartPosition : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void clickingTheMapSetsStartPosition();
    void startFromTheKeyboard_data();
    void startFromTheKeyboard();
    void focusFrames_data();
    void focusFrames();
    void offsetsSaveAtOnce();
    void fullDiskKeepsOldFileAndNewValues();
};

void TestStartPosition::clickingTheMapSetsStartPosition()
{
    PrintScreenFixture s;
    s.f.w().show();
    s.printSet();
    QWidget* area = s.pc.sheetMap->clickArea();
    QTest::mouseMove(area, QPoint(72, 70));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(72, 70));
    QCOMPARE(s.f.state().start.startPosition, 25);
    QCOMPARE(s.f.dir.startFile(), QByteArray("10,10,25\r\n\r\n"));
    QCOMPARE(s.pc.sheetMap->colorAt(24), QColor(128, 128, 128));
    QCOMPARE(s.pc.sheetMap->colorAt(25), QColor(255, 0, 0));
    QCOMPARE(s.pc.sheetMap->colorAt(54), QColor(255, 0, 0));
    QCOMPARE(s.pc.sheetMap->colorAt(55), QColor(255, 255, 255));
    QCOMPARE(s.pc.startPositionBox->value(), 25);

    // Between circles and beside the bands nothing happens.
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(165, 70));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(72, 35));
    QCOMPARE(s.f.state().start.startPosition, 25);

    // A start far down the sheet makes two sheets; clicks on sheet 2 count not.
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(148, 360));
    QCOMPARE(s.f.state().start.startPosition, 150);
    QCOMPARE(s.pc.sheetList->count(), 2);
    clickRow(s.pc.sheetList, 1);
    QCOMPARE(s.pc.sheetMap->colorAt(29), QColor(255, 0, 0));
    QCOMPARE(s.pc.sheetMap->colorAt(30), QColor(255, 255, 255));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(12, 20));
    QCOMPARE(s.f.state().start.startPosition, 150);
}

void TestStartPosition::startFromTheKeyboard_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("sheet"); // the sheet shown
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("expected");

    const QList<int> none;
    QTest::newRow("typed, Enter") << 1 << 1 << "field"
                                  << "25" << QList<int>{Qt::Key_Return} << 25;
    QTest::newRow("typed, Tab away") << 7 << 1 << "field"
                                     << "150" << QList<int>{Qt::Key_Tab} << 150;
    QTest::newRow("typed, not confirmed") << 7 << 1 << "field"
                                          << "25" << none << 7;
    QTest::newRow("0 refused") << 7 << 1 << "field"
                               << "0" << QList<int>{Qt::Key_Return} << 7;
    QTest::newRow("151 cut to 15") << 7 << 1 << "field"
                                   << "151" << QList<int>{Qt::Key_Return} << 15;
    QTest::newRow("field arrows") << 7 << 1 << "field"
                                  << "" << QList<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Down} << 8;
    QTest::newRow("map right and down")
        << 7 << 1 << "map"
        << "" << QList<int>{Qt::Key_Right, Qt::Key_Down, Qt::Key_Down} << 28;
    QTest::newRow("map left over the row end") << 11 << 1 << "map"
                                               << "" << QList<int>{Qt::Key_Left, Qt::Key_Up} << 10;
    QTest::newRow("map stays on the sheet") << 145 << 2 << "map"
                                            << "" << QList<int>{Qt::Key_Right} << 145;
    QTest::newRow("map top and bottom edges") << 5 << 1 << "map"
                                              << "" << QList<int>{Qt::Key_Up, Qt::Key_Left} << 4;
    QTest::newRow("map last position")
        << 145 << 1 << "map"
        << "" << QList<int>{Qt::Key_Down, Qt::Key_Right, Qt::Key_Right} << 147;
}

void TestStartPosition::startFromTheKeyboard()
{
    QFETCH(int, start);
    QFETCH(int, sheet);
    QFETCH(QString, target);
    QFETCH(QString, typed);
    QFETCH(QList<int>, keys);
    QFETCH(int, expected);
    MainFixture f(QStringLiteral("10,10,%1\r\n\r\n").arg(start).toLatin1());
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    f.dir.writeStartFile("untouched");
    QTest::keyClick(f.w().design().controls().printSetButton, Qt::Key_Space);
    const PrintControls& pc = f.w().printScreen().controls();
    // PrintSet shows the start without choosing it again, and the map has the focus.
    QCOMPARE(pc.startPositionBox->value(), start);
    QCOMPARE(f.dir.startFile(), QByteArray("untouched"));
    QCOMPARE(QApplication::focusWidget(), pc.sheetMap);
    if (sheet == 2)
        chooseRow(pc.sheetList, 1);

    QWidget* widget = target == "map" ? static_cast<QWidget*>(pc.sheetMap) : pc.startPositionBox;
    widget->setFocus(Qt::TabFocusReason);
    if (!typed.isEmpty()) {
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(widget, typed);
    }
    for (int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    QCOMPARE(f.state().start.startPosition, expected);
    QCOMPARE(f.dir.startFile(), expected == start
                                    ? QByteArray("untouched")
                                    : QStringLiteral("10,10,%1\r\n\r\n").arg(expected).toLatin1());
    if (!typed.isEmpty() && keys.isEmpty())
        return; // still being typed
    QCOMPARE(pc.startPositionBox->value(), expected);
    if (sheet == 1) {
        QCOMPARE(pc.sheetMap->colorAt(expected), QColor(255, 0, 0));
        if (expected > 1)
            QCOMPARE(pc.sheetMap->colorAt(expected - 1), QColor(128, 128, 128));
    }
}

void TestStartPosition::focusFrames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("band"); // in the highlight colour, from the left middle
    QTest::addColumn<QPoint>("line"); // in the base colour inside it, or none
    QTest::newRow("sheet map") << "sheetMap" << QPoint(45, 0) << QPoint(-1, -1);
    QTest::newRow("number list") << "sheetList" << QPoint(1, 0) << QPoint(2, 0);
    QTest::newRow("colour list") << "textColourList" << QPoint(1, 0) << QPoint(2, 0);
    QTest::newRow("one-letter list") << "type2LetterList" << QPoint(1, 0) << QPoint(2, 0);
}

void TestStartPosition::focusFrames()
{
    QFETCH(QString, name);
    QFETCH(QPoint, band);
    QFETCH(QPoint, line);
    PrintScreenFixture s;
    s.f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&s.f.w()));
    s.chooseType(2);
    s.printSet();
    auto* widget = s.f.w().findChild<QWidget*>(name);
    if (!widget->isVisible())
        s.back();
    auto* list = qobject_cast<ListBox*>(widget);
    QWidget* painted = list ? list->viewport() : widget;
    const QPoint middle(0, painted->height() / 2);
    const QColor highlight = widget->palette().color(QPalette::Highlight);
    const QColor base = widget->palette().color(QPalette::Base);
    auto focusLook = [&] {
        const QImage image = painted->grab().toImage();
        return image.pixelColor(band + middle) == highlight &&
               (line.x() < 0 || image.pixelColor(line + middle) == base);
    };

    (s.onPrintScreen() ? s.pc.printButton : s.dc.printSetButton)->setFocus(Qt::TabFocusReason);
    QVERIFY(!widget->hasFocus());
    QVERIFY(!focusLook());
    widget->setFocus(Qt::TabFocusReason);
    QVERIFY(widget->hasFocus());
    QVERIFY(focusLook());
}

void TestStartPosition::offsetsSaveAtOnce()
{
    PrintScreenFixture s;
    s.printSet();
    clickRow(s.pc.horizontalOffsetList, 0);
    QCOMPARE(s.f.state().start.horzOffsetIndex, 0);
    QCOMPARE(s.f.dir.startFile(), QByteArray("0,10,1\r\n\r\n"));
    clickRow(s.pc.verticalOffsetList, 20);
    QCOMPARE(s.f.dir.startFile(), QByteArray("0,20,1\r\n\r\n"));

    // PrintSet restores the lists from the state without saving anything.
    s.back();
    s.f.dir.writeStartFile("untouched");
    s.printSet();
    QCOMPARE(s.pc.horizontalOffsetList->currentRow(), 0);
    QCOMPARE(s.pc.verticalOffsetList->currentRow(), 20);
    QCOMPARE(s.f.dir.startFile(), QByteArray("untouched"));
}

void TestStartPosition::fullDiskKeepsOldFileAndNewValues()
{
    FullTmpfs disk;
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    const QByteArray before = "10,10,1\r\nnote\r\n";
    QFile start(disk.filePath("start.txt"));
    QVERIFY(start.open(QIODevice::WriteOnly) && start.write(before) == before.size());
    start.close();
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, disk.path(), fixedNow);
    w.show();
    QTest::mouseClick(w.design().controls().printSetButton, Qt::LeftButton);
    QVERIFY(disk.fill());

    clickRow(w.printScreen().controls().horizontalOffsetList, 3);
    QCOMPARE(w.state().start.horzOffsetIndex, 3);
    QCOMPARE(dialogs.count("error"), 1);
    QVERIFY2(dialogs.texts("error").first().contains(FullTmpfs::reason()),
             qPrintable(dialogs.texts("error").first()));
    QVERIFY(start.open(QIODevice::ReadOnly));
    QCOMPARE(start.readAll(), before);
    // No temporary is left beside the files that belong there.
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"filler", "registry.sqlite", "registry.sqlite-shm", "registry.sqlite-wal",
                          "rondelmaker.lock", "start.txt"}));

    // A start position whose save failed is still the one the job will use,
    // and the map shows it.
    QWidget* area = w.printScreen().controls().sheetMap->clickArea();
    QTest::mouseMove(area, QPoint(72, 70));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(72, 70));
    QCOMPARE(dialogs.count("error"), 2);
    QCOMPARE(w.state().start.startPosition, 25);
    QCOMPARE(w.printScreen().controls().sheetMap->colorAt(24), QColor(128, 128, 128));
    QCOMPARE(w.printScreen().controls().sheetMap->colorAt(25), QColor(255, 0, 0));
}

QTEST_MAIN(TestStartPosition)
#include "tst_startposition.moc"
