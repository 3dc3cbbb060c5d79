#pragma once

#include "xls/Workbook.h"

#include <QByteArray>

namespace Biff {

// The book as BIFF8 records: the content of the "Workbook" stream of an .xls file.
QByteArray workbookStream(const Xls::Workbook& book);

} // namespace Biff
