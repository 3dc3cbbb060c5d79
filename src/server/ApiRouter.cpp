#include "server/ApiRouter.h"

#include "core/i18n/UiLanguage.h"
#include "server/WebPage.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QStringList>

#include <array>

namespace {

using Handler = HttpReply (*)(ApiRoutes::Call&);

struct Route {
    const char* method;
    const char* path;   // under /api/v1/; {id} is a job's number
    const char* params; // the query's names, separated by spaces
    Handler handler;
};

constexpr std::array<Route, 15> Routes = {{
    {"GET", "status", "", ApiRoutes::status},
    {"GET", "printers", "", ApiRoutes::printers},
    {"GET", "jobs", "since type limit", ApiRoutes::jobs},
    {"POST", "jobs", "", ApiRoutes::printJob},
    {"GET", "jobs/{id}", "", ApiRoutes::job},
    {"GET", "jobs/{id}/labels.pdf", "", ApiRoutes::labelsPdf},
    {"GET", "jobs/{id}/record.pdf", "", ApiRoutes::recordPdf},
    {"GET", "jobs/{id}/labels.xls", "", ApiRoutes::labelsXls},
    {"POST", "jobs/{id}/resolve", "", ApiRoutes::resolve},
    {"POST", "jobs/{id}/reprint", "", ApiRoutes::reprint},
    {"POST", "labels", "", ApiRoutes::labels},
    {"GET", "next", "printer output sheet", ApiRoutes::next},
    {"GET", "sheets", "", ApiRoutes::sheets},
    {"GET", "find", "label", ApiRoutes::find},
    {"POST", "preview", "page dpi", ApiRoutes::preview},
}};

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Percent-decoded UTF-8 without control characters; nullopt for anything
// else (a malformed escape, "%00", bytes that are not UTF-8).
std::optional<QString> decoded(QByteArray raw, bool plusIsSpace)
{
    for (qsizetype i = 0; i < raw.size(); ++i)
        if (raw[i] == '%' && !(i + 2 < raw.size() && isHex(raw[i + 1]) && isHex(raw[i + 2])))
            return std::nullopt;
    if (plusIsSpace)
        raw.replace('+', ' ');
    const QByteArray bytes = QByteArray::fromPercentEncoding(raw);
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        return std::nullopt;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
            return std::nullopt;
    return text;
}

// The path's segments; nullopt for a path no route may see.
std::optional<QStringList> segmentsOf(const QByteArray& path)
{
    QStringList segments;
    const QList<QByteArray> raw = path.split('/');
    for (qsizetype i = 1; i < raw.size(); ++i) {
        const std::optional<QString> segment = decoded(raw[i], false);
        if (!segment || *segment == QLatin1String(".") || *segment == QLatin1String("..") ||
            segment->contains(QLatin1Char('/')) || segment->contains(QLatin1Char('\\')))
            return std::nullopt;
        segments << *segment;
    }
    return segments;
}

// The query's names and values; a name twice or a malformed part: nullopt,
// with the name in *bad.
std::optional<QHash<QString, QString>> queryOf(const QByteArray& query, QString* bad)
{
    QHash<QString, QString> values;
    for (const QByteArray& part : query.split('&')) {
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf('=');
        const std::optional<QString> name = decoded(part.left(eq < 0 ? part.size() : eq), true);
        const std::optional<QString> value =
            decoded(eq < 0 ? QByteArray() : part.mid(eq + 1), true);
        if (!name || !value || values.contains(*name)) {
            *bad = name.value_or(QString());
            return std::nullopt;
        }
        values.insert(*name, *value);
    }
    return values;
}

// Whether `segments` (after api/v1) are the route's path; *id takes {id}.
bool matches(const Route& route, const QStringList& segments, QString* id)
{
    const QStringList pattern = QString::fromLatin1(route.path).split(QLatin1Char('/'));
    if (pattern.size() != segments.size())
        return false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == QLatin1String("{id}"))
            *id = segments[i];
        else if (pattern[i] != segments[i])
            return false;
    }
    return true;
}

bool isJson(const QByteArray& contentType)
{
    const QList<QByteArray> parts = contentType.toLower().split(';');
    if (parts.value(0).trimmed() != "application/json")
        return false;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray parameter = parts[i].trimmed().replace(" ", "");
        if (!parameter.isEmpty() && parameter != "charset=utf-8" &&
            parameter != "charset=\"utf-8\"")
            return false;
    }
    return true;
}

// A Host header that names this computer: localhost or a loopback address,
// with or without a port.
bool isLoopbackHost(const QByteArray& host)
{
    QByteArray name = host.trimmed().toLower();
    if (name.startsWith('[')) {
        name = name.mid(1, name.indexOf(']') - 1);
    } else if (const qsizetype colon = name.lastIndexOf(':'); colon >= 0) {
        name.truncate(colon);
    }
    if (name == "localhost" || name.endsWith(".localhost"))
        return true;
    const QHostAddress address(QString::fromLatin1(name));
    return !address.isNull() && address.isLoopback();
}

// The program's language that an Accept-Language header names first
// ("ja", "en-GB", ...); nullopt for another or none.
std::optional<UiLanguage> languageOf(const QByteArray& acceptLanguage)
{
    const QByteArray first =
        acceptLanguage.split(',').value(0).split(';').value(0).trimmed().toLower();
    if (first == "ja" || first.startsWith("ja-"))
        return UiLanguage::Japanese;
    if (first == "en" || first.startsWith("en-"))
        return UiLanguage::English;
    return std::nullopt;
}

HttpReply unauthorized(bool queryToken)
{
    HttpReply reply = HttpReply::error(
        401, "unauthorized",
        queryToken
            ? QCoreApplication::translate(
                  "Server",
                  "トークンはアドレスではなく Authorization: Bearer ヘッダーで送ってください。")
            : QCoreApplication::translate(
                  "Server", "有効なトークンがありません（Authorization: Bearer TOKEN）。"));
    reply.addHeader("WWW-Authenticate", "Bearer realm=\"rondelmaker\"");
    return reply;
}

} // namespace

ApiRouter::ApiRouter(ServerContext& context)
    : m_context(context), m_language(UiLanguages::current())
{
}

RoutedRequest ApiRouter::route(const ApiRequest& request)
{
    RoutedRequest routed;
    // Messages in the language the request asks for, where it is one of the
    // program's; else in the service's.
    routed.language = languageOf(request.acceptLanguage).value_or(m_language);
    const auto answer = [&routed](std::function<HttpReply()> reply) {
        routed.work = [reply = std::move(reply)](ServerRegistry*) { return reply(); };
        return routed;
    };
    const qsizetype question = request.target.indexOf('?');
    const QByteArray path = request.target.left(question < 0 ? request.target.size() : question);
    const QByteArray query = question < 0 ? QByteArray() : request.target.mid(question + 1);
    const std::optional<QStringList> segments = segmentsOf(path);
    if (!segments)
        return answer([] {
            return HttpReply::error(
                400, "bad-path",
                QCoreApplication::translate("Server", "アドレスのパスが正しくありません。"));
        });
    if (segments->value(0) != QLatin1String("api"))
        return answer([method = request.method, segments = *segments] {
            return WebPage::answer(method, segments);
        });
    const bool preflight = request.method == "OPTIONS";
    const bool tokenRequired = m_context.tokens.anyToken() || !m_context.settings.loopbackOnly();
    // Without tokens, only this computer may ask, and a web page that a
    // browser here was made to load under another name (DNS rebinding) is
    // not this computer.
    if (!tokenRequired && !request.host.isEmpty() && !isLoopbackHost(request.host))
        return answer([] {
            return HttpReply::error(
                403, "forbidden",
                QCoreApplication::translate(
                    "Server", "トークンがないあいだは、このコンピューター（localhost）宛ての"
                              "リクエストにだけ答えます。"));
        });
    // A token that is presented must be valid, also where none is required:
    // a removed token is refused, never silently let through.
    const QByteArray authorization = request.authorization.trimmed();
    if (!preflight && (!authorization.isEmpty() || tokenRequired)) {
        const bool bearer = authorization.left(7).toLower() == "bearer ";
        const std::optional<QString> name =
            bearer ? m_context.tokens.nameOf(authorization.mid(7).trimmed()) : std::nullopt;
        if (!name)
            return answer(
                [queryToken = query.contains("token=")] { return unauthorized(queryToken); });
        routed.tokenName = *name;
    }
    const auto shared = std::make_shared<const ApiRequest>(request);
    const Route* chosen = nullptr;
    QString id;
    QByteArrayList allowed;
    const QByteArray method = request.method == "HEAD" ? QByteArray("GET") : request.method;
    if (segments->value(1) == QLatin1String("v1")) {
        for (const Route& route : Routes) {
            if (!matches(route, segments->mid(2), &id))
                continue;
            allowed << route.method;
            if (method == route.method)
                chosen = &route;
        }
    }
    if (!chosen || request.method == "OPTIONS")
        return answer([this, shared, allowed] {
            HttpReply reply = refusal(*shared, allowed);
            addCors(*shared, reply);
            return reply;
        });
    routed.needsRegistry = true;
    routed.work = [this, shared, handler = chosen->handler, params = chosen->params, id, query,
                   tokenName = routed.tokenName, tokenRequired](ServerRegistry* registry) {
        ApiRoutes::Call call{m_context, *shared, {}, 0, tokenName, *registry, tokenRequired};
        const std::optional<HttpReply> refused =
            checked(call, id, query, QString::fromLatin1(params));
        HttpReply reply = refused ? *refused : handler(call);
        addCors(*shared, reply);
        return reply;
    };
    return routed;
}

HttpReply ApiRouter::refusal(const ApiRequest& request, QByteArrayList allowed) const
{
    if (allowed.isEmpty())
        return HttpReply::error(
            404, "not-found", QCoreApplication::translate("Server", "そのアドレスはありません。"));
    if (allowed.contains("GET"))
        allowed << "HEAD";
    allowed << "OPTIONS";
    if (request.method == "OPTIONS") {
        HttpReply reply = HttpReply::noContent();
        reply.addHeader("Allow", allowed.join(", "));
        return reply;
    }
    HttpReply reply = HttpReply::error(
        405, "method-not-allowed",
        QCoreApplication::translate("Server", "このアドレスは %1 を受け付けません。")
            .arg(QString::fromLatin1(request.method)));
    reply.addHeader("Allow", allowed.join(", "));
    return reply;
}

std::optional<HttpReply> ApiRouter::checked(ApiRoutes::Call& call, const QString& id,
                                            const QByteArray& rawQuery, const QString& params) const
{
    const ApiRequest& request = call.request;
    if (!id.isEmpty()) {
        bool number = id.size() <= 15 && !id.startsWith(QLatin1Char('+'));
        call.id = number ? id.toLongLong(&number) : 0;
        if (!number || call.id <= 0)
            return HttpReply::error(
                400, "bad-field",
                QCoreApplication::translate("Server", "ジョブ番号「%1」が正しくありません。")
                    .arg(id),
                QStringLiteral("id"));
    }
    QString bad;
    const std::optional<QHash<QString, QString>> query = queryOf(rawQuery, &bad);
    if (!query)
        return HttpReply::error(
            400, "bad-field",
            QCoreApplication::translate("Server", "クエリの「%1」が正しくありません。").arg(bad),
            bad);
    call.query = *query;
    const QStringList known = params.split(QLatin1Char(' '));
    for (auto it = call.query.cbegin(); it != call.query.cend(); ++it)
        if (!known.contains(it.key()))
            return HttpReply::error(
                400, "unknown-field",
                QCoreApplication::translate("Server", "クエリの「%1」という項目はありません。")
                    .arg(it.key()),
                it.key());
    if (request.method == "POST" && !isJson(request.contentType))
        return HttpReply::error(
            415, "unsupported-media-type",
            QCoreApplication::translate("Server",
                                        "本文は JSON です（Content-Type: application/json）。"));
    return std::nullopt;
}

void ApiRouter::addCors(const ApiRequest& request, HttpReply& reply) const
{
    const QStringList& origins = m_context.settings.corsOrigins;
    const QString origin = QString::fromLatin1(request.origin);
    if (origins.isEmpty() || origin.isEmpty() ||
        !(origins.contains(origin) || origins.contains(QStringLiteral("*"))))
        return;
    reply.addHeader("Access-Control-Allow-Origin", request.origin);
    reply.addHeader("Vary", "Origin");
    reply.addHeader("Access-Control-Expose-Headers", "Content-Disposition, Retry-After");
    if (request.method == "OPTIONS") {
        reply.addHeader("Access-Control-Allow-Methods", "GET, POST");
        reply.addHeader("Access-Control-Allow-Headers", "Authorization, Content-Type");
        reply.addHeader("Access-Control-Max-Age", "600");
    }
}
