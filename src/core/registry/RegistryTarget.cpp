#include "core/registry/RegistryTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

namespace {

QString passwordRefused()
{
    return QCoreApplication::translate(
        "RegistryTarget",
        "a password does not belong in the registry setting: keep it in ~/.pgpass");
}

// The client library's options that a station may need, passed on as they
// are; anything else is refused rather than silently ignored, so that a
// setting that asks for encryption never connects without it.
const char* const PassedOptions[] = {"sslmode", "sslrootcert",     "sslcert",
                                     "sslkey",  "connect_timeout", "application_name"};

bool passed(const QString& name)
{
    for (const char* option : PassedOptions) {
        if (name == QLatin1String(option))
            return true;
    }
    return false;
}

bool wholeNumber(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= low && value <= high && !text.startsWith(QLatin1Char('+'));
}

// The query's options into the target; the problem, or nothing.
QString takeOptions(const QUrlQuery& query, RegistryTarget& target)
{
    QStringList seen;
    for (const auto& [name, value] : query.queryItems(QUrl::FullyDecoded)) {
        const auto badValue = [&name = name, &value = value] {
            return QCoreApplication::translate("RegistryTarget",
                                               "the registry setting's %1 cannot be '%2'")
                .arg(name, value);
        };
        if (name.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0)
            return passwordRefused();
        if (seen.contains(name))
            return QCoreApplication::translate("RegistryTarget",
                                               "the registry setting names %1 twice")
                .arg(name);
        seen << name;
        if (name == QLatin1String("host")) {
            target.host = value;
        } else if (name == QLatin1String("port")) {
            if (!wholeNumber(value, 1, 65535))
                return badValue();
            target.port = value.toInt();
        } else if (passed(name)) {
            // The driver joins the options with ';' into the client
            // library's settings: a value cannot hold one.
            if (value.isEmpty() || value.contains(QLatin1Char(';')) ||
                (name == QLatin1String("sslmode") &&
                 !QStringList{"disable", "allow", "prefer", "require", "verify-ca", "verify-full"}
                      .contains(value)) ||
                (name == QLatin1String("connect_timeout") && !wholeNumber(value, 0, 3600)))
                return badValue();
            target.options.append({name, value});
        } else {
            return QCoreApplication::translate(
                       "RegistryTarget",
                       "the registry setting's option %1 is not one Rondelmaker passes on "
                       "(sslmode, sslrootcert, sslcert, sslkey, connect_timeout, "
                       "application_name, host, port)")
                .arg(name);
        }
    }
    return {};
}

} // namespace

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
        if (url.userInfo().contains(QLatin1Char(':')))
            return refuse(passwordRefused());
        target.backend = Backend::PostgreSQL;
        target.user = url.userName();
        target.host = url.host();
        target.port = url.port(-1);
        target.database = url.path().mid(1);
        if (const QString problem = takeOptions(QUrlQuery(url), target); !problem.isEmpty())
            return refuse(problem);
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
