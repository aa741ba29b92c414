#include "fieldtextedit.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// The user state of a block that continues the line of the block before it.
constexpr int kFolded = 0x464F4C44;

// Where a piece of a long line ends: after its last blank in the second half, or at
// the fold length.
qsizetype pieceEnd(QStringView line, qsizetype from)
{
    const qsizetype limit = from + FieldTextEdit::kFoldLength;
    if (limit >= line.size())
        return line.size();
    for (qsizetype i = limit; i > from + FieldTextEdit::kFoldLength / 2; --i) {
        if (line[i - 1] == u' ')
            return i;
    }
    return limit;
}

bool hasLongLine(QStringView text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c == u'\n' ? 0 : run + 1;
        if (run > FieldTextEdit::kFoldLength)
            return true;
    }
    return false;
}

// Inserts the text at the cursor, its long lines in folded blocks.
void insertFolded(QTextCursor &cursor, QStringView text)
{
    cursor.beginEditBlock();
    bool firstLine = true;
    for (const QStringView line : text.split(u'\n')) {
        if (!firstLine) {
            cursor.insertBlock();
            cursor.block().setUserState(-1);
        }
        firstLine = false;
        qsizetype from = 0;
        do {
            const qsizetype end = pieceEnd(line, from);
            if (from > 0) {
                cursor.insertBlock();
                cursor.block().setUserState(kFolded);
            }
            cursor.insertText(line.mid(from, end - from).toString());
            from = end;
        } while (from < line.size());
    }
    cursor.endEditBlock();
}

} // namespace

FieldTextEdit::FieldTextEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

void FieldTextEdit::setFoldedText(QPlainTextEdit *edit, const QString &text)
{
    if (!hasLongLine(text)) {
        edit->setPlainText(text);
        return;
    }
    // Laid out once, after the whole text is in.
    edit->setPlainText(QString());
    QTextDocument *doc = edit->document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    insertFolded(cursor, text);
    doc->setUndoRedoEnabled(undo);
    edit->moveCursor(QTextCursor::Start);
}

QString FieldTextEdit::plainText(const QPlainTextEdit *edit)
{
    const QTextDocument *doc = edit->document();
    bool folded = false;
    for (QTextBlock b = doc->begin().next(); b.isValid() && !folded; b = b.next())
        folded = b.userState() == kFolded;
    if (!folded)
        return edit->toPlainText();
    QString text;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b != doc->begin() && b.userState() != kFolded)
            text += u'\n';
        text += b.text();
    }
    return text;
}

QString FieldTextEdit::text(const QPlainTextEdit *edit)
{
    const QTextDocument *doc = edit->document();
    QString text;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b != doc->begin() && b.userState() != kFolded)
            text += u'\n';
        text += b.text();
    }
    return text;
}

void FieldTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source || !source->hasText() || !hasLongLine(source->text())) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    insertFolded(cursor, source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}
