#include "ui/WindowLanguage.h"

#include "core/i18n/UiLanguage.h"
#include "ui/MainWindow.h"
#include "ui/WorkingState.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSignalBlocker>

WindowLanguage::WindowLanguage(QMenu* fileMenu, WorkingState& state, QObject* parent)
    : QObject(parent), m_state(state)
{
    m_menu = fileMenu->addMenu(QString());
    m_menu->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(this);
    const auto item = [this, group](const char* name, UiLanguage language) {
        QAction* action = m_menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] {
            if (language == m_state.uiLanguage)
                return;
            m_state.uiLanguage = language;
            apply();
            Q_EMIT chosen();
        });
        return action;
    };
    m_automatic = item("automaticLanguageAction", UiLanguage::Automatic);
    m_japanese = item("japaneseAction", UiLanguage::Japanese);
    m_english = item("englishAction", UiLanguage::English);
    m_automatic->setChecked(true);
}

void WindowLanguage::retranslate()
{
    // Found in either language; each language is named in its own.
    m_menu->setTitle(MainWindow::tr("言語 / Language"));
    m_automatic->setText(MainWindow::tr("自動（システムの言語）"));
    m_japanese->setText(QStringLiteral("日本語"));
    m_english->setText(QStringLiteral("English"));
}

void WindowLanguage::apply()
{
    UiLanguages::apply(m_state.uiLanguage);
    QAction* chosen = m_state.uiLanguage == UiLanguage::Japanese  ? m_japanese
                      : m_state.uiLanguage == UiLanguage::English ? m_english
                                                                  : m_automatic;
    const QSignalBlocker blocker(chosen);
    chosen->setChecked(true);
}
