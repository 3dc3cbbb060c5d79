#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <limits>

class QPlainTextEdit;

// Line-wise editing of the memos, whose lines (paragraphs, not wrapped
// lines) are label texts.
namespace MemoText {

inline constexpr int NoCut = std::numeric_limits<int>::max();

// The memo's lines as a label sees them: a line separator inside a block
// (U+2028 survives a paste) ends a line too.
QStringList lines(const QPlainTextEdit* memo);

// Replaces the text of one line.
void setLine(QPlainTextEdit* memo, int lineIndex, const QString& text);
int lineCount(const QPlainTextEdit* memo);

// Tidies a memo in place after a change: a line separator inside a line
// becomes a line break, what no label can hold is dropped, and line n is cut
// to roomOf(n) bytes. The cursor stays after the characters it followed.
void tidy(QPlainTextEdit* memo, const std::function<int(int line)>& roomOf);

void rightAlign(QPlainTextEdit* memo);

} // namespace MemoText
