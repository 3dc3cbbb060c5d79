#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <memory>

class Dialogs;
class LabelRegistry;
class QLabel;
class QTimer;
class QWidget;
class RunFiles;
struct LabelDesign;
struct RegistryMark;
struct SavedState;

// The window's registry of issued labels, asked on a thread of its own so
// that the window keeps painting while a server is slow. It is opened at
// start-up (a damaged file is kept aside at the user's word), opened again
// before a job while it was away, looked at now and then for jobs other
// stations printed, and named in the line along the window's bottom. It
// asks about this station's jobs that may not have printed: at start-up,
// and from History for the one selected.
class WindowRegistry final : public QObject {
    Q_OBJECT
public:
    // `busy`: a job of the window runs, and the registry is not looked at.
    WindowRegistry(const QString& appDir, RunFiles& files, Dialogs& dialogs, QWidget* window,
                   QLabel* line, std::function<bool()> busy);
    ~WindowRegistry() override;

    // At start-up, with the mark the saved state keeps: false when the user
    // chose to end rather than keep a damaged registry aside.
    bool open(const RegistryMark& mark);
    // The registry, or null while it cannot be used.
    LabelRegistry* get() const { return m_registry.get(); }
    // Why there is no registry now.
    const QString& problem() const { return m_problem; }
    // Before a job or History: the registry, opened again if it was away;
    // else null after an error box.
    LabelRegistry* ensure();
    // The registry's mark in the state the window saves: which registry,
    // and the newest job seen there.
    void markIn(SavedState& state) const;
    void sawJob(qint64 id);

    // Where the registry says the design's type goes on, when another
    // station printed it since the window last looked: true when the
    // design's numbering moved.
    bool adoptNumbering(LabelDesign& design);
    // With the registry each type goes on from its own last job: the
    // design proposes that type's continuation (a server that did not
    // answer is left alone until it answers again).
    void proposeContinuation(LabelDesign& design, int type);
    // This station's jobs in question, each asked about; jobsSettled()
    // follows. `design` takes back the numbering of a job that did not print.
    void askAboutUnresolvedJobs(LabelDesign& design);
    // The job selected in History, if it is this station's and in question;
    // false when the registry or the folder could not be asked.
    bool settle(qint64 id, QWidget* history, LabelDesign& design);

    void setPollInterval(int ms);
    void retranslate();

Q_SIGNALS:
    // The registry answered a look: other stations may have printed.
    void answered();
    // Jobs in question were asked about: the folder's files may have changed.
    void jobsSettled();

private:
    void lookForOtherJobs();
    void showLine(bool reachable = true);
    bool keepAside(QString* error);

    QString m_appDir;
    RunFiles& m_files;
    Dialogs& m_dialogs;
    QWidget* m_window;
    QLabel* m_line;
    std::function<bool()> m_busy;
    std::unique_ptr<LabelRegistry> m_registry;
    QString m_problem;       // why there is no registry now
    qint64 m_seenJob = 0;    // the newest job of the registry this window has seen
    bool m_reachable = true; // as the line last said
    QTimer* m_poll = nullptr;
    QElapsedTimer m_unreachableSince;
};
