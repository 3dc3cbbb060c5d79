#include "core/job/JobPlanning.h"

#include "core/io/AtomicFile.h"
#include "core/io/RunFiles.h"
#include "core/job/Reprint.h"
#include "core/layout/SheetLayout.h"
#include "core/model/Freeze.h"
#include "core/model/LabelType.h"
#include "core/numbering/Cp932.h"
#include "core/render/PrintSheet.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

JobRefusal refusal(JobRefusal::Reason reason, QString text, QString input = {})
{
    JobRefusal refused;
    refused.reason = reason;
    refused.text = std::move(text);
    refused.input = std::move(input);
    return refused;
}

JobRefusal startFileRefusal(const FolderSnapshot& folder)
{
    if (folder.start.status == StartFileReadResult::Ok)
        return {};
    return refusal(
        JobRefusal::Reason::StartFile,
        folder.start.status == StartFileReadResult::Missing
            ? QCoreApplication::translate("JobPlanning", "スタートファイルがありません。\n%1")
                  .arg(shown(StartFile::pathIn(folder.dir)))
            : folder.start.error);
}

// `input`: what the caller could give instead ("first"), if anything.
JobRefusal numberingLost(const FolderSnapshot& folder, const QString& input)
{
    return refusal(
        JobRefusal::Reason::NumberingLost,
        QCoreApplication::translate(
            "JobPlanning", "前回の状態を読み込めませんでした。次の番号を復元できません。\n%1\n%2")
            .arg(shown(StateFile::pathIn(folder.dir)), folder.state.error),
        input);
}

JobRefusal freeTextsMissing(const LabelDesign& design, const QString& input)
{
    return refusal(
        JobRefusal::Reason::FreeTextsMissing,
        QCoreApplication::translate("JobPlanning", "タイプ %1 には自由テキストが要ります。")
            .arg(design.type),
        input);
}

// A free-text design's texts as a job takes them: empty texts at the end
// only end the list (a memo saved with a final line break, a text ending in
// CR from CR LF data); none, too many or a gap are refused, since freeze()
// takes the texts up to the first empty one and would silently drop the
// samples after it.
JobRefusal checkFreeTexts(LabelDesign& design, const QString& input)
{
    const int room = labelType(design.type).freeTextBytes;
    QStringList& texts = design.freeTexts;
    while (!texts.isEmpty() && Cp932::limit(texts.last(), room).isEmpty())
        texts.removeLast();
    if (texts.size() > MaxFreeTexts)
        return refusal(
            JobRefusal::Reason::TooManyFreeTexts,
            QCoreApplication::translate(
                "JobPlanning", "自由テキストが %1 個あります。ジョブに使えるのは %2 個までです。")
                .arg(texts.size())
                .arg(MaxFreeTexts),
            input);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (Cp932::limit(texts[i], room).isEmpty()) {
            JobRefusal empty =
                refusal(JobRefusal::Reason::EmptyFreeText,
                        QCoreApplication::translate(
                            "JobPlanning",
                            "%1 番目の自由テキストが空です（ラベルに印刷できる文字がありません）。")
                            .arg(i + 1),
                        input);
            empty.item = int(i);
            return empty;
        }
    }
    return texts.isEmpty() ? freeTextsMissing(design, input) : JobRefusal();
}

// The memo's texts end at its first empty line: a job needs one before it.
JobRefusal memoRefusal(const LabelDesign& design, const QDate& today, const QString& input)
{
    return freeze(design, today).sampleCount == 0 ? freeTextsMissing(design, input) : JobRefusal();
}

JobRefusal labelCountRefusal(const LabelRun& run)
{
    if (run.labelTotal() <= MaxLabelsPerJob)
        return {};
    JobRefusal refused = refusal(
        JobRefusal::Reason::TooManyLabels,
        QCoreApplication::translate("JobPlanning", "プリントラベル数は合計で１２００枚までです。"
                                                   "枚数をお下げ下さい。"),
        QStringLiteral("samples"));
    refused.detail = QCoreApplication::translate("JobPlanning", "（%1 × %2 = %3）")
                         .arg(run.sampleCount)
                         .arg(run.repeatCount)
                         .arg(run.labelTotal());
    return refused;
}

JobRefusal startRefusal(const std::optional<int>& start, int positions)
{
    if (!start || (*start >= 1 && *start <= positions))
        return {};
    return refusal(
        JobRefusal::Reason::StartOutOfRange,
        QCoreApplication::translate("JobPlanning", "開始位置は 1～%1 です（%2 ではありません）。")
            .arg(positions)
            .arg(*start),
        QStringLiteral("start"));
}

// The options that say how many labels and what is on them.
JobRefusal applyOptions(const LabelJobRequest& request, LabelDesign& design)
{
    const LabelTypeTraits& traits = labelType(design.type);
    if (request.code)
        design.look.code = *request.code;
    if (request.samples) {
        if (traits.hasFreeTexts())
            return refusal(JobRefusal::Reason::NoSamplesForType,
                           QCoreApplication::translate(
                               "JobPlanning", "タイプ %1 は自由テキスト１つに１枚を印刷します。")
                               .arg(design.type),
                           QStringLiteral("samples"));
        design.sampleCount = *request.samples;
    }
    if (request.first) {
        if (!traits.hasNumber())
            return refusal(
                JobRefusal::Reason::NoNumberForType,
                QCoreApplication::translate("JobPlanning", "タイプ %1 に番号はありません。")
                    .arg(design.type),
                QStringLiteral("first"));
        if (*request.first < 0 || *request.first >= traits.range)
            return refusal(
                JobRefusal::Reason::FirstOutOfRange,
                QCoreApplication::translate("JobPlanning",
                                            "タイプ %1 の番号は 0～%2 です（%3 ではありません）。")
                    .arg(design.type)
                    .arg(traits.range - 1)
                    .arg(*request.first),
                QStringLiteral("first"));
        design.firstNumber = *request.first;
    }
    if (request.freeTexts) {
        if (!traits.hasFreeTexts())
            return refusal(JobRefusal::Reason::NoFreeTextsForType,
                           QCoreApplication::translate(
                               "JobPlanning",
                               "自由テキストはタイプ 9～12 のものです。デザインはタイプ %1 です。")
                               .arg(design.type),
                           QStringLiteral("freeTexts"));
        design.freeTexts = *request.freeTexts;
    }
    if (traits.hasFreeTexts()) {
        const QString input =
            request.freeTexts ? QStringLiteral("freeTexts") : QStringLiteral("design.freeTexts");
        if (JobRefusal refused = request.memoFreeTexts ? memoRefusal(design, request.today, input)
                                                       : checkFreeTexts(design, input);
            refused.refused())
            return refused;
    }
    // The station's sheet is known only with the folder: planLabels checks
    // the start against it.
    return startRefusal(request.start,
                        request.sheet ? request.sheet->sheet.positions() : Sheet::MaxPositions);
}

// The registry's numbering of the type, or none without a registry.
std::variant<NumberingPosition, JobRefusal> numberingOf(const FolderSnapshot& folder, int type,
                                                        bool planningAJob)
{
    if (!folder.registry)
        return NumberingPosition{};
    if (const std::optional<NumberingPosition> at = folder.registry->numbering(type))
        return *at;
    return refusal(JobRefusal::Reason::Registry, planningAJob ? registryProblem(*folder.registry)
                                                              : folder.registry->errorString());
}

SheetGeometry::Offsets placementOf(const StartSettings& start, const SavedState& state)
{
    SheetGeometry::Offsets offsets = start.offsets();
    offsets.scaleX = state.scale.x;
    offsets.scaleY = state.scale.y;
    return offsets;
}

// Where a job starts: the position asked for (checked against the sheet),
// else the start file's. One that the sheet does not have (the station
// changed to a smaller sheet) starts the sheet afresh, with a note, never
// at some other position of it.
int startOf(const std::optional<int>& start, const FolderSnapshot& folder, const Sheet& sheet,
            QString* note)
{
    if (start)
        return *start;
    const int stored = std::max(1, folder.start.values.startPosition);
    if (stored <= sheet.positions())
        return stored;
    *note = QCoreApplication::translate("JobPlanning",
                                        "開始位置 %1 はシート「%2」にありません（1～%3）。"
                                        "1 から印刷します。")
                .arg(stored)
                .arg(sheet.name)
                .arg(sheet.positions());
    return 1;
}

// The sheet, the start and the placement of a plan whose state is set:
// the sheet asked for, else the station's.
JobRefusal place(JobPlan& plan, const std::optional<int>& start,
                 const std::optional<SheetChoice>& sheet, const FolderSnapshot& folder)
{
    plan.sheet = sheet ? *sheet : plan.state.sheet;
    if (!sheet && plan.keepDamagedState)
        plan.notes << QCoreApplication::translate(
            "JobPlanning", "前回の状態が壊れているため、ステーションのラベルシートが分かりません。"
                           "組み込みのシートに印刷します。");
    if (JobRefusal refused = startRefusal(start, plan.sheet.sheet.positions()); refused.refused())
        return refused;
    QString note;
    plan.startPosition = startOf(start, folder, plan.sheet.sheet, &note);
    if (!note.isEmpty())
        plan.notes << note;
    // The sheet printed on is the one in the station's printer.
    plan.state.sheet = plan.sheet;
    plan.offsets = placementOf(folder.start.values, plan.state);
    return {};
}

QList<PlacedLabel> placed(const PrintedJob& job, JobKind kind, const QList<int>& reprinted)
{
    QList<PlacedLabel> labels;
    labels.reserve(job.labels.size());
    const int positions = job.sheet.sheet.positions();
    for (int i = 0; i < int(job.labels.size()); ++i) {
        const int running = job.startPosition - 1 + i;
        const auto [sample, repeat] = Reprint::sampleOf(job.run, kind, reprinted, i);
        labels << PlacedLabel{running / positions + 1, running % positions + 1, sample, repeat,
                              job.labels[i].upper,     job.labels[i].lower};
    }
    return labels;
}

} // namespace

QString registryProblem(const LabelRegistry& registry)
{
    return QCoreApplication::translate("JobTransaction",
                                       "ラベル台帳に記録できないため、印刷しません。\n%1\n%2")
        .arg(registry.location(), registry.errorString());
}

FolderSnapshot FolderSnapshot::read(const RunFiles& files, LabelRegistry* registry)
{
    return {files.dir(),
            StartFile::read(files.startPath()),
            StateFile::read(files.statePath()),
            registry,
            {}};
}

std::optional<FolderSnapshot> FolderSnapshot::take(RunFiles& files, LabelRegistry* registry,
                                                   QString* error)
{
    if (!files.lock(error))
        return std::nullopt;
    removeStaleTemporaries(files.dir(),
                           {StartFile::FileName, QString::fromLatin1(StateFile::FileName)},
                           files.isLocked());
    FolderSnapshot snapshot = read(files, registry);
    files.unlock();
    return snapshot;
}

PrintedJob labelsOf(const JobPlan& plan, Continuation* next)
{
    PrintedJob job;
    job.run = plan.run;
    job.look = plan.design.look;
    job.sheet = plan.sheet;
    job.startPosition = plan.startPosition;
    if (plan.kind == JobKind::Reprint) {
        job.labels = plan.givenLabels;
        if (next) {
            *next = {SheetLayout::nextStartPosition(plan.sheet.sheet, plan.startPosition,
                                                    int(job.labels.size())),
                     plan.run.firstNumber, plan.run.letter1, plan.run.letter2};
        }
        return job;
    }
    const int total = plan.run.labelTotal();
    job.labels.reserve(total);
    for (int n = 0; n < total; ++n) {
        const LabelTexts texts = composeLabelTexts(plan.run, n);
        job.labels << PrintLogEntry{texts.upper, texts.lower};
    }
    if (next)
        *next = continueAfterJob(plan.run, plan.startPosition, plan.sheet.sheet);
    return job;
}

namespace JobPlanning {

std::variant<LabelDesign, JobRefusal> designOf(const LabelJobRequest& request)
{
    LabelDesign design = request.design;
    if (JobRefusal refused = applyOptions(request, design); refused.refused())
        return refused;
    if (JobRefusal refused = labelCountRefusal(freeze(design, request.today)); refused.refused())
        return refused;
    return design;
}

PlanDecision planLabels(const LabelJobRequest& request, const FolderSnapshot& folder)
{
    std::variant<LabelDesign, JobRefusal> designed = designOf(request);
    if (const JobRefusal* refused = std::get_if<JobRefusal>(&designed))
        return PlanDecision::refused(*refused);
    LabelDesign& design = std::get<LabelDesign>(designed);
    if (JobRefusal refused = startFileRefusal(folder); refused.refused())
        return PlanDecision::refused(refused);
    if (request.movedSinceShown)
        return PlanDecision::refused(moved());

    // The registry knows where the type's numbering goes on; one that has
    // no job of the type yet leaves it to the saved state's design.
    const std::variant<NumberingPosition, JobRefusal> numbering =
        numberingOf(folder, design.type, true);
    if (const JobRefusal* refused = std::get_if<JobRefusal>(&numbering))
        return PlanDecision::refused(*refused);
    const NumberingPosition at = std::get<NumberingPosition>(numbering);
    const StateFile::ReadResult& state = folder.state;
    // Without the numbering the job could repeat labels; a first number
    // given, or a type without numbers, needs none.
    if (state.status == StateFile::ReadResult::Damaged && labelType(design.type).hasNumber() &&
        !request.first && at.jobId == 0)
        return PlanDecision::refused(numberingLost(folder, QStringLiteral("first")));
    if (!request.first) {
        if (at.jobId != 0)
            applyContinuation(design, design.type, {0, at.firstNumber, at.letter1, at.letter2});
        else if (state.status == StateFile::ReadResult::Ok)
            continueNumbering(design, state.state.design);
    }

    JobPlan plan;
    plan.run = freeze(design, request.today);
    if (JobRefusal refused = checkRun(plan.run, design.look); refused.refused())
        return PlanDecision::refused(refused);
    plan.design = design;
    plan.state = request.ownState                            ? *request.ownState
                 : state.status == StateFile::ReadResult::Ok ? state.state
                                                             : SavedState();
    plan.keepDamagedState = !request.ownState && state.status == StateFile::ReadResult::Damaged;
    if (JobRefusal refused = place(plan, request.start, request.sheet, folder); refused.refused())
        return PlanDecision::refused(refused);
    plan.numberingJobId = at.jobId;
    plan.printer = request.printer;
    return {plan, {}};
}

PlanDecision planReprint(const ReprintRequest& request, const FolderSnapshot& folder)
{
    if (JobRefusal refused = startFileRefusal(folder); refused.refused())
        return PlanDecision::refused(refused);
    const StateFile::ReadResult& state = folder.state;
    // A damaged state is left for the window or the next label job to keep.
    if (!request.ownState && state.status == StateFile::ReadResult::Damaged)
        return PlanDecision::refused(refusal(
            JobRefusal::Reason::StateDamaged,
            QCoreApplication::translate("JobPlanning", "前回の状態を読み込めませんでした。\n%1\n%2")
                .arg(shown(StateFile::pathIn(folder.dir)), state.error)));
    JobPlan plan = Reprint::plan(request.job, request.labels, 1);
    plan.state = request.ownState                            ? *request.ownState
                 : state.status == StateFile::ReadResult::Ok ? state.state
                                                             : SavedState();
    if (JobRefusal refused = place(plan, request.start, request.sheet, folder); refused.refused())
        return PlanDecision::refused(refused);
    plan.printer = request.printer;
    return {plan, {}};
}

std::variant<NextJob, JobRefusal> nextJob(const FolderSnapshot& folder,
                                          const std::optional<SheetChoice>& sheet)
{
    if (JobRefusal refused = startFileRefusal(folder); refused.refused())
        return refused;
    if (folder.state.status == StateFile::ReadResult::Damaged)
        return numberingLost(folder, {});
    NextJob next;
    next.design = folder.state.state.design;
    // Where the registry says the type goes on, which other stations of a
    // shared registry move on too.
    const std::variant<NumberingPosition, JobRefusal> numbering =
        numberingOf(folder, next.design.type, false);
    if (const JobRefusal* refused = std::get_if<JobRefusal>(&numbering))
        return *refused;
    const NumberingPosition at = std::get<NumberingPosition>(numbering);
    if (at.jobId != 0)
        applyContinuation(next.design, next.design.type,
                          {0, at.firstNumber, at.letter1, at.letter2});
    next.sheet = sheet ? *sheet : folder.state.state.sheet;
    next.startPosition = startOf(std::nullopt, folder, next.sheet.sheet, &next.note);
    next.first = firstLabel(next.design, QDate::currentDate());
    return next;
}

JobRefusal checkRun(const LabelRun& run, const PrintAppearance& look)
{
    if (JobRefusal refused = labelCountRefusal(run); refused.refused())
        return refused;
    if (const QString problem = codeProblem(SheetLabels(run), look); !problem.isEmpty())
        return refusal(JobRefusal::Reason::CodeTooLarge, problem, QStringLiteral("code"));
    return {};
}

LabelTexts firstLabel(const LabelDesign& design, const QDate& today)
{
    const LabelRun run = freeze(design, today);
    return run.labelTotal() > 0 ? composeLabelTexts(run, 0) : LabelTexts();
}

JobRefusal moved()
{
    return refusal(JobRefusal::Reason::Moved,
                   QCoreApplication::translate("JobPlanning",
                                               "ほかの Rondelmaker が印刷したため、開始位置か番号が"
                                               "変わりました。見本を確かめて、もう一度 Print "
                                               "を押してください。"));
}

QList<PlacedLabel> placedLabels(const JobPlan& plan)
{
    return placed(labelsOf(plan, nullptr), plan.kind, plan.reprinted);
}

QList<PlacedLabel> placedLabels(const RegistryJob& job)
{
    return placed(job.job, job.kind, job.reprinted);
}

} // namespace JobPlanning
