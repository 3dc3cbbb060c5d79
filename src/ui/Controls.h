#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

// Small helpers that give every control the same identity and look.
namespace Controls {

// The control name doubles as Qt object name and accessible description, so
// tests, screen readers and automation tools find it; the caption, where there
// is one, is the accessible name.
void name(QWidget* widget, const char* controlName, const QString& caption = QString());

// "ＭＳ Ｐゴシック" at a pixel height, as the window's controls use it.
QFont gothic(int pixelSize, bool bold = true, bool italic = false);

// Text colour of a label, edit, memo or list.
void setFontColor(QWidget* widget, const QColor& color);
QColor fontColor(const QWidget* widget);

// Opaque background of a label.
void setBackgroundColor(QWidget* widget, const QColor& color);
QColor backgroundColor(const QWidget* widget);

// A plain-text caption: what is typed is shown as typed, never as markup.
QLabel* label(QWidget* parent, const char* controlName, const QString& text, int x, int y,
              int width = -1, int height = -1);

} // namespace Controls
