// The Turkish fold, compare and collation. On UTF-16 texts (lone surrogates included)
// and on raw UTF-8 bytes (malformed ones included): compare is a consistent total
// order, zero exactly when the folds are equal; the hash follows fold equality; the
// collation SQLite sorts indexes with agrees with compare in both orders.
#include "fuzzinput.h"

#include "database.h"
#include "turkish.h"
#include "turkishrules.h"

#include <sqlite3.h>

#include <array>
#include <cstring>
#include <string>

using namespace Qt::StringLiterals;
namespace rules = turkish::rules;
using fuzz::sign;

namespace {

// The collation's answer, as SQLite gets it: -1, 0 or 1.
int collated(const QByteArray &a, const QByteArray &b)
{
    static sqlite3_stmt *const stmt = fuzz::prepared(
        "SELECT CASE WHEN ?1 = ?2 COLLATE TURKCE THEN 0 WHEN ?1 < ?2 COLLATE TURKCE THEN -1 ELSE 1 END");
    sqlite3_bind_text(stmt, 1, a.constData(), int(a.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    FUZZ_CHECK(sqlite3_step(stmt) == SQLITE_ROW);
    const int r = sqlite3_column_int(stmt, 0);
    sqlite3_reset(stmt);
    return r;
}

int sequences(const QByteArray &a, const QByteArray &b, rules::Order order)
{
    return sign(rules::compareSequences(reinterpret_cast<const unsigned char *>(a.constData()), a.size(),
                                        reinterpret_cast<const unsigned char *>(b.constData()), b.size(), order));
}

// The signs of every pairwise comparison, each asked once.
using Signs = std::array<std::array<int, 3>, 3>;

template <typename Compare, typename Text>
Signs signs(Compare cmp, const std::array<Text, 3> &t)
{
    Signs m{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            m[i][j] = sign(cmp(t[i], t[j]));
    }
    return m;
}

void checkOrder(const Signs &m, const QStringList &details)
{
    for (int i = 0; i < 3; ++i) {
        FUZZ_CHECK(m[i][i] == 0, details);
        for (int j = 0; j < 3; ++j)
            FUZZ_CHECK(m[i][j] == -m[j][i], details);
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                if (m[i][j] <= 0 && m[j][k] <= 0)
                    FUZZ_CHECK(m[i][k] <= 0, details);
                if (m[i][j] == 0 && m[j][k] == 0)
                    FUZZ_CHECK(m[i][k] == 0, details);
                if (m[i][j] < 0 && m[j][k] <= 0)
                    FUZZ_CHECK(m[i][k] < 0, details);
            }
        }
    }
}

void checkTexts(const std::array<QString, 3> &t)
{
    const QStringList details = {fuzz::shown(t[0]), fuzz::shown(t[1]), fuzz::shown(t[2])};
    const Signs m = signs([](const QString &a, const QString &b) { return turkish::compare(a, b); }, t);
    checkOrder(m, details);
    for (int i = 0; i < 3; ++i) {
        const QString &a = t[i];
        const QString f = turkish::fold(a);
        FUZZ_CHECK(turkish::fold(f) == f, details);
        FUZZ_CHECK(turkish::fold(turkish::upper(a)) == f, details);
        FUZZ_CHECK(turkish::compare(a, f) == 0, details);
        for (int j = 0; j < 3; ++j) {
            const QString &b = t[j];
            const bool foldEqual = f == turkish::fold(b);
            FUZZ_CHECK((m[i][j] == 0) == foldEqual, details);
            FUZZ_CHECK(turkish::equal(a, b) == foldEqual, details);
            FUZZ_CHECK(turkish::equalFolded(a, b) == foldEqual, details);
            if (foldEqual)
                FUZZ_CHECK(turkish::foldedHash(a, 7) == turkish::foldedHash(b, 7), details);
        }
    }
}

void checkBytes(const std::array<QByteArray, 3> &t)
{
    const QStringList details = {fuzz::shown(t[0]), fuzz::shown(t[1]), fuzz::shown(t[2])};
    db::Database &db = fuzz::scratchDatabase();
    for (const auto order : {rules::Order::Current, rules::Order::Former}) {
        db.setTurkishOrder(order);
        const Signs m = signs(collated, t);
        checkOrder(m, details);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                const QByteArray &a = t[i], &b = t[j];
                const int c = m[i][j];
                FUZZ_CHECK(c == sequences(a, b, order), details);
                FUZZ_CHECK((c == 0) == (fuzz::foldedCodePoints(a) == fuzz::foldedCodePoints(b)), details);
                const QString sa = QString::fromUtf8(a), sb = QString::fromUtf8(b);
                if (order == rules::Order::Current && sa.toUtf8() == a && sb.toUtf8() == b)
                    FUZZ_CHECK(c == sign(turkish::compare(sa, sb)), details);
            }
        }
    }
    db.setTurkishOrder(rules::Order::Current);
}

// The Like range raises a prefix's last character to the next weight: that one must
// weigh more, and when there is none, the character must weigh most.
void checkSuccessors(const QString &text)
{
    const QList<uint> chars = text.toUcs4();
    for (const auto order : {rules::Order::Current, rules::Order::Former}) {
        for (const uint c : chars) {
            const char32_t f = rules::foldChar(c);
            const char32_t s = rules::successor(f, order);
            const QStringList details = {u"U+%1"_s.arg(uint(c), 4, 16, QChar(u'0')),
                                         u"successor U+%1"_s.arg(uint(s), 4, 16, QChar(u'0'))};
            if (s != 0) {
                FUZZ_CHECK(rules::foldChar(s) == s, details);
                FUZZ_CHECK(rules::weight(s, order) > rules::weight(f, order), details);
            } else {
                for (const uint other : chars)
                    FUZZ_CHECK(rules::weight(rules::foldChar(other), order) <= rules::weight(f, order), details);
            }
        }
    }
}

QString utf16(const QByteArray &bytes)
{
    QString s(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(s.data(), bytes.constData(), size_t(s.size()) * sizeof(QChar));
    return s;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::scratchDatabase();
    return 0;
}

// Input: three texts separated by 0xFF, read both as UTF-8 bytes and as UTF-16 units.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> parts = fuzz::split(data, size, 0xFF, 3);
    const std::array<QByteArray, 3> bytes = {parts[0], parts[1], parts[2]};
    checkBytes(bytes);
    checkTexts({utf16(parts[0]), utf16(parts[1]), utf16(parts[2])});
    checkTexts({QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1]), QString::fromUtf8(parts[2])});
    checkSuccessors(QString::fromUtf8(parts[0] + parts[1] + parts[2]));
    return 0;
}
