#include "xls/CompoundFile.h"
#include "xls/SpreadsheetExport.h"
#include "xls/Workbook.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>

namespace {

// The palette indexes the export uses, with Excel's standard colour for each.
const QList<QPair<int, QString>> kExportColours = {
    {8, "000000"},  {9, "FFFFFF"},  {10, "FF0000"}, {11, "00FF00"}, {12, "0000FF"},
    {13, "FFFF00"}, {14, "FF00FF"}, {15, "00FFFF"}, {22, "C0C0C0"}, {30, "0066CC"},
};
const QStringList kHeader = {"No.", "ラベル", "Größe"};

QString labelText(int row)
{
    return QStringLiteral("ラベル%1 東京・ＡＢＣ").arg(row);
}

// A sheet as the label export writes it: a header row, then one row per printed label.
void writeExportShape(Xls::Worksheet& sheet, int rows)
{
    for (int c = 0; c < 3; ++c)
        sheet.setCell(0, c, kHeader[c], {.borders = Xls::AllBorders});
    for (int r = 1; r <= rows; ++r) {
        const int font = kExportColours[r % 10].first;
        const int back = kExportColours[(r + 3) % 10].first;
        sheet.setCell(r, 0, QString::number(r),
                      {.fontColor = font, .fillColor = back, .borders = {}});
        sheet.setCell(r, 1, labelText(r),
                      {.fontColor = font, .fillColor = back, .borders = Xls::AllBorders});
        sheet.setCell(r, 2, QString(), {.borders = Xls::AllBorders});
        sheet.setRowHeight(r, 20.0);
    }
    if (rows > 0) {
        sheet.setColumnWidth(0, 6);
        sheet.setColumnWidth(2, 40);
    }
}

// "text|font|fill|pattern|borders (top bottom left right)" of a cell read_xls.py reported.
QString describe(const QJsonObject& cells, int row, int col)
{
    const QJsonObject o = cells[QStringLiteral("%1,%2").arg(row).arg(col)].toObject();
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(o["text"].toString("<blank>"), o["font"].toString(), o["fill"].toString(),
             QString::number(o["pattern"].toInt()), o["borders"].toString());
}

// What xlrd does not check: the header fields, and that the FAT marks the FAT and DIFAT
// sectors as such. Returns what is wrong, or nothing.
QString containerProblem(const QByteArray& file)
{
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(file.constData() + at); };
    auto at = [](quint32 sector) { return 512 * (1 + qsizetype(sector)); };
    if (file.size() < 3 * 512 || file.size() % 512 != 0 ||
        !file.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")) ||
        file.mid(26, 8) != QByteArray::fromHex("0300FEFF09000600"))
        return "header: size, signature, version, byte order or sector sizes";
    const qsizetype fatCount = u32(44);
    QList<quint32> fat, difat;
    for (int i = 0; i < 109 && fat.size() < fatCount; ++i)
        fat.append(u32(76 + 4 * i));
    for (quint32 d = u32(68); d != 0xFFFFFFFE && at(d) < file.size() && difat.size() < 1000;
         d = u32(at(d) + 508)) {
        difat.append(d);
        for (int i = 0; i < 127 && fat.size() < fatCount; ++i)
            fat.append(u32(at(d) + 4 * i));
    }
    if (fat.size() != fatCount || difat.size() != qsizetype(u32(72)))
        return "FAT or DIFAT sector count";
    auto marked = [&](quint32 sector, quint32 mark) {
        return at(sector) < file.size() && sector / 128 < quint32(fatCount) &&
               at(fat[sector / 128]) < file.size() &&
               u32(at(fat[sector / 128]) + 4 * (sector % 128)) == mark;
    };
    for (const quint32 sector : fat)
        if (!marked(sector, 0xFFFFFFFD))
            return QStringLiteral("FAT sector %1 not marked").arg(sector);
    for (const quint32 sector : difat)
        if (!marked(sector, 0xFFFFFFFC))
            return QStringLiteral("DIFAT sector %1 not marked").arg(sector);
    return {};
}

} // namespace

class TestXlsBook : public QObject {
    Q_OBJECT

    QString m_script;
    QTemporaryDir m_dir;

    // Runs read_xls.py with `args` into `result`; returns what went wrong, or nothing.
    QString read(const QStringList& args, QJsonObject& result)
    {
        QProcess reader;
        reader.start("/usr/bin/python3", QStringList{m_script} + args);
        if (!reader.waitForFinished(120000) || reader.exitCode() != 0)
            return reader.readAllStandardError();
        result = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
        return result["log"].toString(); // xlrd's complaints
    }

    QString saveAndRead(const Xls::Workbook& book, const QString& path, QJsonObject& result)
    {
        QString error;
        if (!book.save(path, &error))
            return error;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return "no file";
        const QString problem = containerProblem(file.readAll());
        return problem.isEmpty() ? read({path}, result) : problem;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString source = qEnvironmentVariable("RONDEL_SOURCE_DIR");
        QVERIFY2(!source.isEmpty(), "RONDEL_SOURCE_DIR is not set (run through ctest)");
        m_script = source + "/tests/xls/read_xls.py";
        QVERIFY(QFile::exists(m_script));
        QVERIFY2(QFile::exists("/usr/bin/python3"), "needs python3 and python3-xlrd");
        QVERIFY(m_dir.isValid());
    }

    void exportShape_data()
    {
        QTest::addColumn<int>("rows");
        for (const int rows : {0, 3, 300, 1200})
            QTest::addRow("%d labels", rows) << rows;
    }

    void exportShape()
    {
        QFETCH(int, rows);
        const QString path = m_dir.filePath(QStringLiteral("export%1.xls").arg(rows));
        Xls::Workbook book(3);
        writeExportShape(book.sheet(), rows);
        QJsonObject xls;
        const QString problem = saveAndRead(book, path, xls);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        QCOMPARE(xls["sheets"].toVariant().toStringList(),
                 QStringList({"Sheet1", "Sheet2", "Sheet3"}));
        QCOMPARE(xls["sheetRows"].toVariant().toList(), QVariantList({rows + 1, 0, 0}));
        const QJsonObject cells = xls["cells"].toObject();
        QCOMPARE(cells.size(), 3 * (rows + 1));
        for (int c = 0; c < 3; ++c)
            QCOMPARE(describe(cells, 0, c), kHeader[c] + "|auto|none|0|1111");
        QSet<QString> formats;
        const QJsonObject heights = xls["rowHeights"].toObject();
        QCOMPARE(heights.size(), rows);
        for (int r = 1; r <= rows; ++r) {
            const QString colours =
                kExportColours[r % 10].second + "|" + kExportColours[(r + 3) % 10].second + "|1|";
            QCOMPARE(describe(cells, r, 0), QString::number(r) + "|" + colours + "0000");
            QCOMPARE(describe(cells, r, 1), labelText(r) + "|" + colours + "1111");
            QCOMPARE(describe(cells, r, 2), "<blank>|auto|none|0|1111");
            QCOMPARE(heights[QString::number(r)].toInt(), 400);
            formats << colours + "0000" << colours + "1111";
        }
        QCOMPARE(xls["colWidths"].toObject().toVariantMap(),
                 rows ? QVariantMap({{"0", 6 * 256}, {"2", 40 * 256}}) : QVariantMap());
        // One XF per distinct format (after the 16 built-in ones; the header's is shared with
        // column 2), one font per colour (after 4 default fonts and the skipped 5th).
        QCOMPARE(xls["xfCount"].toInt(), 16 + 1 + int(formats.size()));
        QCOMPARE(xls["fontCount"].toInt(), rows ? 5 + std::min(rows, 10) : 4);
    }

    // Text and format are replaced together, colours outside the palette mean automatic or no
    // fill, and a cell left with neither text nor format is gone. A redefined palette entry
    // reads back exactly while the others keep their standard colour.
    void cellFormatting()
    {
        const QString path = m_dir.filePath("formatting.xls");
        Xls::Workbook book;
        Xls::Worksheet& sheet = book.sheet();
        sheet.setCell(0, 0, "first",
                      {.fontColor = 10, .fillColor = 12, .borders = Xls::AllBorders});
        sheet.setCell(
            0, 0, "second",
            {.fontColor = 40, .fillColor = 13, .borders = Xls::Border::Left | Xls::Border::Bottom});
        sheet.setCell(5, 3, "gone", {.fontColor = 63, .fillColor = 9, .borders = {}});
        sheet.setCell(5, 3, QString(), {.fontColor = 63, .fillColor = 7, .borders = {}});
        sheet.setCell(2, 2, "gone", {.borders = Xls::Border::Top});
        sheet.setCell(2, 2, QString());
        sheet.setCell(3, 2, QString(), {.fontColor = 64, .fillColor = -2, .borders = {}});
        book.setPaletteColor(40, qRgb(0x12, 0x34, 0x56));
        book.setPaletteColor(63, qRgba(0xFE, 0xDC, 0xBA, 0x80)); // alpha is dropped
        book.setPaletteColor(64, qRgb(1, 2, 3));                 // no such entry
        for (int row = 1; row <= kExportColours.size(); ++row) {
            const int colour = kExportColours[row - 1].first;
            sheet.setCell(row, 0, QString(),
                          {.fontColor = colour, .fillColor = colour, .borders = {}});
        }
        QJsonObject xls;
        const QString problem = saveAndRead(book, path, xls);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        const QJsonObject cells = xls["cells"].toObject();
        QCOMPARE(cells.size(), 2 + kExportColours.size());
        QCOMPARE(describe(cells, 0, 0), "second|123456|FFFF00|1|0110");
        QCOMPARE(describe(cells, 5, 3), "<blank>|FEDCBA|none|0|0000");
        for (int row = 1; row <= kExportColours.size(); ++row) {
            const QString rgb = kExportColours[row - 1].second;
            QCOMPARE(describe(cells, row, 0), "<blank>|" + rgb + "|" + rgb + "|1|0000");
        }
    }

    // The shared string table outgrows one record; every text must survive the splits.
    void sharedStrings_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("expected");
        // 8-bit, Japanese and surrogate pair texts of random lengths, split at many places.
        QStringList mixed;
        QRandomGenerator random(1234);
        const char32_t alphabet[] = {U'k', U'é', U'漢', U'😀'};
        for (int i = 0; i < 600; ++i) {
            const QString text =
                QString::number(i) + ':' +
                QString::fromUcs4(&alphabet[random.bounded(4)], 1).repeated(random.bounded(1, 900));
            mixed << text << mixed.value(random.bounded(i + 1)); // and repeats
        }
        // Strings that end a record 1..4 bytes short of its 8224, so the next text's length,
        // flags and first character do not fit and must move to the next record whole.
        QStringList edges;
        for (qsizetype left = 1, used = 8; left <= 4; ++left, used = 3 + 2 * 2) {
            edges << QString(8224 - used - 3 - left, QChar(char16_t('a' + left)))
                  << QString(2, QChar(char16_t(0x6F22 + left)));
        }
        const QStringList longest = {QString(32767, QChar(0x6F22)), QString(32767, QChar('z'))};
        // Cut at Excel's limit of 32767 units, but not inside the pair straddling it.
        const QString tooLong = QString(32766, QChar('x')) + QString::fromUcs4(U"😀") + "tail";
        QTest::newRow("mixed and repeated") << mixed << mixed;
        QTest::newRow("texts at record ends") << edges << edges;
        QTest::newRow("longest texts") << longest << longest;
        QTest::newRow("too long") << QStringList(tooLong) << QStringList(tooLong.left(32766));
    }

    void sharedStrings()
    {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, expected);
        const QString path = m_dir.filePath("strings.xls");
        Xls::Workbook book(3);
        for (int r = 0; r < texts.size(); ++r)
            book.sheet().setCell(r, 0, texts[r]);
        QJsonObject xls;
        const QString problem = saveAndRead(book, path, xls);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const QJsonObject cells = xls["cells"].toObject();
        for (int r = 0; r < texts.size(); ++r) {
            const QString got = cells[QStringLiteral("%1,0").arg(r)].toObject()["text"].toString();
            QVERIFY2(got == expected[r], qPrintable(QStringLiteral("row %1").arg(r)));
        }
    }

    // A failed write leaves no file behind, and an earlier export of that name as it was.
    void failedWrite_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("breaksOff");
        QTest::newRow("missing folder") << "missing/labels.xls" << false;
        QTest::newRow("folder is a file") << "plain.txt/labels.xls" << false;
        QTest::newRow("write breaks off") << "labels.xls" << true;
    }

    void failedWrite()
    {
        QFETCH(QString, path);
        QFETCH(bool, breaksOff);
        QTemporaryDir dir;
        path = dir.filePath(path);
        const QByteArray previous = "previous export";
        for (const QString& existing : {dir.filePath("plain.txt"), path}) {
            QFile file(existing);
            QVERIFY(!QFileInfo(existing).dir().exists() ||
                    (file.open(QIODevice::WriteOnly) && file.write(previous) > 0));
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        Xls::Workbook book(3);
        writeExportShape(book.sheet(), 1200);

        // Writes past 4 KiB fail, as they would on a full disk.
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = breaksOff ? 4096 : saved.rlim_cur;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        QString error;
        const bool written = book.save(path, &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!written);
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                 breaksOff ? previous : QByteArray());
    }

    void outsideTheSheetIsIgnored()
    {
        // Also a path longer than a fixed buffer would take, in characters and in bytes.
        const QString name(50, QChar(0x30E9));
        const QString folder = m_dir.filePath(name + '/' + name + '/' + name);
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/ラベル.xls";
        QString error;
        QVERIFY(!Xls::Workbook().save(QString(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(Xls::Workbook(0).sheetCount(), 1);

        Xls::Workbook book(2);
        Xls::Worksheet& sheet = book.sheet();
        for (const auto& [row, col] : {std::pair(0, 256), {65536, 0}, {-1, 0}, {0, -1}})
            sheet.setCell(row, col, "lost");
        sheet.setRowHeight(65536, 30);
        sheet.setRowHeight(-1, 30);
        sheet.setColumnWidth(256, 5);
        sheet.setColumnWidth(-1, 5);
        sheet.setCell(65535, 255, "last cell");
        sheet.setRowHeight(0, qQNaN());
        sheet.setRowHeight(1, 0);
        sheet.setColumnWidth(0, -3);
        QJsonObject xls;
        const QString problem = saveAndRead(book, path, xls);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        QCOMPARE(xls["sheets"].toVariant().toStringList(), QStringList({"Sheet1", "Sheet2"}));
        QCOMPARE(xls["cells"].toObject().keys(), QStringList("65535,255"));
        QCOMPARE(xls["rowHeights"].toObject().size(), 0);
        QCOMPARE(xls["colWidths"].toObject().size(), 0);
    }

    // Exports already written must not change by accident: the bytes of a small one are pinned.
    void bytesOfASmallExport()
    {
        const QList<PrintLogEntry> labels = {{QStringLiteral("検体"), QStringLiteral("A001")},
                                             {QString(), QStringLiteral("A002")},
                                             {QStringLiteral("x"), QString()}};
        SpreadsheetExport::Colours colours;
        colours.textIndex = 1;
        colours.backgroundIndex = 8; // custom: the palette is written too
        colours.custom = QColor(0x12, 0x34, 0x56);
        const QString path = m_dir.filePath("pinned.xls");
        QVERIFY(SpreadsheetExport::exportSpreadsheet(path, labels, colours, QDate(2026, 12, 8),
                                                     nullptr));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex(),
                 QByteArray("7d7005e6592f57d8e530d5f7f06f78024cdbc26e346ee6454b865d81d569c1dd"));
    }

    // Streams from tiny to beyond what the header's 109 FAT sector slots can map.
    void compoundFile_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("two FAT sectors") << 70000;
        QTest::newRow("two DIFAT sectors") << 16000000;
    }

    void compoundFile()
    {
        QFETCH(int, size);
        QByteArray stream(size, Qt::Uninitialized);
        QRandomGenerator(size).fillRange(reinterpret_cast<quint32*>(stream.data()), size / 4);
        const QByteArray file = CompoundFile::build(stream);
        const QString problem = containerProblem(file);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QFile out(m_dir.filePath("container.bin"));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
        out.close();

        QJsonObject found;
        const QString readProblem = read({"--stream", "Workbook", out.fileName()}, found);
        QVERIFY2(readProblem.isEmpty(), qPrintable(readProblem));
        stream.append(QByteArray(std::max(0, 4096 - size), '\0'));
        QCOMPARE(found["size"].toInt(), stream.size());
        QCOMPARE(found["sha256"].toString(),
                 QCryptographicHash::hash(stream, QCryptographicHash::Sha256).toHex());
    }
};

QTEST_GUILESS_MAIN(TestXlsBook)
#include "tst_xlsbook.moc"
