#include "ui/Controls.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace Controls {

void name(QWidget* widget, const char* controlName, const QString& caption)
{
    const QString id = QString::fromLatin1(controlName);
    widget->setObjectName(id);
    widget->setAccessibleDescription(id);
    if (!caption.isEmpty())
        widget->setAccessibleName(caption);
}

QFont gothic(int pixelSize, bool bold, bool italic)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

namespace {

QPalette::ColorRole textRole(const QWidget* widget)
{
    if (qobject_cast<const QLabel*>(widget))
        return QPalette::WindowText;
    return QPalette::Text;
}

} // namespace

void setFontColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    const QPalette::ColorRole role = textRole(widget);
    // Disabled previews keep the colour they were given, as on paper.
    palette.setColor(QPalette::Active, role, color);
    palette.setColor(QPalette::Inactive, role, color);
    palette.setColor(QPalette::Disabled, role, color);
    widget->setPalette(palette);
}

QColor fontColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::Active, textRole(widget));
}

void setBackgroundColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor backgroundColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Window);
}

QLabel* label(QWidget* parent, const char* controlName, const QString& text, int x, int y,
              int width, int height)
{
    auto* caption = new QLabel(text, parent);
    caption->setTextFormat(Qt::PlainText);
    name(caption, controlName, text);
    caption->move(x, y);
    if (width > 0 && height > 0)
        caption->resize(width, height);
    else
        caption->adjustSize();
    return caption;
}

} // namespace Controls
