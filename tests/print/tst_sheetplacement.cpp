// Labels on sheets measured from the paper, through the real canvases: a
// PDF (rasterised by poppler) and the preview's page images, both with
// printable areas that start inside the paper. Every disc lands where the
// sheet puts it, from the paper's corner, and all of its ink stays inside.
#include "core/layout/SheetFile.h"
#include "core/render/Fonts.h"
#include "core/render/PrintJob.h"
#include "print/ImagePagesCanvas.h"
#include "print/PdfDocumentCanvas.h"

#include "PdfTools.h"
#include "PrintTestRun.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class TestSheetPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void discsLandWhereTheSheetSays_data();
    void discsLandWhereTheSheetSays();
};

namespace {

constexpr int Dpi = 300; // of the images checked
constexpr double MmPerInch = 25.4;

bool isInk(QRgb c)
{
    return qRed(c) < 235 || qGreen(c) < 235 || qBlue(c) < 235;
}

// A whole sheet of labels: red discs, black texts.
PrintJobResult printFullSheet(PrintCanvas& canvas, const Sheet& sheet)
{
    PrintAppearance look;
    look.backgroundIndex = 5;
    look.font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
    look.font.setBold(true);
    return runPrintJob(canvas, sheet, numberedRun(2, 1, sheet.positions(), 1, "検体"), look, {}, 1,
                       {});
}

// Where position p's ink may lie at most, and where its middle belongs, in
// dots of the image from the paper's corner. The outline straddles the
// filled disc's edge: `outline` is its width in the image's dots. The ink
// may reach a dot further, where the disc's place was cut to whole dots,
// and half a dot more of rasterising.
struct Expected {
    QPointF centre;
    double radius;
};

Expected expectedDisc(const Sheet& sheet, int p, double outline)
{
    const double k = Dpi / MmPerInch;
    return {sheet.discSquare(p).center() * k, sheet.fillDiameter() / 2 * k + outline / 2};
}

} // namespace

void TestSheetPlacement::initTestCase()
{
    const QString missing = PdfTools::missingTools();
    if (!missing.isEmpty())
        QFAIL(qPrintable("missing " + missing + ": install poppler-utils (scripts/setup --test)"));
    installFontSubstitutions();
}

void TestSheetPlacement::discsLandWhereTheSheetSays_data()
{
    QTest::addColumn<QString>("sheetFile");
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<QMarginsF>("margins"); // points

    const QString a4 = QStringLiteral(":/sheets/a4-12mm-13x18.json");
    const QString letter = QStringLiteral(":/sheets/letter-19mm-8x10.json");
    QTest::newRow("A4, 12 mm, 13 x 18, PDF") << a4 << true << QMarginsF();
    QTest::newRow("US Letter, 19 mm, 8 x 10, PDF with margins")
        << letter << true << QMarginsF(14, 9, 7, 11);
    QTest::newRow("A4, 12 mm, 13 x 18, preview with margins")
        << a4 << false << QMarginsF(12, 17, 12, 12);
    QTest::newRow("US Letter, 19 mm, 8 x 10, preview") << letter << false << QMarginsF();
}

void TestSheetPlacement::discsLandWhereTheSheetSays()
{
    QFETCH(QString, sheetFile);
    QFETCH(bool, pdf);
    QFETCH(QMarginsF, margins);
    QString error;
    const std::optional<Sheet> sheet = SheetFile::load(sheetFile, &error);
    QVERIFY2(sheet, qPrintable(error));

    QImage image;
    int documentDpi = Dpi;
    QTemporaryDir dir;
    if (pdf) {
        PrintDestination destination;
        destination.pdfFile = dir.filePath(QStringLiteral("sheet.pdf"));
        destination.layout = sheet->pageLayout(margins);
        documentDpi = destination.resolution;
        PdfDocumentCanvas canvas(destination);
        const PrintJobResult printed = printFullSheet(canvas, *sheet);
        QVERIFY2(printed.ok, qPrintable(printed.error));
        PdfTools::run(QStringLiteral("pdftoppm"),
                      {"-r", QString::number(Dpi), "-singlefile", "-png", "-aa", "no", "-aaVector",
                       "no", destination.pdfFile, dir.filePath(QStringLiteral("page"))},
                      error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        image = QImage(dir.filePath(QStringLiteral("page.png")));
    } else {
        ImagePagesCanvas canvas(sheet->pageLayout(margins), Dpi);
        const PrintJobResult printed = printFullSheet(canvas, *sheet);
        QVERIFY2(printed.ok, qPrintable(printed.error));
        QCOMPARE(canvas.pages().size(), 1);
        image = canvas.pages().first();
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    // The image is the whole paper (poppler rounds up).
    const QSize paper = sheet->pageLayout().fullRectPixels(Dpi).size();
    QVERIFY(qAbs(image.width() - paper.width()) <= 1 && qAbs(image.height() - paper.height()) <= 1);

    const double outline = std::lround(5 * sheet->discScale()) * double(Dpi) / documentDpi;
    const double halfPitch = sheet->nearestCentres() / 2 * Dpi / MmPerInch;
    double worst = 0;
    for (int p = 1; p <= sheet->positions(); ++p) {
        const Expected disc = expectedDisc(*sheet, p, outline);
        const QRect cell = QRectF(disc.centre - QPointF(halfPitch, halfPitch),
                                  disc.centre + QPointF(halfPitch, halfPitch))
                               .toRect() &
                           image.rect();
        QRect ink;
        int dark = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QRgb c = line[x];
                if (!isInk(c))
                    continue;
                ink |= QRect(x, y, 1, 1);
                dark += qRed(c) < 100 ? 1 : 0; // text, not the red disc
                const double reach =
                    std::hypot(x + 0.5 - disc.centre.x(), y + 0.5 - disc.centre.y());
                if (reach > disc.radius + 1.5)
                    QFAIL(qPrintable(QStringLiteral("position %1: ink at (%2, %3), %4 dots from "
                                                    "the centre, the disc reaches %5")
                                         .arg(p)
                                         .arg(x)
                                         .arg(y)
                                         .arg(reach)
                                         .arg(disc.radius)));
            }
        }
        const QPointF off = QRectF(ink).center() - disc.centre;
        worst = std::max({worst, qAbs(off.x()), qAbs(off.y())});
        QVERIFY2(qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1 &&
                     qAbs(ink.width() - 2 * disc.radius) <= 2 && dark > 50,
                 qPrintable(QStringLiteral("position %1: disc %2 wide at (%3, %4), %5 dots of "
                                           "text; expected %6 wide at (%7, %8)")
                                .arg(p)
                                .arg(ink.width())
                                .arg(QRectF(ink).center().x())
                                .arg(QRectF(ink).center().y())
                                .arg(dark)
                                .arg(2 * disc.radius)
                                .arg(disc.centre.x())
                                .arg(disc.centre.y())));
    }
    qInfo("%s: every disc within %.2f dots of the sheet at %d dpi", QTest::currentDataTag(), worst,
          Dpi);
}

QTEST_MAIN(TestSheetPlacement)
#include "tst_sheetplacement.moc"
