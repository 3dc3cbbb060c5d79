#pragma once

// How the pieces fit together
// ---------------------------
// A labelling run is a value. The LabelDesign holds what the user chose on
// both screens; PrintSet freezes it, with today's date, into a LabelRun that
// says what goes on every label; a job the print system took leaves a
// PrintedJob behind, which the record and the spreadsheet read. The core
// library (src/core) decides everything: the label texts and their 2D codes,
// the sheets and their geometry, the drawing onto a PrintCanvas, the files,
// the registry of every label issued (SQLite beside the state, or a shared
// PostgreSQL server), and every job: the planning with its refusals and the
// one transaction (lock, reread, plan, ask, reserve, save, print, confirm)
// that the window, the command line and the service all call. src/print
// turns the drawing into a PDF for a file or a print queue; src/xls writes
// the workbook.
//
// MainWindow is the one window: it owns the WorkingState (the start file's
// settings, the design, the frozen run, the last job) and the two screens,
// DesignScreen (label types, numbering, input limits) and PrintScreen
// (sheet map and start, the label's look), which edit the design in place
// and report the user's other choices by signals. It wires them to parts
// with one responsibility each: WindowRun (the run between the screens:
// PrintSet, start and offsets, the next-job line, what other programs
// changed), WindowJobs (the jobs and History: printer dialog, progress,
// outcome), WindowRegistry (the registry: opening it, other stations' jobs,
// the jobs in question that JobQuestion asks about), FolderSync (the start
// file and state.json), ButtonBar (the frame around the screens),
// DesignFiles and WindowLanguage (the file menu). Dialogs are reached
// through the Dialogs seam, so every path runs in tests.

#include "core/i18n/UiLanguage.h"
#include "core/io/RunFiles.h"
#include "core/layout/SheetCatalogue.h"
#include "core/numbering/DateStamp.h"
#include "ui/MainControls.h"
#include "ui/WorkingState.h"

#include <QMainWindow>

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
class QPrinter;
class QTimer;
class WindowJobs;
class WindowLanguage;
class WindowRegistry;
class WindowRun;
struct JobOutcome;

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

    Screen screen() const { return m_screen; }
    bool saveStartFile();
    // The registry of issued labels, or null while it cannot be used.
    LabelRegistry* registry() const;
    // How often the window looks for jobs other stations printed.
    void setRegistryPollInterval(int ms);
    bool isPrinting() const;

Q_SIGNALS:
    void windowClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // What the controls ask for.
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

    void showScreen(Screen screen);
    void arrangeButtonBar(Screen screen);
    // The state of the run in state.json: after every job and at the end.
    bool saveState();
    void build();
    void connectControls();
    void connectJobs();
    void startFromFiles();
    void scheduleDateRefresh();
    void buildFileMenu();
    void showOpenedDesign();
    void applyLanguage();
    // Every text of the window and its screens in the language now in effect.
    void retranslate();
    // After an answer about jobs in question: the files may have moved.
    void showFolderAgain();
    void showDesignScreenFromModel();
    void showJobPrinted(const JobOutcome& outcome);

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
    std::unique_ptr<WindowRun> m_run;
    std::unique_ptr<SheetCatalogue> m_sheets; // every sheet the station may print on
    bool m_shownOnce = false;
    QTimer* m_midnight = nullptr; // the date captions follow the calendar
};
