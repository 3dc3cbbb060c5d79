#include "core/io/RunFiles.h"

#include "CliFiles.h"
#include "CliRun.h"
#include "PostgresServer.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

// rondelmaker-cli on the registry of issued labels: reprints, stations that
// share a server, a server away, settings and searches that cannot be.
class TestCliRegistry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reprintsKeepTheirTextsAndTheNumbering();
    void stationsShareOneNumbering();
    void serverAwayPrintsNothingUnrecorded_data();
    void serverAwayPrintsNothingUnrecorded();
    void registrySettingsAndSearchesThatCannotBe_data();
    void registrySettingsAndSearchesThatCannotBe();
};

void TestCliRegistry::reprintsKeepTheirTextsAndTheNumbering()
{
    // A dated job printed "yesterday" is reprinted today: the labels keep
    // their date, the numbering stays, the start position moves on.
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    const QString design = saveDesign(dir, 4, 1, 6, 2);
    QCOMPARE(cli({"print", design, "--pdf", dir.path() + "/a.pdf", "--state-dir", dir.path()}).code,
             0);
    const QString registry = dir.path() + "/registry.sqlite";
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "edit");
        db.setDatabaseName(registry);
        QVERIFY(db.open());
        QSqlQuery(db).exec("UPDATE labels SET upper_text = '12/08'");
    }
    QSqlDatabase::removeDatabase("edit");
    const QByteArray next = cli({"next", "--state-dir", dir.path()}).out.toUtf8();

    const Result r = cli({"reprint", "1", "--samples", "2-3", "--start", "20", "--pdf",
                          dir.path() + "/r.pdf", "--state-dir", dir.path()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(pdfWords(dir.path() + "/r.pdf"),
             QStringList({"12/08", "0002", "12/08", "0002", "12/08", "0003", "12/08", "0003"}));
    QCOMPARE(cli({"next", "--state-dir", dir.path()}).out.toUtf8(),
             QByteArray(next).replace("start position: 13", "start position: 24"));
    const Result labels = cli({"labels", "2", "--state-dir", dir.path()});
    QVERIFY2(labels.out.endsWith("1,23,3,2,12/08,0003\r\n"), qPrintable(labels.out));
    QVERIFY(cli({"history", "--state-dir", dir.path()}).out.contains(",reprint,printed,4,"));
    QCOMPARE(cli({"find", "12/08 0003", "--state-dir", dir.path()}).out.count("\r\n"), 3);
}

namespace {

// A station of a shared registry: its own folder, start file and printer.
struct Station {
    explicit Station(const QString& registry, const QByteArray& more = {})
    {
        dir.writeStartFile("10,10,1\r\n\r\n");
        put(dir.path() + "/rondelmaker.conf",
            "# shared\nregistry=" + registry.toUtf8() + "\n" + more);
    }
    QStringList print(const QString& design, const QString& pdf) const
    {
        return {"print", design, "--pdf", dir.path() + '/' + pdf, "--state-dir", dir.path()};
    }
    TestAppDir dir;
};

} // namespace

void TestCliRegistry::stationsShareOneNumbering()
{
    // Two stations, three jobs at once on each, four rounds: every number
    // once, none skipped, and each station's sheet positions its own.
    PostgresServer server;
    if (!server.isReady())
        QSKIP(qPrintable(server.skipReason()));
    const Station a(server.url()), b(server.url());
    const QString design = saveDesign(a.dir, 1, 1, 20, 1);
    QStringList pdfs;
    for (int round = 0; round < 4; ++round) {
        std::vector<std::unique_ptr<QProcess>> jobs;
        for (int k = 0; k < 6; ++k) {
            const QString pdf = QStringLiteral("r%1-%2.pdf").arg(round).arg(k);
            pdfs << (k % 2 ? b : a).dir.path() + '/' + pdf;
            jobs.push_back(std::make_unique<QProcess>());
            jobs.back()->start(RONDEL_CLI, (k % 2 ? b : a).print(design, pdf));
        }
        for (const auto& job : jobs) {
            QVERIFY(job->waitForFinished(60000));
            // A job planned again after another station took its numbers
            // says nothing about the round that lost them.
            const QByteArray err = job->readAllStandardError();
            QVERIFY2(job->exitCode() == 0 && err.isEmpty(), err.constData());
        }
    }
    QStringList numbers;
    for (const QString& pdf : pdfs)
        numbers << pdfWords(pdf).filter(QRegularExpression("^\\d{4}$"));
    numbers.sort();
    QStringList expected;
    for (int n = 1; n <= 480; ++n)
        expected << QString::number(n).rightJustified(4, '0');
    QCOMPARE(numbers, expected);
    QCOMPARE(a.dir.startFile(), QByteArray("10,10,91\r\n\r\n")); // 12 jobs of 20 from 1
    QCOMPARE(server.query("SELECT count(*) FROM jobs WHERE state = 'printed'"), "24");
}

void TestCliRegistry::serverAwayPrintsNothingUnrecorded_data()
{
    QTest::addColumn<bool>("frozen");
    QTest::newRow("stopped") << false;
    // Its processes stopped where they stand: connections stay open, and
    // nothing answers. Each call is given up at registry_timeout.
    QTest::newRow("frozen") << true;
}

void TestCliRegistry::serverAwayPrintsNothingUnrecorded()
{
    QFETCH(bool, frozen);
    PostgresServer server;
    if (!server.isReady())
        QSKIP(qPrintable(server.skipReason()));
    const Station station(server.url(), "registry_timeout=2\n");
    const QString design = saveDesign(station.dir, 1, 1, 10, 1);
    std::optional<ServerFreeze> freeze;
    const auto away = [&] {
        if (frozen)
            freeze.emplace(server, 40000);
        return frozen || server.stop();
    };
    const auto back = [&] {
        freeze.reset();
        return frozen || server.start();
    };

    // Away before the job: no numbered label prints without a reservation.
    // Frozen, the job has connected and waits for the folder's lock.
    RunFiles holder(station.dir.path());
    QString error;
    QProcess job;
    if (frozen) {
        QVERIFY(holder.lock(&error));
        job.start(RONDEL_CLI, station.print(design, "1.pdf"));
        QTRY_COMPARE(server.query("SELECT count(*) FROM pg_stat_activity WHERE "
                                  "application_name = 'rondelmaker'"),
                     "1");
    }
    QVERIFY(away());
    holder.unlock();
    Result r = frozen ? Result() : cli(station.print(design, "1.pdf"));
    if (frozen && job.waitForFinished(20000))
        r = {job.exitCode(), {}, QString::fromUtf8(job.readAllStandardError())};
    QVERIFY2(r.code == 1 && r.err.contains("ラベル台帳") && r.err.contains(server.socketFolder()),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(station.dir.path() + "/1.pdf"));
    QCOMPARE(station.dir.startFile(), QByteArray("10,10,1\r\n\r\n"));
    QVERIFY(back());

    // Away between the reservation and its confirmation: the PDF's arrival
    // is held back while the server goes. The labels printed and stay
    // issued; the next contact confirms them.
    job.start("strace", QStringList{"-f", "-o", "/dev/null", "-P", station.dir.path() + "/2.pdf",
                                    "-e", "trace=linkat,rename", "-e",
                                    "inject=linkat,rename:delay_exit=1500000", RONDEL_CLI} +
                            station.print(design, "2.pdf"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(station.dir.path() + "/2.pdf"), 20000);
    QVERIFY(away());
    QVERIFY(job.waitForFinished(30000));
    const QString err = QString::fromUtf8(job.readAllStandardError());
    QVERIFY2(job.exitCode() == 3 && err.contains("次の接続で記録します"), qPrintable(err));
    QVERIFY(back());
    QCOMPARE(server.query("SELECT state FROM jobs"), "reserved");
    r = cli({"history", "--state-dir", station.dir.path()});
    QVERIFY2(r.code == 0 && r.out.contains(",printed,") && !r.err.contains("resolve"),
             qPrintable(r.err));
    QCOMPARE(server.query("SELECT state FROM jobs"), "printed");
    QCOMPARE(pdfWords(station.dir.path() + "/2.pdf").value(1), "0001");
    r = cli(station.print(design, "3.pdf"));
    QCOMPARE(r.code, 0);
    QCOMPARE(pdfWords(station.dir.path() + "/3.pdf").value(1), "0011");
}

void TestCliRegistry::registrySettingsAndSearchesThatCannotBe_data()
{
    // The command line after "rondelmaker-cli"; N/: a folder that is not there.
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString server = "--registry postgresql://labels@db/labels?";
    QTest::newRow("password in the query")
        << "next " + server + "password=secret" << 2 << "password";
    QTest::newRow("option not passed on")
        << "next " + server + "sslmode=require&gssencmode=disable" << 2 << "gssencmode";
    QTest::newRow("no folder for the file, history")
        << "history --registry N/r.sqlite" << 1 << "フォルダーがありません";
    QTest::newRow("no folder for the file, next")
        << "next --registry N/r.sqlite" << 1 << "フォルダーがありません";
    QTest::newRow("search longer than a label") << "find " + QString(600, 'x') << 2 << "at most 11";
}

void TestCliRegistry::registrySettingsAndSearchesThatCannotBe()
{
    QFETCH(QString, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    const QByteArray start = "10,10,1\r\n\r\n";
    TestAppDir dir(&start);
    QStringList line;
    for (const QString& argument : arguments.split(' '))
        line << (argument.startsWith("N/") ? dir.path() + "/none" + argument.mid(1) : argument);
    const Result r = cli(line << "--state-dir" << dir.path());
    QVERIFY2(r.code == code && r.err.contains(message),
             qPrintable(QString::number(r.code) + ' ' + r.err));
    QCOMPARE(QDir(dir.path()).entryList({"registry*"}), QStringList());
}

QTEST_GUILESS_MAIN(TestCliRegistry)
#include "tst_cliregistry.moc"
