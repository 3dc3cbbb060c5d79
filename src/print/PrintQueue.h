#pragma once

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QString>

#include <utility>

// Hands a complete PDF document to the system's print queue and reports
// whether the print system took it. A queue that is paused but accepts jobs
// takes it (it prints when the queue resumes); a queue that rejects jobs, or
// no longer exists, does not. When the transfer breaks off half way the job
// is cancelled, so that nothing of it prints.
namespace PrintQueue {

// Whether this build can talk to a print system at all.
bool available();

// A queue the print system offers: local printers, and network printers
// added to it.
struct QueueInfo {
    QString name; // "printer" or "printer/instance"
    bool isDefault = false;
    bool accepting = true; // takes new jobs (cupsreject stops it)
    QString state;         // "idle", "printing" or "stopped"
    QString description;
    QString location;
};

// Every queue, in the print system's order; empty when there is none or no
// print system.
QList<QueueInfo> queues();

// True when the queue accepted the whole job; false with *error saying why.
bool submit(const QString& queue, const QString& title, const QByteArray& pdf,
            const QList<std::pair<QByteArray, QByteArray>>& options, QString* error);

// The system's default queue ("printer" or "printer/instance", as the user's
// or the system's lpoptions set it); empty when there is none.
QString defaultQueue();

// The page a queue prints on by default: its default paper and the margins
// it cannot print on, at least `margins` as a print dialog's page starts
// with. An invalid layout when the queue cannot tell.
QPageLayout defaultPageLayout(const QString& queue, const QMarginsF& margins);

} // namespace PrintQueue
