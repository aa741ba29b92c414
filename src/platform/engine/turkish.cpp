#include "turkish.h"
#include "turkishrules.h"

#include <array>

namespace turkish::rules {

namespace {

constexpr char32_t TableEnd = 0x180; // ASCII, Latin-1 and Latin Extended-A

struct Tables {
    std::array<char32_t, TableEnd> lower{};
    std::array<char32_t, TableEnd> upper{};
    std::array<quint32, TableEnd> weight[2]{}; // by Order: Current, Former
    std::array<quint32, TableEnd> foldedWeight[2]{};

    Tables()
    {
        for (char32_t c = 0; c < TableEnd; ++c) {
            lower[c] = c;
            upper[c] = c;
        }
        auto pair = [this](char32_t up, char32_t low) {
            lower[up] = low;
            upper[low] = up;
        };
        for (char32_t c = 'A'; c <= 'Z'; ++c)
            pair(c, c + 0x20);
        // The Turkish pairs: I/ı and İ/i.
        pair(U'I', U'ı');
        pair(U'İ', U'i');
        for (char32_t c = 0xC0; c <= 0xDE; ++c) {
            if (c != 0xD7)
                pair(c, c + 0x20);
        }
        pair(0x178, 0xFF);
        for (char32_t c = 0x100; c < 0x180; ++c) {
            if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x178 || c == 0x17F)
                continue;
            const bool evenUpper = c < 0x139 || (c >= 0x14A && c < 0x178);
            if ((c % 2 == 0) == evenUpper)
                pair(c, c + 1);
        }

        // Letters in alphabetical order, each with its variants in code point order.
        static const char16_t *const letters[] = {
            u"aàáâãäåæāăą", u"b",          u"cćĉċč", u"ç",          u"dðďđ", u"eèéêëēĕėęě", u"f",      u"gĝġģ",
            u"ğ",           u"hĥħ",        u"ı",     u"iìíîïĩīĭįĳ", u"jĵ",   u"kķĸ",        u"lĺļľŀł", u"m",
            u"nñńņňŉŋ",     u"oòóôõøōŏőœ", u"ö",     u"p",          u"q",    u"rŕŗř",       u"sßśŝšſ", u"ş",
            u"tþţťŧ",       u"uùúûũūŭůűų", u"ü",     u"v",          u"wŵ",   u"x",          u"yýÿŷ",   u"zźżž",
        };
        auto &former = weight[int(Order::Former)];
        for (char32_t c = 0; c < TableEnd; ++c)
            former[c] = c;
        quint32 rank = 0;
        for (const char16_t *group : letters) {
            quint32 variant = 0;
            for (const char16_t *p = group; *p; ++p)
                former[*p] = 0x10000 + rank * 64 + variant++;
            ++rank;
        }
        auto &current = weight[int(Order::Current)];
        current = former;
        current[U'â'] = former[U'a'];
        current[U'î'] = former[U'i'];
        current[U'û'] = former[U'u'];
        for (int o = 0; o < 2; ++o) {
            for (char32_t c = 0; c < TableEnd; ++c)
                foldedWeight[o][c] = weight[o][lower[c]];
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

static_assert(FastEnd == TableEnd);

const quint32 *foldedWeights(Order order)
{
    return tables().foldedWeight[int(order)].data();
}

char32_t foldChar(char32_t c)
{
    return c < TableEnd ? tables().lower[c] : c;
}

char32_t upperChar(char32_t c)
{
    return c < TableEnd ? tables().upper[c] : c;
}

namespace {
constexpr char32_t PunctuationFirst = 0x2000, PunctuationLast = 0x206F; // dashes, quotes
constexpr quint32 OthersBase = 0x20000;
} // namespace

quint32 weight(char32_t folded, Order order)
{
    if (folded < TableEnd)
        return tables().weight[int(order)][folded];
    if (folded >= PunctuationFirst && folded <= PunctuationLast)
        return folded;
    return OthersBase + folded;
}

// Weights fall in three runs: the table's, general punctuation's (below the letters) and
// everything from TableEnd on (above them), each run's characters in code point order.
char32_t successor(char32_t folded, Order order)
{
    const quint32 w = weight(folded, order);
    char32_t best = 0;
    quint32 bestWeight = ~quint32(0);
    const auto consider = [&](char32_t c) {
        const quint32 cw = weight(c, order);
        if (cw > w && cw < bestWeight) {
            best = c;
            bestWeight = cw;
        }
    };
    const Tables &t = tables();
    for (char32_t c = 0; c < TableEnd; ++c) {
        if (t.lower[c] == c)
            consider(c);
    }
    if (w < PunctuationFirst)
        consider(PunctuationFirst);
    else if (w < PunctuationLast)
        consider(char32_t(w + 1));
    char32_t next = w < OthersBase + TableEnd ? TableEnd : char32_t(w - OthersBase + 1);
    if (next >= PunctuationFirst && next <= PunctuationLast)
        next = PunctuationLast + 1;
    if (next >= 0xD800 && next <= 0xDFFF) // no text holds a lone surrogate
        next = 0xE000;
    if (next <= 0x10FFFF)
        consider(next);
    return best;
}

char32_t nextCodePoint(const char16_t *s, qsizetype n, qsizetype &i)
{
    const char16_t c = s[i++];
    if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(s[i]))
        return QChar::surrogateToUcs4(c, s[i++]);
    return c;
}

char32_t nextCodePoint(const unsigned char *s, qsizetype n, qsizetype &i)
{
    const unsigned char c = s[i++];
    if (c < 0x80)
        return c;
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return 0xFFFD;
    }
    for (; extra > 0; --extra) {
        if (i >= n || (s[i] & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (s[i++] & 0x3F);
    }
    return cp <= 0x10FFFF ? cp : 0xFFFD;
}

} // namespace turkish::rules

namespace turkish {

namespace {

// The tables map only characters below TableEnd, and to characters below it, so the
// text keeps its length and surrogate pairs pass through untouched.
QString mapChars(QStringView s, const std::array<char32_t, rules::TableEnd> &table)
{
    QString out(s.size(), Qt::Uninitialized);
    auto *o = reinterpret_cast<char16_t *>(out.data());
    const auto *p = reinterpret_cast<const char16_t *>(s.utf16());
    for (qsizetype i = 0; i < s.size(); ++i)
        o[i] = p[i] < rules::TableEnd ? char16_t(table[p[i]]) : p[i];
    return out;
}

} // namespace

QString fold(QStringView s)
{
    return mapChars(s, rules::tables().lower);
}

QString upper(QStringView s)
{
    return mapChars(s, rules::tables().upper);
}

int compare(QStringView a, QStringView b)
{
    return rules::compareSequences(reinterpret_cast<const char16_t *>(a.utf16()), a.size(),
                                   reinterpret_cast<const char16_t *>(b.utf16()), b.size());
}

bool equal(QStringView a, QStringView b)
{
    return compare(a, b) == 0;
}

bool equalFolded(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    const auto &lower = rules::tables().lower;
    const auto fold = [&lower](char16_t c) { return c < rules::TableEnd ? char16_t(lower[c]) : c; };
    const auto *pa = reinterpret_cast<const char16_t *>(a.utf16());
    const auto *pb = reinterpret_cast<const char16_t *>(b.utf16());
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (pa[i] != pb[i] && fold(pa[i]) != fold(pb[i]))
            return false;
    }
    return true;
}

size_t foldedHash(QStringView s, size_t seed)
{
    const auto &lower = rules::tables().lower;
    const auto *p = reinterpret_cast<const char16_t *>(s.utf16());
    size_t h = seed ^ 0xcbf29ce484222325ull;
    for (qsizetype i = 0; i < s.size(); ++i) {
        h ^= p[i] < rules::TableEnd ? lower[p[i]] : p[i];
        h *= 0x100000001b3ull;
    }
    return h;
}

} // namespace turkish
