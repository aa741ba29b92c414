#include "idioms.h"
#include "turkish.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Rows = std::vector<idioms::Row>;

// The lookup as plain text searches, to check the indexed one against.
QString naive(const QString &lyrics, const Rows &rows)
{
    const QString l = turkish::upper(lyrics);
    QString result;
    for (const auto &r : rows) {
        const QString d = turkish::upper(r.deyim);
        if (!d.isEmpty() && (l.contains(u' ' + d) || l.contains(u'\n' + d + u' ')))
            result += u"["_s + r.deyim + u" : "_s + r.aciklama + u"]    "_s;
    }
    return result;
}

} // namespace

class TestIdioms : public QObject {
    Q_OBJECT
private slots:
    void boxText_data()
    {
        QTest::addColumn<QString>("lyrics");
        QTest::addColumn<QString>("expected");
        const QString al = u"[al : almak]    "_s;
        const QString sevda = u"[kara sevda : aşk]    "_s;
        QTest::newRow("line start, CR after") << u"gel\nal\r\nbeni"_s << QString();
        QTest::newRow("line start, at the end") << u"gel\nal"_s << QString();
        QTest::newRow("line start, longer word") << u"gel\nalmadan"_s << QString();
        QTest::newRow("line start, blank after") << u"gel\nal "_s << al;
        QTest::newRow("after a tab") << u"gel\tal"_s << QString();
        QTest::newRow("after CR") << u"gel\ral "_s << QString();
        QTest::newRow("blank inside the idiom") << u"bir kara sevdalı"_s << sevda;
        QTest::newRow("idiom cut by the end") << u"bir kara sev"_s << QString();
        QTest::newRow("line ends inside the idiom") << u"bir kara\nsevda"_s << QString();
        QTest::newRow("dotted and dotless i differ") << u"bir ilgit"_s << QString();
        QTest::newRow("each row once") << u" al al\nal al"_s << al;
        QTest::newRow("prefixes of one another")
            << u"x alaca"_s << al + u"[ala : alaca]    "_s + u"[alaca : renkli]    "_s;
        QTest::newRow("empty lyrics") << QString() << QString();
        QTest::newRow("blanks only") << u"   "_s << QString();
    }

    void boxText()
    {
        QFETCH(QString, lyrics);
        QFETCH(QString, expected);
        const Rows rows = {{u"al"_s, u"almak"_s},      {u"ala"_s, u"alaca"_s}, {u"alaca"_s, u"renkli"_s},
                           {u"alacak"_s, u"borç"_s},   {u""_s, u"boş"_s},      {u"ılgıt"_s, u""_s},
                           {u"kara sevda"_s, u"aşk"_s}};
        QCOMPARE(idioms::boxText(lyrics, rows), expected);
        QCOMPARE(idioms::boxText(lyrics, {}), QString());
    }

    // Random lyrics and idioms over a few letters, blanks and line ends, where
    // prefixes, repeats and matches at the ends are common.
    void agreesWithPlainSearch()
    {
        QRandomGenerator rng(7);
        const QString alphabet = u"aıiİI \n\r"_s;
        auto text = [&](int maxLength, int letters) {
            QString s;
            const int n = rng.bounded(maxLength + 1);
            for (int i = 0; i < n; ++i)
                s += alphabet[rng.bounded(letters)];
            return s;
        };
        for (int round = 0; round < 2000; ++round) {
            Rows rows;
            const int count = rng.bounded(8);
            for (int i = 0; i < count; ++i)
                rows.push_back({text(4, int(alphabet.size())), QString::number(i)});
            const QString lyrics = text(40, int(alphabet.size()));
            QCOMPARE(idioms::boxText(lyrics, rows), naive(lyrics, rows));
        }
    }
};

QTEST_GUILESS_MAIN(TestIdioms)
#include "tst_idioms.moc"
