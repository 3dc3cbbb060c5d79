#include "ui/ReprintDialog.h"

#include "core/job/Reprint.h"
#include "ui/Controls.h"
#include "ui/JobLines.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

ReprintDialog::ReprintDialog(const RegistryJob& job, int startPosition, int positions,
                             QWidget* parent)
    : QDialog(parent), m_job(job)
{
    setObjectName(QStringLiteral("reprintDialog"));
    setWindowTitle(tr("再印刷: ジョブ %1").arg(job.id));
    const int samples =
        job.job.labels.isEmpty() ? 1 : Reprint::sampleOf(job, int(job.job.labels.size()) - 1).first;

    m_all =
        new QRadioButton(tr("すべてのラベル（%n 枚）", nullptr, int(job.job.labels.size())), this);
    Controls::name(m_all, "reprintAll");
    m_samples = new QRadioButton(tr("サンプル"), this);
    Controls::name(m_samples, "reprintSamples");
    m_firstSample = new QSpinBox(this);
    Controls::name(m_firstSample, "reprintFirstSample", tr("最初のサンプル"));
    m_lastSample = new QSpinBox(this);
    Controls::name(m_lastSample, "reprintLastSample", tr("最後のサンプル"));
    for (QSpinBox* box : {m_firstSample, m_lastSample})
        box->setRange(1, samples);
    m_lastSample->setValue(samples);
    m_picked = new QRadioButton(tr("選んだラベル"), this);
    Controls::name(m_picked, "reprintPicked");
    m_labels = new QListWidget(this);
    Controls::name(m_labels, "reprintLabels", tr("ジョブのラベル"));
    m_labels->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const PrintLogEntry& label : job.job.labels)
        m_labels->addItem(labelText(label));

    auto* startCaption = new QLabel(tr("開始位置"), this);
    m_start = new QSpinBox(this);
    Controls::name(m_start, "reprintStart");
    Controls::nameAfter(m_start, startCaption);
    m_start->setRange(1, positions);
    // A start the sheet does not have begins it afresh, as a job would.
    m_start->setValue(startPosition <= positions ? startPosition : 1);

    // The labels the choice prints, as they will print.
    m_chosenLine = new QLabel(this);
    m_chosenLine->setObjectName(QStringLiteral("reprintChosen"));
    m_chosenLine->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_print = buttons->addButton(tr("印刷"), QDialogButtonBox::AcceptRole);
    Controls::name(m_print, "reprintPrint");

    auto* grid = new QGridLayout;
    grid->addWidget(m_all, 0, 0, 1, 4);
    grid->addWidget(m_samples, 1, 0);
    grid->addWidget(m_firstSample, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("–"), this), 1, 2);
    grid->addWidget(m_lastSample, 1, 3);
    grid->addWidget(m_picked, 2, 0, 1, 4);
    grid->addWidget(m_labels, 3, 0, 1, 4);
    grid->addWidget(m_chosenLine, 4, 0, 1, 4);
    grid->addWidget(startCaption, 5, 0);
    grid->addWidget(m_start, 5, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    m_all->setChecked(true);
    for (QRadioButton* choice : {m_all, m_samples, m_picked})
        connect(choice, &QRadioButton::toggled, this, &ReprintDialog::showChoice);
    connect(m_labels, &QListWidget::itemSelectionChanged, this, &ReprintDialog::showChoice);
    connect(m_firstSample, &QSpinBox::valueChanged, this, &ReprintDialog::showChoice);
    connect(m_lastSample, &QSpinBox::valueChanged, this, &ReprintDialog::showChoice);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showChoice();
}

QList<int> ReprintDialog::chosenLabels() const
{
    if (m_all->isChecked())
        return Reprint::choose(m_job, {}, nullptr);
    if (m_samples->isChecked())
        return Reprint::choose(
            m_job, {std::pair(m_firstSample->value(), m_lastSample->value()), {}}, nullptr);
    QList<int> picked;
    for (int row = 0; row < m_labels->count(); ++row) {
        if (m_labels->item(row)->isSelected())
            picked << row;
    }
    return picked;
}

int ReprintDialog::startPosition() const
{
    return m_start->value();
}

void ReprintDialog::showChoice()
{
    m_firstSample->setEnabled(m_samples->isChecked());
    m_lastSample->setEnabled(m_samples->isChecked());
    m_labels->setEnabled(m_picked->isChecked());
    const QList<int> chosen = chosenLabels();
    m_print->setEnabled(!chosen.isEmpty());
    QList<PrintLogEntry> labels;
    for (int index : chosen)
        labels << m_job.job.labels.value(index);
    if (!m_picked->isChecked()) {
        // The list marks what the samples mean; a selection made here runs no handler.
        const QSignalBlocker blocker(m_labels);
        for (int row = 0; row < m_labels->count(); ++row)
            m_labels->item(row)->setSelected(chosen.contains(row));
        if (!chosen.isEmpty())
            m_labels->scrollToItem(m_labels->item(chosen.first()));
    }
    m_chosenLine->setText(
        labels.isEmpty()
            ? tr("ラベルを選んでください")
            : tr("%n 枚: %1", nullptr, int(labels.size())).arg(JobLines::range(labels)));
}
