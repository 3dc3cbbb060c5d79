#include "core/render/PrintJob.h"
#include "print/PrintQueue.h"

#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/Fonts.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "ui/PrinterDocument.h"

#include "MainFixture.h"
#include "PdfTools.h"
#include "PrintTestRun.h"

#include <QLineEdit>
#include <QPushButton>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTest>

// A job printed to a real CUPS queue by name, as a user's printer gets it:
// the program hands it to CUPS, CUPS filters it, and cups-pdf writes what
// a printer would have printed into a PDF that is read back here. The queue
// comes from scripts/cups-pdf-queue.
class TestCupsQueue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void twoSheetsReachThePrinter();
    void refusedJobAdvancesNothing_data();
    void refusedJobAdvancesNothing();
    void missingQueueRefuses();

private:
    QString m_queue;
    QDir m_out;
};

namespace {

// Jobs of the queue that CUPS has not finished yet.
bool queueIsIdle(const QString& queue)
{
    QString error;
    const QByteArray jobs =
        PdfTools::run(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue}, error);
    return error.isEmpty() && jobs.trimmed().isEmpty();
}

} // namespace

void TestCupsQueue::initTestCase()
{
    const QString missing = PdfTools::missingTools();
    if (!missing.isEmpty())
        QFAIL(qPrintable("missing " + missing + ": install poppler-utils (scripts/setup --test)"));
    installFontSubstitutions();
    m_queue = qEnvironmentVariable("RONDEL_CUPS_QUEUE", QStringLiteral("RondelPDF"));
    m_out.setPath(
        qEnvironmentVariable("RONDEL_CUPS_PDF_DIR", QStringLiteral("/var/spool/cups-pdf/rondel")));
    if (QPrinterInfo::printerInfo(m_queue).isNull() || !m_out.exists()) {
        QFAIL(qPrintable(QStringLiteral("CUPS queue %1 writing into %2 not found: run "
                                        "scripts/cups-pdf-queue (as root) first")
                             .arg(m_queue, m_out.path())));
    }
}

void TestCupsQueue::twoSheetsReachThePrinter()
{
    // Type 3 from ZZ98: the letters wrap round to AA on the way.
    LabelRun run = numberedRun(3, 98, 8, 1, QStringLiteral("血液"));
    run.letter1 = 25;
    run.letter2 = 25;
    PrintAppearance look;
    look.backgroundIndex = 2;
    look.font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));

    const QString title = QStringLiteral("rondeltest%1x%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(m_queue);
        QCOMPARE(printer.outputFormat(), QPrinter::NativeFormat);
        const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, title);
        // Positions 146..150, then 1..3.
        const PrintJobResult result = runPrintJob(*canvas, run, look, {}, 146, {});
        QVERIFY2(result.ok, qPrintable(result.error));
    }

    QString pdf;
    const auto removeOutput = qScopeGuard([&pdf] {
        if (!pdf.isEmpty())
            QFile::remove(pdf);
    });
    auto arrived = [&] {
        const QStringList files = m_out.entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
        pdf = files.isEmpty() ? QString() : m_out.filePath(files.first());
        return !pdf.isEmpty() && queueIsIdle(m_queue);
    };
    QTRY_VERIFY2_WITH_TIMEOUT(
        arrived(),
        qPrintable("no PDF from queue " + m_queue + " in " + m_out.path() + " (see /var/log/cups)"),
        120000);

    QString error;
    QCOMPARE(PdfTools::pageCount(pdf, error), 2);
    const QString text = PdfTools::text(pdf, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList expected;
    for (int k = 0; k < run.labelTotal(); ++k) {
        const LabelTexts label = composeLabelTexts(run, k);
        expected << label.upper << label.lower;
    }
    QCOMPARE(expected.mid(0, 6), QStringList({"血液", "ZZ98", "血液", "ZZ99", "血液", "AA00"}));
    QCOMPARE(expected.last(), QStringLiteral("AA05"));
    QCOMPARE(PdfTools::firstOutOfOrder(text, expected), QString());
}

void TestCupsQueue::refusedJobAdvancesNothing_data()
{
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("resume");
    QTest::addColumn<bool>("accepted");
    // A queue that rejects jobs still lets the print dialog choose it; the
    // job must then count as not printed. A paused queue takes the job and
    // prints it when it resumes.
    QTest::newRow("rejecting queue") << "cupsreject"
                                     << "cupsaccept" << false;
    QTest::newRow("paused queue") << "cupsdisable"
                                  << "cupsenable" << true;
}

void TestCupsQueue::refusedJobAdvancesNothing()
{
    QFETCH(QString, stop);
    QFETCH(QString, resume);
    QFETCH(bool, accepted);
    QString error;
    PdfTools::run(stop, {m_queue}, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const auto restart = qScopeGuard([this, resume] {
        QString ignored;
        PdfTools::run(resume, {m_queue}, ignored);
    });

    MainFixture f("10,10,7\r\nnote\r\n");
    const DesignControls& dc = f.w().design().controls();
    dc.upperEdit[1]->setText(QStringLiteral("Q"));
    clickRow(dc.firstNumberList, 5);
    clickRow(dc.sampleCountList, 2);
    dc.printSetButton->click();
    f.dialogs.printerAnswer = [this](QPrinter& printer) {
        printer.setPrinterName(m_queue);
        return true;
    };
    f.w().printScreen().controls().printButton->click();

    if (accepted) {
        QCOMPARE(f.dialogs.count("error"), 0);
        QCOMPARE(f.state().start.startPosition, 10);
        QCOMPARE(f.state().design.firstNumber, 8);
        return;
    }
    QCOMPARE(f.dialogs.count("error"), 1);
    QVERIFY2(f.dialogs.texts("error").first().contains(m_queue),
             qPrintable(f.dialogs.texts("error").first()));
    QCOMPARE(f.state().start.startPosition, 7);
    QCOMPARE(f.state().design.firstNumber, 5);
    QCOMPARE(f.printed(0), PrintLogEntry());
    QCOMPARE(f.dir.startFile(), QByteArray("10,10,7\r\nnote\r\n"));
    QCOMPARE(f.w().screen(), MainWindow::Screen::Print);
}

void TestCupsQueue::missingQueueRefuses()
{
    // A printer deleted between the print dialog and the job.
    QString error;
    QVERIFY(!PrintQueue::submit(QStringLiteral("NoSuchRondelQueue"), QStringLiteral("t"),
                                QByteArray("%PDF-1.4\n%%EOF\n"), {}, &error));
    QVERIFY2(error.contains(QStringLiteral("NoSuchRondelQueue")), qPrintable(error));
}

QTEST_MAIN(TestCupsQueue)
#include "tst_cupsqueue.moc"
