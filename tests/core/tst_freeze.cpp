#include "core/model/Freeze.h"
#include "core/numbering/Cp932.h"

#include <QRandomGenerator>
#include <QTest>

// What PrintSet freezes of a design: the type's limits on every text,
// whatever was selected while it was typed, and the date of the day.
class TestFreeze : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textsFitTheirType();
    void dateIsTheDaysWithItsAdjust();
    void blankType1BecomesTypeThirteen();
};

void TestFreeze::textsFitTheirType()
{
    // Any order of typing and type selection ends in the same design; the
    // run must keep every text within its room.
    const QStringList pool = {"ABCDEFG", "検体検体", "ｱｲｳｴｵｶ", "A\tB\nC", "WWWWW", "ＷＷＷ",
                              "x",       "",         "12345",  "血液A",   "漢A字"};
    QRandomGenerator random(20261208);
    for (int round = 0; round < 2000; ++round) {
        LabelDesign design;
        for (QString& text : design.upperTexts)
            text = pool[random.bounded(int(pool.size()))];
        for (int i = random.bounded(70); i > 0; --i)
            design.freeTexts << pool[random.bounded(int(pool.size()))];
        design.type8Lines = {pool[random.bounded(int(pool.size()))],
                             pool[random.bounded(int(pool.size()))]};
        design.type = 1 + random.bounded(12);
        const LabelRun run = freeze(design, QDate(2026, 12, 8));
        const LabelTypeTraits& traits = labelType(design.type);

        QVERIFY(Cp932::byteLength(run.upper) <= 5);
        QVERIFY(Cp932::byteLength(run.type8Lower) <= 5);
        QVERIFY(run.freeTexts.size() <= 60);
        for (const QString& text : run.freeTexts) {
            QVERIFY2(Cp932::byteLength(text) <= traits.freeTextBytes, qPrintable(text));
            QVERIFY(!text.isEmpty());
            QCOMPARE(Cp932::normalize(text), text);
        }
        if (traits.hasFreeTexts())
            QCOMPARE(run.sampleCount, int(run.freeTexts.size()));
        QCOMPARE(Cp932::normalize(run.upper), run.upper);
    }
}

void TestFreeze::dateIsTheDaysWithItsAdjust()
{
    // The window may stay open past midnight: the date comes with the day
    // PrintSet is pressed, not with the day the design was made.
    LabelDesign design;
    design.type = 4;
    QCOMPARE(freeze(design, QDate(2026, 12, 31)).upper, QStringLiteral("12/31"));
    QCOMPARE(freeze(design, QDate(2027, 1, 1)).upper, QStringLiteral("01/01"));
    design.type = 12;
    design.dateAdjust = -1;
    QCOMPARE(freeze(design, QDate(2027, 1, 1)).upper, QStringLiteral("26|12"));
}

void TestFreeze::blankType1BecomesTypeThirteen()
{
    LabelDesign design;
    design.upperTexts[0] = QStringLiteral("\t");
    QCOMPARE(freeze(design, QDate(2026, 12, 8)).type, 13);
    design.upperTexts[0] = QStringLiteral("A");
    QCOMPARE(freeze(design, QDate(2026, 12, 8)).type, 1);
}

QTEST_MAIN(TestFreeze)
#include "tst_freeze.moc"
