#include "cli/Csv.h"

namespace Csv {

QByteArray field(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    QByteArray quoted = bytes;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

QByteArray record(const QStringList& fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += field(fields[i]);
    }
    return line + "\r\n";
}

QList<QStringList> parse(const QString& text)
{
    QList<QStringList> records;
    QStringList fields;
    QString current;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field began with a quote
    bool pending = false;   // the record has begun
    const auto endField = [&] {
        fields << current;
        current.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        records << fields;
        fields.clear();
        pending = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != QLatin1Char('"')) {
                current += c;
            } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                current += c;
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        pending = true;
        if (c == QLatin1Char('"') && current.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            endRecord();
        } else {
            current += c;
        }
    }
    if (pending || quoted)
        endRecord();
    return records;
}

} // namespace Csv
