// The built-in sheet prints exactly as it always did: fixed jobs drawn
// through the real canvases give the same page content streams (PDF), the
// same pixels (previews, the sample label) and the same spreadsheet as the
// program made before sheets became values. The expected digests were taken
// from that program, with Debian 12's Qt and IPA fonts (scripts/setup --test).
#include "core/render/Fonts.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintRecord.h"
#include "core/render/TestSheet.h"
#include "print/ImagePagesCanvas.h"
#include "print/PdfDocumentCanvas.h"
#include "xls/SpreadsheetExport.h"

#include "PrintTestRun.h"
#include "RecordingCanvas.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

class TestBuiltInSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void outputIsAsBefore_data();
    void outputIsAsBefore();
};

namespace {

using Draw = std::function<bool(PrintCanvas&)>;

// Every page's content stream of a PDF, in page order, as written: fonts,
// dates and document ids are left out.
QByteArray contentStreams(const QByteArray& pdf)
{
    QByteArray streams;
    static const QRegularExpression contents(QStringLiteral("/Contents (\\d+) 0 R"));
    const QString text = QString::fromLatin1(pdf);
    for (const QRegularExpressionMatch& m : contents.globalMatch(text)) {
        const QByteArray head = m.captured(1).toLatin1() + " 0 obj";
        const qsizetype object = pdf.indexOf(QByteArray("\n" + head));
        const qsizetype begin = pdf.indexOf("stream\n", object) + 7;
        const qsizetype end = pdf.indexOf("endstream\nendobj", begin);
        if (object < 0 || begin < 7 || end < 0)
            return {};
        streams += pdf.mid(begin, end - begin);
    }
    return streams;
}

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray pixels(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    for (int y = 0; y < rgb.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 4);
    return bytes;
}

QPageLayout a4(double marginPoints)
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(marginPoints, marginPoints, marginPoints, marginPoints),
                       QPageLayout::Point);
}

// A document drawn into a PDF file, as the command line writes one.
QByteArray pdfDigest(const QString& path, int dpi, const Draw& draw)
{
    PrintDestination destination;
    destination.pdfFile = path;
    destination.layout = a4(0);
    destination.resolution = dpi;
    destination.title = QStringLiteral("pin");
    PdfDocumentCanvas canvas(destination);
    if (!draw(canvas))
        return "failed: " + canvas.errorString().toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "unreadable";
    const QByteArray streams = contentStreams(file.readAll());
    return streams.isEmpty() ? "no content streams" : sha256(streams);
}

PrintAppearance boldLook(int background)
{
    PrintAppearance look;
    look.font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
    look.font.setBold(true);
    look.backgroundIndex = background;
    return look;
}

// A job that crosses a sheet, placed by offsets and a scale.
bool labelsJob(PrintCanvas& canvas)
{
    LabelRun run = numberedRun(2, 995, 24, 1, QStringLiteral("検体"));
    run.step = 2;
    run.letter1 = 1;
    return runPrintJob(canvas, run, boldLook(5), {12, 7, 1010, 990}, 141, {}).ok;
}

// Rainbow discs with a code on each, and a five-byte upper line.
PrintJobResult printCoded(PrintCanvas& canvas)
{
    PrintAppearance look = boldLook(3);
    look.rainbow = true;
    look.code = LabelCode::DataMatrix;
    return runPrintJob(canvas, numberedRun(1, 9990, 8, 3, QStringLiteral("ABCDE")), look, {}, 1,
                       {});
}

bool codedJob(PrintCanvas& canvas)
{
    return printCoded(canvas).ok;
}

// The spreadsheet of that job.
QByteArray xlsDigest(const QString& path)
{
    RecordingCanvas canvas;
    const PrintedJob job = printCoded(canvas).job;
    QString error;
    if (!SpreadsheetExport::exportSpreadsheet(path, job.sampleEntries(),
                                              SpreadsheetExport::Colours::of(job.look),
                                              QDate(2026, 3, 4), &error, job.look.code))
        return error.toUtf8();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? sha256(file.readAll()) : "unreadable";
}

} // namespace

void TestBuiltInSheet::initTestCase()
{
    installFontSubstitutions();
}

void TestBuiltInSheet::outputIsAsBefore_data()
{
    QTest::addColumn<QByteArray>("digest");
    QTest::addColumn<QByteArray>("expected");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("pin.pdf"));

    QTest::newRow("labels, two sheets, offsets and scale, PDF at 1200 dpi")
        << pdfDigest(pdf, 1200, labelsJob)
        << QByteArray("46a987af918f177efc89e4e8cb3058ac9272ccc064cee1215203c54ea0784979");
    QTest::newRow("rainbow labels with codes, PDF at 600 dpi")
        << pdfDigest(pdf, 600, codedJob)
        << QByteArray("f57275b5cb524d68e8ccebbd1059d3e61775841b29f543e1a362672a6c19f207");
    QTest::newRow("test sheet, PDF at 1200 dpi") << pdfDigest(pdf, 1200, [](PrintCanvas& canvas) {
        if (!canvas.beginDocument())
            return false;
        printTestSheet(canvas, {14, 3, 1005, 995});
        return canvas.endDocument();
    }) << QByteArray("5943408ef987adc91e262b3e0d91cc28548b17d9625933bbcc8b15e42663e1a2");
    QTest::newRow("record, PDF at 1200 dpi") << pdfDigest(pdf, 1200, [](PrintCanvas& canvas) {
        QList<PrintLogEntry> entries;
        for (int i = 1; i <= 45; ++i)
            entries << PrintLogEntry{QStringLiteral("検体"),
                                     QStringLiteral("A%1").arg(i, 3, 10, QChar('0'))};
        return PrintRecord::printRecordPages(canvas, entries, boldLook(1),
                                             QDateTime(QDate(2026, 3, 4), QTime(9, 0)));
    }) << QByteArray("eef4a804a8a4c5ba041520485e0090f117fd1c37f3641752c067ecc616bcc8c2");

    QTest::newRow("spreadsheet")
        << xlsDigest(dir.filePath(QStringLiteral("pin.xls")))
        << QByteArray("fff72aae53cc94ef9783bb23d2d8d38f84207f29a1d5c447ebe86d8bcd1958ee");

    // The preview: the printer's pages with its margins, at 150 dpi.
    ImagePagesCanvas preview(a4(12), 150);
    QByteArray previewPixels;
    if (codedJob(preview)) {
        for (const QImage& page : preview.pages())
            previewPixels += pixels(page);
    }
    QTest::newRow("preview pages")
        << sha256(previewPixels)
        << QByteArray("9b0323031d3a093345f40976ce1c9cc3a73ba7df46b9f67d91096b6d43e6502e");

    // The sample label: one label alone on an image, as the screen shows it.
    QImage sample(200, 200, QImage::Format_ARGB32_Premultiplied);
    sample.fill(Qt::transparent);
    sample.setDotsPerMeterX(qRound(300 / 0.0254));
    sample.setDotsPerMeterY(qRound(300 / 0.0254));
    {
        QtPrintCanvas canvas(sample);
        canvas.beginDocument();
        const PrintAppearance look = boldLook(4);
        canvas.setFont(look.font);
        SheetGeometry::LabelPlace place;
        place.box = {35, 33, 191, 189};
        place.cx = 113;
        place.cy = 112;
        const LabelRun run = numberedRun(3, 42, 1, 1, QStringLiteral("ＡＢ"));
        printLabel(canvas, SheetLabels(run), look, place, 0, 0);
        canvas.endDocument();
    }
    QTest::newRow("sample label")
        << sha256(pixels(sample))
        << QByteArray("c7294255003dc695fa58997c8ddae61396af34ac9619bb02d11a56c7c6c9ae05");
}

void TestBuiltInSheet::outputIsAsBefore()
{
    QFETCH(QByteArray, digest);
    QTEST(digest, "expected");
}

QTEST_MAIN(TestBuiltInSheet)
#include "tst_builtinsheet.moc"
