#include "core/io/JobJson.h"

#include "core/layout/SheetFile.h"
#include "core/model/LabelType.h"

#include <QCoreApplication>

namespace {

// The most labels per sample of any run.
constexpr int MaxRunRepeat = 7;

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

} // namespace

QJsonObject sheetChoiceToJson(const SheetChoice& choice)
{
    QJsonObject object = SheetFile::toJson(choice.sheet);
    object.insert(QStringLiteral("id"), choice.id);
    return object;
}

SheetChoice readSheetChoice(JsonReader& in, const JsonField& field)
{
    const QJsonObject object = in.object(field);
    SheetChoice choice;
    choice.id = in.string(in.field(object, field.path, key("id")));
    if (!in.ok())
        return {};
    QString error;
    const std::optional<Sheet> sheet = SheetFile::fromJson(object, &error);
    if (!sheet) {
        in.fail(field.path + QLatin1String(": ") + error);
        return {};
    }
    choice.sheet = *sheet;
    return choice;
}

QJsonObject runToJson(const LabelRun& run)
{
    return {
        {"type", run.type},
        {"firstNumber", run.firstNumber},
        {"step", run.step},
        {"plainNumbers", run.plainNumbers},
        {"sampleCount", run.sampleCount},
        {"repeatCount", run.repeatCount},
        {"letter1", run.letter1},
        {"letter2", run.letter2},
        {"upper", run.upper},
        {"type8Lower", run.type8Lower},
        {"freeTexts", QJsonArray::fromStringList(run.freeTexts)},
        {"memo2Empty", run.type8Blank}, // the key saved states already hold
    };
}

// The printed texts are kept as printed; the numbers are checked, since
// composing labels and drawing the record count with them.
LabelRun readRun(JsonReader& in, const JsonField& field)
{
    const QJsonObject object = in.object(field);
    const auto f = [&](const char* name) { return in.field(object, field.path, key(name)); };
    LabelRun run;
    run.type = in.integer(f("type"), FirstLabelType, BlankType1);
    run.firstNumber = in.integer(f("firstNumber"), 0, labelType(1).range - 1);
    run.step = in.oneOf(f("step"), NumberSteps);
    run.plainNumbers = in.boolean(f("plainNumbers"));
    run.sampleCount = in.integer(f("sampleCount"), 0, MaxSampleCount);
    run.repeatCount = in.integer(f("repeatCount"), 1, MaxRunRepeat);
    run.letter1 = in.integer(f("letter1"), 0, 25);
    run.letter2 = in.integer(f("letter2"), 0, 25);
    run.upper = in.string(f("upper"));
    run.type8Lower = in.string(f("type8Lower"));
    run.freeTexts = in.strings(f("freeTexts"));
    run.type8Blank = in.boolean(f("memo2Empty"));
    return run;
}

QJsonObject jobToJson(const PrintedJob& job, JobLabels labels)
{
    QJsonObject object = {
        {"run", runToJson(job.run)},
        {"appearance", appearanceToJson(job.look)},
        {"startPosition", job.startPosition},
    };
    if (!job.sheet.isBuiltIn())
        object.insert(QStringLiteral("sheet"), sheetChoiceToJson(job.sheet));
    if (labels == JobLabels::Included) {
        QJsonArray texts;
        for (const PrintLogEntry& label : job.labels)
            texts.append(QJsonArray{label.upper, label.lower});
        object.insert(QStringLiteral("labels"), texts);
    }
    // Only a job with codes says so: the files of jobs without stay as
    // they were.
    if (job.look.code != LabelCode::None)
        object.insert(QStringLiteral("code"), codeName(job.look.code));
    if (job.registryId > 0)
        object.insert(QStringLiteral("registryId"), job.registryId);
    if (job.printedAt.isValid())
        object.insert(QStringLiteral("printedAt"),
                      job.printedAt.toUTC().toString(Qt::ISODateWithMs));
    return object;
}

std::optional<PrintedJob> readJob(JsonReader& in, const JsonField& field, JobLabels withLabels)
{
    if (field.value.isNull())
        return std::nullopt;
    const QJsonObject object = in.object(field);
    const auto f = [&](const char* name) { return in.field(object, field.path, key(name)); };
    PrintedJob job;
    job.run = readRun(in, f("run"));
    job.look = readAppearance(in, f("appearance"));
    if (object.contains(QStringLiteral("sheet")))
        job.sheet = readSheetChoice(in, f("sheet"));
    job.startPosition = in.integer(f("startPosition"), 1, job.sheet.sheet.positions());
    if (object.contains(QStringLiteral("code")))
        job.look.code = readCode(in, f("code"));
    // Jobs saved before their time was kept have none: the record then
    // shows when it is made.
    if (object.contains(QStringLiteral("printedAt"))) {
        const JsonField at = f("printedAt");
        job.printedAt = QDateTime::fromString(in.string(at), Qt::ISODateWithMs);
        if (in.ok() && !job.printedAt.isValid())
            in.fail(QCoreApplication::translate("JobJson", "「%1」が日時ではありません。")
                        .arg(at.path));
    }
    if (object.contains(QStringLiteral("registryId")))
        job.registryId = in.wholeNumber(f("registryId"));
    if (withLabels == JobLabels::Left)
        return job;

    const JsonField labelsField = f("labels");
    const QJsonArray labels = in.array(labelsField);
    if (in.ok() && labels.size() != job.run.labelTotal()) {
        in.fail(QCoreApplication::translate(
                    "JobJson", "「%1」の数 %2 が sampleCount × repeatCount の %3 と合いません。")
                    .arg(labelsField.path)
                    .arg(labels.size())
                    .arg(job.run.labelTotal()));
    }
    const QList<std::pair<QString, QString>> texts = in.stringPairs(
        labelsField,
        QCoreApplication::translate("JobJson", "「%1」が上と下の2つの文字列ではありません。"));
    job.labels.reserve(texts.size());
    for (const auto& [upper, lower] : texts)
        job.labels.append({upper, lower});
    return job;
}
