#include "core/model/LabelDesign.h"

#include "core/model/PrintedJob.h"

bool LabelDesign::type8Blank() const
{
    return type8Lines.join(QLatin1Char('\n')).isEmpty();
}

int maxRepeatCount(const LabelDesign& design)
{
    const bool blank = labelType(design.type).lower == LowerLine::Type8Lower && design.type8Blank();
    return blank ? 7 : 5;
}

int repeatLimit(int type)
{
    return labelType(type).lower == LowerLine::Type8Lower ? 7 : 5;
}

QFont PrintAppearance::defaultLabelFont()
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setBold(true);
    font.setPointSize(9);
    return font;
}

QList<PrintLogEntry> PrintedJob::sampleEntries() const
{
    QList<PrintLogEntry> entries;
    const int repeat = std::max(1, run.repeatCount);
    for (int s = 0; s < run.sampleCount; ++s)
        entries << labels.value(qsizetype(s) * repeat);
    return entries;
}
