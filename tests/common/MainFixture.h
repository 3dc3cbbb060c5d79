#pragma once

#include "ui/DesignScreen.h"
#include "ui/ListBox.h"
#include "ui/MainWindow.h"
#include "ui/PrintScreen.h"

#include "ScriptedDialogs.h"
#include "TestAppDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include <memory>

// A main window started from a start file in a folder of its own, with
// scripted dialogs and a fixed clock.
struct MainFixture {
    explicit MainFixture(const QByteArray& startFile = "10,10,1\r\n\r\n", Clock clock = fixedNow)
    {
        dir.writeStartFile(startFile);
        window = std::make_unique<MainWindow>(dialogs, dir.path(), std::move(clock));
    }

    MainWindow& w() { return *window; }
    WorkingState& state() { return window->state(); }
    // Label i of the last job the print system took; empty without one.
    PrintLogEntry printed(int i) const
    {
        const auto& job = window->state().lastJob;
        return job ? job->labels.value(i) : PrintLogEntry();
    }

    TestAppDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

// Chooses a row of a list as a user does, with the keyboard.
inline void chooseRow(ListBox* list, int row)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < row; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), row);
}

// Clicks a row of a list, scrolled into view first as a user scrolls to
// it (a long list of numbers is no place for the arrow keys).
inline void clickRow(ListBox* list, int row)
{
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

// Clicks a check box or radio button on its mark, where a click always
// lands whatever room its caption leaves.
inline void clickMark(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Clicks a tab of a tab bar.
inline void clickTab(QTabBar* tabs, int index)
{
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

// Chooses a label type as a user does: its page's tab, then its button,
// through another type of the page, so that the type's handler runs even
// when it was chosen before.
inline void chooseType(MainWindow& w, int type)
{
    const DesignControls& dc = w.design().controls();
    clickTab(w.controls().typePageTabs, typePage(type));
    clickMark(dc.typeButton[typeSlot(type) == 0 ? type + 1 : type - typeSlot(type)]);
    clickMark(dc.typeButton[type]);
}

// PrintSet and Print, the labels into a PDF file.
inline void printToPdf(MainFixture& f, const QString& pdf)
{
    f.dialogs.printerAnswer = [pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    QTest::mouseClick(f.w().design().controls().printSetButton, Qt::LeftButton);
    QTest::mouseClick(f.w().printScreen().controls().printButton, Qt::LeftButton);
}

// Chooses an item of a menu: the menu opened, the item clicked.
inline void chooseMenuItem(QMenu* menu, QAction* item)
{
    menu->popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QVERIFY(!menu->isVisible());
}

// The context menu of a widget, as a right click asks for it.
inline void openContextMenu(QWidget* widget)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, widget->rect().center(),
                            widget->mapToGlobal(widget->rect().center()));
    QApplication::sendEvent(widget, &event);
}

// Types text as a user does: ASCII on the keys, other text through the
// input method, which commits it whole; a Return between lines.
inline void typeText(QWidget* input, const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(input, Qt::Key_Return);
        const QString& line = lines[i];
        if (std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
            QTest::keyClicks(input, line);
        } else {
            QInputMethodEvent typed;
            typed.setCommitString(line);
            QApplication::sendEvent(input, &typed);
        }
    }
}

// Replaces what an input holds: all selected, the new text typed over it.
inline void retypeText(QWidget* input, const QString& text)
{
    QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(input, Qt::Key_Delete);
    typeText(input, text);
}
