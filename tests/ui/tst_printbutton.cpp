#include "core/render/Fonts.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/PreviewDialog.h"
#include "ui/PrintScreen.h"
#include "ui/SampleLabel.h"

#include "FullTmpfs.h"
#include "PdfTools.h"
#include "PrintScreenFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// The print dialog answered with "Print to File (PDF)".
std::function<bool(QPrinter&)> toPdf(const QString& path)
{
    return [path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
}

int pdfPages(const QString& path)
{
    QString error;
    return PdfTools::pageCount(path, error);
}

struct PrintFixture : PrintScreenFixture {
    QTemporaryDir out;

    using PrintScreenFixture::PrintScreenFixture;
    QString pdf() const { return out.filePath(QStringLiteral("labels.pdf")); }
    void design(int type, int first, int samples, int step = 1)
    {
        chooseType(type);
        chooseFirst(first);
        chooseSamples(samples);
        const auto index =
            std::find(NumberSteps.begin(), NumberSteps.end(), step) - NumberSteps.begin();
        chooseMenuItem(dc.stepMenu, dc.stepActions[size_t(index)]);
    }
    void clickPrint() { QTest::mouseClick(pc.printButton, Qt::LeftButton); }
    void print()
    {
        f.dialogs.printerAnswer = toPdf(pdf());
        clickPrint();
    }
};

} // namespace

class TestPrintButton : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void cancelledDialogChangesNothing();
    void jobMovesTheRunOn();
    void nextJobContinuesWithoutDuplicates();
    void emptyUpperLinePrintsTypeThirteen();
    void previewShowsThePrint();
    void testSheetChangesNothing();
    void printerFailureAdvancesNothing_data();
    void printerFailureAdvancesNothing();
    void inputStaysClosedDuringJob();
    void noLabelsPrintNothing();
};

void TestPrintButton::cancelledDialogChangesNothing()
{
    PrintFixture p;
    p.design(1, 5, 20);
    p.printSet();
    p.clickPrint(); // no answer scripted: cancelled
    QCOMPARE(p.f.dialogs.count("choosePrinter"), 1);
    QCOMPARE(p.f.state().design.type, 1);
    QCOMPARE(p.f.state().lastJob.has_value(), false);
    QCOMPARE(p.f.state().start.startPosition, 1);
    QCOMPARE(p.f.state().design.firstNumber, 5);
    QCOMPARE(p.f.w().screen(), MainWindow::Screen::Print);
    QVERIFY(!QFile::exists(p.pdf()));
}

void TestPrintButton::jobMovesTheRunOn()
{
    PrintFixture p("10,10,140\r\nnote\r\n");
    p.design(2, 995, 20);
    typeText(p.dc.upperEdit[2], QStringLiteral("PCR"));
    chooseRow(p.dc.letters(LetterList::Type2), 25); // Z
    p.printSet();
    p.print();

    QCOMPARE(pdfPages(p.pdf()), 2); // positions 140..150, then 1..9
    QCOMPARE(p.f.state().lastJob.has_value(), true);
    QCOMPARE(p.f.state().start.startPosition, 10);
    QCOMPARE(p.f.dir.startFile(), QByteArray("10,10,10\r\nnote\r\n"));
    QCOMPARE(p.f.w().screen(), MainWindow::Screen::Design);
    QVERIFY(p.f.w().controls().excelButton->isVisibleTo(&p.f.w()));
    QVERIFY(p.f.w().controls().reportButton->isVisibleTo(&p.f.w()));
    // Z995 + 20 samples ends on A014: the next job starts at A015.
    QCOMPARE(p.f.printed(19).lower, QStringLiteral("A014"));
    QCOMPARE(p.dc.letters(LetterList::Type2)->currentRow(), 0);
    QCOMPARE(p.f.state().design.firstNumber, 15);
    QCOMPARE(p.dc.firstNumberList->currentRow(), 15);
    QCOMPARE(p.dc.numberCaption[2]->text(), QStringLiteral("015")); // the previews follow
    QVERIFY(p.pc.printButton->isEnabled());
}

void TestPrintButton::nextJobContinuesWithoutDuplicates()
{
    // Type3 from AA00 with 100 samples ends on AA99; the next job must not
    // start at AA00 again.
    PrintFixture p;
    p.design(3, 0, 100);
    p.printSet();
    p.print();
    QCOMPARE(p.f.printed(99).lower, QStringLiteral("AA99"));
    p.printSet();
    QCOMPARE(p.pc.sampleLabel->lower(), QStringLiteral("AB00"));
    p.print();
    QCOMPARE(p.f.printed(0).lower, QStringLiteral("AB00"));
    QCOMPARE(p.f.state().start.startPosition, 51);

    // A job that moves the number by more than twice its range.
    p.design(2, 0, 250, 10); // 2500 numbers: A000 .. C490
    p.printSet();
    p.print();
    QCOMPARE(p.f.printed(249).lower, QStringLiteral("C490"));
    QCOMPARE(p.f.state().design.firstNumber, 500);
    p.printSet();
    QCOMPARE(p.pc.sampleLabel->lower(), QStringLiteral("C500"));
}

void TestPrintButton::emptyUpperLinePrintsTypeThirteen()
{
    PrintFixture p;
    p.design(1, 9990, 20);
    p.printSet();
    p.print();
    QCOMPARE(p.f.state().design.type, 1);
    QCOMPARE(p.f.state().run.type, 13);
    QCOMPARE(p.f.printed(0), (PrintLogEntry{QString(), QStringLiteral("9990")}));
    QCOMPARE(p.f.state().design.firstNumber, 10);
    QCOMPARE(p.dc.numberCaption[1]->text(), QStringLiteral("0010"));
}

void TestPrintButton::previewShowsThePrint()
{
    PrintFixture p("10,10,140\r\n\r\n");
    p.design(2, 995, 20); // positions 140..150, then 1..9: two sheets
    p.printSet();
    QTest::mouseClick(p.pc.previewButton, Qt::LeftButton);
    auto* preview = p.f.w().findChild<PreviewDialog*>();
    QVERIFY(preview);
    QCOMPARE(preview->pageCount(), 2);
    // Opening it printed, logged and advanced nothing.
    QVERIFY(!p.f.state().lastJob);
    QCOMPARE(p.f.state().start.startPosition, 140);
    QCOMPARE(p.f.dir.startFile(), QByteArray("10,10,140\r\n\r\n"));

    // The printer gets what the preview shows, pixel for pixel but the
    // anti-aliasing of edges.
    const QList<QImage> pages = preview->pages();
    p.print();
    for (int page = 0; page < 2; ++page) {
        QString error;
        const QString png = p.out.filePath(QStringLiteral("page%1").arg(page));
        PdfTools::run(QStringLiteral("pdftoppm"),
                      {"-r", QString::number(preview->dpi()), "-png", "-f",
                       QString::number(page + 1), "-l", QString::number(page + 1), "-singlefile",
                       p.pdf(), png},
                      error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QImage printed = QImage(png + ".png").convertToFormat(QImage::Format_RGB32);
        const QImage shown = pages[page].convertToFormat(QImage::Format_RGB32);
        QCOMPARE(printed.size(), shown.size());
        qsizetype differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = shown.pixel(x, y), b = printed.pixel(x, y);
                if (qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                        qAbs(qBlue(a) - qBlue(b)) >
                    192)
                    ++differing;
            }
        }
        QVERIFY2(
            differing < shown.width() * shown.height() / 100,
            qPrintable(QStringLiteral("page %1: %2 pixels differ").arg(page + 1).arg(differing)));
    }
}

void TestPrintButton::testSheetChangesNothing()
{
    PrintFixture p("10,10,77\r\n\r\n");
    p.design(1, 5, 20);
    p.printSet();
    p.f.dialogs.printerAnswer = toPdf(p.pdf());
    QTest::mouseClick(p.pc.testPrintButton, Qt::LeftButton);
    QCOMPARE(pdfPages(p.pdf()), 1);
    QString error;
    QVERIFY(PdfTools::text(p.pdf(), error).contains(QStringLiteral("150")));
    QVERIFY(!p.f.state().lastJob);
    QCOMPARE(p.f.state().design.firstNumber, 5);
    QCOMPARE(p.f.dir.startFile(), QByteArray("10,10,77\r\n\r\n"));
    QCOMPARE(p.f.w().screen(), MainWindow::Screen::Print);
}

void TestPrintButton::printerFailureAdvancesNothing_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("missing folder") << false;
    QTest::newRow("full disk keeps the old PDF") << true;
}

void TestPrintButton::printerFailureAdvancesNothing()
{
    QFETCH(bool, fullDisk);
    FullTmpfs disk;
    QString pdf = QStringLiteral("missing/folder/labels.pdf");
    const QByteArray old = "%PDF-1.4 an earlier job\n%%EOF\n";
    if (fullDisk) {
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.skipReason()));
        pdf = disk.filePath(QStringLiteral("labels.pdf"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        QVERIFY(disk.fill());
    }
    PrintFixture p;
    p.design(1, 5, 20);
    typeText(p.dc.upperEdit[1], QStringLiteral("X"));
    p.printSet();
    p.f.dialogs.printerAnswer = toPdf(fullDisk ? pdf : p.out.filePath(pdf));
    p.clickPrint();
    QCOMPARE(p.f.dialogs.count("error"), 1);
    if (fullDisk) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
    }
    QCOMPARE(p.f.state().start.startPosition, 1);
    QCOMPARE(p.f.state().design.firstNumber, 5);
    QCOMPARE(p.f.state().design.type, 1);
    QCOMPARE(p.f.printed(0), PrintLogEntry());
    QCOMPARE(p.f.dir.startFile(), QByteArray("10,10,1\r\n\r\n"));
    QVERIFY(p.pc.printButton->isEnabled());
}

void TestPrintButton::inputStaysClosedDuringJob()
{
    // The second job repeats the first one's labels: while it asks whether
    // to print them again, the job holds the window.
    PrintFixture p;
    p.f.w().show();
    p.design(1, 1, 300); // two sheets
    p.printSet();
    p.print();
    p.design(1, 1, 300);
    p.printSet();
    bool sawBusy = false;
    bool closed = true;
    auto screen = MainWindow::Screen::Design;
    p.f.dialogs.chooseAnswers = {1}; // print them again
    p.f.dialogs.onMessage = [&](const QString&) {
        sawBusy = p.f.w().isPrinting();
        closed = p.f.w().close();
        p.clickPrint(); // a second Print does nothing
        p.back();
        QTest::mouseClick(p.f.w().controls().endButton, Qt::LeftButton);
        screen = p.f.w().screen();
    };
    p.print();
    QVERIFY(sawBusy);
    QVERIFY(!closed);
    QCOMPARE(screen, MainWindow::Screen::Print);
    QVERIFY(p.f.w().isVisible());
    QCOMPARE(p.f.dialogs.count("choosePrinter"), 2);
    QCOMPARE(p.f.dialogs.count("choose"), 1);
    QCOMPARE(pdfPages(p.pdf()), 2);
    QVERIFY(!p.f.w().isPrinting());
    QVERIFY(p.f.w().close());
}

void TestPrintButton::noLabelsPrintNothing()
{
    PrintFixture p;
    p.chooseType(9);
    p.printSet(); // the free-text memo is empty
    p.print();
    QVERIFY(!QFile::exists(p.pdf()));
    QCOMPARE(p.f.dialogs.count("error"), 0);
    QCOMPARE(p.f.state().start.startPosition, 1);
}

QTEST_MAIN(TestPrintButton)
#include "tst_printbutton.moc"
