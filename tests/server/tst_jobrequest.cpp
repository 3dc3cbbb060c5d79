// The body of a label job as a laboratory system sends it: every mistake is
// refused with the field it concerns, nothing is cut or rounded to fit.
#include "core/io/DesignFile.h"
#include "server/JobRequest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QDate Today(2026, 12, 8);

QJsonObject design(int type = 1)
{
    LabelDesign d;
    d.type = type;
    d.upperTexts = {"LAB", "", "", "", ""};
    d.sampleCount = 10;
    QJsonObject object = DesignFile::toJson(d);
    object.insert("format", "rondelmaker-design");
    object.insert("version", 2);
    return object;
}

// A body of `design` and `fields`; `raw` replaces everything after the
// design (for what QJsonObject cannot write: a key twice, bad JSON).
QByteArray body(const QJsonObject& fields, const QJsonObject& d = design(),
                const QByteArray& raw = {})
{
    QJsonObject object = fields;
    object.insert("design", d);
    QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    if (!raw.isEmpty())
        bytes = "{\"design\":" + QJsonDocument(d).toJson(QJsonDocument::Compact) + "," + raw;
    return bytes;
}

QJsonObject with(QJsonObject object, const QString& path, const QJsonValue& value)
{
    const qsizetype dot = path.indexOf('.');
    if (dot < 0) {
        object.insert(path, value);
        return object;
    }
    const QString key = path.left(dot);
    object.insert(key, with(object.value(key).toObject(), path.mid(dot + 1), value));
    return object;
}

} // namespace

class JobRequestTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsAWholeRequest();
    void refusesNamingTheField_data();
    void refusesNamingTheField();
};

void JobRequestTest::readsAWholeRequest()
{
    const auto parsed = parseJobRequest(body({{"samples", 5},
                                              {"first", 7},
                                              {"start", 12},
                                              {"code", "datamatrix"},
                                              {"output", "pdf"},
                                              {"allowDuplicates", true}}),
                                        Today);
    QVERIFY(std::holds_alternative<JobRequest>(parsed));
    const JobRequest& request = std::get<JobRequest>(parsed);
    QCOMPARE(request.design.sampleCount, 5);
    QCOMPARE(request.design.firstNumber, 7);
    QVERIFY(request.firstGiven);
    QCOMPARE(request.start, std::optional<int>(12));
    QCOMPARE(request.design.look.code, LabelCode::DataMatrix);
    QVERIFY(request.pdf && request.allowDuplicates && request.printer.isEmpty());

    const auto freeTexts =
        parseJobRequest(body({{"freeTexts", QJsonArray{"血液", "ｱｲｳｴ"}}}, design(10)), Today);
    QVERIFY(std::holds_alternative<JobRequest>(freeTexts));
    QCOMPARE(std::get<JobRequest>(freeTexts).design.freeTexts, QStringList({"血液", "ｱｲｳｴ"}));
}

void JobRequestTest::refusesNamingTheField_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("code");
    const QJsonObject d = design();
    QTest::newRow("not JSON") << QByteArray("{\"design\": ") << ""
                              << "bad-json";
    QTest::newRow("an array") << QByteArray("[]") << ""
                              << "bad-json";
    QTest::newRow("no design") << QByteArray("{\"samples\": 3}") << "design"
                               << "missing-field";
    QTest::newRow("unknown field") << body({{"smaples", 3}}) << "smaples"
                                   << "unknown-field";
    QTest::newRow("unknown design field") << body({}, with(d, "colour", "red")) << "design.colour"
                                          << "unknown-field";
    QTest::newRow("unknown font field")
        << body({}, with(d, "appearance.font.size", 9)) << "design.appearance.font.size"
        << "unknown-field";
    QTest::newRow("key twice") << body({}, d, "\"samples\":1,\"samples\":2}") << "samples"
                               << "bad-field";
    QTest::newRow("text for a number") << body({{"samples", "5"}}) << "samples"
                                       << "bad-field";
    QTest::newRow("fraction") << body({{"samples", 1.5}}) << "samples"
                              << "bad-field";
    QTest::newRow("huge number") << body({}, d, "\"first\":99999999999999999999999}") << "first"
                                 << "bad-field";
    QTest::newRow("beyond JSON's doubles") << body({}, d, "\"start\":1e400}") << ""
                                           << "bad-json";
    QTest::newRow("start beyond any sheet") << body({{"start", 1000}}) << "start"
                                            << "bad-field";
    QTest::newRow("first beyond the type")
        << body({{"first", 1000}}, with(design(2), "upperTexts.2", "X")) << "first"
        << "bad-field";
    QTest::newRow("control character")
        << body({}, with(d, "upperTexts.1", "LA\u0007B")) << "design.upperTexts.1"
        << "bad-field";
    QTest::newRow("line break in a free text")
        << body({{"freeTexts", QJsonArray{"A\nB"}}}, design(9)) << "freeTexts[0]"
        << "bad-field";
    QTest::newRow("upper text too long")
        << body({}, with(d, "upperTexts.1", "ABCDEF")) << "design.upperTexts.1"
        << "bad-field";
    QTest::newRow("full-width too long")
        << body({}, with(d, "upperTexts.1", "ＡＢＣ")) << "design.upperTexts.1"
        << "bad-field";
    QTest::newRow("no such character")
        << body({}, with(d, "upperTexts.1", "A😀")) << "design.upperTexts.1"
        << "bad-field";
    QTest::newRow("third type 8 line")
        << body({}, with(design(8), "type8Lines", QJsonArray{"A", "B", "C"}))
        << "design.type8Lines[2]"
        << "bad-field";
    QTest::newRow("type out of range") << body({}, with(d, "type", 13)) << "design.type"
                                       << "bad-field";
    QTest::newRow("free texts for type 1") << body({{"freeTexts", QJsonArray{"A"}}}) << "freeTexts"
                                           << "bad-field";
    QTest::newRow("free text beyond type 10's room")
        << body({{"freeTexts", QJsonArray{"ABCDE"}}}, design(10)) << "freeTexts[0]"
        << "bad-field";
    QTest::newRow("empty free text")
        << body({{"freeTexts", QJsonArray{"A", " ", "B"}}}, design(9)) << "freeTexts[1]"
        << "bad-field";
    QTest::newRow("type 9 without free texts") << body({}, design(9)) << "freeTexts"
                                               << "missing-field";
    QTest::newRow("samples of type 9")
        << body({{"samples", 2}, {"freeTexts", QJsonArray{"A"}}}, design(9)) << "samples"
        << "bad-field";
    QTest::newRow("over 1200 labels")
        << body({{"samples", 1200}}, with(d, "repeatCount", 2)) << "samples"
        << "bad-field";
    QTest::newRow("printer and pdf")
        << body({{"printer", "RondelPDF"}, {"output", "pdf"}}) << "output"
        << "bad-field";
    QTest::newRow("other output") << body({{"output", "png"}}) << "output"
                                  << "bad-field";
}

void JobRequestTest::refusesNamingTheField()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QFETCH(QString, code);
    const auto parsed = parseJobRequest(bytes, Today);
    QVERIFY(std::holds_alternative<BodyProblem>(parsed));
    const BodyProblem& problem = std::get<BodyProblem>(parsed);
    QCOMPARE(problem.field, field);
    QCOMPARE(QString::fromLatin1(problem.code), code);
    QVERIFY(!problem.message.isEmpty());
}

QTEST_GUILESS_MAIN(JobRequestTest)
#include "tst_jobrequest.moc"
