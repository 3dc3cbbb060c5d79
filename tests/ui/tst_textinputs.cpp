#include "core/numbering/Cp932.h"
#include "core/render/Fonts.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "ui/SampleLabel.h"

#include "MainFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>

namespace {

QStringList memoLines(const QPlainTextEdit* memo)
{
    QStringList lines;
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

QStringList kept(QWidget* edit)
{
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        return {line->text()};
    return memoLines(qobject_cast<QPlainTextEdit*>(edit));
}

void paste(QWidget* edit, const QString& text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

// What the user types for the labels, held to what a label takes: the upper
// texts, type 8's lines and the free texts, typed, pasted or cut.
class TestTextInputs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void editLimits();
    void memoLimits();
    void controlCharacters_data();
    void controlCharacters();
    void cursorAfterACut_data();
    void cursorAfterACut();
    void resetEmptiesFreeTexts();
};

void TestTextInputs::editLimits()
{
    MainFixture f;
    f.w().show();
    const DesignControls& c = f.w().design().controls();
    c.upperEdit[1]->setFocus();
    QTest::keyClicks(c.upperEdit[1], QStringLiteral("ABCDEF"));
    QCOMPARE(c.upperEdit[1]->text(), QStringLiteral("ABCDE"));
    c.upperEdit[2]->setText(QStringLiteral("ＡＢＣ"));
    QCOMPARE(c.upperEdit[2]->text(), QStringLiteral("ＡＢ"));
    c.upperEdit[3]->setText(QStringLiteral("ＡＢc"));
    QCOMPARE(c.upperEdit[3]->text(), QStringLiteral("ＡＢc"));
    c.upperEdit[9]->setText(QStringLiteral("A😀〜"));
    QCOMPARE(c.upperEdit[9]->text(), QStringLiteral("A～"));
    c.upperEdit[10]->setText(QStringLiteral("ｱｲｳｴｵｶ"));
    QCOMPARE(c.upperEdit[10]->text(), QStringLiteral("ｱｲｳｴｵ"));
}

void TestTextInputs::memoLimits()
{
    MainFixture f;
    const DesignControls& c = f.w().design().controls();
    c.type8Memo->setPlainText(QStringLiteral("ABCDEFG\nＡＢＣ\n3\n4\n5\n6\n7th"));
    QCOMPARE(memoLines(c.type8Memo),
             (QStringList{"ABCDE", "ＡＢ", "", "", "", "", "7th"})); // the seventh is never used

    c.typeButton[10]->click();
    QStringList lines;
    for (int i = 1; i <= 62; ++i)
        lines << QStringLiteral("L%1").arg(i, 2, 10, QLatin1Char('0'));
    lines[0] = QStringLiteral("ABCDE");
    c.freeTextMemo->setPlainText(lines.join('\n'));
    const QStringList kept = memoLines(c.freeTextMemo);
    QCOMPARE(kept[0], QStringLiteral("ABCD")); // Type10: a letter goes before it
    QCOMPARE(kept[59], QStringLiteral("L60"));
    QCOMPARE(kept[60], QString());
    QCOMPARE(kept[61], QString());

    c.typeButton[9]->click();
    c.freeTextMemo->setPlainText(QStringLiteral("ABCDE\nサンプル"));
    QCOMPARE(memoLines(c.freeTextMemo), (QStringList{"ABCDE", "サン"}));
}

void TestTextInputs::controlCharacters_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("how"); // paste, type, or unchecked: set behind the handlers
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("sample"); // upper/lower of the sample label after PrintSet

    const QString nul(QChar(0));
    QTest::newRow("type1UpperEdit tab")
        << 1 << "type1UpperEdit"
        << "paste" << QStringLiteral("AB\tCDEFG") << QStringList{"ABCDE"} << "ABCDE/0001";
    QTest::newRow("type2UpperEdit LF and lone CR")
        << 2 << "type2UpperEdit"
        << "paste" << QStringLiteral("A\nB\rC") << QStringList{"ABC"} << "ABC/A001";
    QTest::newRow("type3UpperEdit CR LF and NUL")
        << 3 << "type3UpperEdit"
        << "paste" << QStringLiteral("A\r\nB") + nul + "C" << QStringList{"ABC"} << "ABC/AA01";
    QTest::newRow("type9UpperEdit DEL, NEL and C1") << 9 << "type9UpperEdit"
                                                    << "paste"
                                                    << QStringLiteral("A\x7f"
                                                                      "B\u0085"
                                                                      "C\u009f")
                                                    << QStringList{"ABC"} << "ABC/S1";
    QTest::newRow("type10UpperEdit line and paragraph separators")
        << 10 << "type10UpperEdit"
        << "paste"
        << QStringLiteral("A\u2028"
                          "B\u2029"
                          "C")
        << QStringList{"ABC"} << "ABC/AS1";
    QTest::newRow("type8Memo typed tab")
        << 8 << "type8Memo"
        << "type" << QStringLiteral("A\tB") << QStringList{"AB"} << "AB/";
    QTest::newRow("type8Memo line separator") << 8 << "type8Memo"
                                              << "paste"
                                              << QStringLiteral("AB\tC\u2028"
                                                                "D\u0085"
                                                                "E")
                                              << QStringList{"ABC", "DE"} << "ABC/DE";
    QTest::newRow("type8Memo lone CR")
        << 8 << "type8Memo"
        << "paste" << QStringLiteral("A\rB") << QStringList{"A", "B"} << "A/B";
    QTest::newRow("freeTextMemo typed tab")
        << 9 << "freeTextMemo"
        << "type" << QStringLiteral("A\tB") << QStringList{"AB"} << "/AB";
    QTest::newRow("freeTextMemo every line break")
        << 9 << "freeTextMemo"
        << "paste" << QStringLiteral("X\u2028Y\r\nZ\rW\tV\u2029U")
        << QStringList{"X", "Y", "Z", "WV", "U"} << "/X";
    QTest::newRow("freeTextMemo cut after the tab is gone")
        << 10 << "freeTextMemo"
        << "paste" << QStringLiteral("AB\tCDEFG") << QStringList{"ABCD"} << "/AABCD";
    QTest::newRow("type1UpperEdit unchecked")
        << 1 << "type1UpperEdit"
        << "unchecked" << QStringLiteral("A\tB\nC") << QStringList{} << "ABC/0001";
    QTest::newRow("type8Memo unchecked") << 8 << "type8Memo"
                                         << "unchecked"
                                         << QStringLiteral("A\tB\u2028"
                                                           "C\u0085"
                                                           "D")
                                         << QStringList{} << "AB/CD";
    QTest::newRow("freeTextMemo unchecked") << 10 << "freeTextMemo"
                                            << "unchecked"
                                            << QStringLiteral("\x7f"
                                                              "AB\tCDEF\u2028\u0085\nS2")
                                            << QStringList{} << "/AABCD";
}

void TestTextInputs::controlCharacters()
{
    QFETCH(int, type);
    QFETCH(QString, edit);
    QFETCH(QString, how);
    QFETCH(QString, input);
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    const DesignControls& c = f.w().design().controls();
    chooseType(f.w(), type);
    if (type >= 9 && edit != "freeTextMemo")
        QTest::keyClicks(c.freeTextMemo, QStringLiteral("S1"));
    auto* widget = f.w().findChild<QWidget*>(edit);
    widget->setFocus();
    if (how == "paste") {
        paste(widget, input);
    } else if (how == "type") {
        QTest::keyClicks(widget, input);
    } else {
        // Texts that reach the design another way than typing (a file).
        LabelDesign& design = f.state().design;
        if (edit == "type1UpperEdit")
            design.upperTexts[0] = input;
        else if (edit == "type8Memo")
            design.type8Lines = Cp932::lines(input);
        else
            design.freeTexts = Cp932::lines(input);
    }
    if (how != "unchecked")
        QTEST(kept(widget), "kept");

    QTest::mouseClick(c.printSetButton, Qt::LeftButton);
    QCOMPARE(f.w().screen(), MainWindow::Screen::Print);
    const PrintControls& pc = f.w().printScreen().controls();
    QTEST(QString(pc.sampleLabel->upper() + "/" + pc.sampleLabel->lower()), "sample");
}

void TestTextInputs::cursorAfterACut_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("at"); // characters from the start
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QStringList>("kept"); // after typing Q behind the paste

    QTest::newRow("type1UpperEdit tab before the cursor")
        << 1 << "type1UpperEdit"
        << "ABC" << 0 << QStringLiteral("\tZ") << QStringList{"ZQABC"};
    QTest::newRow("type1UpperEdit tab and cut")
        << 1 << "type1UpperEdit"
        << "ABCD" << 1 << QStringLiteral("\tX") << QStringList{"AXQBC"};
    QTest::newRow("type8Memo line separator")
        << 8 << "type8Memo"
        << "AB" << 1 << QStringLiteral("\u2028") << QStringList{"A", "QB"};
    QTest::newRow("freeTextMemo second line")
        << 9 << "freeTextMemo"
        << "ABC\nDEF" << 4 << QStringLiteral("\t1") << QStringList{"ABC", "1QDEF"};
    QTest::newRow("freeTextMemo tabs and cut")
        << 9 << "freeTextMemo"
        << "ABCD" << 1 << QStringLiteral("\tX\tY") << QStringList{"AXYQB"};
}

void TestTextInputs::cursorAfterACut()
{
    QFETCH(int, type);
    QFETCH(QString, edit);
    QFETCH(QString, before);
    QFETCH(int, at);
    QFETCH(QString, pasted);
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    chooseType(f.w(), type);
    auto* widget = f.w().findChild<QWidget*>(edit);
    widget->setFocus();
    paste(widget, before);
    const bool memo = qobject_cast<QPlainTextEdit*>(widget);
    QTest::keyClick(widget, Qt::Key_Home, memo ? Qt::ControlModifier : Qt::NoModifier);
    for (int i = 0; i < at; ++i)
        QTest::keyClick(widget, Qt::Key_Right);
    paste(widget, pasted);
    QTest::keyClicks(widget, QStringLiteral("Q"));
    QTEST(kept(widget), "kept");
}

void TestTextInputs::resetEmptiesFreeTexts()
{
    MainFixture f;
    f.w().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    const DesignControls& c = f.w().design().controls();
    f.w().controls().typePageTabs->setCurrentIndex(2);
    c.freeTextMemo->setPlainText(QStringLiteral("A1\nA2\nA3"));
    QCOMPARE(f.state().design.freeTexts, (QStringList{"A1", "A2", "A3"}));
    QTest::mouseClick(c.clearFreeTextsButton, Qt::LeftButton);
    QCOMPARE(memoLines(c.freeTextMemo), (QStringList{"", "", ""}));
    QCOMPARE(f.state().design.freeTexts, (QStringList{"", "", ""}));
    QVERIFY(c.freeTextMemo->hasFocus());
}

QTEST_MAIN(TestTextInputs)
#include "tst_textinputs.moc"
