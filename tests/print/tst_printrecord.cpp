#include "core/render/Fonts.h"
#include "core/render/PrintRecord.h"

#include "print/QtPrintCanvas.h"

#include "PdfTools.h"
#include "RecordingCanvas.h"

#include <QPrinter>
#include <QTemporaryDir>

#include <QTest>

namespace {

QList<PrintLogEntry> numbered(int count)
{
    QList<PrintLogEntry> entries;
    for (int i = 1; i <= count; ++i)
        entries << PrintLogEntry{QStringLiteral("U%1").arg(i), QStringLiteral("L%1").arg(i)};
    return entries;
}

PrintAppearance look()
{
    PrintAppearance a;
    a.backgroundIndex = 1; // Yellow
    a.textColorIndex = 2;  // Blue
    a.font = QFont(QStringLiteral("ＭＳ Ｐゴシック"), 12);
    return a;
}

const QDateTime At9(QDate(2026, 3, 4), QTime(9, 0));

} // namespace

class TestPrintRecord : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pagesAndEntries_data();
    void pagesAndEntries();
    void slotGeometryAt600Dpi();
    void rainbowGivesWhiteCircles();
    void oneEntryPerSampleOfTheJob();
    void printerFailureAborts();
    void realPdf();
};

void TestPrintRecord::pagesAndEntries_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QStringList>("document");
    QTest::addColumn<int>("circles");

    QTest::newRow("none: title only") << 0 << QStringList{"begin", "end"} << 0;
    QTest::newRow("40 on one page") << 40 << QStringList{"begin", "end"} << 40;
    QTest::newRow("41 on two") << 41 << QStringList{"begin", "newPage", "end"} << 41;
    QTest::newRow("200 on five") << 200 << QStringList{"begin",   "newPage", "newPage",
                                                       "newPage", "newPage", "end"}
                                 << 200;
    QTest::newRow("300 on eight") << 300 << QStringList{"begin",   "newPage", "newPage",
                                                        "newPage", "newPage", "newPage",
                                                        "newPage", "newPage", "end"}
                                  << 300;
}

void TestPrintRecord::pagesAndEntries()
{
    QFETCH(int, entries);
    RecordingCanvas canvas;
    QVERIFY(PrintRecord::printRecordPages(canvas, numbered(entries), look(),
                                          QDateTime(QDate(2026, 12, 31), QTime(14, 5, 9))));
    QTEST(canvas.documentCalls(), "document");
    QTEST(int(canvas.named("ellipse").size()), "circles");
    QCOMPARE(canvas.named("rectangle").size(), canvas.named("ellipse").size());

    // Every entry exactly once, in order, after each page's title, time and
    // page number.
    QStringList expected;
    const int pages = PrintRecord::pageCount(entries);
    for (int page = 0; page < pages; ++page) {
        expected << QStringLiteral("ラベルプリント記録")
                 << QStringLiteral("printed in 2026/12/31 14:05:09")
                 << QStringLiteral("%1 / %2").arg(page + 1).arg(pages);
        for (int i = page * 40 + 1; i <= std::min(entries, page * 40 + 40); ++i)
            expected << QStringLiteral("U%1").arg(i) << QStringLiteral("L%1").arg(i);
    }
    QCOMPARE(canvas.texts(), expected);
}

void TestPrintRecord::slotGeometryAt600Dpi()
{
    RecordingCanvas canvas(600, 600);
    canvas.charWidth = 20;
    canvas.lineHeight = 100;
    QVERIFY(PrintRecord::printRecordPages(canvas, numbered(41), look(), At9));
    const auto circles = canvas.named("ellipse");
    const auto boxes = canvas.named("rectangle");
    // Slot 1: circle 200..310 x 310..420 units, 200 units = 480 dots.
    QCOMPARE(circles[0].box, (DeviceBox{480, 744, 744, 1008}));
    QCOMPARE(boxes[0].box, (DeviceBox{744, 744, 2400, 1008}));
    // Slot 20 ends the left column at 2510 units; slot 21 heads the right one.
    QCOMPARE(circles[19].box.bottom, 6024);
    QCOMPARE(circles[20].box, (DeviceBox{2400, 744, 2664, 1008}));
    QCOMPARE(boxes[20].box, (DeviceBox{2664, 744, 4320, 1008}));
    // The 41st entry: top of the left column on page two.
    QCOMPARE(circles[40].box, circles[0].box);
    QCOMPARE(circles[0].brushColor, QColor(255, 255, 0));
    QCOMPARE(boxes[0].brushColor, QColor(255, 255, 255));

    const auto texts = canvas.named("text");
    QCOMPARE(texts[0].x, 2880); // title at 1200 units
    QCOMPARE(texts[0].y, 480);
    QCOMPARE(QPoint(texts[1].x, texts[1].y), QPoint(2880, 6240)); // time stamp at 2600 units
    QCOMPARE(texts[0].fontSize, 12);
    // The page number on the time stamp's line, left of it and below the
    // last slot (2510 units).
    QCOMPARE(texts[2].text, QStringLiteral("1 / 2"));
    QCOMPARE(QPoint(texts[2].x, texts[2].y), QPoint(480, 6240));
    QVERIFY(texts[2].x + canvas.textExtent(texts[2].text).width() < texts[1].x);
    // Slot 1's upper text "U1" (40 x 100) centred on (612, 816); the lower
    // text ends on the line 85 units below the circle's top.
    QCOMPARE(texts[3].x, 612 - 20);
    QCOMPARE(texts[3].y, 816 - 50);
    QCOMPARE(texts[4].y, 948 - 100);
    QCOMPARE(texts[3].textColor, QColor(0, 0, 255));
    QVERIFY(texts[3].brushSolid); // drawn opaque on the circle's colour
    QCOMPARE(texts[3].brushColor, QColor(255, 255, 0));
}

void TestPrintRecord::rainbowGivesWhiteCircles()
{
    RecordingCanvas canvas;
    PrintAppearance rainbow = look();
    rainbow.rainbow = true;
    QVERIFY(PrintRecord::printRecordPages(canvas, numbered(3), rainbow, At9));
    for (const auto& circle : canvas.named("ellipse"))
        QCOMPARE(circle.brushColor, QColor(255, 255, 255));
}

void TestPrintRecord::oneEntryPerSampleOfTheJob()
{
    // 10 samples x 3 labels: every sample once, however many labels it had.
    PrintedJob job;
    job.run.sampleCount = 10;
    job.run.repeatCount = 3;
    for (int n = 0; n < 30; ++n)
        job.labels << PrintLogEntry{QStringLiteral("X"), QString::number(n / 3 + 1)};
    const QList<PrintLogEntry> entries = job.sampleEntries();
    QCOMPARE(entries.size(), 10);
    QStringList lowers;
    for (const auto& e : entries)
        lowers << e.lower;
    QCOMPARE(lowers, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
}

void TestPrintRecord::printerFailureAborts()
{
    RecordingCanvas canvas;
    canvas.failAtDocumentCall = 2; // the first new page
    QVERIFY(!PrintRecord::printRecordPages(canvas, numbered(60), look(), At9));
    QCOMPARE(canvas.documentCalls(), (QStringList{"begin", "newPage", "abort"}));
}

void TestPrintRecord::realPdf()
{
    installFontSubstitutions();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("record.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QList<PrintLogEntry> entries = numbered(41);
    entries[0] = {QStringLiteral("検体"), QStringLiteral("Ａ１")};
    QtPrintCanvas canvas(printer);
    QVERIFY(PrintRecord::printRecordPages(canvas, entries, look(),
                                          QDateTime(QDate(2026, 1, 2), QTime(8, 30, 15))));

    QString error;
    QCOMPARE(PdfTools::pageCount(pdf, error), 2);
    const QString text = PdfTools::text(pdf, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList expected = {QStringLiteral("ラベルプリント記録"),
                            QStringLiteral("printed in 2026/01/02 08:30:15"),
                            QStringLiteral("1 / 2"),
                            QStringLiteral("検体"),
                            QStringLiteral("Ａ１"),
                            QStringLiteral("U2"),
                            QStringLiteral("L2")};
    for (int i = 3; i <= 40; ++i)
        expected << QStringLiteral("U%1").arg(i);
    expected << QStringLiteral("ラベルプリント記録") << QStringLiteral("2 / 2")
             << QStringLiteral("U41");
    QCOMPARE(PdfTools::firstOutOfOrder(text, expected), QString());
    QVERIFY(PdfTools::fontsNotEmbedded(pdf, error).isEmpty());
}

QTEST_MAIN(TestPrintRecord)
#include "tst_printrecord.moc"
