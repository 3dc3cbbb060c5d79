#include "core/io/StateLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// Where the window and the command line keep start.txt and state.json.
class TestStateLocation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decidesTheFolder_data();
    void decidesTheFolder();
};

namespace {

// A folder as read-only as /usr/bin for root too: a read-only bind mount
// (an unprivileged user gets the mode). Dropping only the effective user
// would not do: the writability check asks for the real one.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : m_path(QFile::encodeName(path))
    {
        const char* p = m_path.constData();
        if (geteuid() != 0)
            m_ok = ::chmod(p, 0555) == 0;
        else if ((m_bound = ::mount(p, p, nullptr, MS_BIND, nullptr) == 0))
            m_ok = ::mount(nullptr, p, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_bound)
            ::umount2(m_path.constData(), MNT_DETACH);
        else
            ::chmod(m_path.constData(), 0755);
    }
    bool ok() const { return m_ok; }

private:
    QByteArray m_path;
    bool m_bound = false;
    bool m_ok = false;
};

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

void TestStateLocation::decidesTheFolder_data()
{
    // What lies where before the start: "e" a start file beside the
    // executable, "w" its folder writable, "c" one in the configuration
    // folder, "a" the administrator's, "s" the shipped one.
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("inConfig");
    QTest::addColumn<QByteArray>("startFile"); // afterwards, in the decided folder
    QTest::addColumn<bool>("created");
    QTest::newRow("copied program folder") << "eas" << false << QByteArray("exe") << false;
    QTest::newRow("build tree without start file")
        << "wa" << false << QByteArray("(none)") << false;
    QTest::newRow("installed, run by root who may write to bin")
        << "ws" << true << QByteArray("shipped") << true;
    QTest::newRow("installed, first run") << "as" << true << QByteArray("admin") << true;
    QTest::newRow("installed, no calibration") << "s" << true << QByteArray("shipped") << true;
    QTest::newRow("installed, later run") << "cas" << true << QByteArray("config") << false;
    QTest::newRow("installed, no default") << "" << true << QByteArray("(none)") << false;
}

void TestStateLocation::decidesTheFolder()
{
    QFETCH(QString, given);
    QFETCH(bool, inConfig);
    QFETCH(QByteArray, startFile);
    QFETCH(bool, created);
    QTemporaryDir root;
    const QString home = root.filePath("home");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
    QCoreApplication::setApplicationName("Rondelmaker");
    StateLocation::Inputs in = StateLocation::Inputs::ofThisProgram();
    QCOMPARE(in.configDir, home + "/Rondelmaker");
    in.executableDir = root.filePath("bin");
    in.adminStartFile = root.filePath("etc-start.txt");
    in.shippedStartFile = root.filePath("share-start.txt");
    QVERIFY(QDir().mkpath(in.executableDir));
    if (given.contains('e'))
        put(in.executableDir + "/start.txt", "exe");
    if (given.contains('c')) {
        QVERIFY(QDir().mkpath(in.configDir));
        put(in.configDir + "/start.txt", "config");
    }
    if (given.contains('a'))
        put(in.adminStartFile, "admin");
    if (given.contains('s'))
        put(in.shippedStartFile, "shipped");

    std::optional<ReadOnlyFolder> readOnly;
    if (!given.contains('w') && !readOnly.emplace(in.executableDir).ok())
        QSKIP("cannot make a read-only folder (a bind mount needs CAP_SYS_ADMIN)");
    const StateLocation::Result result = StateLocation::decide(in);
    QCOMPARE(result.dir, inConfig ? in.configDir : in.executableDir);
    QCOMPARE(result.error, QString());
    QCOMPARE(result.created, created);
    QCOMPARE(contents(result.dir + "/start.txt"), startFile);
    if (created)
        QVERIFY(StateLocation::createdDetail(result).contains(result.dir));
}

QTEST_GUILESS_MAIN(TestStateLocation)
#include "tst_statelocation.moc"
