#include "core/io/DesignFile.h"
#include "core/io/StateFile.h"
#include "core/model/Freeze.h"
#include "core/numbering/ComposeLabelTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using Edits = QList<std::pair<QString, QJsonValue>>;

namespace {

// Every field away from its default, and as far out as the type allows.
LabelDesign filledDesign(int type)
{
    LabelDesign design;
    design.type = type;
    const LabelTypeTraits& traits = labelType(type);
    design.upperTexts = {"LAB", "ＡＢ", "x1", "血液", "ｱｲｳｴｵ"};
    design.freeTexts = {
        QStringLiteral("S001X").left(traits.freeTextBytes ? traits.freeTextBytes : 5), "検体", ""};
    // Blank type 8 labels allow seven repeats.
    design.type8Lines = type == 8 ? QStringList{"", ""} : QStringList{"UP", "LOW"};
    design.letters = {1, 2, 25, 4, 5, 6};
    design.firstNumber = traits.hasNumber() ? traits.range - 1 : 9999;
    design.sampleCount = 1200;
    design.repeatCount = maxRepeatCount(design);
    design.step = 10;
    design.plainNumbers = true;
    design.dateAdjust = -365;
    // A font made otherwise than the label font, as a font dialog makes it.
    design.look.textColorIndex = 8;
    design.look.backgroundIndex = Colours::CustomIndex;
    design.look.customColor = QColor(0x12, 0x34, 0xAB);
    design.look.rainbow = design.look.frame = true;
    design.look.font = QFont("IPAPGothic", 14, QFont::Normal, true);
    design.look.code = LabelCode::DataMatrix;
    return design;
}

SavedState filledState()
{
    SavedState state;
    state.design = filledDesign(2);
    PrintedJob job;
    job.run = freeze(state.design, QDate(2026, 12, 8));
    job.run.sampleCount = 3;
    job.look = state.design.look;
    // A sheet of its own, with positions the built-in sheet lacks.
    job.sheet = {"user:a4-12",
                 {"A4 · 12 mm", QSizeF(210, 297), 12.5, {{13, 18, {9, 15.25}, {15, 15}}}}};
    job.startPosition = 234;
    for (int n = 0; n < job.run.labelTotal(); ++n) {
        const LabelTexts texts = composeLabelTexts(job.run, n);
        job.labels << PrintLogEntry{texts.upper, texts.lower};
    }
    state.lastJob = job;
    state.labelPrinter = {
        "Label-Queue", "",          2,
        false,         "long",      "grayscale",
        "A4",          "landscape", {{"media", "Custom.80x120mm"}, {"print-quality", "5"}}};
    state.recordPrinter.pdfFile = "/tmp/record.pdf";
    state.exportFolder = "/home/lab/xls";
    state.recentDesigns = {"/home/lab/a.json", "/home/lab/b.json"};
    state.scale = {980, 1020};
    state.sheet = job.sheet;
    return state;
}

QJsonObject edited(QJsonObject object, QStringList keys, const QJsonValue& value)
{
    const QString key = keys.takeFirst();
    if (!keys.isEmpty())
        object.insert(key, edited(object.value(key).toObject(), keys, value));
    else if (value.isUndefined())
        object.remove(key);
    else
        object.insert(key, value);
    return object;
}

// `base` with dotted paths set, or removed with an undefined value.
QByteArray with(const QByteArray& base, const Edits& edits)
{
    QJsonObject object = QJsonDocument::fromJson(base).object();
    for (const auto& [path, value] : edits)
        object = edited(object, path.split('.'), value);
    return QJsonDocument(object).toJson();
}

QByteArray designWith(const Edits& edits)
{
    return with(DesignFile::toBytes(LabelDesign()), edits);
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void designRoundTrip_data();
    void designRoundTrip();
    void refusesBadDesigns_data();
    void refusesBadDesigns();
    void readingCutsLikeTyping_data();
    void readingCutsLikeTyping();
    void readsOnlySmallRegularFiles_data();
    void readsOnlySmallRegularFiles();
    void stateRoundTrip();
    void olderFilesHaveNoCode();
    void damagedState_data();
    void damagedState();
    void keepDamagedNeverOverwrites();
};

void TestFiles::designRoundTrip_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("defaults") << 0;
    for (int type = FirstLabelType; type <= LastLabelType; ++type)
        QTest::addRow("type %d", type) << type;
}

void TestFiles::designRoundTrip()
{
    QFETCH(int, type);
    const LabelDesign design = type > 0 ? filledDesign(type) : LabelDesign();
    QTemporaryDir dir;
    const QString path = dir.filePath("design.json");
    QString error;
    QVERIFY2(DesignFile::save(path, design, &error), qPrintable(error));
    QVERIFY(contents(path).endsWith("}\n"));
    const std::optional<LabelDesign> read = DesignFile::load(path, &error);
    QVERIFY2(read, qPrintable(error));
    QVERIFY(read->look.font == design.look.font);
    QVERIFY(*read == design);
}

void TestFiles::refusesBadDesigns_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("not JSON") << QByteArray("{\"type\": 1,") << "JSON として読めません: ";
    QTest::newRow("an array") << QByteArray("[]") << "JSON のオブジェクトではありません。";
    // A key twice, the second spelled with an escape: which one counts would be a guess.
    QTest::newRow("a key twice")
        << QByteArray(designWith({})).replace("\"step\"", "\"st\\u0065p\": 10, \"step\"")
        << "「step」が2回あります。";
    QTest::newRow("another format") << designWith({{"format", "rondelmaker-state"}})
                                    << "「format」が rondelmaker-design ではありません。";
    QTest::newRow("newer version")
        << designWith({{"version", 3}})
        << "バージョン 3 のファイルです。このプログラムはバージョン 2 までを読めます。";
    QTest::newRow("version 2 without code")
        << designWith({{"code", QJsonValue::Undefined}}) << "「code」がありません。";
    QTest::newRow("an unknown code")
        << designWith({{"code", "qr"}})
        << "「code」の値 \"qr\" は none、datamatrix のどれでもありません。";
    QTest::newRow("missing field")
        << designWith({{"firstNumber", QJsonValue::Undefined}}) << "「firstNumber」がありません。";
    QTest::newRow("number as text")
        << designWith({{"sampleCount", "30"}}) << "「sampleCount」が整数ではありません。";
    QTest::newRow("number as boolean")
        << designWith({{"plainNumbers", 0}}) << "「plainNumbers」が true か false ではありません。";
    QTest::newRow("type 13") << designWith({{"type", 13}})
                             << "「type」の値 13 は 1～12 の範囲外です。";
    QTest::newRow("firstNumber 1000 for type 2")
        << designWith({{"type", 2}, {"firstNumber", 1000}})
        << "「firstNumber」の値 1000 は 0～999 の範囲外です。";
    QTest::newRow("repeatCount 6 for type 1")
        << designWith({{"repeatCount", 6}}) << "「repeatCount」の値 6 は 1～5 の範囲外です。";
    QTest::newRow("step 4") << designWith({{"step", 4}})
                            << "「step」の値 4 は 1、2、3、5、10 のどれでもありません。";
    QTest::newRow("lower-case letter")
        << designWith({{"letters.type2", "a"}})
        << "「letters.type2」の値 \"a\" は A～Z の1文字ではありません。";
    QTest::newRow("colour Pink") << designWith({{"appearance.textColor", "Pink"}})
                                 << "「appearance.textColor」の値 \"Pink\" は Black、";
    QTest::newRow("the first problem is named")
        << designWith({{"type", 13}, {"step", 4}}) << "「type」の値 13";
}

void TestFiles::refusesBadDesigns()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QString error;
    QVERIFY(!DesignFile::fromBytes(bytes, &error));
    QVERIFY2(error.startsWith(message), qPrintable(error));
}

void TestFiles::readingCutsLikeTyping_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("expected");
    const QStringList tooLong(103, "ABCDEFG");
    QTest::newRow("upper text at five bytes")
        << designWith({{"upperTexts.1", "ABCDEFG"}}) << "upperTexts"
        << QStringList{"ABCDE", "", "", "", ""};
    QTest::newRow("at whole characters, a tab dropped")
        << designWith({{"upperTexts.2", "ＡＢＣ"}, {"upperTexts.10", "A\tB"}}) << "upperTexts"
        << QStringList{"", "ＡＢ", "", "", "AB"};
    QTest::newRow("type 10 free texts at four bytes")
        << designWith({{"type", 10}, {"freeTexts", QJsonArray{"ABCDEFG", "検体A"}}}) << "freeTexts"
        << QStringList{"ABCD", "検体"};
    QTest::newRow("line breaks split the memo")
        << designWith({{"type", 9}, {"freeTexts", QJsonArray{"A\r\nB\nC", "D\u2028E"}}})
        << "freeTexts" << QStringList{"A", "B", "C", "D", "E"};
    QTest::newRow("free texts past 60 emptied up to 101")
        << designWith({{"type", 9}, {"freeTexts", QJsonArray::fromStringList(tooLong)}})
        << "freeTexts"
        << QStringList(60, "ABCDE") + QStringList(41, "") + QStringList(2, "ABCDEFG");
    QTest::newRow("type 8: two lines, four emptied")
        << designWith({{"type8Lines", QJsonArray{"ABCDEFG", "123456", "x", "y", "z", "w", "v"}}})
        << "type8Lines" << QStringList{"ABCDE", "12345", "", "", "", "", "v"};
}

void TestFiles::readingCutsLikeTyping()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QString error;
    const std::optional<LabelDesign> read = DesignFile::fromBytes(bytes, &error);
    QVERIFY2(read, qPrintable(error));
    const QStringList upper(read->upperTexts.begin(), read->upperTexts.end());
    QTEST(field == "upperTexts"  ? upper
          : field == "freeTexts" ? read->freeTexts
                                 : read->type8Lines,
          "expected");
}

void TestFiles::readsOnlySmallRegularFiles_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"fifo", "folder", "link to nothing", "too large"})
        QTest::newRow(kind) << kind;
}

void TestFiles::readsOnlySmallRegularFiles()
{
    QFETCH(QString, kind);
    const QString message =
        kind == "too large" ? "ファイルが大きすぎます" : "通常のファイルではありません。";
    QTemporaryDir dir;
    // A design file may hold a megabyte, the state sixteen.
    for (const qint64 limit : {qint64(1) << 20, qint64(16) << 20}) {
        const QString path = dir.filePath(QString::number(limit));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        if (kind == "link to nothing")
            QVERIFY(QFile::link(dir.filePath("nothing"), path));
        if (kind == "too large") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(limit + 1));
        }
        QString error;
        if (limit == 1 << 20) {
            QVERIFY(!DesignFile::load(path, &error));
        } else {
            const StateFile::ReadResult result = StateFile::read(path);
            QCOMPARE(result.status, StateFile::ReadResult::Damaged);
            error = result.error;
        }
        QVERIFY2(error.startsWith(message), qPrintable(error));
    }
}

void TestFiles::stateRoundTrip()
{
    QTemporaryDir dir;
    const QString path = StateFile::pathIn(dir.path());
    QCOMPARE(StateFile::read(path).status, StateFile::ReadResult::Missing);
    SavedState state = filledState();
    for (int round = 0; round < 2; ++round) {
        QString error;
        QVERIFY2(StateFile::write(path, state, &error), qPrintable(error));
        const StateFile::ReadResult result = StateFile::read(path);
        QVERIFY2(result.status == StateFile::ReadResult::Ok, qPrintable(result.error));
        QVERIFY(result.state == state);
        state.lastJob.reset();
    }
}

// Design files of version 1, saved states and jobs from before codes open
// as labels without a code.
void TestFiles::olderFilesHaveNoCode()
{
    const QByteArray v1 = designWith({{"version", 1}, {"code", QJsonValue::Undefined}});
    QString error;
    const std::optional<LabelDesign> design = DesignFile::fromBytes(v1, &error);
    QVERIFY2(design, qPrintable(error));
    QCOMPARE(design->look.code, LabelCode::None);

    QTemporaryDir dir;
    const QString path = StateFile::pathIn(dir.path());
    QVERIFY(StateFile::write(path, filledState(), nullptr));
    QVERIFY(contents(path).contains("\"code\": \"datamatrix\""));
    put(path, with(contents(path), {{"design.code", QJsonValue::Undefined},
                                    {"lastJob.code", QJsonValue::Undefined}}));
    const StateFile::ReadResult old = StateFile::read(path);
    QVERIFY2(old.status == StateFile::ReadResult::Ok, qPrintable(old.error));
    QCOMPARE(old.state.design.look.code, LabelCode::None);
    QCOMPARE(old.state.lastJob->look.code, LabelCode::None);
}

void TestFiles::damagedState_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTemporaryDir dir;
    const QString path = StateFile::pathIn(dir.path());
    StateFile::write(path, filledState(), nullptr);
    const QByteArray state = contents(path);
    QJsonArray labels = QJsonDocument::fromJson(state)["lastJob"]["labels"].toArray();
    labels.removeLast();

    QTest::newRow("not JSON") << state.left(100) << "JSON として読めません: ";
    QTest::newRow("newer version")
        << with(state, {{"version", 2}}) << "バージョン 2 のファイルです。";
    QTest::newRow("a design file")
        << DesignFile::toBytes(LabelDesign()) << "「format」が rondelmaker-state ではありません。";
    QTest::newRow("design field") << with(state, {{"design.step", 4}}) << "「design.step」の値 4";
    QTest::newRow("a label missing")
        << with(state, {{"lastJob.labels", labels}})
        << "「lastJob.labels」の数 14 が sampleCount × repeatCount の 15 と合いません。";
    QTest::newRow("letter past Z") << with(state, {{"lastJob.run.letter1", 26}})
                                   << "「lastJob.run.letter1」の値 26 は 0～25 の範囲外です。";
    QTest::newRow("a key twice in a nested object")
        << QByteArray(state).replace("\"x\":", "\"x\": 1000, \"x\":") << "「x」が2回あります。";
    QTest::newRow("scale") << with(state, {{"scale.x", 1021}})
                           << "「scale.x」の値 1021 は 980～1020 の範囲外です。";
}

void TestFiles::damagedState()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = StateFile::pathIn(dir.path());
    put(path, bytes);
    const StateFile::ReadResult result = StateFile::read(path);
    QCOMPARE(result.status, StateFile::ReadResult::Damaged);
    QVERIFY2(result.error.startsWith(message), qPrintable(result.error));
}

void TestFiles::keepDamagedNeverOverwrites()
{
    QTemporaryDir dir;
    const QString path = StateFile::pathIn(dir.path());
    put(path + ".bad", "first");
    put(path + ".bad.2", "second");
    for (const QString next : {".bad.3", ".bad.4"}) {
        put(path, next.toLatin1());
        QString error;
        QCOMPARE(StateFile::keepDamaged(path, &error), path + next);
        // The damaged file stays until a new state replaces it.
        QCOMPARE(contents(path), next.toLatin1());
        QCOMPARE(contents(path + next), next.toLatin1());
    }
    QCOMPARE(contents(path + ".bad"), QByteArray("first"));
    QCOMPARE(contents(path + ".bad.2"), QByteArray("second"));
    // Past the numbered names, the time names the copy: nothing is overwritten.
    for (int n = 5; n <= 1000; ++n)
        put(path + ".bad." + QString::number(n), "old");
    QString error;
    const QString kept = StateFile::keepDamaged(path, &error);
    QVERIFY2(kept.startsWith(path + ".bad.20"), qPrintable(kept + error));
    QCOMPARE(contents(kept), QByteArray(".bad.4"));
    QCOMPARE(contents(path + ".bad.1000"), QByteArray("old"));
    QFile::remove(path);
    QVERIFY(StateFile::keepDamaged(path, &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
