#pragma once

#include <QObject>

#include <array>
#include <functional>

class Dialogs;
class QAction;
class QMenu;
class QWidget;
struct WorkingState;

// The window's design files: Open… and Save As… in the file menu, and the
// five designs opened or saved last at its end. A design opened replaces the
// window's; a message says why one cannot be opened or saved.
class DesignFiles final : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxRecentDesigns = 5;

    // Adds Open… and Save As… to the file menu. Nothing is opened or saved
    // while `busy` says a job runs: it prints the design it planned.
    DesignFiles(QMenu* fileMenu, WorkingState& state, Dialogs& dialogs, QWidget* window,
                std::function<bool()> busy);
    // Adds the recent designs to the file menu, below what it holds now.
    void addRecentDesigns(QMenu* fileMenu);

    void retranslate();
    // The recent designs in the menu, as the state lists them.
    void showRecentDesigns();

    // Loads a design file into the state; false after a message.
    bool openDesign(const QString& path);
    void openDesignFile();
    void saveDesignAs();

    QAction* openAction() const { return m_open; }
    QAction* saveAsAction() const { return m_saveAs; }
    const std::array<QAction*, MaxRecentDesigns>& recentDesignActions() const { return m_recent; }

Q_SIGNALS:
    // A design was opened into the state: the window shows it.
    void designOpened();

private:
    void rememberDesign(const QString& path);

    WorkingState& m_state;
    Dialogs& m_dialogs;
    QWidget* m_window;
    std::function<bool()> m_busy;
    QAction* m_open = nullptr;
    QAction* m_saveAs = nullptr;
    std::array<QAction*, MaxRecentDesigns> m_recent{};
};
