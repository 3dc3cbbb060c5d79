#include "server/HttpReply.h"

#include <QJsonDocument>

#include <cstdio>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 204:
        return "No Content";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 409:
        return "Conflict";
    case 411:
        return "Length Required";
    case 413:
        return "Content Too Large";
    case 414:
        return "URI Too Long";
    case 415:
        return "Unsupported Media Type";
    case 422:
        return "Unprocessable Content";
    case 423:
        return "Locked";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    default:
        return status < 400 ? "OK" : status < 500 ? "Bad Request" : "Internal Server Error";
    }
}

} // namespace

HttpReply HttpReply::json(int status, const QJsonObject& object)
{
    HttpReply reply;
    reply.status = status;
    reply.contentType = "application/json; charset=utf-8";
    reply.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return reply;
}

HttpReply HttpReply::document(const QByteArray& body, const QByteArray& type,
                              const QString& fileName)
{
    HttpReply reply;
    reply.contentType = type;
    reply.body = body;
    // The names are made here of digits and ASCII letters: no quoting needed.
    reply.addHeader("Content-Disposition", "attachment; filename=\"" + fileName.toLatin1() + '"');
    return reply;
}

HttpReply HttpReply::error(int status, const char* code, const QString& message,
                           const QString& field)
{
    QJsonObject object{{"error", QLatin1String(code)}, {"message", message}};
    if (!field.isEmpty())
        object.insert(QStringLiteral("field"), field);
    return json(status, object);
}

HttpReply HttpReply::noContent()
{
    HttpReply reply;
    reply.status = 204;
    return reply;
}

QString HttpReply::errorCode() const
{
    if (status < 400)
        return {};
    return QJsonDocument::fromJson(body).object().value(QStringLiteral("error")).toString();
}

QByteArray serialize(const HttpReply& reply, bool closing, bool headOnly)
{
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    const auto header = [&out](const QByteArray& name, const QByteArray& value) {
        out += name + ": " + value + "\r\n";
    };
    if (!reply.contentType.isEmpty())
        header("Content-Type", reply.contentType);
    if (reply.status != 204)
        header("Content-Length", QByteArray::number(reply.body.size()));
    // Answers of an API: never guessed at, kept or framed by a browser.
    header("X-Content-Type-Options", "nosniff");
    header("Cache-Control", "no-store");
    header("Content-Security-Policy", reply.securityPolicy);
    for (const auto& [name, value] : reply.headers)
        header(name, value);
    if (closing)
        header("Connection", "close");
    out += "\r\n";
    if (!headOnly && reply.status != 204)
        out += reply.body;
    return out;
}

void logRequest(QByteArrayView method, QByteArrayView target, int status, qint64 ms,
                const QString& tokenName)
{
    const auto printable = [](QByteArrayView text) {
        QByteArray shown;
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (u <= 0x20 || u >= 0x7f || c == '\\')
                shown += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
            else
                shown += c;
        }
        return shown.isEmpty() ? QByteArray("-") : shown;
    };
    const qsizetype query = target.indexOf('?');
    const QByteArray line = printable(method) + ' ' +
                            printable(query >= 0 ? target.first(query) : target) + ' ' +
                            QByteArray::number(status) + ' ' + QByteArray::number(ms) + " ms " +
                            printable(tokenName.toUtf8()) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}
