#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated values as RFC 4180 has them: fields with a comma, a
// double quote or a line break are quoted, and a quote inside is doubled.
namespace Csv {

// One field as UTF-8, quoted when needed.
QByteArray field(const QString& text);
// A record of fields, ended by CR LF.
QByteArray record(const QStringList& fields);

// The records of a text. Records end at CR LF, LF or CR outside quotes; a
// quoted field keeps its commas and line breaks. A stray quote inside an
// unquoted field is kept as it is, as spreadsheets do.
QList<QStringList> parse(const QString& text);

} // namespace Csv
