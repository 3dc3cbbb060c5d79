// The service's answers about a registry that rondelmaker-cli filled, on
// SQLite and on a PostgreSQL server that stops under it, read back against
// what the command line says about the same jobs.
#include "core/io/DesignFile.h"
#include "core/registry/SqlRegistry.h"

#include "../cli/CliRun.h"
#include "PdfTools.h"
#include "PostgresServer.h"
#include "ServerRun.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A type 1 design: "LAB" over 0001, 0002, ...
QString saveDesign(const QString& dir, int samples, int repeat)
{
    LabelDesign design;
    design.upperTexts = {"LAB", "", "", "", ""};
    design.sampleCount = samples;
    design.repeatCount = repeat;
    const QString path = QDir(dir).filePath(QStringLiteral("design-%1.json").arg(samples));
    return DesignFile::save(path, design, nullptr) ? path : QString();
}

// The lines of a CSV answer of the command line, without its header.
QStringList csvRows(const QString& out)
{
    QStringList rows;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        rows << line.trimmed();
    rows.removeFirst();
    return rows;
}

QImage rendered(const QString& pdf, const QString& page)
{
    QString error;
    PdfTools::run(QStringLiteral("pdftoppm"),
                  {"-r", "100", "-gray", "-png", "-singlefile", pdf, page}, error);
    return QImage(page + QStringLiteral(".png"));
}

} // namespace

class ServerApiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { m_server.reset(); }
    void statusAndPrinters();
    void historyAndFind();
    void jobAsTheCommandLineListsIt();
    void documentsOfAPastJob();
    void previewOfAJob();
    void resolveAJobInQuestion();
    void postgresStoppedUnderTheServer();

private:
    QString station(const char* name = "station") const
    {
        return m_dir.filePath(QLatin1String(name));
    }
    QString serverDir() const { return m_dir.filePath(QStringLiteral("srv")); }
    quint16 port() const { return m_server->port(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ServerRun> m_server;
};

void ServerApiTest::initTestCase()
{
    QVERIFY(writeFile(QDir(station()).filePath("start.txt"), "10,10,1\r\n\r\n"));
    // Job 1: three samples twice; job 2 goes on from 0004 at the last
    // position of sheet 1, onto sheet 2.
    const Result first =
        cli({"print", saveDesign(m_dir.path(), 3, 2), "--state-dir", station(), "--pdf",
             m_dir.filePath("job1.pdf"), "--xls", m_dir.filePath("job1.xls")});
    QVERIFY2(first.code == 0, qPrintable(first.err));
    const Result second = cli({"print", saveDesign(m_dir.path(), 4, 1), "--state-dir", station(),
                               "--start", "150", "--pdf", m_dir.filePath("job2.pdf")});
    QVERIFY2(second.code == 0, qPrintable(second.err));
    m_server = std::make_unique<ServerRun>(QStringList{
        "--state-dir", serverDir(), "--registry", QDir(station()).filePath("registry.sqlite")});
    QVERIFY2(m_server->started(), qPrintable(m_server->log()));
}

void ServerApiTest::statusAndPrinters()
{
    const QJsonObject status = get(port(), "/api/v1/status").json();
    QVERIFY(!status.value("version").toString().isEmpty());
    QCOMPARE(status.value("registry")["kind"].toString(), QStringLiteral("sqlite"));
    QCOMPARE(status.value("registry")["reachable"].toBool(), true);
    QCOMPARE(status.value("unresolved").toArray().size(), 0);

    if (QStandardPaths::findExecutable(QStringLiteral("lpstat")).isEmpty())
        QSKIP("needs CUPS's lpstat to list the queues another way");
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {"-e"});
    QVERIFY(lpstat.waitForFinished(10000));
    const QStringList queues = QString::fromUtf8(lpstat.readAllStandardOutput())
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(status.value("queues").toInt(), queues.size());
    if (!queues.contains(QStringLiteral("RondelPDF")))
        QSKIP("needs the CUPS queue RondelPDF (scripts/cups-pdf-queue)");
    // The queue's own station folder: its offsets and start position.
    QVERIFY(writeFile(serverDir() + QStringLiteral("/printers/RondelPDF/start.txt"),
                      "12,8,37\r\n\r\n"));
    const QJsonArray printers = get(port(), "/api/v1/printers").json().value("printers").toArray();
    QCOMPARE(printers.size(), queues.size());
    for (const QJsonValue& printer : printers) {
        const bool calibrated = printer["name"].toString() == QLatin1String("RondelPDF");
        QCOMPARE(printer["configured"].toBool(), calibrated);
        QCOMPARE(printer["startPosition"].toInt(), calibrated ? 37 : 1);
        QCOMPARE(printer["offsets"]["horizontal"].toDouble(), calibrated ? 1.0 : 0.0);
        QCOMPARE(printer["offsets"]["vertical"].toDouble(), calibrated ? -1.0 : 0.0);
        QVERIFY(printer["accepting"].isBool() && printer["default"].isBool());
    }
}

void ServerApiTest::historyAndFind()
{
    const QJsonArray jobs = get(port(), "/api/v1/jobs").json().value("jobs").toArray();
    const QStringList history = csvRows(cli({"history", "--state-dir", station()}).out);
    QCOMPARE(jobs.size(), history.size());
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        // id,time,kind,state,type,first,last,labels,printer,station
        const QStringList cells = history[i].split(QLatin1Char(','));
        QCOMPARE(jobs[i]["id"].toInteger(), cells[0].toLongLong());
        QCOMPARE(jobs[i]["state"].toString(), cells[3]);
        QCOMPARE(jobs[i]["first"].toString(), cells[5]);
        QCOMPARE(jobs[i]["last"].toString(), cells[6]);
        QCOMPARE(jobs[i]["labelCount"].toInt(), cells[7].toInt());
        QCOMPARE(jobs[i]["station"].toString(), cells[9]);
    }
    QCOMPARE(jobs[0]["id"].toInt(), 2); // newest first

    const QByteArray today = QDate::currentDate().toString(Qt::ISODate).toLatin1();
    const QByteArray tomorrow = QDate::currentDate().addDays(1).toString(Qt::ISODate).toLatin1();
    QCOMPARE(get(port(), "/api/v1/jobs?since=" + today).json()["jobs"].toArray().size(), 2);
    QCOMPARE(get(port(), "/api/v1/jobs?since=" + tomorrow).json()["jobs"].toArray().size(), 0);
    QCOMPARE(get(port(), "/api/v1/jobs?type=2").json()["jobs"].toArray().size(), 0);
    const QJsonObject limited = get(port(), "/api/v1/jobs?limit=1").json();
    QCOMPARE(limited["jobs"].toArray().size(), 1);
    QCOMPARE(limited["more"].toBool(), true);
    const HttpAnswer badDay = get(port(), "/api/v1/jobs?since=2026-13-01");
    QCOMPARE(badDay.status, 400);
    QCOMPARE(badDay.json()["field"].toString(), QStringLiteral("since"));

    const auto found = [this](const QByteArray& label) {
        QList<int> ids;
        for (const QJsonValue& job :
             get(port(), "/api/v1/find?label=" + label).json()["jobs"].toArray())
            ids << job["id"].toInt();
        return ids;
    };
    QCOMPARE(found("LAB%200005"), QList<int>{2});
    QCOMPARE(found("LAB+0002"), QList<int>{1});
    QCOMPARE(found("%E8%A1%80%E6%B6%B2"), QList<int>{}); // 血液
    QCOMPARE(get(port(), "/api/v1/find").status, 400);
}

void ServerApiTest::jobAsTheCommandLineListsIt()
{
    const HttpAnswer answer = get(port(), "/api/v1/jobs/2");
    QCOMPARE(answer.status, 200);
    const QJsonObject job = answer.json();
    QCOMPARE(job["startPosition"].toInt(), 150);
    QCOMPARE(job["design"]["format"].toString(), QStringLiteral("rondelmaker-design"));
    QVERIFY(DesignFile::fromJson(job["design"].toObject(), nullptr).has_value());
    const QStringList rows = csvRows(cli({"labels", "2", "--state-dir", station()}).out);
    const QJsonArray labels = job["labels"].toArray();
    QCOMPARE(labels.size(), rows.size());
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const QJsonObject l = labels[i].toObject();
        QCOMPARE(QStringLiteral("%1,%2,%3,%4,%5,%6")
                     .arg(l["sheet"].toInt())
                     .arg(l["position"].toInt())
                     .arg(l["sample"].toInt())
                     .arg(l["repeat"].toInt())
                     .arg(l["upper"].toString(), l["lower"].toString()),
                 rows[i]);
    }
    const HttpAnswer missing = get(port(), "/api/v1/jobs/99");
    QCOMPARE(missing.status, 404);
    QCOMPARE(missing.error(), QStringLiteral("not-found"));
    QCOMPARE(get(port(), "/api/v1/jobs/0").status, 400);
}

void ServerApiTest::documentsOfAPastJob()
{
    if (const QString missing = PdfTools::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("needs ") + missing));
    const HttpAnswer labels = get(port(), "/api/v1/jobs/1/labels.pdf");
    QCOMPARE(labels.status, 200);
    QCOMPARE(labels.header("Content-Type"), QByteArray("application/pdf"));
    QVERIFY(labels.header("Content-Disposition").contains("job-1-labels.pdf"));
    // The labels as the command line printed them, to the dot.
    QVERIFY(writeFile(m_dir.filePath("served1.pdf"), labels.body));
    const QImage served = rendered(m_dir.filePath("served1.pdf"), m_dir.filePath("served1"));
    QVERIFY(!served.isNull());
    QCOMPARE(served, rendered(m_dir.filePath("job1.pdf"), m_dir.filePath("printed1")));
    QVERIFY(
        writeFile(m_dir.filePath("served2.pdf"), get(port(), "/api/v1/jobs/2/labels.pdf").body));
    QString error;
    QCOMPARE(PdfTools::pageCount(m_dir.filePath("served2.pdf"), error), 2);

    // The record, dated by the job.
    const QJsonObject job = get(port(), "/api/v1/jobs/1").json();
    const QDateTime printedAt = QDateTime::fromString(job["time"].toString(), Qt::ISODate);
    QVERIFY(
        writeFile(m_dir.filePath("record1.pdf"), get(port(), "/api/v1/jobs/1/record.pdf").body));
    const QString record = PdfTools::text(m_dir.filePath("record1.pdf"), error);
    QVERIFY2(record.contains(printedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd"))),
             qPrintable(record + error));
    for (const char* lower : {"0001", "0002", "0003"})
        QVERIFY(record.contains(QLatin1String(lower)));

    // The spreadsheet reads as the one the command line wrote.
    const HttpAnswer xls = get(port(), "/api/v1/jobs/1/labels.xls");
    QCOMPARE(xls.header("Content-Type"), QByteArray("application/vnd.ms-excel"));
    QVERIFY(writeFile(m_dir.filePath("served1.xls"), xls.body));
    const QString script = qEnvironmentVariable("RONDEL_SOURCE_DIR") + "/tests/xls/read_xls.py";
    const auto cells = [&script](const QString& path) {
        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"), {script, path});
        reader.waitForFinished(30000);
        return QJsonDocument::fromJson(reader.readAllStandardOutput()).object().value("cells");
    };
    const QJsonValue served1 = cells(m_dir.filePath("served1.xls"));
    QCOMPARE(served1["1,1"]["text"].toString(), QStringLiteral("0001"));
    QCOMPARE(served1, cells(m_dir.filePath("job1.xls")));
}

void ServerApiTest::previewOfAJob()
{
    // 20 labels from the last position but five: two sheets.
    LabelDesign design;
    design.upperTexts = {"LAB", "", "", "", ""};
    const auto body = [&design](const char* more) {
        QByteArray json = QJsonDocument(QJsonObject{{"design", DesignFile::toJson(design)}})
                              .toJson(QJsonDocument::Compact)
                              .chopped(1);
        return json.append(more);
    };
    const QByteArray job = body(R"(, "samples": 20, "start": 145, "output": "pdf"})");
    const HttpAnswer counted = post(port(), "/api/v1/preview", job);
    QCOMPARE(counted.status, 200);
    QCOMPARE(counted.json()["sheets"].toInt(), 2);
    QCOMPARE(counted.json()["labels"].toInt(), 20);

    // Ink in the top and the bottom fifth of a sheet.
    const auto inked = [this, &job](int page) {
        const HttpAnswer answer =
            post(port(), "/api/v1/preview?page=" + QByteArray::number(page) + "&dpi=50", job);
        const QImage image = QImage::fromData(answer.body, "PNG");
        const auto ink = [&image](int fromY, int toY) {
            for (int y = fromY; y < toY; ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        return true;
            return false;
        };
        return std::pair{image.size(), std::pair{ink(0, image.height() / 5),
                                                 ink(image.height() * 4 / 5, image.height())}};
    };
    const QSize a4At50(413, 585);
    QCOMPARE(inked(1), std::pair(a4At50, std::pair(false, true))); // 145..150
    QCOMPARE(inked(2), std::pair(a4At50, std::pair(true, false))); // 1..14

    const auto refusal = [this](const QByteArray& target, const QByteArray& json) {
        const HttpAnswer answer = post(port(), target, json);
        return QStringLiteral("%1 %2").arg(answer.status).arg(answer.json()["field"].toString());
    };
    QCOMPARE(refusal("/api/v1/preview?page=3", job), QStringLiteral("400 page"));
    QCOMPARE(refusal("/api/v1/preview?dpi=9000", job), QStringLiteral("400 dpi"));
    QCOMPARE(refusal("/api/v1/preview", body(R"(, "printer": "no such queue"})")),
             QStringLiteral("404 printer"));
    design.upperTexts[0] = QStringLiteral("血液検体");
    QCOMPARE(refusal("/api/v1/preview", body(R"(, "output": "pdf"})")),
             QStringLiteral("400 design.upperTexts.1"));
}

void ServerApiTest::resolveAJobInQuestion()
{
    // Jobs reserved and never confirmed, as a crash leaves them: two of a
    // queue's station of this service, one of the command line's station.
    const QString queue = serverDir() + QStringLiteral("/printers/LabelQueue");
    QVERIFY(writeFile(queue + QStringLiteral("/start.txt"), "10,10,7\r\n\r\n"));
    RegistryTarget target;
    target.file = QDir(station()).filePath("registry.sqlite");
    const std::unique_ptr<SqlRegistry> registry = SqlRegistry::open(target, false);
    std::optional<RegistryJob> job = registry->job(1);
    QVERIFY(job);
    job->movesNumbering = false;
    job->station = {QSysInfo::machineHostName(), QStringLiteral("lims"), queue};
    const qint64 released = registry->reserve(*job, 0).value_or(0);
    const qint64 printed = registry->reserve(*job, 0).value_or(0);
    job->station.folder = station();
    const qint64 elsewhere = registry->reserve(*job, 0).value_or(0);
    QVERIFY(released > 0 && printed > 0 && elsewhere > 0);

    QList<qint64> unresolved;
    for (const QJsonValue& line : get(port(), "/api/v1/status").json()["unresolved"].toArray())
        unresolved << line["id"].toInteger();
    QCOMPARE(unresolved, (QList<qint64>{printed, released}));

    const QByteArray path = "/api/v1/jobs/" + QByteArray::number(released) + "/resolve";
    const auto refusal = [&](const QByteArray& body) {
        const HttpAnswer answer = post(port(), path, body);
        return QStringLiteral("%1 %2 %3")
            .arg(answer.status)
            .arg(answer.error(), answer.json()["field"].toString());
    };
    QCOMPARE(refusal("{\"printed\": \"yes\"}"), QStringLiteral("400 bad-field printed"));
    QCOMPARE(refusal("{}"), QStringLiteral("400 missing-field printed"));
    QCOMPARE(refusal("{\"printed\": true, \"note\": 1}"), QStringLiteral("400 unknown-field note"));
    QCOMPARE(refusal("{\"printed\": tru"), QStringLiteral("400 bad-json "));

    const HttpAnswer answer = post(port(), path, "{\"printed\": false}");
    QCOMPARE(answer.status, 200);
    QCOMPARE(answer.json()["state"].toString(), QStringLiteral("released"));
    QCOMPARE(get(port(), "/api/v1/jobs/" + QByteArray::number(released)).status, 404);
    QVERIFY(readFile(queue + QStringLiteral("/start.txt")).startsWith("10,10,1"));

    const QByteArray confirm = "/api/v1/jobs/" + QByteArray::number(printed) + "/resolve";
    QCOMPARE(post(port(), confirm, "{\"printed\": true}").status, 200);
    QCOMPARE(get(port(), "/api/v1/jobs/" + QByteArray::number(printed)).json()["state"].toString(),
             QStringLiteral("printed"));
    QVERIFY(readFile(queue + QStringLiteral("/start.txt")).startsWith("10,10,7"));
    QCOMPARE(post(port(), confirm, "{\"printed\": true}").error(),
             QStringLiteral("not-in-question"));
    const QByteArray other = "/api/v1/jobs/" + QByteArray::number(elsewhere) + "/resolve";
    QCOMPARE(post(port(), other, "{\"printed\": true}").error(), QStringLiteral("other-station"));
    QCOMPARE(post(port(), "/api/v1/jobs/999/resolve", "{\"printed\": true}").status, 404);
}

void ServerApiTest::postgresStoppedUnderTheServer()
{
    PostgresServer postgres;
    if (!postgres.isReady())
        QSKIP(qPrintable(postgres.skipReason()));
    QVERIFY(writeFile(QDir(station("pg-station")).filePath("start.txt"), "10,10,1\r\n\r\n"));
    const Result printed =
        cli({"print", saveDesign(m_dir.path(), 3, 1), "--state-dir", station("pg-station"),
             "--registry", postgres.url(), "--pdf", m_dir.filePath("pg.pdf")});
    QVERIFY2(printed.code == 0, qPrintable(printed.err));
    const QStringList arguments = {"--state-dir", station("pg-srv"), "--registry", postgres.url()};
    ServerRun server(arguments);
    QVERIFY2(server.started(), qPrintable(server.log()));
    QCOMPARE(get(server.port(), "/api/v1/jobs").json()["jobs"].toArray().size(), 1);

    QVERIFY(postgres.stop());
    const HttpAnswer away = get(server.port(), "/api/v1/jobs");
    QCOMPARE(away.status, 503);
    QCOMPARE(away.error(), QStringLiteral("registry-unavailable"));
    QVERIFY(!away.header("Retry-After").isEmpty());
    const HttpAnswer status = get(server.port(), "/api/v1/status");
    QCOMPARE(status.status, 200);
    QCOMPARE(status.json().value("registry")["reachable"].toBool(), false);
    // A job is refused before anything is printed or moved on.
    LabelDesign design;
    design.upperTexts = {"PG", "", "", "", ""};
    const QByteArray job =
        QJsonDocument(
            QJsonObject{{"design", DesignFile::toJson(design)}, {"samples", 5}, {"output", "pdf"}})
            .toJson(QJsonDocument::Compact);
    const HttpAnswer refused = post(server.port(), "/api/v1/jobs", job);
    QCOMPARE(refused.status, 503);
    QVERIFY(!QDir(station("pg-srv") + QStringLiteral("/pdf/_local/documents")).exists());
    // A service started while the server is away waits for it, too.
    ServerRun later(arguments);
    QVERIFY2(later.started(), qPrintable(later.log()));
    QCOMPARE(get(later.port(), "/api/v1/jobs/1").status, 503);

    QVERIFY(postgres.start());
    QTRY_COMPARE_WITH_TIMEOUT(get(server.port(), "/api/v1/jobs").status, 200, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(get(later.port(), "/api/v1/jobs/1").status, 200, 15000);
    QCOMPARE(get(server.port(), "/api/v1/jobs").json()["jobs"].toArray().size(), 1);
    const HttpAnswer served = post(server.port(), "/api/v1/jobs", job);
    QCOMPARE(served.status, 201);
    QCOMPARE(served.json()["first"].toString(),
             QStringLiteral("PG 0004")); // after the command line's 0001..0003
    QCOMPARE(served.json()["startPosition"].toInt(), 1);
}

QTEST_GUILESS_MAIN(ServerApiTest)
#include "tst_serverapi.moc"
