#include "core/numbering/ComposeLabelTexts.h"

#include "PrintTestRun.h"

#include <QTest>

Q_DECLARE_METATYPE(LabelRun)

namespace {

LabelRun run(int type, int first, int step = 1, int repeat = 1, int letter1 = 0, int letter2 = 0,
             bool plain = false)
{
    LabelRun r = steppedRun(type, first, step, 1200, repeat, letter1, letter2);
    r.plainNumbers = plain;
    return r;
}

QStringList lowers(const LabelRun& r, const QList<int>& labels)
{
    QStringList out;
    for (int n : labels)
        out << composeLabelTexts(r, n).lower;
    return out;
}

} // namespace

class TestComposeLabelTexts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runningNumbers_data();
    void runningNumbers();
    void lettersNeverLeaveAlphabet();
    void upperTextAndFreeTexts();
    void numberForPlacementIsThePrintedOne();
};

void TestComposeLabelTexts::runningNumbers_data()
{
    QTest::addColumn<LabelRun>("r");
    QTest::addColumn<QList<int>>("labels");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("type1 repeats and steps")
        << run(1, 10, 2, 3) << QList<int>{0, 1, 2, 3, 4, 5, 6}
        << QStringList{"0010", "0010", "0010", "0012", "0012", "0012", "0014"};
    QTest::newRow("type1 plain") << run(1, 7, 1, 1, 0, 0, true) << QList<int>{0, 993}
                                 << QStringList{"7", "1000"};
    QTest::newRow("type1 past 9999 keeps the last four")
        << run(1, 9999, 1, 1) << QList<int>{0, 1, 10} << QStringList{"9999", "0000", "0009"};
    QTest::newRow("type1 plain past 9999: within the range")
        << run(1, 9998, 1, 1, 0, 0, true) << QList<int>{0, 1, 2, 11}
        << QStringList{"9998", "9999", "0", "9"};
    QTest::newRow("type4 and type5 number like type1")
        << run(5, 42, 5) << QList<int>{0, 1} << QStringList{"0042", "0047"};
    QTest::newRow("type2 Y wraps to Z then A")
        << run(2, 998, 1, 1, 24) << QList<int>{0, 1, 2, 1001, 1002}
        << QStringList{"Y998", "Y999", "Z000", "Z999", "A000"};
    QTest::newRow("type2 letter changes with the digits")
        << run(2, 999, 3, 2) << QList<int>{0, 1, 2, 3}
        << QStringList{"A999", "A999", "B002", "B002"};
    QTest::newRow("type2 plain") << run(2, 5, 1, 1, 0, 0, true) << QList<int>{0, 1000}
                                 << QStringList{"A5", "B5"};
    QTest::newRow("type6 Z crosses to A")
        << run(6, 1000 - 1, 1, 1, 25) << QList<int>{1} << QStringList{"A000"};
    QTest::newRow("type7 like type2")
        << run(7, 995, 2, 1, 3) << QList<int>{0, 3} << QStringList{"D995", "E001"};
    QTest::newRow("type3 carries into the second letter")
        << run(3, 99) << QList<int>{0, 1} << QStringList{"AA99", "AB00"};
    QTest::newRow("type3 AZ carries into the first letter")
        << run(3, 100, 1, 1, 0, 25) << QList<int>{0} << QStringList{"BA00"};
    QTest::newRow("type3 ZZ wraps to AA")
        << run(3, 100, 1, 1, 25, 25) << QList<int>{0} << QStringList{"AA00"};
    QTest::newRow("type3 plain and padded")
        << run(3, 7, 1, 1, 1, 2, true) << QList<int>{0, 93} << QStringList{"BC7", "BD0"};
    QTest::newRow("type3 padded") << run(3, 7, 1, 1, 1, 2) << QList<int>{0} << QStringList{"BC07"};
    // Long runs at large steps carry more than one letter at a time.
    QTest::newRow("type3 full carry past Z")
        << run(3, 0, 10, 1, 0, 25) << QList<int>{270} << QStringList{"CA00"};
    QTest::newRow("type3 1200 samples at step 10")
        << run(3, 0, 10) << QList<int>{1199, 1200} << QStringList{"EP90", "EQ00"};
}

void TestComposeLabelTexts::runningNumbers()
{
    QFETCH(LabelRun, r);
    QFETCH(QList<int>, labels);
    QTEST(lowers(r, labels), "expected");
}

void TestComposeLabelTexts::lettersNeverLeaveAlphabet()
{
    // Every label of the largest runs, from every start letter, at every step.
    for (int type : {2, 3, 6, 7}) {
        for (int step : {1, 2, 3, 5, 10}) {
            for (int letter = 0; letter < 26; letter += 5) {
                const int first = type == 3 ? 99 : 999;
                const LabelRun r = run(type, first, step, 1, letter, 25 - letter);
                for (int n = 0; n < 1200; ++n) {
                    const LabelTexts t = composeLabelTexts(r, n);
                    const int letters = type == 3 ? 2 : 1;
                    for (int i = 0; i < letters; ++i) {
                        const QChar c = t.lower.at(i);
                        if (c < u'A' || c > u'Z')
                            QFAIL(qPrintable(QStringLiteral("type %1 step %2 label %3: %4")
                                                 .arg(type)
                                                 .arg(step)
                                                 .arg(n)
                                                 .arg(t.lower)));
                    }
                    QCOMPARE(t.letter1, t.lower.at(0).unicode() - u'A');
                }
            }
        }
    }
}

void TestComposeLabelTexts::upperTextAndFreeTexts()
{
    LabelRun r = run(9, 0, 1, 2);
    r.upper = QStringLiteral("拠点");
    r.freeTexts = {QStringLiteral("A1"), QStringLiteral("サン"), QStringLiteral("B4")};
    r.sampleCount = 3;
    QCOMPARE(lowers(r, {0, 1, 2, 3, 4, 5}), (QStringList{"A1", "A1", "サン", "サン", "B4", "B4"}));
    QCOMPARE(composeLabelTexts(r, 5).upper, QStringLiteral("拠点"));

    r.type = 10;
    r.letter1 = 7;
    QCOMPARE(lowers(r, {0, 4}), (QStringList{"HA1", "HB4"})); // the letter never advances

    r.type = 8;
    r.type8Lower = QStringLiteral("下段");
    QCOMPARE(lowers(r, {0, 1199}), (QStringList{"下段", "下段"}));

    // Type13 is Type1 without its upper line.
    r = run(13, 12);
    QCOMPARE(composeLabelTexts(r, 0).upper, QString());
    QCOMPARE(composeLabelTexts(r, 0).lower, QStringLiteral("0012"));
    r.type = 4;
    r.upper = QStringLiteral("12/07");
    QCOMPARE(composeLabelTexts(r, 300).upper, QStringLiteral("12/07"));
}

void TestComposeLabelTexts::numberForPlacementIsThePrintedOne()
{
    // However a run is split into jobs, a label sits where it would in one.
    const LabelTexts t = composeLabelTexts(run(1, 10001), 0);
    QCOMPARE(t.lower, QStringLiteral("0001"));
    QCOMPARE(t.number, QStringLiteral("0001"));
    QCOMPARE(composeLabelTexts(run(2, 5), 0).number, QString());
}

QTEST_GUILESS_MAIN(TestComposeLabelTexts)
#include "tst_composelabeltexts.moc"
