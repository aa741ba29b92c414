#pragma once

#include <QtGlobal>

// The per-character rules behind turkish::fold and turkish::compare, shared with the
// SQLite collation and the Like matcher, which work on code points decoded from UTF-8.
namespace turkish::rules {

char32_t foldChar(char32_t c);
char32_t upperChar(char32_t c);

// The orders a file's indexes may have been built with.
enum class Order {
    // â, î and û sort as a, i and u, a tie broken after the plain letter:
    // Katibim, Kâtibim, Katip, Kaz.
    Current,
    // â, î and û are letters of their own, right after a, i and u: Katibim, Katip, Kaz,
    // Kâtibim. Files indexed before the change, opened read-only, keep it.
    Former,
};

// Sort weight of a folded character: blanks, digits and punctuation by code point,
// then the letters in alphabetical order (variants right after their base letter),
// then every other character by code point. Blanks weigh less than every letter, so
// texts sort word by word ("Oy Gelin" before "Oya"), as library filing does. In the
// Former order distinct characters get distinct weights; in the Current one â, î and û
// weigh as their base letter and differ from it only in mark().
quint32 weight(char32_t folded, Order order = Order::Current);
// 1 for the circumflex letters â, î and û in the Current order: the tie breaker.
inline int mark(char32_t folded, Order order)
{
    return order == Order::Current && (folded == 0xE2 || folded == 0xEE || folded == 0xFB);
}
// A character whose weight is the least one greater than folded's, or 0 when
// folded weighs most.
char32_t successor(char32_t folded, Order order);

// weight(foldChar(c), order) for every c below this, as one table.
constexpr char32_t FastEnd = 0x180;
const quint32 *foldedWeights(Order order);

// Reads one code point from UTF-16 or UTF-8 text and advances the position. Malformed
// UTF-8 and values above U+10FFFF read as U+FFFD.
char32_t nextCodePoint(const char16_t *s, qsizetype n, qsizetype &i);
char32_t nextCodePoint(const unsigned char *s, qsizetype n, qsizetype &i);

// Compares two code point sequences by the weights of their folds, a prefix first;
// in the Current order texts of equal weights are told apart by their first mark.
// Zero exactly when the folds are equal.
template <typename A, typename B>
int compareSequences(const A *a, qsizetype na, const B *b, qsizetype nb, Order order = Order::Current)
{
    const quint32 *fast = foldedWeights(order);
    qsizetype i = 0, j = 0;
    int tie = 0;
    while (i < na && j < nb) {
        const char32_t ca = nextCodePoint(a, na, i);
        const char32_t cb = nextCodePoint(b, nb, j);
        if (ca == cb)
            continue;
        const char32_t fa = foldChar(ca), fb = foldChar(cb);
        const quint32 wa = ca < FastEnd ? fast[ca] : weight(fa, order);
        const quint32 wb = cb < FastEnd ? fast[cb] : weight(fb, order);
        if (wa != wb)
            return wa < wb ? -1 : 1;
        if (tie == 0)
            tie = mark(fa, order) - mark(fb, order);
    }
    if (i < na)
        return 1;
    if (j < nb)
        return -1;
    return tie;
}

} // namespace turkish::rules
