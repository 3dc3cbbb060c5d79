#include "core/io/StateFile.h"

#include "core/io/AtomicFile.h"
#include "core/io/DesignFile.h"
#include "core/io/JsonFields.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>

namespace {

// A state with a job of 1200 labels takes well under a megabyte.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
constexpr int MaxRecentDesigns = 5;
constexpr int MinScale = 980;
constexpr int MaxScale = 1020;
// The sheet positions, and the most labels per sample of any run.
constexpr int SheetPositions = 150;
constexpr int MaxRunRepeat = 7;
constexpr int MaxCopies = 9999;
constexpr int MaxKeptDamaged = 1000;

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

QStringList names(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* name : list)
        out << key(name);
    return out;
}

const QStringList& duplexNames()
{
    static const QStringList list = names({"none", "auto", "long", "short"});
    return list;
}
const QStringList& colorModeNames()
{
    static const QStringList list = names({"color", "grayscale"});
    return list;
}
const QStringList& orientationNames()
{
    static const QStringList list = names({"portrait", "landscape"});
    return list;
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

QJsonObject jobToJson(const PrintedJob& job)
{
    QJsonArray labels;
    for (const PrintLogEntry& label : job.labels)
        labels.append(QJsonArray{label.upper, label.lower});
    return {
        {"run", runToJson(job.run)},
        {"appearance", appearanceToJson(job.look)},
        {"startPosition", job.startPosition},
        {"labels", labels},
    };
}

std::optional<PrintedJob> readJob(JsonReader& in, const JsonField& field)
{
    if (field.value.isNull())
        return std::nullopt;
    const QJsonObject object = in.object(field);
    const auto f = [&](const char* name) { return in.field(object, field.path, key(name)); };
    PrintedJob job;
    job.run = readRun(in, f("run"));
    job.look = readAppearance(in, f("appearance"));
    job.startPosition = in.integer(f("startPosition"), 1, SheetPositions);

    const JsonField labelsField = f("labels");
    const QJsonArray labels = in.array(labelsField);
    if (in.ok() && labels.size() != job.run.labelTotal()) {
        in.fail(QStringLiteral("「%1」の数 %2 が sampleCount × repeatCount の %3 と合いません。")
                    .arg(labelsField.path)
                    .arg(labels.size())
                    .arg(job.run.labelTotal()));
    }
    for (qsizetype i = 0; i < labels.size() && in.ok(); ++i) {
        const JsonField entry = JsonReader::element(labels, labelsField, i);
        const QStringList pair = in.strings(entry);
        if (in.ok() && pair.size() != 2)
            in.fail(QStringLiteral("「%1」が上と下の2つの文字列ではありません。").arg(entry.path));
        if (in.ok())
            job.labels.append({pair[0], pair[1]});
    }
    return job;
}

QJsonObject printerToJson(const PrinterChoice& choice)
{
    QJsonArray options;
    for (const auto& [name, value] : choice.options)
        options.append(QJsonArray{name, value});
    return {
        {"printerName", choice.printerName},
        {"pdfFile", choice.pdfFile},
        {"copies", choice.copies},
        {"collate", choice.collate},
        {"duplex", choice.duplex},
        {"colorMode", choice.colorMode},
        {"pageSize", choice.pageSize},
        {"orientation", choice.orientation},
        {"options", options},
    };
}

PrinterChoice readPrinter(JsonReader& in, const JsonField& field)
{
    const QJsonObject object = in.object(field);
    const auto f = [&](const char* name) { return in.field(object, field.path, key(name)); };
    PrinterChoice choice;
    choice.printerName = in.string(f("printerName"));
    choice.pdfFile = in.string(f("pdfFile"));
    choice.copies = in.integer(f("copies"), 1, MaxCopies);
    choice.collate = in.boolean(f("collate"));
    choice.duplex = duplexNames().value(in.indexIn(f("duplex"), duplexNames()));
    choice.colorMode = colorModeNames().value(in.indexIn(f("colorMode"), colorModeNames()));
    choice.pageSize = in.string(f("pageSize"));
    choice.orientation = orientationNames().value(in.indexIn(f("orientation"), orientationNames()));

    const JsonField optionsField = f("options");
    const QJsonArray options = in.array(optionsField);
    for (qsizetype i = 0; i < options.size() && in.ok(); ++i) {
        const JsonField entry = JsonReader::element(options, optionsField, i);
        const QStringList pair = in.strings(entry);
        if (in.ok() && pair.size() != 2)
            in.fail(
                QStringLiteral("「%1」が名前と値の2つの文字列ではありません。").arg(entry.path));
        if (in.ok())
            choice.options.append({pair[0], pair[1]});
    }
    return choice;
}

SavedState readState(JsonReader& in, const QJsonObject& object)
{
    const auto f = [&](const char* name) { return in.field(object, {}, key(name)); };
    SavedState state;
    const JsonField design = f("design");
    state.design = readDesign(in, in.object(design), design.path);
    state.lastJob = readJob(in, f("lastJob"));
    state.labelPrinter = readPrinter(in, f("labelPrinter"));
    state.recordPrinter = readPrinter(in, f("recordPrinter"));
    state.exportFolder = in.string(f("exportFolder"));
    // Only the list's head is ever shown.
    state.recentDesigns = in.strings(f("recentDesigns")).mid(0, MaxRecentDesigns);
    const JsonField scaleField = f("scale");
    const QJsonObject scale = in.object(scaleField);
    state.scale.x = in.integer(in.field(scale, scaleField.path, key("x")), MinScale, MaxScale);
    state.scale.y = in.integer(in.field(scale, scaleField.path, key("y")), MinScale, MaxScale);
    return state;
}

// Renames without ever replacing `to`: false with errno EEXIST when it exists.
bool renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system that cannot refuse to replace: look first.
    const QFileInfo existing(to);
    if (existing.exists() || existing.isSymLink()) {
        errno = EEXIST;
        return false;
    }
    return ::rename(source.constData(), target.constData()) == 0;
}

} // namespace

namespace StateFile {

QString pathIn(const QString& dir)
{
    return QDir(dir).filePath(QString::fromLatin1(FileName));
}

ReadResult read(const QString& path)
{
    ReadResult result;
    const QFileInfo info(path);
    // A link to nothing is not missing: it would be written through.
    if (!info.exists() && !info.isSymLink())
        return result;
    result.status = ReadResult::Damaged;
    const std::optional<QByteArray> bytes = readSmallRegularFile(path, MaxFileSize, &result.error);
    if (!bytes)
        return result;

    JsonReader in;
    const QJsonObject object = in.document(*bytes);
    in.header(object, Format, Version);
    SavedState state = readState(in, object);
    if (!in.ok()) {
        result.error = in.problem();
        return result;
    }
    result.status = ReadResult::Ok;
    result.state = state;
    return result;
}

bool write(const QString& path, const SavedState& state, QString* error)
{
    const QJsonObject object = {
        {"format", QLatin1String(Format)},
        {"version", Version},
        {"design", DesignFile::toJson(state.design)},
        {"lastJob", state.lastJob ? QJsonValue(jobToJson(*state.lastJob)) : QJsonValue()},
        {"labelPrinter", printerToJson(state.labelPrinter)},
        {"recordPrinter", printerToJson(state.recordPrinter)},
        {"exportFolder", state.exportFolder},
        {"recentDesigns", QJsonArray::fromStringList(state.recentDesigns)},
        {"scale", QJsonObject{{"x", state.scale.x}, {"y", state.scale.y}}},
    };
    return writeFileAtomically(path, jsonBytes(object), error);
}

QString keepDamaged(const QString& path, QString* error)
{
    for (int n = 1; n <= MaxKeptDamaged; ++n) {
        const QString target =
            path + QStringLiteral(".bad") + (n > 1 ? QStringLiteral(".%1").arg(n) : QString());
        if (renameNoReplace(path, target))
            return target;
        if (errno != EEXIST) {
            if (error)
                *error = QString::fromLocal8Bit(std::strerror(errno));
            return {};
        }
    }
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(EEXIST));
    return {};
}

} // namespace StateFile
