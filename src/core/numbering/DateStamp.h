#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// The clock is injectable so that date stamps can be tested at a fixed date.
using Clock = std::function<QDateTime()>;

namespace DateStamp {

Clock systemClock();

// "MM/DD": month and day, two digits each, always with "/".
QString monthDay(const QDate& date);
// "YY|MM": last two digits of the year, a vertical bar, the month.
QString yearMonth(const QDate& date);

// The date of a date-adjust list index: index 365 is today, each step a day.
QDate adjusted(const QDateTime& now, int adjustIndex);

} // namespace DateStamp
