#pragma once

#include "core/job/JobTransaction.h"
#include "core/layout/SheetGeometry.h"
#include "core/numbering/DateStamp.h"

#include <QObject>

#include <functional>

class Dialogs;
class FolderSync;
class LabelRegistry;
class PrintCanvas;
class QPrinter;
class RunFiles;
class WindowRegistry;
struct JobOutcome;
struct PrintedJob;
struct WorkingState;

// The window's jobs. Labels and their reprints go through the planning and
// the job transaction of the core; this adds the window's part: the printer
// dialog, the progress, the question about labels issued before, and the
// outcome's messages. Beside them: the preview and the test sheet, the
// record and the spreadsheet of a job, and History, which offers them for
// past jobs. While a job runs the window takes no input (isBusy()).
class WindowJobs final : public QObject {
    Q_OBJECT
public:
    // A label job as the window asks for it, made from the folder as the
    // job finds it (the window takes what other programs changed first).
    using LabelRequestOf = std::function<LabelJobRequest(const FolderSnapshot&)>;

    WindowJobs(WorkingState& state, RunFiles& files, FolderSync& sync, WindowRegistry& registry,
               Dialogs& dialogs, Clock clock, QWidget* window);

    bool isBusy() const { return m_busy; }

    // The labels of the run; false when nothing printed.
    bool printLabels(const LabelRequestOf& requestOf);
    bool printRecord(const PrintedJob& job);
    bool writeSpreadsheet(const PrintedJob& job);
    // Every sheet of the run on the page layout of the printer chosen last.
    void showPreview(const SheetGeometry::Offsets& offsets);
    // Plain paper, held against a label sheet: it takes nothing from the
    // run and changes nothing.
    void printTestSheet(const SheetGeometry::Offsets& offsets);
    // The registry's jobs, with the record, the spreadsheet and a reprint of
    // each, and the answer for a job in question.
    void showHistory();

    // The job names the print system shows (and files PDFs under).
    static constexpr const char* LabelsJobName = "Rondelmaker labels";
    static constexpr const char* RecordJobName = "Rondelmaker record";
    static constexpr const char* TestSheetJobName = "Rondelmaker test sheet";

Q_SIGNALS:
    // The printer was chosen: the job runs.
    void jobStarted();
    // The plan was made from what the user no longer sees: the print
    // screen shows the new values, before the message says so.
    void planMoved();
    // The print system took the job, and the window's values follow it.
    void jobPrinted(const JobOutcome& outcome);

private:
    // A job's plan on the folder, for the printer the user chose.
    using Planner = std::function<PlanDecision(const FolderSnapshot&, const QString& printer)>;
    // Runs a planned job: printer, progress, question, messages.
    bool run(const Planner& plan);
    // The print dialog, on the printer chosen last.
    bool chooseLabelPrinter(QPrinter& printer);
    // The transaction with its progress, while the window takes no input.
    JobOutcome transact(QPrinter& printer, LabelRegistry& registry, const Planner& plan);
    bool reprint(const RegistryJob& job, const QList<int>& labels, int startPosition);
    bool allowDuplicates(const QList<IssuedLabel>& issued);
    void showOutcome(const JobOutcome& outcome);
    void takeOutcome(const JobOutcome& outcome);
    SavedState ownState() const;

    WorkingState& m_state;
    RunFiles& m_files;
    FolderSync& m_sync;
    WindowRegistry& m_registry;
    Dialogs& m_dialogs;
    Clock m_clock;
    QWidget* m_window;
    bool m_busy = false;
};
