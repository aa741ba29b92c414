#include "sqlfunctions.h"
#include "turkishrules.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace db::sqlfn {

namespace {

using turkish::rules::foldChar;
using turkish::rules::nextCodePoint;

// Sets in a pattern ([a-z]) by the order in which â, î and û are letters of their own,
// so that Like matches as it always has.
quint32 weight(char32_t c)
{
    return turkish::rules::weight(c, turkish::rules::Order::Former);
}

struct Piece {
    enum Kind { AnyRun, One, Digit, Literal, Set };
    explicit Piece(Kind k, char32_t ch = 0)
        : kind(k)
        , c(ch)
    {
    }
    Kind kind;
    char32_t c = 0;
    bool negated = false;
    std::vector<std::pair<quint32, quint32>> ranges; // by sort weight
};

struct Pattern {
    std::string raw; // the pattern's UTF-8 bytes, for the per-statement cache
    LikeDialect dialect;
    std::vector<Piece> pieces;
    // For "*text*", the search words' pattern: the folded text and its KMP failure table.
    std::u32string needle;
    std::vector<size_t> failure;
};

// "*" literals "*": a substring test, one pass over the text without folding it first.
void prepareContains(Pattern &p)
{
    const auto &pc = p.pieces;
    if (pc.size() < 3 || pc.front().kind != Piece::AnyRun || pc.back().kind != Piece::AnyRun)
        return;
    std::u32string needle;
    for (size_t i = 1; i + 1 < pc.size(); ++i) {
        if (pc[i].kind != Piece::Literal)
            return;
        needle.push_back(pc[i].c);
    }
    p.failure.assign(needle.size(), 0);
    for (size_t i = 1, k = 0; i < needle.size(); ++i) {
        while (k > 0 && needle[i] != needle[k])
            k = p.failure[k - 1];
        if (needle[i] == needle[k])
            ++k;
        p.failure[i] = k;
    }
    p.needle = std::move(needle);
}

const char32_t *asciiFolds()
{
    static const auto table = [] {
        std::array<char32_t, 0x80> t{};
        for (char32_t c = 0; c < 0x80; ++c)
            t[c] = foldChar(c);
        return t;
    }();
    return table.data();
}

bool containsFolded(const Pattern &p, sqlite3_value *v)
{
    const auto *s = sqlite3_value_text(v);
    const qsizetype n = sqlite3_value_bytes(v);
    const char32_t *ascii = asciiFolds();
    const std::u32string &needle = p.needle;
    size_t k = 0;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = s[i];
        char32_t c;
        if (b < 0x80) {
            c = ascii[b];
            ++i;
        } else {
            c = foldChar(nextCodePoint(s, n, i));
        }
        while (k > 0 && needle[k] != c)
            k = p.failure[k - 1];
        if (needle[k] == c && ++k == needle.size())
            return true;
    }
    return false;
}

Pattern parse(std::u32string_view p, LikeDialect dialect)
{
    Pattern out{{}, dialect, {}, {}, {}};
    const bool jet = dialect == LikeDialect::Jet;
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == (jet ? U'*' : U'%')) {
            out.pieces.emplace_back(Piece::AnyRun);
        } else if (c == (jet ? U'?' : U'_')) {
            out.pieces.emplace_back(Piece::One);
        } else if (jet && c == U'#') {
            out.pieces.emplace_back(Piece::Digit);
        } else if (c == U'[' && p.find(U']', i + 1) != std::u32string_view::npos) {
            const size_t close = p.find(U']', i + 1);
            Piece set(Piece::Set);
            size_t j = i + 1;
            if (j < close && p[j] == U'!') {
                set.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                const quint32 lo = weight(p[j]);
                if (j + 2 < close && p[j + 1] == U'-') {
                    const quint32 hi = weight(p[j + 2]);
                    if (lo <= hi)
                        set.ranges.emplace_back(lo, hi);
                    j += 2;
                } else {
                    set.ranges.emplace_back(lo, lo);
                }
            }
            out.pieces.push_back(std::move(set));
            i = close;
        } else {
            out.pieces.emplace_back(Piece::Literal, c);
        }
    }
    return out;
}

bool matchesOne(const Piece &piece, char32_t c)
{
    switch (piece.kind) {
    case Piece::One:
        return true;
    case Piece::Digit:
        return c >= U'0' && c <= U'9';
    case Piece::Literal:
        return c == piece.c;
    case Piece::Set: {
        const quint32 w = weight(c);
        bool in = false;
        for (const auto &[lo, hi] : piece.ranges)
            in = in || (w >= lo && w <= hi);
        return in != piece.negated;
    }
    case Piece::AnyRun:
        break;
    }
    return false;
}

// Every piece but AnyRun takes exactly one character, so backing up to the last
// AnyRun is enough.
bool match(const std::vector<Piece> &pat, std::u32string_view text)
{
    constexpr size_t none = size_t(-1);
    size_t p = 0, t = 0, starP = none, starT = 0;
    while (t < text.size()) {
        if (p < pat.size() && pat[p].kind == Piece::AnyRun) {
            starP = p++;
            starT = t;
        } else if (p < pat.size() && matchesOne(pat[p], text[t])) {
            ++p;
            ++t;
        } else if (starP != none) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p].kind == Piece::AnyRun)
        ++p;
    return p == pat.size();
}

// Folds into a buffer kept between calls: like() runs once per row.
std::u32string_view foldedInto(std::u32string &buffer, sqlite3_value *v)
{
    const auto *s = sqlite3_value_text(v);
    const qsizetype n = sqlite3_value_bytes(v);
    buffer.clear();
    qsizetype i = 0;
    while (i < n)
        buffer.push_back(foldChar(nextCodePoint(s, n, i)));
    return buffer;
}

std::u32string foldedText(sqlite3_value *v)
{
    std::u32string out;
    foldedInto(out, v);
    return out;
}

void likeFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *owner = static_cast<const Database *>(sqlite3_user_data(ctx));
    const LikeDialect dialect = owner->likeDialect();
    const std::string_view raw(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                               size_t(sqlite3_value_bytes(argv[0])));
    thread_local std::u32string text;
    auto *pattern = static_cast<Pattern *>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern || pattern->raw != raw || pattern->dialect != dialect) {
        Pattern fresh = parse(foldedText(argv[0]), dialect);
        fresh.raw = std::string(raw);
        prepareContains(fresh);
        pattern = new Pattern(std::move(fresh));
        sqlite3_set_auxdata(ctx, 0, pattern, [](void *p) { delete static_cast<Pattern *>(p); });
        pattern = static_cast<Pattern *>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            // SQLite dropped the cache at once (out of memory): match without it.
            const Pattern local = parse(foldedText(argv[0]), dialect);
            sqlite3_result_int(ctx, match(local.pieces, foldedInto(text, argv[1])));
            return;
        }
    }
    if (!pattern->needle.empty())
        sqlite3_result_int(ctx, containsFolded(*pattern, argv[1]));
    else
        sqlite3_result_int(ctx, match(pattern->pieces, foldedInto(text, argv[1])));
}

void lenFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *s = sqlite3_value_text(argv[0]);
    const int n = sqlite3_value_bytes(argv[0]);
    sqlite3_int64 chars = 0;
    for (int i = 0; i < n; ++i)
        chars += (s[i] & 0xC0) != 0x80;
    sqlite3_result_int64(ctx, chars);
}

// COLLATE TURKCE in the database's order. Blanks sort before every letter, so texts
// sort word by word: "Oy Gelin" before "Oya".
// Equal bytes weigh the same, so a common prefix is skipped, back to where a character
// starts in both texts (a byte that is no UTF-8 continuation byte always starts one).
int collate(void *owner, int na, const void *a, int nb, const void *b)
{
    const auto *pa = static_cast<const unsigned char *>(a);
    const auto *pb = static_cast<const unsigned char *>(b);
    const int n = std::min(na, nb);
    int k = 0;
    while (k < n && pa[k] == pb[k])
        ++k;
    const auto continues = [](const unsigned char *p, int size, int at) { return at < size && (p[at] & 0xC0) == 0x80; };
    while (k > 0 && (continues(pa, na, k) || continues(pb, nb, k)))
        --k;
    return turkish::rules::compareSequences(pa + k, na - k, pb + k, nb - k,
                                            static_cast<const Database *>(owner)->turkishOrder());
}

} // namespace

void install(sqlite3 *handle, const Database *owner)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_collation_v2(handle, "TURKCE", SQLITE_UTF8, const_cast<Database *>(owner), collate, nullptr);
    sqlite3_create_function_v2(handle, "like", 2, flags, const_cast<Database *>(owner), likeFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(handle, "len", 1, flags, nullptr, lenFunction, nullptr, nullptr, nullptr);
}

bool likeMatch(std::u32string_view pattern, std::u32string_view text, LikeDialect dialect)
{
    return match(parse(pattern, dialect).pieces, text);
}

} // namespace db::sqlfn
