#pragma once

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
    void showOffsets(const SheetGeometry::Offsets& offsets);
    void showScale(int scaleX, int scaleY);
    int sheetCount() const { return m_sheetCount; }

Q_SIGNALS:
    void startPositionChosen(int position);
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
    void countSheets();
    void showSheet(int sheet);
    void chooseStartAtPointer();
    void stepStart(int positions);
    void chooseOffsets();

    PrintControls& m_c;
    int m_startPosition = 1;
    int m_labelTotal = 0;
    int m_sheetCount = 0;
    int m_mouseX = 0;
    int m_mouseY = 0;
};
