#include "core/io/StateFile.h"
#include "core/model/Freeze.h"
#include "core/registry/RegistrySetup.h"
#include "core/registry/SqlRegistry.h"

#include "PostgresServer.h"

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
    void foreignFilesAreNeverWritten_data();
    void foreignFilesAreNeverWritten();
    void firstUseTakesTheSavedJob();
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
    m_server = std::make_unique<PostgresServer>();
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
    const qint64 again = *registry->reserve(reprint, 0);
    QCOMPARE(registry->job(again)->reprinted, QList<int>{4});
    QCOMPARE(registry->job(job)->job.labels, labelsJob(31, 10).job.labels);

    // Labels 36..45 asked: 36..40 were issued by the job (the reprint does
    // not count twice), in one run.
    const QList<IssuedLabel> issued = *registry->issued(labelsJob(36, 10).job.labels);
    QCOMPARE(issued.size(), 5);
    const QStringList lines = describeIssued(issued);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().startsWith(QStringLiteral("LAB 0036–LAB 0040")), qPrintable(lines[0]));
    QVERIFY(lines.first().contains(QStringLiteral("%1").arg(job)));
    QVERIFY(registry->issued({{QStringLiteral("XYZ"), QStringLiteral("0036")}})->isEmpty());

    for (const QString text : {"0035", "LAB 0035", "LAB0035", " LAB 0035 "}) {
        const QList<JobSummary> found = *registry->find(text);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0].id, again); // newest first
        QCOMPARE(found[1].firstLabel, QStringLiteral("LAB 0031"));
    }
    QVERIFY(registry->find(QStringLiteral("LAB0099"))->isEmpty());
    HistoryFilter later;
    later.since = QDateTime::currentDateTimeUtc().addDays(1);
    QVERIFY(registry->history(later)->isEmpty());
    QCOMPARE(registry->history({})->size(), 2);
}

void TestRegistry::foreignFilesAreNeverWritten_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::newRow("not a database") << QByteArray("garbage");
    QTest::newRow("another program's database") << QByteArray("foreign");
    QTest::newRow("a newer registry") << QByteArray("newer");
}

void TestRegistry::foreignFilesAreNeverWritten()
{
    QFETCH(QByteArray, kind);
    QTemporaryDir dir;
    const RegistryTarget target = fileIn(dir);
    if (kind == "garbage") {
        QFile file(target.file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    } else {
        {
            const auto made = SqlRegistry::open(target);
            QSqlQuery q(made->database());
            QVERIFY(kind == "foreign" ? q.exec("DROP TABLE registry_meta")
                                      : q.exec("UPDATE registry_meta SET value = '99' "
                                               "WHERE name = 'schema'"));
        }
    }
    const QByteArray before = contents(target.file);
    const auto registry = SqlRegistry::open(target);
    QVERIFY(!registry->isOpen());
    QCOMPARE(registry->failure(), kind == "newer" ? LabelRegistry::Failure::Newer
                                                  : LabelRegistry::Failure::Damaged);
    QVERIFY(!registry->errorString().isEmpty());
    QCOMPARE(contents(target.file), before);
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
    const auto refused = SqlRegistry::open(*RegistryTarget::parse(
        m_server->url().replace("/labels?", "/nonesuch?"), &error));
    QCOMPARE(refused->failure(), LabelRegistry::Failure::Unavailable);
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
