#include "core/io/JsonFields.h"

#include <QSet>

namespace {

// A JSON string from the opening quote at `at`, unescaped; `at` ends past
// the closing quote. The text is valid JSON already.
QString readString(const QByteArray& text, qsizetype& at)
{
    QByteArray raw;
    for (++at; at < text.size() && text[at] != '"'; ++at) {
        raw += text[at];
        if (text[at] == '\\' && at + 1 < text.size())
            raw += text[++at];
    }
    ++at;
    // The escapes are JSON's own, so JSON unescapes them.
    const QJsonDocument doc = QJsonDocument::fromJson("[\"" + raw + "\"]");
    return doc.array().at(0).toString();
}

} // namespace

QString duplicateKey(const QByteArray& text)
{
    // One set of keys for each object being read; arrays get none.
    struct Level {
        bool object;
        QSet<QString> keys;
        bool expectKey;
    };
    QList<Level> levels;
    for (qsizetype at = 0; at < text.size();) {
        const char c = text[at];
        if (c == '"') {
            const QString string = readString(text, at);
            if (!levels.isEmpty() && levels.last().object && levels.last().expectKey) {
                if (levels.last().keys.contains(string))
                    return string;
                levels.last().keys.insert(string);
                levels.last().expectKey = false;
            }
            continue;
        }
        if (c == '{' || c == '[')
            levels.append({c == '{', {}, c == '{'});
        else if ((c == '}' || c == ']') && !levels.isEmpty())
            levels.removeLast();
        else if (c == ',' && !levels.isEmpty() && levels.last().object)
            levels.last().expectKey = true;
        ++at;
    }
    return {};
}
