#include "database.h"
#include "recordset.h"
#include "songfixture.h"
#include "sqltext.h"
#include "turkish.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

// Turkish case and order, the Like dialects and the quoting helpers, checked both
// directly and through SQL on a real file, since the index and the queries depend on them.
class TestTurkish : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void fold_data();
    void fold();
    void upper_data();
    void upper();
    void equality_data();
    void equality();
    void alphabeticalOrder();
    void sqlAgreesWithCompare();
    void sqlCompareOfNeighbours_data();
    void sqlCompareOfNeighbours();

    void like_data();
    void like();
    void lenCountsCharacters();
    void quoting();

private:
    QTemporaryDir m_dir;
    std::shared_ptr<db::Database> m_db;
};

static const QStringList &sortedWords()
{
    static const QStringList words = {
        u"  boşluk"_s, u"1 Mayıs"_s,   u"9"_s,       u"— çizgi"_s,  u"Ağıt"_s,  u"Ali"_s,      u"Âşık"_s,
        u"Cide"_s,     u"Çanakkale"_s, u"Denizli"_s, u"Gül"_s,      u"Gülay"_s, u"Güzel"_s,    u"Ğ"_s,
        u"Hasan"_s,    u"ılgaz"_s,     u"Irmak"_s,   u"Işık"_s,     u"îman"_s,  u"İnce"_s,     u"Jale"_s,
        u"Katibim"_s,  u"Kâtibim"_s,   u"Katip"_s,   u"Kaz Dağı"_s, u"Ordu"_s,  u"Oy Gelin"_s, u"Oya"_s,
        u"Ödemiş"_s,   u"Pınar"_s,     u"Sivas"_s,   u"Şile"_s,     u"Tokat"_s, u"Uşak"_s,     u"Ürgüp"_s,
        u"Van"_s,      u"Zonguldak"_s, u"Ωmega"_s,
    };
    return words;
}

void TestTurkish::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = db::Database::create(m_dir.filePath(u"t.qel"_s));
}

void TestTurkish::fold_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("dotted capital") << u"İzmir"_s << u"izmir"_s;
    QTest::newRow("dotless capital") << u"IZMIR"_s << u"ızmır"_s;
    QTest::newRow("Turkish letters") << u"ÇĞÖŞÜ çğöşü"_s << u"çğöşü çğöşü"_s;
    QTest::newRow("circumflex") << u"ÂÎÛ"_s << u"âîû"_s;
    QTest::newRow("Latin-1 and Extended-A") << u"ÀÉÑØŸŽŁĲ"_s << u"àéñøÿžłĳ"_s;
    QTest::newRow("no capital of its own") << u"Straße ĸ"_s << u"straße ĸ"_s;
    QTest::newRow("other scripts stay") << u"ΩMEGA Ж"_s << u"Ωmega Ж"_s;
}

void TestTurkish::fold()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(turkish::fold(in), out);
}

void TestTurkish::upper_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("i to İ") << u"istanbul"_s << u"İSTANBUL"_s;
    QTest::newRow("ı to I") << u"ılık"_s << u"ILIK"_s;
    QTest::newRow("Turkish letters") << u"çğöşü"_s << u"ÇĞÖŞÜ"_s;
    QTest::newRow("circumflex and ÿ") << u"âîûÿ"_s << u"ÂÎÛŸ"_s;
    QTest::newRow("ß stays") << u"ß"_s << u"ß"_s;
}

void TestTurkish::upper()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(turkish::upper(in), out);
    QCOMPARE(turkish::fold(turkish::upper(in)), turkish::fold(in));
}

void TestTurkish::equality_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("İzmir = izmir") << u"İzmir"_s << u"izmir"_s << true;
    QTest::newRow("IZMIR = ızmır") << u"IZMIR"_s << u"ızmır"_s << true;
    QTest::newRow("İzmir <> IZMIR") << u"İzmir"_s << u"IZMIR"_s << false;
    QTest::newRow("izmir <> IZMIR") << u"izmir"_s << u"IZMIR"_s << false;
    QTest::newRow("ılgaz = ILGAZ") << u"ılgaz"_s << u"ILGAZ"_s << true;
    QTest::newRow("Âşık = âŞIK") << u"Âşık"_s << u"âŞIK"_s << true;
    QTest::newRow("Âşık <> Aşık") << u"Âşık"_s << u"Aşık"_s << false;
    QTest::newRow("prefix") << u"Gül"_s << u"Gülay"_s << false;
    QTest::newRow("ş <> š") << u"aş"_s << u"aš"_s << false;
    QTest::newRow("Ş = ş") << u"Şile"_s << u"şile"_s << true;
    QTest::newRow("Ğ = ğ") << u"ĞĞ"_s << u"ğğ"_s << true;
    QTest::newRow("empty") << QString() << u""_s << true;
}

void TestTurkish::equality()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    QCOMPARE(turkish::equal(a, b), equal);
    QCOMPARE(turkish::compare(a, b) == 0, equal);
    QCOMPARE(turkish::fold(a) == turkish::fold(b), equal);
    QCOMPARE(turkish::equalFolded(a, b), equal);
    if (equal)
        QCOMPARE(turkish::foldedHash(a, 7), turkish::foldedHash(b, 7));
    if (!equal)
        QCOMPARE(turkish::compare(a, b), -turkish::compare(b, a));
}

void TestTurkish::alphabeticalOrder()
{
    QStringList shuffled = sortedWords();
    std::shuffle(shuffled.begin(), shuffled.end(), *QRandomGenerator::global());
    std::sort(shuffled.begin(), shuffled.end(),
              [](const QString &a, const QString &b) { return turkish::compare(a, b) < 0; });
    QCOMPARE(shuffled, sortedWords());
}

// ORDER BY, GROUP BY and = on a TURKCE column follow turkish::compare.
void TestTurkish::sqlAgreesWithCompare()
{
    m_db->executeNative(u"CREATE TABLE w (v TEXT COLLATE TURKCE)"_s);
    QStringList words = sortedWords();
    words << u"İZMİR"_s << u"izmir"_s << u"IZMIR"_s;
    std::reverse(words.begin(), words.end());
    for (const QString &w : std::as_const(words))
        m_db->execute(u"INSERT INTO w (v) VALUES ('"_s + db::quoted(w) + u"')"_s);

    QStringList ordered = fixture::column(*m_db, u"SELECT v FROM w ORDER BY v"_s, u"v"_s);
    QStringList expected = words;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QString &a, const QString &b) { return turkish::compare(a, b) < 0; });
    QCOMPARE(ordered.size(), expected.size());
    for (int i = 0; i < ordered.size(); ++i)
        QVERIFY2(turkish::equal(ordered[i], expected[i]), qPrintable(ordered[i] + u" / "_s + expected[i]));

    const QStringList groups = fixture::column(*m_db, u"SELECT v FROM w GROUP BY v ORDER BY v"_s, u"v"_s);
    QCOMPARE(groups.size(), words.size() - 1); // İZMİR and izmir are one group

    QCOMPARE(fixture::column(*m_db, u"SELECT count(*) AS n FROM w WHERE v = 'İzmir'"_s, u"n"_s), QStringList{u"2"_s});
    QCOMPARE(fixture::column(*m_db, u"SELECT count(*) AS n FROM w WHERE v = 'ızmır'"_s, u"n"_s), QStringList{u"1"_s});
}

// Texts that share their first bytes, some of them inside one character's UTF-8 form:
// the collation gives the order that turkish::compare gives.
void TestTurkish::sqlCompareOfNeighbours_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::newRow("ş / š share their first byte") << u"aş"_s << u"aš"_s;
    QTest::newRow("š / ş share their first byte") << u"š"_s << u"ş"_s;
    QTest::newRow("ğ / ģ") << u"Dağ"_s << u"Daģ"_s;
    QTest::newRow("ı / i") << u"Ağıt"_s << u"Ağit"_s;
    QTest::newRow("İ / i") << u"İzmir"_s << u"izmir"_s;
    QTest::newRow("ç / c") << u"çok"_s << u"cok"_s;
    QTest::newRow("three-byte characters") << u"a€"_s << u"a₺"_s;
    QTest::newRow("prefix") << u"Gül"_s << u"Gülay"_s;
    QTest::newRow("prefix ending in a two-byte character") << u"Gülş"_s << u"Gül"_s;
    QTest::newRow("same") << u"Şu Dağlar"_s << u"ŞU DAĞLAR"_s;
    QTest::newRow("empty") << u""_s << u"a"_s;
}

void TestTurkish::sqlCompareOfNeighbours()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    const auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
    const QString sql = u"SELECT CASE WHEN ('%1' COLLATE TURKCE) < '%2' THEN -1 WHEN ('%1' COLLATE TURKCE) = '%2' "
                        u"THEN 0 ELSE 1 END AS r"_s;
    const int forward = fixture::column(*m_db, sql.arg(a, b), u"r"_s).value(0).toInt();
    const int backward = fixture::column(*m_db, sql.arg(b, a), u"r"_s).value(0).toInt();
    QCOMPARE(forward, sign(turkish::compare(a, b)));
    QCOMPARE(backward, -forward);
}

void TestTurkish::like_data()
{
    QTest::addColumn<bool>("ansi");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("result"); // 1, 0, or -1 for Null

    const QString null;
    struct Case {
        const char *name;
        bool ansi;
        QString text, pattern;
        int result;
    };
    const Case cases[] = {
        {"jet any run", false, u"abc"_s, u"a*"_s, 1},
        {"jet any run, case folded", false, u"abc"_s, u"*C"_s, 1},
        {"jet any run inside", false, u"mississippi"_s, u"*sis*sip*"_s, 1},
        {"jet any run, empty text", false, u""_s, u"*"_s, 1},
        {"jet empty pattern", false, u"a"_s, u""_s, 0},
        {"jet one character", false, u"abc"_s, u"a?c"_s, 1},
        {"jet one character missing", false, u"ac"_s, u"a?c"_s, 0},
        {"jet digit", false, u"a1c"_s, u"a#c"_s, 1},
        {"jet digit refuses letter", false, u"abc"_s, u"a#c"_s, 0},
        {"jet range", false, u"b"_s, u"[a-c]"_s, 1},
        {"jet range excludes ç", false, u"ç"_s, u"[a-c]"_s, 0},
        {"jet range in Turkish order", false, u"Şu"_s, u"[r-t]*"_s, 1},
        {"jet negated range", false, u"d"_s, u"[!a-c]"_s, 1},
        {"jet negated range refuses", false, u"b"_s, u"[!a-c]"_s, 0},
        {"jet list", false, u"e"_s, u"[aeı]"_s, 1},
        {"jet bracketed star", false, u"a*b"_s, u"a[*]b"_s, 1},
        {"jet bracketed star is no wildcard", false, u"axb"_s, u"a[*]b"_s, 0},
        {"jet bracketed bracket", false, u"["_s, u"[[]"_s, 1},
        {"jet percent is a letter", false, u"%"_s, u"%"_s, 1},
        {"jet percent matches only itself", false, u"x"_s, u"%"_s, 0},
        {"jet underscore matches only itself", false, u"abc"_s, u"a_c"_s, 0},
        {"jet dotted capital", false, u"İzmir"_s, u"izmir"_s, 1},
        {"jet dotless capital", false, u"IZMIR"_s, u"izmir"_s, 0},
        {"jet ılgaz", false, u"ILGAZ"_s, u"ılgaz*"_s, 1},
        {"jet circumflex distinct", false, u"â"_s, u"a"_s, 0},
        {"jet circumflex case", false, u"Â"_s, u"â"_s, 1},
        {"jet contains, repeated start", false, u"aaab"_s, u"*aab*"_s, 1},
        {"jet contains, overlap then miss", false, u"abababx"_s, u"*ababx*"_s, 1},
        {"jet contains, absent", false, u"ababab"_s, u"*abx*"_s, 0},
        {"jet contains at the end", false, u"gel yâr"_s, u"*YÂR*"_s, 1},
        {"jet contains, Turkish capitals", false, u"Ege, İZMİR ILGAZ"_s, u"*izmir ılgaz*"_s, 1},
        {"jet contains, dotless is not dotted", false, u"IZMIR"_s, u"*izmir*"_s, 0},
        {"jet contains, longer than text", false, u"ab"_s, u"*abc*"_s, 0},
        {"jet contains, bracketed star", false, u"a*b"_s, u"*[*]*"_s, 1},
        {"jet contains in empty text", false, u""_s, u"*a*"_s, 0},
        {"jet null text", false, null, u"*"_s, -1},
        {"jet null pattern", false, u"a"_s, null, -1},
        {"ansi any run", true, u"abc"_s, u"a%"_s, 1},
        {"ansi one character", true, u"abc"_s, u"a_c"_s, 1},
        {"ansi star is a letter", true, u"abc"_s, u"a*c"_s, 0},
        {"ansi star matches itself", true, u"a*c"_s, u"a*c"_s, 1},
        {"ansi hash is a letter", true, u"a1c"_s, u"a#c"_s, 0},
        {"ansi range", true, u"b"_s, u"[a-c]"_s, 1},
        {"ansi Turkish case", true, u"İzmir"_s, u"%ZMİR"_s, 1},
        {"ansi null text", true, null, u"%"_s, -1},
    };
    for (const Case &c : cases)
        QTest::newRow(c.name) << c.ansi << c.text << c.pattern << c.result;
}

void TestTurkish::like()
{
    QFETCH(bool, ansi);
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(int, result);
    auto literal = [](const QString &s) -> QString { return s.isNull() ? u"NULL"_s : u'\'' + db::quoted(s) + u'\''; };
    m_db->setLikeDialect(ansi ? db::LikeDialect::Ansi : db::LikeDialect::Jet);
    auto rs = m_db->openRecordset(u"SELECT "_s + literal(text) + u" LIKE "_s + literal(pattern) + u" AS m"_s);
    m_db->setLikeDialect(db::LikeDialect::Jet);
    const QVariant m = rs->field(u"m"_s);
    if (result < 0)
        QVERIFY(m.isNull());
    else
        QCOMPARE(m.toInt(), result);
}

void TestTurkish::lenCountsCharacters()
{
    auto rs = m_db->openRecordset(u"SELECT Len('ğüşiöçı') AS a, Len('') AS b, Len(NULL) AS c"_s);
    QCOMPARE(rs->field(u"a"_s).toInt(), 7);
    QCOMPARE(rs->field(u"b"_s).toInt(), 0);
    QVERIFY(rs->field(u"c"_s).isNull());
}

void TestTurkish::quoting()
{
    QCOMPARE(db::quoted(u"a'b''c"_s), u"a''b''''c"_s);
    QCOMPARE(db::likeLiteral(u"a'*?#[b]%"_s), u"a''[*][?][#][[]b]%"_s);
}

QTEST_GUILESS_MAIN(TestTurkish)
#include "tst_turkish.moc"
