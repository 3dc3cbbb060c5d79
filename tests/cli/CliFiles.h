#pragma once

// What the command line's tests share: files written and read back, a
// design file, the run it makes, and the words of a PDF.

#include "core/io/DesignFile.h"
#include "core/model/Freeze.h"

#include "PdfTools.h"
#include "TestAppDir.h"

#include <QFile>
#include <QRegularExpression>

inline QString put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

inline QString saveDesign(const TestAppDir& dir, int type, int first, int samples, int repeat,
                          int step = 1)
{
    LabelDesign design;
    design.type = type;
    design.upperTexts = {"LAB", "ＡＢ", "x1", "血液", "ｱｲ"};
    design.type8Lines = {"UP", "LOW"};
    design.letters = {25, 25, 24, 3, 4, 5};
    design.firstNumber = first;
    design.sampleCount = samples;
    design.repeatCount = repeat;
    design.step = step;
    const QString path = dir.path() + QStringLiteral("/design.json");
    return DesignFile::save(path, design, nullptr) ? path : QString();
}

inline LabelRun runOf(const QString& designPath, const QStringList& freeTexts = {})
{
    LabelDesign design = *DesignFile::load(designPath, nullptr);
    design.freeTexts = freeTexts;
    return freeze(design, QDate::currentDate());
}

inline QStringList pdfWords(const QString& pdf)
{
    QString error;
    return PdfTools::text(pdf, error).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}
