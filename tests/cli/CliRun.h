#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// rondelmaker-cli run once, as a laboratory system runs it.
struct Result {
    int code = -1; // -1: it did not end by itself
    QString out, err;
};

inline Result cli(const QStringList& arguments)
{
    QProcess process;
    // As a script on a system without a session runs it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(RONDEL_CLI), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
