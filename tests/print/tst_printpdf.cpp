#include "core/render/PrintJob.h"
#include "core/render/PrintSheet.h"
#include "print/PdfDocumentCanvas.h"
#include "ui/PrinterDocument.h"

#include "core/model/LabelType.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/numbering/Cp932.h"
#include "core/render/Fonts.h"

#include "PdfTools.h"
#include "PrintTestRun.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// What a printer gets: documents made as the window makes them (a QPrinter
// from the print dialog and openPrintDocument), written to a PDF file or
// handed to the CUPS queue of scripts/cups-pdf-queue, then rasterised at
// 600 dpi with poppler and measured from the paper's corner.
class TestPrintPdf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void discsLandOnTheLayout_data();
    void discsLandOnTheLayout();
    void textsStayInsideTheirDiscs();
    void textsComeOutInPrintOrder();
    void unwritableOutputFails();

private:
    QTemporaryDir m_dir;
    QString m_pdf; // a two-sheet job, for the text order
    LabelRun m_run;
};

namespace {

constexpr int Dpi = 600; // of the rasters
const QString Queue = QStringLiteral("RondelPDF");
const QString QueueOut = QStringLiteral("/var/spool/cups-pdf/rondel");

// The sheets of the placement check: offsets -5, 0 and +5 on both axes, each
// at scale 1000 and 1010, one page each.
QList<SheetGeometry::Offsets> placementCases()
{
    QList<SheetGeometry::Offsets> cases;
    for (const int scale : {1000, 1010}) {
        for (const int index : {10, 20, 0})
            cases.append({index, index, scale, scale});
    }
    return cases;
}

QString caseName(const SheetGeometry::Offsets& o)
{
    return QStringLiteral("offset index %1, scale %2").arg(o.horzIndex).arg(o.scaleX);
}

QFont labelFont()
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setBold(true);
    return font;
}

// Draws pages through a canvas of the real path; the document's own
// resolution comes back in *dpi.
bool printPages(QPrinter& printer, const QString& title,
                const std::function<void(PrintCanvas&, int page)>& draw, int pages, int* dpi,
                QString* error)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, title);
    *dpi = canvas->dpiX();
    bool ok = canvas->beginDocument();
    for (int page = 0; ok && page < pages; ++page) {
        draw(*canvas, page);
        ok = page + 1 < pages ? canvas->newPage() : canvas->endDocument();
    }
    if (!ok)
        *error = canvas->errorString();
    return ok;
}

// Where position p's label box belongs, in the rasters' dots from the
// paper's corner: 130 units square, its corner at (195, 206) units plus 5 a
// step of offset and 168 a column or row, the corner scaled per mille about
// the origin. Exact, before any rounding to a device's dots.
QRectF layoutBox(int p, const SheetGeometry::Offsets& o)
{
    const double left = (195 + 5 * (o.horzIndex - 10) + 168 * ((p - 1) % 10)) * o.scaleX / 1000.0;
    const double top = (206 + 5 * (o.vertIndex - 10) + 168 * ((p - 1) / 10)) * o.scaleY / 1000.0;
    const double k = Dpi / 250.0;
    return QRectF(left * k, top * k, 130 * k, 130 * k);
}

// A box of the document (at `dpi`) in the rasters' dots.
QRectF atRasterDpi(const DeviceBox& box, int dpi)
{
    const double k = double(Dpi) / dpi;
    return QRectF(QPointF(box.left * k, box.top * k), QPointF(box.right * k, box.bottom * k));
}

// One page's area (raster dots from the paper's corner) rasterised.
QImage raster(const QString& pdf, int page, const QRect& area, bool gray, const QString& prefix,
              QString& error)
{
    QStringList args = {"-r",          QString::number(Dpi),
                        "-f",          QString::number(page),
                        "-l",          QString::number(page),
                        "-singlefile", "-png",
                        "-aa",         "no",
                        "-aaVector",   "no",
                        "-x",          QString::number(area.x()),
                        "-y",          QString::number(area.y()),
                        "-W",          QString::number(area.width()),
                        "-H",          QString::number(area.height())};
    if (gray)
        args << "-gray";
    args << pdf << prefix;
    PdfTools::run(QStringLiteral("pdftoppm"), args, error);
    return error.isEmpty() ? QImage(prefix + QStringLiteral(".png")) : QImage();
}

// The bounding box of the disc colour (red) in an image.
QRect redIn(const QImage& image)
{
    QRect found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60)
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

} // namespace

void TestPrintPdf::initTestCase()
{
    const QString missing = PdfTools::missingTools();
    if (!missing.isEmpty())
        QFAIL(qPrintable("missing " + missing + ": install poppler-utils (scripts/setup --test)"));
    installFontSubstitutions();
    QVERIFY(m_dir.isValid());

    // Type 2 from B995 in steps of 2: the letter turns over to C on sheet 1.
    m_run = numberedRun(2, 995, 15, 1, QStringLiteral("検体"));
    m_run.step = 2;
    m_run.letter1 = 1;
    m_pdf = m_dir.filePath(QStringLiteral("labels.pdf"));
    QPrinter file(QPrinter::HighResolution);
    file.setOutputFormat(QPrinter::PdfFormat);
    file.setOutputFileName(m_pdf);
    PrintAppearance look;
    look.font = labelFont();
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(file, QStringLiteral("labels"));
    const PrintJobResult result = runPrintJob(*canvas, m_run, look, {}, 141, {});
    QVERIFY2(result.ok, qPrintable(result.error));
}

void TestPrintPdf::discsLandOnTheLayout_data()
{
    QTest::addColumn<bool>("queue");
    QTest::newRow("Print to File") << false;
    QTest::newRow("CUPS queue RondelPDF") << true;
}

void TestPrintPdf::discsLandOnTheLayout()
{
    QFETCH(bool, queue);
    // A full sheet of red discs at each offset and scale, one a page.
    PrintAppearance red;
    red.backgroundIndex = 5;
    red.font = labelFont();
    const LabelRun sheet = numberedRun(1, 1, 150, 1, QStringLiteral("ABCDE"));
    const QList<SheetGeometry::Offsets> cases = placementCases();
    const auto drawSheet = [&](PrintCanvas& canvas, int page) {
        printSheet(canvas, sheet, red, cases[page], 1, 1, 1, 150);
    };
    QPrinter printer(QPrinter::HighResolution);
    QString pdf = m_dir.filePath(QStringLiteral("placement.pdf"));
    QString title = QStringLiteral("placement");
    if (queue) {
        if (QPrinterInfo::printerInfo(Queue).isNull() || !QDir(QueueOut).exists())
            QFAIL(qPrintable(QStringLiteral("CUPS queue %1 writing into %2 not found: run "
                                            "scripts/cups-pdf-queue (as root) first")
                                 .arg(Queue, QueueOut)));
        printer.setPrinterName(Queue);
        title = QStringLiteral("rondelplace%1x%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(QDateTime::currentMSecsSinceEpoch());
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    }
    int dpi = 0; // the document's own resolution, whose dots round the layout
    QString error;
    QVERIFY2(printPages(printer, title, drawSheet, int(cases.size()), &dpi, &error),
             qPrintable(error));

    const auto removeOutput = qScopeGuard([&] {
        if (queue && !pdf.isEmpty())
            QFile::remove(pdf);
    });
    if (queue) {
        const QDir out(QueueOut);
        const auto arrived = [&] {
            const QStringList files = out.entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
            pdf = files.isEmpty() ? QString() : out.filePath(files.first());
            QString ignored;
            return !pdf.isEmpty() &&
                   PdfTools::run(QStringLiteral("lpstat"), {QStringLiteral("-o"), Queue}, ignored)
                       .trimmed()
                       .isEmpty();
        };
        QTRY_VERIFY2_WITH_TIMEOUT(
            arrived(),
            qPrintable("no PDF from queue " + Queue + " in " + QueueOut + " (see /var/log/cups)"),
            120000);
    }
    QCOMPARE(PdfTools::pageCount(pdf, error), cases.size());

    double worst = 0;
    for (int page = 1; page <= cases.size(); ++page) {
        const SheetGeometry::Offsets& offsets = cases[page - 1];
        for (const int p : {1, 10, 141, 150}) {
            const QRectF expected = layoutBox(p, offsets);
            // Wide enough for the outline, narrower than the gap to the next disc.
            const QRect area = expected.toAlignedRect().adjusted(-30, -30, 30, 30);
            const QImage image =
                raster(pdf, page, area, false, m_dir.filePath(QStringLiteral("disc")), error);
            QVERIFY2(!image.isNull(), qPrintable(error));
            const QRect disc = redIn(image);
            // The outline straddles the box's edge evenly: the disc's
            // middle is the box's.
            const QPointF at = QRectF(disc).center() + area.topLeft();
            const QPointF off = at - expected.center();
            worst = std::max({worst, qAbs(off.x()), qAbs(off.y())});
            QVERIFY2(qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1 &&
                         qAbs(disc.width() - expected.width()) <= 8,
                     qPrintable(QStringLiteral("%1, position %2: disc %3 wide at (%4, %5), "
                                               "expected at (%6, %7)")
                                    .arg(caseName(offsets))
                                    .arg(p)
                                    .arg(disc.width())
                                    .arg(at.x())
                                    .arg(at.y())
                                    .arg(expected.center().x())
                                    .arg(expected.center().y())));
        }
    }
    qInfo("%s: discs within %.2f dots of the layout at %d dpi (document at %d dpi)",
          QTest::currentDataTag(), worst, Dpi, dpi);
}

void TestPrintPdf::textsStayInsideTheirDiscs()
{
    // Every type with the widest texts its room allows, each label at its
    // own position on one sheet, black on white so that only text is ink.
    const QStringList widest = {QStringLiteral("WWWWW"), QStringLiteral("ＷＷ"),
                                QStringLiteral("ｱｲｳｴｵ")};
    QList<LabelRun> labels;
    for (int type = 1; type <= BlankType1; ++type) {
        const LabelTypeTraits& traits = labelType(type);
        for (const QString& text : widest) {
            // The widest number and letters as well: "W999", "WW99".
            LabelRun run = numberedRun(type, traits.hasNumber() ? traits.range - 1 : 1, 1, 1, text);
            run.letter1 = 22;
            run.letter2 = 22;
            run.type8Lower = text;
            if (traits.hasFreeTexts())
                run.freeTexts = {Cp932::limit(text, traits.freeTextBytes)};
            labels << run;
        }
    }
    PrintAppearance look;
    look.font = labelFont();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_dir.filePath(QStringLiteral("fit.pdf"));
    printer.setOutputFileName(pdf);
    int dpi = 0;
    QString error;
    QVERIFY2(printPages(
                 printer, QStringLiteral("fit"),
                 [&](PrintCanvas& canvas, int) {
                     canvas.setFont(look.font);
                     for (int i = 0; i < labels.size(); ++i) {
                         const auto place =
                             SheetGeometry::place(i + 1, {}, canvas.dpiX(), canvas.dpiY());
                         printLabel(canvas, labels[i], look, place, 0, 0);
                     }
                 },
                 1, &dpi, &error),
             qPrintable(error));

    const auto discOf = [&](int i) {
        return atRasterDpi(SheetGeometry::place(i + 1, {}, dpi, dpi).box, dpi);
    };
    QRectF all;
    for (int i = 0; i < labels.size(); ++i)
        all |= discOf(i);
    const QRect area = all.toAlignedRect().adjusted(-40, -40, 40, 40);
    const QImage image = raster(pdf, 1, area, true, m_dir.filePath(QStringLiteral("fit")), error)
                             .convertToFormat(QImage::Format_Grayscale8);
    QVERIFY2(!image.isNull(), qPrintable(error));

    // Each label's cell reaches halfway to its neighbours; all ink in it
    // lies inside its disc, to half a dot of rasterising.
    const double halfGap = (SheetGeometry::Pitch - SheetGeometry::BoxSize) * Dpi / 250.0 / 2;
    for (int i = 0; i < labels.size(); ++i) {
        const QRectF disc = discOf(i).translated(-area.topLeft());
        const QRect cell =
            disc.adjusted(-halfGap, -halfGap, halfGap, halfGap).toRect() & image.rect();
        const double rx = disc.width() / 2 + 0.5;
        const double ry = disc.height() / 2 + 0.5;
        int ink = 0;
        int outside = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            const uchar* line = image.constScanLine(y);
            for (int x = cell.left(); x <= cell.right(); ++x) {
                if (line[x] >= 128)
                    continue;
                ++ink;
                const double dx = (x + 0.5 - disc.center().x()) / rx;
                const double dy = (y + 0.5 - disc.center().y()) / ry;
                if (dx * dx + dy * dy > 1)
                    ++outside;
            }
        }
        const LabelTexts texts = composeLabelTexts(labels[i], 0);
        QVERIFY2(ink > 500 && outside == 0,
                 qPrintable(QStringLiteral("type %1, \"%2\" over \"%3\": %4 of %5 ink dots "
                                           "outside the disc")
                                .arg(labels[i].type)
                                .arg(texts.upper, texts.lower)
                                .arg(outside)
                                .arg(ink)));
    }
}

void TestPrintPdf::textsComeOutInPrintOrder()
{
    QString error;
    QCOMPARE(PdfTools::pageCount(m_pdf, error), 2);
    const QString text = PdfTools::text(m_pdf, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList expected;
    for (int k = 0; k < m_run.labelTotal(); ++k) {
        const LabelTexts label = composeLabelTexts(m_run, k);
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
        runPrintJob(canvas, numberedRun(1, 1, 3), PrintAppearance(), {}, 1, {});

    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(file), qPrintable(result.error));
    QVERIFY(result.job.labels.isEmpty());
    QVERIFY(!QFile::exists(file));
}

QTEST_MAIN(TestPrintPdf)
#include "tst_printpdf.moc"
