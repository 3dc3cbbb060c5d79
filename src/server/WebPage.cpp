#include "server/WebPage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace WebPage {

namespace {

QByteArray typeOf(const QString& name)
{
    static const std::pair<const char*, const char*> Types[] = {
        {".html", "text/html; charset=utf-8"},        {".js", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},          {".svg", "image/svg+xml"},
        {".json", "application/json; charset=utf-8"},
    };
    for (const auto& [suffix, type] : Types)
        if (name.endsWith(QLatin1String(suffix)))
            return type;
    return "application/octet-stream";
}

HttpReply notFound()
{
    return HttpReply::error(404, "not-found",
                            QCoreApplication::translate("Server", "そのアドレスはありません。"));
}

HttpReply pageReply(const QByteArray& body, const QByteArray& type)
{
    HttpReply reply;
    reply.contentType = type;
    reply.body = body;
    reply.securityPolicy = SecurityPolicy;
    reply.addHeader("Referrer-Policy", "no-referrer");
    reply.addHeader("X-Frame-Options", "DENY");
    return reply;
}

// The resource a path names, or an empty string for none.
QString resourceOf(const QStringList& segments)
{
    if (segments == QStringList{QString()})
        return QStringLiteral(":/web/index.html");
    if (segments.size() < 2 || segments.first() != QLatin1String("web") ||
        segments.contains(QString()))
        return {};
    const QString path = QStringLiteral(":/") + segments.join(QLatin1Char('/'));
    const QFileInfo info(path);
    return info.exists() && info.isFile() ? path : QString();
}

} // namespace

HttpReply answer(const QByteArray& method, const QStringList& segments)
{
    const bool texts =
        segments.size() == 3 && segments[0] == QLatin1String("web") &&
        segments[1] == QLatin1String("texts") &&
        (segments[2] == QLatin1String("ja.json") || segments[2] == QLatin1String("en.json"));
    const QString resource = texts ? QString() : resourceOf(segments);
    if (!texts && resource.isEmpty())
        return notFound();
    if (method != "GET" && method != "HEAD") {
        HttpReply reply = HttpReply::error(
            405, "method-not-allowed",
            QCoreApplication::translate("Server", "このアドレスは %1 を受け付けません。")
                .arg(QString::fromLatin1(method)));
        reply.addHeader("Allow", "GET, HEAD");
        return reply;
    }
    if (texts)
        return pageReply(
            QJsonDocument(WebTexts::texts(segments[2].left(2))).toJson(QJsonDocument::Compact),
            typeOf(segments[2]));
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return notFound();
    return pageReply(file.readAll(), typeOf(resource));
}

} // namespace WebPage
