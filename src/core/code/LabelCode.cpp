#include "core/code/LabelCode.h"

#include "core/code/DataMatrix.h"

#include <QCoreApplication>

namespace LabelCodes {

QString contentOf(const QString& upper, const QString& lower)
{
    if (upper.isEmpty())
        return lower;
    if (lower.isEmpty())
        return upper;
    return upper + QLatin1Char(' ') + lower;
}

JobSize jobSize(int count, const std::function<QString(int)>& contentAt)
{
    JobSize size;
    QString previous; // labels come in runs of copies: encode each once
    for (int n = 0; n < count; ++n) {
        const QString content = contentAt(n);
        if (content.isEmpty() || (n > 0 && content == previous))
            continue;
        previous = content;
        const int modules = DataMatrix::squareSizeFor(content);
        if (modules == 0 || modules > MaxModules) {
            size.fits = false;
            size.longest = content;
            size.modules = 0;
            return size;
        }
        if (modules > size.modules) {
            size.modules = modules;
            size.longest = content;
        }
    }
    return size;
}

QString refusal(const JobSize& size)
{
    if (size.fits)
        return {};
    return QCoreApplication::translate(
               "LabelCodes",
               "ラベル「%1」は 2D コード（%2×%2 まで）に入りきりません。"
               "文字を短くするか、2D コードを外してください。")
        .arg(size.longest)
        .arg(MaxModules);
}

} // namespace LabelCodes
