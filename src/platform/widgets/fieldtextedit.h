#pragma once

#include <QPlainTextEdit>

// A multi-line field box that stays responsive with any value. Qt lays out a paragraph
// as a whole, which takes minutes for a line of millions of characters; such a line is
// shown folded into paragraphs of at most kFoldLength characters, each fold marked on
// its block, and plainText() gives the text back without the folds. Pasted text is
// folded the same way.
class FieldTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kFoldLength = 8192;

    explicit FieldTextEdit(QWidget *parent = nullptr);

    // For any QPlainTextEdit: shows the text, folding its long lines.
    static void setFoldedText(QPlainTextEdit *edit, const QString &text);
    // The text without the folds.
    static QString plainText(const QPlainTextEdit *edit);
    // The same with every character as the box holds it (no-break spaces and line
    // separators included); paragraphs end in a line feed.
    static QString text(const QPlainTextEdit *edit);

protected:
    void insertFromMimeData(const QMimeData *source) override;
};
