#include "ScriptedDialogs.h"

void ScriptedDialogs::message(QWidget*, const QString& text, const QString& detail)
{
    calls.append({QStringLiteral("message"), text, detail});
    if (onMessage)
        onMessage(text);
}

void ScriptedDialogs::error(QWidget*, const QString& text)
{
    calls.append({QStringLiteral("error"), text});
    if (onMessage)
        onMessage(text);
}

bool ScriptedDialogs::askYesNo(QWidget*, const QString& text)
{
    calls.append({QStringLiteral("askYesNo"), text});
    return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
}

int ScriptedDialogs::choose(QWidget* parent, const QString& text, const QString& detail,
                            const QStringList& answers)
{
    calls.append({QStringLiteral("choose"), text, detail});
    if (chooseWith)
        return chooseWith(parent, text, detail, answers);
    if (onMessage)
        onMessage(text);
    return chooseAnswers.isEmpty() ? -1 : chooseAnswers.takeFirst();
}

bool ScriptedDialogs::choosePrinter(QWidget*, QPrinter& printer)
{
    calls.append({QStringLiteral("choosePrinter"), QString()});
    return printerAnswer && printerAnswer(printer);
}

std::optional<QString> ScriptedDialogs::chooseSaveFile(QWidget*, const QString& filter,
                                                       const QString& proposed)
{
    calls.append({QStringLiteral("chooseSaveFile"), filter});
    lastSaveFilter = filter;
    lastSaveProposal = proposed;
    return saveFileAnswers.isEmpty() ? std::nullopt : saveFileAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::chooseOpenFile(QWidget*, const QString& filter,
                                                       const QString&)
{
    calls.append({QStringLiteral("chooseOpenFile"), filter});
    return openFileAnswers.isEmpty() ? std::nullopt : openFileAnswers.takeFirst();
}

std::optional<QColor> ScriptedDialogs::chooseColor(QWidget*, const QColor& initial)
{
    calls.append({QStringLiteral("chooseColor"), initial.name()});
    lastColorInitial = initial;
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.takeFirst();
}

std::optional<QFont> ScriptedDialogs::chooseFont(QWidget*, const QFont& initial)
{
    calls.append({QStringLiteral("chooseFont"), initial.toString()});
    lastFontInitial = initial;
    return fontAnswers.isEmpty() ? std::nullopt : fontAnswers.takeFirst();
}

QStringList ScriptedDialogs::kinds() const
{
    QStringList out;
    for (const Call& call : calls)
        out << call.kind;
    return out;
}

QStringList ScriptedDialogs::texts(const QString& kind) const
{
    QStringList out;
    for (const Call& call : calls) {
        if (call.kind == kind)
            out << call.text;
    }
    return out;
}
