#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <unistd.h>

// A PostgreSQL server of the test's own: a cluster made in a temporary
// folder, listening on a Unix socket there only, run by an unprivileged user
// ("nobody" when the tests run as root, as PostgreSQL refuses root), with a
// role "labels" that owns a database "labels". Stopped at the end of the
// scope; stop() and start() let a test take it away in between. When the
// server's programs are missing, skipReason() says so and the test should
// QSKIP.
class PostgresServer {
public:
    static constexpr const char* Bin = "/usr/lib/postgresql/15/bin";

    explicit PostgresServer(int port = 54000 + int(getpid() % 1000))
        : m_port(port)
    {
        if (!QFile::exists(QStringLiteral("%1/initdb").arg(QLatin1String(Bin)))) {
            m_skipReason = QStringLiteral("needs PostgreSQL 15 (scripts/setup --test)");
            return;
        }
        // nobody must reach the folder: the temporary folder is root's.
        QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777));
        if (!run("initdb", {"-D", data(), "-U", "labels", "--auth=trust", "-E", "UTF8",
                            "--no-sync", "--locale=C"}) ||
            !start() ||
            !run("createdb", {"-h", m_dir.path(), "-p", QString::number(m_port), "-U", "labels",
                              "labels"}))
            m_skipReason = QStringLiteral("cannot start PostgreSQL: %1").arg(m_output);
    }
    ~PostgresServer()
    {
        if (m_running)
            stop();
    }
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    bool isReady() const { return m_skipReason.isEmpty(); }
    QString skipReason() const { return m_skipReason; }
    // The registry setting that names the server's database.
    QString url() const
    {
        return QStringLiteral("postgresql://labels@/labels?host=%1&port=%2")
            .arg(m_dir.path())
            .arg(m_port);
    }
    QString socketFolder() const { return m_dir.path(); }
    int port() const { return m_port; }

    bool start()
    {
        m_running = run("pg_ctl", {"-D", data(), "-w", "-l", m_dir.filePath("log"), "-o",
                                   QStringLiteral("-k %1 -p %2 -c listen_addresses=''")
                                       .arg(m_dir.path())
                                       .arg(m_port),
                                   "start"});
        return m_running;
    }
    bool stop()
    {
        m_running = !run("pg_ctl", {"-D", data(), "-w", "-m", "fast", "stop"});
        return !m_running;
    }
    // psql's answer to one statement, unaligned and without headers.
    QString query(const QString& sql)
    {
        run("psql", {"-h", m_dir.path(), "-p", QString::number(m_port), "-U", "labels", "-At",
                     "-c", sql, "labels"});
        return m_output.trimmed();
    }

private:
    QString data() const { return m_dir.filePath(QStringLiteral("data")); }

    bool run(const char* program, const QStringList& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        const QString path = QStringLiteral("%1/%2").arg(QLatin1String(Bin), QLatin1String(program));
        if (geteuid() == 0)
            process.start(QStringLiteral("runuser"),
                          QStringList{"-u", "nobody", "--", path} + arguments);
        else
            process.start(path, arguments);
        if (!process.waitForFinished(60000))
            return false;
        m_output = QString::fromLocal8Bit(process.readAllStandardOutput() +
                                          process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QTemporaryDir m_dir;
    int m_port;
    bool m_running = false;
    QString m_output;
    QString m_skipReason;
};
