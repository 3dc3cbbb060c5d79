#pragma once

#include "core/model/PrintAppearance.h"
#include "core/model/PrintedJob.h"
#include "core/render/PrintCanvas.h"

#include <QDateTime>

// The A4 record of a print job: each sample's label as a circle with its two
// texts and a box for notes, 40 to a page in two columns. It lists the
// job's sample entries (PrintedJob::sampleEntries) in the job's own look.
namespace PrintRecord {

inline constexpr int EntriesPerPage = 40;
inline constexpr int MaxEntries = 300;

// Page kinds: the page's place in the document.
enum PageKind { Middle = 0, First = 1, Last = 2, Only = 10 };

int pageCount(int entries);

// Draws one page with slots 1..count showing entries 40 x (page - 1) + 1 on,
// under the title, with the time stamp and "page / pages" at its foot.
// False when the printer failed.
bool printRecordPage(PrintCanvas& canvas, const QList<PrintLogEntry>& entries,
                     const PrintAppearance& look, int page, int kind, int count,
                     const QDateTime& printedAt);

// All pages; on a printer failure the document is aborted and false returned.
bool printRecordPages(PrintCanvas& canvas, const QList<PrintLogEntry>& entries,
                      const PrintAppearance& look, const QDateTime& printedAt);

} // namespace PrintRecord
