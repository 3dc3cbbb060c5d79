#pragma once

#include "core/layout/SheetLayout.h"

#include <QColor>
#include <QWidget>

#include <array>

// The sheet map: a miniature of one label sheet, 150 circles of 17 x 17
// pixels, with a transparent click area over them. The
// circles are painted here rather than being 150 controls. It takes the
// keyboard focus: the arrow keys step the start by a position or a row.
class QPainter;

class SheetMap final : public QWidget {
    Q_OBJECT
public:
    explicit SheetMap(QWidget* parent = nullptr);
    // The names a screen reader speaks, in the language now in effect.
    void retranslate();

    // Marks of positions 1..150 (index 0 unused), shown as fill colours:
    // used grey, printed red, free white.
    void showMarks(const std::array<SheetLayout::Mark, SheetLayout::Positions + 1>& marks);
    QColor colorAt(int position) const { return m_colors[position]; }
    static QColor colorOf(SheetLayout::Mark mark);

    // Top-left corner of the circle of a position, in this widget's pixels.
    static QPoint circleOrigin(int position);
    QWidget* clickArea() const { return m_clickArea; }
    // The click bands, in pixels of the click area; 0 where the point lies
    // in no band. The column bands run on a 15-pixel pitch while the circles
    // stand on a 16-pixel pitch, so they drift left towards column 10.
    static int columnAt(int x);
    static int rowAt(int y);
    // The position a click picks, or 0.
    static int positionAt(int x, int y);

Q_SIGNALS:
    // The pointer over the click area, in its pixels, and a click there.
    void pointerMoved(int x, int y);
    void clicked();
    // An arrow key: the start moves by this many positions (a row is 10).
    void startStepped(int positions);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintLegend(QPainter& painter);

    std::array<QColor, 151> m_colors;
    QWidget* m_clickArea = nullptr;
};
