#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// The language of the program's own texts. Japanese is the language the
// texts are written in; English comes from the translation compiled into
// the program. Label texts are the user's data and are never translated.
enum class UiLanguage { Automatic, Japanese, English };

namespace UiLanguages {

// How state.json names the user's choice: "auto", "ja", "en".
QString key(UiLanguage language);
std::optional<UiLanguage> fromKey(const QString& key);

// The system's choice from its preferred UI languages, best first (as
// QLocale::uiLanguages() gives them): Japanese where Japanese comes first
// and for the C/POSIX locale, whose texts are the program's own; English
// for any other language.
UiLanguage ofSystem(const QStringList& uiLanguages = QLocale::system().uiLanguages());

// Japanese or English: Automatic resolved by the system.
UiLanguage resolved(UiLanguage choice);

// Makes the application speak the chosen language: installs the English
// translation, or removes it for Japanese, where Qt's own texts (its
// dialogs' buttons and captions) are put into Japanese too. Qt then sends
// every widget a LanguageChange event. Returns the language now in effect.
UiLanguage apply(UiLanguage choice);

// The language now in effect (Japanese until apply() chose another).
UiLanguage current();

} // namespace UiLanguages
