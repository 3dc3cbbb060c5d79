#pragma once

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QListView>
#include <QStringList>

// Items of a ListBox: either a list of texts or a range of whole numbers,
// whose texts are made on demand (the first-number list holds 10000 of them).
class ListBoxModel final : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setItems(const QStringList& items);
    void setNumberRange(int first, int last);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QString text(int row) const;
    bool holdsNumbers() const { return m_numbers; }
    // The row of a number in a range, or -1.
    int rowOfNumber(int number) const;

private:
    QStringList m_items;
    int m_first = 0;
    int m_count = 0;
    bool m_numbers = false;
};

// A single-choice list. Handlers connect to currentRowChanged, which only a
// user's selection (mouse or keyboard) emits; selectRow() from the program
// never does.
class ListBox final : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);
    // A list with its object name (Controls::name) where it stands.
    static ListBox* make(QWidget* parent, const char* name, const QRect& geometry);

    void setItems(const QStringList& items);
    void setNumberRange(int first, int last);
    void clear();

    int count() const;
    QString itemText(int row) const;
    int findText(const QString& text) const;
    int currentRow() const;
    // Programmatic selection: runs no handler. -1 clears the selection.
    void selectRow(int row);

    // In a list of numbers, keys typed in quick succession make one number,
    // and the list jumps to it ("100" is 100, not the first entry that
    // starts with "100"). Other lists search by their texts' beginnings.
    void keyboardSearch(const QString& search) override;

Q_SIGNALS:
    void currentRowChanged(int row);
    // A click on the entry that was already selected (no change to report).
    void currentRowClickedAgain(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // A frame in the highlight colour shows which list has the focus: the
    // styles' own focus marks hide under the selected entry.
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void onCurrentChanged(const QModelIndex& current);
    void onClicked(const QModelIndex& index);

    ListBoxModel m_model;
    int m_rowAtPress = -1;
    QString m_typed; // the number typed so far
    QElapsedTimer m_lastKey;
};
