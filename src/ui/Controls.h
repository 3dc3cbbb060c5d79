#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

// Small helpers that give every control the same identity and look.
namespace Controls {

// The object name, by which tests and automation tools find the control. A
// screen reader speaks a control's own text (a label, a button) or the
// caption beside it (nameAfter()); spokenName is for a control with neither.
// description only where the name alone does not say what the control does.
void name(QWidget* widget, const char* objectName, const QString& spokenName = QString(),
          const QString& description = QString());

// Names an input after the caption the user sees beside it, and keeps it so
// when the caption's text changes.
void nameAfter(QWidget* input, QLabel* caption);

// The colour of an input that holds what cannot be used, and of the words
// that say why.
inline const QColor WrongColour(176, 0, 0);

// Enter on a focused button of `root` presses it, as Space does; outside a
// dialog Qt gives Enter to no button.
void pressOnEnter(QWidget* root);

// "ＭＳ Ｐゴシック" at a pixel height, as the window's controls use it.
QFont gothic(int pixelSize, bool bold = true, bool italic = false);

// Text colour of a label, edit, memo or list.
void setFontColor(QWidget* widget, const QColor& color);
QColor fontColor(const QWidget* widget);

// Opaque background of a label.
void setBackgroundColor(QWidget* widget, const QColor& color);
QColor backgroundColor(const QWidget* widget);

// A plain-text caption: what is typed is shown as typed, never as markup. A
// screen reader speaks its text as it stands.
QLabel* label(QWidget* parent, const char* objectName, const QString& text, int x, int y,
              int width = -1, int height = -1);

// A caption's new text (another language): a caption made without a size
// takes the size of its text again.
void setCaption(QLabel* caption, const QString& text);

// A caption with a narrow room: a text wider than the room (of another
// language) is set in a smaller size of the font the caption inherits.
void fitCaption(QLabel* caption, int width);

} // namespace Controls
