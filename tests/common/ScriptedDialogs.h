#pragma once

#include "ui/Dialogs.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Answers every dialog from a script and records what was asked. A dialog
// with no scripted answer is cancelled (or answered No).
class ScriptedDialogs final : public Dialogs {
public:
    struct Call {
        QString kind; // message, error, askYesNo, choose, choosePrinter, chooseSaveFile,
                      // chooseColor, chooseFont
        QString text;
        QString detail = {}; // a message's detail
    };

    QList<Call> calls;

    QList<bool> yesNoAnswers;
    QList<int> chooseAnswers; // an index of the answers offered, -1 for none
    QList<std::optional<QString>> saveFileAnswers;
    QList<std::optional<QString>> openFileAnswers;
    QList<std::optional<QColor>> colorAnswers;
    QList<std::optional<QFont>> fontAnswers;
    // Decides the print dialog; it may set up the printer (e.g. PDF output).
    std::function<bool(QPrinter&)> printerAnswer;
    // Answers the questions of choose() instead of chooseAnswers (a real
    // message box, clicked as a user clicks it).
    std::function<int(QWidget*, const QString&, const QString&, const QStringList&)> chooseWith;
    // Runs when a message or error box is shown (to look at the window then).
    std::function<void(const QString&)> onMessage;

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

    QStringList kinds() const;
    QStringList texts(const QString& kind) const;
    int count(const QString& kind) const { return int(texts(kind).size()); }

    QColor lastColorInitial;
    QFont lastFontInitial;
    QString lastSaveFilter;
    QString lastSaveProposal;
};
