#include "core/render/PrintJob.h"
#include "core/render/PrintSheet.h"
#include "print/PdfDocumentCanvas.h"
#include "print/QtPrintCanvas.h"

#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/Fonts.h"

#include "PdfTools.h"
#include "PrintTestRun.h"

#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

// What a real printer gets: the job printed to PDF at 600 dpi through
// QPrinter, then read back with poppler.
class TestPrintPdf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void discsLandOnTheLayout();
    void textsComeOutInPrintOrder();
    void unwritableOutputFails();

private:
    QTemporaryDir m_dir;
    QString m_pdf;
    LabelRun m_run;
    QPoint m_origin; // the printable area's corner on the page, in dots
};

namespace {

const QColor DiscColour(255, 0, 0); // the "Red" background

void setUp(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
    // 150 and 200 dots: the layout's origin is not the paper's corner.
    printer.setPageMargins(QMarginsF(18, 24, 18, 18), QPageLayout::Point);
    printer.setOutputFileName(file);
}

// The discs of one row of labels: each run of columns that holds the disc
// colour, and the rows it spans. The text cuts holes but no disc apart.
QList<QRect> discsIn(const QImage& image)
{
    auto isDisc = [&](int x, int y) {
        const QRgb c = image.pixel(x, y);
        return qAbs(qRed(c) - 255) + qGreen(c) + qBlue(c) < 60;
    };
    QList<QRect> discs;
    int from = -1;
    for (int x = 0; x <= image.width(); ++x) {
        bool any = false;
        for (int y = 0; x < image.width() && y < image.height() && !any; ++y)
            any = isDisc(x, y);
        if (any && from < 0)
            from = x;
        if (any || from < 0)
            continue;
        QRect disc;
        for (int y = 0; y < image.height(); ++y) {
            for (int dx = from; dx < x; ++dx) {
                if (isDisc(dx, y))
                    disc |= QRect(dx, y, 1, 1);
            }
        }
        discs << disc;
        from = -1;
    }
    return discs;
}

int dots(int units)
{
    return units * 600 / 250;
}

} // namespace

void TestPrintPdf::initTestCase()
{
    const QString missing = PdfTools::missingTools();
    if (!missing.isEmpty())
        QFAIL(qPrintable("missing " + missing + ": install poppler-utils (scripts/setup --test)"));
    installFontSubstitutions();
    QVERIFY(m_dir.isValid());
    m_pdf = m_dir.filePath(QStringLiteral("labels.pdf"));

    // Type 2 from B995 in steps of 2: the letter turns over to C on sheet 1.
    LabelRun run = numberedRun(2, 995, 15, 1, QStringLiteral("検体"));
    run.step = 2;
    run.letter1 = 1;
    m_run = run;
    PrintAppearance look;
    look.backgroundIndex = 5;
    look.font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
    look.font.setBold(true);

    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, m_pdf);
    m_origin = printer.pageLayout().paintRectPixels(600).topLeft();
    QCOMPARE(m_origin, QPoint(150, 200));
    QtPrintCanvas canvas(printer);
    QCOMPARE(canvas.dpiX(), 600);
    const PrintJobResult result = RunPrintJob(canvas, m_run, look, {}, 141, {});
    QVERIFY2(result.ok, qPrintable(result.error));
}

void TestPrintPdf::discsLandOnTheLayout()
{
    QString error;
    QCOMPARE(PdfTools::pageCount(m_pdf, error), 2);

    // Page 1 holds positions 141..150, the last row; rasterise just that band.
    const auto left = [](int p) { return SheetGeometry::labelLeft(p, {}); };
    const auto top = [](int p) { return SheetGeometry::labelTop(p, {}); };
    const QRect band(m_origin.x() + dots(left(141)) - 40, m_origin.y() + dots(top(141)) - 40,
                     dots(left(150) + 130) - dots(left(141)) + 80,
                     dots(top(150) + 130) - dots(top(141)) + 80);
    const QString png = m_dir.filePath(QStringLiteral("band"));
    PdfTools::run(QStringLiteral("pdftoppm"), {"-r",        "600",
                                               "-png",      "-f",
                                               "1",         "-l",
                                               "1",         "-singlefile",
                                               "-aaVector", "no",
                                               "-x",        QString::number(band.x()),
                                               "-y",        QString::number(band.y()),
                                               "-W",        QString::number(band.width()),
                                               "-H",        QString::number(band.height()),
                                               m_pdf,       png},
                  error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QImage image(png + QStringLiteral(".png"));
    QVERIFY(!image.isNull());

    const QList<QRect> discs = discsIn(image);
    QCOMPARE(discs.size(), 10);
    for (int i = 0; i < discs.size(); ++i) {
        const int p = 141 + i;
        // The outline straddles the box edge evenly, so the disc's middle is the box's.
        const double expectedX =
            m_origin.x() - band.x() + (dots(left(p)) + dots(left(p) + 130)) / 2.0;
        const double expectedY =
            m_origin.y() - band.y() + (dots(top(p)) + dots(top(p) + 130)) / 2.0;
        const QRect& b = discs[i];
        const double x = b.left() + b.width() / 2.0;
        const double y = b.top() + b.height() / 2.0;
        QVERIFY2(qAbs(x - expectedX) <= 1 && qAbs(y - expectedY) <= 1,
                 qPrintable(QStringLiteral("position %1 at (%2, %3), expected (%4, %5)")
                                .arg(p)
                                .arg(x)
                                .arg(y)
                                .arg(expectedX)
                                .arg(expectedY)));
    }

    // The texts are placed by their top, not their baseline: all ink of the
    // first label lies between the upper line's top and the lower line's end.
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setBold(true);
    font.setPointSize(9);
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, QString());
    const int height = QFontMetrics(font, &printer).height();
    const QRect first = discs[0];
    const int cx = m_origin.x() - band.x() + dots(left(141) + 65);
    const int cy = m_origin.y() - band.y() + dots(top(141) + 66);
    QRect ink;
    for (int y = first.top(); y <= first.bottom(); ++y) {
        for (int x = first.left(); x <= first.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 60)
                ink = ink.united(QRect(x, y, 1, 1));
        }
    }
    QVERIFY(!ink.isNull());
    QVERIFY2(ink.top() >= cy - height - 10 && ink.top() < cy - height / 2,
             qPrintable(
                 QStringLiteral("ink from %1, line top %2").arg(ink.top()).arg(cy - height - 10)));
    QVERIFY(ink.bottom() <= cy + height);
    QVERIFY(qAbs(ink.center().x() - cx) <= height / 4);
}

void TestPrintPdf::textsComeOutInPrintOrder()
{
    QString error;
    const QString text = PdfTools::text(m_pdf, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList expected;
    for (int k = 0; k < m_run.labelTotal(); ++k) {
        const LabelTexts label = ComposeLabelTexts(m_run, k);
        expected << label.upper << label.lower;
    }
    QCOMPARE(expected.mid(0, 4), QStringList({"検体", "B995", "検体", "B997"}));
    QCOMPARE(PdfTools::firstOutOfOrder(text, expected), QString());
    QCOMPARE(PdfTools::fontsNotEmbedded(m_pdf, error), QStringList());
}

void TestPrintPdf::unwritableOutputFails()
{
    const QString file = m_dir.filePath(QStringLiteral("no/such/folder/labels.pdf"));
    PrintDestination destination;
    destination.pdfFile = file;
    PdfDocumentCanvas canvas(destination);
    const PrintJobResult result =
        RunPrintJob(canvas, numberedRun(1, 1, 3), PrintAppearance(), {}, 1, {});

    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(file), qPrintable(result.error));
    QVERIFY(result.job.labels.isEmpty());
    QVERIFY(!QFile::exists(file));
}

QTEST_MAIN(TestPrintPdf)
#include "tst_printpdf.moc"
