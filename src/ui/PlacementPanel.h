#pragma once

#include "core/layout/Sheet.h"
#include "core/layout/SheetGeometry.h"

#include <QObject>

class QWidget;
struct PrintControls;

// Where the labels go, the print screen's left side: the sheet map with the
// start position (clicked, typed or stepped with the arrow keys), the sheets
// of the job, the offsets, the calibrated scale, and the preview and test
// sheet. It shows the values it is given and reports the user's choices.
class PlacementPanel final : public QObject {
    Q_OBJECT
public:
    // Builds its controls on the client and the screen's panel, into `c`.
    PlacementPanel(QWidget* client, PrintControls& c);

    void retranslate();
    // The map and the sheets of a job of `labelTotal` labels from a start.
    void showRun(int labelTotal, int startPosition);
    void showStart(int startPosition);
    // The station's sheet: the map's grid and the start's range. The start
    // shown is left as it is: the caller moves it onto the sheet.
    void showLabelSheet(const Sheet& sheet);
    void showOffsets(const SheetGeometry::Offsets& offsets);
    void showScale(int scaleX, int scaleY);
    int sheetCount() const { return m_sheetCount; }
    // The start the map shows: as typed, while it is being typed.
    int shownStart() const { return m_shownStart; }
    // The start field holds a position of the sheet.
    bool startIsValid() const { return m_startValid; }
    // A start typed but not yet confirmed is chosen now (before a job).
    void takeTypedStart();

Q_SIGNALS:
    void startPositionChosen(int position);
    // The start field changed as the user types: the map shows it, and
    // what the job would print follows.
    void startTyped();
    void offsetsChosen(const SheetGeometry::Offsets& offsets);
    void scaleChosen(int scaleX, int scaleY);
    void previewRequested();
    void testSheetRequested();

private:
    void buildMap(QWidget* client);
    void buildScale(QWidget* client);
    void buildTrialButtons(QWidget* client);
    void buildSheetsAndOffsets();
    void showStartField();
    void followTypedStart(int typed);
    void markStart(bool valid);
    void countSheets();
    void showSheet(int sheet);
    void chooseStartAtPointer();
    void stepStart(int positions);
    void chooseOffsets();
    int lastPosition() const; // of the station's sheet

    PrintControls& m_c;
    int m_startPosition = 1; // as chosen
    int m_shownStart = 1;    // as the map shows it: typed, or as chosen
    bool m_startValid = true;
    int m_labelTotal = 0;
    int m_sheetCount = 0;
    int m_mouseX = 0;
    int m_mouseY = 0;
};
