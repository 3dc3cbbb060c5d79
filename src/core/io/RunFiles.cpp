#include "core/io/RunFiles.h"

#include "core/model/LabelType.h"

#include <QDir>

namespace {

constexpr const char* LockName = "rondelmaker.lock";

} // namespace

RunFiles::RunFiles(const QString& dir) : m_dir(dir) {}

RunFiles::~RunFiles() = default;

QString RunFiles::startPath() const
{
    return StartFile::pathIn(m_dir);
}

QString RunFiles::statePath() const
{
    return StateFile::pathIn(m_dir);
}

bool RunFiles::lock(QString* error, int waitMs)
{
    if (isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(QDir(m_dir).filePath(QString::fromLatin1(LockName)));
    // A lock whose process has gone is taken over, however young it is.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(waitMs))
        return true;
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_lock.reset();
        return true;
    }
    qint64 pid = 0;
    QString host, application;
    m_lock->getLockInfo(&pid, &host, &application);
    if (error)
        *error = QStringLiteral("別の Rondelmaker（%1、プロセス %2）が印刷中です。"
                                "しばらくしてからもう一度試してください。")
                     .arg(application.isEmpty() ? QStringLiteral("?") : application)
                     .arg(pid);
    m_lock.reset();
    return false;
}

void RunFiles::unlock()
{
    m_lock.reset();
}

bool RunFiles::isLocked() const
{
    return m_lock && m_lock->isLocked();
}

void continueNumbering(LabelDesign& design, const LabelDesign& saved)
{
    const LabelTypeTraits& traits = labelType(design.type);
    if (saved.type != design.type || !traits.hasNumber())
        return;
    design.firstNumber = saved.firstNumber;
    for (int i = 0; i < traits.letterCount; ++i)
        design.setLetter(traits.letters[size_t(i)], saved.letter(traits.letters[size_t(i)]));
}

void applyContinuation(LabelDesign& design, int type, const Continuation& next)
{
    const LabelTypeTraits& traits = labelType(type);
    if (!traits.hasNumber())
        return;
    design.firstNumber = next.firstNumber;
    if (traits.letterCount > 0)
        design.setLetter(traits.letters[0], next.letter1);
    if (traits.letterCount > 1)
        design.setLetter(traits.letters[1], next.letter2);
}
