#pragma once

#include "core/layout/SheetLayout.h"

#include <QColor>
#include <QWidget>

#include <vector>

// The sheet map: a miniature of one label sheet, with a transparent click
// area over its circles. The built-in sheet's 150 circles are 17 x 17
// pixels, on the bands its users' hands know; any other sheet's grid is
// scaled to the same room. The circles are painted here rather than being
// controls. It takes the keyboard focus: the arrow keys step the start by a
// position or a row.
class QPainter;

class SheetMap final : public QWidget {
    Q_OBJECT
public:
    explicit SheetMap(QWidget* parent = nullptr);
    // The names a screen reader speaks, in the language now in effect.
    void retranslate();

    // The sheet drawn: every position white until marks come.
    void showSheet(const Sheet& sheet);
    const Sheet& sheet() const { return m_sheet; }

    // Marks of positions 1..N (index 0 unused), shown as fill colours:
    // used grey, printed red, free white.
    void showMarks(const std::vector<SheetLayout::Mark>& marks);
    QColor colorAt(int position) const { return m_colors.at(size_t(position)); }
    static QColor colorOf(SheetLayout::Mark mark);

    // A position's circle, in this widget's pixels.
    QRectF circleRect(int position) const;
    QWidget* clickArea() const { return m_clickArea; }
    // The position a click at a point of the click area picks, or 0.
    int pick(int x, int y) const;
    // The click bands, in pixels of the click area; 0 where the point lies
    // in no band. The column bands run on a 15-pixel pitch while the circles
    // stand on a 16-pixel pitch, so they drift left towards column 10.
    static int columnAt(int x);
    static int rowAt(int y);
    // The position a click picks on the built-in sheet, or 0.
    static int positionAt(int x, int y);

Q_SIGNALS:
    // The pointer over the click area, in its pixels, and a click there.
    void pointerMoved(int x, int y);
    void clicked();
    // An arrow key: the start moves by this many positions (a row is the
    // sheet's columns).
    void startStepped(int positions);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintLegend(QPainter& painter);
    // Another sheet's scale and where its grids' corner lies, in pixels.
    void layOut();

    Sheet m_sheet = Sheet::builtIn();
    std::vector<QColor> m_colors;
    double m_scale = 1;
    QPointF m_corner;
    QPointF m_origin; // the grids' top-left corner on the sheet, mm
    QWidget* m_clickArea = nullptr;
};
