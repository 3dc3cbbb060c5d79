#include "ui/SheetChooser.h"

#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/NewSheetDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

SheetChooser::SheetChooser(QWidget* client, SheetCatalogue& catalogue, Dialogs& dialogs)
    : QObject(client), m_catalogue(catalogue), m_dialogs(dialogs), m_client(client)
{
    // Left of the map, between the scale and the trial buttons.
    m_caption = Controls::label(client, "sheetChoiceCaption", QString(), 8, 368);
    m_list = new QComboBox(client);
    Controls::name(m_list, "sheetChoiceList");
    Controls::nameAfter(m_list, m_caption);
    m_list->setGeometry(6, 390, 96, 30);
    m_list->setFont(Controls::gothic(12, false));
    // The names are longer than the room: the open list shows them whole.
    m_list->view()->setMinimumWidth(320);
    m_new = new QPushButton(client);
    Controls::name(m_new, "newSheetButton");
    m_new->setGeometry(6, 426, 96, 30);
    m_new->setFont(Controls::gothic(12, false));
    // The built-in sheet until the station's is known; the rest when shown.
    showSheet(SheetChoice());
    connect(m_list, &QComboBox::currentIndexChanged, this, &SheetChooser::chooseRow);
    connect(m_new, &QPushButton::clicked, this, &SheetChooser::typeNewSheet);
    retranslate();
}

void SheetChooser::retranslate()
{
    Controls::setCaption(m_caption, tr("ラベルシート"));
    // A list that shows one entry speaks that entry; it is named by its caption.
    m_list->setAccessibleName(m_caption->text());
    m_list->view()->setAccessibleName(m_caption->text());
    // The built-in sheet's name is in the language of the moment.
    for (int row = 0; row < int(m_entries.size()); ++row) {
        if (m_entries[row].isBuiltIn())
            m_entries[row].sheet.name = Sheet::builtIn().name;
        describe(row);
    }
    m_new->setText(tr("新しいシート…"));
}

void SheetChooser::setVisible(bool visible)
{
    if (visible)
        fill();
    for (QWidget* widget : {static_cast<QWidget*>(m_caption), static_cast<QWidget*>(m_list),
                            static_cast<QWidget*>(m_new)})
        widget->setVisible(visible);
}

void SheetChooser::fill()
{
    if (m_filled)
        return;
    m_filled = true;
    const QSignalBlocker blocker(m_list);
    m_entries.clear();
    m_list->clear();
    for (const SheetEntry& entry : m_catalogue.all())
        addEntry({entry.id, entry.sheet});
    showSheet(m_shown);
}

int SheetChooser::indexOf(const QString& id) const
{
    for (int i = 0; i < int(m_entries.size()); ++i) {
        if (m_entries[i].id == id)
            return i;
    }
    return -1;
}

void SheetChooser::addEntry(const SheetChoice& choice)
{
    m_entries << choice;
    m_list->addItem(QString());
    describe(m_list->count() - 1);
}

void SheetChooser::describe(int row)
{
    const SheetChoice& choice = m_entries[row];
    m_list->setItemText(row, choice.sheet.name);
    m_list->setItemData(
        row, tr("%1\n%2（%3 枚）").arg(choice.sheet.name, choice.id).arg(choice.sheet.positions()),
        Qt::ToolTipRole);
    if (row == m_list->currentIndex())
        m_list->setToolTip(m_list->itemData(row, Qt::ToolTipRole).toString());
}

void SheetChooser::showSheet(const SheetChoice& choice)
{
    m_shown = choice;
    const QSignalBlocker blocker(m_list);
    int row = indexOf(choice.id);
    // A sheet changed or removed since it was chosen keeps the station's copy.
    if (row >= 0 && !m_entries[row].sameAs(choice)) {
        m_entries[row] = choice;
        describe(row);
    }
    if (row < 0) {
        addEntry(choice);
        row = m_list->count() - 1;
    }
    m_list->setCurrentIndex(row);
    m_list->setToolTip(m_list->itemData(row, Qt::ToolTipRole).toString());
}

void SheetChooser::chooseRow(int row)
{
    if (row < 0 || row >= int(m_entries.size()))
        return;
    m_shown = m_entries[row];
    m_list->setToolTip(m_list->itemData(row, Qt::ToolTipRole).toString());
    Q_EMIT sheetChosen(m_shown);
}

void SheetChooser::typeNewSheet()
{
    NewSheetDialog dialog(m_client->window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    const std::optional<SheetEntry> saved = m_catalogue.saveUserSheet(dialog.sheet(), &error);
    if (!saved) {
        m_dialogs.error(m_client->window(), error);
        return;
    }
    fill();
    showSheet({saved->id, saved->sheet});
    Q_EMIT sheetChosen(m_shown);
}
