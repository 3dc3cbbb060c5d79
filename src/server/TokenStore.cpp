#include "server/TokenStore.h"

#include "core/io/AtomicFile.h"
#include "core/io/FolderLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* Format = "rondelmaker-tokens";
constexpr int Version = 1;
constexpr qint64 MaxFileSize = 1024 * 1024;

QByteArray hashOf(QByteArrayView token)
{
    return QCryptographicHash::hash(token, QCryptographicHash::Sha256);
}

// Equal without telling, by its time, how much of it was.
bool sameHash(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

// The file's inode, size and time of change: a replaced file is a new one.
QByteArray identityOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QByteArrayLiteral("none");
    return QByteArray::number(qulonglong(info.st_ino)) + ':' + QByteArray::number(info.st_size) +
           ':' + QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_mtim.tv_nsec));
}

// An administrator running this as root writes for the service's user: the
// files go to the owner of the state folder, or the service could not read
// its own tokens.
void giveToFolderOwner(const QString& path)
{
    if (::geteuid() != 0)
        return;
    struct stat folder {};
    if (::stat(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &folder) != 0)
        return;
    if (::chown(QFile::encodeName(path).constData(), folder.st_uid, folder.st_gid) != 0) {
        // the service then says that it cannot read the file
    }
}

} // namespace

TokenStore::TokenStore(const QString& stateDir)
    : m_path(QDir(stateDir).filePath(QString::fromLatin1(FileName))),
      m_lockPath(QDir(stateDir).filePath(QStringLiteral("tokens.lock")))
{
}

bool TokenStore::validName(const QString& name)
{
    static const QRegularExpression pattern(
        QStringLiteral("\\A[A-Za-z0-9][A-Za-z0-9._-]{0,63}\\z"));
    return pattern.match(name).hasMatch();
}

std::optional<QList<TokenStore::Entry>> TokenStore::read(QString* error) const
{
    QFile file(m_path);
    if (!file.exists())
        return QList<Entry>();
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaxFileSize + 1);
    const auto damaged = [&](const QString& why) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), why);
        return std::nullopt;
    };
    if (bytes.size() > MaxFileSize)
        return damaged(QStringLiteral("larger than a token file can be"));
    QJsonParseError parsed;
    const QJsonObject object = QJsonDocument::fromJson(bytes, &parsed).object();
    if (parsed.error != QJsonParseError::NoError ||
        object.value(QStringLiteral("format")).toString() != QLatin1String(Format))
        return damaged(QStringLiteral("not a token file of rondelmaker-server"));
    if (object.value(QStringLiteral("version")).toInt() != Version)
        return damaged(QStringLiteral("a token file of another version"));
    QList<Entry> entries;
    for (const QJsonValue& value : object.value(QStringLiteral("tokens")).toArray()) {
        const QJsonObject token = value.toObject();
        Entry entry;
        entry.name = token.value(QStringLiteral("name")).toString();
        entry.sha256 =
            QByteArray::fromHex(token.value(QStringLiteral("sha256")).toString().toLatin1());
        entry.created =
            QDateTime::fromString(token.value(QStringLiteral("created")).toString(), Qt::ISODate);
        if (!validName(entry.name) || entry.sha256.size() != 32)
            return damaged(QStringLiteral("a token without a valid name or hash"));
        entries << entry;
    }
    return entries;
}

bool TokenStore::write(const QList<Entry>& entries, QString* error) const
{
    QJsonArray tokens;
    for (const Entry& entry : entries)
        tokens.append(QJsonObject{{"name", entry.name},
                                  {"sha256", QString::fromLatin1(entry.sha256.toHex())},
                                  {"created", entry.created.toString(Qt::ISODate)}});
    const QJsonObject object{
        {"format", QLatin1String(Format)}, {"version", Version}, {"tokens", tokens}};
    // The service's umask makes new files its owner's alone; a file that was
    // opened to others since is closed again before anything goes in.
    if (QFile::exists(m_path))
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!writeFileAtomically(m_path, QJsonDocument(object).toJson(QJsonDocument::Indented), error))
        return false;
    giveToFolderOwner(m_path);
    return true;
}

bool TokenStore::lock(FolderLock& held, QString* error) const
{
    if (held.lock(5000, error) == FolderLock::Result::Locked) {
        giveToFolderOwner(m_lockPath);
        return true;
    }
    if (error->isEmpty())
        *error = QStringLiteral("another rondelmaker-server is changing %1").arg(m_path);
    return false;
}

std::optional<QString> TokenStore::add(const QString& name, QString* error)
{
    if (!validName(name)) {
        *error = QStringLiteral("a token's name is 1 to 64 letters, digits, '.', '_' or '-', "
                                "beginning with a letter or a digit: %1")
                     .arg(name);
        return std::nullopt;
    }
    FolderLock held(m_lockPath);
    if (!lock(held, error))
        return std::nullopt;
    std::optional<QList<Entry>> entries = read(error);
    if (!entries)
        return std::nullopt;
    for (const Entry& entry : *entries) {
        if (entry.name == name) {
            *error = QStringLiteral("a token named %1 exists already (remove it first)").arg(name);
            return std::nullopt;
        }
    }
    QByteArray random(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(random.data()),
                                         reinterpret_cast<quint32*>(random.data() + random.size()));
    const QString token = QStringLiteral("rmk_") +
                          QString::fromLatin1(random.toBase64(QByteArray::Base64UrlEncoding |
                                                              QByteArray::OmitTrailingEquals));
    entries->append({name, hashOf(token.toLatin1()), QDateTime::currentDateTimeUtc()});
    if (!write(*entries, error))
        return std::nullopt;
    return token;
}

bool TokenStore::remove(const QString& name, QString* error)
{
    FolderLock held(m_lockPath);
    if (!lock(held, error))
        return false;
    std::optional<QList<Entry>> entries = read(error);
    if (!entries)
        return false;
    const qsizetype before = entries->size();
    entries->removeIf([&name](const Entry& entry) { return entry.name == name; });
    if (entries->size() == before) {
        *error = QStringLiteral("no token named %1").arg(name);
        return false;
    }
    return write(*entries, error);
}

void TokenStore::refresh()
{
    const QByteArray identity = identityOf(m_path);
    if (identity == m_seen)
        return;
    m_seen = identity;
    QString error;
    const std::optional<QList<Entry>> entries = read(&error);
    m_damaged = !entries;
    m_entries = entries.value_or(QList<Entry>());
    if (m_damaged)
        std::fprintf(stderr,
                     "rondelmaker-server: %s\n  every request is refused until it is mended\n",
                     error.toLocal8Bit().constData());
}

bool TokenStore::anyToken()
{
    refresh();
    return m_damaged || !m_entries.isEmpty();
}

std::optional<QString> TokenStore::nameOf(QByteArrayView token)
{
    refresh();
    if (token.isEmpty())
        return std::nullopt;
    const QByteArray hash = hashOf(token);
    std::optional<QString> found;
    for (const Entry& entry : m_entries) {
        if (sameHash(entry.sha256, hash))
            found = entry.name;
    }
    return found;
}
