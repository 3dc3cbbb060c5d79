#include "core/registry/SqlRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

std::optional<RegistryTarget> RegistryTarget::parse(const QString& text, QString* error)
{
    const auto refuse = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return refuse(
            QCoreApplication::translate("RegistryTarget", "the registry setting is empty"));
    RegistryTarget target;
    if (trimmed.startsWith(QLatin1String("postgresql:")) ||
        trimmed.startsWith(QLatin1String("postgres:"))) {
        const QUrl url(trimmed, QUrl::StrictMode);
        if (!url.isValid())
            return refuse(
                QCoreApplication::translate("RegistryTarget", "not a PostgreSQL address: %1")
                    .arg(url.errorString()));
        if (!url.password().isEmpty())
            return refuse(QCoreApplication::translate(
                "RegistryTarget",
                "a password does not belong in the registry setting: keep it in ~/.pgpass"));
        target.backend = Backend::PostgreSQL;
        target.user = url.userName();
        target.host = url.host();
        target.port = url.port(-1);
        target.database = url.path().mid(1);
        const QUrlQuery query(url);
        if (query.hasQueryItem(QStringLiteral("host")))
            target.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
        if (query.hasQueryItem(QStringLiteral("port")))
            target.port = query.queryItemValue(QStringLiteral("port")).toInt();
        if (target.database.isEmpty() || target.database.contains(QLatin1Char('/')))
            return refuse(QCoreApplication::translate(
                              "RegistryTarget", "the PostgreSQL address names no database: %1")
                              .arg(trimmed));
        return target;
    }
    if (trimmed.startsWith(QLatin1String("sqlite:"))) {
        const QUrl url(trimmed);
        target.file = url.isLocalFile() ? url.toLocalFile() : url.path();
    } else if (trimmed.contains(QLatin1String("://"))) {
        return refuse(
            QCoreApplication::translate("RegistryTarget",
                                        "unknown kind of registry: %1 (postgresql:// or a file)")
                .arg(trimmed));
    } else {
        target.file = trimmed;
    }
    if (target.file.isEmpty())
        return refuse(
            QCoreApplication::translate("RegistryTarget", "the registry setting names no file"));
    target.file = QDir::cleanPath(QFileInfo(target.file).absoluteFilePath());
    return target;
}

QString RegistryTarget::shown() const
{
    if (backend == Backend::SQLite)
        return QDir::toNativeSeparators(file);
    // As the setting is written: a socket folder and its port as options.
    const bool socket = host.startsWith(QLatin1Char('/'));
    QString text = QStringLiteral("postgresql://%1@%2").arg(user, socket ? QString() : host);
    if (!socket && port > 0)
        text += QStringLiteral(":%1").arg(port);
    text += QLatin1Char('/') + database;
    if (socket)
        text += QStringLiteral("?host=%1").arg(host) +
                (port > 0 ? QStringLiteral("&port=%1").arg(port) : QString());
    return text;
}
