#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>

// What is wrong with a request's body, and which field (a path such as
// "design.upperTexts.1" or "freeTexts[3]"; empty for the body as a whole).
struct BodyProblem {
    const char* code = "bad-field";
    QString field;
    QString message;
};

// Reads the JSON body of a request strictly, so that a laboratory system's
// mistake is named rather than guessed at: one object in UTF-8, no key twice,
// no control characters in any key or text, known fields only, each of its
// kind and within its range (JSON numbers beyond them, fractions included,
// are refused, not rounded). After the first problem every read returns
// nothing, and problem() names it.
class RequestBody {
public:
    // The body as an object; a problem when it is not one.
    explicit RequestBody(const QByteArray& body);
    RequestBody(const QJsonObject& object, const QString& path);

    bool ok() const { return !m_problem.has_value(); }
    const std::optional<BodyProblem>& problem() const { return m_problem; }
    const QJsonObject& object() const { return m_object; }
    const QString& path() const { return m_path; }
    bool has(const char* key) const { return m_object.contains(QLatin1String(key)); }

    // A problem when the object holds a field not in `known`.
    void onlyKnown(std::initializer_list<const char*> known);
    // Optional fields: nullopt when absent (or after a problem).
    std::optional<bool> boolean(const char* key);
    std::optional<qint64> integer(const char* key, qint64 min, qint64 max);
    std::optional<QString> string(const char* key, qsizetype maxLength);
    std::optional<QStringList> strings(const char* key, qsizetype maxCount, qsizetype maxLength);
    std::optional<QJsonObject> object(const char* key);

    void fail(const QString& field, const QString& message, const char* code = "bad-field");
    QString fieldPath(const char* key) const;

private:
    QJsonObject m_object;
    QString m_path;
    std::optional<BodyProblem> m_problem;
};

// The first key or text anywhere in `value` that holds a control character
// (C0, DEL, C1, U+2028, U+2029), as a field path; empty when there is none.
QString controlCharacterIn(const QJsonValue& value, const QString& path);
