#include "ui/SheetChooser.h"

#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/NewSheetDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

SheetChooser::SheetChooser(QWidget* client, SheetCatalogue& catalogue, Dialogs& dialogs)
    : QObject(client), m_catalogue(catalogue), m_dialogs(dialogs), m_client(client)
{
    m_caption = Controls::label(client, "sheetChoiceCaption", QString(), 16, 114);
    m_list = new QComboBox(client);
    Controls::name(m_list, "sheetChoiceList");
    Controls::nameAfter(m_list, m_caption);
    m_list->setGeometry(112, 108, 200, 28);
    m_new = new QPushButton(client);
    Controls::name(m_new, "newSheetButton");
    m_new->setGeometry(316, 108, 120, 28);
    connect(m_list, &QComboBox::currentIndexChanged, this, &SheetChooser::chooseRow);
    connect(m_new, &QPushButton::clicked, this, &SheetChooser::typeNewSheet);
    retranslate();
}

void SheetChooser::retranslate()
{
    Controls::setCaption(m_caption, tr("ラベルシート"));
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
    m_list->addItem(choice.sheet.name);
    m_list->setItemData(m_list->count() - 1,
                        tr("%1（%2 枚）").arg(choice.id).arg(choice.sheet.positions()),
                        Qt::ToolTipRole);
}

void SheetChooser::showSheet(const SheetChoice& choice)
{
    m_shown = choice;
    const QSignalBlocker blocker(m_list);
    int row = indexOf(choice.id);
    // A sheet changed or removed since it was chosen keeps the station's copy.
    if (row >= 0 && m_entries[row].sheet != choice.sheet) {
        m_entries[row] = choice;
        m_list->setItemText(row, choice.sheet.name);
    }
    if (row < 0) {
        addEntry(choice);
        row = m_list->count() - 1;
    }
    m_list->setCurrentIndex(row);
}

void SheetChooser::chooseRow(int row)
{
    if (row < 0 || row >= int(m_entries.size()))
        return;
    m_shown = m_entries[row];
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
