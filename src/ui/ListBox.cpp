#include "ui/ListBox.h"

#include "ui/Controls.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
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

int ListBoxModel::rowOfNumber(int number) const
{
    const qint64 row = qint64(number) - m_first;
    return m_numbers && row >= 0 && row < m_count ? int(row) : -1;
}

ListBox* ListBox::make(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* list = new ListBox(parent);
    Controls::name(list, name);
    list->setGeometry(geometry);
    return list;
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

void ListBox::keyboardSearch(const QString& search)
{
    if (!m_model.holdsNumbers()) {
        QListView::keyboardSearch(search);
        return;
    }
    const bool goesOn =
        m_lastKey.isValid() && m_lastKey.elapsed() <= QApplication::keyboardInputInterval();
    m_lastKey.start();
    auto rowOf = [this](const QString& typed) {
        bool ok = false;
        const int number = typed.toInt(&ok);
        return ok ? m_model.rowOfNumber(number) : -1;
    };
    m_typed = goesOn ? m_typed + search : search;
    int row = rowOf(m_typed);
    if (row < 0 && goesOn) {
        // A number past the list's end: the last key begins a new one.
        m_typed = search;
        row = rowOf(m_typed);
    }
    if (row < 0)
        return; // a lone "-", or no such entry
    const QModelIndex index = m_model.index(row);
    // A user's choice, so the handlers run as for a click.
    setCurrentIndex(index);
    scrollTo(index);
}

void ListBox::paintEvent(QPaintEvent* event)
{
    QListView::paintEvent(event);
    if (!hasFocus())
        return;
    // A band in the highlight colour, and inside it a line in the base
    // colour that stands out where the selected entry fills the list (the
    // letter lists show only one).
    QPainter painter(viewport());
    auto band = [&painter](const QRect& r, int width, const QColor& color) {
        painter.fillRect(r.left(), r.top(), r.width(), width, color);
        painter.fillRect(r.left(), r.bottom() - width + 1, r.width(), width, color);
        painter.fillRect(r.left(), r.top(), width, r.height(), color);
        painter.fillRect(r.right() - width + 1, r.top(), width, r.height(), color);
    };
    const QRect area = viewport()->rect();
    band(area, 2, palette().color(QPalette::Highlight));
    band(area.adjusted(2, 2, -2, -2), 1, palette().color(QPalette::Base));
}

void ListBox::focusInEvent(QFocusEvent* event)
{
    QListView::focusInEvent(event);
    viewport()->update();
}

void ListBox::focusOutEvent(QFocusEvent* event)
{
    QListView::focusOutEvent(event);
    viewport()->update();
}

void ListBox::scrollContentsBy(int dx, int dy)
{
    QListView::scrollContentsBy(dx, dy);
    // Scrolling moves the painted frame with the entries: draw it anew.
    if (hasFocus())
        viewport()->update();
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
