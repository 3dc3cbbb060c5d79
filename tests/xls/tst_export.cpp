#include "core/render/Fonts.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/PrintScreen.h"
#include "xls/SpreadsheetExport.h"

#include "FullTmpfs.h"
#include "MainFixture.h"
#include "PdfTools.h"
#include "ReadOnlyDir.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// The window with a printed job of one label, as Excel needs one.
// A job printed as a user prints one, which Excel and Report then offer.
void giveJob(MainFixture& f)
{
    QTest::keyClicks(f.w().design().controls().upperEdit[1], QStringLiteral("U"));
    printToPdf(f, f.dir.path() + QStringLiteral("/labels.pdf"));
}

void clickExcel(MainFixture& f)
{
    QTest::mouseClick(f.w().controls().excelButton, Qt::LeftButton);
}

QList<PrintLogEntry> entries(int count)
{
    QList<PrintLogEntry> out;
    for (int i = 1; i <= count; ++i)
        out << PrintLogEntry{QStringLiteral("検体"),
                             QStringLiteral("A%1").arg(i, 3, 10, QLatin1Char('0'))};
    return out;
}

QJsonObject readBack(const QString& path)
{
    QProcess reader;
    const QString script = qEnvironmentVariable("RONDEL_SOURCE_DIR") + "/tests/xls/read_xls.py";
    reader.start(QStringLiteral("/usr/bin/python3"), {script, path});
    reader.waitForFinished(60000);
    const QByteArray out = reader.readAllStandardOutput();
    if (reader.exitCode() != 0)
        qWarning() << reader.readAllStandardError();
    return QJsonDocument::fromJson(out).object();
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutions(); }

    void cellsOfTheBook();
    void readsBackInAnotherReader_data();
    void readsBackInAnotherReader();
    void customBackgroundKeepsItsColour();
    void fileNames();
    void overwriteAnsweredNo();
    void unwritableFolderKeepsOldFile();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void exportIsTheJobs();
};

void TestExport::cellsOfTheBook()
{
    SpreadsheetExport::Colours colours;
    colours.textIndex = 7;       // Lime
    colours.backgroundIndex = 3; // Green
    QList<PrintLogEntry> labels = entries(3);
    labels[1].upper.clear(); // still coloured
    const Xls::Workbook book = SpreadsheetExport::workbookFor(labels, colours, QDate(2007, 3, 5));
    QCOMPARE(book.sheetCount(), 3);
    QVERIFY(!book.paletteRedefined());
    const Xls::Worksheet& sheet = book.sheet();
    // "text|font|fill|borders" of a cell
    auto cell = [&sheet](int row, int col) {
        const Xls::Cell c = sheet.cell(row, col);
        return QStringLiteral("%1|%2|%3|%4")
            .arg(c.text)
            .arg(c.format.fontColor)
            .arg(c.format.fillColor)
            .arg(c.format.borders == Xls::AllBorders ? "all"
                 : c.format.borders                  ? "some"
                                                     : "none");
    };
    QCOMPARE(cell(0, 0), QStringLiteral("文字|-1|-1|all"));
    QCOMPARE(cell(0, 1), QStringLiteral("数字|-1|-1|all"));
    QCOMPARE(cell(0, 2), QStringLiteral("内容　(07/03/05  １１ｍφ円形ラベル)|-1|-1|all"));
    for (int row = 1; row <= 3; ++row) {
        QCOMPARE(cell(row, 0), labels[row - 1].upper + "|11|11|none");
        QCOMPARE(cell(row, 1), labels[row - 1].lower + "|11|11|all");
        QCOMPARE(cell(row, 2), QStringLiteral("|-1|-1|all"));
    }
    QCOMPARE(sheet.cells().size(), size_t(12));
    QCOMPARE(sheet.rowHeights(), (std::map<int, quint16>{{1, 400}, {2, 400}, {3, 400}}));
    QCOMPARE(sheet.columnWidths(), (std::map<int, quint16>{{0, 6 * 256}, {2, 40 * 256}}));

    // Labels with codes say so beside the header.
    const Xls::Workbook coded =
        SpreadsheetExport::workbookFor(labels, colours, QDate(2007, 3, 5), LabelCode::DataMatrix);
    QVERIFY(coded.sheet().cell(0, 3).text.contains(QStringLiteral("Data Matrix")));
    QCOMPARE(coded.sheet().cells().size(), size_t(13));
}

void TestExport::readsBackInAnotherReader_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("header only") << 0;
    QTest::newRow("3") << 3;
    QTest::newRow("300") << 300;
    QTest::newRow("1200") << 1200;
}

void TestExport::readsBackInAnotherReader()
{
    QFETCH(int, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath("labels.xls");
    SpreadsheetExport::Colours colours;
    colours.textIndex = 1;       // Red
    colours.backgroundIndex = 2; // SkyBlue
    QString error;
    QVERIFY2(SpreadsheetExport::exportSpreadsheet(path, entries(rows), colours, QDate(2026, 12, 8),
                                                  &error),
             qPrintable(error));

    const QJsonObject book2 = readBack(path);
    QCOMPARE(book2.value("log").toString(), QString());
    const QJsonObject cells = book2.value("cells").toObject();
    QCOMPARE(cells.value("0,2").toObject().value("text").toString(),
             QStringLiteral("内容　(26/12/08  １１ｍφ円形ラベル)"));
    QCOMPARE(cells.value("0,0").toObject().value("borders").toString(), QStringLiteral("1111"));
    QCOMPARE(cells.value("0,1").toObject().value("text").toString(), QStringLiteral("数字"));
    for (int row = 1; row <= rows; ++row) {
        const QJsonObject upper = cells.value(QStringLiteral("%1,0").arg(row)).toObject();
        const QJsonObject lower = cells.value(QStringLiteral("%1,1").arg(row)).toObject();
        const QJsonObject notes = cells.value(QStringLiteral("%1,2").arg(row)).toObject();
        QCOMPARE(upper.value("text").toString(), QStringLiteral("検体"));
        QCOMPARE(lower.value("text").toString(),
                 QStringLiteral("A%1").arg(row, 3, 10, QLatin1Char('0')));
        QCOMPARE(upper.value("font").toString(), QStringLiteral("FF0000"));
        QCOMPARE(upper.value("fill").toString(), QStringLiteral("0066CC"));
        QCOMPARE(upper.value("borders").toString(), QStringLiteral("0000"));
        QCOMPARE(lower.value("fill").toString(), QStringLiteral("0066CC"));
        QCOMPARE(lower.value("borders").toString(), QStringLiteral("1111"));
        QCOMPARE(notes.value("borders").toString(), QStringLiteral("1111"));
        QCOMPARE(book2.value("rowHeights").toObject().value(QString::number(row)).toInt(), 400);
    }
    QCOMPARE(cells.size(), 3 + 3 * rows);
    if (rows > 0) {
        const QJsonObject widths = book2.value("colWidths").toObject();
        QCOMPARE(widths.value("0").toInt(), 6 * 256);
        QCOMPARE(widths.value("2").toInt(), 40 * 256);
    }
}

void TestExport::customBackgroundKeepsItsColour()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("custom.xls");
    SpreadsheetExport::Colours colours;
    colours.backgroundIndex = 8;
    colours.custom = QColor(0x12, 0x34, 0x56);
    QVERIFY(SpreadsheetExport::exportSpreadsheet(path, entries(2), colours, QDate(2026, 1, 2),
                                                 nullptr));
    const QJsonObject cells = readBack(path).value("cells").toObject();
    QCOMPARE(cells.value("1,0").toObject().value("fill").toString(), QStringLiteral("123456"));
    QCOMPARE(cells.value("2,1").toObject().value("fill").toString(), QStringLiteral("123456"));
    QCOMPARE(cells.value("1,0").toObject().value("font").toString(), QStringLiteral("000000"));
}

void TestExport::fileNames()
{
    QCOMPARE(SpreadsheetExport::fileNameFor("labels"), QStringLiteral("labels.xls"));
    QCOMPARE(SpreadsheetExport::fileNameFor("labels.xls"), QStringLiteral("labels.xls"));
    QCOMPARE(SpreadsheetExport::fileNameFor("labels.XLS"), QStringLiteral("labels.XLS.xls"));

    // Through the Excel button, with a path far longer than 150 bytes.
    MainFixture f;
    giveJob(f);
    const QString deep = f.dir.path() + "/" + QString(60, QLatin1Char('d')) + "/" +
                         QString(60, QLatin1Char('e')) + "/" + QStringLiteral("ラベル記録");
    QVERIFY(QDir().mkpath(QFileInfo(deep).path()));
    f.dialogs.saveFileAnswers << deep;
    clickExcel(f);
    QCOMPARE(f.dialogs.lastSaveFilter, QStringLiteral("Excel files (*.xls)"));
    QVERIFY(QFile::exists(deep + ".xls"));
    QCOMPARE(f.dialogs.count("error"), 0);
}

void TestExport::overwriteAnsweredNo()
{
    MainFixture f;
    giveJob(f);
    const QString path = f.dir.path() + "/old.xls";
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    f.dialogs.saveFileAnswers << path;
    f.dialogs.yesNoAnswers << false;
    clickExcel(f);
    QCOMPARE(f.dialogs.texts("askYesNo"),
             QStringList{QStringLiteral("同名のファイルがあります。重ねがきしますか？")});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("keep me"));
}

void TestExport::unwritableFolderKeepsOldFile()
{
    MainFixture f;
    giveJob(f);
    QTemporaryDir target;
    const QString path = target.filePath("old.xls");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    f.dialogs.saveFileAnswers << path;
    f.dialogs.yesNoAnswers << true;
    {
        ReadOnlyDir readOnly(target.path());
        clickExcel(f);
    }
    QCOMPARE(f.dialogs.count("error"), 1);
    QVERIFY(f.dialogs.texts("error").first().contains(QStringLiteral("old.xls")));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("keep me"));
    QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.xls"});
}

void TestExport::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("freeKib");
    QTest::newRow("small book") << 3 << 0;
    QTest::newRow("large book, part of it fits") << 1200 << 8;
}

void TestExport::fullDiskKeepsOldFile()
{
    QFETCH(int, rows);
    QFETCH(int, freeKib);
    FullTmpfs disk;
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.skipReason()));
    const QString path = disk.filePath("labels.xls");
    QString error;
    QVERIFY(SpreadsheetExport::exportSpreadsheet(path, entries(1), {}, QDate(2026, 12, 8), &error));
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    QVERIFY(disk.fill(freeKib));

    QVERIFY(
        !SpreadsheetExport::exportSpreadsheet(path, entries(rows), {}, QDate(2026, 12, 8), &error));
    QVERIFY2(error.contains(path) && error.contains(FullTmpfs::reason()), qPrintable(error));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), before);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"filler", "labels.xls"}));
}

void TestExport::exportIsTheJobs()
{
    // Red text printed, then the design changes: PrintSet resets the colours
    // and Type8 is chosen. The spreadsheet is still the job's, in red.
    MainFixture f;
    const DesignControls& dc = f.w().design().controls();
    const PrintControls& pc = f.w().printScreen().controls();
    QTest::keyClicks(dc.upperEdit[1], QStringLiteral("U"));
    QTest::mouseClick(dc.printSetButton, Qt::LeftButton);
    const QRect red = pc.textColourList->visualRect(pc.textColourList->model()->index(1, 0));
    QTest::mouseClick(pc.textColourList->viewport(), Qt::LeftButton, {}, red.center());
    f.dialogs.printerAnswer = [&f](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(f.dir.path() + QStringLiteral("/labels.pdf"));
        return true;
    };
    QTest::mouseClick(pc.printButton, Qt::LeftButton);
    QVERIFY(f.state().lastJob);
    QTest::mouseClick(dc.printSetButton, Qt::LeftButton);
    QCOMPARE(pc.textColourList->currentRow(), 0);
    QTest::mouseClick(f.w().controls().backButton, Qt::LeftButton);
    chooseType(f.w(), 8);

    const QString path = f.dir.path() + QStringLiteral("/job.xls");
    f.dialogs.saveFileAnswers << path;
    clickExcel(f);
    // A dated name is offered, next time in the folder used.
    QCOMPARE(QFileInfo(f.dialogs.lastSaveProposal).fileName(),
             QStringLiteral("labels-20261208-1030.xls"));
    f.dialogs.saveFileAnswers << std::nullopt;
    clickExcel(f);
    QCOMPARE(QFileInfo(f.dialogs.lastSaveProposal).absolutePath(), f.dir.path());
    const QJsonObject cells = readBack(path).value("cells").toObject();
    QCOMPARE(cells.value("1,0").toObject().value("font").toString(), QStringLiteral("FF0000"));
    QCOMPARE(cells.value("30,1").toObject().value("text").toString(), QStringLiteral("0030"));

    // The record is the job's too.
    f.dialogs.printerAnswer = [&f](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(f.dir.path() + QStringLiteral("/record.pdf"));
        return true;
    };
    QTest::mouseClick(f.w().controls().reportButton, Qt::LeftButton);
    QString error;
    const QString record = PdfTools::text(f.dir.path() + QStringLiteral("/record.pdf"), error);
    QVERIFY2(record.contains(QStringLiteral("0001")) && record.contains(QStringLiteral("0030")),
             qPrintable(record + error));

    // A job of type 8 has nothing to list.
    f.state().lastJob->run.type = 8;
    f.dialogs.calls.clear();
    clickExcel(f);
    QVERIFY(f.dialogs.calls.isEmpty());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
