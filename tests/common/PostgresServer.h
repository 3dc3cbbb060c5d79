#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

#include <sys/types.h>
#include <unistd.h>

// A PostgreSQL server of the test's own: a cluster made in a temporary
// folder, listening on a Unix socket there only (with `tcp` on 127.0.0.1 as
// well, without SSL), run by an unprivileged user ("nobody" when the tests
// run as root, as PostgreSQL refuses root), with a role "labels" that owns a
// database "labels". Stopped at the end of the scope; stop() and start() let
// a test take it away in between, and freeze() stops its processes where
// they stand (SIGSTOP), so that it holds connections open and answers
// nothing. When the server's programs are missing, skipReason() says so and
// the test should QSKIP.
class PostgresServer {
public:
    static constexpr const char* Bin = "/usr/lib/postgresql/15/bin";

    explicit PostgresServer(bool tcp = false, int port = 54000 + int(getpid() % 1000))
        : m_port(port), m_tcp(tcp)
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
        freeze(false);
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
                                   QStringLiteral("-k %1 -p %2 -c listen_addresses='%3'")
                                       .arg(m_dir.path())
                                       .arg(m_port)
                                       .arg(m_tcp ? "127.0.0.1" : ""),
                                   "start"});
        return m_running;
    }
    bool stop()
    {
        m_running = !run("pg_ctl", {"-D", data(), "-w", "-m", "fast", "stop"});
        return !m_running;
    }
    // The postmaster and every process it started, stopped or let go on.
    bool freeze(bool frozen = true)
    {
        QFile pidFile(QDir(data()).filePath(QStringLiteral("postmaster.pid")));
        if (!pidFile.open(QIODevice::ReadOnly))
            return false;
        const QByteArray postmaster = pidFile.readLine().trimmed();
        QList<pid_t> pids = {pid_t(postmaster.toInt())};
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            // "pid (name) state ppid ...": the parent follows the name.
            if (stat.open(QIODevice::ReadOnly)) {
                const QByteArray line = stat.readAll();
                const QList<QByteArray> after = line.mid(line.lastIndexOf(')') + 2).split(' ');
                if (after.value(1) == postmaster)
                    pids << pid_t(entry.toInt());
            }
        }
        for (const pid_t pid : pids)
            ::kill(pid, frozen ? SIGSTOP : SIGCONT);
        return pids.first() > 0;
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
    bool m_tcp;
    bool m_running = false;
    QString m_output;
    QString m_skipReason;
};

// The server frozen for the scope, but for `limitMs` at most: a client that
// never gives up is let go on then, so that its test fails instead of
// hanging.
class ServerFreeze {
public:
    ServerFreeze(PostgresServer& server, int limitMs) : m_server(server)
    {
        m_server.freeze(true);
        m_thaw = std::jthread([this, limitMs](std::stop_token stop) {
            std::mutex mutex;
            std::condition_variable_any ended;
            std::unique_lock lock(mutex);
            ended.wait_for(lock, stop, std::chrono::milliseconds(limitMs), [] { return false; });
            m_server.freeze(false);
        });
    }
    ~ServerFreeze()
    {
        m_thaw.request_stop();
        m_thaw.join();
    }
    ServerFreeze(const ServerFreeze&) = delete;
    ServerFreeze& operator=(const ServerFreeze&) = delete;

private:
    PostgresServer& m_server;
    std::jthread m_thaw;
};
