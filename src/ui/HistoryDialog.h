#pragma once

#include <QDialog>

class LabelRegistry;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Every job of the registry, newest first, with a search for a label text
// that selects the job that issued it. For the selected job it offers its
// record and spreadsheet as they were made after it printed, and a reprint;
// for a job in question (reserved, never confirmed) it offers to say whether
// it printed. The window does those.
class HistoryDialog final : public QDialog {
    Q_OBJECT
public:
    HistoryDialog(LabelRegistry& registry, QWidget* parent = nullptr);

    // The jobs again, as the registry has them now.
    void reload();
    // The selected job's id, 0 for none.
    qint64 selectedJob() const;

Q_SIGNALS:
    void recordRequested(qint64 job);
    void spreadsheetRequested(qint64 job);
    void reprintRequested(qint64 job);
    void settleRequested(qint64 job);

private:
    void findLabel();
    void showSelection();
    void selectJob(qint64 job);

    LabelRegistry& m_registry;
    QLineEdit* m_search = nullptr;
    QPushButton* m_find = nullptr;
    QLabel* m_status = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_record = nullptr;
    QPushButton* m_spreadsheet = nullptr;
    QPushButton* m_reprint = nullptr;
    QPushButton* m_settle = nullptr;
};
