#include "core/io/RunFiles.h"
#include "core/io/StateFile.h"
#include "core/job/JobTransaction.h"
#include "core/model/Freeze.h"
#include "core/registry/RegistrySetup.h"
#include "core/registry/SqlRegistry.h"

#include "PostgresServer.h"
#include "RecordingCanvas.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// The registry on a real SQLite file: what a reservation moves and a
// release puts back, what the duplicate guard and the search find, and a
// file that is not a registry of ours.
class TestRegistry : public QObject {
    Q_OBJECT
    // The same registry on a SQLite file and on a PostgreSQL server.
    void backends()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("SQLite") << false;
        QTest::newRow("PostgreSQL") << true;
    }
    // A new registry: a file in `dir`, or a new database on the server.
    std::unique_ptr<SqlRegistry> fresh(const QTemporaryDir& dir);

    std::unique_ptr<PostgresServer> m_server;
    int m_databases = 0;

private Q_SLOTS:
    void initTestCase();
    void reservationsMoveTheNumberingOnce_data() { backends(); }
    void reservationsMoveTheNumberingOnce();
    void issuedLabelsAndSearch_data() { backends(); }
    void issuedLabelsAndSearch();
    void serverAwayAndBack();
    void aFrozenServerIsGivenUpAtTheDeadline();
    void settingOptionsReachTheServer();
    void foreignFilesAreNeverWritten_data();
    void foreignFilesAreNeverWritten();
    void firstUseTakesTheSavedJob();
    void aLostNumberingIsMadeAgainFromTheJobs_data() { backends(); }
    void aLostNumberingIsMadeAgainFromTheJobs();
    void aJobPlannedAgainTellsOnlyItsOutcome();
};

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RegistryTarget fileIn(const QTemporaryDir& dir)
{
    RegistryTarget target;
    target.file = dir.filePath(QStringLiteral("registry.sqlite"));
    return target;
}

// A job of `samples` type 1 labels "LAB nnnn" from `first`.
RegistryJob labelsJob(int first, int samples, JobKind kind = JobKind::Labels)
{
    RegistryJob job;
    job.kind = kind;
    job.station = {QStringLiteral("lab-pc"), QStringLiteral("ana"), QStringLiteral("/st")};
    job.printer = QStringLiteral("Queue");
    job.design.upperTexts[0] = QStringLiteral("LAB");
    job.design.firstNumber = first;
    job.design.sampleCount = samples;
    job.job.run = freeze(job.design, QDate(2026, 12, 9));
    for (int n = 0; n < samples; ++n)
        job.job.labels << PrintLogEntry{QStringLiteral("LAB"),
                                        QString::number(first + n).rightJustified(4, u'0')};
    job.movesNumbering = kind == JobKind::Labels;
    job.numberingAfter = {first + samples, 0, 0, 0};
    job.nextPosition = samples + 1;
    return job;
}

} // namespace

void TestRegistry::initTestCase()
{
    m_server = std::make_unique<PostgresServer>(true);
}

std::unique_ptr<SqlRegistry> TestRegistry::fresh(const QTemporaryDir& dir)
{
    QFETCH(bool, server);
    if (!server)
        return SqlRegistry::open(fileIn(dir));
    if (!m_server->isReady())
        return nullptr;
    const QString name = QStringLiteral("t%1").arg(++m_databases);
    m_server->query(QStringLiteral("CREATE DATABASE %1").arg(name));
    QString error;
    RegistryTarget target = *RegistryTarget::parse(m_server->url(), &error);
    target.database = name;
    return SqlRegistry::open(target);
}

#define FRESH_REGISTRY(registry, dir)                                                              \
    const auto registry = fresh(dir);                                                              \
    if (!registry)                                                                                 \
        QSKIP(qPrintable(m_server->skipReason()));

void TestRegistry::reservationsMoveTheNumberingOnce()
{
    QTemporaryDir dir;
    FRESH_REGISTRY(registry, dir)
    QVERIFY2(registry->isOpen(), qPrintable(registry->errorString()));
    QVERIFY(registry->wasCreated());

    const qint64 first = registry->reserve(labelsJob(1, 10), 0).value_or(0);
    QVERIFY(first > 0);
    QCOMPARE(registry->numbering(1)->firstNumber, 11);
    QCOMPARE(registry->numbering(13)->jobId, first); // a blank type 1 run counts as type 1
    // A plan made before the first job was reserved is refused, not doubled.
    QVERIFY(!registry->reserve(labelsJob(1, 10), 0));
    QCOMPARE(registry->failure(), LabelRegistry::Failure::Moved);
    const qint64 second = registry->reserve(labelsJob(11, 5), first).value_or(0);
    QVERIFY(second > first);
    QCOMPARE(registry->unconfirmed({"lab-pc", "", "/st"})->size(), 2);
    QVERIFY(registry->confirm(first));

    // Releasing the first job leaves the numbering where the second put it;
    // releasing the second puts it back where the first left it.
    QVERIFY(registry->release(first));
    QCOMPARE(registry->numbering(1)->firstNumber, 16);
    QVERIFY(registry->release(second));
    QCOMPARE(*registry->numbering(1), (NumberingPosition{11, 0, 0, first}));
    QVERIFY(registry->history({})->isEmpty());
    // A job that is not there says so by its failure, not only in words.
    QVERIFY(!registry->job(first));
    QCOMPARE(registry->failure(), LabelRegistry::Failure::NotFound);
    // Ids are never used twice: others tell by the newest id that a job came.
    QVERIFY(registry->reserve(labelsJob(30, 1), first).value_or(0) > second);
}

void TestRegistry::issuedLabelsAndSearch()
{
    QTemporaryDir dir;
    FRESH_REGISTRY(registry, dir)
    const qint64 job = *registry->reserve(labelsJob(31, 10), 0);
    RegistryJob reprint = labelsJob(35, 1, JobKind::Reprint);
    reprint.reprintOf = job;
    reprint.reprinted = {4};
    // On a sheet of its own, at a position the built-in sheet lacks.
    reprint.job.sheet = {"user:cap", {"cap", QSizeF(210, 297), 12, {{13, 18, {9, 15}, {15, 15}}}}};
    reprint.job.startPosition = 200;
    const qint64 again = *registry->reserve(reprint, 0);
    QCOMPARE(registry->job(again)->reprinted, QList<int>{4});
    QCOMPARE(registry->job(again)->job.sheet, reprint.job.sheet);
    QCOMPARE(registry->job(again)->job.startPosition, 200);
    QCOMPARE(registry->job(job)->job.labels, labelsJob(31, 10).job.labels);

    // Labels 36..45 asked: 36..40 were issued by the job (the reprint does
    // not count twice), in one run.
    const QList<IssuedLabel> issued = *registry->issued(labelsJob(36, 10).job.labels);
    QCOMPARE(issued.size(), 5);
    const QStringList lines = describeIssued(issued);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().startsWith(QStringLiteral("LAB 0036–LAB 0040")), qPrintable(lines[0]));
    QVERIFY(lines.first().contains(QStringLiteral("%1").arg(job)));
    // Its job was never confirmed: it is in question, not known to have printed.
    QVERIFY2(lines.first().contains(QStringLiteral("確かめられていない")), qPrintable(lines[0]));
    QVERIFY(registry->confirm(job));
    QVERIFY(describeIssued(*registry->issued(labelsJob(36, 1).job.labels))
                .first()
                .contains(QStringLiteral("印刷済み")));
    QVERIFY(registry->issued({{QStringLiteral("XYZ"), QStringLiteral("0036")}})->isEmpty());

    for (const QString text : {"0035", "LAB 0035", "LAB0035", " LAB 0035 "}) {
        const QList<JobSummary> found = *registry->find(text);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0].id, again); // newest first
        QCOMPARE(found[1].firstLabel, QStringLiteral("LAB 0031"));
    }
    QVERIFY(registry->find(QStringLiteral("LAB0099"))->isEmpty());
    // No label is that long: nothing found, and no statement that grows with it.
    const auto tooLong = registry->find(QString(600, u'x') + QStringLiteral("LAB 0035"));
    QVERIFY2(tooLong && tooLong->isEmpty(), qPrintable(registry->errorString()));
    HistoryFilter later;
    later.since = QDateTime::currentDateTimeUtc().addDays(1);
    QVERIFY(registry->history(later)->isEmpty());
    QCOMPARE(registry->history({})->size(), 2);

    // Texts that need escaping on their way into the registry come back whole.
    RegistryJob odd = labelsJob(1, 2, JobKind::Reprint);
    odd.job.labels = {{"A\"B", "1\\2"}, {QStringLiteral("血液"), "x\ty"}};
    const qint64 oddId = *registry->reserve(odd, 0);
    QCOMPARE(registry->job(oddId)->job.labels, odd.job.labels);
}

void TestRegistry::foreignFilesAreNeverWritten_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("not a database") << QByteArray("garbage") << false;
    QTest::newRow("another program's database") << QByteArray("foreign") << false;
    QTest::newRow("another program's database, to read") << QByteArray("foreign") << true;
    QTest::newRow("another program's database in WAL mode") << QByteArray("foreign wal") << false;
    QTest::newRow("a newer registry") << QByteArray("newer") << false;
}

void TestRegistry::foreignFilesAreNeverWritten()
{
    // Not a byte of the file changes, and nothing is made beside it.
    QFETCH(QByteArray, kind);
    QFETCH(bool, readOnly);
    QTemporaryDir dir;
    RegistryTarget target = fileIn(dir);
    if (kind == "garbage") {
        QFile file(target.file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    } else if (kind == "newer") {
        const auto made = SqlRegistry::open(target);
        QVERIFY(QSqlQuery(made->database())
                    .exec("UPDATE registry_meta SET value = '99' WHERE name = 'schema'"));
    } else {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(target.file);
            QVERIFY(db.open());
            if (kind == "foreign wal")
                QVERIFY(QSqlQuery(db).exec("PRAGMA journal_mode=WAL"));
            QVERIFY(QSqlQuery(db).exec("CREATE TABLE foo (a)"));
        }
        QSqlDatabase::removeDatabase("foreign");
    }
    const QByteArray before = contents(target.file);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    target.readOnly = readOnly;
    const auto registry = SqlRegistry::open(target);
    QVERIFY(!registry->isOpen());
    QCOMPARE(registry->failure(),
             kind == "newer" ? LabelRegistry::Failure::Newer : LabelRegistry::Failure::Damaged);
    QVERIFY(!registry->errorString().isEmpty());
    QCOMPARE(contents(target.file), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
}

void TestRegistry::firstUseTakesTheSavedJob()
{
    // A folder from before the registry: its last job becomes the first of
    // the history, and the numbering goes on after it.
    QTemporaryDir dir;
    SavedState saved;
    saved.design.firstNumber = 41;
    PrintedJob last;
    last.run = freeze(labelsJob(31, 10).design, QDate(2026, 12, 1));
    last.startPosition = 7;
    last.labels = labelsJob(31, 10).job.labels;
    last.printedAt = QDateTime(QDate(2026, 12, 1), QTime(14, 2), Qt::UTC);
    saved.lastJob = last;
    QVERIFY(StateFile::write(StateFile::pathIn(dir.path()), saved, nullptr));

    const auto registry = RegistrySetup::open(fileIn(dir), dir.path());
    const QList<JobSummary> history = *registry->history({});
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].state, JobState::Printed);
    QCOMPARE(history[0].reservedAt, last.printedAt);
    QCOMPARE(registry->numbering(1)->firstNumber, 41);
    QCOMPARE(registry->job(history[0].id)->job.labels, last.labels);
    QCOMPARE(registry->job(history[0].id)->nextPosition, 17);
    // Opened again, nothing is imported twice.
    QCOMPARE(RegistrySetup::open(fileIn(dir), dir.path())->history({})->size(), 1);
}

void TestRegistry::serverAwayAndBack()
{
    // A server that goes away fails each question with a reason and no
    // answer; back, the same registry answers again without being reopened.
    if (!m_server->isReady())
        QSKIP(qPrintable(m_server->skipReason()));
    QString error;
    const auto registry = SqlRegistry::open(*RegistryTarget::parse(m_server->url(), &error));
    QVERIFY2(registry->isOpen(), qPrintable(registry->errorString()));
    const qint64 id = *registry->reserve(labelsJob(1, 3), 0);
    QVERIFY(m_server->stop());
    QVERIFY(!registry->confirm(id));
    QCOMPARE(registry->failure(), LabelRegistry::Failure::Unavailable);
    QVERIFY(!registry->errorString().isEmpty());
    QVERIFY(!registry->numbering(1));
    QVERIFY(m_server->start());
    QVERIFY2(registry->confirm(id), qPrintable(registry->errorString()));
    QCOMPARE(registry->history({})->first().state, JobState::Printed);
    // Another program's registry on the server is not ours to write.
    const auto refused = SqlRegistry::open(
        *RegistryTarget::parse(m_server->url().replace("/labels?", "/nonesuch?"), &error));
    QCOMPARE(refused->failure(), LabelRegistry::Failure::Unavailable);
}

void TestRegistry::aFrozenServerIsGivenUpAtTheDeadline()
{
    // Stopped where it stands, the server keeps the connection open and
    // answers nothing: the call fails at its deadline, and the registry
    // answers again once the server does.
    if (!m_server->isReady())
        QSKIP(qPrintable(m_server->skipReason()));
    RegistryTarget target = *RegistryTarget::parse(m_server->url(), nullptr);
    target.deadlineMs = 1000;
    const auto registry = SqlRegistry::open(target);
    QVERIFY2(registry->isOpen(), qPrintable(registry->errorString()));
    const qint64 id = *registry->reserve(labelsJob(1, 3), registry->numbering(1)->jobId);
    QElapsedTimer waited;
    {
        const ServerFreeze frozen(*m_server, 30000);
        waited.start();
        QVERIFY(!registry->confirm(id));
    }
    QVERIFY2(waited.elapsed() < 8000, qPrintable(QString::number(waited.elapsed())));
    QCOMPARE(registry->failure(), LabelRegistry::Failure::Unavailable);
    QVERIFY2(registry->errorString().contains(QStringLiteral("1 秒")),
             qPrintable(registry->errorString()));
    QVERIFY2(registry->confirm(id), qPrintable(registry->errorString()));
}

void TestRegistry::settingOptionsReachTheServer()
{
    // The server speaks no SSL: a setting that asks for it never connects
    // without it. The options it may pass reach the server; others, and a
    // password anywhere, are refused by name.
    if (!m_server->isReady())
        QSKIP(qPrintable(m_server->skipReason()));
    const QString tcp =
        QStringLiteral("postgresql://labels@127.0.0.1:%1/labels?").arg(m_server->port());
    QString error;
    const auto encrypted =
        SqlRegistry::open(*RegistryTarget::parse(tcp + "sslmode=require", &error));
    QCOMPARE(encrypted->failure(), LabelRegistry::Failure::Unavailable);
    QVERIFY2(encrypted->errorString().contains("SSL"), qPrintable(encrypted->errorString()));
    const auto plain = SqlRegistry::open(
        *RegistryTarget::parse(tcp + "sslmode=disable&application_name=lab%20one", &error));
    QVERIFY2(plain->isOpen(), qPrintable(plain->errorString()));
    QSqlQuery q(plain->database());
    QVERIFY(q.exec("SELECT current_setting('application_name')") && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("lab one"));
    for (const char* refused :
         {"password=secret", "sslmode=require&passfile=/p", "sslmode=maybe"}) {
        QVERIFY(!RegistryTarget::parse(tcp + refused, &error));
        const QString name = QString::fromLatin1(refused).section('=', -2, -2).section('&', -1);
        QVERIFY2(error.contains(name), qPrintable(error));
    }
}

void TestRegistry::aLostNumberingIsMadeAgainFromTheJobs()
{
    // The numbering rows gone (deleted, truncated): the newest job of each
    // type says where its numbering goes on, and the user is told.
    QTemporaryDir dir;
    FRESH_REGISTRY(registry, dir)
    const qint64 first = *registry->reserve(labelsJob(1, 10), 0);
    QFETCH(bool, server);
    QVERIFY(QSqlQuery(registry->database())
                .exec(server ? "TRUNCATE numbering" : "DELETE FROM numbering"));
    QCOMPARE(*registry->numbering(1), (NumberingPosition{11, 0, 0, first}));
    QCOMPARE(*registry->numbering(2), NumberingPosition{});
    const QStringList notes = registry->takeNotes();
    QCOMPARE(notes.size(), 2);
    QVERIFY2(notes.first().contains(QStringLiteral("タイプ 1")), qPrintable(notes.first()));
    const qint64 second = registry->reserve(labelsJob(11, 5), first).value_or(0);
    QVERIFY2(second > first, qPrintable(registry->errorString()));
    QCOMPARE(*registry->numbering(1), (NumberingPosition{16, 0, 0, second}));
    QVERIFY(registry->takeNotes().isEmpty());
}

void TestRegistry::aJobPlannedAgainTellsOnlyItsOutcome()
{
    // Another station takes the numbers between the plan and the
    // reservation: the job is planned again and prints, and what stopped
    // the first round is no part of what it says.
    QTemporaryDir dir;
    const auto registry = RegistrySetup::open(fileIn(dir), dir.path());
    const auto other = SqlRegistry::open(fileIn(dir));
    StartSettings start;
    start.startPosition = 1;
    QVERIFY(StartFile::write(StartFile::pathIn(dir.path()), start, nullptr));
    RunFiles files(dir.path());
    JobTransaction transaction(files, *registry, Station::ofThisProcess(dir.path()),
                               [] { return QDateTime::currentDateTime(); });
    int rounds = 0;
    RecordingCanvas canvas;
    const JobOutcome outcome =
        transaction.run(canvas,
                        [&](const FolderSnapshot&) {
                            const RegistryJob planned =
                                labelsJob(registry->numbering(1)->firstNumber, 10);
                            JobPlan plan;
                            plan.design = planned.design;
                            plan.run = planned.job.run;
                            plan.numberingJobId = registry->numbering(1)->jobId;
                            if (++rounds == 1) {
                                RegistryJob others = labelsJob(0, 5);
                                for (PrintLogEntry& label : others.job.labels)
                                    label.upper = QStringLiteral("OTH");
                                other->reserve(others, plan.numberingJobId);
                            }
                            return PlanDecision{plan, {}};
                        },
                        {});
    QCOMPARE(rounds, 2);
    QVERIFY(outcome.printed());
    QCOMPARE(outcome.message, QString());
    QCOMPARE(outcome.job.labels.first().lower, QStringLiteral("0005"));
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
