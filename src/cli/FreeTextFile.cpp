#include "cli/FreeTextFile.h"

#include "cli/Csv.h"
#include "core/io/JsonFields.h"
#include "core/numbering/Cp932.h"

#include <QFile>
#include <QStringDecoder>

#include <QCoreApplication>
#include <cstdio>

namespace FreeTextFile {

namespace {

std::optional<QString> decoded(const QByteArray& bytes)
{
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bom ? bytes.mid(3) : bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder sjis("windows-31j");
    if (sjis.isValid()) {
        const QString other = sjis.decode(bytes);
        if (!sjis.hasError())
            return other;
    }
    return std::nullopt;
}

} // namespace

std::optional<QStringList> read(const QString& path, QString* error)
{
    QByteArray bytes;
    if (path == QLatin1String("-")) {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly)) {
            *error = QCoreApplication::translate("Cli", "cannot read standard input: %1")
                         .arg(input.errorString());
            return std::nullopt;
        }
        bytes = input.read(MaxFileSize + 1);
        if (input.error() != QFileDevice::NoError) {
            *error = QCoreApplication::translate("Cli", "cannot read standard input: %1")
                         .arg(input.errorString());
            return std::nullopt;
        }
        if (bytes.size() > MaxFileSize) {
            *error = QCoreApplication::translate("Cli", "standard input holds more than %1 bytes")
                         .arg(MaxFileSize);
            return std::nullopt;
        }
    } else {
        QString problem;
        const std::optional<QByteArray> file = readSmallRegularFile(path, MaxFileSize, &problem);
        if (!file) {
            *error = path + QLatin1String(": ") + problem;
            return std::nullopt;
        }
        bytes = *file;
    }
    return parse(bytes, path, error);
}

std::optional<QStringList> parse(const QByteArray& bytes, const QString& name, QString* error)
{
    const std::optional<QString> text = decoded(bytes);
    if (!text) {
        *error = QCoreApplication::translate("Cli", "%1: neither UTF-8 nor Shift_JIS text")
                     .arg(name == QLatin1String("-") ? QStringLiteral("standard input") : name);
        return std::nullopt;
    }
    QStringList texts;
    if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ||
        text->contains(QLatin1Char(','))) {
        for (const QStringList& record : Csv::parse(*text))
            texts << record.value(0);
    } else {
        texts = Cp932::lines(*text);
    }
    while (!texts.isEmpty() && texts.last().trimmed().isEmpty())
        texts.removeLast();
    return texts;
}

} // namespace FreeTextFile
