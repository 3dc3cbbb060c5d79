#pragma once

#include "ui/Dialogs.h"

#include <QFile>
#include <QTemporaryDir>

// Dialogs that answer nothing: the benchmarks never open one.
class SilentDialogs : public Dialogs {
public:
    void message(QWidget*, const QString&, const QString& = {}) override {}
    void error(QWidget*, const QString&) override {}
    bool askYesNo(QWidget*, const QString&) override { return false; }
    int choose(QWidget*, const QString&, const QString&, const QStringList&) override { return -1; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    std::optional<QString> chooseSaveFile(QWidget*, const QString&, const QString&) override
    {
        return {};
    }
    std::optional<QString> chooseOpenFile(QWidget*, const QString&, const QString&) override
    {
        return {};
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return {}; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return {}; }
};

// A folder with the default start file, standing in for the executable's.
inline void writeStartFile(const QTemporaryDir& dir)
{
    QFile start(dir.filePath(QStringLiteral("start.txt")));
    if (start.open(QIODevice::WriteOnly))
        start.write("10,10,1\r\n\r\n");
}
