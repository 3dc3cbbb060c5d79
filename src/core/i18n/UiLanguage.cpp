#include "core/i18n/UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
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

// Qt's own texts in Japanese: the buttons of message boxes and the file,
// print, colour and font dialogs (Debian's qt6-translations-l10n). Without
// the file they stay in English.
QTranslator*& qtJapanese()
{
    static QTranslator* translator = nullptr;
    return translator;
}

void speakQtJapanese(bool japanese)
{
    QTranslator*& translator = qtJapanese();
    if (japanese == (translator != nullptr))
        return;
    if (!japanese) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
        return;
    }
    auto* texts = new QTranslator;
    if (texts->load(QStringLiteral("qtbase_ja"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(texts))
        translator = texts;
    else
        delete texts;
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
    if (language == inEffect()) {
        speakQtJapanese(language == UiLanguage::Japanese);
        return language;
    }
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
    speakQtJapanese(inEffect() == UiLanguage::Japanese);
    return inEffect();
}

UiLanguage current()
{
    return inEffect();
}

} // namespace UiLanguages
