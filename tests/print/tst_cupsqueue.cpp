#include "print/PrintJob.h"
#include "print/QtPrintCanvas.h"

#include "app/Fonts.h"
#include "design/ComposeLabelTexts.h"

#include "PdfTools.h"
#include "PrintTestRun.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTest>

// A job printed to a real CUPS queue by name, as a user's printer gets it:
// QPrinter's CUPS engine spools it, CUPS filters it, and cups-pdf writes what
// a printer would have printed into a PDF that is read back here. The queue
// comes from scripts/cups-pdf-queue.
class TestCupsQueue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void twoSheetsReachThePrinter();

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
    WorkingState state = stateFor(run, 146); // 146..150, then 1..3
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
        printer.setDocName(title);
        QtPrintCanvas canvas(printer);
        const PrintJobResult result = RunPrintJob(canvas, state, look, {});
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
        const LabelTexts label = ComposeLabelTexts(run, k);
        expected << label.upper << label.lower;
    }
    QCOMPARE(expected.mid(0, 6), QStringList({"血液", "ZZ98", "血液", "ZZ99", "血液", "AA00"}));
    QCOMPARE(expected.last(), QStringLiteral("AA05"));
    QCOMPARE(PdfTools::firstOutOfOrder(text, expected), QString());
}

QTEST_MAIN(TestCupsQueue)
#include "tst_cupsqueue.moc"
