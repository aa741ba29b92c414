#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace db::sql {

// One lexical piece of an SQL text. The inside of literals is never interpreted.
struct Token {
    enum Kind { Space, Comment, Word, Bracketed, String, Quoted, Number, Punct };
    Kind kind;
    QString text;

    bool significant() const { return kind != Space && kind != Comment; }
    bool isIdentifier() const { return kind == Word || kind == Bracketed || kind == Quoted; }
    bool is(QLatin1StringView keyword) const; // a word, ASCII case ignored
    bool isPunct(char16_t c) const { return kind == Punct && text.size() == 1 && text.at(0) == c; }
    // The name an identifier stands for, without brackets or quotes.
    QString name() const;
};

using Tokens = std::vector<Token>;

// Splits an SQL text; joining the pieces gives the text back. A "…" literal stays
// a Quoted token; an unterminated literal or bracket runs to the end of the text.
Tokens tokenize(QStringView sql);
QString join(const Tokens &tokens);
QString join(const Tokens &tokens, size_t from, size_t to);

// Index of the next significant token at or after i, or tokens.size().
size_t nextSignificant(const Tokens &tokens, size_t i);

QString quoteIdentifier(const QString &name);
// The first word of a statement, upper-cased (SELECT, UPDATE...), or empty.
QString firstKeyword(const Tokens &tokens); // "name" for generated SQL

} // namespace db::sql
