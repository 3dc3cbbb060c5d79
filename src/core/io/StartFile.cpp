#include "core/io/StartFile.h"

#include "core/io/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Longest quote of the file's content in a message, in characters.
constexpr qsizetype MaxQuoted = 40;

QString decoded(const QByteArray& bytes)
{
    // Hand-edited files come from Windows editors as often as from ours.
    QStringDecoder decoder("windows-31j");
    if (decoder.isValid()) {
        QString text = decoder.decode(bytes);
        if (!decoder.hasError())
            return text;
    }
    // Bytes 0x80..0x9F become invisible C1 controls here; the caller spells
    // them out.
    return QString::fromLatin1(bytes);
}

QString escaped(uint code)
{
    switch (code) {
    case 0:
        return QStringLiteral("\\0");
    case '\t':
        return QStringLiteral("\\t");
    case '\r':
        return QStringLiteral("\\r");
    case '\n':
        return QStringLiteral("\\n");
    default:
        return QStringLiteral("\\x") + QString::number(code, 16).toUpper().rightJustified(2, '0');
    }
}

// A line or field as the messages quote it: invisible characters spelled
// out, and cut short, so that a damaged file cannot fill the screen.
QString shown(const QByteArray& field)
{
    QString out;
    QByteArray run;
    auto addRun = [&] {
        for (const QChar c : decoded(run))
            out += c.unicode() >= 0x80 && c.unicode() < 0xA0 ? escaped(c.unicode()) : QString(c);
        run.clear();
    };
    // Control bytes are never part of a two-byte character, so they are
    // spelled out before decoding, as the bytes they are.
    for (const char b : field) {
        if (out.size() > MaxQuoted)
            break;
        if (uchar(b) < 0x20 || uchar(b) == 0x7F) {
            addRun();
            out += escaped(uchar(b));
        } else {
            run += b;
        }
    }
    addRun();
    if (out.size() > MaxQuoted) {
        qsizetype keep = MaxQuoted - 1;
        if (out.at(keep - 1).isHighSurrogate())
            --keep;
        out = out.left(keep) + QChar(0x2026); // …
    }
    return out;
}

QByteArray trimmed(const QByteArray& field)
{
    qsizetype from = 0;
    qsizetype to = field.size();
    while (from < to && (field[from] == ' ' || field[from] == '\t'))
        ++from;
    while (to > from && (field[to - 1] == ' ' || field[to - 1] == '\t'))
        --to;
    return field.mid(from, to - from);
}

// Whole decimal number with an optional sign, nothing else.
bool toWholeNumber(const QByteArray& field, int* value)
{
    if (field.isEmpty())
        return false;
    int i = (field[0] == '-' || field[0] == '+') ? 1 : 0;
    if (i == field.size())
        return false;
    for (int k = i; k < field.size(); ++k) {
        if (field[k] < '0' || field[k] > '9')
            return false;
    }
    bool ok = false;
    *value = field.toInt(&ok, 10);
    return ok;
}

StartFileReadResult failure(StartFileReadResult::Status status, const QString& text)
{
    StartFileReadResult result;
    result.status = status;
    result.error = text;
    return result;
}

StartFileReadResult malformed(const QString& text)
{
    return failure(StartFileReadResult::Malformed, text);
}

QByteArray lineAt(const QByteArray& bytes, qsizetype from, qsizetype* next)
{
    qsizetype end = bytes.indexOf('\n', from);
    if (end < 0)
        end = bytes.size();
    *next = end + 1;
    QByteArray line = bytes.mid(from, end - from);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

QString StartFile::pathIn(const QString& appDir)
{
    return QDir(appDir).filePath(FileName);
}

StartFileReadResult StartFile::read(const QString& path)
{
    const QString shownPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    auto unreadable = [&](const QString& reason) {
        return failure(
            StartFileReadResult::Unreadable,
            QCoreApplication::translate("StartFile", "スタートファイルを読み込めません。\n%1\n%2")
                .arg(shownPath, reason));
    };
    // The type is checked before opening: opening a FIFO would wait for a
    // writer, and a device such as /dev/zero never ends.
    const QFileInfo info(path);
    if (!info.exists()) {
        StartFileReadResult result;
        result.status = StartFileReadResult::Missing;
        return result;
    }
    if (!info.isFile())
        return unreadable(
            QCoreApplication::translate("StartFile", "通常のファイルではありません。"));
    const auto tooLarge = [&] {
        return malformed(QCoreApplication::translate(
                             "StartFile", "スタートファイルが大きすぎます（%1 バイトまで）。\n%2")
                             .arg(MaxFileSize)
                             .arg(shownPath));
    };
    if (info.size() > MaxFileSize)
        return tooLarge();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    // Read one byte more than allowed, in case the file grew since the check.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable(file.errorString());
    if (bytes.size() > MaxFileSize)
        return tooLarge();
    StartFileReadResult result = parse(bytes);
    if (result.status == StartFileReadResult::Malformed)
        result.error += QLatin1Char('\n') + shownPath;
    return result;
}

StartFileReadResult StartFile::parse(const QByteArray& bytes)
{
    StartFileReadResult result;
    // Editors on Windows often put a byte-order mark in front of line 1.
    const qsizetype from = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // An empty file is valid: every value stays 0.
    if (bytes.size() == from)
        return result;

    qsizetype next = 0;
    const QByteArray line1 = lineAt(bytes, from, &next);
    if (next < bytes.size())
        result.values.note = lineAt(bytes, next, &next);

    const QList<QByteArray> fields = line1.split(',');
    if (!line1.isEmpty() && fields.size() != 3) {
        return malformed(QCoreApplication::translate(
                             "StartFile", "スタートファイルの1行目が正しくありません: '%1'\n"
                                          "（例: 10,10,1 … 横オフセット,縦オフセット,開始位置）")
                             .arg(shown(line1)));
    }
    int values[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const QByteArray field = i < fields.size() ? fields[i] : QByteArray();
        if (!toWholeNumber(trimmed(field), &values[i]))
            return malformed(QCoreApplication::translate("StartFile", "'%1' は整数ではありません")
                                 .arg(shown(field)));
    }
    const int limits[3] = {MaxOffsetIndex, MaxOffsetIndex, MaxStartPosition};
    for (int i = 0; i < 3; ++i) {
        if (values[i] < 0 || values[i] > limits[i]) {
            return malformed(QCoreApplication::translate(
                                 "StartFile", "スタートファイルの値 '%1' が範囲外です"
                                              "（オフセットは 0～20、開始位置は 0～%2）。")
                                 .arg(values[i])
                                 .arg(MaxStartPosition));
        }
    }
    result.values.horzOffsetIndex = values[0];
    result.values.vertOffsetIndex = values[1];
    result.values.startPosition = values[2];
    return result;
}

QByteArray StartFile::format(const StartSettings& values)
{
    QByteArray bytes = QByteArray::number(values.horzOffsetIndex) + ',' +
                       QByteArray::number(values.vertOffsetIndex) + ',' +
                       QByteArray::number(values.startPosition) + "\r\n";
    bytes += values.note;
    bytes += "\r\n";
    return bytes;
}

bool StartFile::write(const QString& path, const StartSettings& values, QString* error)
{
    QString reason;
    if (!writeFileAtomically(path, format(values), &reason)) {
        if (error) {
            *error = QCoreApplication::translate("StartFile",
                                                 "スタートファイルを保存できません。\n%1\n%2")
                         .arg(QDir::toNativeSeparators(path), reason);
        }
        return false;
    }
    return true;
}
