#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// Every message box and platform dialog goes through this seam, so tests can
// answer them in advance and see what was asked.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Plain box with an OK button and no icon (expected refusals, notices);
    // `detail`, when given, is shown below the text in a smaller font.
    virtual void message(QWidget* parent, const QString& text, const QString& detail = {}) = 0;
    // The application's standard error box.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // Warning box with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // A question with its own answers, each a button, the first the
    // default; `detail` below the text in a smaller font. The index of the
    // answer, or -1 when the box was closed without one.
    virtual int choose(QWidget* parent, const QString& text, const QString& detail,
                       const QStringList& answers) = 0;
    // The print dialog; on OK the printer holds the user's choices.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Save dialog with a name filter such as "Excel files (*.xls)", opened
    // on `proposed` (a folder, or a file name in it). The dialog itself never
    // asks about overwriting.
    virtual std::optional<QString> chooseSaveFile(QWidget* parent, const QString& filter,
                                                  const QString& proposed = {}) = 0;
    // Open dialog for an existing file, opened in the folder `folder`.
    virtual std::optional<QString> chooseOpenFile(QWidget* parent, const QString& filter,
                                                  const QString& folder = {}) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
};
