#include "server/RequestBody.h"

#include "core/io/JsonFields.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace {

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029;
}

bool hasControl(const QString& text)
{
    for (const QChar c : text)
        if (isControl(c))
            return true;
    return false;
}

} // namespace

QString controlCharacterIn(const QJsonValue& value, const QString& path)
{
    if (value.isString())
        return hasControl(value.toString()) ? path : QString();
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QString found =
                controlCharacterIn(array.at(i), path + QStringLiteral("[%1]").arg(i));
            if (!found.isEmpty())
                return found;
        }
    }
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QString field = path.isEmpty() ? it.key() : path + QLatin1Char('.') + it.key();
            if (hasControl(it.key()))
                return field;
            const QString found = controlCharacterIn(it.value(), field);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

RequestBody::RequestBody(const QByteArray& body)
{
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parsed);
    if (parsed.error != QJsonParseError::NoError) {
        fail(
            {},
            QCoreApplication::translate("Server", "本文が JSON ではありません（%1 バイト目: %2）。")
                .arg(parsed.offset + 1)
                .arg(parsed.errorString()),
            "bad-json");
        return;
    }
    if (!document.isObject()) {
        fail({}, QCoreApplication::translate("Server", "本文は JSON のオブジェクト { … } です。"),
             "bad-json");
        return;
    }
    if (const QString twice = duplicateKey(body); !twice.isNull()) {
        fail(twice, QCoreApplication::translate("Server", "「%1」が二度あります。").arg(twice));
        return;
    }
    m_object = document.object();
    if (const QString field = controlCharacterIn(m_object, {}); !field.isEmpty())
        fail(field,
             QCoreApplication::translate("Server", "「%1」に制御文字があります。").arg(field));
}

RequestBody::RequestBody(const QJsonObject& object, const QString& path)
    : m_object(object), m_path(path)
{
}

QString RequestBody::fieldPath(const char* key) const
{
    return m_path.isEmpty() ? QString::fromLatin1(key)
                            : m_path + QLatin1Char('.') + QLatin1String(key);
}

void RequestBody::fail(const QString& field, const QString& message, const char* code)
{
    if (!m_problem)
        m_problem = BodyProblem{code, field, message};
}

void RequestBody::onlyKnown(std::initializer_list<const char*> known)
{
    for (auto it = m_object.begin(); it != m_object.end() && ok(); ++it) {
        bool found = false;
        for (const char* key : known)
            found = found || it.key() == QLatin1String(key);
        if (!found) {
            const QString field =
                m_path.isEmpty() ? it.key() : m_path + QLatin1Char('.') + it.key();
            fail(field,
                 QCoreApplication::translate("Server", "「%1」という項目はありません。").arg(field),
                 "unknown-field");
        }
    }
}

std::optional<bool> RequestBody::boolean(const char* key)
{
    const QJsonValue value = m_object.value(QLatin1String(key));
    if (!ok() || value.isUndefined())
        return std::nullopt;
    if (!value.isBool()) {
        fail(fieldPath(key), QCoreApplication::translate("Server", "「%1」は true か false です。")
                                 .arg(fieldPath(key)));
        return std::nullopt;
    }
    return value.toBool();
}

std::optional<qint64> RequestBody::integer(const char* key, qint64 min, qint64 max)
{
    const QJsonValue value = m_object.value(QLatin1String(key));
    if (!ok() || value.isUndefined())
        return std::nullopt;
    const double number = value.toDouble();
    if (!value.isDouble() || !std::isfinite(number) || number != std::floor(number) ||
        number < double(min) || number > double(max)) {
        fail(fieldPath(key), QCoreApplication::translate("Server", "「%1」は %2～%3 の整数です。")
                                 .arg(fieldPath(key))
                                 .arg(min)
                                 .arg(max));
        return std::nullopt;
    }
    return qint64(number);
}

std::optional<QString> RequestBody::string(const char* key, qsizetype maxLength)
{
    const QJsonValue value = m_object.value(QLatin1String(key));
    if (!ok() || value.isUndefined())
        return std::nullopt;
    if (!value.isString() || value.toString().size() > maxLength) {
        fail(fieldPath(key),
             QCoreApplication::translate("Server", "「%1」は %2 文字までの文字列です。")
                 .arg(fieldPath(key))
                 .arg(maxLength));
        return std::nullopt;
    }
    return value.toString();
}

std::optional<QStringList> RequestBody::strings(const char* key, qsizetype maxCount,
                                                qsizetype maxLength)
{
    const QJsonValue value = m_object.value(QLatin1String(key));
    if (!ok() || value.isUndefined())
        return std::nullopt;
    const QJsonArray array = value.toArray();
    bool fits = value.isArray() && array.size() <= maxCount;
    QStringList texts;
    for (const QJsonValue& item : array) {
        fits = fits && item.isString() && item.toString().size() <= maxLength;
        texts << item.toString();
    }
    if (!fits) {
        fail(fieldPath(key),
             QCoreApplication::translate("Server", "「%1」は %2 個までの文字列の配列です。")
                 .arg(fieldPath(key))
                 .arg(maxCount));
        return std::nullopt;
    }
    return texts;
}

std::optional<QJsonObject> RequestBody::object(const char* key)
{
    const QJsonValue value = m_object.value(QLatin1String(key));
    if (!ok() || value.isUndefined())
        return std::nullopt;
    if (!value.isObject()) {
        fail(fieldPath(key), QCoreApplication::translate("Server", "「%1」はオブジェクトです。")
                                 .arg(fieldPath(key)));
        return std::nullopt;
    }
    return value.toObject();
}
