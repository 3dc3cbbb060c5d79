#pragma once

#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/registry/LabelRegistry.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>

// The service prints as several stations at once, each a folder of its own
// with its start.txt and state.json, as a desktop station has:
//   STATE/printers/QUEUE/   one per print queue of the computer: its offsets,
//                           scale, label sheet and the sheet position its
//                           next job starts at
//   STATE/pdf/TOKEN/        one per token, for jobs answered as a PDF: where
//                           that token's next PDF starts and on which sheet
//                           ("_local" for the requests of a service without
//                           tokens)
//     documents/            the PDFs of its jobs, kept for KeptPdfDays
// A folder is made when its first job prints, with the defaults (or the
// administrator's /etc/rondelmaker/start.txt) as its start file; until then
// it reads as them. Jobs are recorded with the token's name as their
// station's user, this computer as its host and the folder as its folder.
class ServerStations {
public:
    static constexpr const char* LocalName = "_local";
    // How long a PDF of a job is kept as it was made; later its address
    // makes it again from the registry.
    static constexpr int KeptPdfDays = 7;

    explicit ServerStations(const QString& stateDir, const QString& adminStartFile = QStringLiteral(
                                                         "/etc/rondelmaker/start.txt"));

    const QString& stateDir() const { return m_stateDir; }
    QString queueFolder(const QString& queue) const;
    // An empty name: the requests of a service without tokens.
    QString pdfFolder(const QString& tokenName) const;
    // The station folders that exist now.
    QStringList existingFolders() const;
    // Whether `folder` is one of this service's station folders.
    bool owns(const QString& folder) const;
    Station station(const QString& folder, const QString& tokenName) const;

    // What a folder's files say about where labels go, or the defaults for a
    // folder without them.
    struct Placement {
        StartSettings start;
        SheetScale scale;
        SheetChoice sheet;
        bool configured = false; // the folder has a start file of its own
        QString problem;         // a start file that cannot be read

        // Where its labels are moved to on the page: offsets and scale.
        SheetGeometry::Offsets offsets() const
        {
            SheetGeometry::Offsets moved = start.offsets();
            moved.scaleX = scale.x;
            moved.scaleY = scale.y;
            return moved;
        }
    };
    Placement placement(const QString& folder) const;
    // The label sheet a folder's next job prints on unless it names one:
    // its state's, else (no job yet, a damaged state) the built-in sheet,
    // as the job's plan takes it.
    static SheetChoice sheetOf(const QString& folder);

    // Makes a station's folder, with the default start file, for its first
    // job; false with *error when it cannot be made.
    bool prepare(const QString& folder, QString* error) const;

    // The service's own hold on a folder, taken before its lock file: the
    // service's threads wait for each other here, where they are woken as
    // soon as the folder is free.
    std::shared_ptr<std::timed_mutex> gateOf(const QString& folder);

    // A PDF made by a job of `folder`, kept under documents/; older ones go.
    bool keepPdf(const QString& folder, qint64 jobId, const QByteArray& pdf, QString* error) const;
    // The kept PDF of a job, if it is still there.
    std::optional<QByteArray> keptPdf(const QString& folder, qint64 jobId) const;

    // A queue's or a token's name as a folder's name: letters, digits, "-",
    // "_" and "." as they are (but a leading "."), everything else as %XX.
    static QString folderName(const QString& name);

private:
    StartSettings defaultStart() const;

    QString m_stateDir;
    QString m_adminStartFile;
    std::mutex m_gatesMutex;
    QHash<QString, std::shared_ptr<std::timed_mutex>> m_gates;
    mutable std::mutex m_prunedMutex;
    mutable QHash<QString, QDateTime> m_pruned; // when each folder's old PDFs last went
};
