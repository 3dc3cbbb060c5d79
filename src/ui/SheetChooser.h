#pragma once

#include "core/layout/SheetCatalogue.h"

#include <QObject>

class Dialogs;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

// The print screen's choice of the label sheet in the station's printer:
// a list of every sheet (built-in, ours, the user's, the gLabels database),
// and 新しいシート… to type one in, saved as the user's sheet file. The
// gLabels database is read when the list is first shown.
class SheetChooser final : public QObject {
    Q_OBJECT
public:
    SheetChooser(QWidget* client, SheetCatalogue& catalogue, Dialogs& dialogs);

    void retranslate();
    void setVisible(bool visible);
    // Shows the station's sheet as chosen. One that the catalogue no longer
    // has (its file removed) is listed from the copy the station keeps.
    void showSheet(const SheetChoice& choice);

    QComboBox* list() const { return m_list; }
    QPushButton* newButton() const { return m_new; }

Q_SIGNALS:
    void sheetChosen(const SheetChoice& choice);

private:
    void fill();
    int indexOf(const QString& id) const;
    void addEntry(const SheetChoice& choice);
    void describe(int row); // its text and tooltip
    void chooseRow(int row);
    void typeNewSheet();

    SheetCatalogue& m_catalogue;
    Dialogs& m_dialogs;
    QWidget* m_client;
    QList<SheetChoice> m_entries;
    SheetChoice m_shown;
    bool m_filled = false;
    QLabel* m_caption = nullptr;
    QComboBox* m_list = nullptr;
    QPushButton* m_new = nullptr;
};
