#pragma once

#include <QObject>

class QDate;
class QWidget;
struct DesignControls;

// The three tab pages of label types: a button for each type above a panel
// that imitates its label, with the previews of its number, its date and
// its texts, and the inputs that LabelTextInputs looks after. The chosen
// type's button is checked and its panel alone is enabled, its texts black
// and every other type's grey. The twelve buttons form one exclusive group;
// the arrow keys move among the four of the page shown.
class TypePages final : public QObject {
    Q_OBJECT
public:
    // Builds the pages over the design panel, which holds the lists.
    TypePages(DesignControls& controls, QWidget* client, QObject* parent);

    void retranslate();

    // The type shown as chosen, running no handler.
    void showChosen(int type);
    // Only the chosen type's panel takes input, and only its texts are black.
    void enable(int type);
    void highlight(int type);
    // Until a type is chosen on their page, the first type of each page
    // stays enabled.
    void showStartPanels();
    // The previews of the running number and the date.
    void showNumber(int number, bool plain);
    void showDate(const QDate& date);

Q_SIGNALS:
    // The user checked a type's button.
    void typeChosen(int type);

protected:
    // The arrow keys on a type button.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanel(int type, QWidget* page, int x, int y);
    void buildFreeTexts();
    void listTypeControls();
    void paintBlack(int type);
    void greyAllPreviews();
    void tabToCheckedType();

    DesignControls& m_c;
};
