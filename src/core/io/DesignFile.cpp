#include "core/io/DesignFile.h"

#include "core/io/AtomicFile.h"
#include "core/io/JsonFields.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/numbering/Cp932.h"

#include <QCoreApplication>
#include <algorithm>
#include <functional>
#include <limits>

namespace {

// A design file is a few kilobytes; anything this large is something else.
constexpr qint64 MaxFileSize = 1024 * 1024;

// The types that own LabelDesign::upperTexts[0..4], which key them in the file.
constexpr std::array<int, 5> UpperTextTypes = {1, 2, 3, 9, 10};

// The letter lists as the file names them; type 3 has two, in one array.
struct LetterKey {
    const char* key;
    std::array<LetterList, 2> lists;
    int count;
};
constexpr std::array<LetterKey, 5> LetterKeys = {{
    {"type2", {LetterList::Type2, LetterList::Type2}, 1},
    {"type3", {LetterList::Type3First, LetterList::Type3Second}, 2},
    {"type6", {LetterList::Type6, LetterList::Type6}, 1},
    {"type7", {LetterList::Type7, LetterList::Type7}, 1},
    {"type10", {LetterList::Type10, LetterList::Type10}, 1},
}};

constexpr int MaxPointSize = 200;

// What typing keeps of the memos' lines: the lines the labels read are cut
// to their room; the lines after them, up to a point, are emptied; the rest
// is only cleaned.
constexpr int NoCut = std::numeric_limits<int>::max();
constexpr int Type8Lines = 2;
constexpr int Type8EmptiedLines = 6;
constexpr int FreeTextEmptiedLines = 101;

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

// A memo's lines as typing leaves them: a line break inside a line starts
// a new line, and line n is cleaned and cut to roomOf(n) bytes.
QStringList memoLines(const QStringList& stored, const std::function<int(int)>& roomOf)
{
    QStringList lines;
    for (const QString& text : stored)
        lines << Cp932::lines(text);
    for (qsizetype n = 0; n < lines.size(); ++n)
        lines[n] = Cp932::limit(lines[n], roomOf(int(n)));
    return lines;
}

} // namespace

QJsonObject appearanceToJson(const PrintAppearance& look)
{
    // An index past a list paints as the list's first colour, so it is
    // saved as that.
    const QStringList texts = Colours::textColorItems();
    const QStringList backgrounds = Colours::backgroundColorItems();
    // A font sized in pixels has no point size; it is saved at the label
    // font's.
    int pointSize = look.font.pointSize();
    if (pointSize < 1)
        pointSize = PrintAppearance::defaultLabelFont().pointSize();
    return {
        {"textColor", texts.value(look.textColorIndex, texts.first())},
        {"background", backgrounds.value(look.backgroundIndex, backgrounds.first())},
        {"customColor", look.customColor.name(QColor::HexRgb)},
        {"frame", look.frame},
        {"rainbow", look.rainbow},
        {"font", QJsonObject{{"family", look.font.family()},
                             {"pointSize", std::min(pointSize, MaxPointSize)},
                             {"bold", look.font.bold()},
                             {"italic", look.font.italic()}}},
    };
}

PrintAppearance readAppearance(JsonReader& in, const JsonField& field)
{
    const QJsonObject object = in.object(field);
    const auto f = [&](const char* name) { return in.field(object, field.path, key(name)); };
    PrintAppearance look;
    look.textColorIndex = in.indexIn(f("textColor"), Colours::textColorItems());
    look.backgroundIndex = in.indexIn(f("background"), Colours::backgroundColorItems());
    look.customColor = in.color(f("customColor"));
    look.frame = in.boolean(f("frame"));
    look.rainbow = in.boolean(f("rainbow"));

    const JsonField fontField = f("font");
    const QJsonObject font = in.object(fontField);
    const auto g = [&](const char* name) { return in.field(font, fontField.path, key(name)); };
    const QString family = in.string(g("family"));
    const int pointSize = in.integer(g("pointSize"), 1, MaxPointSize);
    const bool bold = in.boolean(g("bold"));
    const bool italic = in.boolean(g("italic"));
    // Only these four are kept; everything else stays as the label font has
    // it, so that a font read back equals the one saved.
    if (in.ok()) {
        look.font.setFamily(family);
        look.font.setPointSize(pointSize);
        look.font.setBold(bold);
        look.font.setItalic(italic);
    }
    return look;
}

QString codeName(LabelCode code)
{
    return code == LabelCode::DataMatrix ? QStringLiteral("datamatrix") : QStringLiteral("none");
}

LabelCode readCode(JsonReader& in, const JsonField& field)
{
    const QStringList names = {codeName(LabelCode::None), codeName(LabelCode::DataMatrix)};
    return in.indexIn(field, names) == 1 ? LabelCode::DataMatrix : LabelCode::None;
}

LabelDesign readDesign(JsonReader& in, const QJsonObject& object, const QString& path,
                       CodeField codeField)
{
    const auto f = [&](const char* name) { return in.field(object, path, key(name)); };
    LabelDesign design;
    design.type = in.integer(f("type"), FirstLabelType, LastLabelType);
    const LabelTypeTraits& traits = labelType(design.type);

    const JsonField upperField = f("upperTexts");
    const QJsonObject upper = in.object(upperField);
    for (size_t i = 0; i < UpperTextTypes.size(); ++i) {
        const QString text =
            in.string(in.field(upper, upperField.path, QString::number(UpperTextTypes[i])));
        design.upperTexts[i] = Cp932::limit(text, LabelBytes);
    }

    const int room = traits.hasFreeTexts() ? traits.freeTextBytes : NoCut;
    design.freeTexts = memoLines(in.strings(f("freeTexts")), [room](int line) {
        if (line >= MaxFreeTexts)
            return line < FreeTextEmptiedLines ? 0 : NoCut;
        return room;
    });
    design.type8Lines = memoLines(in.strings(f("type8Lines")), [](int line) {
        return line < Type8Lines ? LabelBytes : line < Type8EmptiedLines ? 0 : NoCut;
    });

    const JsonField lettersField = f("letters");
    const QJsonObject letters = in.object(lettersField);
    for (const LetterKey& list : LetterKeys) {
        const JsonField field = in.field(letters, lettersField.path, key(list.key));
        if (list.count == 1) {
            design.setLetter(list.lists[0], in.letter(field));
            continue;
        }
        const QJsonArray pair = in.array(field);
        if (in.ok() && pair.size() != list.count)
            in.fail(
                QCoreApplication::translate("DesignFile", "「%1」が %2 文字の配列ではありません。")
                    .arg(field.path)
                    .arg(list.count));
        for (int k = 0; k < list.count && in.ok(); ++k)
            design.setLetter(list.lists[size_t(k)], in.letter(JsonReader::element(pair, field, k)));
    }

    // The first-number list of a type without a number is never shown; the
    // number is kept within the largest range for the next numbered type.
    const int range = traits.hasNumber() ? traits.range : labelType(1).range;
    design.firstNumber = in.integer(f("firstNumber"), 0, range - 1);
    design.sampleCount = in.integer(f("sampleCount"), 1, MaxSampleCount);
    design.repeatCount = in.integer(f("repeatCount"), 1, repeatLimit(design.type));
    design.step = in.oneOf(f("step"), NumberSteps);
    design.plainNumbers = in.boolean(f("plainNumbers"));
    design.dateAdjust = in.integer(f("dateAdjust"), -MaxDateAdjust, MaxDateAdjust);
    design.look = readAppearance(in, f("appearance"));
    if (codeField == CodeField::Required || object.contains(QStringLiteral("code")))
        design.look.code = readCode(in, f("code"));
    return design;
}

namespace DesignFile {

QJsonObject toJson(const LabelDesign& design)
{
    QJsonObject upper;
    for (size_t i = 0; i < UpperTextTypes.size(); ++i)
        upper.insert(QString::number(UpperTextTypes[i]), design.upperTexts[i]);
    QJsonObject letters;
    for (const LetterKey& list : LetterKeys) {
        if (list.count == 1) {
            letters.insert(key(list.key), letterOf(design.letter(list.lists[0])));
            continue;
        }
        QJsonArray pair;
        for (int k = 0; k < list.count; ++k)
            pair.append(letterOf(design.letter(list.lists[size_t(k)])));
        letters.insert(key(list.key), pair);
    }
    return {
        {"type", design.type},
        {"upperTexts", upper},
        {"freeTexts", QJsonArray::fromStringList(design.freeTexts)},
        {"type8Lines", QJsonArray::fromStringList(design.type8Lines)},
        {"letters", letters},
        {"firstNumber", design.firstNumber},
        {"sampleCount", design.sampleCount},
        {"repeatCount", design.repeatCount},
        {"step", design.step},
        {"plainNumbers", design.plainNumbers},
        {"dateAdjust", design.dateAdjust},
        {"appearance", appearanceToJson(design.look)},
        {"code", codeName(design.look.code)},
    };
}

std::optional<LabelDesign> fromJson(const QJsonObject& object, QString* error)
{
    JsonReader in;
    // Files of version 1 knew no codes.
    const CodeField code = object.value(QStringLiteral("version")).toInt() >= 2
                               ? CodeField::Required
                               : CodeField::Optional;
    LabelDesign design = readDesign(in, object, {}, code);
    if (!in.ok()) {
        if (error)
            *error = in.problem();
        return std::nullopt;
    }
    return design;
}

QByteArray toBytes(const LabelDesign& design)
{
    return documentBytes(toJson(design), Format, Version);
}

std::optional<LabelDesign> fromBytes(const QByteArray& bytes, QString* error)
{
    const std::optional<QJsonObject> object = documentObject(bytes, Format, Version, error);
    if (!object)
        return std::nullopt;
    return fromJson(*object, error);
}

std::optional<LabelDesign> load(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = readSmallRegularFile(path, MaxFileSize, error);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes, error);
}

bool save(const QString& path, const LabelDesign& design, QString* error)
{
    return writeFileAtomically(path, toBytes(design), error);
}

} // namespace DesignFile
