// Reads back the codes the painter draws with a decoder of its own, not the
// encoder's: every code of a whole sheet of each label type, at the
// resolutions of real label printers, on the built-in sheet and on sheets
// of larger and smaller labels.
#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>

#include "core/layout/SheetFile.h"
#include "core/model/Freeze.h"
#include "core/render/PrintSheet.h"
#include "print/QtPrintCanvas.h"

#include <QImage>
#include <QTest>

#include <cmath>

class TestDecodeCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyCodeReadsAsItsLabel_data();
    void everyCodeReadsAsItsLabel();
};

namespace {

// A design of `type` whose texts mix ASCII, full-width and half-width
// characters, enough labels to fill a sheet.
LabelDesign designOf(int type)
{
    LabelDesign design;
    design.type = type == BlankType1 ? 1 : type;
    design.upperTexts = {type == BlankType1 ? "" : "LAB", "ＡＢ", "ｹﾝﾀｲ", "血液", "x-1"};
    design.type8Lines = {"検体", "ｱｲｳｴｵ"};
    const QStringList forms = {"S-%1", "検%1", "ｹﾝ%1", "①%1", "Ab%1", "検\\%1", "¥%1"};
    for (int i = 0; i < MaxFreeTexts; ++i)
        design.freeTexts << forms[i % forms.size()].arg(i, 2, 10, QLatin1Char('0'));
    // Running over the end of the range into the letters.
    const LabelTypeTraits& traits = labelType(design.type);
    design.firstNumber = traits.hasNumber() ? traits.range - 10 : 0;
    design.sampleCount = MaxFreeTexts;
    design.repeatCount = 3;
    design.letters = {1, 2, 25, 4, 5, 6};
    return design;
}

QRect rectOf(const DeviceBox& box)
{
    return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

// The box of the dark pixels of `image` within `area`.
QRect inkWithin(const QImage& image, const QRect& area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            if (row[x] < 128)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

} // namespace

void TestDecodeCodes::everyCodeReadsAsItsLabel_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QString>("sheetFile"); // empty for the built-in sheet
    for (const int dpi : {300, 600}) {
        for (int type = FirstLabelType; type <= BlankType1; ++type)
            QTest::addRow("type %d at %d dpi", type, dpi) << type << dpi << QString();
        for (const char* sheet : {"a4-18mm-9x13", "a4-10mm-13x20"}) {
            for (const int type : {2, 9})
                QTest::addRow("type %d at %d dpi on %s", type, dpi, sheet)
                    << type << dpi << QStringLiteral(":/sheets/%1.json").arg(sheet);
        }
    }
}

void TestDecodeCodes::everyCodeReadsAsItsLabel()
{
    QFETCH(int, type);
    QFETCH(int, dpi);
    QFETCH(QString, sheetFile);
    const Sheet labelSheet =
        sheetFile.isEmpty() ? Sheet::builtIn() : *SheetFile::load(sheetFile, nullptr);
    const SheetDots::Placement placement(labelSheet, {}, dpi, dpi);
    const LabelRun run = freeze(designOf(type), QDate(2026, 12, 9));
    QCOMPARE(run.type, type);
    // A whole sheet, or as much of it as the run fills.
    QVERIFY(run.labelTotal() >= 150);
    const int positions = std::min(labelSheet.positions(), run.labelTotal());
    PrintAppearance look;
    look.code = LabelCode::DataMatrix;
    const SheetLabels labels(run);
    QVERIFY(labels.codeSize().fits);

    // The sheet, as the printer gets it, in grey levels.
    QRect drawn;
    for (int p = 1; p <= positions; ++p)
        drawn |= rectOf(placement.place(p).box);
    QImage sheet(drawn.right() + 10, drawn.bottom() + 10, QImage::Format_Grayscale8);
    sheet.fill(Qt::white);
    sheet.setDotsPerMeterX(qRound(dpi / 0.0254));
    sheet.setDotsPerMeterY(qRound(dpi / 0.0254));
    {
        QtPrintCanvas canvas(sheet);
        QVERIFY(canvas.beginDocument());
        printSheet(canvas, labelSheet, labels, look, {}, 1, 1, 1, positions);
        QVERIFY(canvas.endDocument());
    }

    const int module = moduleDots(dpi, labelSheet.discScale());
    const int side = labels.codeSize().modules * module;
    const double margin = 0.3 * labelSheet.discScale() * dpi / 25.4;
    const auto hints = ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::DataMatrix);
    for (int p = 1; p <= positions; ++p) {
        const LabelTexts texts = labels.texts(p - 1);
        const QString content = LabelCodes::contentOf(texts.upper, texts.lower);
        const QRect disc = rectOf(placement.place(p).box);
        const QImage crop = sheet.copy(disc);
        const ZXing::ImageView view(crop.constBits(), crop.width(), crop.height(),
                                    ZXing::ImageFormat::Lum, int(crop.bytesPerLine()));
        const ZXing::Result read = ZXing::ReadBarcode(view, hints);
        QVERIFY2(read.isValid(), qPrintable(QStringLiteral("%1: %2").arg(p).arg(content)));
        QCOMPARE(QString::fromStdString(read.text()), content);

        // The symbol as drawn, found from where the reader saw it, is the
        // job's size, and one module around it is free of ink.
        const ZXing::Position& at = read.position();
        const QRect seen = QRect(QPoint(at.topLeft().x, at.topLeft().y),
                                 QPoint(at.bottomRight().x, at.bottomRight().y))
                               .normalized()
                               .adjusted(-module, -module, module, module);
        const QRect symbol = inkWithin(crop, seen.intersected(crop.rect()));
        QCOMPARE(symbol.size(), QSize(side, side));
        const QRect quiet = symbol.adjusted(-module, -module, module, module);
        for (const QRect& band : {QRect(quiet.left(), quiet.top(), quiet.width(), module),
                                  QRect(quiet.left(), symbol.bottom() + 1, quiet.width(), module),
                                  QRect(quiet.left(), quiet.top(), module, quiet.height()),
                                  QRect(symbol.right() + 1, quiet.top(), module, quiet.height())})
            QVERIFY2(inkWithin(crop, band).isEmpty(), qPrintable(content));

        // Every glyph and module keeps its margin from the disc's edge.
        const QRect ink = inkWithin(crop, crop.rect());
        const double radius = disc.width() / 2.0 - margin + 1;
        const QPointF centre(disc.width() / 2.0, disc.height() / 2.0);
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            const uchar* row = crop.constScanLine(y);
            for (int x = ink.left(); x <= ink.right(); ++x) {
                if (row[x] < 128 && std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y()) > radius)
                    QFAIL(qPrintable(QStringLiteral("ink at the edge of %1 (%2, %3)")
                                         .arg(content)
                                         .arg(x)
                                         .arg(y)));
            }
        }
    }
}

QTEST_MAIN(TestDecodeCodes)
#include "tst_decodecodes.moc"
