#include "ui/MemoText.h"

#include "core/numbering/Cp932.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace MemoText {

QStringList lines(const QPlainTextEdit* memo)
{
    return Cp932::lines(memo->document()->toRawText());
}

void setLine(QPlainTextEdit* memo, int lineIndex, const QString& text)
{
    const QTextBlock block = memo->document()->findBlockByNumber(lineIndex);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

int lineCount(const QPlainTextEdit* memo)
{
    return memo->document()->blockCount();
}

void tidy(QPlainTextEdit* memo, const std::function<int(int line)>& roomOf)
{
    QTextDocument* document = memo->document();
    for (int line = 0; line < document->blockCount(); ++line) {
        QTextBlock block = document->findBlockByNumber(line);
        QString text = block.text();
        const QStringList parts = Cp932::lines(text);
        if (parts.size() > 1) {
            // Break at the first separator; the rest is the next line, tidied
            // in its turn. The editor's cursor moves along with the edit.
            const int at = int(parts.first().size());
            const int width = text.mid(at).startsWith(QStringLiteral("\r\n")) ? 2 : 1;
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + at);
            cursor.setPosition(block.position() + at + width, QTextCursor::KeepAnchor);
            cursor.insertBlock();
            block = document->findBlockByNumber(line);
            text = block.text();
        }
        const int room = roomOf(line);
        const QString kept = Cp932::limit(text, room);
        if (kept == text)
            continue;
        const int start = block.position();
        QTextCursor user = memo->textCursor();
        const bool userInLine = user.block() == block;
        const int userAt =
            userInLine ? Cp932::limitedPosition(text, user.position() - start, room) : 0;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(kept);
        if (userInLine) {
            user.setPosition(start + userAt);
            memo->setTextCursor(user);
        }
    }
}

void rightAlign(QPlainTextEdit* memo)
{
    QTextOption option = memo->document()->defaultTextOption();
    option.setAlignment(Qt::AlignRight);
    memo->document()->setDefaultTextOption(option);
}

} // namespace MemoText
