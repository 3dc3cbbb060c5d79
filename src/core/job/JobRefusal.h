#pragma once

#include <QString>

// Why a job is not planned: the reason for programs, the text for people
// (in the language in effect), and the input of the caller's request it
// concerns. Every refusal of a job is made by the planning in this folder;
// the front ends only show it: the window in a message box, the command
// line on standard error with its exit code, the service as an HTTP status
// with the input as the error's field.
struct JobRefusal {
    enum class Reason {
        None,
        // The folder and the registry.
        StartFile,     // the start file is missing or cannot be read
        NumberingLost, // state.json is damaged: where the numbering goes on is lost
        StateDamaged,  // state.json is damaged: a reprint leaves it for a label job to keep
        Registry,      // the registry cannot say where the numbering goes on
        Moved,         // another Rondelmaker printed since the user looked (the window)
        // The request's inputs.
        NoSamplesForType, // a number of samples for a type that prints one label per free text
        NoNumberForType,  // a first number for a type without a running number
        FirstOutOfRange,
        NoFreeTextsForType, // free texts for a type without them
        FreeTextsMissing,
        TooManyFreeTexts,
        EmptyFreeText, // `item` says which
        TooManyLabels, // over MaxLabelsPerJob; `detail` gives the count
        StartOutOfRange,
        CodeTooLarge, // a label's 2D code would need a symbol too large for it
        NoSuchLabels, // a reprint's choice names no label of the job
    };

    Reason reason = Reason::None;
    QString text;   // the refusal in the user's language
    QString detail; // more, for a caller with room for it; may be empty
    // The input of the request it concerns, as the service names its
    // fields: "first", "samples", "start", "code", "freeTexts" (the
    // request's) or "design.freeTexts" (the design's own), "labels"; empty
    // for a refusal of the folder or the registry.
    QString input;
    int item = -1; // EmptyFreeText: the text's index, from 0

    bool refused() const { return reason != Reason::None; }
    // The text, with its detail where it has one.
    QString fullText() const { return text + detail; }

    friend bool operator==(const JobRefusal&, const JobRefusal&) = default;
};
