#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class FolderLock;

// The access tokens of the service, in "tokens.json" in its state folder.
// The file keeps each token's name and the SHA-256 of the token, never the
// token itself: `add` makes a random token and hands it out once. The file
// is readable by its owner alone and replaced atomically under a lock, so
// that two administrators adding tokens at once lose neither.
//
// The running service reads the file again whenever it changed, so that a
// token added or removed from the command line counts at the next request.
// A file it cannot read counts as tokens that nobody holds: every request
// is refused until it is mended.
class TokenStore {
public:
    static constexpr const char* FileName = "tokens.json";

    struct Entry {
        QString name;
        QByteArray sha256; // 32 bytes
        QDateTime created; // UTC
    };

    explicit TokenStore(const QString& stateDir);

    QString path() const { return m_path; }

    // Letters, digits, ".", "_" and "-", 1 to 64 of them, beginning with a
    // letter or a digit: a name that is also a folder's name.
    static bool validName(const QString& name);

    // The tokens of the file; nullopt with *error when it is unreadable.
    std::optional<QList<Entry>> read(QString* error) const;
    // A new token of this name, or nullopt with *error (a name in use, a
    // file that cannot be written).
    std::optional<QString> add(const QString& name, QString* error);
    bool remove(const QString& name, QString* error);

    // For the running service, the file reread when it changed:
    // whether any token exists (or the file is damaged),
    bool anyToken();
    // and the name of the token presented, or nullopt for none.
    std::optional<QString> nameOf(QByteArrayView token);

private:
    void refresh();
    bool lock(FolderLock& held, QString* error) const;
    bool write(const QList<Entry>& entries, QString* error) const;

    QString m_path;
    QString m_lockPath;
    QByteArray m_seen; // the file's identity when it was read last
    QList<Entry> m_entries;
    bool m_damaged = false;
};
