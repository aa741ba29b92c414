// The idiom lookup of every record move: a typical lyric and long lyrics against a large
// dictionary, the lookup alone, with the dictionary read from a song database and with it
// kept while the file is unchanged, beside the plain search it replaced. Medians of ROUNDS runs, minima in brackets.
//   bench_idioms [FOLDER] [IDIOMS] [ROUNDS]
#include "database.h"
#include "idioms.h"
#include "recordset.h"
#include "schema.h"
#include "turkish.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString kLetters = QStringLiteral("abcçdefgğhıijklmnoöprsştuüvyz");

QString word(QRandomGenerator &rng)
{
    QString w;
    const int n = 2 + rng.bounded(7);
    for (int i = 0; i < n; ++i)
        w += kLetters[rng.bounded(int(kLetters.size()))];
    return w;
}

// Lines of five to eight words from a vocabulary, as lyrics are written.
QString lyrics(QRandomGenerator &rng, const QStringList &vocabulary, qsizetype size)
{
    QString s;
    while (s.size() < size) {
        const int words = 5 + rng.bounded(4);
        for (int i = 0; i < words; ++i)
            s += (i ? QStringLiteral(" ") : QString()) + vocabulary[rng.bounded(int(vocabulary.size()))];
        s += QLatin1Char('\n');
    }
    return s;
}

// One to three words each; one in ten taken from the lyrics' vocabulary.
std::vector<idioms::Row> dictionary(QRandomGenerator &rng, const QStringList &vocabulary, int count)
{
    std::vector<idioms::Row> rows;
    QSet<QString> taken;
    while (int(rows.size()) < count) {
        QString d = rows.size() % 10 == 0 ? vocabulary[rng.bounded(int(vocabulary.size()))] : word(rng);
        for (int extra = rng.bounded(3); extra > 0; --extra)
            d += QStringLiteral(" ") + word(rng);
        if (!taken.contains(turkish::upper(d))) {
            taken.insert(turkish::upper(d));
            rows.push_back({d, QStringLiteral("açıklama %1").arg(rows.size())});
        }
    }
    // In the dictionary's order, as the lookup gets them.
    std::sort(rows.begin(), rows.end(),
              [](const idioms::Row &a, const idioms::Row &b) { return turkish::compare(a.deyim, b.deyim) < 0; });
    return rows;
}

QString plainSearch(const QString &text, const std::vector<idioms::Row> &rows)
{
    const QString l = turkish::upper(text);
    QString result;
    for (const auto &r : rows) {
        const QString d = turkish::upper(r.deyim);
        if (!d.isEmpty() && (l.contains(u' ' + d) || l.contains(u'\n' + d + u' ')))
            result += QStringLiteral("[") + r.deyim + QStringLiteral(" : ") + r.aciklama + QStringLiteral("]    ");
    }
    return result;
}

void report(const char *what, int rounds, const std::function<void()> &run)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-52s %9.3f ms  [%.3f]\n", what, ms[ms.size() / 2], ms.front());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString folder = args.value(1, QDir::tempPath() + QStringLiteral("/qel-bench"));
    const int count = args.value(2, QStringLiteral("5000")).toInt();
    const int rounds = std::max(1, args.value(3, QStringLiteral("21")).toInt());

    QRandomGenerator rng(1);
    QStringList vocabulary;
    for (int i = 0; i < 3000; ++i)
        vocabulary << word(rng);
    const auto rows = dictionary(rng, vocabulary, count);

    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QStringLiteral("idioms-%1.qel").arg(count));
    QFile::remove(path);
    auto db = db::Database::create(path);
    schema::createSongDatabase(*db);
    {
        db::Database::Transaction tx(*db);
        for (const auto &r : rows)
            db->execute(
                QStringLiteral("INSERT INTO sozluk (Deyim, Acıklama) VALUES ('%1', '%2')").arg(r.deyim, r.aciklama));
        tx.commit();
    }

    std::printf("%d idioms, %d rounds\n", count, rounds);
    report("reading the dictionary", rounds, [&] { idioms::readDictionary(*db); });
    {
        // The order and rows of the plain statement, for comparison.
        auto rs = db->openRecordset(QStringLiteral("select * from sozluk order by deyim"));
        const auto read = idioms::readDictionary(*db);
        size_t i = 0;
        for (; !rs->eof(); rs->moveNext(), ++i) {
            if (i >= read.size() || read[i].deyim != rs->text(QStringLiteral("deyim")))
                std::printf("order differs at row %zu\n", i);
        }
        report("plain statement read row by row (before)", rounds, [&] {
            auto r = db->openRecordset(QStringLiteral("select * from sozluk order by deyim"));
            for (; !r->eof(); r->moveNext())
                r->text(QStringLiteral("deyim"));
        });
    }
    struct Case {
        const char *name;
        qsizetype size;
    };
    for (const Case &c : {Case{"typical lyric (1 KB)", 1000}, Case{"long lyrics (200 KB)", 200'000},
                          Case{"huge lyrics (10 MB)", 10'000'000}}) {
        const QString text = lyrics(rng, vocabulary, c.size);
        const bool huge = c.size > 1'000'000;
        const int r = huge ? 3 : rounds;
        std::printf("%s: %zu found\n", c.name, size_t(idioms::boxText(text, rows).count(QStringLiteral("]    "))));
        report("  lookup", r, [&] { idioms::boxText(text, rows); });
        report("  a move: dictionary read and lookup", r, [&] { idioms::boxText(text, idioms::readDictionary(*db)); });
        idioms::DictionaryCache cache;
        report("  a move: unchanged dictionary and lookup", r, [&] { idioms::boxText(text, cache.rows(db)); });
        if (!huge)
            report("  plain search (before)", std::min(r, 5), [&] { plainSearch(text, rows); });
    }
    return 0;
}
