#pragma once

#include "ui/ListBox.h"
#include "ui/MainWindow.h"

#include "ScriptedDialogs.h"
#include "TestAppDir.h"

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
    QCOMPARE(list->currentRow(), row);
}
