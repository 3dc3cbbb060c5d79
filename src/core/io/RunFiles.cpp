#include "core/io/RunFiles.h"

#include "core/io/FolderLock.h"
#include "core/model/LabelType.h"

#include <QCoreApplication>
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
    m_lock = std::make_unique<FolderLock>(QDir(m_dir).filePath(QString::fromLatin1(LockName)));
    QString reason;
    switch (m_lock->lock(waitMs, &reason)) {
    case FolderLock::Result::Locked:
        return true;
    case FolderLock::Result::NoFile:
        m_lock.reset();
        return true;
    case FolderLock::Result::Busy:
        break;
    }
    const FolderLock::Holder holder = m_lock->holder();
    if (error)
        *error = QCoreApplication::translate("RunFiles",
                                             "別の Rondelmaker（%1、プロセス %2）が印刷中です。"
                                             "しばらくしてからもう一度試してください。")
                     .arg(holder.application.isEmpty() ? QStringLiteral("?") : holder.application)
                     .arg(holder.pid);
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
