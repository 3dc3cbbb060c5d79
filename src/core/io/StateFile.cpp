#include "core/io/StateFile.h"

#include "core/io/AtomicFile.h"
#include "core/io/DesignFile.h"
#include "core/io/JobJson.h"
#include "core/io/JsonFields.h"

#include <QDateTime>
#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QCoreApplication>
#include <unistd.h>

namespace {

// A state with a job of 1200 labels takes well under a megabyte.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
constexpr int MaxRecentDesigns = 5;
constexpr int MinScale = 980;
constexpr int MaxScale = 1020;
constexpr int MaxCopies = 9999;
constexpr int MaxNumberedDamaged = 1000;

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

    choice.options = in.stringPairs(
        f("options"),
        QCoreApplication::translate("StateFile", "「%1」が名前と値の2つの文字列ではありません。"));
    return choice;
}

RegistryMark readRegistryMark(JsonReader& in, const JsonField& field)
{
    const QJsonObject object = in.object(field);
    const auto f = [&](const char* name) { return in.field(object, field.path, key(name)); };
    RegistryMark mark;
    mark.identity = in.string(f("identity"));
    mark.seenJob = in.wholeNumber(f("seenJob"));
    const JsonField list = f("unconfirmed");
    const QJsonArray ids = in.array(list);
    for (qsizetype i = 0; i < ids.size() && in.ok(); ++i)
        mark.unconfirmed << in.wholeNumber(JsonReader::element(ids, list, i));
    return mark;
}

QJsonObject registryMarkToJson(const RegistryMark& mark)
{
    QJsonArray ids;
    for (const qint64 id : mark.unconfirmed)
        ids.append(id);
    return {{"identity", mark.identity}, {"seenJob", mark.seenJob}, {"unconfirmed", ids}};
}

SavedState readState(JsonReader& in, const QJsonObject& object)
{
    const auto f = [&](const char* name) { return in.field(object, {}, key(name)); };
    SavedState state;
    const JsonField design = f("design");
    state.design = readDesign(in, in.object(design), design.path, CodeField::Optional);
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
    // Stations that never chose a sheet print on the built-in one.
    if (object.contains(key("sheet")))
        state.sheet = readSheetChoice(in, f("sheet"));
    // States written before the registry have no mark.
    if (object.contains(key("registry")))
        state.registry = readRegistryMark(in, f("registry"));
    // The language is a preference: a name this version does not know (of a
    // newer one) leaves the choice to the system rather than refusing the run.
    if (object.contains(key("uiLanguage")))
        state.uiLanguage =
            UiLanguages::fromKey(in.string(f("uiLanguage"))).value_or(UiLanguage::Automatic);
    return state;
}

// Gives `from` the second name `to`, never replacing `to`: false with errno
// EEXIST when it exists. The file keeps its own name, so that whatever
// happens next, the damaged state is never gone before a new one stands in
// its place.
bool linkNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::link(source.constData(), target.constData()) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    // A file system without hard links gets a copy, which QFile::copy never
    // lets replace an existing file.
    const QFileInfo existing(to);
    if (existing.exists() || existing.isSymLink()) {
        errno = EEXIST;
        return false;
    }
    if (QFile::copy(from, to))
        return true;
    errno = EIO;
    return false;
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
    QJsonObject object = {
        {"format", QLatin1String(Format)},
        {"version", Version},
        {"design", DesignFile::toJson(state.design)},
        {"lastJob", state.lastJob ? QJsonValue(jobToJson(*state.lastJob)) : QJsonValue()},
        {"labelPrinter", printerToJson(state.labelPrinter)},
        {"recordPrinter", printerToJson(state.recordPrinter)},
        {"exportFolder", state.exportFolder},
        {"recentDesigns", QJsonArray::fromStringList(state.recentDesigns)},
        {"scale", QJsonObject{{"x", state.scale.x}, {"y", state.scale.y}}},
        {"registry", registryMarkToJson(state.registry)},
    };
    if (!state.sheet.isBuiltIn())
        object.insert(QLatin1String("sheet"), sheetChoiceToJson(state.sheet));
    // Files of users who never chose a language stay as they were.
    if (state.uiLanguage != UiLanguage::Automatic)
        object.insert(QLatin1String("uiLanguage"), UiLanguages::key(state.uiLanguage));
    return writeFileAtomically(path, jsonBytes(object), error);
}

QString keepDamaged(const QString& path, QString* error)
{
    // Numbered names first; past those, the time makes a name of its own.
    QStringList names;
    for (int n = 1; n <= MaxNumberedDamaged; ++n)
        names << path + QStringLiteral(".bad") + (n > 1 ? QStringLiteral(".%1").arg(n) : QString());
    names << path + QStringLiteral(".bad.") +
                 QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    for (const QString& target : names) {
        if (linkNoReplace(path, target))
            return target;
        if (errno != EEXIST)
            break;
    }
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

} // namespace StateFile
