#include "core/i18n/UiLanguage.h"

#include <QCoreApplication>
#include <QTranslator>

namespace UiLanguages {

namespace {

// Where the build compiles the translation into the program.
const QString EnglishTranslation = QStringLiteral(":/i18n/rondelmaker_en.qm");

QTranslator*& installed()
{
    static QTranslator* translator = nullptr;
    return translator;
}

UiLanguage& inEffect()
{
    static UiLanguage language = UiLanguage::Japanese;
    return language;
}

} // namespace

QString key(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Japanese:
        return QStringLiteral("ja");
    case UiLanguage::English:
        return QStringLiteral("en");
    case UiLanguage::Automatic:
        break;
    }
    return QStringLiteral("auto");
}

std::optional<UiLanguage> fromKey(const QString& key)
{
    for (UiLanguage language : {UiLanguage::Automatic, UiLanguage::Japanese, UiLanguage::English})
        if (key == UiLanguages::key(language))
            return language;
    return std::nullopt;
}

UiLanguage ofSystem(const QStringList& uiLanguages)
{
    const QString first = uiLanguages.value(0);
    if (first.isEmpty() || first == QLatin1String("C") || first == QLatin1String("POSIX") ||
        first == QLatin1String("ja") || first.startsWith(QLatin1String("ja-")) ||
        first.startsWith(QLatin1String("ja_")))
        return UiLanguage::Japanese;
    return UiLanguage::English;
}

UiLanguage resolved(UiLanguage choice)
{
    return choice == UiLanguage::Automatic ? ofSystem() : choice;
}

UiLanguage apply(UiLanguage choice)
{
    const UiLanguage language = resolved(choice);
    if (language == inEffect())
        return language;
    QTranslator*& translator = installed();
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    inEffect() = UiLanguage::Japanese;
    if (language == UiLanguage::English) {
        auto* english = new QTranslator;
        // A program built without its translation keeps its own texts.
        if (english->load(EnglishTranslation) && QCoreApplication::installTranslator(english)) {
            translator = english;
            inEffect() = UiLanguage::English;
        } else {
            delete english;
        }
    }
    return inEffect();
}

UiLanguage current()
{
    return inEffect();
}

} // namespace UiLanguages
