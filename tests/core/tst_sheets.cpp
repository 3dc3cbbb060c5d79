#include "core/layout/GlabelsTemplates.h"
#include "core/layout/SheetCatalogue.h"
#include "core/layout/SheetFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using Edits = QList<std::pair<QString, QJsonValue>>;

namespace {

QString sampleDir()
{
    return qEnvironmentVariable("RONDEL_SOURCE_DIR") + QStringLiteral("/tests/core/glabels");
}

const QByteArray GoodSheet =
    R"({"format": "rondelmaker-sheet", "version": 1, "name": "A4 · 12 mm · 13 × 18",
        "paper": {"width": 210, "height": 297}, "diameter": 12,
        "columns": 13, "rows": 18, "first": {"x": 9, "y": 15}, "pitch": {"x": 15, "y": 15}})";

// The good sheet with fields replaced; a path "a.b" reaches into an object,
// a null value removes the field.
QByteArray edited(const Edits& edits)
{
    QJsonObject object = QJsonDocument::fromJson(GoodSheet).object();
    for (const auto& [path, value] : edits) {
        const QStringList keys = path.split('.');
        const auto set = [&](QJsonObject& o, const QString& key) {
            if (value.isNull())
                o.remove(key);
            else
                o.insert(key, value);
        };
        if (keys.size() == 1) {
            set(object, path);
            continue;
        }
        QJsonObject inner = object.value(keys[0]).toObject();
        set(inner, keys[1]);
        object.insert(keys[0], inner);
    }
    return QJsonDocument(object).toJson();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(bytes) == bytes.size());
}

const SheetEntry* entryOf(const QList<SheetEntry>& entries, const QString& id)
{
    for (const SheetEntry& entry : entries) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

} // namespace

class TestSheets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void builtInSheetLandsAsBefore();
    void fileSheetLandsOnThePaper();
    void fillStaysOffTheNeighbours_data();
    void fillStaysOffTheNeighbours();
    void pageFollowsThePaper();
    void sheetFilesRoundTrip();
    void badSheetFilesAreRefused_data();
    void badSheetFilesAreRefused();
    void readsGlabelsFiles();
    void readsTheGlabelsDatabase();
    void catalogueListsAndFinds();
};

void TestSheets::builtInSheetLandsAsBefore()
{
    // Byte-identical output rests on the built-in sheet putting every disc
    // on the dots the fixed layout did, whatever the resolution, offsets,
    // scale or printable area.
    const Sheet sheet = Sheet::builtIn();
    QCOMPARE(sheet.positions(), 150);
    QCOMPARE(sheet.cornerPositions(), QList<int>({1, 10, 141, 150}));
    // Its labels are 11 mm; the painter fills 130 units around them.
    QCOMPARE(sheet.diameter, 11.0);
    QCOMPARE(sheet.fillDiameter(), 13.208);
    QCOMPARE(sheet.discScale(), 1.0);
    QCOMPARE(sheet.pageSize().id(), QPageSize::A4);
    QVERIFY(sheet.problem().isEmpty());
    const QList<SheetGeometry::Offsets> offsets = {
        {}, {0, 20, 980, 1020}, {20, 0, 1020, 980}, {3, 17, 1000, 990}, {10, 10, 1013, 987}};
    const QList<std::pair<int, int>> resolutions = {{300, 300}, {600, 600}, {600, 300}, {360, 720}};
    for (const SheetGeometry::Offsets& o : offsets) {
        for (const auto& [dpiX, dpiY] : resolutions) {
            for (int p = 1; p <= 150; ++p) {
                const SheetGeometry::LabelPlace was = SheetGeometry::place(p, o, dpiX, dpiY);
                const SheetGeometry::LabelPlace now =
                    SheetDots::place(sheet, p, o, dpiX, dpiY, QPoint(-47, -52));
                QCOMPARE(now.box, was.box);
                QCOMPARE(now.cx, was.cx);
                QCOMPARE(now.cy, was.cy);
            }
        }
    }
}

void TestSheets::fileSheetLandsOnThePaper()
{
    // Position 15 of a 13-column sheet is the second disc of row 2, filled
    // 14.307 mm wide around its label (see fillStaysOffTheNeighbours); on a
    // printer whose printable area starts (50, 60) dots into the paper, it
    // lands that much further up and left, and the offsets still move it.
    const std::optional<Sheet> sheet = SheetFile::fromBytes(GoodSheet, nullptr);
    QVERIFY(sheet);
    QCOMPARE(sheet->positions(), 234);
    QCOMPARE(sheet->discSquare(15), QRectF(24, 30, 12, 12));
    QCOMPARE(sheet->positionOf(sheet->cellOf(15)), 15);
    const SheetGeometry::LabelPlace pdf = SheetDots::place(*sheet, 15, {}, 300, 300);
    // 22.846 mm = 269.8 dots, 37.154 mm = 438.8, 28.846 mm = 340.7,
    // 43.154 mm = 509.7; the centre 30 mm = 354.3 dots across.
    QCOMPARE(pdf.box, (DeviceBox{269, 340, 438, 509}));
    QCOMPARE(pdf.cx, 354);
    QCOMPARE(pdf.scale, 12 / 11.0);
    const SheetGeometry::LabelPlace printer =
        SheetDots::place(*sheet, 15, {12, 10, 1000, 1000}, 300, 300, QPoint(-50, -60));
    // Two offset steps are 2/50 inch, 12 dots.
    QCOMPARE(printer.box, (DeviceBox{269 - 50 + 12, 340 - 60, 438 - 50 + 12, 509 - 60}));
}

void TestSheets::fillStaysOffTheNeighbours_data()
{
    QTest::addColumn<Sheet>("sheet");
    QTest::addColumn<double>("fill");
    const auto sheetOf = [](double diameter, QList<SheetGrid> grids) {
        Sheet sheet;
        sheet.name = "test";
        sheet.paper = {210, 297};
        sheet.diameter = diameter;
        sheet.grids = grids;
        return sheet;
    };
    // Where the labels lie apart, the built-in sheet's proportion: 13.208
    // to 11. Elsewhere the fill and its outline (5 dots at 200 dpi, scaled)
    // end halfway to the nearest label's centre distance.
    const double outline12 = 5 * (12 / 11.0) * 25.4 / 200;
    QTest::newRow("10 mm at 15 x 14: the built-in proportion")
        << sheetOf(10, {{13, 20, {10, 10.5}, {15, 14}}}) << 10 * 13.208 / 11;
    QTest::newRow("one label alone") << sheetOf(20, {{1, 1, {10, 10}, {0, 0}}}) << 20 * 13.208 / 11;
    QTest::newRow("12 mm at 15: halfway to the next")
        << sheetOf(12, {{13, 18, {9, 15}, {15, 15}}}) << 15 - outline12;
    QTest::newRow("one row: the pitch down does not count")
        << sheetOf(12, {{13, 1, {9, 15}, {15, 12.5}}}) << 15 - outline12;
    QTest::newRow("touching labels: the ink ends at the label's edge")
        << sheetOf(12, {{5, 5, {9, 15}, {12, 12}}}) << 12 - outline12;
    // A second grid whose nearest label lies 13 mm off diagonally (5, 12).
    QTest::newRow("the nearest label in another grid")
        << sheetOf(12, {{3, 3, {10, 10}, {20, 20}}, {2, 2, {55, 62}, {30, 30}}}) << 13 - outline12;
}

void TestSheets::fillStaysOffTheNeighbours()
{
    QFETCH(Sheet, sheet);
    QFETCH(double, fill);
    QVERIFY(qAbs(sheet.fillDiameter() - fill) < 1e-9);
}

void TestSheets::pageFollowsThePaper()
{
    // The printer gets the sheet's paper by its name where it has one, turned
    // where the sheet is wider than high.
    Sheet sheet = *SheetFile::fromBytes(GoodSheet, nullptr);
    QCOMPARE(Sheet::builtIn().pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(sheet.pageLayout(QMarginsF(3, 4, 5, 6)).margins(), QMarginsF(3, 4, 5, 6));
    sheet.paper = {297, 210};
    sheet.grids = {{10, 5, {9, 15}, {15, 15}}};
    QCOMPARE(sheet.pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(sheet.pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(sheet.pageLayout().fullRect(QPageLayout::Millimeter).size(), QSizeF(297, 210));
    sheet.paper = {100, 150};
    QCOMPARE(sheet.pageLayout().pageSize().id(), QPageSize::Custom);
    QCOMPARE(sheet.pageLayout().fullRect(QPageLayout::Millimeter).size(), QSizeF(100, 150));
}

void TestSheets::sheetFilesRoundTrip()
{
    QTemporaryDir dir;
    Sheet sheet;
    sheet.name = "実験室 · 9.5 mm";
    sheet.paper = {215.9, 279.4};
    sheet.diameter = 9.525;
    sheet.grids = {{3, 4, {10.001, 12.5}, {12.7, 13.335}}, {2, 1, {100, 200}, {25.4, 0}}};
    const QString path = dir.filePath("mine.json");
    QString error;
    QVERIFY2(SheetFile::save(path, sheet, &error), qPrintable(error));
    QCOMPARE(SheetFile::load(path, &error), sheet);
    QCOMPARE(SheetFile::load(path, &error)->positions(), 14);

    // The built-in sheet cannot be a file, nor can a sheet no one could read back.
    QVERIFY(!SheetFile::save(dir.filePath("builtin.json"), Sheet::builtIn(), &error));
    sheet.diameter = 3;
    QVERIFY(!SheetFile::save(dir.filePath("small.json"), sheet, &error));
    QVERIFY(error.contains("diameter"));
    QVERIFY(!QFile::exists(dir.filePath("builtin.json")) &&
            !QFile::exists(dir.filePath("small.json")));
}

void TestSheets::badSheetFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");
    const auto row = [](const char* name, const Edits& edits, const char* field) {
        QTest::newRow(name) << edited(edits) << QString::fromUtf8(field);
    };
    row("a design file", {{"format", "rondelmaker-design"}}, "format");
    QTest::newRow("not JSON") << QByteArray("diameter: 12") << "JSON";
    row("no diameter", {{"diameter", QJsonValue()}}, "diameter");
    row("width as text", {{"paper.width", "210"}}, "paper.width");
    row("half a column", {{"columns", 13.5}}, "columns");
    row("first without y", {{"first.y", QJsonValue()}}, "first.y");
    row("diameter 4.9", {{"diameter", 4.9}}, "diameter");
    row("diameter 60.5", {{"diameter", 60.5}}, "diameter");
    row("beyond A3", {{"paper.width", 297.5}, {"paper.height", 420}}, "paper");
    row("beyond A3 across", {{"paper.width", 421}, {"paper.height", 200}}, "paper");
    row("1000 positions", {{"columns", 40}, {"rows", 25}}, "columns");
    row("pitch.x under the diameter", {{"pitch.x", 11.9}}, "pitch.x");
    row("pitch.y under the diameter", {{"pitch.y", 11.99}}, "pitch.y");
    row("left of the paper", {{"first.x", -0.5}}, "first.x");
    row("past the right edge", {{"columns", 14}}, "paper.width");
    row("past the bottom", {{"rows", 20}}, "paper.height");
    QTest::newRow("second grid")
        << edited(
               {{"layouts", QJsonArray{QJsonObject{{"columns", 2},
                                                   {"rows", 1},
                                                   {"first", QJsonObject{{"x", 9}, {"y", 285}}},
                                                   {"pitch", QJsonObject{{"x", 10}, {"y", 0}}}}}}})
        << "layouts[0].pitch.x";
}

void TestSheets::badSheetFilesAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QString error;
    QVERIFY(!SheetFile::fromBytes(bytes, &error));
    QVERIFY2(error.contains(field), qPrintable(error));
}

void TestSheets::readsGlabelsFiles()
{
    const QList<GlabelsTemplates::Template> templates =
        GlabelsTemplates::readDirectory(sampleDir());
    QStringList parts;
    for (const auto& t : templates)
        parts << t.part;
    // The broken file adds nothing; rectangles, a round second label, an
    // unknown unit or paper are passed over; a copy follows its original.
    QCOMPARE(parts, QStringList({"MM-12", "MM-12 copy", "Units", "Two layouts", "Too large"}));

    const Sheet& mm = templates[1].sheet;
    QCOMPARE(mm.name, "Test MM-12 copy");
    QCOMPARE(mm.paper, QSizeF(210, 297));
    QCOMPARE(mm.diameter, 12.0);
    QCOMPARE(mm.grids, (QList<SheetGrid>{{13, 18, {9, 15}, {15, 15}}}));

    const Sheet& units = templates[2].sheet;
    QCOMPARE(units.paper, QSizeF(215.9, 279.4));
    QCOMPARE(units.diameter, 12.7);
    QCOMPARE(units.grids, (QList<SheetGrid>{{2, 3, {12.7, 12.7}, {19.05, 25.4}}}));

    // One layout after another.
    const Sheet& two = templates[3].sheet;
    QCOMPARE(two.positions(), 6);
    QCOMPARE(two.discSquare(3).topLeft(), QPointF(10, 40));
    QCOMPARE(two.discSquare(5).topLeft(), QPointF(100, 200));
    QCOMPARE(two.discSquare(6).topLeft(), QPointF(125, 200));
    QCOMPARE(two.positionOf(two.cellOf(6)), 6);
    QCOMPARE(two.cornerPositions(), QList<int>({1, 2, 3, 4, 5, 6}));
    QCOMPARE(two.pageSize().id(), QPageSize::Letter);

    QCOMPARE(GlabelsTemplates::lengthMm(u"1.5 cm"), 15.0);
    QCOMPARE(GlabelsTemplates::lengthMm(u"3.93386e-16pt").value_or(1) < 1e-15, true);
    QVERIFY(!GlabelsTemplates::lengthMm(u"mm"));
}

void TestSheets::readsTheGlabelsDatabase()
{
    if (!QFileInfo::exists(QDir(GlabelsTemplates::SystemDir).filePath("paper-sizes.xml")))
        QSKIP("glabels-data is not installed (scripts/setup --test installs it)");
    SheetCatalogue catalogue({{}, GlabelsTemplates::SystemDir, {}, {}});
    const QList<SheetEntry> all = catalogue.all();
    // 12 mm, 13 x 18 on A4, as our own 12 mm sheet.
    const SheetEntry* endisch = entryOf(all, "glabels:endisch-6500012x");
    QVERIFY(endisch);
    QCOMPARE(endisch->sheet.grids, (QList<SheetGrid>{{13, 18, {9, 15}, {15, 15}}}));
    QCOMPARE(endisch->sheet.diameter, 12.0);
    // Inches on US Letter, and a copy of another part.
    const SheetEntry* avery = entryOf(all, "glabels:avery-5193");
    QVERIFY(avery);
    QCOMPARE(avery->sheet.paper, QSizeF(215.9, 279.4));
    QCOMPARE(avery->sheet.diameter, 2 * 0.8125 * 25.4);
    QCOMPARE(avery->sheet.grids.first().columns * 10 + avery->sheet.grids.first().rows, 46);
    QCOMPARE(avery->sheet.grids.first().first.x(), 0.4157 * 25.4);
    const SheetEntry* copy = entryOf(all, "glabels:avery-3112");
    QVERIFY(copy);
    QCOMPARE(copy->sheet.positions(), 20);
    QCOMPARE(copy->sheet.diameter, 38.1);
    // Nothing unusable gets in: OL320's round discs are 140 mm across.
    QVERIFY(!entryOf(all, "glabels:online-labels-ol320-round"));
    for (const SheetEntry& entry : all)
        QVERIFY2(entry.sheet.problem().isEmpty(), qPrintable(entry.id));
}

void TestSheets::catalogueListsAndFinds()
{
    QTemporaryDir home;
    const QString user = home.filePath("config/sheets");
    const QString station = home.filePath("state/sheets");
    QDir().mkpath(user);
    QDir().mkpath(station);
    writeFile(user + "/mine.json", edited({{"name", "Mine"}}));
    writeFile(user + "/bad.json", edited({{"diameter", 70}}));
    writeFile(station + "/mine.json", edited({{"name", "Station's"}}));
    writeFile(home.filePath("loose.json"), edited({{"name", "Loose"}}));

    SheetCatalogue catalogue({":/sheets", sampleDir(), user, station});
    const QList<SheetEntry> local = catalogue.local();
    QStringList ids;
    for (const SheetEntry& entry : local)
        ids << entry.id + "=" + sourceName(entry.source);
    QCOMPARE(ids.first(), "builtin=builtin");
    QVERIFY(ids.contains("shipped:a4-12mm-13x18=shipped"));
    QVERIFY(ids.contains("user:mine=user") && ids.contains("station:mine=user"));
    QCOMPARE(ids.filter("shipped:").size(), 8);
    QCOMPARE(catalogue.refusals().size(), 1);
    QVERIFY(catalogue.refusals().first().contains("bad.json"));
    QVERIFY(catalogue.refusals().first().contains("diameter"));

    // The shipped sheets are sound and named by their geometry.
    for (const SheetEntry& entry : local) {
        if (entry.source == SheetSource::Shipped)
            QVERIFY2(entry.sheet.name.contains(" mm · "), qPrintable(entry.sheet.name));
    }

    QString error;
    QCOMPARE(catalogue.find("glabels:test-two-layouts", &error)->sheet.positions(), 6);
    QVERIFY(!catalogue.find("glabels:test-too-large", &error));
    QVERIFY(error.contains("glabels:test-too-large"));
    QCOMPARE(catalogue.find(user + "/../sheets/mine.json", &error)->id, "user:mine");
    const std::optional<SheetEntry> loose = catalogue.find(home.filePath("loose.json"), &error);
    QCOMPARE(loose->id, QFileInfo(home.filePath("loose.json")).canonicalFilePath());
    QVERIFY(!catalogue.find(user + "/bad.json", &error));
    QVERIFY(error.contains("diameter"));

    // A typed-in sheet becomes a file of the user's that another catalogue finds.
    Sheet typed = loose->sheet;
    typed.name = "Mine";
    const std::optional<SheetEntry> saved = catalogue.saveUserSheet(typed, &error);
    QVERIFY2(saved, qPrintable(error));
    QCOMPARE(saved->id, "user:mine-2");
    SheetCatalogue again({":/sheets", {}, user, user});
    QCOMPARE(again.find("user:mine-2", &error)->sheet, typed);
    QVERIFY(!entryOf(again.local(), "station:mine"));
}

QTEST_GUILESS_MAIN(TestSheets)
#include "tst_sheets.moc"
