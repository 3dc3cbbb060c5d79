#pragma once

#include <QObject>

class QAction;
class QMenu;
struct WorkingState;

// The window's language: the menu "言語 / Language" in the file menu, and
// the language in effect, Qt's own texts (buttons of message boxes, the
// file, print, colour and font dialogs) included. A choice takes effect at
// once: Qt sends every widget a LanguageChange event, on which the window
// sets its texts again.
class WindowLanguage final : public QObject {
    Q_OBJECT
public:
    WindowLanguage(QMenu* fileMenu, WorkingState& state, QObject* parent);

    void retranslate();
    // The state's choice in effect, and checked in the menu.
    void apply();

    QAction* automaticAction() const { return m_automatic; }
    QAction* japaneseAction() const { return m_japanese; }
    QAction* englishAction() const { return m_english; }
    QMenu* menu() const { return m_menu; }

Q_SIGNALS:
    // The user chose another language: the window keeps the choice.
    void chosen();

private:
    WorkingState& m_state;
    QMenu* m_menu = nullptr;
    QAction* m_automatic = nullptr;
    QAction* m_japanese = nullptr;
    QAction* m_english = nullptr;
};
