#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/Fonts.h"
#include "ui/CircleShape.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "ui/SampleLabel.h"
#include "ui/SheetMap.h"

#include "FullTmpfs.h"
#include "MainFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTest>

namespace {

struct Screen {
    MainFixture f;
    const DesignControls& dc;
    const PrintControls& pc;
    Screen() : dc(f.w().design().controls()), pc(f.w().printScreen().controls()) {}

    void chooseType(int type)
    {
        // Through the other page, so that the type's handler runs even for
        // the start type.
        dc.typeButton[type == 1 ? 2 : 1]->click();
        dc.typeButton[type]->click();
    }
    void chooseSamples(int samples)
    {
        clickRow(dc.sampleCountList, samples - 1);
    }
    void chooseRepeats(int repeats)
    {
        clickRow(dc.repeatCountList, repeats - 1);
    }
    void chooseFirst(int first)
    {
        clickRow(dc.firstNumberList, first);
    }
    void printSet() { QTest::mouseClick(dc.printSetButton, Qt::LeftButton); }
    QString sample() const { return pc.sampleLabel->upper() + "/" + pc.sampleLabel->lower(); }
    // The sample as drawn: a point of the disc clear of the texts (at the
    // top, inside the frame's ring when there is one), and the frame's inside.
    QColor disc() const
    {
        const QRect d = pc.sampleLabel->discRect();
        return pc.sampleLabel->image().pixelColor(d.center().x(), d.top() + d.height() / 14);
    }
    QColor insideFrame() const
    {
        const QRect d = pc.sampleLabel->discRect();
        return pc.sampleLabel->image().pixelColor(d.center().x(), d.top() + d.height() / 4);
    }
    bool inked(const QColor& color) const
    {
        const QImage& image = pc.sampleLabel->image();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == color)
                    return true;
        return false;
    }
    bool onPrintScreen() { return f.w().screen() == MainWindow::Screen::Print; }
    int redCircles() const
    {
        int n = 0;
        for (int p = 1; p <= 150; ++p)
            n += pc.sheetMap->colorAt(p) == QColor(255, 0, 0) ? 1 : 0;
        return n;
    }
};

} // namespace

class TestPrintScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void sampleLabelShowsFirstLabel_data();
    void sampleLabelShowsFirstLabel();
    void labelLimit();
    void freeTextsStopAtFirstEmptyLine();
    void numberingStaysLiveOnPrintScreen();
    void dateComesFromTheClockAtPrintSet();
    void clickingTheMapSetsStartPosition();
    void startFromTheKeyboard_data();
    void startFromTheKeyboard();
    void focusFrames_data();
    void focusFrames();
    void offsetsSaveAtOnce();
    void fullDiskKeepsOldFileAndNewValues();
    void customBackground();
    void frameAndBackgrounds();
    void codeOnTheSample();
    void rainbow();
    void labelFont();
};

void TestPrintScreen::sampleLabelShowsFirstLabel_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("upperInput");
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("plain");
    QTest::addColumn<QString>("expected");

    QTest::newRow("type1") << 1 << "ABCDEFG" << 42 << false << "ABCDE/0042";
    QTest::newRow("type1 full width cut whole") << 1 << "ＡＢＣ" << 5 << true << "ＡＢ/5";
    QTest::newRow("type1 markup shown as typed") << 1 << "<b>x" << 1 << false << "<b>x/0001";
    QTest::newRow("type2") << 2 << "PCR" << 7 << false << "PCR/A007";
    QTest::newRow("type3 plain") << 3 << "" << 7 << true << "/BC7";
    QTest::newRow("type3 padded") << 3 << "" << 7 << false << "/BC07";
    QTest::newRow("type4") << 4 << "" << 9 << false << "12/08/0009";
    QTest::newRow("type5") << 5 << "" << 9 << true << "26|12/9";
    QTest::newRow("type6") << 6 << "" << 9 << false << "26|12/A009";
    QTest::newRow("type7") << 7 << "" << 9 << false << "12/08/A009";
    QTest::newRow("type8") << 8 << "上段\n下段" << 0 << false << "上段/下段";
    QTest::newRow("type9") << 9 << "RUN" << 0 << false << "RUN/A1";
    QTest::newRow("type10") << 10 << "RUN" << 0 << false << "RUN/AA1";
    QTest::newRow("type11") << 11 << "" << 0 << false << "12/08/A1";
    QTest::newRow("type12") << 12 << "" << 0 << false << "26|12/A1";
}

void TestPrintScreen::sampleLabelShowsFirstLabel()
{
    QFETCH(int, type);
    QFETCH(QString, upperInput);
    QFETCH(int, first);
    QFETCH(bool, plain);
    Screen s;
    s.chooseType(type);
    if (type <= 7)
        s.chooseFirst(first);
    if (plain)
        s.dc.plainNumbersAction->trigger();
    if (type == 3) {
        chooseRow(s.dc.letters(LetterList::Type3First), 1);
        chooseRow(s.dc.letters(LetterList::Type3Second), 2);
    }
    QLineEdit* edits[13] = {nullptr,
                            s.dc.upperEdit[1],
                            s.dc.upperEdit[2],
                            s.dc.upperEdit[3],
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            nullptr,
                            s.dc.upperEdit[9],
                            s.dc.upperEdit[10]};
    if (type <= 10 && edits[type])
        edits[type]->setText(upperInput);
    if (type == 8)
        s.dc.type8Memo->setPlainText(upperInput);
    if (type >= 9)
        s.dc.freeTextMemo->setPlainText(QStringLiteral("A1\nA2"));

    s.printSet();
    QVERIFY(s.onPrintScreen());
    QTEST(s.sample(), "expected");
    QCOMPARE(s.sample(), composeLabelTexts(s.f.state().run, 0).upper + "/" +
                             composeLabelTexts(s.f.state().run, 0).lower);
}

void TestPrintScreen::labelLimit()
{
    Screen s;
    s.chooseSamples(240);
    s.chooseRepeats(5);
    s.printSet();
    QVERIFY(s.onPrintScreen());
    QCOMPARE(s.f.state().run.labelTotal(), 1200);
    QCOMPARE(s.f.w().printScreen().sheetCount(), 8);
    QVERIFY(s.f.dialogs.calls.isEmpty());

    s.f.w().backToDesign();
    s.chooseSamples(401);
    s.chooseRepeats(3);
    const QColor before = s.pc.sheetMap->colorAt(150);
    s.printSet();
    QCOMPARE(s.f.dialogs.texts("message"),
             QStringList{QStringLiteral(
                 "プリントラベル数は合計で１２００枚までです。枚数をお下げ下さい。")});
    QVERIFY(!s.onPrintScreen());
    QCOMPARE(s.f.state().run.labelTotal(), 1200);
    QCOMPARE(s.f.w().printScreen().sheetCount(), 8);
    QCOMPARE(s.pc.sheetList->count(), 8);
    QCOMPARE(s.pc.sheetMap->colorAt(150), before);
}

void TestPrintScreen::freeTextsStopAtFirstEmptyLine()
{
    Screen s;
    s.chooseType(9);
    s.dc.freeTextMemo->setPlainText(QStringLiteral("A1\nA2\n\nA4"));
    s.printSet();
    QCOMPARE(s.f.state().run.sampleCount, 2);
    QCOMPARE(s.f.state().run.freeTexts, (QStringList{"A1", "A2"}));

    s.f.w().backToDesign();
    s.dc.freeTextMemo->setPlainText(QStringLiteral("\nB2"));
    s.printSet();
    QVERIFY(s.onPrintScreen());
    QCOMPARE(s.f.state().run.labelTotal(), 0);
    QCOMPARE(s.pc.sampleLabel->lower(), QString());
    QCOMPARE(s.redCircles(), 0);

    s.f.w().backToDesign();
    QStringList lines;
    for (int i = 1; i <= 61; ++i)
        lines << QString::number(i);
    s.dc.freeTextMemo->setPlainText(lines.join('\n'));
    s.printSet();
    QCOMPARE(s.f.state().run.sampleCount, 60);
    QCOMPARE(s.f.state().run.freeTexts.last(), QStringLiteral("60"));
}

void TestPrintScreen::numberingStaysLiveOnPrintScreen()
{
    Screen s;
    s.chooseFirst(7);
    s.printSet();
    QCOMPARE(s.pc.sampleLabel->lower(), QStringLiteral("0007"));
    s.dc.plainNumbersAction->trigger();
    QCOMPARE(s.pc.sampleLabel->lower(), QStringLiteral("7"));
    QVERIFY(s.f.state().run.plainNumbers);
    s.dc.stepActions[2]->trigger();
    QCOMPARE(s.f.state().run.step, 3);
    QCOMPARE(composeLabelTexts(s.f.state().run, 1).lower, QStringLiteral("10"));
}

void TestPrintScreen::dateComesFromTheClockAtPrintSet()
{
    // A window left open over midnight prints the new day's date.
    QDateTime now(QDate(2026, 12, 31), QTime(23, 59));
    MainFixture f("10,10,1\r\n\r\n", [&now] { return now; });
    f.w().design().controls().typeButton[4]->click();
    now = now.addSecs(120);
    QTest::mouseClick(f.w().design().controls().printSetButton, Qt::LeftButton);
    QCOMPARE(f.w().printScreen().controls().sampleLabel->upper(), QStringLiteral("01/01"));
}

void TestPrintScreen::clickingTheMapSetsStartPosition()
{
    Screen s;
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
    s.pc.sheetList->setCurrentIndex(s.pc.sheetList->model()->index(1, 0)); // as a user does
    QCOMPARE(s.pc.sheetMap->colorAt(29), QColor(255, 0, 0));
    QCOMPARE(s.pc.sheetMap->colorAt(30), QColor(255, 255, 255));
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(12, 20));
    QCOMPARE(s.f.state().start.startPosition, 150);
}

void TestPrintScreen::startFromTheKeyboard_data()
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

void TestPrintScreen::startFromTheKeyboard()
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

void TestPrintScreen::focusFrames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("band"); // in the highlight colour, from the left middle
    QTest::addColumn<QPoint>("line"); // in the base colour inside it, or none
    QTest::newRow("sheet map") << "sheetMap" << QPoint(45, 0) << QPoint(-1, -1);
    QTest::newRow("number list") << "sheetList" << QPoint(1, 0) << QPoint(2, 0);
    QTest::newRow("colour list") << "textColourList" << QPoint(1, 0) << QPoint(2, 0);
    QTest::newRow("one-letter list") << "type2LetterList" << QPoint(1, 0) << QPoint(2, 0);
}

void TestPrintScreen::focusFrames()
{
    QFETCH(QString, name);
    QFETCH(QPoint, band);
    QFETCH(QPoint, line);
    Screen s;
    s.f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&s.f.w()));
    s.chooseType(2);
    s.printSet();
    auto* widget = s.f.w().findChild<QWidget*>(name);
    if (!widget->isVisible())
        s.f.w().backToDesign();
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

void TestPrintScreen::offsetsSaveAtOnce()
{
    Screen s;
    s.printSet();
    s.pc.horizontalOffsetList->setCurrentIndex(s.pc.horizontalOffsetList->model()->index(0, 0));
    QCOMPARE(s.f.state().start.horzOffsetIndex, 0);
    QCOMPARE(s.f.dir.startFile(), QByteArray("0,10,1\r\n\r\n"));
    s.pc.verticalOffsetList->setCurrentIndex(s.pc.verticalOffsetList->model()->index(20, 0));
    QCOMPARE(s.f.dir.startFile(), QByteArray("0,20,1\r\n\r\n"));

    // PrintSet restores the lists from the state without saving anything.
    s.f.w().backToDesign();
    s.f.dir.writeStartFile("untouched");
    s.printSet();
    QCOMPARE(s.pc.horizontalOffsetList->currentRow(), 0);
    QCOMPARE(s.pc.verticalOffsetList->currentRow(), 20);
    QCOMPARE(s.f.dir.startFile(), QByteArray("untouched"));
}

void TestPrintScreen::fullDiskKeepsOldFileAndNewValues()
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

    ListBox* horz = w.printScreen().controls().horizontalOffsetList;
    const QModelIndex row = horz->model()->index(3, 0);
    horz->scrollTo(row);
    QTest::mouseClick(horz->viewport(), Qt::LeftButton, {}, horz->visualRect(row).center());
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

void TestPrintScreen::customBackground()
{
    Screen s;
    s.f.w().show();
    s.printSet();
    const QColor lightGreen(144, 238, 144);
    auto selectBackground = [&s](int row) {
        s.pc.backgroundColourList->setCurrentIndex(
            s.pc.backgroundColourList->model()->index(row, 0));
    };

    // Cancelled before any choice: back to the entry in effect.
    selectBackground(Colours::CustomIndex);
    QCOMPARE(s.f.dialogs.count("chooseColor"), 1);
    QCOMPARE(s.pc.backgroundColourList->currentRow(), 0);
    QCOMPARE(s.f.state().design.look.backgroundColor(), QColor(255, 255, 255));
    QCOMPARE(s.disc(), QColor(255, 255, 255));

    // Confirmed, then chosen again and cancelled: the confirmed colour stays.
    s.f.dialogs.colorAnswers << lightGreen;
    selectBackground(Colours::CustomIndex);
    QCOMPARE(s.disc(), lightGreen);
    const QRect custom =
        s.pc.backgroundColourList->visualRect(s.pc.backgroundColourList->model()->index(8, 0));
    QTest::mouseClick(s.pc.backgroundColourList->viewport(), Qt::LeftButton, {}, custom.center());
    QCOMPARE(s.f.dialogs.count("chooseColor"), 3);
    QCOMPARE(s.f.dialogs.lastColorInitial, lightGreen);
    QCOMPARE(s.pc.backgroundColourList->currentRow(), 8);
    QCOMPARE(s.f.state().design.look.backgroundColor(), lightGreen);

    // PrintSet resets to black on white, without asking.
    s.f.w().backToDesign();
    s.printSet();
    QCOMPARE(s.f.dialogs.count("chooseColor"), 3);
    QCOMPARE(s.pc.backgroundColourList->currentRow(), 0);
    QVERIFY(s.inked(QColor(5, 5, 5)));
}

void TestPrintScreen::frameAndBackgrounds()
{
    Screen s;
    s.f.w().show();
    s.printSet();
    QTest::mouseClick(s.pc.frameCheck, Qt::LeftButton);
    s.pc.backgroundColourList->setCurrentIndex(
        s.pc.backgroundColourList->model()->index(5, 0)); // Red
    QCOMPARE(s.disc(), QColor(255, 0, 0));
    QCOMPARE(s.insideFrame(), QColor(255, 255, 255)); // the texts stand on white

    s.f.dialogs.colorAnswers << QColor(10, 20, 30);
    s.pc.backgroundColourList->setCurrentIndex(s.pc.backgroundColourList->model()->index(8, 0));
    QTest::mouseClick(s.pc.frameCheck, Qt::LeftButton);
    QCOMPARE(s.insideFrame(), QColor(10, 20, 30));

    s.pc.textColourList->setCurrentIndex(s.pc.textColourList->model()->index(2, 0)); // Blue
    QVERIFY(s.inked(QColor(0, 0, 255)));
}

void TestPrintScreen::codeOnTheSample()
{
    Screen s;
    s.f.w().show();
    s.printSet();
    s.pc.textColourList->setCurrentIndex(s.pc.textColourList->model()->index(2, 0)); // Blue
    QVERIFY(!s.inked(Qt::black));
    QTest::mouseClick(s.pc.codeCheck, Qt::LeftButton);
    QCOMPARE(s.f.w().state().design.look.code, LabelCode::DataMatrix);
    QVERIFY(s.inked(Qt::black)); // the code is black whatever the text's colour
    // The frame's ring stays outside the lines, which reach further out.
    const auto blue = [&s] {
        const QImage image = s.pc.sampleLabel->image().convertToFormat(QImage::Format_RGB32);
        return std::count(reinterpret_cast<const QRgb*>(image.constBits()),
                          reinterpret_cast<const QRgb*>(image.constBits()) + image.sizeInBytes() / 4,
                          qRgb(0, 0, 255));
    };
    const auto plain = blue();
    QTest::mouseClick(s.pc.frameCheck, Qt::LeftButton);
    QCOMPARE(blue(), plain);
    QTest::mouseClick(s.pc.frameCheck, Qt::LeftButton);

    // The design keeps it through another PrintSet.
    QTest::mouseClick(s.f.w().controls().backButton, Qt::LeftButton);
    s.printSet();
    QVERIFY(s.pc.codeCheck->isChecked());
    QTest::mouseClick(s.pc.codeCheck, Qt::LeftButton);
    QCOMPARE(s.f.w().state().design.look.code, LabelCode::None);
}

void TestPrintScreen::rainbow()
{
    Screen s;
    s.printSet();
    QVERIFY(!s.pc.rainbowCheck->isVisibleTo(&s.f.w()));
    s.f.w().backToDesign();
    s.chooseRepeats(2);
    s.printSet();
    QVERIFY(s.pc.rainbowCheck->isVisibleTo(&s.f.w()));
    QVERIFY(!s.pc.rainbowCheck->isChecked());

    s.pc.textColourList->setCurrentIndex(s.pc.textColourList->model()->index(1, 0)); // Red
    s.pc.rainbowCheck->click();
    QCOMPARE(s.pc.textColourList->currentRow(), 0);
    QVERIFY(!s.pc.textColourList->isEnabled());
    QVERIFY(!s.pc.backgroundColourList->isEnabled());
    QVERIFY(s.inked(QColor(5, 5, 5)));       // the sample shows what prints
    QCOMPARE(s.disc(), QColor(255, 255, 0)); // the first label's rainbow colour
    QVERIFY(s.f.state().design.look.rainbow);
    s.pc.rainbowCheck->click();
    QVERIFY(s.pc.textColourList->isEnabled());
    QCOMPARE(s.pc.textColourList->currentRow(), 0);

    // PrintSet clears the tick and enables the lists again.
    s.pc.rainbowCheck->click();
    s.f.w().backToDesign();
    s.printSet();
    QVERIFY(!s.pc.rainbowCheck->isChecked());
    QVERIFY(s.pc.backgroundColourList->isEnabled());
}

void TestPrintScreen::labelFont()
{
    Screen s;
    s.printSet();
    s.f.state().design.look.font.setItalic(true);
    s.pc.fontAction->trigger(); // cancelled
    QCOMPARE(s.f.dialogs.lastFontInitial.pointSize(), 9);
    QVERIFY(s.f.dialogs.lastFontInitial.bold());
    QVERIFY(!s.f.dialogs.lastFontInitial.italic());
    QVERIFY(s.f.state().design.look.font.italic());

    QFont chosen(QStringLiteral("IPAGothic"));
    chosen.setPointSize(12);
    chosen.setItalic(true);
    s.f.dialogs.fontAnswers << chosen;
    const QImage before = s.pc.sampleLabel->image();
    s.pc.fontAction->trigger();
    QCOMPARE(s.f.state().design.look.font, chosen);
    QCOMPARE(s.f.state().design.look.font.pointSize(), 12);
    QVERIFY(s.pc.sampleLabel->image() != before); // drawn in the label font, as printed
}

QTEST_MAIN(TestPrintScreen)
#include "tst_printscreen.moc"
