#pragma once

#include <QColor>
#include <QWidget>

// A circle inscribed in the widget's rectangle: a fill and an outline.
class CircleShape final : public QWidget {
    Q_OBJECT
public:
    explicit CircleShape(QWidget* parent = nullptr);

    void setFill(const QColor& color);
    QColor fill() const { return m_fill; }
    void setOutline(const QColor& color);
    QColor outline() const { return m_outline; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill = Qt::white;
    QColor m_outline = Qt::black;
};
