#pragma once

#include "app/TfrmMain.h"

#include "ScriptedDialogs.h"
#include "TestAppDir.h"

#include <memory>

// A main window started from a start file in a folder of its own, with
// scripted dialogs and a fixed clock.
struct MainFixture {
    explicit MainFixture(const QByteArray& startFile = "10,10,1\r\n\r\n", Clock clock = fixedNow)
    {
        dir.writeStartFile(startFile);
        window = std::make_unique<TfrmMain>(dialogs, dir.path(), std::move(clock));
    }

    TfrmMain& w() { return *window; }
    WorkingState& state() { return window->state(); }

    TestAppDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> window;
};
