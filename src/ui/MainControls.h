#pragma once

#include <array>

class QAction;
class QLabel;
class QMenu;
class QTabBar;
class QTimer;
class QToolButton;

// The main window's own controls around its two screens, named by their
// role: the button bar, the banners, the registry line, the type page tabs
// and the file menu.
struct MainControls {
    QLabel* titleBanner = nullptr;
    QLabel* subtitleBanner = nullptr;
    QToolButton* versionButton = nullptr;
    QToolButton* excelButton = nullptr;
    QToolButton* reportButton = nullptr;
    QToolButton* backButton = nullptr;
    QToolButton* endButton = nullptr;
    QToolButton* historyButton = nullptr;
    QLabel* registryLine = nullptr; // which registry of issued labels the window uses
    QTabBar* typePageTabs = nullptr;
    QTimer* startupTimer = nullptr;
    QMenu* fileMenu = nullptr; // ファイル
    QAction* openAction = nullptr;
    QAction* saveAsAction = nullptr;
    QMenu* languageMenu = nullptr;              // 言語 / Language, in the file menu
    QAction* automaticLanguageAction = nullptr; // the system's language
    QAction* japaneseAction = nullptr;
    QAction* englishAction = nullptr;
    std::array<QAction*, 5> recentDesignActions{};
};
