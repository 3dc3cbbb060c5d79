#include "ui/ListBox.h"

#include <QMouseEvent>
#include <QSignalBlocker>

void ListBoxModel::setItems(const QStringList& items)
{
    beginResetModel();
    m_items = items;
    m_numbers = false;
    m_count = int(items.size());
    endResetModel();
}

void ListBoxModel::setNumberRange(int first, int last)
{
    beginResetModel();
    m_items.clear();
    m_numbers = true;
    m_first = first;
    m_count = last >= first ? last - first + 1 : 0;
    endResetModel();
}

int ListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return text(index.row());
    return {};
}

QString ListBoxModel::text(int row) const
{
    if (row < 0 || row >= m_count)
        return {};
    return m_numbers ? QString::number(m_first + row) : m_items.at(row);
}

ListBox::ListBox(QWidget* parent) : QListView(parent)
{
    setModel(&m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { onCurrentChanged(current); });
    connect(this, &QAbstractItemView::clicked, this, &ListBox::onClicked);
}

void ListBox::setItems(const QStringList& items)
{
    const QSignalBlocker blocker(this);
    m_model.setItems(items);
}

void ListBox::setNumberRange(int first, int last)
{
    const QSignalBlocker blocker(this);
    m_model.setNumberRange(first, last);
}

void ListBox::clear()
{
    setItems({});
}

int ListBox::count() const
{
    return m_model.rowCount();
}

QString ListBox::itemText(int row) const
{
    return m_model.text(row);
}

int ListBox::findText(const QString& text) const
{
    for (int row = 0; row < count(); ++row) {
        if (m_model.text(row) == text)
            return row;
    }
    return -1;
}

int ListBox::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void ListBox::selectRow(int row)
{
    // The view still hears the selection model (it repaints), but our own
    // signal stays silent, so no handler runs.
    const QSignalBlocker blocker(this);
    if (row < 0 || row >= count()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_model.index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void ListBox::mousePressEvent(QMouseEvent* event)
{
    m_rowAtPress = currentRow();
    QListView::mousePressEvent(event);
}

void ListBox::onCurrentChanged(const QModelIndex& current)
{
    if (current.isValid()) {
        // Keep the highlight on the current entry (keyboard moves it too).
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    }
    Q_EMIT currentRowChanged(current.isValid() ? current.row() : -1);
}

void ListBox::onClicked(const QModelIndex& index)
{
    if (index.isValid() && index.row() == m_rowAtPress)
        Q_EMIT currentRowClickedAgain(index.row());
}
