#include "ui/HistoryDialog.h"

#include "core/model/LabelType.h"
#include "core/registry/LabelRegistry.h"
#include "ui/Controls.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Job, When, Kind, State, Type, First, Last, Count, Printer, Station, Columns };

// The job's id in its first cell; whether it is in question in its state's.
QTableWidgetItem* cell(const QString& text, const QVariant& data = {})
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (data.isValid())
        item->setData(Qt::UserRole, data);
    return item;
}

} // namespace

HistoryDialog::HistoryDialog(LabelRegistry& registry, QWidget* parent)
    : QDialog(parent), m_registry(registry)
{
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(tr("履歴"));
    resize(900, 480);

    auto* searchCaption = new QLabel(tr("ラベルを探す:"), this);
    m_search = new QLineEdit(this);
    Controls::name(m_search, "historySearch");
    m_search->setPlaceholderText(tr("例: LAB 0031"));
    Controls::nameAfter(m_search, searchCaption);
    m_find = new QPushButton(tr("検索"), this);
    Controls::name(m_find, "historyFind");
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("historyStatus"));

    m_table = new QTableWidget(0, Columns, this);
    Controls::name(m_table, "historyTable", tr("印刷したジョブ"));
    m_table->setHorizontalHeaderLabels({tr("ジョブ"), tr("日時"), tr("種類"), tr("状態"), tr("タイプ"),
                                        tr("最初"), tr("最後"), tr("枚数"), tr("プリンター"),
                                        tr("ステーション")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_record = new QPushButton(tr("Report"), this);
    Controls::name(m_record, "historyRecord", QString(), tr("選んだジョブの記録を A4 に印刷します"));
    m_spreadsheet = new QPushButton(tr("Excel"), this);
    Controls::name(m_spreadsheet, "historySpreadsheet", QString(),
                   tr("選んだジョブを Excel のファイルに書き出します"));
    m_reprint = new QPushButton(tr("再印刷"), this);
    Controls::name(m_reprint, "historyReprint", QString(),
                   tr("選んだジョブのラベルを、番号を進めずにもう一度印刷します"));
    m_settle = new QPushButton(tr("印刷されたか答える"), this);
    Controls::name(m_settle, "historySettle", QString(),
                   tr("選んだ未確認のジョブが印刷されたかどうかを答えます"));
    auto* close = new QPushButton(tr("閉じる"), this);
    Controls::name(close, "historyClose");

    auto* search = new QHBoxLayout;
    search->addWidget(searchCaption);
    search->addWidget(m_search, 1);
    search->addWidget(m_find);
    search->addWidget(m_status, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_record);
    buttons->addWidget(m_spreadsheet);
    buttons->addWidget(m_reprint);
    buttons->addWidget(m_settle);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    connect(m_find, &QPushButton::clicked, this, &HistoryDialog::findLabel);
    connect(m_search, &QLineEdit::returnPressed, this, &HistoryDialog::findLabel);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &HistoryDialog::showSelection);
    connect(m_record, &QPushButton::clicked, this,
            [this] { Q_EMIT recordRequested(selectedJob()); });
    connect(m_spreadsheet, &QPushButton::clicked, this,
            [this] { Q_EMIT spreadsheetRequested(selectedJob()); });
    connect(m_reprint, &QPushButton::clicked, this,
            [this] { Q_EMIT reprintRequested(selectedJob()); });
    connect(m_settle, &QPushButton::clicked, this,
            [this] { Q_EMIT settleRequested(selectedJob()); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    reload();
}

void HistoryDialog::reload()
{
    const qint64 selected = selectedJob();
    const std::optional<QList<JobSummary>> jobs = m_registry.history({});
    {
        const QSignalBlocker blocker(m_table);
        m_table->setRowCount(0);
        const QList<JobSummary> list = jobs.value_or(QList<JobSummary>());
        m_table->setRowCount(int(list.size()));
        for (int row = 0; row < int(list.size()); ++row) {
            const JobSummary& job = list[row];
            const QString kind = job.kind == JobKind::Reprint
                                     ? tr("再印刷（%1）").arg(job.reprintOf)
                                     : tr("ラベル");
            const QString state =
                job.state == JobState::Printed ? tr("印刷済み") : tr("未確認");
            const QStringList texts = {
                QString::number(job.id),
                job.reservedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                kind,
                state,
                QString::number(job.labelType),
                job.firstLabel,
                job.lastLabel,
                QString::number(job.labelCount),
                job.printer,
                job.station};
            for (int column = 0; column < Columns; ++column) {
                const QVariant held = column == Job     ? QVariant(job.id)
                                      : column == State ? QVariant(job.state == JobState::Reserved)
                                                        : QVariant();
                m_table->setItem(row, column, cell(texts[column], held));
            }
        }
    }
    m_table->resizeColumnsToContents();
    m_status->setText(jobs ? tr("%n 件のジョブ", nullptr, int(jobs->size()))
                           : tr("履歴を読めません: %1").arg(m_registry.errorString()));
    selectJob(selected);
    showSelection();
}

qint64 HistoryDialog::selectedJob() const
{
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    for (const QTableWidgetItem* item : items) {
        if (item->column() == Job)
            return item->data(Qt::UserRole).toLongLong();
    }
    return 0;
}

void HistoryDialog::selectJob(qint64 job)
{
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (m_table->item(row, Job)->data(Qt::UserRole).toLongLong() == job) {
            m_table->selectRow(row);
            m_table->scrollToItem(m_table->item(row, Job));
            return;
        }
    }
    m_table->clearSelection();
}

void HistoryDialog::findLabel()
{
    const std::optional<QList<JobSummary>> found = m_registry.find(m_search->text());
    if (!found) {
        m_status->setText(tr("探せません: %1").arg(m_registry.errorString()));
        return;
    }
    // The job that issued it: the first of its jobs of labels, not a reprint.
    qint64 issuer = 0;
    for (const JobSummary& job : *found) {
        if (job.kind == JobKind::Labels)
            issuer = job.id;
    }
    if (issuer == 0 && !found->isEmpty())
        issuer = found->last().id;
    if (issuer == 0) {
        m_status->setText(tr("「%1」は見つかりません").arg(m_search->text().trimmed()));
        return;
    }
    selectJob(issuer);
    m_status->setText(tr("ジョブ %1 が印刷しました").arg(issuer));
}

void HistoryDialog::showSelection()
{
    const qint64 job = selectedJob();
    bool listed = false;
    bool inQuestion = false;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (m_table->item(row, Job)->isSelected()) {
            listed = labelType(m_table->item(row, Type)->text().toInt()).listed;
            inQuestion = m_table->item(row, State)->data(Qt::UserRole).toBool();
        }
    }
    m_record->setEnabled(job > 0);
    m_spreadsheet->setEnabled(job > 0 && listed);
    m_reprint->setEnabled(job > 0);
    m_settle->setEnabled(job > 0 && inQuestion);
}
