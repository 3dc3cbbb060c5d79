#include "ui/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>

namespace {

QString title()
{
    return QGuiApplication::applicationDisplayName();
}

} // namespace

void QtDialogs::message(QWidget* parent, const QString& text, const QString& detail)
{
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // The detail does not follow the text's format; converted, a path with
    // "<" in it still shows as it is.
    if (!detail.isEmpty())
        box.setInformativeText(Qt::convertFromPlainText(detail));
    box.exec();
}

void QtDialogs::error(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::askYesNo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, title(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int QtDialogs::choose(QWidget* parent, const QString& text, const QString& detail,
                      const QStringList& answers)
{
    QMessageBox box(QMessageBox::Question, title(), text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty())
        box.setInformativeText(Qt::convertFromPlainText(detail));
    QList<QAbstractButton*> buttons;
    for (const QString& answer : answers)
        buttons << box.addButton(answer, buttons.isEmpty() ? QMessageBox::AcceptRole
                                                           : QMessageBox::RejectRole);
    if (!buttons.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

bool QtDialogs::choosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtDialogs::chooseSaveFile(QWidget* parent, const QString& filter,
                                                 const QString& proposed)
{
    // The caller may still append an extension, so it asks about overwriting
    // itself once the final name is known.
    const QString name = QFileDialog::getSaveFileName(parent, QString(), proposed, filter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> QtDialogs::chooseOpenFile(QWidget* parent, const QString& filter,
                                                 const QString& folder)
{
    const QString name = QFileDialog::getOpenFileName(parent, QString(), folder, filter);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* parent, const QColor& initial)
{
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<QFont> QtDialogs::chooseFont(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}
