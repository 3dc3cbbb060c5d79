#include "core/io/StateLocation.h"

#include "core/io/AtomicFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace StateLocation {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

// A start file is a few bytes; a default larger than a start file may be is
// not used.
bool copyDefault(const QString& from, const QString& to, QString* error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = shown(from) + QLatin1Char('\n') + source.errorString();
        return false;
    }
    const QByteArray bytes = source.read(StartFile::MaxFileSize + 1);
    if (source.error() != QFileDevice::NoError || bytes.size() > StartFile::MaxFileSize) {
        *error = shown(from) + QLatin1Char('\n') + source.errorString();
        return false;
    }
    QString reason;
    if (!writeFileAtomically(to, bytes, &reason)) {
        *error = shown(to) + QLatin1Char('\n') + reason;
        return false;
    }
    return true;
}

} // namespace

Inputs Inputs::ofThisProgram()
{
    Inputs inputs;
    inputs.executableDir = QCoreApplication::applicationDirPath();
    inputs.configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    inputs.adminStartFile = QStringLiteral("/etc/rondelmaker/start.txt");
    inputs.shippedStartFile = QDir::cleanPath(
        inputs.executableDir + QStringLiteral("/../share/rondelmaker/") + StartFile::FileName);
    return inputs;
}

Result decide(const Inputs& inputs)
{
    Result result;
    result.dir = inputs.executableDir;
    const QFileInfo beside(StartFile::pathIn(inputs.executableDir));
    if (beside.exists() || beside.isSymLink())
        return result;
    // An installed program (its shipped default beside it in share/) keeps
    // its files in the user's folder even when it may write to bin, as the
    // administrator may; a build tree has no shipped default there.
    const bool installed =
        !inputs.shippedStartFile.isEmpty() && QFileInfo(inputs.shippedStartFile).isFile();
    if (!installed && QFileInfo(inputs.executableDir).isWritable())
        return result;

    result.dir = inputs.configDir;
    const QString target = StartFile::pathIn(inputs.configDir);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return result;
    QString from;
    for (const QString& candidate : {inputs.adminStartFile, inputs.shippedStartFile}) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isFile()) {
            from = candidate;
            break;
        }
    }
    if (from.isEmpty())
        return result; // nothing to start from: reading reports the missing file
    if (!QDir().mkpath(inputs.configDir)) {
        result.error =
            QCoreApplication::translate("StateLocation", "設定フォルダーを作れません。\n%1")
                .arg(shown(inputs.configDir));
        return result;
    }
    // Saves into the folder hold its lock (a job's cleanup removes any
    // temporary it finds while it holds it); so does the first copy.
    RunFiles files(inputs.configDir);
    QString reason;
    files.lock(&reason);
    if (QFileInfo::exists(target))
        return result; // another first run made it meanwhile
    if (!copyDefault(from, target, &reason)) {
        result.error =
            QCoreApplication::translate("StateLocation", "スタートファイルを作れません。\n%1")
                .arg(reason);
        return result;
    }
    result.created = true;
    result.createdFrom = from;
    return result;
}

QString createdNotice()
{
    return QCoreApplication::translate("StateLocation",
                                       "スタートファイルと状態は設定フォルダーに保存します。");
}

QString createdDetail(const Result& result)
{
    return QCoreApplication::translate("StateLocation", "%1\n（%2 から作成しました）")
        .arg(shown(StartFile::pathIn(result.dir)), shown(result.createdFrom));
}

} // namespace StateLocation
