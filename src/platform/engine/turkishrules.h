#pragma once

#include <QtGlobal>

// The per-character rules behind turkish::fold and turkish::compare, shared with the
// SQLite collation and the Like matcher, which work on code points decoded from UTF-8.
namespace turkish::rules {

char32_t foldChar(char32_t c);
char32_t upperChar(char32_t c);
// Sort weight of a folded character: blanks, digits and punctuation by code point,
// then the letters in alphabetical order (variants right after their base letter),
// then every other character by code point. Distinct characters get distinct weights.
quint32 weight(char32_t folded);

// weight(foldChar(c)) for every c below this, as one table.
constexpr char32_t FastEnd = 0x180;
const quint32 *foldedWeights();

// Reads one code point from UTF-16 or UTF-8 text and advances the position.
char32_t nextCodePoint(const char16_t *s, qsizetype n, qsizetype &i);
char32_t nextCodePoint(const unsigned char *s, qsizetype n, qsizetype &i);

// Compares two code point sequences by weight of their folds; a prefix sorts first.
template <typename A, typename B>
int compareSequences(const A *a, qsizetype na, const B *b, qsizetype nb)
{
    const quint32 *fast = foldedWeights();
    const auto weightOf = [fast](char32_t c) { return c < FastEnd ? fast[c] : weight(foldChar(c)); };
    qsizetype i = 0, j = 0;
    while (i < na && j < nb) {
        const quint32 wa = weightOf(nextCodePoint(a, na, i));
        const quint32 wb = weightOf(nextCodePoint(b, nb, j));
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (i < na)
        return 1;
    if (j < nb)
        return -1;
    return 0;
}

} // namespace turkish::rules
