#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The free texts of types 9 to 12 from a file or standard input: one text
// per line, or the first column of a CSV file (a ".csv" name, or any comma
// in the text). UTF-8, with or without a byte-order mark, or code page 932
// as Windows programs write it. Empty lines at the end are dropped; the
// texts are not cut here (freeze() cuts them as typing does).
namespace FreeTextFile {

inline constexpr qint64 MaxFileSize = 1024 * 1024;

// `path` "-" reads standard input. nullopt with *error (English) when the
// input cannot be read or decoded.
std::optional<QStringList> read(const QString& path, QString* error);

// The texts of bytes that came from `name`.
std::optional<QStringList> parse(const QByteArray& bytes, const QString& name, QString* error);

} // namespace FreeTextFile
