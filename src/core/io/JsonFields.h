#pragma once

// Reading and writing the fields of the program's JSON files (the design
// file and the saved state). Internal to src/core/io.

#include "core/model/LabelDesign.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <QCoreApplication>
#include <cmath>
#include <optional>
#include <span>

// The first key that appears twice in one object of a valid JSON text, or
// a null string.
QString duplicateKey(const QByteArray& text);

// A value of a file and the path that names it in messages, such as
// "appearance.font.pointSize" or "lastJob.labels[3]".
struct JsonField {
    QJsonValue value;
    QString path;
};

// Checks fields one by one and keeps the first problem, in words that name
// the field. After a problem every read returns a default, so that a reader
// can go through all its fields and ask ok() once at the end.
class JsonReader {
public:
    bool ok() const { return m_problem.isEmpty(); }
    const QString& problem() const { return m_problem; }
    void fail(const QString& problem)
    {
        if (ok())
            m_problem = problem;
    }

    static QString pathOf(const QString& parent, const QString& key)
    {
        return parent.isEmpty() ? key : parent + QLatin1Char('.') + key;
    }

    // The member `key` of `object`, which `parent` names; missing: a problem.
    JsonField field(const QJsonObject& object, const QString& parent, const QString& key)
    {
        JsonField f{object.value(key), pathOf(parent, key)};
        if (f.value.isUndefined())
            fail(QCoreApplication::translate("JsonFields", "「%1」がありません。").arg(f.path));
        return f;
    }
    static JsonField element(const QJsonArray& array, const JsonField& parent, qsizetype i)
    {
        return {array.at(i), parent.path + QStringLiteral("[%1]").arg(i)};
    }

    QJsonObject object(const JsonField& f)
    {
        if (ok() && !f.value.isObject())
            fail(QCoreApplication::translate("JsonFields", "「%1」がオブジェクトではありません。")
                     .arg(f.path));
        return ok() ? f.value.toObject() : QJsonObject();
    }
    QJsonArray array(const JsonField& f)
    {
        if (ok() && !f.value.isArray())
            fail(QCoreApplication::translate("JsonFields", "「%1」が配列ではありません。")
                     .arg(f.path));
        return ok() ? f.value.toArray() : QJsonArray();
    }
    QStringList strings(const JsonField& f)
    {
        const QJsonArray items = array(f);
        QStringList out;
        for (qsizetype i = 0; i < items.size() && ok(); ++i)
            out << string(element(items, f, i));
        return ok() ? out : QStringList();
    }
    // An array of pairs of strings ([["a", "b"], ...]); `notAPair` says,
    // with the entry's path for %1, that an entry is something else.
    QList<std::pair<QString, QString>> stringPairs(const JsonField& f, const QString& notAPair)
    {
        const QJsonArray items = array(f);
        QList<std::pair<QString, QString>> out;
        out.reserve(items.size());
        for (qsizetype i = 0; i < items.size() && ok(); ++i) {
            const JsonField entry = element(items, f, i);
            const QStringList pair = strings(entry);
            if (ok() && pair.size() != 2)
                fail(notAPair.arg(entry.path));
            if (ok())
                out.append({pair[0], pair[1]});
        }
        return ok() ? out : QList<std::pair<QString, QString>>();
    }
    QString string(const JsonField& f)
    {
        if (ok() && !f.value.isString())
            fail(QCoreApplication::translate("JsonFields", "「%1」が文字列ではありません。")
                     .arg(f.path));
        return ok() ? f.value.toString() : QString();
    }
    bool boolean(const JsonField& f)
    {
        if (ok() && !f.value.isBool())
            fail(
                QCoreApplication::translate("JsonFields", "「%1」が true か false ではありません。")
                    .arg(f.path));
        return ok() && f.value.toBool();
    }
    int integer(const JsonField& f, int min, int max)
    {
        const std::optional<double> v = whole(f);
        if (v && (*v < min || *v > max)) {
            fail(QCoreApplication::translate("JsonFields", "「%1」の値 %2 は %3～%4 の範囲外です。")
                     .arg(f.path, shown(*v))
                     .arg(min)
                     .arg(max));
        }
        return ok() && v ? int(*v) : min;
    }
    // Any number, decimals allowed.
    double number(const JsonField& f)
    {
        if (ok() && (!f.value.isDouble() || !std::isfinite(f.value.toDouble())))
            fail(QCoreApplication::translate("JsonFields", "「%1」が数ではありません。")
                     .arg(f.path));
        return ok() ? f.value.toDouble() : 0;
    }
    // A whole number from 0 up to 2^53, the most a JSON number keeps exactly.
    qint64 wholeNumber(const JsonField& f)
    {
        const std::optional<double> v = whole(f);
        if (v && (*v < 0 || *v > 9007199254740992.0))
            fail(QCoreApplication::translate("JsonFields", "「%1」の値 %2 は範囲外です。")
                     .arg(f.path, shown(*v)));
        return ok() && v ? qint64(*v) : 0;
    }
    int oneOf(const JsonField& f, std::span<const int> allowed)
    {
        const std::optional<double> v = whole(f);
        for (const int a : allowed) {
            if (v && *v == a)
                return a;
        }
        if (v) {
            QStringList names;
            for (const int a : allowed)
                names << QString::number(a);
            fail(QCoreApplication::translate("JsonFields",
                                             "「%1」の値 %2 は %3 のどれでもありません。")
                     .arg(f.path, shown(*v),
                          names.join(QCoreApplication::translate("JsonFields", "、"))));
        }
        return allowed.front();
    }
    // The index of a name in `names`.
    int indexIn(const JsonField& f, const QStringList& names)
    {
        const QString name = string(f);
        const qsizetype at = names.indexOf(name);
        if (ok() && at < 0) {
            fail(QCoreApplication::translate("JsonFields",
                                             "「%1」の値 \"%2\" は %3 のどれでもありません。")
                     .arg(f.path, quoted(name),
                          names.join(QCoreApplication::translate("JsonFields", "、"))));
        }
        return ok() ? int(at) : 0;
    }
    // A letter "A".."Z" as its index 0..25.
    int letter(const JsonField& f)
    {
        const QString text = string(f);
        if (ok() && (text.size() != 1 || text[0] < u'A' || text[0] > u'Z')) {
            fail(QCoreApplication::translate("JsonFields",
                                             "「%1」の値 \"%2\" は A～Z の1文字ではありません。")
                     .arg(f.path, quoted(text)));
        }
        return ok() ? text[0].unicode() - u'A' : 0;
    }
    // "#rrggbb".
    QColor color(const JsonField& f)
    {
        const QString text = string(f);
        bool hex = text.size() == 7 && text[0] == u'#';
        for (qsizetype i = 1; hex && i < 7; ++i)
            hex = isHexDigit(text[i]);
        if (ok() && !hex) {
            fail(QCoreApplication::translate("JsonFields",
                                             "「%1」の値 \"%2\" は #rrggbb の形ではありません。")
                     .arg(f.path, quoted(text)));
        }
        if (!ok())
            return QColor(0, 0, 0);
        const uint rgb = text.mid(1).toUInt(nullptr, 16);
        return QColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
    }

    // "format" and "version": this program's kind of file, and no newer.
    void header(const QJsonObject& object, const char* format, int version)
    {
        const QString name = string(field(object, {}, QStringLiteral("format")));
        if (ok() && name != QLatin1String(format))
            fail(QCoreApplication::translate("JsonFields", "「format」が %1 ではありません。")
                     .arg(QLatin1String(format)));
        const std::optional<double> v = whole(field(object, {}, QStringLiteral("version")));
        if (v && *v > version) {
            fail(QCoreApplication::translate(
                     "JsonFields", "バージョン %1 のファイルです。このプログラムはバージョン %2 "
                                   "までを読めます。")
                     .arg(shown(*v))
                     .arg(version));
        }
        if (v && *v < 1)
            fail(QCoreApplication::translate("JsonFields",
                                             "「version」の値 %1 は 1～%2 の範囲外です。")
                     .arg(shown(*v))
                     .arg(version));
    }

    // The document's object.
    QJsonObject document(const QByteArray& bytes)
    {
        QJsonParseError parsed;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parsed);
        if (parsed.error != QJsonParseError::NoError) {
            fail(QCoreApplication::translate("JsonFields", "JSON として読めません: %1 (位置 %2)")
                     .arg(parsed.errorString())
                     .arg(parsed.offset));
        } else if (!doc.isObject()) {
            fail(QCoreApplication::translate("JsonFields", "JSON のオブジェクトではありません。"));
        } else if (const QString key = duplicateKey(bytes); !key.isNull()) {
            // Which of the two a reader took would be a guess.
            fail(QCoreApplication::translate("JsonFields", "「%1」が2回あります。")
                     .arg(quoted(key)));
        }
        return ok() ? doc.object() : QJsonObject();
    }

    // A string quoted in a message, cut short so that a damaged file
    // cannot fill the screen.
    static QString quoted(const QString& text)
    {
        constexpr qsizetype MaxQuoted = 40;
        if (text.size() <= MaxQuoted)
            return text;
        qsizetype keep = MaxQuoted - 1;
        if (text.at(keep - 1).isHighSurrogate())
            --keep;
        return text.left(keep) + QChar(0x2026); // …
    }

private:
    static bool isHexDigit(QChar c)
    {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    }
    static QString shown(double v)
    {
        return std::abs(v) < 1e15 ? QString::number(qint64(v)) : QString::number(v);
    }
    // A whole JSON number; checked as a double, so that no value is
    // converted before it is known to fit.
    std::optional<double> whole(const JsonField& f)
    {
        if (!ok())
            return std::nullopt;
        const double v = f.value.toDouble();
        if (!f.value.isDouble() || !std::isfinite(v) || v != std::floor(v)) {
            fail(QCoreApplication::translate("JsonFields", "「%1」が整数ではありません。")
                     .arg(f.path));
            return std::nullopt;
        }
        return v;
    }

    QString m_problem;
};

// The contents of a regular file of at most maxSize bytes; nullopt with
// *error when it is missing, is something else (a FIFO is never opened, it
// would wait for a writer), is larger or cannot be read.
inline std::optional<QByteArray> readSmallRegularFile(const QString& path, qint64 maxSize,
                                                      QString* error)
{
    const auto failed = [error](const QString& reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return failed(QCoreApplication::translate("JsonFields", "ファイルがありません。"));
    if (!info.isFile())
        return failed(QCoreApplication::translate("JsonFields", "通常のファイルではありません。"));
    const QString tooLarge =
        QCoreApplication::translate("JsonFields", "ファイルが大きすぎます（%1 バイトまで）。")
            .arg(maxSize);
    if (info.size() > maxSize)
        return failed(tooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(QCoreApplication::translate("JsonFields", "読み込めません: %1")
                          .arg(file.errorString()));
    // One byte more than allowed, in case the file grew since the check.
    const QByteArray bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(QCoreApplication::translate("JsonFields", "読み込めません: %1")
                          .arg(file.errorString()));
    if (bytes.size() > maxSize)
        return failed(tooLarge);
    return bytes;
}

// Indented, with a newline at the end, so that the file reads well in an
// editor and compares well line by line.
inline QByteArray jsonBytes(const QJsonObject& object)
{
    QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    return bytes;
}

// A whole file of the program's: its fields with "format" and "version".
inline QByteArray documentBytes(QJsonObject object, const char* format, int version)
{
    object.insert(QStringLiteral("format"), QLatin1String(format));
    object.insert(QStringLiteral("version"), version);
    return jsonBytes(object);
}

// The object of a file of `format`, of `version` or older; nullopt with
// *error when the bytes are not such a file.
inline std::optional<QJsonObject> documentObject(const QByteArray& bytes, const char* format,
                                                 int version, QString* error)
{
    JsonReader in;
    const QJsonObject object = in.document(bytes);
    in.header(object, format, version);
    if (!in.ok()) {
        if (error)
            *error = in.problem();
        return std::nullopt;
    }
    return object;
}

// The design object and its appearance, shared by the design file and the
// saved state (DesignFile.cpp).
QJsonObject appearanceToJson(const PrintAppearance& look);
PrintAppearance readAppearance(JsonReader& in, const JsonField& field);
// A design's "code": required in a design file of version 2 on; the saved
// state and older files may lack it, which reads as none.
enum class CodeField { Required, Optional };
LabelDesign readDesign(JsonReader& in, const QJsonObject& object, const QString& path,
                       CodeField codeField);
// "code", as the design file and a printed job name it.
QString codeName(LabelCode code);
LabelCode readCode(JsonReader& in, const JsonField& field);
