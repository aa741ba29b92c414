// Like in both dialects. For every pattern and text, three matchers must agree: like()
// as SQLite calls it on a real file (with its cached pattern and its substring path, on
// text and on BLOB values), the engine's likeMatch, and a plain table-filling matcher.
#include "fuzzinput.h"

#include "database.h"
#include "sqlfunctions.h"
#include "turkishrules.h"

#include <sqlite3.h>

#include <string>
#include <vector>

using namespace Qt::StringLiterals;
namespace rules = turkish::rules;

namespace {

// The reference: Jet's * ? # [set] [!set] or Ansi's % _ [set] [!set]; a [ without a
// closing ] is itself; sets compare sort weights in the order where â, î and û are
// letters of their own; a range whose ends are reversed holds nothing.
struct Item {
    enum Kind { Run, Any, Digit, Char, Set };
    explicit Item(Kind k, char32_t ch = 0)
        : kind(k)
        , c(ch)
    {
    }
    Kind kind;
    char32_t c;
    bool negated = false;
    std::vector<std::pair<quint32, quint32>> ranges;
};

quint32 setWeight(char32_t c)
{
    return rules::weight(c, rules::Order::Former);
}

std::vector<Item> items(const std::u32string &p, db::LikeDialect dialect)
{
    const bool jet = dialect == db::LikeDialect::Jet;
    std::vector<Item> out;
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == (jet ? U'*' : U'%')) {
            out.emplace_back(Item::Run);
            continue;
        }
        if (c == (jet ? U'?' : U'_')) {
            out.emplace_back(Item::Any);
            continue;
        }
        if (jet && c == U'#') {
            out.emplace_back(Item::Digit);
            continue;
        }
        const size_t close = c == U'[' ? p.find(U']', i + 1) : std::u32string::npos;
        if (close == std::u32string::npos) {
            out.emplace_back(Item::Char, c);
            continue;
        }
        std::u32string body = p.substr(i + 1, close - i - 1);
        Item set(Item::Set);
        if (!body.empty() && body.front() == U'!') {
            set.negated = true;
            body.erase(0, 1);
        }
        size_t k = 0;
        while (k < body.size()) {
            if (k + 2 < body.size() && body[k + 1] == U'-') {
                set.ranges.emplace_back(setWeight(body[k]), setWeight(body[k + 2]));
                k += 3;
            } else {
                set.ranges.emplace_back(setWeight(body[k]), setWeight(body[k]));
                k += 1;
            }
        }
        out.push_back(std::move(set));
        i = close;
    }
    return out;
}

bool takes(const Item &item, char32_t c)
{
    switch (item.kind) {
    case Item::Any:
        return true;
    case Item::Digit:
        return c >= U'0' && c <= U'9';
    case Item::Char:
        return c == item.c;
    case Item::Set: {
        bool in = false;
        for (const auto &[lo, hi] : item.ranges)
            in = in || (lo <= setWeight(c) && setWeight(c) <= hi);
        return in != item.negated;
    }
    case Item::Run:
        break;
    }
    return false;
}

// matches[j]: the items from i on match the text from j on; filled from the back.
bool referenceMatch(const std::vector<Item> &pattern, const std::u32string &text)
{
    const size_t n = text.size();
    std::vector<char> next(n + 1, 0), cur(n + 1, 0);
    next[n] = 1;
    for (size_t i = pattern.size(); i-- > 0;) {
        const Item &item = pattern[i];
        cur[n] = item.kind == Item::Run && next[n];
        for (size_t j = n; j-- > 0;)
            cur[j] = item.kind == Item::Run ? (next[j] || cur[j + 1]) : (takes(item, text[j]) && next[j + 1]);
        std::swap(cur, next);
    }
    return next[0];
}

// like(pattern, t) for three values in one statement, so that the parsed pattern is
// reused between rows: the text, the same bytes as a BLOB, and the text's second half.
std::vector<int> sqliteMatches(db::Database &db, const QByteArray &pattern, const QByteArray &text)
{
    static sqlite3_stmt *const stmt = fuzz::prepared(
        "SELECT like(?1, column2) FROM (VALUES (1, ?2), (2, ?3), (3, ?4)) ORDER BY column1");
    const QByteArray half = text.mid(text.size() / 2);
    sqlite3_bind_text(stmt, 1, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(stmt, 3, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 4, half.constData(), int(half.size()), SQLITE_TRANSIENT);
    std::vector<int> out;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        out.push_back(sqlite3_column_int(stmt, 0));
    FUZZ_CHECK(rc == SQLITE_DONE, {QString::fromUtf8(sqlite3_errmsg(db.handle()))});
    sqlite3_reset(stmt);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::scratchDatabase();
    return 0;
}

// Input: the pattern's bytes, 0xFF, the text's bytes (0xFF never occurs in UTF-8).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> parts = fuzz::split(data, size, 0xFF, 2);
    const QByteArray &pattern = parts[0], &text = parts[1];
    const std::u32string p = fuzz::foldedCodePoints(pattern), t = fuzz::foldedCodePoints(text);
    const std::u32string half = fuzz::foldedCodePoints(text.mid(text.size() / 2));
    if (p.size() * (t.size() + 1) > 4'000'000)
        return 0;
    db::Database &db = fuzz::scratchDatabase();
    for (const db::LikeDialect dialect : {db::LikeDialect::Jet, db::LikeDialect::Ansi}) {
        const std::vector<Item> reference = items(p, dialect);
        const bool expected = referenceMatch(reference, t);
        const bool expectedHalf = referenceMatch(reference, half);
        const QStringList details = {u"dialect %1"_s.arg(dialect == db::LikeDialect::Jet ? u"Jet"_s : u"Ansi"_s),
                                     u"pattern "_s + fuzz::shown(pattern), u"text "_s + fuzz::shown(text),
                                     u"reference %1, on the second half %2"_s.arg(expected).arg(expectedHalf)};
        FUZZ_CHECK(db::sqlfn::likeMatch(p, t, dialect) == expected, details);
        db.setLikeDialect(dialect);
        const std::vector<int> got = sqliteMatches(db, pattern, text);
        FUZZ_CHECK(got.size() == 3, details);
        FUZZ_CHECK(got[0] == expected, details);
        FUZZ_CHECK(got[1] == expected, details);
        FUZZ_CHECK(got[2] == expectedHalf, details);
    }
    return 0;
}
