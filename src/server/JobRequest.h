#pragma once

#include "core/code/LabelCode.h"
#include "core/model/LabelDesign.h"
#include "server/RequestBody.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <variant>

// The body of a label job (POST /api/v1/jobs and /api/v1/labels):
//   {"design": {…a design file…}, "samples", "first", "start", "freeTexts": [...],
//    "code", "sheet", "printer" or "output": "pdf", "allowDuplicates"}
// Everything but the design is optional, as on the command line. The design
// is read as a design file is, but where a file's texts would be cut to
// their room, a request's are refused: a laboratory system learns that its
// text did not fit instead of printing a shorter one.
struct JobRequest {
    LabelDesign design; // with samples, first, free texts and code applied
    std::optional<int> start;
    QString sheet;   // a sheet's id (GET /api/v1/sheets); empty: the station's
    QString printer; // a print queue; empty with pdf false: the default queue
    bool pdf = false;
    bool allowDuplicates = false;
    // The first number came from the request: the registry's numbering is
    // not continued.
    bool firstGiven = false;
};

// The request, or the first problem in it; `today` dates the labels the
// checks count.
std::variant<JobRequest, BodyProblem> parseJobRequest(const QByteArray& body, const QDate& today);

// The body of a reprint (POST /api/v1/jobs/ID/reprint): which labels of the
// job, {"samples": "A-B"} or {"labels": ["LAB 0003", ...]} (neither: all of
// them), and where they go: "sheet", "start", "printer" or "output": "pdf".
struct ReprintRequestBody {
    std::optional<std::pair<int, int>> samples;
    QStringList labels;
    QString sheet; // empty: the station's, whatever sheet the job was on
    std::optional<int> start;
    QString printer;
    bool pdf = false;
};

std::variant<ReprintRequestBody, BodyProblem> parseReprintRequest(const QByteArray& body);
