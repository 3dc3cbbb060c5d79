#pragma once

// How the pieces fit together
// ---------------------------
// TfrmMain is the one window. It owns the WorkingState (the run's fields),
// the version dialog, and two screens that build and drive their controls:
// DesignScreen (label types, numbering, input limits) and PrintScreen (sheet
// map, offsets, sample label, appearance). The window itself does start-up,
// the start file, screen switching, the button bar and the buttons that
// cross screens (PrintSet, Print, Report, Excel). Decisions live in the core
// library: ComposeLabelTexts, SheetLayout, Colours, StartFile, the print
// job and the record and export. Dialogs and the printer are reached through
// the Dialogs and PrintCanvas seams, so every path runs in tests.

#include "app/WorkingState.h"
#include "design/DateStamp.h"

#include <QMainWindow>

#include <memory>

class Dialogs;
class DesignScreen;
class PrintScreen;
class QTabBar;
class QTimer;
class QToolButton;
class TAboutBox;

struct MainControls {
    class QLabel* Label4 = nullptr;
    class QLabel* Label2 = nullptr;
    QToolButton* cmdVersion = nullptr;
    QToolButton* cmdExcel = nullptr;
    QToolButton* cmdSheet = nullptr;
    QToolButton* cmdBack = nullptr;
    QToolButton* cmdEnd = nullptr;
    QTabBar* TabControl1 = nullptr;
    QTimer* Timer1 = nullptr;
};

class TfrmMain final : public QMainWindow {
    Q_OBJECT
public:
    enum class Screen { Design, Print };

    // appDir: where the start file lives (the executable's folder).
    TfrmMain(Dialogs& dialogs, const QString& appDir, Clock clock = DateStamp::systemClock(),
             QWidget* parent = nullptr);
    ~TfrmMain() override;

    WorkingState& state() { return m_state; }
    const MainControls& controls() const { return m_c; }
    DesignScreen& design() { return *m_design; }
    PrintScreen& printScreen() { return *m_print; }
    TAboutBox* aboutBox() const { return m_about.get(); }

    void ShowScreen(Screen screen);
    Screen screen() const { return m_screen; }
    void ArrangeButtonBar(Screen screen);
    bool SaveStartFile();
    // The wait after each printed sheet (tests set 0).
    void setSheetPause(int ms) { m_sheetPauseMs = ms; }
    bool isPrinting() const { return m_busy; }

public Q_SLOTS:
    void Timer1Timer();
    void cmdEndClick();
    void cmdBackClick();
    void cmdVersionClick();
    void TabControl1Change(int index);
    void cmdPrintSetClick();
    void cmdPrintClick();
    void cmdSheetClick();
    void cmdExcelClick();

Q_SIGNALS:
    void windowClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void FormCreate();
    void refreshRunNumbering();
    bool RunPrintJob();
    bool PrintRecord();
    bool ExportSpreadsheet();
    void continueAfterJob();
    QToolButton* makeButton(const char* name, const QString& caption, int styleIcon);

    WorkingState m_state;
    MainControls m_c;
    Dialogs& m_dialogs;
    Clock m_clock;
    DesignScreen* m_design = nullptr;
    PrintScreen* m_print = nullptr;
    std::unique_ptr<TAboutBox> m_about;
    Screen m_screen = Screen::Design;
    bool m_busy = false; // a print job runs: the window takes no input
    int m_sheetPauseMs;
};
