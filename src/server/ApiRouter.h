#pragma once

#include "server/ApiRoutes.h"

// The answer to a request, and the name of the token that asked ("" for
// none), for the log.
struct ApiAnswer {
    HttpReply reply;
    QString tokenName;
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
//   the query's names (unknown or repeated ones: 400) and, for a body, its
//   type (application/json; 415);
//   the handler.
// CORS headers are added only for an origin the configuration names.
class ApiRouter {
public:
    explicit ApiRouter(ServerContext& context) : m_context(context) {}

    ApiAnswer answer(const ApiRequest& request);

private:
    HttpReply route(ApiRoutes::Call& call, const QStringList& segments, const QByteArray& rawQuery);
    void addCors(const ApiRequest& request, HttpReply& reply) const;

    ServerContext& m_context;
};
