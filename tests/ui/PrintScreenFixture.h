#pragma once

#include "ui/DesignScreen.h"
#include "ui/PrintScreen.h"
#include "ui/SampleLabel.h"
#include "ui/SheetMap.h"

#include "MainFixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QToolButton>

// A main window on its design screen and its way to the print screen, as a
// user clicks and types.
struct PrintScreenFixture {
    MainFixture f;
    const DesignControls& dc;
    const PrintControls& pc;

    explicit PrintScreenFixture(const QByteArray& startFile = "10,10,1\r\n\r\n",
                                Clock clock = fixedNow)
        : f(startFile, std::move(clock)), dc(f.w().design().controls()),
          pc(f.w().printScreen().controls())
    {
    }

    void chooseType(int type) { ::chooseType(f.w(), type); }
    void chooseSamples(int samples) { clickRow(dc.sampleCountList, samples - 1); }
    void chooseRepeats(int repeats) { clickRow(dc.repeatCountList, repeats - 1); }
    void chooseFirst(int first) { clickRow(dc.firstNumberList, first); }
    void printSet() { QTest::mouseClick(dc.printSetButton, Qt::LeftButton); }
    void back() { QTest::mouseClick(f.w().controls().backButton, Qt::LeftButton); }
    bool onPrintScreen() { return f.w().screen() == MainWindow::Screen::Print; }

    QString sample() const { return pc.sampleLabel->upper() + "/" + pc.sampleLabel->lower(); }
    // The sample as drawn: a point of the disc clear of the texts (at the
    // top, inside the frame's ring when there is one), and the frame's inside.
    QColor disc() const
    {
        const QRect d = pc.sampleLabel->discRect();
        return pc.sampleLabel->image().pixelColor(d.center().x(), d.top() + d.height() / 14);
    }
    QColor insideFrame() const
    {
        const QRect d = pc.sampleLabel->discRect();
        return pc.sampleLabel->image().pixelColor(d.center().x(), d.top() + d.height() / 4);
    }
    bool inked(const QColor& color) const
    {
        const QImage& image = pc.sampleLabel->image();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == color)
                    return true;
        return false;
    }
    int redCircles() const
    {
        int n = 0;
        for (int p = 1; p <= 150; ++p)
            n += pc.sheetMap->colorAt(p) == QColor(255, 0, 0) ? 1 : 0;
        return n;
    }
};
