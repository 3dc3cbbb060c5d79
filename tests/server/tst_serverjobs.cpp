// Jobs printed through the service, and the faults around them with real
// parts: labels issued before, a station held by another program, a print
// queue that refuses, the service killed in the middle of a flood; and jobs
// on label sheets other than the built-in one.
#include "core/io/DesignFile.h"
#include "core/io/RunFiles.h"

#include "PdfTools.h"
#include "ServerRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

// A job's body: type 1, `upper` over the numbers, and `more` fields.
QByteArray jobBody(const QString& upper, const QJsonObject& more)
{
    LabelDesign design;
    design.upperTexts = {upper, "", "", "", ""};
    QJsonObject body = more;
    body.insert("design", DesignFile::toJson(design));
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

const QJsonObject TenToPdf{{"samples", 10}, {"output", "pdf"}};

int nextStart(quint16 port, const QByteArray& query)
{
    return get(port, "/api/v1/next?" + query).json()["startPosition"].toInt();
}

int jobCount(quint16 port)
{
    return int(get(port, "/api/v1/jobs?limit=1000").json()["jobs"].toArray().size());
}

// Answers the jobs that /status names in question, alternately printed and
// not printed when `alternate`; the number of them.
int resolveQuestions(quint16 port, bool alternate)
{
    int answered = 0;
    for (const QJsonValue& job : get(port, "/api/v1/status").json()["unresolved"].toArray()) {
        const bool printed = !alternate || answered % 2 == 0;
        const HttpAnswer answer =
            post(port, "/api/v1/jobs/" + QByteArray::number(job["id"].toInteger()) + "/resolve",
                 printed ? "{\"printed\":true}" : "{\"printed\":false}");
        answered += answer.status == 200 ? 1 : 0;
    }
    return answered;
}

// The page size pdfinfo reads from a job's PDF: "612 x 792 pts (letter)".
QString pageSizeOfPdf(quint16 port, qint64 id, const QString& path)
{
    QFile pdf(path);
    if (!pdf.open(QIODevice::WriteOnly))
        return {};
    pdf.write(get(port, "/api/v1/jobs/" + QByteArray::number(id) + "/labels.pdf").body);
    pdf.close();
    QString error;
    static const QRegularExpression size(QStringLiteral("Page size:\\s*([^\\n]*)"));
    return size.match(QString::fromUtf8(PdfTools::run(QStringLiteral("pdfinfo"), {path}, error)))
        .captured(1)
        .trimmed();
}

// The numbers a job's PDF holds, read back from the PDF.
QStringList numbersInPdf(quint16 port, qint64 id, const QString& path)
{
    QFile pdf(path);
    if (!pdf.open(QIODevice::WriteOnly))
        return {};
    pdf.write(get(port, "/api/v1/jobs/" + QByteArray::number(id) + "/labels.pdf").body);
    pdf.close();
    QString error;
    static const QRegularExpression number(QStringLiteral("\\b\\d{4}\\b"));
    QStringList numbers;
    for (const QRegularExpressionMatch& match : number.globalMatch(PdfTools::text(path, error)))
        numbers << match.captured();
    return numbers;
}

} // namespace

class ServerJobsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pdfJobThenLabelsIssuedBefore();
    void busyStationAnswers423();
    void refusingQueueMovesNothingOn();
    void killedDuringAFloodPrintsNoLabelTwice();
    void jobsOnAnotherSheet();

private:
    QString stateDir(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
};

void ServerJobsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void ServerJobsTest::pdfJobThenLabelsIssuedBefore()
{
    ServerRun server({"--state-dir", stateDir("issued")});
    QVERIFY2(server.started(), qPrintable(server.log()));
    const HttpAnswer printed =
        post(server.port(), "/api/v1/jobs", jobBody("LAB", QJsonObject{TenToPdf}));
    QCOMPARE(printed.status, 201);
    const QJsonObject job = printed.json();
    QCOMPARE(job["first"].toString(), QStringLiteral("LAB 0001"));
    QCOMPARE(job["last"].toString(), QStringLiteral("LAB 0010"));
    QCOMPARE(job["next"]["startPosition"].toInt(), 11);
    QCOMPARE(job["next"]["first"].toString(), QStringLiteral("LAB 0011"));
    const HttpAnswer pdf = get(server.port(), job["pdf"].toString().toLatin1());
    QCOMPARE(pdf.header("Content-Type"), QByteArray("application/pdf"));

    // The same numbers again: listed as the window lists them, nothing
    // printed, nothing moved on.
    QJsonObject again = TenToPdf;
    again.insert("first", 5);
    const HttpAnswer refused = post(server.port(), "/api/v1/jobs", jobBody("LAB", again));
    QCOMPARE(refused.status, 409);
    QCOMPARE(refused.error(), QStringLiteral("issued-before"));
    const QJsonArray issued = refused.json()["issued"].toArray();
    QCOMPARE(issued.size(), 1);
    QVERIFY2(issued[0].toString().contains(QStringLiteral("LAB 0005")) &&
                 issued[0].toString().contains(QStringLiteral("LAB 0010")) &&
                 issued[0].toString().contains(QString::number(job["id"].toInt())),
             qPrintable(issued[0].toString()));
    QCOMPARE(jobCount(server.port()), 1);
    QCOMPARE(nextStart(server.port(), "output=pdf"), 11);

    again.insert("allowDuplicates", true);
    QCOMPARE(post(server.port(), "/api/v1/jobs", jobBody("LAB", again)).status, 201);
    QCOMPARE(nextStart(server.port(), "output=pdf"), 21);
    // A body the job refuses names its field, over the wire as well.
    const HttpAnswer tooLong = post(server.port(), "/api/v1/jobs", jobBody("LABELS", TenToPdf));
    QCOMPARE(tooLong.status, 400);
    QCOMPARE(tooLong.json()["field"].toString(), QStringLiteral("design.upperTexts.1"));
    QCOMPARE(jobCount(server.port()), 2);
}

void ServerJobsTest::busyStationAnswers423()
{
    ServerRun server({"--state-dir", stateDir("busy")});
    QVERIFY2(server.started(), qPrintable(server.log()));
    QCOMPARE(post(server.port(), "/api/v1/jobs", jobBody("LAB", TenToPdf)).status, 201);
    // Another program holds the PDF station's folder, as a window printing
    // into it would.
    RunFiles holder(stateDir("busy") + QStringLiteral("/pdf/_local"));
    QString error;
    QVERIFY2(holder.lock(&error), qPrintable(error));
    HttpAnswer busy;
    QElapsedTimer waited;
    waited.start();
    std::thread job([&] { busy = post(server.port(), "/api/v1/jobs", jobBody("LAB", TenToPdf)); });
    // Meanwhile the service answers others.
    QTest::qWait(500);
    QElapsedTimer status;
    status.start();
    QCOMPARE(get(server.port(), "/api/v1/status").status, 200);
    QVERIFY(status.elapsed() < 2000);
    job.join();
    QCOMPARE(busy.status, 423);
    QVERIFY(waited.elapsed() >= 4500);
    QVERIFY(busy.header("Retry-After").toInt() > 0);
    QCOMPARE(jobCount(server.port()), 1);
    holder.unlock();
    QCOMPARE(post(server.port(), "/api/v1/jobs", jobBody("LAB", TenToPdf)).json()["first"],
             QJsonValue("LAB 0011"));
}

void ServerJobsTest::refusingQueueMovesNothingOn()
{
    QString error;
    PdfTools::run(QStringLiteral("lpstat"), {"-p", "RondelPDF"}, error);
    if (!error.isEmpty())
        QSKIP("needs the CUPS queue RondelPDF (scripts/cups-pdf-queue)");
    ServerRun server({"--state-dir", stateDir("refused")});
    QVERIFY2(server.started(), qPrintable(server.log()));
    QDir().mkpath(stateDir("refused") + QStringLiteral("/printers/RondelPDF"));
    QFile start(stateDir("refused") + QStringLiteral("/printers/RondelPDF/start.txt"));
    QVERIFY(start.open(QIODevice::WriteOnly) && start.write("10,10,41\r\n\r\n") > 0);
    start.close();

    PdfTools::run(QStringLiteral("cupsreject"), {"RondelPDF"}, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const auto accept = qScopeGuard([] {
        QString ignored;
        PdfTools::run(QStringLiteral("cupsaccept"), {"RondelPDF"}, ignored);
    });
    const QJsonObject toQueue{{"samples", 10}, {"printer", "RondelPDF"}};
    const HttpAnswer refused = post(server.port(), "/api/v1/jobs", jobBody("REJ", toQueue));
    QCOMPARE(refused.status, 502);
    QCOMPARE(refused.error(), QStringLiteral("printer-refused"));
    QCOMPARE(nextStart(server.port(), "printer=RondelPDF"), 41);
    QCOMPARE(jobCount(server.port()), 0);
    QCOMPARE(get(server.port(), "/api/v1/status").json()["unresolved"].toArray().size(), 0);
    // The labels were not issued: the same job prints once the queue takes it.
    PdfTools::run(QStringLiteral("cupsaccept"), {"RondelPDF"}, error);
    const HttpAnswer printed = post(server.port(), "/api/v1/jobs", jobBody("REJ", toQueue));
    QCOMPARE(printed.status, 201);
    QCOMPARE(printed.json()["first"].toString(), QStringLiteral("REJ 0001"));
    QCOMPARE(printed.json()["startPosition"].toInt(), 41);
}

void ServerJobsTest::killedDuringAFloodPrintsNoLabelTwice()
{
    if (const QString missing = PdfTools::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("needs ") + missing));
    const QStringList arguments{"--state-dir", stateDir("flood")};
    std::mutex mutex;
    QHash<int, QString> answered; // the jobs their clients saw printed: id, "first-last"
    int questions = 0;
    for (int round = 0; round < 3; ++round) {
        ServerRun server(arguments);
        QVERIFY2(server.started(), qPrintable(server.log()));
        // Jobs left in question by the last kill: named, then answered.
        questions += resolveQuestions(server.port(), true);
        std::atomic<bool> flooding = true;
        std::vector<std::thread> clients;
        for (int c = 0; c < 4; ++c)
            clients.emplace_back([&, port = server.port()] {
                while (flooding) {
                    const HttpAnswer answer = post(port, "/api/v1/jobs", jobBody("LAB", TenToPdf));
                    if (answer.status != 201)
                        continue;
                    const QJsonObject job = answer.json();
                    const std::lock_guard lock(mutex);
                    answered.insert(job["id"].toInt(),
                                    job["first"].toString() + "-" + job["last"].toString());
                }
            });
        QTest::qWait(800 + QRandomGenerator::global()->bounded(700));
        ::kill(pid_t(server.pid()), SIGKILL);
        flooding = false;
        for (std::thread& client : clients)
            client.join();
    }

    ServerRun server(arguments);
    QVERIFY2(server.started(), qPrintable(server.log()));
    questions += resolveQuestions(server.port(), false);
    QCOMPARE(get(server.port(), "/api/v1/status").json()["unresolved"].toArray().size(), 0);
    QVERIFY(answered.size() > 10);
    // Every label of every job in one PDF only; every job a client saw
    // printed is there as it saw it.
    QHash<QString, qint64> seen;
    const QJsonArray jobs = get(server.port(), "/api/v1/jobs?limit=1000").json()["jobs"].toArray();
    for (const QJsonValue& job : jobs) {
        const int id = job["id"].toInt();
        if (answered.contains(id))
            QCOMPARE(job["first"].toString() + "-" + job["last"].toString(), answered.value(id));
        const QStringList numbers =
            numbersInPdf(server.port(), id, m_dir.filePath(QStringLiteral("flood-%1.pdf").arg(id)));
        QCOMPARE(numbers.size(), job["labelCount"].toInt());
        for (const QString& number : numbers) {
            QVERIFY2(!seen.contains(number), qPrintable(QStringLiteral("LAB %1 in jobs %2 and %3")
                                                            .arg(number)
                                                            .arg(seen.value(number))
                                                            .arg(id)));
            seen.insert(number, id);
        }
    }
    for (auto it = answered.cbegin(); it != answered.cend(); ++it)
        QVERIFY2(
            std::any_of(jobs.begin(), jobs.end(),
                        [&it](const QJsonValue& job) { return job["id"].toInt() == it.key(); }),
            qPrintable(QStringLiteral("job %1 answered, then lost").arg(it.key())));
    qInfo("%d jobs, %d answered to their clients, %d in question after a kill", int(jobs.size()),
          int(answered.size()), questions);
}

void ServerJobsTest::jobsOnAnotherSheet()
{
    if (const QString missing = PdfTools::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("needs ") + missing));
    // A sheet file of the state folder's own is listed as the command line
    // lists it, under the same id.
    QDir().mkpath(stateDir("sheets") + QStringLiteral("/sheets"));
    QVERIFY(QFile::copy(QStringLiteral(":/sheets/a4-18mm-9x13.json"),
                        stateDir("sheets") + QStringLiteral("/sheets/big.json")));
    ServerRun server({"--state-dir", stateDir("sheets")});
    QVERIFY2(server.started(), qPrintable(server.log()));
    QString error;
    const QByteArray csv = PdfTools::run(QStringLiteral(RONDEL_CLI),
                                         {"sheets", "--state-dir", stateDir("sheets")}, error);
    QStringList cliIds;
    for (const QByteArray& line : csv.trimmed().split('\n').mid(1))
        cliIds << QString::fromUtf8(line.left(line.indexOf(',')));
    QStringList apiIds;
    for (const QJsonValue& sheet : get(server.port(), "/api/v1/sheets").json()["sheets"].toArray())
        apiIds << sheet["id"].toString();
    QVERIFY(apiIds.contains(QStringLiteral("station:big")));
    QCOMPARE(apiIds, cliIds);

    // From 200 of 234: 200..234, then the next sheet; the PDF station keeps
    // the sheet, so a start it lacks is refused without naming it again.
    QJsonObject onA4{{"samples", 40}, {"start", 200}, {"output", "pdf"}};
    onA4.insert("sheet", "shipped:a4-12mm-13x18");
    const QJsonObject job = post(server.port(), "/api/v1/jobs", jobBody("A4", onA4)).json();
    const QJsonArray labels = job["labels"].toArray();
    QCOMPARE(labels.size(), 40);
    QCOMPARE(labels[0]["position"].toInt(), 200);
    QCOMPARE(labels[34]["position"].toInt(), 234);
    QCOMPARE(labels[35]["sheet"].toInt(), 2);
    QCOMPARE(labels[35]["position"].toInt(), 1);
    QCOMPARE(job["next"]["startPosition"].toInt(), 6);
    QCOMPARE(get(server.port(), "/api/v1/next?output=pdf")
                 .json()["sheet"]
                 .toObject()["positions"]
                 .toInt(),
             234);
    const HttpAnswer beyond =
        post(server.port(), "/api/v1/jobs", jobBody("A4", {{"start", 235}, {"output", "pdf"}}));
    QCOMPARE(beyond.status, 400);
    QCOMPARE(beyond.json()["field"].toString(), QStringLiteral("start"));
    const HttpAnswer unknown =
        post(server.port(), "/api/v1/jobs",
             jobBody("A4", {{"sheet", "../../etc/passwd"}, {"output", "pdf"}}));
    QCOMPARE(unknown.status, 400);
    QCOMPARE(unknown.json()["field"].toString(), QStringLiteral("sheet"));

    // A reprint onto a US Letter sheet: its labels there, on Letter paper.
    const QByteArray reprintOf = "/api/v1/jobs/" + QByteArray::number(job["id"].toInt());
    const QJsonObject reprint =
        post(
            server.port(), reprintOf + "/reprint",
            R"({"samples": "1-2", "sheet": "shipped:letter-19mm-8x10", "start": 80, "output": "pdf"})")
            .json();
    QCOMPARE(reprint["labels"].toArray()[1].toObject()["sheet"].toInt(), 2);
    QCOMPARE(pageSizeOfPdf(server.port(), reprint["id"].toInt(), m_dir.filePath("letter.pdf")),
             QStringLiteral("612 x 792 pts (letter)"));

    // A print queue keeps the sheet of its last job: /printers shows it, and
    // a reprint without a sheet goes on it.
    PdfTools::run(QStringLiteral("lpstat"), {"-p", "RondelPDF"}, error);
    if (!error.isEmpty())
        QSKIP("needs the CUPS queue RondelPDF (scripts/cups-pdf-queue)");
    onA4.remove("output");
    onA4.insert("printer", "RondelPDF");
    onA4.insert("samples", 2);
    QCOMPARE(post(server.port(), "/api/v1/jobs", jobBody("Q", onA4)).status, 201);
    const QJsonArray printers = get(server.port(), "/api/v1/printers").json()["printers"].toArray();
    const auto queue = std::find_if(printers.begin(), printers.end(), [](const QJsonValue& p) {
        return p["name"].toString() == QLatin1String("RondelPDF");
    });
    QVERIFY(queue != printers.end());
    QCOMPARE(queue->toObject()["sheet"].toObject()["id"].toString(),
             QStringLiteral("shipped:a4-12mm-13x18"));
    QCOMPARE(queue->toObject()["startPosition"].toInt(), 202);
    const QJsonObject again =
        post(server.port(), reprintOf + "/reprint", R"({"samples": "3", "printer": "RondelPDF"})")
            .json();
    QCOMPARE(again["sheet"]["id"].toString(), QStringLiteral("shipped:a4-12mm-13x18"));
    QCOMPARE(again["startPosition"].toInt(), 202);
}

QTEST_GUILESS_MAIN(ServerJobsTest)
#include "tst_serverjobs.moc"
