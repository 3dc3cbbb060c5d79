// --code on the command line, read back from the PDF with zxing-cpp.
#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>

#include "core/io/DesignFile.h"
#include "core/io/StateFile.h"
#include "core/layout/SheetGeometry.h"

#include "CliRun.h"
#include "PdfTools.h"
#include "TestAppDir.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

class TestCliCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codesOnTheCommandLine();
};

namespace {

// What the code on the first label of a PDF's first page reads, from its
// disc rasterised at 600 dpi; empty when there is none.
QString firstCode(const QString& pdf)
{
    const DeviceBox box = SheetGeometry::place(1, {}, 600, 600).box;
    QString error;
    PdfTools::run("pdftoppm",
                  {"-r", "600", "-gray", "-png", "-f", "1", "-l", "1", "-singlefile", "-x",
                   QString::number(box.left), "-y", QString::number(box.top), "-W",
                   QString::number(box.right - box.left), "-H",
                   QString::number(box.bottom - box.top), pdf, pdf},
                  error);
    const QImage disc = QImage(pdf + ".png").convertToFormat(QImage::Format_Grayscale8);
    const ZXing::Result read = ZXing::ReadBarcode(
        ZXing::ImageView(disc.constBits(), disc.width(), disc.height(), ZXing::ImageFormat::Lum,
                         int(disc.bytesPerLine())),
        ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix));
    return read.isValid() ? QString::fromStdString(read.text()) : QString();
}

} // namespace

void TestCliCodes::codesOnTheCommandLine()
{
    // --code replaces the design's choice; the state, the record and the
    // next job's design keep it.
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    LabelDesign saved;
    saved.upperTexts[0] = "LAB";
    saved.sampleCount = 3;
    const QString design = dir.path() + "/design.json";
    QVERIFY(DesignFile::save(design, saved, nullptr));
    const QString pdf = dir.path() + "/o.pdf", record = dir.path() + "/r.pdf";
    Result r = cli({"print", design, "--code", "datamatrix", "--pdf", pdf, "--record", record,
                    "--state-dir", dir.path()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(firstCode(pdf), "LAB 0001");
    QString error;
    QVERIFY(PdfTools::text(record, error).contains("Data Matrix"));
    const SavedState state = StateFile::read(StateFile::pathIn(dir.path())).state;
    QCOMPARE(state.design.look.code, LabelCode::DataMatrix);
    QCOMPARE(state.lastJob->look.code, LabelCode::DataMatrix);

    r = cli({"print", design, "--code", "none", "--pdf", pdf, "--start", "1", "--state-dir",
             dir.path()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(firstCode(pdf), QString());
    const QStringList words =
        PdfTools::text(pdf, error).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    QCOMPARE(words.mid(0, 2), QStringList({"LAB", "0004"}));
}

QTEST_GUILESS_MAIN(TestCliCodes)
#include "tst_clicodes.moc"
