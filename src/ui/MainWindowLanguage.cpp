// The window's language: the menu that chooses it, and every text of the
// window and its screens set again when it changes.

#include "ui/MainWindow.h"

#include "ui/AboutDialog.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/PrintScreen.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>

void MainWindow::buildLanguageMenu()
{
    m_c.languageMenu = m_c.fileMenu->addMenu(QString());
    m_c.languageMenu->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(this);
    const auto item = [this, group](const char* name, UiLanguage language) {
        QAction* action = m_c.languageMenu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] { chooseLanguage(language); });
        return action;
    };
    m_c.automaticLanguageAction = item("automaticLanguageAction", UiLanguage::Automatic);
    m_c.japaneseAction = item("japaneseAction", UiLanguage::Japanese);
    m_c.englishAction = item("englishAction", UiLanguage::English);
    m_c.automaticLanguageAction->setChecked(true);
}

void MainWindow::chooseLanguage(UiLanguage language)
{
    if (language == m_state.uiLanguage)
        return;
    m_state.uiLanguage = language;
    applyLanguage();
    saveState();
}

void MainWindow::applyLanguage()
{
    UiLanguages::apply(m_state.uiLanguage);
    retranslate();
    QAction* chosen = m_state.uiLanguage == UiLanguage::Japanese  ? m_c.japaneseAction
                      : m_state.uiLanguage == UiLanguage::English ? m_c.englishAction
                                                                  : m_c.automaticLanguageAction;
    const QSignalBlocker blocker(chosen);
    chosen->setChecked(true);
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void MainWindow::retranslate()
{
    Controls::setCaption(m_c.titleBanner, tr("Rondelmaker Manager　"));
    Controls::setCaption(m_c.subtitleBanner, tr("Round Label Printing System"));

    m_c.versionButton->setText(tr("Version"));
    m_c.excelButton->setText(tr("Excel"));
    m_c.excelButton->setAccessibleDescription(tr("前回の印刷を Excel のファイルに書き出します"));
    m_c.reportButton->setText(tr("Report"));
    m_c.reportButton->setAccessibleDescription(tr("前回の印刷の記録を A4 の用紙に印刷します"));
    m_c.backButton->setText(tr("Back"));
    m_c.backButton->setAccessibleDescription(tr("デザイン画面に戻ります"));
    m_c.endButton->setText(tr("End"));
    m_c.historyButton->setText(tr("履歴"));
    m_c.historyButton->setAccessibleDescription(tr("これまでに印刷したラベルの記録を開きます"));

    m_c.typePageTabs->setAccessibleName(tr("ラベルの種類"));
    m_c.typePageTabs->setTabText(0, tr("Type1-4"));
    m_c.typePageTabs->setTabText(1, tr("Type5-8"));
    m_c.typePageTabs->setTabText(2, tr("Type9-12"));

    m_c.fileMenu->setTitle(tr("ファイル"));
    m_c.openAction->setText(tr("開く…"));
    m_c.saveAsAction->setText(tr("名前を付けて保存…"));
    // Found in either language; each language is named in its own.
    m_c.languageMenu->setTitle(tr("言語 / Language"));
    m_c.automaticLanguageAction->setText(tr("自動（システムの言語）"));
    m_c.japaneseAction->setText(QStringLiteral("日本語"));
    m_c.englishAction->setText(QStringLiteral("English"));

    if (m_design)
        m_design->retranslate();
    if (m_print)
        m_print->retranslate();
    if (m_about)
        m_about->retranslate();
    // Lines made of texts and values: made again once they were shown.
    if (m_registryPoll)
        showRegistryLine(m_registryReachable);
    if (m_design && !m_state.appDir.isEmpty())
        updateNextLine();
}
