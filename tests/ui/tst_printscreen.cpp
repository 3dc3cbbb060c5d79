#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/Fonts.h"
#include "ui/ListBox.h"

#include "PrintScreenFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QTest>

// The print screen's sample and the run PrintSet freezes, and the look of
// the labels: colours, frame, code, rainbow and font.
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
    PrintScreenFixture s;
    s.chooseType(type);
    if (type <= 7)
        s.chooseFirst(first);
    if (plain)
        chooseMenuItem(s.dc.numberDisplayMenu, s.dc.plainNumbersAction);
    if (type == 3) {
        chooseRow(s.dc.letters(LetterList::Type3First), 1);
        chooseRow(s.dc.letters(LetterList::Type3Second), 2);
    }
    if (QLineEdit* edit = s.dc.upperEdit[type])
        typeText(edit, upperInput);
    if (type == 8)
        typeText(s.dc.type8Memo, upperInput);
    if (type >= 9)
        typeText(s.dc.freeTextMemo, QStringLiteral("A1\nA2"));

    s.printSet();
    QVERIFY(s.onPrintScreen());
    QTEST(s.sample(), "expected");
    QCOMPARE(s.sample(), composeLabelTexts(s.f.state().run, 0).upper + "/" +
                             composeLabelTexts(s.f.state().run, 0).lower);
}

void TestPrintScreen::labelLimit()
{
    PrintScreenFixture s;
    s.chooseSamples(240);
    s.chooseRepeats(5);
    s.printSet();
    QVERIFY(s.onPrintScreen());
    QCOMPARE(s.f.state().run.labelTotal(), 1200);
    QCOMPARE(s.f.w().printScreen().sheetCount(), 8);
    QVERIFY(s.f.dialogs.calls.isEmpty());

    s.back();
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
    PrintScreenFixture s;
    s.chooseType(9);
    typeText(s.dc.freeTextMemo, QStringLiteral("A1\nA2\n\nA4"));
    s.printSet();
    QCOMPARE(s.f.state().run.sampleCount, 2);
    QCOMPARE(s.f.state().run.freeTexts, (QStringList{"A1", "A2"}));

    s.back();
    retypeText(s.dc.freeTextMemo, QStringLiteral("\nB2"));
    s.printSet();
    QVERIFY(s.onPrintScreen());
    QCOMPARE(s.f.state().run.labelTotal(), 0);
    QCOMPARE(s.pc.sampleLabel->lower(), QString());
    QCOMPARE(s.redCircles(), 0);

    s.back();
    QStringList lines;
    for (int i = 1; i <= 61; ++i)
        lines << QString::number(i);
    retypeText(s.dc.freeTextMemo, lines.join('\n'));
    s.printSet();
    QCOMPARE(s.f.state().run.sampleCount, 60);
    QCOMPARE(s.f.state().run.freeTexts.last(), QStringLiteral("60"));
}

void TestPrintScreen::numberingStaysLiveOnPrintScreen()
{
    PrintScreenFixture s;
    s.chooseFirst(7);
    s.printSet();
    QCOMPARE(s.pc.sampleLabel->lower(), QStringLiteral("0007"));
    chooseMenuItem(s.dc.numberDisplayMenu, s.dc.plainNumbersAction);
    QCOMPARE(s.pc.sampleLabel->lower(), QStringLiteral("7"));
    QVERIFY(s.f.state().run.plainNumbers);
    chooseMenuItem(s.dc.stepMenu, s.dc.stepActions[2]);
    QCOMPARE(s.f.state().run.step, 3);
    QCOMPARE(composeLabelTexts(s.f.state().run, 1).lower, QStringLiteral("10"));
}

void TestPrintScreen::dateComesFromTheClockAtPrintSet()
{
    // A window left open over midnight prints the new day's date.
    QDateTime now(QDate(2026, 12, 31), QTime(23, 59));
    PrintScreenFixture s("10,10,1\r\n\r\n", [&now] { return now; });
    s.chooseType(4);
    now = now.addSecs(120);
    s.printSet();
    QCOMPARE(s.pc.sampleLabel->upper(), QStringLiteral("01/01"));
}

void TestPrintScreen::customBackground()
{
    PrintScreenFixture s;
    s.f.w().show();
    s.printSet();
    const QColor lightGreen(144, 238, 144);

    // Cancelled before any choice: back to the entry in effect.
    clickRow(s.pc.backgroundColourList, Colours::CustomIndex);
    QCOMPARE(s.f.dialogs.count("chooseColor"), 1);
    QCOMPARE(s.pc.backgroundColourList->currentRow(), 0);
    QCOMPARE(s.f.state().design.look.backgroundColor(), QColor(255, 255, 255));
    QCOMPARE(s.disc(), QColor(255, 255, 255));

    // Confirmed, then chosen again and cancelled: the confirmed colour stays.
    s.f.dialogs.colorAnswers << lightGreen;
    clickRow(s.pc.backgroundColourList, Colours::CustomIndex);
    QCOMPARE(s.disc(), lightGreen);
    clickRow(s.pc.backgroundColourList, Colours::CustomIndex);
    QCOMPARE(s.f.dialogs.count("chooseColor"), 3);
    QCOMPARE(s.f.dialogs.lastColorInitial, lightGreen);
    QCOMPARE(s.pc.backgroundColourList->currentRow(), 8);
    QCOMPARE(s.f.state().design.look.backgroundColor(), lightGreen);

    // PrintSet resets to black on white, without asking.
    s.back();
    s.printSet();
    QCOMPARE(s.f.dialogs.count("chooseColor"), 3);
    QCOMPARE(s.pc.backgroundColourList->currentRow(), 0);
    QVERIFY(s.inked(QColor(5, 5, 5)));
}

void TestPrintScreen::frameAndBackgrounds()
{
    PrintScreenFixture s;
    s.f.w().show();
    s.printSet();
    QTest::mouseClick(s.pc.frameCheck, Qt::LeftButton);
    clickRow(s.pc.backgroundColourList, 5); // Red
    QCOMPARE(s.disc(), QColor(255, 0, 0));
    QCOMPARE(s.insideFrame(), QColor(255, 255, 255)); // the texts stand on white

    s.f.dialogs.colorAnswers << QColor(10, 20, 30);
    clickRow(s.pc.backgroundColourList, 8);
    QTest::mouseClick(s.pc.frameCheck, Qt::LeftButton);
    QCOMPARE(s.insideFrame(), QColor(10, 20, 30));

    clickRow(s.pc.textColourList, 2); // Blue
    QVERIFY(s.inked(QColor(0, 0, 255)));
}

void TestPrintScreen::codeOnTheSample()
{
    PrintScreenFixture s;
    s.f.w().show();
    s.printSet();
    clickRow(s.pc.textColourList, 2); // Blue
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
    s.back();
    s.printSet();
    QVERIFY(s.pc.codeCheck->isChecked());
    QTest::mouseClick(s.pc.codeCheck, Qt::LeftButton);
    QCOMPARE(s.f.w().state().design.look.code, LabelCode::None);
}

void TestPrintScreen::rainbow()
{
    PrintScreenFixture s;
    s.printSet();
    QVERIFY(!s.pc.rainbowCheck->isVisibleTo(&s.f.w()));
    s.back();
    s.chooseRepeats(2);
    s.printSet();
    QVERIFY(s.pc.rainbowCheck->isVisibleTo(&s.f.w()));
    QVERIFY(!s.pc.rainbowCheck->isChecked());

    clickRow(s.pc.textColourList, 1); // Red
    clickMark(s.pc.rainbowCheck);
    QCOMPARE(s.pc.textColourList->currentRow(), 0);
    QVERIFY(!s.pc.textColourList->isEnabled());
    QVERIFY(!s.pc.backgroundColourList->isEnabled());
    QVERIFY(s.inked(QColor(5, 5, 5)));       // the sample shows what prints
    QCOMPARE(s.disc(), QColor(255, 255, 0)); // the first label's rainbow colour
    QVERIFY(s.f.state().design.look.rainbow);
    clickMark(s.pc.rainbowCheck);
    QVERIFY(s.pc.textColourList->isEnabled());
    QCOMPARE(s.pc.textColourList->currentRow(), 0);

    // PrintSet clears the tick and enables the lists again.
    clickMark(s.pc.rainbowCheck);
    s.back();
    s.printSet();
    QVERIFY(!s.pc.rainbowCheck->isChecked());
    QVERIFY(s.pc.backgroundColourList->isEnabled());
}

void TestPrintScreen::labelFont()
{
    PrintScreenFixture s;
    s.f.w().show();
    s.printSet();
    const auto chooseFont = [&s] {
        openContextMenu(s.pc.sampleLabel);
        QTRY_VERIFY(s.pc.sampleMenu->isVisible());
        QTest::mouseClick(s.pc.sampleMenu, Qt::LeftButton, {},
                          s.pc.sampleMenu->actionGeometry(s.pc.fontAction).center());
    };
    s.f.state().design.look.font.setItalic(true);
    chooseFont(); // cancelled
    QCOMPARE(s.f.dialogs.lastFontInitial.pointSize(), 9);
    QVERIFY(s.f.dialogs.lastFontInitial.bold());
    QVERIFY(!s.f.dialogs.lastFontInitial.italic());
    QVERIFY(s.f.state().design.look.font.italic());

    QFont chosen(QStringLiteral("IPAGothic"));
    chosen.setPointSize(12);
    chosen.setItalic(true);
    s.f.dialogs.fontAnswers << chosen;
    const QImage before = s.pc.sampleLabel->image();
    chooseFont();
    QCOMPARE(s.f.state().design.look.font, chosen);
    QCOMPARE(s.f.state().design.look.font.pointSize(), 12);
    QVERIFY(s.pc.sampleLabel->image() != before); // drawn in the label font, as printed
}

QTEST_MAIN(TestPrintScreen)
#include "tst_printscreen.moc"
