#include "core/render/Fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    const QStringList gothic = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Hiragino Sans"),
                                QStringLiteral("Meiryo")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), gothic);
}
