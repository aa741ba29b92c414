// How a SELECT text is read: by a keyset of row ids (updatable) or as a snapshot.
#include "database.h"
#include "engineinternal.h"
#include "sqltokens.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace db::internal {

namespace {

bool isAggregate(const QString &word)
{
    static const QSet<QString> names = {u"count"_s,        u"sum"_s,   u"avg"_s,  u"min"_s,   u"max"_s, u"total"_s,
                                        u"group_concat"_s, u"first"_s, u"last"_s, u"stdev"_s, u"var"_s};
    return names.contains(word.toLower());
}

bool isClauseWord(const sql::Token &t)
{
    static const char *const words[] = {"WHERE",     "ORDER",  "GROUP",  "HAVING", "LIMIT",   "JOIN",  "INNER",
                                        "LEFT",      "RIGHT",  "FULL",   "CROSS",  "NATURAL", "OUTER", "UNION",
                                        "INTERSECT", "EXCEPT", "WINDOW", "ON",     "USING"};
    for (const char *w : words) {
        if (t.is(QLatin1StringView(w)))
            return true;
    }
    return false;
}

} // namespace

// A SELECT on exactly one table, without grouping, DISTINCT, aggregates, joins or
// compound parts, gets a keyset; anything else is read into memory.
std::optional<KeysetPlan> planKeyset(const Database &db, const QString &translated, bool parameters)
{
    sql::Tokens t = sql::tokenize(translated);
    while (!t.empty() && (!t.back().significant() || t.back().isPunct(u';')))
        t.pop_back();
    size_t i = sql::nextSignificant(t, 0);
    if (i >= t.size() || !t[i].is("SELECT"_L1))
        return std::nullopt;
    const size_t listStart = i + 1;
    i = sql::nextSignificant(t, listStart);
    if (i < t.size() && t[i].is("DISTINCT"_L1))
        return std::nullopt;

    int depth = 0;
    size_t from = t.size();
    for (; i < t.size(); ++i) {
        const sql::Token &tok = t[i];
        if (!tok.significant())
            continue;
        if (tok.isPunct(u'(')) {
            ++depth;
        } else if (tok.isPunct(u')')) {
            --depth;
        } else if (tok.kind == sql::Token::Word) {
            const size_t next = sql::nextSignificant(t, i + 1);
            if (next < t.size() && t[next].isPunct(u'(') && isAggregate(tok.text))
                return std::nullopt;
            if (depth == 0 && tok.is("FROM"_L1)) {
                from = i;
                break;
            }
        }
    }
    if (from >= t.size())
        return std::nullopt;

    const size_t tableAt = sql::nextSignificant(t, from + 1);
    if (tableAt >= t.size() || !(t[tableAt].kind == sql::Token::Word || t[tableAt].kind == sql::Token::Bracketed))
        return std::nullopt;
    const QString table = db.canonicalName(t[tableAt].name());
    if (db.objectType(table) != internal::ObjectType::Table)
        return std::nullopt;

    QString ref = t[tableAt].text;
    QString alias;
    size_t after = sql::nextSignificant(t, tableAt + 1);
    if (after < t.size() && t[after].is("AS"_L1)) {
        const size_t a = sql::nextSignificant(t, after + 1);
        if (a >= t.size() || !t[a].isIdentifier())
            return std::nullopt;
        alias = t[a].text;
        after = sql::nextSignificant(t, a + 1);
    } else if (after < t.size() && t[after].isIdentifier() && !isClauseWord(t[after])) {
        alias = t[after].text;
        after = sql::nextSignificant(t, after + 1);
    }
    if (after < t.size() && !(t[after].is("WHERE"_L1) || t[after].is("ORDER"_L1) || t[after].is("LIMIT"_L1)))
        return std::nullopt;
    depth = 0;
    for (size_t k = after; k < t.size(); ++k) {
        const sql::Token &tok = t[k];
        if (tok.isPunct(u'('))
            ++depth;
        else if (tok.isPunct(u')'))
            --depth;
        else if (depth == 0
                 && (tok.is("GROUP"_L1) || tok.is("HAVING"_L1) || tok.is("UNION"_L1) || tok.is("INTERSECT"_L1)
                     || tok.is("EXCEPT"_L1) || tok.is("WINDOW"_L1)))
            return std::nullopt;
    }
    if (!alias.isEmpty())
        ref = alias;

    // The row statement repeats the select list alone, without the values the keys had.
    if (parameters
        && std::any_of(t.begin() + qsizetype(listStart), t.begin() + qsizetype(from),
                       [](const sql::Token &tok) { return tok.isPunct(u'?'); }))
        return std::nullopt;
    const QString list = sql::join(t, listStart, from).trimmed();
    const QString rest = sql::join(t, tableAt, t.size());
    KeysetPlan plan;
    plan.table = table;
    // The select list rides along so that ORDER BY can name its aliases.
    plan.keysSql = u"SELECT "_s + ref + u".rowid, "_s + list + u" FROM "_s + rest;
    plan.rowSql = u"SELECT "_s + list + u" FROM "_s + t[tableAt].text
                  + (alias.isEmpty() ? QString() : u" AS "_s + alias) + u" WHERE "_s + ref + u".rowid = ?1"_s;
    return plan;
}

} // namespace db::internal
