#include "server/JobRequest.h"

#include "core/io/DesignFile.h"
#include "core/layout/Sheet.h"
#include "core/model/Freeze.h"
#include "core/numbering/Cp932.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// Whether a label line prints `text` whole: within `room` bytes, with no
// character that code page 932 lacks (which a design file would drop).
bool fits(RequestBody& body, const QString& field, const QString& text, int room)
{
    const QString normalized = Cp932::normalize(text);
    if (normalized.size() != text.size()) {
        body.fail(field, QCoreApplication::translate("Server",
                                                     "「%1」にラベルに印刷できない文字があります。")
                             .arg(field));
        return false;
    }
    const int bytes = Cp932::byteLength(normalized);
    if (bytes > room) {
        body.fail(field, QCoreApplication::translate(
                             "Server", "「%1」は %2 バイトまでです（%3 バイトあります。全角文字は "
                                       "2 バイトです）。")
                             .arg(field)
                             .arg(room)
                             .arg(bytes));
        return false;
    }
    return true;
}

// A type's free texts: a text each, none empty, at most MaxFreeTexts.
void checkFreeTexts(RequestBody& body, const QString& field, const QStringList& texts, int room)
{
    if (texts.size() > MaxFreeTexts) {
        body.fail(field,
                  QCoreApplication::translate("Server", "「%1」は %2 個までです（%3 個あります）。")
                      .arg(field)
                      .arg(MaxFreeTexts)
                      .arg(texts.size()));
        return;
    }
    for (qsizetype i = 0; i < texts.size() && body.ok(); ++i) {
        const QString item = field + QStringLiteral("[%1]").arg(i);
        if (texts[i].trimmed().isEmpty())
            body.fail(item, QCoreApplication::translate("Server", "「%1」が空です。").arg(item));
        else
            fits(body, item, texts[i], room);
    }
}

// The design's own fields, before the design file's reader takes them:
// unknown fields and texts that would be cut are refused.
void checkDesign(RequestBody& design)
{
    design.onlyKnown({"format", "version", "type", "upperTexts", "freeTexts", "type8Lines",
                      "letters", "firstNumber", "sampleCount", "repeatCount", "step",
                      "plainNumbers", "dateAdjust", "appearance", "code"});
    if (const std::optional<QString> format = design.string("format", 64);
        format && *format != QLatin1String(DesignFile::Format))
        design.fail(design.fieldPath("format"),
                    QCoreApplication::translate("Server", "「%1」は \"%2\" です。")
                        .arg(design.fieldPath("format"), QLatin1String(DesignFile::Format)));
    design.integer("version", 1, DesignFile::Version);
    if (const std::optional<QJsonObject> upper = design.object("upperTexts")) {
        RequestBody texts(*upper, design.fieldPath("upperTexts"));
        texts.onlyKnown({"1", "2", "3", "9", "10"});
        for (const char* key : {"1", "2", "3", "9", "10"})
            if (const std::optional<QString> text = texts.string(key, 64))
                fits(texts, texts.fieldPath(key), *text, LabelBytes);
        if (!texts.ok())
            design.fail(texts.problem()->field, texts.problem()->message, texts.problem()->code);
    }
    if (const std::optional<QStringList> lines = design.strings("type8Lines", 100, 64)) {
        for (qsizetype i = 0; i < lines->size() && design.ok(); ++i) {
            const QString field = design.fieldPath("type8Lines") + QStringLiteral("[%1]").arg(i);
            if (i >= 2 && !lines->at(i).isEmpty())
                design.fail(field, QCoreApplication::translate("Server",
                                                               "タイプ８の行は２行です（「%1」）。")
                                       .arg(field));
            else
                fits(design, field, lines->at(i), LabelBytes);
        }
    }
    for (const char* key : {"letters", "appearance"})
        if (const std::optional<QJsonObject> part = design.object(key)) {
            RequestBody inner(*part, design.fieldPath(key));
            if (QLatin1String(key) == QLatin1String("letters"))
                inner.onlyKnown({"type2", "type3", "type6", "type7", "type10"});
            else
                inner.onlyKnown(
                    {"textColor", "background", "customColor", "frame", "rainbow", "font"});
            if (const std::optional<QJsonObject> font = inner.object("font")) {
                RequestBody fontFields(*font, inner.fieldPath("font"));
                fontFields.onlyKnown({"family", "pointSize", "bold", "italic"});
                if (!fontFields.ok())
                    inner.fail(fontFields.problem()->field, fontFields.problem()->message,
                               fontFields.problem()->code);
            }
            if (!inner.ok())
                design.fail(inner.problem()->field, inner.problem()->message,
                            inner.problem()->code);
        }
}

// The design, read as a design file is read. Its own free texts are checked
// when the job prints them (the request names none).
std::optional<LabelDesign> readDesign(RequestBody& body, QJsonObject object, bool ownFreeTexts)
{
    RequestBody design(object, QStringLiteral("design"));
    checkDesign(design);
    if (!design.ok()) {
        body.fail(design.problem()->field, design.problem()->message, design.problem()->code);
        return std::nullopt;
    }
    // A design without "version" is one of this version: "code" is required.
    if (!object.contains(QStringLiteral("version")))
        object.insert(QStringLiteral("version"), DesignFile::Version);
    QString problem;
    std::optional<LabelDesign> read = DesignFile::fromJson(object, &problem);
    if (!read) {
        // The reader names the field in its message, quoted.
        static const QRegularExpression quoted(
            QStringLiteral("[「\"]([A-Za-z0-9_.\\[\\]]+)[」\"]"));
        const QRegularExpressionMatch match = quoted.match(problem);
        body.fail(match.hasMatch() ? QStringLiteral("design.") + match.captured(1)
                                   : QStringLiteral("design"),
                  problem);
        return std::nullopt;
    }
    // Empty lines at the end of the memo only end it.
    const LabelTypeTraits& traits = labelType(read->type);
    QStringList texts = read->freeTexts;
    while (!texts.isEmpty() && texts.last().isEmpty())
        texts.removeLast();
    if (traits.hasFreeTexts() && ownFreeTexts)
        checkFreeTexts(body, QStringLiteral("design.freeTexts"),
                       object.value(QStringLiteral("freeTexts"))
                           .toVariant()
                           .toStringList()
                           .mid(0, texts.size()),
                       traits.freeTextBytes);
    read->freeTexts = texts;
    return read;
}

// Where a job goes: "sheet", "start", and "printer" or "output": "pdf".
// The start is checked against the sheet once the sheet is known.
void readDestination(RequestBody& body, QString& sheet, std::optional<int>& start, QString& printer,
                     bool& pdf)
{
    sheet = body.string("sheet", 200).value_or(QString());
    if (const std::optional<qint64> position = body.integer("start", 1, Sheet::MaxPositions))
        start = int(*position);
    printer = body.string("printer", 127).value_or(QString());
    if (const std::optional<QString> output = body.string("output", 16)) {
        if (*output != QLatin1String("pdf"))
            body.fail(QStringLiteral("output"),
                      QCoreApplication::translate("Server", "「output」は \"pdf\" だけです。"));
        else if (body.has("printer"))
            body.fail(QStringLiteral("output"),
                      QCoreApplication::translate("Server",
                                                  "「printer」と「output」はどちらか一方です。"));
        pdf = true;
    }
}

// A reprint's "samples": "A-B" or "A", samples counted from 1.
std::optional<std::pair<int, int>> sampleRange(RequestBody& body)
{
    const std::optional<QString> text = body.string("samples", 16);
    if (!text)
        return std::nullopt;
    static const QRegularExpression range(QStringLiteral("^(\\d{1,4})(?:-(\\d{1,4}))?$"));
    const QRegularExpressionMatch match = range.match(*text);
    const int first = match.captured(1).toInt();
    const int last = match.captured(2).isEmpty() ? first : match.captured(2).toInt();
    if (!match.hasMatch() || first < 1 || last < first) {
        body.fail(QStringLiteral("samples"),
                  QCoreApplication::translate(
                      "Server", "「samples」はサンプルの範囲です（\"3-4\"、\"5\"）。"));
        return std::nullopt;
    }
    return std::pair{first, last};
}

void applyOptions(RequestBody& body, JobRequest& request, const QDate& today)
{
    LabelDesign& design = request.design;
    const LabelTypeTraits& traits = labelType(design.type);
    if (const std::optional<qint64> samples = body.integer("samples", 1, MaxSampleCount)) {
        if (traits.hasFreeTexts())
            body.fail(QStringLiteral("samples"),
                      QCoreApplication::translate(
                          "Server", "タイプ %1 は自由テキスト１つに１枚です（「freeTexts」）。")
                          .arg(design.type));
        design.sampleCount = int(*samples);
    }
    const int range = traits.hasNumber() ? traits.range : 1;
    if (const std::optional<qint64> first = body.integer("first", 0, 9999)) {
        if (!traits.hasNumber() || *first >= range)
            body.fail(QStringLiteral("first"),
                      traits.hasNumber()
                          ? QCoreApplication::translate("Server", "タイプ %1 の番号は 0～%2 です。")
                                .arg(design.type)
                                .arg(range - 1)
                          : QCoreApplication::translate("Server", "タイプ %1 に番号はありません。")
                                .arg(design.type));
        design.firstNumber = int(*first);
        request.firstGiven = true;
    }
    if (const std::optional<QStringList> texts = body.strings("freeTexts", MaxFreeTexts + 1, 64)) {
        if (!traits.hasFreeTexts())
            body.fail(
                QStringLiteral("freeTexts"),
                QCoreApplication::translate("Server", "自由テキストはタイプ 9～12 のものです。"));
        checkFreeTexts(body, QStringLiteral("freeTexts"), *texts, traits.freeTextBytes);
        design.freeTexts = *texts;
    }
    if (body.ok() && traits.hasFreeTexts() && design.freeTexts.isEmpty())
        body.fail(QStringLiteral("freeTexts"),
                  QCoreApplication::translate("Server", "タイプ %1 には自由テキストが要ります。")
                      .arg(design.type),
                  "missing-field");
    if (const std::optional<QString> code = body.string("code", 16)) {
        if (*code == QLatin1String("datamatrix"))
            design.look.code = LabelCode::DataMatrix;
        else if (*code == QLatin1String("none"))
            design.look.code = LabelCode::None;
        else
            body.fail(QStringLiteral("code"),
                      QCoreApplication::translate("Server",
                                                  "「code」は \"datamatrix\" か \"none\" です。"));
    }
    readDestination(body, request.sheet, request.start, request.printer, request.pdf);
    request.allowDuplicates = body.boolean("allowDuplicates").value_or(false);
    if (body.ok() && freeze(design, today).labelTotal() > MaxLabelsPerJob)
        body.fail(
            QStringLiteral("samples"),
            QCoreApplication::translate("Server", "ラベルは合計で１２００枚までです（%1 枚）。")
                .arg(freeze(design, today).labelTotal()));
}

} // namespace

std::variant<JobRequest, BodyProblem> parseJobRequest(const QByteArray& bytes, const QDate& today)
{
    RequestBody body(bytes);
    body.onlyKnown({"design", "samples", "first", "start", "freeTexts", "code", "sheet", "printer",
                    "output", "allowDuplicates"});
    JobRequest request;
    const std::optional<QJsonObject> design = body.object("design");
    if (body.ok() && !design)
        body.fail(QStringLiteral("design"),
                  QCoreApplication::translate("Server", "「design」がありません。"),
                  "missing-field");
    if (body.ok()) {
        if (std::optional<LabelDesign> read = readDesign(body, *design, !body.has("freeTexts")))
            request.design = *read;
    }
    if (body.ok())
        applyOptions(body, request, today);
    if (!body.ok())
        return *body.problem();
    return request;
}

std::variant<ReprintRequestBody, BodyProblem> parseReprintRequest(const QByteArray& bytes)
{
    RequestBody body(bytes);
    body.onlyKnown({"samples", "labels", "sheet", "start", "printer", "output"});
    ReprintRequestBody request;
    request.samples = sampleRange(body);
    request.labels = body.strings("labels", MaxLabelsPerJob, 64).value_or(QStringList());
    if (body.ok() && request.samples && body.has("labels"))
        body.fail(
            QStringLiteral("labels"),
            QCoreApplication::translate("Server", "「samples」と「labels」はどちらか一方です。"));
    if (body.ok() && body.has("labels") && request.labels.isEmpty())
        body.fail(QStringLiteral("labels"),
                  QCoreApplication::translate("Server", "「labels」が空です。"));
    readDestination(body, request.sheet, request.start, request.printer, request.pdf);
    if (!body.ok())
        return *body.problem();
    return request;
}
