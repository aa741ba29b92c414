// The index range added beside "col Like 'prefix*'".
#include "database.h"
#include "databasenames.h"
#include "sqltext.h"
#include "sqltokens.h"
#include "turkish.h"

#include <initializer_list>

using namespace Qt::StringLiterals;

namespace db {

namespace {

bool isAnyWord(const sql::Token &t, std::initializer_list<const char *> words)
{
    if (t.kind != sql::Token::Word)
        return false;
    for (const char *w : words) {
        if (t.is(QLatin1StringView(w)))
            return true;
    }
    return false;
}

// The table token of a SELECT or DELETE reading one table, or of an UPDATE, when the
// statement names no other (no join, list, subquery, compound or WITH); else t.size().
size_t soleTable(const sql::Tokens &t)
{
    const size_t first = sql::nextSignificant(t, 0);
    if (first >= t.size())
        return t.size();
    size_t table = t.size();
    int froms = 0;
    for (size_t i = first + 1; i < t.size(); ++i) {
        if (isAnyWord(t[i], {"SELECT", "JOIN", "UNION", "INTERSECT", "EXCEPT", "WITH", "VALUES"}))
            return t.size();
        if (t[i].is("FROM"_L1)) {
            ++froms;
            table = sql::nextSignificant(t, i + 1);
        }
    }
    if (t[first].is("UPDATE"_L1)) {
        if (froms != 0)
            return t.size();
        table = sql::nextSignificant(t, first + 1);
    } else if (!(t[first].is("SELECT"_L1) || t[first].is("DELETE"_L1)) || froms != 1) {
        return t.size();
    }
    if (table >= t.size() || !t[table].isIdentifier() || isAnyWord(t[table], {"OR"}))
        return t.size();
    // No second table after it and its alias.
    size_t after = sql::nextSignificant(t, table + 1);
    if (after < t.size() && t[after].is("AS"_L1))
        after = sql::nextSignificant(t, after + 1);
    if (after < t.size() && t[after].isIdentifier()
        && !isAnyWord(t[after], {"WHERE", "ORDER", "GROUP", "LIMIT", "SET", "HAVING", "INDEXED", "NOT"}))
        after = sql::nextSignificant(t, after + 1);
    if (after < t.size() && t[after].isPunct(u','))
        return t.size();
    return table;
}

// Whether an operand starting at token start stands alone before the operator that
// follows it: nothing before it binds tighter than Like or takes it as its right side.
bool opensOperand(const sql::Tokens &t, size_t start, bool between)
{
    size_t k = start;
    while (k > 0 && !t[k - 1].significant())
        --k;
    if (k == 0)
        return true;
    const sql::Token &before = t[k - 1];
    if (before.isPunct(u'(') || before.isPunct(u','))
        return true;
    if (isAnyWord(before, {"WHERE", "ON", "HAVING", "WHEN", "THEN", "ELSE", "OR", "SELECT"}))
        return true;
    // "x BETWEEN a AND c Like p" is "(x BETWEEN a AND c) Like p".
    if (before.is("AND"_L1))
        return !between;
    // "NOT c Like p" is "NOT (c Like p)", but "a IS NOT c Like p" is "(a IS NOT c) Like p".
    if (before.is("NOT"_L1))
        return opensOperand(t, k - 1, between);
    return false;
}

// Whether what follows a Like pattern ends the Like: "c Like 'a' || '*'" has the
// pattern 'a*'.
bool closesOperand(const sql::Tokens &t, size_t next)
{
    return next >= t.size() || t[next].isPunct(u')') || t[next].isPunct(u',') || t[next].isPunct(u';')
           || isAnyWord(t[next], {"AND", "OR", "ORDER", "GROUP", "LIMIT", "HAVING", "THEN", "WHEN", "ELSE", "END",
                                  "FROM", "UNION", "EXCEPT", "INTERSECT", "WINDOW"});
}

} // namespace

// "col Like 'abc*'" scans every row through like(); the same test with a range on the
// column in the Turkish order beside it lets SQLite use the column's index. Texts that
// fold to the prefix sort from the prefix up to the prefix with its last character
// raised to the next weight. BLOBs sort after every text: when the column holds one,
// the range runs past the greatest. The range is added only where the operand is the
// bare text column of the statement's one table, so that it cannot change the result.
// It compares in the column's own order, declared TURKCE, and names no COLLATE: SQLite
// would give an explicit one to the expression around it (a CASE, say) as well.
void Database::narrowLikePrefixes(std::vector<sql::Token> &t) const
{
    const size_t tableAt = soleTable(t);
    if (tableAt >= t.size())
        return;
    const QString table = m_names->objects.value(turkish::fold(t[tableAt].name()));
    if (table.isEmpty() || m_names->types.value(table) != internal::ObjectType::Table)
        return;
    const QSet<QString> tableColumns = m_names->tableColumns.value(turkish::fold(table));
    const bool between = std::any_of(t.begin(), t.end(), [](const sql::Token &tok) { return tok.is("BETWEEN"_L1); });
    const QChar wild[] = {m_dialect == LikeDialect::Jet ? u'*' : u'%', m_dialect == LikeDialect::Jet ? u'?' : u'_',
                          u'#', u'['};
    for (size_t i = 0; i < t.size(); ++i) {
        if (!t[i].is("LIKE"_L1))
            continue;
        const size_t s = sql::nextSignificant(t, i + 1);
        if (s >= t.size() || t[s].kind != sql::Token::String || !closesOperand(t, sql::nextSignificant(t, s + 1)))
            continue;
        // The operand: a column, perhaps qualified, read backwards.
        size_t p = i;
        while (p > 0 && !t[p - 1].significant())
            --p;
        if (p == 0 || !(t[p - 1].kind == sql::Token::Word || t[p - 1].kind == sql::Token::Bracketed))
            continue;
        size_t start = p - 1;
        const QString column = turkish::fold(t[start].name());
        if (!tableColumns.contains(column) || m_names->unranged.contains(column))
            continue;
        if (start >= 2 && t[start - 1].isPunct(u'.')
            && (t[start - 2].kind == sql::Token::Word || t[start - 2].kind == sql::Token::Bracketed))
            start -= 2;
        if ((start > 0 && t[start - 1].isPunct(u'.')) || !opensOperand(t, start, between))
            continue;
        const QString body = t[s].text.mid(1, t[s].text.size() - 2).replace(u"''"_s, u"'"_s);
        qsizetype cut = 0;
        while (cut < body.size() && std::find(std::begin(wild), std::end(wild), body.at(cut)) == std::end(wild))
            ++cut;
        if (m_dialect == LikeDialect::Ansi && body.contains(u'#'))
            cut = std::min(cut, body.indexOf(u'#'));
        const QString prefix = body.left(cut);
        // A lone surrogate reaches SQLite as "?", a wildcard: the prefix would not be its own.
        if (prefix.isEmpty() || prefix.contains(QChar(0)) || !QStringView(prefix).isValidUtf16())
            continue;
        QList<uint> upper = turkish::fold(prefix).toUcs4();
        while (!upper.isEmpty()) {
            if (const char32_t next = turkish::rules::successor(upper.last(), m_order)) {
                upper.last() = next;
                break;
            }
            upper.removeLast();
        }
        const QString operand = sql::join(t, start, p).trimmed();
        QString text = u"("_s + operand + u" LIKE "_s + t[s].text + u" AND "_s + operand + u" >= '"_s + quoted(prefix)
                       + u'\'';
        if (!upper.isEmpty()) {
            const QString c = sql::quoteIdentifier(m_names->columns.value(column));
            const QString bound = quoted(
                QString::fromUcs4(reinterpret_cast<const char32_t *>(upper.constData()), upper.size()));
            text += u" AND "_s + operand + u" < (SELECT CASE WHEN max("_s + c + u") >= X'' THEN CAST(max("_s + c
                    + u") || X'00' AS BLOB) ELSE '"_s + bound + u"' END FROM "_s + sql::quoteIdentifier(table) + u')';
        }
        text += u')';
        t.erase(t.begin() + qsizetype(start) + 1, t.begin() + qsizetype(s) + 1);
        t[start] = {sql::Token::Punct, text};
        i = start;
    }
}

} // namespace db
