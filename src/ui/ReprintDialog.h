#pragma once

#include "core/registry/LabelRegistry.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Which labels of a past job to print again, and from which sheet
// position: all, a range of samples, or the labels picked in a list.
class ReprintDialog final : public QDialog {
    Q_OBJECT
public:
    // `positions`: of the sheet the labels go onto, the station's.
    ReprintDialog(const RegistryJob& job, int startPosition, int positions,
                  QWidget* parent = nullptr);

    // The chosen labels' places in the job, in print order.
    QList<int> chosenLabels() const;
    int startPosition() const;

private:
    void showChoice();

    const RegistryJob m_job;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_samples = nullptr;
    QRadioButton* m_picked = nullptr;
    QSpinBox* m_firstSample = nullptr;
    QSpinBox* m_lastSample = nullptr;
    QListWidget* m_labels = nullptr;
    QSpinBox* m_start = nullptr;
    QPushButton* m_print = nullptr;
    QLabel* m_chosenLine = nullptr;
};
