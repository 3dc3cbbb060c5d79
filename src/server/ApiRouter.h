#pragma once

#include "core/i18n/UiLanguage.h"
#include "server/ApiRoutes.h"
#include "server/ApiWorkers.h"

#include <optional>

// What the router made of a request on the HTTP thread: the name of the
// token that asked ("" for none), for the log; the language to answer in;
// and the answer's work, for a thread of the API when it needs the
// registry (a handler of the API), else for the HTTP thread.
struct RoutedRequest {
    QString tokenName;
    UiLanguage language = UiLanguage::Japanese;
    bool needsRegistry = false;
    ApiWorkers::Work work;
};

// Every request of the API passes here, in this order:
//   the path, decoded segment by segment: "." and "..", encoded slashes,
//   NUL and other control characters, and malformed escapes are refused
//   (400), whatever the route;
//   without tokens (loopback only), a Host that is not this computer (403);
//   OPTIONS (a browser's preflight) is answered without a token;
//   the token: required once any token exists or the service listens beyond
//   loopback, from the Authorization header only (never the query); one
//   that is presented must be valid even where none is required; 401;
//   the route (404) and its methods (405, with Allow);
//   then, with the handler: the query's names (unknown or repeated ones:
//   400) and, for a body, its type (application/json; 415); the handler.
// CORS headers are added only for an origin the configuration names.
class ApiRouter {
public:
    explicit ApiRouter(ServerContext& context);

    RoutedRequest route(const ApiRequest& request);

private:
    HttpReply refusal(const ApiRequest& request, QByteArrayList allowed) const;
    std::optional<HttpReply> checked(ApiRoutes::Call& call, const QString& id,
                                     const QByteArray& rawQuery, const QString& params) const;
    void addCors(const ApiRequest& request, HttpReply& reply) const;

    ServerContext& m_context;
    UiLanguage m_language; // the service's own
};
