#pragma once

#include <QString>
#include <QStringList>

// Everything a run of labels needs, frozen when PrintSet is pressed. The
// sample label, the printer, the record and the tests all compose label
// texts from this one value, so they cannot disagree.
struct LabelRun {
    int type = 1;        // 1..12, or 13: Type1 printed without an upper line
    int firstNumber = 1; // running number of the first sample
    int step = 1;        // 1, 2, 3, 5 or 10
    bool plainNumbers = false;
    int sampleCount = 0;
    int repeatCount = 1;     // labels per sample
    int letter1 = 0;         // 0..25: the type's letter (types 2, 6, 7, 10), type 3's first
    int letter2 = 0;         // 0..25: type 3's second letter
    QString upper;           // upper text, already limited to the label's room
    QString type8Lower;      // type 8: its second line, limited
    QStringList freeTexts;   // types 9..12: one text per sample
    bool type8Blank = false; // type 8 with no text: rainbow by sample group

    int labelTotal() const { return sampleCount * repeatCount; }

    friend bool operator==(const LabelRun&, const LabelRun&) = default;
};
