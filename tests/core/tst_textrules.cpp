#include "core/numbering/Cp932.h"
#include "core/numbering/DateStamp.h"

#include <QStringEncoder>
#include <QTest>

// The byte room of a label line, and the date stamps.
class TestTextRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void limitKeepsWholeCharacters_data();
    void limitKeepsWholeCharacters();
    void controlCharacters_data();
    void controlCharacters();
    void dateStamps_data();
    void dateStamps();
};

void TestTextRules::limitKeepsWholeCharacters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("room");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("bytes");

    QTest::newRow("sixth half-width")
        << QStringLiteral("ABCDEF") << 5 << QStringLiteral("ABCDE") << 5;
    QTest::newRow("two full and one half fit")
        << QStringLiteral("ＡＢc") << 5 << QStringLiteral("ＡＢc") << 5;
    // Three full-width characters: the third would straddle the limit.
    QTest::newRow("no half character")
        << QStringLiteral("ＡＢＣ") << 5 << QStringLiteral("ＡＢ") << 4;
    QTest::newRow("half-width katakana is one byte")
        << QStringLiteral("ｱｲｳｴｵｶ") << 5 << QStringLiteral("ｱｲｳｴｵ") << 5;
    QTest::newRow("kanji") << QStringLiteral("検体番号") << 5 << QStringLiteral("検体") << 4;
    QTest::newRow("room of four") << QStringLiteral("ABCDE") << 4 << QStringLiteral("ABCD") << 4;
    QTest::newRow("emoji dropped") << QStringLiteral("A😀B") << 5 << QStringLiteral("AB") << 2;
    QTest::newRow("unmappable dropped") << QStringLiteral("Aé€B") << 5 << QStringLiteral("AB") << 2;
    QTest::newRow("wave dash mapped") << QStringLiteral("1〜2") << 5 << QStringLiteral("1～2") << 4;
    QTest::newRow("minus mapped") << QStringLiteral("−5") << 5 << QStringLiteral("－5") << 3;
    QTest::newRow("em dash and double bar")
        << QStringLiteral("—‖") << 5 << QStringLiteral("―∥") << 4;
    QTest::newRow("currency signs") << QStringLiteral("¢£¬") << 6 << QStringLiteral("￠￡￢") << 6;
    QTest::newRow("markup is just text")
        << QStringLiteral("<b>x") << 5 << QStringLiteral("<b>x") << 4;
}

void TestTextRules::limitKeepsWholeCharacters()
{
    QFETCH(QString, typed);
    QFETCH(int, room);
    QFETCH(QString, kept);
    const QString result = Cp932::limit(typed, room);
    QCOMPARE(result, kept);
    QTEST(Cp932::byteLength(result), "bytes");
    // Whatever is kept really fits the code page.
    QStringEncoder encoder("windows-31j");
    const QByteArray bytes = encoder.encode(result);
    QVERIFY(!encoder.hasError());
    QCOMPARE(int(bytes.size()), Cp932::byteLength(result));
}

void TestTextRules::controlCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");      // as one label line of 5 bytes
    QTest::addColumn<QStringList>("lines"); // as memo lines of 5 bytes

    QTest::newRow("tab") << QStringLiteral("AB\tCDEFG") << "ABCDE" << QStringList{"ABCDE"};
    QTest::newRow("NUL") << QStringLiteral("A") + QChar(0) + "B"
                         << "AB" << QStringList{"AB"};
    QTest::newRow("DEL, NEL and C1")
        << QStringLiteral("A\x7f\u0085\u009fB") << "AB" << QStringList{"AB"};
    QTest::newRow("vertical tab and form feed")
        << QStringLiteral("A\v\fB") << "AB" << QStringList{"AB"};
    QTest::newRow("CR LF") << QStringLiteral("A\r\nB") << "AB" << QStringList{"A", "B"};
    QTest::newRow("lone CR") << QStringLiteral("A\rB") << "AB" << QStringList{"A", "B"};
    QTest::newRow("CR then CR LF")
        << QStringLiteral("A\r\r\nB") << "AB" << QStringList{"A", "", "B"};
    QTest::newRow("line separator") << QStringLiteral("A\u2028B") << "AB" << QStringList{"A", "B"};
    QTest::newRow("paragraph separator")
        << QStringLiteral("A\u2029B\n") << "AB" << QStringList{"A", "B", ""};
}

void TestTextRules::controlCharacters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QTEST(Cp932::limit(text, 5), "line");
    QStringList kept;
    for (const QString& line : Cp932::lines(text))
        kept << Cp932::limit(line, 5);
    QCOMPARE(kept, lines);
}

void TestTextRules::dateStamps_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("adjust");
    QTest::addColumn<QString>("monthDay");
    QTest::addColumn<QString>("yearMonth");

    QTest::newRow("today") << QDate(2026, 12, 8) << 0 << "12/08"
                           << "26|12";
    QTest::newRow("yesterday across the year") << QDate(2026, 1, 1) << -1 << "12/31"
                                               << "25|12";
    QTest::newRow("tomorrow across the month") << QDate(2026, 4, 30) << 1 << "05/01"
                                               << "26|05";
    QTest::newRow("leap day") << QDate(2028, 2, 28) << 1 << "02/29"
                              << "28|02";
    QTest::newRow("a year from a leap day") << QDate(2028, 2, 29) << 365 << "02/28"
                                            << "29|02";
    QTest::newRow("a year back") << QDate(2026, 12, 8) << -365 << "12/08"
                                 << "25|12";
    QTest::newRow("century digits") << QDate(2100, 1, 5) << 0 << "01/05"
                                    << "00|01";
}

void TestTextRules::dateStamps()
{
    QFETCH(QDate, today);
    QFETCH(int, adjust);
    const QDate date = DateStamp::adjusted(QDateTime(today, QTime(23, 59)), 365 + adjust);
    QTEST(DateStamp::monthDay(date), "monthDay");
    QTEST(DateStamp::yearMonth(date), "yearMonth");
}

QTEST_GUILESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
