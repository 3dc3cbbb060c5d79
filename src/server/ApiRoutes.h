#pragma once

#include "server/HttpReply.h"
#include "server/ServerRegistry.h"
#include "server/ServerSettings.h"
#include "server/ServerStations.h"
#include "server/TokenStore.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// What every request is answered from: the settings, the tokens, the
// registry and the stations. One per service.
struct ServerContext {
    ServerSettings settings;
    TokenStore tokens;
    ServerRegistry registry;
    ServerStations stations;
};

// A request as the API sees it, whatever carried it.
struct ApiRequest {
    QByteArray method; // as sent: "GET", "POST", ...
    QByteArray target; // as sent: path and query, percent-encoded
    QByteArray host;   // the Host header
    QByteArray authorization;
    QByteArray origin;
    QByteArray contentType;
    QByteArray acceptLanguage;
    QByteArray body;
};

// The handlers of the API. Each only translates: it reads the request into
// the core's values, asks the core and the registry, and turns the outcome
// into a status and a JSON body. The router has checked the path, the token
// and the query's names before.
namespace ApiRoutes {

struct Call {
    ServerContext& context;
    const ApiRequest& request;
    QHash<QString, QString> query; // decoded
    qint64 id = 0;                 // /jobs/ID
    QString tokenName;             // empty: a service without tokens
};

HttpReply status(Call& call);
HttpReply printers(Call& call);
HttpReply jobs(Call& call);
HttpReply job(Call& call);
HttpReply labelsPdf(Call& call);
HttpReply recordPdf(Call& call);
HttpReply labelsXls(Call& call);
HttpReply resolve(Call& call);
HttpReply find(Call& call);
// A job's sheets as they would print: their count, or one as a PNG.
HttpReply preview(Call& call);
// A call of the API that a later version answers.
HttpReply notYet(Call& call);

// 503 for a registry that cannot be reached now (with Retry-After), 500 for
// one that cannot be used.
HttpReply registryFailure(LabelRegistry::Failure failure, const QString& problem);

} // namespace ApiRoutes
