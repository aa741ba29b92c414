#include "idioms.h"

#include "database.h"
#include "recordset.h"
#include "turkish.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace idioms {

namespace {

// The places of the upper-cased lyrics that follow a blank or a line feed, each sorted by
// the text that starts there (compared up to a fixed length), so that the places where a
// given text starts are found by binary search.
class StartIndex {
public:
    StartIndex(QStringView text, QChar before, qsizetype depth)
        : m_text(text)
        , m_depth(depth)
    {
        const qsizetype n = text.size();
        for (qsizetype i = 1; i < n; ++i) {
            if (text[i - 1] == before)
                m_starts.push_back({key(i), i});
        }
        std::sort(m_starts.begin(), m_starts.end(), [this](const Start &a, const Start &b) {
            if (a.key != b.key)
                return a.key < b.key;
            return compareFrom(a.pos, b.pos) < 0;
        });
    }

    // Whether some place starts with the head followed by the tail (together no longer
    // than the depth).
    bool startsWith(QStringView head, QStringView tail = {}) const
    {
        const auto it = std::partition_point(m_starts.begin(), m_starts.end(),
                                             [&](const Start &s) { return comparePrefix(s.pos, head, tail) < 0; });
        return it != m_starts.end() && comparePrefix(it->pos, head, tail) == 0;
    }

private:
    struct Start {
        quint64 key; // the first three characters, each plus one; 0 past the end
        qsizetype pos;
    };
    static constexpr qsizetype KeyLength = 3;

    quint64 key(qsizetype pos) const
    {
        quint64 k = 0;
        for (qsizetype i = 0; i < KeyLength; ++i) {
            const qsizetype at = pos + i;
            k = (k << 17) | (at < m_text.size() ? quint64(m_text[at].unicode()) + 1 : 0);
        }
        return k;
    }

    // Order of the texts at two places with equal keys, up to the depth; shorter first.
    int compareFrom(qsizetype a, qsizetype b) const
    {
        const qsizetype n = m_text.size();
        for (qsizetype i = KeyLength; i < m_depth; ++i) {
            const bool endA = a + i >= n, endB = b + i >= n;
            if (endA || endB)
                return endA == endB ? 0 : endA ? -1 : 1;
            const char16_t ca = m_text[a + i].unicode(), cb = m_text[b + i].unicode();
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
        return 0;
    }

    // The text at a place against head and tail, over their length: 0 when it starts
    // with them.
    int comparePrefix(qsizetype pos, QStringView head, QStringView tail) const
    {
        const qsizetype n = m_text.size();
        const qsizetype length = head.size() + tail.size();
        for (qsizetype i = 0; i < length; ++i) {
            if (pos + i >= n)
                return -1;
            const char16_t c = m_text[pos + i].unicode();
            const char16_t d = (i < head.size() ? head[i] : tail[i - head.size()]).unicode();
            if (c != d)
                return c < d ? -1 : 1;
        }
        return 0;
    }

    QStringView m_text;
    qsizetype m_depth;
    std::vector<Start> m_starts;
};

} // namespace

std::vector<Row> readDictionary(db::Database &db)
{
    // Read whole in one pass: a plain SELECT on the table would fetch its rows one by one.
    auto rs = db.openRecordset(u"with s as (select * from sozluk) select * from s order by deyim"_s);
    std::vector<Row> rows;
    for (; !rs->eof(); rs->moveNext())
        rows.push_back({rs->text(u"deyim"_s), rs->text(u"acıklama"_s)});
    return rows;
}

const std::vector<Row> &DictionaryCache::rows(const std::shared_ptr<db::Database> &db)
{
    const auto version = db->dataVersion();
    if (m_db.lock() != db || version != m_version) {
        m_rows = readDictionary(*db);
        m_db = db;
        m_version = version;
    }
    return m_rows;
}

QString boxText(QStringView lyrics, const std::vector<Row> &rows)
{
    std::vector<QString> upper;
    upper.reserve(rows.size());
    qsizetype longest = 0;
    for (const Row &r : rows) {
        upper.push_back(turkish::upper(r.deyim));
        longest = std::max(longest, upper.back().size());
    }
    const QString text = turkish::upper(lyrics);
    // A line-start match needs the blank after the idiom, hence one character more.
    const StartIndex afterBlank(text, u' ', longest);
    const StartIndex afterLineFeed(text, u'\n', longest + 1);

    QString result;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString &d = upper[i];
        if (d.isEmpty())
            continue;
        if (afterBlank.startsWith(d) || afterLineFeed.startsWith(d, u" "))
            result += u"["_s + rows[i].deyim + u" : "_s + rows[i].aciklama + u"]    "_s;
    }
    return result;
}

} // namespace idioms
