#pragma once

#include "ui/Dialogs.h"

class QtDialogs final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text, const QString& detail = {}) override;
    void error(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
    int choose(QWidget* parent, const QString& text, const QString& detail,
               const QStringList& answers) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    std::optional<QString> chooseSaveFile(QWidget* parent, const QString& filter,
                                          const QString& proposed) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const QString& filter,
                                          const QString& folder) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
};
