#include "ui/SheetMap.h"

#include "ui/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace {

// The click area reports every pointer position and clicks; it draws nothing.
class ClickArea final : public QWidget {
public:
    ClickArea(SheetMap* map) : QWidget(map), m_map(map)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_NoSystemBackground);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override { report(event); }
    void mousePressEvent(QMouseEvent* event) override
    {
        // A press is a position report too (touch screens have no hover).
        report(event);
        m_pressed = event->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const bool click = m_pressed && event->button() == Qt::LeftButton &&
                           rect().contains(event->position().toPoint());
        m_pressed = false;
        if (click)
            Q_EMIT m_map->clicked();
    }

    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QWidget::event(event);
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const int position = SheetMap::positionAt(help->pos().x(), help->pos().y()))
            QToolTip::showText(help->globalPos(), SheetMap::tr("位置 %1").arg(position), this);
        else
            QToolTip::hideText();
        return true;
    }

private:
    void report(QMouseEvent* event)
    {
        const QPoint p = event->position().toPoint();
        Q_EMIT m_map->pointerMoved(p.x(), p.y());
    }

    SheetMap* m_map;
    bool m_pressed = false;
};

} // namespace

namespace {

// The built-in sheet's click area; any other sheet's grid fills the same
// room, a little wider to the right.
const QRect BuiltInArea(48, 16, 177, 385);
const QRectF Room(48, 16, 216, 385);

} // namespace

SheetMap::SheetMap(QWidget* parent) : QWidget(parent)
{
    Controls::name(this, "sheetMap");
    setFocusPolicy(Qt::StrongFocus);
    m_clickArea = new ClickArea(this);
    Controls::name(m_clickArea, "clickArea");
    showSheet(Sheet::builtIn());
    retranslate();
}

void SheetMap::showSheet(const Sheet& sheet)
{
    m_sheet = sheet;
    m_colors.assign(size_t(sheet.positions()) + 1, QColor(Qt::white));
    layOut();
    update();
}

void SheetMap::layOut()
{
    if (m_sheet.isBuiltIn()) {
        m_clickArea->setGeometry(BuiltInArea);
        return;
    }
    QRectF extent;
    for (int p = 1; p <= m_sheet.positions(); ++p)
        extent |= m_sheet.discSquare(p);
    m_origin = extent.topLeft();
    m_scale = std::min(Room.width() / extent.width(), Room.height() / extent.height());
    const QSizeF size = extent.size() * m_scale;
    m_corner = Room.topLeft() + QPointF((Room.width() - size.width()) / 2, 0);
    m_clickArea->setGeometry(QRectF(m_corner, size).toAlignedRect());
}

QRectF SheetMap::circleRect(int position) const
{
    if (m_sheet.isBuiltIn()) {
        const int column = (position - 1) % 10 + 1;
        const int row = (position - 1) / 10 + 1;
        return QRectF(56 + 16 * (column - 1), 32 + 24 * (row - 1), 17, 17);
    }
    const QRectF square = m_sheet.discSquare(position);
    return QRectF(m_corner + (square.topLeft() - m_origin) * m_scale, square.size() * m_scale);
}

int SheetMap::pick(int x, int y) const
{
    if (m_sheet.isBuiltIn())
        return positionAt(x, y);
    // The circle under the point, or the nearest one within half its pitch.
    const QPointF point = QPointF(x, y) + m_clickArea->pos();
    int nearest = 0;
    double best = 0;
    for (int p = 1; p <= m_sheet.positions(); ++p) {
        const QRectF circle = circleRect(p);
        const QPointF d = point - circle.center();
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (nearest == 0 || distance < best) {
            nearest = p;
            best = distance;
        }
    }
    if (nearest == 0)
        return 0;
    const SheetGrid& grid = m_sheet.grids[m_sheet.cellOf(nearest).grid];
    const QPointF reach = QPointF(std::max(grid.pitch.x(), m_sheet.diameter),
                                  std::max(grid.pitch.y(), m_sheet.diameter)) *
                          (m_scale / 2);
    const QPointF d = point - circleRect(nearest).center();
    return std::abs(d.x()) <= reach.x() && std::abs(d.y()) <= reach.y() ? nearest : 0;
}

void SheetMap::retranslate()
{
    setAccessibleName(tr("シートの配置図"));
    setAccessibleDescription(tr("丸をクリックするか矢印キーで開始位置を選びます"));
    m_clickArea->setAccessibleName(tr("開始位置"));
}

void SheetMap::showMarks(const std::vector<SheetLayout::Mark>& marks)
{
    for (size_t p = 1; p < m_colors.size() && p < marks.size(); ++p)
        m_colors[p] = colorOf(marks[p]);
    update();
}

QColor SheetMap::colorOf(SheetLayout::Mark mark)
{
    switch (mark) {
    case SheetLayout::Mark::Used:
        return QColor(128, 128, 128);
    case SheetLayout::Mark::Printed:
        return QColor(255, 0, 0);
    case SheetLayout::Mark::Free:
        break;
    }
    return QColor(255, 255, 255);
}

int SheetMap::columnAt(int x)
{
    if (x < 10 || x > 159)
        return 0;
    return (x - 10) / 15 + 1;
}

int SheetMap::rowAt(int y)
{
    // Bands are 14 pixels high on a 24-pixel pitch; from row 10 on they
    // start one pixel lower than the pitch continues.
    for (int row = 1; row <= SheetLayout::Rows; ++row) {
        const int from = 16 + 24 * (row - 1) + (row >= 10 ? 1 : 0);
        if (y >= from && y <= from + 13)
            return row;
    }
    return 0;
}

int SheetMap::positionAt(int x, int y)
{
    const int column = columnAt(x);
    const int row = rowAt(y);
    if (column == 0 || row == 0)
        return 0;
    return column + SheetLayout::Columns * (row - 1);
}

void SheetMap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    for (int p = 1; p < int(m_colors.size()); ++p) {
        painter.setBrush(m_colors[size_t(p)]);
        painter.drawEllipse(circleRect(p).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    paintLegend(painter);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(m_clickArea->geometry()).adjusted(-3, -3, 3, 3), 4, 4);
    }
}

void SheetMap::paintLegend(QPainter& painter)
{
    // Under the circles: what their colours mean.
    painter.setFont(Controls::gothic(12, false));
    const QFontMetrics metrics(painter.font());
    int x = 48;
    const int y = 408;
    for (const auto& [mark, text] : {std::pair{SheetLayout::Mark::Used, tr("使用済み")},
                                     {SheetLayout::Mark::Printed, tr("このジョブ")},
                                     {SheetLayout::Mark::Free, tr("空き")}}) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(colorOf(mark));
        painter.drawEllipse(QRectF(x + 0.5, y + 2.5, 10, 10));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(x + 14, y + metrics.ascent(), text);
        x += 14 + metrics.horizontalAdvance(text) + 12;
    }
}

void SheetMap::keyPressEvent(QKeyEvent* event)
{
    int positions = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        positions = -1;
        break;
    case Qt::Key_Right:
        positions = 1;
        break;
    case Qt::Key_Up:
        positions = -m_sheet.grids.value(0).columns;
        break;
    case Qt::Key_Down:
        positions = m_sheet.grids.value(0).columns;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    Q_EMIT startStepped(positions);
}
