#pragma once

// How the pieces fit together
// ---------------------------
// A labelling run is a value. The LabelDesign holds what the user chose on
// both screens; PrintSet freezes it, with today's date, into a LabelRun that
// says what goes on every label; a job the print system took leaves a
// PrintedJob behind, which the record and the spreadsheet read. The core
// library (src/core) decides everything: the label texts and their 2D codes,
// the sheets and their geometry, the drawing onto a PrintCanvas, the files,
// and the registry of every label issued (src/core/registry: SQLite beside
// the state, or a PostgreSQL server several stations share; the window asks
// it on a thread of its own and keeps painting while it waits). One job
// transaction (src/core/job) runs every print of the window and the command
// line: lock the folder, reread it, plan, ask about labels issued before,
// reserve the labels in the registry, save the files, print, confirm. The
// printing back end (src/print) turns the drawing into a PDF for a file or a
// print queue, and src/xls writes the workbook.
//
// MainWindow is the one window. It owns the WorkingState (the start file's
// settings, the design, the frozen run, the last job), the version dialog,
// and two screens that build and show their controls: DesignScreen (label
// types, numbering, input limits) and PrintScreen (sheet map, offsets,
// sample label, appearance). The screens edit the design in place and
// report the user's other choices by signals. Beside them, each with one
// responsibility: WindowJobs runs the jobs (printer dialog, progress,
// outcome) and History; WindowRegistry keeps the registry (opening it,
// looking for other stations' jobs, the jobs in question, which JobQuestion
// asks about); FolderSync keeps the start file and state.json in step with
// other programs on the folder; ButtonBar holds the buttons, banners and
// registry line around the screens; DesignFiles opens and saves designs;
// WindowLanguage switches the language. The window keeps the screens and
// wires them: it switches screens, freezes the run at PrintSet, saves the
// user's choices, and takes what other Rondelmakers changed. Dialogs are
// reached through the Dialogs seam, so every path runs in tests.

#include "core/i18n/UiLanguage.h"
#include "core/io/RunFiles.h"
#include "core/numbering/DateStamp.h"
#include "ui/WorkingState.h"

#include <QMainWindow>

#include <array>
#include <memory>

class AboutDialog;
class ButtonBar;
class DesignFiles;
class FolderSync;
class LabelRegistry;
class Dialogs;
class DesignScreen;
class PrintCanvas;
class PrintScreen;
class QAction;
class QMenu;
class QPrinter;
class QTabBar;
class QTimer;
class QToolButton;
class WindowJobs;
class WindowLanguage;
class WindowRegistry;

struct MainControls {
    class QLabel* titleBanner = nullptr;
    class QLabel* subtitleBanner = nullptr;
    QToolButton* versionButton = nullptr;
    QToolButton* excelButton = nullptr;
    QToolButton* reportButton = nullptr;
    QToolButton* backButton = nullptr;
    QToolButton* endButton = nullptr;
    QToolButton* historyButton = nullptr;
    class QLabel* registryLine = nullptr; // which registry of issued labels the window uses
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

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    enum class Screen { Design, Print };

    // appDir: where the start file lives (the executable's folder).
    MainWindow(Dialogs& dialogs, const QString& appDir, Clock clock = DateStamp::systemClock(),
               QWidget* parent = nullptr);
    ~MainWindow() override;

    WorkingState& state() { return m_state; }
    const MainControls& controls() const { return m_c; }
    DesignScreen& design() { return *m_design; }
    PrintScreen& printScreen() { return *m_print; }
    AboutDialog* aboutDialog() const { return m_about; }

    void showScreen(Screen screen);
    Screen screen() const { return m_screen; }
    void arrangeButtonBar(Screen screen);
    bool saveStartFile();
    // The state of the run in state.json: after every job and at the end.
    bool saveState();
    // The registry of issued labels, or null while it cannot be used.
    LabelRegistry* registry() const;
    // How often the window looks for jobs other stations printed.
    void setRegistryPollInterval(int ms);
    bool isPrinting() const;

public Q_SLOTS:
    void finishStartup();
    void endProgram();
    void backToDesign();
    void showVersion();
    void showTypePage(int index);
    void showPrintScreen();
    void printLabels();
    void printRecord();
    void exportSpreadsheet();
    void showHistory();

Q_SIGNALS:
    void windowClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void connectControls();
    void connectJobs();
    void startFromFiles();
    void refreshRunNumbering();
    void scheduleDateRefresh();
    void buildFileMenu();
    void showOpenedDesign();
    void applyLanguage();
    // Every text of the window and its screens in the language now in effect.
    void retranslate();
    SavedState savedState() const;
    // What other Rondelmakers changed on the folder and the registry since
    // this window last looked, taken into its values and shown: true when
    // they changed.
    bool adoptChangesFromElsewhere();
    bool adoptFrom(const StartFileReadResult& start, const StateFile::ReadResult& state);
    bool adoptNumbering();
    void showAdopted();
    // After a job or an answer about jobs in question: the files may have moved.
    void showFolderAgain();
    void showDesignScreenFromModel();
    void updateNextLine();
    // The start file's offsets with the calibrated scale.
    SheetGeometry::Offsets placement() const;
    void chooseScale(int scaleX, int scaleY);
    void chooseStartPosition(int position);
    void chooseOffsets(int horzIndex, int vertIndex);
    void showJobPrinted();

    WorkingState m_state;
    std::unique_ptr<RunFiles> m_files;
    std::unique_ptr<FolderSync> m_sync;
    DesignFiles* m_designFiles = nullptr;
    WindowLanguage* m_language = nullptr;
    MainControls m_c;
    std::unique_ptr<ButtonBar> m_buttons;
    Dialogs& m_dialogs;
    Clock m_clock;
    DesignScreen* m_design = nullptr;
    PrintScreen* m_print = nullptr;
    AboutDialog* m_about = nullptr;
    Screen m_screen = Screen::Design;
    WindowRegistry* m_registry = nullptr;
    WindowJobs* m_jobs = nullptr;
    bool m_shownOnce = false;
    QTimer* m_midnight = nullptr; // the date captions follow the calendar
};
