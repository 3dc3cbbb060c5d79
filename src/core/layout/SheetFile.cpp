#include "core/layout/SheetFile.h"

#include "core/io/AtomicFile.h"
#include "core/io/JsonFields.h"

#include <QCoreApplication>

namespace {

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

QJsonObject pair(const char* a, double x, const char* b, double y)
{
    return {{key(a), x}, {key(b), y}};
}

QJsonObject gridToJson(const SheetGrid& grid)
{
    return {
        {"columns", grid.columns},
        {"rows", grid.rows},
        {"first", pair("x", grid.first.x(), "y", grid.first.y())},
        {"pitch", pair("x", grid.pitch.x(), "y", grid.pitch.y())},
    };
}

QPointF readPoint(JsonReader& in, const JsonField& field)
{
    const QJsonObject object = in.object(field);
    const double x = in.number(in.field(object, field.path, key("x")));
    const double y = in.number(in.field(object, field.path, key("y")));
    return {x, y};
}

// A grid's fields in `object`, which `path` names (empty at the top).
SheetGrid readGrid(JsonReader& in, const QJsonObject& object, const QString& path)
{
    const auto f = [&](const char* name) { return in.field(object, path, key(name)); };
    SheetGrid grid;
    grid.columns = in.integer(f("columns"), 1, Sheet::MaxPositions);
    grid.rows = in.integer(f("rows"), 1, Sheet::MaxPositions);
    grid.first = readPoint(in, f("first"));
    grid.pitch = readPoint(in, f("pitch"));
    return grid;
}

} // namespace

namespace SheetFile {

QJsonObject toJson(const Sheet& sheet)
{
    QJsonObject object{
        {"name", sheet.name},
        {"paper", pair("width", sheet.paper.width(), "height", sheet.paper.height())},
        {"diameter", sheet.diameter},
    };
    if (sheet.grids.isEmpty())
        return object;
    const QJsonObject first = gridToJson(sheet.grids.first());
    for (auto it = first.begin(); it != first.end(); ++it)
        object.insert(it.key(), it.value());
    if (sheet.grids.size() > 1) {
        QJsonArray more;
        for (qsizetype g = 1; g < sheet.grids.size(); ++g)
            more.append(gridToJson(sheet.grids[g]));
        object.insert(QStringLiteral("layouts"), more);
    }
    return object;
}

std::optional<Sheet> fromJson(const QJsonObject& object, QString* error)
{
    JsonReader in;
    const auto f = [&](const char* name) { return in.field(object, {}, key(name)); };
    Sheet sheet;
    sheet.origin = SheetOrigin::PaperCorner;
    sheet.name = in.string(f("name"));
    const JsonField paperField = f("paper");
    const QJsonObject paper = in.object(paperField);
    const double width = in.number(in.field(paper, paperField.path, key("width")));
    const double height = in.number(in.field(paper, paperField.path, key("height")));
    sheet.paper = {width, height};
    sheet.diameter = in.number(f("diameter"));
    sheet.grids = {readGrid(in, object, {})};
    if (object.contains(QStringLiteral("layouts"))) {
        const JsonField layoutsField = f("layouts");
        const QJsonArray layouts = in.array(layoutsField);
        for (qsizetype i = 0; i < layouts.size() && in.ok(); ++i) {
            const JsonField item = JsonReader::element(layouts, layoutsField, i);
            sheet.grids << readGrid(in, in.object(item), item.path);
        }
    }
    if (in.ok())
        in.fail(sheet.problem());
    if (!in.ok()) {
        if (error)
            *error = in.problem();
        return std::nullopt;
    }
    return sheet;
}

QByteArray toBytes(const Sheet& sheet)
{
    return documentBytes(toJson(sheet), Format, Version);
}

std::optional<Sheet> fromBytes(const QByteArray& bytes, QString* error)
{
    const std::optional<QJsonObject> object = documentObject(bytes, Format, Version, error);
    if (!object)
        return std::nullopt;
    return fromJson(*object, error);
}

std::optional<Sheet> load(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = readSmallRegularFile(path, MaxFileSize, error);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes, error);
}

bool save(const QString& path, const Sheet& sheet, QString* error)
{
    if (sheet.isBuiltIn()) {
        if (error)
            *error = QCoreApplication::translate(
                "SheetFile", "内蔵シートは印刷可能範囲から測るため、ファイルにできません。");
        return false;
    }
    // A file that could not be read back would lose the sheet.
    if (const QString problem = sheet.problem(); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    return writeFileAtomically(path, toBytes(sheet), error);
}

} // namespace SheetFile
