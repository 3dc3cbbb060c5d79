#include "app/StartFile.h"

#include "app/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

QString shown(const QByteArray& field)
{
    // Hand-edited files come from Windows editors as often as from ours.
    QStringDecoder decoder("windows-31j");
    if (decoder.isValid()) {
        QString text = decoder.decode(field);
        if (!decoder.hasError())
            return text;
    }
    return QString::fromLatin1(field);
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

StartFileReadResult malformed(const QString& text)
{
    StartFileReadResult result;
    result.status = StartFileReadResult::Malformed;
    result.error = text;
    return result;
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
    return QDir(appDir).filePath(QStringLiteral("start.txt"));
}

StartFileReadResult StartFile::read(const QString& path)
{
    StartFileReadResult result;
    QFile file(path);
    if (!file.exists()) {
        result.status = StartFileReadResult::Missing;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = StartFileReadResult::Unreadable;
        result.error = QStringLiteral("スタートファイルを読み込めません。\n%1\n%2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = StartFileReadResult::Unreadable;
        result.error = QStringLiteral("スタートファイルを読み込めません。\n%1\n%2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    return parse(bytes);
}

StartFileReadResult StartFile::parse(const QByteArray& bytes)
{
    StartFileReadResult result;
    // An empty file is valid: every value stays 0.
    if (bytes.isEmpty())
        return result;

    qsizetype next = 0;
    const QByteArray line1 = lineAt(bytes, 0, &next);
    if (next < bytes.size())
        result.values.note = lineAt(bytes, next, &next);

    const QList<QByteArray> fields = line1.split(',');
    if (!line1.isEmpty() && fields.size() != 3) {
        return malformed(QStringLiteral("スタートファイルの1行目が正しくありません: '%1'\n"
                                        "（例: 10,10,1 … 横オフセット,縦オフセット,開始位置）")
                             .arg(shown(line1)));
    }
    int values[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const QByteArray field = i < fields.size() ? fields[i] : QByteArray();
        if (!toWholeNumber(field, &values[i]))
            return malformed(QStringLiteral("'%1' は整数ではありません").arg(shown(field)));
    }
    const int limits[3] = {MaxOffsetIndex, MaxOffsetIndex, MaxStartPosition};
    for (int i = 0; i < 3; ++i) {
        if (values[i] < 0 || values[i] > limits[i]) {
            return malformed(QStringLiteral("スタートファイルの値 '%1' が範囲外です"
                                            "（オフセットは 0～20、開始位置は 0～150）。")
                                 .arg(values[i]));
        }
    }
    result.values.horzOffsetIndex = values[0];
    result.values.vertOffsetIndex = values[1];
    result.values.startPosition = values[2];
    return result;
}

QByteArray StartFile::format(const StartFileValues& values)
{
    QByteArray bytes = QByteArray::number(values.horzOffsetIndex) + ',' +
                       QByteArray::number(values.vertOffsetIndex) + ',' +
                       QByteArray::number(values.startPosition) + "\r\n";
    bytes += values.note;
    bytes += "\r\n";
    return bytes;
}

bool StartFile::write(const QString& path, const StartFileValues& values, QString* error)
{
    QString reason;
    if (!writeFileAtomically(path, format(values), &reason)) {
        if (error) {
            *error = QStringLiteral("スタートファイルを保存できません。\n%1\n%2")
                         .arg(QDir::toNativeSeparators(path), reason);
        }
        return false;
    }
    return true;
}
