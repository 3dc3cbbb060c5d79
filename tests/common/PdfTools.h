#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// The poppler tools that read back what the printer got.
namespace PdfTools {

// Standard output of a tool, or the reason it failed in `error`.
inline QByteArray run(const QString& program, const QStringList& arguments, QString& error)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) +
                QLatin1String(": ") + QString::fromLocal8Bit(process.readAllStandardError()) +
                process.errorString();
        return {};
    }
    return process.readAllStandardOutput();
}

inline QString missingTools()
{
    QStringList missing;
    for (const char* tool : {"pdfinfo", "pdftotext", "pdftoppm", "pdffonts"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing << QLatin1String(tool);
    }
    return missing.join(QLatin1String(", "));
}

inline int pageCount(const QString& pdf, QString& error)
{
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdf}, error));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text in drawing order.
inline QString text(const QString& pdf, QString& error)
{
    return QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-raw"), pdf, QStringLiteral("-")}, error));
}

// Names of the fonts that are not embedded (pdffonts' "emb" column).
inline QStringList fontsNotEmbedded(const QString& pdf, QString& error)
{
    const QStringList lines =
        QString::fromUtf8(run(QStringLiteral("pdffonts"), {pdf}, error)).split(QLatin1Char('\n'));
    QStringList missing;
    for (qsizetype i = 2; i < lines.size(); ++i) { // after the header and its rule
        const QStringList fields = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // name ... emb sub uni object-number generation
        if (fields.size() >= 6 && fields[fields.size() - 5] != QLatin1String("yes"))
            missing << fields[0];
    }
    return missing;
}

// Where each text of `expected` appears in `text`, in order; the first text
// not found after its predecessor, or an empty string when all were.
inline QString firstOutOfOrder(const QString& text, const QStringList& expected)
{
    qsizetype at = 0;
    for (const QString& t : expected) {
        const qsizetype found = text.indexOf(t, at);
        if (found < 0)
            return t;
        at = found + t.size();
    }
    return {};
}

} // namespace PdfTools
