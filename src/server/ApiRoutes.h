#pragma once

#include "server/HttpReply.h"
#include "server/ServerRegistry.h"
#include "server/ServerSettings.h"
#include "server/ServerSheets.h"
#include "server/ServerStations.h"
#include "server/TokenStore.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// What every request is answered from: the settings, the tokens (read on
// the HTTP thread only), the stations and the label sheets; the registry is
// each thread's own (ApiWorkers). One per service.
struct ServerContext {
    ServerSettings settings;
    TokenStore tokens;
    RegistryTarget registry;
    ServerStations stations;
    ServerSheets sheets;
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

// The handlers of the API, on a thread of the API (ApiWorkers). Each only
// translates: it reads the request into the core's values, asks the core
// and the registry, and turns the outcome into a status and a JSON body.
// The router has checked the path, the token and the query's names before.
namespace ApiRoutes {

struct Call {
    ServerContext& context;
    const ApiRequest& request;
    QHash<QString, QString> query; // decoded
    qint64 id = 0;                 // /jobs/ID
    QString tokenName;             // empty: a service without tokens
    ServerRegistry& registry;      // this thread's
    bool tokenRequired = false;
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
// The label sheets.
HttpReply sheets(Call& call);
// A job's sheets as they would print: their count, or one as a PNG.
HttpReply preview(Call& call);
// The labels a job would print, with nothing printed or changed.
HttpReply labels(Call& call);
// Prints a job, or makes it as a PDF.
HttpReply printJob(Call& call);
HttpReply reprint(Call& call);
// Where a station's next job starts.
HttpReply next(Call& call);

// The registry, or null with the answer why not in `failure`.
SqlRegistry* registryOf(Call& call, HttpReply& failure);
// The job /jobs/ID names, or nullopt with 404 for a job the registry does
// not have, or the registry's failure.
std::optional<RegistryJob> jobOf(Call& call, HttpReply& failure);

// The jobs in question of the service's stations, those that printed
// while the registry was away confirmed first; nullopt when the registry
// fails.
std::optional<QList<JobSummary>> unresolvedJobs(const ServerStations& stations,
                                                LabelRegistry& registry);

// 503 for a registry that cannot be reached now (with Retry-After), 500 for
// one that cannot be used.
HttpReply registryFailure(LabelRegistry::Failure failure, const QString& problem);

} // namespace ApiRoutes
