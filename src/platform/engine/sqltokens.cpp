#include "sqltokens.h"

using namespace Qt::StringLiterals;

namespace db::sql {

namespace {

// SQLite's own blanks; every other character at or above 0x80 belongs to a name.
bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

bool isWordStart(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
}

bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    return isWordStart(c) || (u >= '0' && u <= '9') || u == '$';
}

// Runs to the closing quote; a doubled quote stands for one.
qsizetype endOfLiteral(QStringView s, qsizetype i, QChar quote)
{
    ++i;
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return s.size();
}

} // namespace

bool Token::is(QLatin1StringView keyword) const
{
    return kind == Word && text.compare(keyword, Qt::CaseInsensitive) == 0 && text.size() == keyword.size();
}

QString Token::name() const
{
    if (kind == Bracketed) {
        QString n = text.mid(1);
        if (n.endsWith(u']'))
            n.chop(1);
        return n;
    }
    if (kind == Quoted || (kind == String && text.size() >= 2)) {
        const QChar q = text.at(0);
        QString n = text.mid(1);
        if (n.endsWith(q))
            n.chop(1);
        return n.replace(QString(2, q), QString(q));
    }
    return text;
}

Tokens tokenize(QStringView s)
{
    Tokens out;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype start = i;
        const QChar c = s[i];
        Token::Kind kind;
        if (isBlank(c)) {
            while (i < s.size() && isBlank(s[i]))
                ++i;
            kind = Token::Space;
        } else if (c == u'-' && i + 1 < s.size() && s[i + 1] == u'-') {
            while (i < s.size() && s[i] != u'\n')
                ++i;
            kind = Token::Comment;
        } else if (c == u'/' && i + 1 < s.size() && s[i + 1] == u'*') {
            const qsizetype end = s.indexOf(u"*/"_s, i + 2);
            i = end < 0 ? s.size() : end + 2;
            kind = Token::Comment;
        } else if (c == u'\'') {
            i = endOfLiteral(s, i, c);
            kind = Token::String;
        } else if (c == u'"') {
            i = endOfLiteral(s, i, c);
            kind = Token::Quoted;
        } else if (c == u'`') {
            // A back-quoted name is left as it stands.
            i = endOfLiteral(s, i, c);
            kind = Token::Word;
        } else if (c == u'[') {
            const qsizetype end = s.indexOf(u']', i + 1);
            i = end < 0 ? s.size() : end + 1;
            kind = Token::Bracketed;
        } else if (c.unicode() >= '0' && c.unicode() <= '9') {
            while (i < s.size() && (isWordChar(s[i]) || s[i] == u'.') && s[i].unicode() < 0x80)
                ++i;
            kind = Token::Number;
        } else if (isWordStart(c)) {
            while (i < s.size() && isWordChar(s[i]))
                ++i;
            kind = Token::Word;
        } else {
            ++i;
            if (i < s.size()) {
                const QStringView two = s.mid(start, 2);
                if (two == u"<>" || two == u"<=" || two == u">=" || two == u"!=" || two == u"==" || two == u"||")
                    ++i;
            }
            kind = Token::Punct;
        }
        out.push_back({kind, s.mid(start, i - start).toString()});
    }
    return out;
}

QString join(const Tokens &tokens)
{
    return join(tokens, 0, tokens.size());
}

QString join(const Tokens &tokens, size_t from, size_t to)
{
    QString out;
    for (size_t i = from; i < to && i < tokens.size(); ++i)
        out += tokens[i].text;
    return out;
}

size_t nextSignificant(const Tokens &tokens, size_t i)
{
    while (i < tokens.size() && !tokens[i].significant())
        ++i;
    return i;
}

QString firstKeyword(const Tokens &tokens)
{
    for (const Token &t : tokens) {
        if (t.isPunct(u'('))
            continue;
        if (t.significant())
            return t.kind == Token::Word ? t.text.toUpper() : QString();
    }
    return {};
}

QString quoteIdentifier(const QString &name)
{
    QString n = name;
    return u'"' + n.replace(u'"', u"\"\""_s) + u'"';
}

} // namespace db::sql
