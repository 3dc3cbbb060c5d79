#pragma once

#include "core/code/LabelCode.h"
#include "core/model/LabelDesign.h"
#include "server/RequestBody.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
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
    QString sheet;   // a sheet's name; empty: the queue's
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
