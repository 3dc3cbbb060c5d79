#include "ui/Controls.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QWidget>

namespace Controls {

namespace {

// Marks a caption whose size follows its text.
constexpr const char* SizedByText = "rondelSizedByText";

} // namespace

void name(QWidget* widget, const char* objectName, const QString& spokenName,
          const QString& description)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    if (!spokenName.isEmpty())
        widget->setAccessibleName(spokenName);
    if (!description.isEmpty())
        widget->setAccessibleDescription(description);
}

namespace {

// Qt names most inputs after their buddy caption as it reads now, but a list
// only by its own accessible name: the list's name follows the caption each
// time the caption is shown or repainted, which a change of its text causes.
class CaptionFollower final : public QObject {
public:
    CaptionFollower(QLabel* caption, QAbstractItemView* list) : QObject(caption), m_list(list)
    {
        caption->installEventFilter(this);
        follow(caption);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::Show)
            follow(static_cast<QLabel*>(watched));
        return false;
    }

private:
    void follow(const QLabel* caption)
    {
        if (m_list && m_list->accessibleName() != caption->text())
            m_list->setAccessibleName(caption->text());
    }

    QPointer<QAbstractItemView> m_list;
};

} // namespace

void nameAfter(QWidget* input, QLabel* caption)
{
    caption->setBuddy(input);
    if (auto* list = qobject_cast<QAbstractItemView*>(input))
        new CaptionFollower(caption, list);
}

namespace {

class EnterPresser final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto* button = static_cast<QAbstractButton*>(watched);
        if (button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void pressOnEnter(QWidget* root)
{
    auto* presser = new EnterPresser(root);
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>())
        if (!qobject_cast<QCheckBox*>(button) && !qobject_cast<QRadioButton*>(button))
            button->installEventFilter(presser);
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

QLabel* label(QWidget* parent, const char* objectName, const QString& text, int x, int y, int width,
              int height)
{
    auto* caption = new QLabel(text, parent);
    caption->setTextFormat(Qt::PlainText);
    caption->setObjectName(QString::fromLatin1(objectName));
    caption->move(x, y);
    if (width > 0 && height > 0) {
        caption->resize(width, height);
    } else {
        caption->setProperty(SizedByText, true);
        caption->adjustSize();
    }
    return caption;
}

void setCaption(QLabel* caption, const QString& text)
{
    caption->setText(text);
    if (caption->property(SizedByText).toBool())
        caption->adjustSize();
    // A list named after it follows at once, shown or not.
    if (auto* list = qobject_cast<QAbstractItemView*>(caption->buddy()))
        list->setAccessibleName(text);
}

void fitCaption(QLabel* caption, int width)
{
    caption->setFont(QFont());
    QFont font = caption->font();
    while (QFontMetrics(font).horizontalAdvance(caption->text()) > width && font.pixelSize() > 10)
        font.setPixelSize(font.pixelSize() - 1);
    if (font != caption->font())
        caption->setFont(font);
    caption->adjustSize();
}

} // namespace Controls
