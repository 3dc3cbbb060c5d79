#pragma once

#include <QString>

#include <functional>

// What a label's 2D code says and how large a job's codes are.
namespace LabelCodes {

// The largest symbol a label takes, in modules per side: a larger one
// leaves no room for the lines above and below it.
inline constexpr int MaxModules = 20;

// The label's printed lines joined by one space; an empty line is left out.
QString contentOf(const QString& upper, const QString& lower);

// Every code of a job is one size, so that the sheet looks even and a
// scanner set up for one label reads them all.
struct JobSize {
    int modules = 0;  // per side; 0 when no label has a code (all blank)
    QString longest;  // the content that needs the largest symbol
    bool fits = true; // every label fits within MaxModules

    friend bool operator==(const JobSize&, const JobSize&) = default;
};
// The smallest square size that holds every one of `count` contents.
JobSize jobSize(int count, const std::function<QString(int)>& contentAt);

// Why a job of this size cannot carry codes, for the user; empty when it can.
QString refusal(const JobSize& size);

} // namespace LabelCodes
