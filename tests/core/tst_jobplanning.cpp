#include "core/job/JobPlanning.h"

#include <QTest>

Q_DECLARE_METATYPE(JobRefusal::Reason)

// The planning every front end calls. Each refusal names the input of the
// request it concerns (the service answers with that field), the folder's
// problems come before any plan, and the folder decides where the numbering
// goes on unless the caller says.
class TestJobPlanning : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void requestsAreRefusedByTheirInput_data();
    void requestsAreRefusedByTheirInput();
    void theMemoEndsWhereAFileIsRefused();
    void theFolderComesFirst();
};

namespace {

using Reason = JobRefusal::Reason;

// A folder with a start file at position 7 and a state whose type 1 run
// goes on at 31.
FolderSnapshot folder()
{
    FolderSnapshot folder;
    folder.dir = QStringLiteral("/lab/station");
    folder.start.status = StartFileReadResult::Ok;
    folder.start.values.startPosition = 7;
    folder.state.status = StateFile::ReadResult::Ok;
    folder.state.state.design.firstNumber = 31;
    return folder;
}

} // namespace

void TestJobPlanning::requestsAreRefusedByTheirInput_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("samples"); // 0: not given
    QTest::addColumn<int>("first");   // -1: not given
    QTest::addColumn<QStringList>("freeTexts");
    QTest::addColumn<int>("start"); // 0: not given
    QTest::addColumn<Reason>("reason");
    QTest::addColumn<QString>("input");
    const QStringList none = {"-"}; // the request gives none
    QTest::newRow("fine") << 1 << 600 << 5 << none << 150 << Reason::None << "";
    QTest::newRow("samples of free texts")
        << 9 << 3 << -1 << QStringList{"A"} << 0 << Reason::NoSamplesForType << "samples";
    QTest::newRow("a first number without numbers")
        << 9 << 0 << 5 << QStringList{"A"} << 0 << Reason::NoNumberForType << "first";
    QTest::newRow("past the type's range")
        << 3 << 0 << 100 << none << 0 << Reason::FirstOutOfRange << "first";
    QTest::newRow("free texts of type 1")
        << 1 << 0 << -1 << QStringList{"A"} << 0 << Reason::NoFreeTextsForType << "freeTexts";
    QTest::newRow("no free texts given")
        << 9 << 0 << -1 << QStringList{} << 0 << Reason::FreeTextsMissing << "freeTexts";
    QTest::newRow("none in the design")
        << 10 << 0 << -1 << none << 0 << Reason::FreeTextsMissing << "design.freeTexts";
    QTest::newRow("61 free texts")
        << 9 << 0 << -1 << QStringList(61, "A") << 0 << Reason::TooManyFreeTexts << "freeTexts";
    QTest::newRow("a gap") << 9 << 0 << -1 << QStringList{"A", "", "B", ""} << 0
                           << Reason::EmptyFreeText << "freeTexts";
    QTest::newRow("601 samples of two")
        << 1 << 601 << -1 << none << 0 << Reason::TooManyLabels << "samples";
    QTest::newRow("start 151") << 1 << 0 << -1 << none << 151 << Reason::StartOutOfRange << "start";
}

void TestJobPlanning::requestsAreRefusedByTheirInput()
{
    QFETCH(int, type);
    QFETCH(int, samples);
    QFETCH(int, first);
    QFETCH(QStringList, freeTexts);
    QFETCH(int, start);
    QFETCH(Reason, reason);
    LabelJobRequest request;
    request.design.type = type;
    request.design.repeatCount = 2;
    if (samples > 0)
        request.samples = samples;
    if (first >= 0)
        request.first = first;
    if (freeTexts != QStringList{"-"})
        request.freeTexts = freeTexts;
    if (start > 0)
        request.start = start;
    const PlanDecision decision = JobPlanning::planLabels(request, folder());
    QCOMPARE(decision.refusal.reason, reason);
    QTEST(decision.refusal.input, "input");
    QCOMPARE(decision.plan.has_value(), reason == Reason::None);
    QCOMPARE(decision.refusal.text.isEmpty(), reason == Reason::None);
    if (reason == Reason::EmptyFreeText)
        QCOMPARE(decision.refusal.item, 1);
    if (reason == Reason::TooManyLabels)
        QVERIFY(decision.refusal.fullText().contains(QStringLiteral("601 × 2 = 1202")));
}

void TestJobPlanning::theMemoEndsWhereAFileIsRefused()
{
    // The window's memo ends at its first empty line, as its print screen
    // shows the samples; a file's gap would drop samples unseen.
    LabelJobRequest request;
    request.design.type = 9;
    request.design.freeTexts = {"A", "", "B"};
    QCOMPARE(JobPlanning::planLabels(request, folder()).refusal.reason, Reason::EmptyFreeText);
    request.memoFreeTexts = true;
    const PlanDecision memo = JobPlanning::planLabels(request, folder());
    QVERIFY(memo.plan);
    QCOMPARE(memo.plan->run.freeTexts, QStringList{"A"});
    request.design.freeTexts = {"", "B"};
    QCOMPARE(JobPlanning::planLabels(request, folder()).refusal.reason, Reason::FreeTextsMissing);
}

void TestJobPlanning::theFolderComesFirst()
{
    LabelJobRequest request;
    FolderSnapshot snapshot = folder();
    PlanDecision decision = JobPlanning::planLabels(request, snapshot);
    QVERIFY(decision.plan);
    QCOMPARE(decision.plan->run.firstNumber, 31); // where the state's run goes on
    QCOMPARE(decision.plan->startPosition, 7);
    request.first = 5;
    QCOMPARE(JobPlanning::planLabels(request, snapshot).plan->run.firstNumber, 5);

    // A damaged state loses the numbering: only a first number given helps,
    // and the damaged file is kept aside before it is replaced.
    snapshot.state = {StateFile::ReadResult::Damaged, {}, QStringLiteral("not JSON")};
    QVERIFY(JobPlanning::planLabels(request, snapshot).plan->keepDamagedState);
    request.first.reset();
    decision = JobPlanning::planLabels(request, snapshot);
    QCOMPARE(decision.refusal.reason, Reason::NumberingLost);
    QCOMPARE(decision.refusal.input, QStringLiteral("first"));
    const std::variant<NextJob, JobRefusal> next = JobPlanning::nextJob(snapshot);
    QCOMPARE(std::get<JobRefusal>(next).reason, Reason::NumberingLost);
    QCOMPARE(std::get<JobRefusal>(next).input, QString()); // `next` takes no first number
    ReprintRequest reprint;
    reprint.labels = {0};
    QCOMPARE(JobPlanning::planReprint(reprint, snapshot).refusal.reason, Reason::StateDamaged);
    reprint.ownState = SavedState(); // the window keeps its own
    QVERIFY(JobPlanning::planReprint(reprint, snapshot).plan);

    // Without a start file nothing is planned, whatever else moved.
    snapshot.start.status = StartFileReadResult::Missing;
    request.movedSinceShown = true;
    decision = JobPlanning::planLabels(request, snapshot);
    QCOMPARE(decision.refusal.reason, Reason::StartFile);
    QVERIFY(decision.refusal.text.contains(QStringLiteral("start.txt")));
    QCOMPARE(JobPlanning::planReprint(reprint, snapshot).refusal.reason, Reason::StartFile);
    snapshot.start.status = StartFileReadResult::Ok;
    QCOMPARE(JobPlanning::planLabels(request, snapshot).refusal.reason, Reason::Moved);
}

QTEST_GUILESS_MAIN(TestJobPlanning)
#include "tst_jobplanning.moc"
