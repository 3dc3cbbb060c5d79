#include "core/registry/RegistrySetup.h"

#include "core/io/StateFile.h"
#include "core/model/LabelType.h"
#include "core/numbering/Continuation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// "registry=..." of a small configuration file: key=value lines, "#" starts
// a comment. Empty when the file or the key is not there.
QString registrySetting(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return {};
    }
    const QList<QByteArray> lines = file.read(64 * 1024).split('\n');
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed() == QLatin1String("registry"))
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

// The job of the state's record as a job of the registry.
RegistryJob importedJob(const SavedState& state, const QString& stateDir, const QDateTime& saved)
{
    const PrintedJob& printed = *state.lastJob;
    RegistryJob job;
    job.reservedAt = printed.printedAt.isValid() ? printed.printedAt : saved;
    job.station = Station::ofThisProcess(stateDir);
    job.printer = state.labelPrinter.pdfFile.isEmpty() ? state.labelPrinter.printerName
                                                        : state.labelPrinter.pdfFile;
    job.design = state.design;
    // The design as the job started it.
    job.design.type = printed.run.type == BlankType1 ? 1 : printed.run.type;
    job.design.firstNumber = printed.run.firstNumber;
    job.job = printed;
    const Continuation next = continueAfterJob(printed.run, printed.startPosition);
    job.nextPosition = next.startPosition;
    job.movesNumbering = labelType(printed.run.type).hasNumber();
    job.numberingAfter = {next.firstNumber, next.letter1, next.letter2, 0};
    return job;
}

} // namespace

namespace RegistrySetup {

Choice choose(const QString& stateDir, const QString& commandLine, const QString& systemConfig)
{
    Choice choice;
    QString text = commandLine;
    choice.source = QStringLiteral("--registry");
    const QString local = QDir(stateDir).filePath(QString::fromLatin1(ConfigName));
    for (const QString& file : {local, systemConfig}) {
        if (!text.isEmpty() || !choice.error.isEmpty())
            break;
        text = registrySetting(file, &choice.error);
        choice.source = QDir::toNativeSeparators(file);
    }
    if (!choice.error.isEmpty())
        return choice;
    if (text.isEmpty()) {
        choice.source.clear();
        choice.target.file = QDir(QFileInfo(stateDir).absoluteFilePath())
                                 .filePath(QString::fromLatin1(FileName));
        return choice;
    }
    const std::optional<RegistryTarget> target = RegistryTarget::parse(text, &choice.error);
    if (target)
        choice.target = *target;
    else
        choice.error = QStringLiteral("%1: %2").arg(choice.source, choice.error);
    return choice;
}

std::unique_ptr<SqlRegistry> open(const RegistryTarget& target, const QString& stateDir)
{
    std::unique_ptr<SqlRegistry> registry = SqlRegistry::open(target);
    if (!registry->isOpen() || !registry->wasCreated())
        return registry;
    const QString statePath = StateFile::pathIn(stateDir);
    const StateFile::ReadResult state = StateFile::read(statePath);
    if (state.status != StateFile::ReadResult::Ok || !state.state.lastJob)
        return registry;
    const RegistryJob job =
        importedJob(state.state, stateDir, QFileInfo(statePath).lastModified().toUTC());
    if (const std::optional<qint64> id = registry->reserve(job, 0))
        registry->confirm(*id);
    return registry;
}

} // namespace RegistrySetup
