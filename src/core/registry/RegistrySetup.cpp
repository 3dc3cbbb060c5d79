#include "core/registry/RegistrySetup.h"

#include "core/io/StateFile.h"
#include "core/model/LabelType.h"
#include "core/numbering/Continuation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

// The "key=value" lines of a small configuration file ("#" starts a
// comment); none when the file is not there.
QHash<QString, QString> settingsIn(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return {};
    }
    QHash<QString, QString> settings;
    const QList<QByteArray> lines = file.read(64 * 1024).split('\n');
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).trimmed();
        if (eq > 0 && !settings.contains(key))
            settings.insert(key, line.mid(eq + 1).trimmed());
    }
    return settings;
}

// "registry_timeout=" in seconds, as milliseconds; 0 when it is no number
// of seconds from 1 to 600.
int deadlineOf(const QString& text)
{
    bool number = false;
    const double seconds = text.toDouble(&number);
    return number && seconds >= 1 && seconds <= 600 ? int(seconds * 1000) : 0;
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
    const Continuation next =
        continueAfterJob(printed.run, printed.startPosition, printed.sheet.sheet);
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
    QString deadline, deadlineSource;
    const QString local = QDir(stateDir).filePath(QString::fromLatin1(ConfigName));
    for (const QString& file : {local, systemConfig}) {
        if (!text.isEmpty() && !deadlineSource.isEmpty())
            break;
        const QHash<QString, QString> settings = settingsIn(file, &choice.error);
        if (!choice.error.isEmpty())
            return choice;
        if (text.isEmpty() && settings.contains(QStringLiteral("registry"))) {
            text = settings.value(QStringLiteral("registry"));
            choice.source = QDir::toNativeSeparators(file);
        }
        if (deadlineSource.isEmpty() && settings.contains(QStringLiteral("registry_timeout"))) {
            deadline = settings.value(QStringLiteral("registry_timeout"));
            deadlineSource = QDir::toNativeSeparators(file);
        }
    }
    const int deadlineMs =
        deadlineSource.isEmpty() ? RegistryTarget::DefaultDeadlineMs : deadlineOf(deadline);
    if (deadlineMs == 0) {
        choice.error = QCoreApplication::translate(
                           "RegistrySetup",
                           "%1: registry_timeout is a number of seconds from 1 to 600, not '%2'")
                           .arg(deadlineSource, deadline);
        return choice;
    }
    if (text.isEmpty()) {
        choice.source.clear();
        choice.target.file =
            QDir(QFileInfo(stateDir).absoluteFilePath()).filePath(QString::fromLatin1(FileName));
    } else if (const std::optional<RegistryTarget> target =
                   RegistryTarget::parse(text, &choice.error)) {
        choice.target = *target;
    } else {
        choice.error = QStringLiteral("%1: %2").arg(choice.source, choice.error);
    }
    choice.target.deadlineMs = deadlineMs;
    return choice;
}

std::unique_ptr<SqlRegistry> open(const RegistryTarget& target, const QString& stateDir,
                                  bool mayCreate)
{
    std::unique_ptr<SqlRegistry> registry = SqlRegistry::open(target, mayCreate);
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

std::unique_ptr<LabelRegistry> openFor(Use use, RegistryTarget target, const QString& stateDir)
{
    const auto empty = [&target] {
        target.backend = RegistryTarget::Backend::SQLite;
        target.file = QStringLiteral(":memory:");
        target.readOnly = false;
    };
    target.readOnly = use == Use::Read;
    if (use != Use::Record && target.backend == RegistryTarget::Backend::SQLite &&
        !QFileInfo::exists(target.file) && QFileInfo(target.file).absoluteDir().exists())
        empty();
    std::unique_ptr<SqlRegistry> registry = open(target, stateDir, use == Use::Record);
    if (!registry->isOpen() && registry->isEmpty() && use != Use::Record) {
        empty();
        registry = open(target, stateDir);
    }
    return registry;
}

} // namespace RegistrySetup
