// The program's SQL dialect as SQLite reads it: "DELETE * FROM", "SET t.c =", strings in
// double quotes, and names spelled as the schema spells them.
#include "database.h"
#include "databasenames.h"
#include "sqltext.h"
#include "sqltokens.h"
#include "turkish.h"

using namespace Qt::StringLiterals;

namespace db {

namespace {

bool isWordName(const QString &name)
{
    if (name.isEmpty() || (name.at(0) >= u'0' && name.at(0) <= u'9'))
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (!(u >= 0x80 || u == '_' || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')))
            return false;
    }
    return true;
}

// "DELETE x.* FROM" and "DELETE * FROM" become "DELETE FROM".
void rewriteDelete(sql::Tokens &t, size_t del)
{
    size_t i = sql::nextSignificant(t, del + 1);
    size_t from = t.size();
    if (i < t.size() && t[i].isPunct(u'*')) {
        from = sql::nextSignificant(t, i + 1);
    } else if (i < t.size() && t[i].isIdentifier()) {
        const size_t dot = sql::nextSignificant(t, i + 1);
        const size_t star = sql::nextSignificant(t, dot + 1);
        if (dot < t.size() && t[dot].isPunct(u'.') && star < t.size() && t[star].isPunct(u'*'))
            from = sql::nextSignificant(t, star + 1);
    }
    if (from >= t.size() || !t[from].is("FROM"_L1))
        return;
    t.erase(t.begin() + qsizetype(del + 1), t.begin() + qsizetype(from));
    t.insert(t.begin() + qsizetype(del + 1), sql::Token{sql::Token::Space, u" "_s});
}

// "UPDATE t SET t.c = 1, t.d = 2" becomes "UPDATE t SET c = 1, d = 2".
void rewriteUpdate(sql::Tokens &t, size_t upd)
{
    size_t i = upd + 1;
    while (i < t.size() && !t[i].is("SET"_L1))
        ++i;
    int depth = 0;
    bool target = true;
    for (++i; i < t.size(); ++i) {
        const sql::Token &tok = t[i];
        if (!tok.significant())
            continue;
        if (tok.isPunct(u'(')) {
            ++depth;
        } else if (tok.isPunct(u')')) {
            --depth;
        } else if (depth == 0
                   && (tok.is("WHERE"_L1) || tok.is("FROM"_L1) || tok.is("ORDER"_L1) || tok.is("LIMIT"_L1)
                       || tok.is("RETURNING"_L1))) {
            break;
        } else if (depth == 0 && tok.isPunct(u',')) {
            target = true;
        } else if (target) {
            target = false;
            const size_t dot = sql::nextSignificant(t, i + 1);
            const size_t col = sql::nextSignificant(t, dot + 1);
            if (tok.isIdentifier() && dot < t.size() && t[dot].isPunct(u'.') && col < t.size()
                && t[col].isIdentifier()) {
                t.erase(t.begin() + qsizetype(i), t.begin() + qsizetype(col));
            }
        }
    }
}

} // namespace

QString Database::translateUncached(const QString &text) const
{
    sql::Tokens t = sql::tokenize(text);

    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind == sql::Token::Quoted)
            t[i] = {sql::Token::String, u'\'' + quoted(t[i].name()) + u'\''};
        if (t[i].isPunct(u';')) {
            const size_t next = sql::nextSignificant(t, i + 1);
            if (next < t.size())
                throw Error::make(TextAfterStatement, sql::join(t, next, t.size()).trimmed());
            break;
        }
    }

    const size_t first = sql::nextSignificant(t, 0);
    if (first < t.size() && t[first].is("DELETE"_L1))
        rewriteDelete(t, first);
    else if (first < t.size() && t[first].is("UPDATE"_L1))
        rewriteUpdate(t, first);

    for (size_t i = 0; i < t.size(); ++i) {
        sql::Token &tok = t[i];
        if (tok.kind != sql::Token::Word && tok.kind != sql::Token::Bracketed)
            continue;
        const size_t next = sql::nextSignificant(t, i + 1);
        const bool call = tok.kind == sql::Token::Word && next < t.size() && t[next].isPunct(u'(');
        const QString key = turkish::fold(tok.name());
        QString spelling = m_names->objects.value(key); // also before "(" in INSERT INTO t (...)
        if (spelling.isEmpty() && !call)
            spelling = m_names->columns.value(key);
        if (spelling.isEmpty() || spelling == tok.name())
            continue;
        if (tok.kind == sql::Token::Word && isWordName(spelling))
            tok.text = spelling;
        else if (!spelling.contains(u']'))
            tok.text = u'[' + spelling + u']';
        else
            tok.text = sql::quoteIdentifier(spelling);
    }
    narrowLikePrefixes(t);
    return sql::join(t);
}

} // namespace db
