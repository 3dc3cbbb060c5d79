#include "core/numbering/DateStamp.h"

namespace DateStamp {

Clock systemClock()
{
    return [] { return QDateTime::currentDateTime(); };
}

// Qt's own format strings; the separators are literals, whatever the locale.
QString monthDay(const QDate& date)
{
    return date.toString(QStringLiteral("MM/dd"));
}

QString yearMonth(const QDate& date)
{
    return date.toString(QStringLiteral("yy|MM"));
}

QDate adjusted(const QDateTime& now, int adjustIndex)
{
    return now.date().addDays(adjustIndex - 365);
}

} // namespace DateStamp
