#include "database.h"
#include "recordset.h"
#include "songfixture.h"
#include "sqltext.h"
#include "turkish.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

// The program's SQL texts, its error numbers and its stored query, run through the
// engine layer on a real song database file.
class TestSql : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void translate_data();
    void translate();

    void groupedViews_data();
    void groupedViews();
    void statements_data();
    void statements();
    void likeRangeKeepsTheRows_data();
    void likeRangeKeepsTheRows();
    void likeRangeOnlyInTheTurkishOrder();
    void emptyTheAudioIndex();

    void openErrors_data();
    void openErrors();
    void statementErrors_data();
    void statementErrors();
    void duplicateTitles();
    void readOnlyFile();

    void hostileValues_data();
    void hostileValues();

    void storedQuery();
    void emptyStoredQuery();
    void transactionAndVersion();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::shared_ptr<db::Database> m_db;
};

void TestSql::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = fixture::makeSongDatabase(m_dir->path());
    m_db = db::Database::open(m_path);
}

void TestSql::cleanup()
{
    m_db.reset();
    m_dir.reset();
}

void TestSql::translate_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("delete qualified star") << u"DELETE muzik.* FROM muzik;"_s << u"DELETE FROM muzik;"_s;
    QTest::newRow("delete star") << u"delete * from Muzik where rate = 1"_s << u"delete from muzik where Rate = 1"_s;
    QTest::newRow("qualified set target")
        << u"UPDATE Zelvoran SET Zelvoran.Derleyen = Null WHERE (((Len([Zelvoran].[Derleyen]))=0));"_s
        << u"UPDATE Zelvoran SET Derleyen = Null WHERE (((Len([Zelvoran].[Derleyen]))=0));"_s;
    QTest::newRow("several targets, brackets, Turkish case")
        << u"UPDATE zelvoran SET zelvoran.YÖRESİ = 'a', [Zelvoran].[türü] = (1), Söz = \"it's\""_s
        << u"UPDATE Zelvoran SET Yöresi = 'a', [Türü] = (1), Söz = 'it''s'"_s;
    QTest::newRow("names take the schema spelling")
        << u"SELECT ZELVORAN.BAŞLIK, DigerBilgiler, [KAYNAKKİŞİ] FROM ZELVORAN ORDER By başlık"_s
        << u"SELECT Zelvoran.Başlık, digerbilgiler, [KaynakKişi] FROM Zelvoran ORDER By Başlık"_s;
    QTest::newRow("literals stay as written") << u"select * from zelvoran where başlık like '*zelvoran; BAŞLIK*'"_s
                                              << u"select * from Zelvoran where Başlık like '*zelvoran; BAŞLIK*'"_s;
    // ACIKLAMA is "acıklama" in Turkish, the dictionary field.
    QTest::newRow("insert target") << u"INSERT INTO SOZLUK(DEYİM, [ACIKLAMA]) VALUES ('a', 'b')"_s
                                   << u"INSERT INTO sozluk(Deyim, [Acıklama]) VALUES ('a', 'b')"_s;
    QTest::newRow("stored query and functions")
        << u"select * from ARAMA order by rate; "_s << u"select * from arama order by Rate; "_s;
}

void TestSql::translate()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(m_db->translate(in), out);
}

// The four statements of each grouped tree view: empty texts to Null, the groups,
// the Null group's titles and one value's titles.
void TestSql::groupedViews_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("readAs");
    QTest::addColumn<int>("emptied");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("nullTitles");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("valueTitles");

    const QString null = u"<null>"_s;
    QTest::newRow("Derleyen") << u"Derleyen"_s << u"derleyen"_s << 1
                              << QStringList{null, u"Cahit Öztelli"_s, u"Muzaffer Sarısözen"_s}
                              << QStringList{u"Ali"_s, u"Yemen Türküsü"_s} << u"Muzaffer Sarısözen"_s
                              << QStringList{u"Çanakkale İçinde"_s, u"Sarı Gelin"_s};
    QTest::newRow("KaynakKişi") << u"KaynakKişi"_s << u"KaynakKişi"_s << 1
                                << QStringList{null, u"Çoban Ali"_s, u"Hasan"_s, u"İsmail"_s}
                                << QStringList{u"Çanakkale İçinde"_s, u"Yemen Türküsü"_s} << u"Hasan"_s
                                << QStringList{u"Ali"_s, u"Şu Dağlar"_s};
    QTest::newRow("Müzik") << u"Müzik"_s << u"Müzik"_s << 1 << QStringList{null, u"Anonim"_s, u"Aşık Veysel"_s}
                           << QStringList{u"Şu Dağlar"_s, u"Yemen Türküsü"_s} << u"Anonim"_s
                           << QStringList{u"Çanakkale İçinde"_s, u"Ilgaz"_s, u"Sarı Gelin"_s};
    QTest::newRow("Söz") << u"Söz"_s << u"Söz"_s << 1 << QStringList{null, u"Anonim"_s, u"Aşık Veysel"_s}
                         << QStringList{u"Çanakkale İçinde"_s, u"Sarı Gelin"_s} << u"Aşık Veysel"_s
                         << QStringList{u"Ali"_s, u"Ilgaz"_s};
    QTest::newRow("Türü") << u"Türü"_s << u"Türü"_s << 1 << QStringList{null, u"Ağıt"_s, u"Bozlak"_s, u"Zeybek"_s}
                          << QStringList{u"Sarı Gelin"_s} << u"Zeybek"_s << QStringList{u"Ali"_s, u"Ilgaz"_s};
    QTest::newRow("Türü2") << u"Türü2"_s << u"Türü2"_s << 1 << QStringList{null, u"Kırık Hava"_s, u"Uzun Hava"_s}
                           << QStringList{u"Ali"_s, u"Yemen Türküsü"_s} << u"Kırık Hava"_s
                           << QStringList{u"Ilgaz"_s, u"Şu Dağlar"_s};
    // İzmir and izmir are one group, and = finds both.
    QTest::newRow("Yöresi") << u"Yöresi"_s << u"Yöresi"_s << 1
                            << QStringList{null, u"Çanakkale"_s, u"Erzurum"_s, u"İzmir"_s, u"Tokat"_s}
                            << QStringList{u"Ilgaz"_s} << u"İzmir"_s << QStringList{u"Ali"_s, u"Şu Dağlar"_s};
}

void TestSql::groupedViews()
{
    QFETCH(QString, field);
    QFETCH(QString, readAs);
    QFETCH(int, emptied);
    QFETCH(QStringList, groups);
    QFETCH(QStringList, nullTitles);
    QFETCH(QString, value);
    QFETCH(QStringList, valueTitles);

    const QString inLen = field == u"Yöresi"_s ? u"yöresi"_s : field;
    QCOMPARE(m_db->execute(u"UPDATE Zelvoran SET Zelvoran."_s + field + u" = Null WHERE (((Len([Zelvoran].["_s + inLen
                           + u"]))=0));"_s),
             emptied);

    const QStringList got = fixture::column(*m_db,
                                            u"SELECT Zelvoran."_s + field + u" From Zelvoran GROUP BY Zelvoran."_s
                                                + field + u" ORDER BY Zelvoran."_s + field + u';',
                                            readAs);
    QCOMPARE(got.size(), groups.size());
    for (int i = 0; i < got.size(); ++i)
        QVERIFY2(turkish::equal(got[i], groups[i]), qPrintable(got.join(u", "_s)));

    QCOMPARE(fixture::column(*m_db,
                             u"SELECT Zelvoran.Başlık FROM zelvoran WHERE zelvoran."_s + field
                                 + u" Is Null ORDER BY Zelvoran.Başlık;"_s,
                             u"Başlık"_s),
             nullTitles);
    QCOMPARE(fixture::column(*m_db,
                             u"SELECT Zelvoran.Başlık FROM zelvoran WHERE zelvoran."_s + field + u"='"_s + value
                                 + u"' ORDER BY Zelvoran.Başlık;"_s,
                             u"Başlık"_s),
             valueTitles);
}

void TestSql::statements_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("expected");

    auto letter = [](const QString &l) -> QString {
        return u"SELECT Zelvoran.Başlık FROM zelvoran WHERE zelvoran.Başlık Like '"_s + l
               + u"*' ORDER BY Zelvoran.Başlık;"_s;
    };
    QTest::newRow("letter A") << letter(u"A"_s) << u"Başlık"_s << QStringList{u"Ali"_s};
    QTest::newRow("letter Ç") << letter(u"Ç"_s) << u"Başlık"_s << QStringList{u"Çanakkale İçinde"_s};
    QTest::newRow("letter ç") << letter(u"ç"_s) << u"Başlık"_s << QStringList{u"Çanakkale İçinde"_s};
    QTest::newRow("letter I") << letter(u"I"_s) << u"Başlık"_s << QStringList{u"Ilgaz"_s};
    QTest::newRow("letter İ") << letter(u"İ"_s) << u"Başlık"_s << QStringList{};
    QTest::newRow("letter S") << letter(u"S"_s) << u"Başlık"_s << QStringList{u"Sarı Gelin"_s};
    QTest::newRow("letter Ş") << letter(u"Ş"_s) << u"Başlık"_s << QStringList{u"Şu Dağlar"_s};
    QTest::newRow("letters") << u"basharfler"_s << u"basharf"_s
                             << QStringList{u"A"_s, u"Ç"_s, u"I"_s, u"S"_s, u"Ş"_s, u"Y"_s};

    QTest::newRow("title search, other case")
        << u"select * from zelvoran where başlık like '*DAĞ*'"_s << u"başlık"_s << QStringList{u"Şu Dağlar"_s};
    QTest::newRow("title and lyrics search")
        << u"select * from zelvoran where başlık like '*ayna*' or sözler like '*ayna*'"_s << u"Başlık"_s
        << QStringList{u"Çanakkale İçinde"_s};
    QTest::newRow("region search, dotted i") << u"select * from zelvoran where yöresi like '*izmir*'"_s << u"Başlık"_s
                                             << QStringList{u"Şu Dağlar"_s, u"Ali"_s};
    QTest::newRow("region search, dotless I")
        << u"select * from zelvoran where yöresi like '*IZMIR*'"_s << u"Başlık"_s << QStringList{};

    const QString word = u"savaş"_s;
    const QStringList joins = {u"*' Or Yöresi Like '*"_s,        u"*' Or Türü Like '*"_s,   u"*' Or derleyen Like '*"_s,
                               u"*' Or KaynakKişi Like '*"_s,    u"*' Or Söz Like '*"_s,    u"*' Or Müzik Like '*"_s,
                               u"*' Or Söyleyenler Like '*"_s,   u"*' Or Sözler Like '*"_s, u"*' or açıklama Like '*"_s,
                               u"*' or digerbilgiler Like '*"_s, u"*' or türü2 Like '*"_s};
    QString all = u"SELECT * From Zelvoran Where Başlık Like '*"_s + word;
    for (const QString &j : joins)
        all += j + word;
    all += u"*'"_s;
    QTest::newRow("all fields, word only in the note") << all << u"Başlık"_s << QStringList{u"Yemen Türküsü"_s};

    QTest::newRow("dictionary search") << u"select * from sozluk where deyim like '*ı*' order by deyim"_s << u"deyim"_s
                                       << QStringList{u"ağıt yakmak"_s, u"çarşı"_s, u"ılgım"_s};
    QTest::newRow("dictionary") << u"select * from sozluk order by deyim"_s << u"acıklama"_s
                                << QStringList{u"yas tutmak"_s, u"naz"_s,    u"pazar yeri"_s,
                                               u"serap"_s,      u"<null>"_s, u"çok üzülmek"_s};
    QTest::newRow("dictionary table") << u"sozluk"_s << u"Deyim"_s
                                      << QStringList{u"yüreği yanmak"_s, u"ağıt yakmak"_s, u"çarşı"_s,
                                                     u"cilve"_s,         u"ılgım"_s,       u"ince"_s};
    QTest::newRow("music settings") << u"ayarlar"_s << u"uzantı2"_s << QStringList{u"wav"_s};
    QTest::newRow("candidates") << u"select * from arama order by rate"_s << u"dosya"_s << QStringList{u"Sevda.mp3"_s};

    const QString base = u"SELECT Başlık, Sözler, Yöresi, Türü, Türü2, Derleyen, KaynakKişi, Söz, Müzik, "
                         "DigerBilgiler,Açıklama,girişmodu FROM Zelvoran WHERE "_s;
    const QString sort = u" ORDER By Başlık"_s;
    QTest::newRow("report, no criterion") << QString(base.chopped(7) + sort) << u"Başlık"_s << fixture::titles();
    QTest::newRow("report, equal and contains")
        << QString(base + u" başlık='ali' and  yöresi Like '*zmi*'"_s + sort) << u"başlık"_s << QStringList{u"Ali"_s};
    QTest::newRow("report, differs") << QString(base + u" türü2<>'uzun hava'"_s + sort) << u"Başlık"_s
                                     << QStringList{u"Ali"_s, u"Ilgaz"_s, u"Şu Dağlar"_s};
    QTest::newRow("report, begins with") << QString(base + u" Başlık Like 'S*'"_s + sort) << u"Başlık"_s
                                         << QStringList{u"Sarı Gelin"_s};
    QTest::newRow("report, two columns") << QString(base + u" söz='aşık veysel' and  müzik Like '*nonim*'"_s
                                                    + u" ORDER By Söz"_s)
                                         << u"Başlık"_s << QStringList{u"Ilgaz"_s};
}

void TestSql::statements()
{
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(QStringList, expected);
    QCOMPARE(fixture::column(*m_db, sql, field), expected);
}

// A Like with a literal prefix gets an index range beside it; the rows stay those of
// like() alone, also where the range would not hold.
void TestSql::likeRangeKeepsTheRows_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("ranged"); // the index range is used
    QTest::newRow("prefix") << u"Başlık Like 'S*'"_s << u"like('S*', Başlık)"_s << true;
    QTest::newRow("qualified, ? after the prefix")
        << u"zelvoran.başlık Like 'Uzun?*'"_s << u"like('Uzun?*', Başlık)"_s << true;
    QTest::newRow("NOT before") << u"NOT Başlık Like 'S*'"_s << u"NOT like('S*', Başlık)"_s << true;
    QTest::newRow("concatenation before")
        << u"Yöresi || Başlık Like 'Sivas*'"_s << u"like('Sivas*', Yöresi || Başlık)"_s << false;
    QTest::newRow("sum before") << u"1 + Başlık Like '1*'"_s << u"like('1*', 1 + Başlık)"_s << false;
    QTest::newRow("comparison before") << u"Yöresi = Başlık Like '0*'"_s << u"like('0*', Yöresi = Başlık)"_s << false;
    QTest::newRow("between before") << u"'a' BETWEEN 'a' AND Başlık Like '1*'"_s
                                    << u"like('1*', 'a' BETWEEN 'a' AND Başlık)"_s << false;
    QTest::newRow("concatenated pattern") << u"Başlık Like 'S' || '*'"_s << u"like('S*', Başlık)"_s << false;
    QTest::newRow("next character U+10FFFF") << u"Başlık Like 'Uzun*'"_s << u"like('Uzun*', Başlık)"_s << true;
    QTest::newRow("bytes above U+10FFFF") << u"Başlık Like 'Uw*'"_s << u"like('Uw*', Başlık)"_s << true;
    QTest::newRow("text as a BLOB") << u"Başlık Like 'Sivas*'"_s << u"like('Sivas*', Başlık)"_s << true;
    QTest::newRow("circumflex") << u"Başlık Like 'kâ*'"_s << u"like('kâ*', Başlık)"_s << true;
    QTest::newRow("last letter") << u"Başlık Like 'Zz*'"_s << u"like('Zz*', Başlık)"_s << true;
    const QString lone = QString(QChar(0xDBFF));
    QTest::newRow("lone surrogate, sent as U+FFFD")
        << u"Başlık Like '"_s + lone + u"'"_s << u"like('"_s + lone + u"', Başlık)"_s << false;
    // Binary order puts 'Sivas' between 'I' and 'a', the Turkish one does not.
    QTest::newRow("inside a CASE compared outside it")
        << u"CASE WHEN NOT (Başlık Like 'S*') THEN Yöresi END BETWEEN 'I' AND 'a'"_s
        << u"CASE WHEN NOT like('S*', Başlık) THEN Yöresi END BETWEEN 'I' AND 'a'"_s << true;
    QTest::newRow("join") << u"Başlık Like 'S*' AND Başlık IN (SELECT basharf FROM basharfler)"_s
                          << u"like('S*', Başlık) AND Başlık IN (SELECT basharf FROM basharfler)"_s << false;
}

void TestSql::likeRangeKeepsTheRows()
{
    QFETCH(QString, condition);
    QFETCH(QString, reference);
    QFETCH(bool, ranged);
    const QString max = QString::fromUcs4(U"\U0010FFFF", 1);
    m_db->executeNative(u"INSERT INTO Zelvoran (Başlık, Yöresi) VALUES ('Kara Tren', 'Sivas'), ('Uzun"_s + max
                        + u"Hava', ''), ('Uzun"_s + max + max + u"', ''), ('Zz"_s + max
                        + u"', ''), ('Kâtibim', ''), "
                          "('Katip', ''), ('1', '1'), ('S', '0'), ('\uFFFD', ''), "
                          "(CAST('Sivas Blob' AS BLOB), ''), (CAST(X'5577F4908080' AS TEXT), ''), "
                          "(CAST(X'5577F878' AS TEXT), '')"_s);
    const QString select = u"SELECT Başlık FROM Zelvoran WHERE %1 ORDER BY Başlık"_s;
    const QStringList expected = fixture::column(*m_db, select.arg(reference), u"Başlık"_s);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(fixture::column(*m_db, select.arg(condition), u"Başlık"_s), expected);
    QCOMPARE(m_db->translate(select.arg(condition)).contains(u" >= '"_s), ranged);

    // The plan the tree's letter builds rely on.
    if (condition == u"Başlık Like 'S*'"_s) {
        sqlite3_stmt *st = nullptr;
        const QByteArray plan = (u"EXPLAIN QUERY PLAN "_s + m_db->translate(select.arg(condition))).toUtf8();
        QCOMPARE(sqlite3_prepare_v2(m_db->handle(), plan.constData(), -1, &st, nullptr), SQLITE_OK);
        QVERIFY(sqlite3_step(st) == SQLITE_ROW);
        const QString detail = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 3)));
        sqlite3_finalize(st);
        QVERIFY2(detail.contains(u"Başlık>? AND Başlık<?"_s), qPrintable(detail));
    }
}

// A column that compares in another order by itself gets no range: one in that order
// would leave out the rows Like finds in another case. A view of the column changes
// nothing.
void TestSql::likeRangeOnlyInTheTurkishOrder()
{
    m_db->executeNative(u"CREATE TABLE plain (ad TEXT, ikinci TEXT COLLATE NOCASE, üçüncü TEXT COLLATE TURKCE);"
                        "INSERT INTO plain VALUES ('sivas', 'ılgaz', 'ılgaz'), ('Sivas', 'Ilgaz', 'Ilgaz'),"
                        " ('şile', 'ıl', 'ıl');"
                        "CREATE VIEW görünüm AS SELECT üçüncü FROM plain"_s);
    const struct {
        QString field;
        QString pattern;
        QStringList rows;
        bool ranged;
    } cases[] = {
        {u"ad"_s, u"S*"_s, {u"sivas"_s, u"Sivas"_s}, false},
        {u"ikinci"_s, u"ılg*"_s, {u"ılgaz"_s, u"Ilgaz"_s}, false},
        {u"üçüncü"_s, u"ılg*"_s, {u"ılgaz"_s, u"Ilgaz"_s}, true},
    };
    for (const auto &c : cases) {
        const QString sql = u"SELECT %1 FROM plain WHERE %1 Like '%2' ORDER BY rowid"_s.arg(c.field, c.pattern);
        QCOMPARE(fixture::column(*m_db, sql, c.field), c.rows);
        QCOMPARE(m_db->translate(sql).contains(u" >= '"_s), c.ranged);
    }
}

void TestSql::emptyTheAudioIndex()
{
    QCOMPARE(m_db->execute(u"DELETE muzik.* FROM muzik;"_s), 3);
    QCOMPARE(m_db->openRecordset(u"muzik"_s)->recordCount(), 0);
    QCOMPARE(m_db->openRecordset(u"Zelvoran"_s)->recordCount(), 6);
}

void TestSql::openErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // "-" writes no file
    QTest::addColumn<int>("error");
    QTest::newRow("empty path") << QString() << QByteArray("-") << int(db::InvalidPath);
    QTest::newRow("missing folder") << u"yok/a.qel"_s << QByteArray("-") << int(db::InvalidPath);
    QTest::newRow("missing file") << u"yok.qel"_s << QByteArray("-") << int(db::FileNotFound);
    QTest::newRow("a folder") << u"."_s << QByteArray("-") << int(db::InvalidPath);
    QTest::newRow("empty file") << u"bos.qel"_s << QByteArray() << int(db::UnrecognizedFormat);
    QTest::newRow("text file") << u"metin.qel"_s << QByteArray("Bu bir veritabanı değil.\n")
                               << int(db::UnrecognizedFormat);
    QByteArray noise(4096, '\0');
    for (char &c : noise)
        c = char(QRandomGenerator::global()->bounded(256));
    QTest::newRow("random bytes") << u"gurultu.qel"_s << noise << int(db::UnrecognizedFormat);
    QTest::newRow("no read permission") << u"kapali.qel"_s << QByteArray("x") << int(db::FileAccessDenied);
}

void TestSql::openErrors()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, error);
    const QString path = name.isEmpty() ? QString() : m_dir->filePath(name);
    if (content != "-") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    if (error == db::FileAccessDenied) {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        QFile::copy(m_path, path);
        QFile::setPermissions(path, {});
    }
    int got = 0;
    try {
        db::Database::open(path);
    } catch (const db::Error &e) {
        got = e.number();
        if (!name.isEmpty() && error != db::FileAccessDenied)
            QVERIFY2(e.description().contains(path), qPrintable(e.description()));
    }
    QCOMPARE(got, error);
}

void TestSql::statementErrors_data()
{
    QTest::addColumn<QString>("op"); // execute, open or find
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("error");
    QTest::newRow("second statement") << u"execute"_s << u"DELETE FROM muzik; DELETE FROM Zelvoran"_s
                                      << int(db::TextAfterStatement);
    QTest::newRow("second statement in a recordset")
        << u"open"_s << u"SELECT * FROM muzik; DELETE FROM Zelvoran;"_s << int(db::TextAfterStatement);
    QTest::newRow("select executed") << u"execute"_s << u"SELECT * FROM Zelvoran"_s << int(db::CannotExecuteSelect);
    QTest::newRow("action as recordset") << u"open"_s << u"DELETE FROM muzik"_s << int(db::InvalidOperation);
    QTest::newRow("delete behind WITH as recordset")
        << u"open"_s << u"WITH x AS (SELECT 1) DELETE FROM Zelvoran WHERE 1 IN (SELECT * FROM x)"_s
        << int(db::InvalidOperation);
    QTest::newRow("update behind WITH as recordset")
        << u"open"_s << u"with x as (select 1) update Zelvoran set Yöresi = 'x'"_s << int(db::InvalidOperation);
    QTest::newRow("insert behind WITH as recordset")
        << u"open"_s << u"WITH x AS (SELECT 'y') INSERT INTO muzik (dosya) SELECT * FROM x"_s
        << int(db::InvalidOperation);
    QTest::newRow("missing table") << u"open"_s << u"olmayan"_s << int(db::ObjectNotFound);
    QTest::newRow("missing table in a statement")
        << u"execute"_s << u"DELETE FROM olmayan"_s << int(db::ObjectNotFound);
    QTest::newRow("missing table in a select")
        << u"open"_s << u"select * from arama2 order by rate"_s << int(db::ObjectNotFound);
    QTest::newRow("unreadable statement") << u"execute"_s << u"UPDATE Zelvoran SET = 1"_s << int(db::QuerySyntaxError);
    QTest::newRow("unknown column") << u"open"_s << u"SELECT Yok FROM Zelvoran"_s << int(db::QuerySyntaxError);
    QTest::newRow("apostrophe in a criterion") << u"find"_s << u"[Başlık] = 'a'b'"_s << int(db::ExpressionSyntaxError);
    QTest::newRow("find on a snapshot") << u"find snapshot"_s << u"[Türü] = 'Ağıt'"_s << int(db::NotSupported);
}

void TestSql::statementErrors()
{
    QFETCH(QString, op);
    QFETCH(QString, sql);
    QFETCH(int, error);
    int got = 0;
    QString description;
    try {
        if (op == u"execute"_s) {
            m_db->execute(sql);
        } else if (op == u"open"_s) {
            m_db->openRecordset(sql);
        } else if (op == u"find"_s) {
            m_db->openRecordset(u"Zelvoran"_s)->findFirst(sql);
        } else {
            m_db->openRecordset(u"SELECT Türü FROM Zelvoran GROUP BY Türü"_s)->findFirst(sql);
        }
    } catch (const db::Error &e) {
        got = e.number();
        description = e.description();
    }
    QCOMPARE(got, error);
    QVERIFY(!description.isEmpty());
    if (error == db::ObjectNotFound)
        QVERIFY2(description.contains(u"olmayan"_s) || description.contains(u"arama2"_s), qPrintable(description));
    // Nothing was deleted on the way.
    QCOMPARE(m_db->openRecordset(u"Zelvoran"_s)->recordCount(), 6);
    QCOMPARE(m_db->openRecordset(u"muzik"_s)->recordCount(), 3);
}

void TestSql::duplicateTitles()
{
    QVERIFY_DB_ERROR(m_db->execute(u"INSERT INTO Zelvoran (Başlık) VALUES ('Ali')"_s), db::DuplicateKey);
    QVERIFY_DB_ERROR(m_db->execute(u"INSERT INTO Zelvoran (Başlık) VALUES ('ALİ')"_s), db::DuplicateKey);
    QVERIFY_DB_ERROR(m_db->execute(u"UPDATE Zelvoran SET Başlık = 'şu dağlar' WHERE Başlık = 'Ilgaz'"_s),
                     db::DuplicateKey);
    // ALI is "alı", another word.
    QCOMPARE(m_db->execute(u"INSERT INTO Zelvoran (Başlık) VALUES ('ALI')"_s), 1);
}

void TestSql::readOnlyFile()
{
    m_db.reset();
    QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    auto ro = db::Database::open(m_path);
    QVERIFY(ro->isReadOnly());
    QCOMPARE(fixture::column(*ro, u"SELECT Başlık FROM Zelvoran ORDER BY Başlık"_s, u"Başlık"_s), fixture::titles());
    QVERIFY_DB_ERROR(ro->execute(u"UPDATE Zelvoran SET Yöresi = 'x'"_s), db::ReadOnlyDatabase);
    QVERIFY_DB_ERROR(ro->setQuerySql(u"arama"_s, u"select * from muzik"_s), db::ReadOnlyDatabase);
    auto rs = ro->openRecordset(u"Zelvoran"_s);
    QVERIFY(!rs->updatable());
    QVERIFY_DB_ERROR(rs->edit(), db::ReadOnlyDatabase);
    QVERIFY_DB_ERROR(rs->addNew(), db::ReadOnlyDatabase);
    QVERIFY_DB_ERROR(rs->deleteRecord(), db::ReadOnlyDatabase);
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
}

// A value put between apostrophes with quoted, or into a Like pattern with likeLiteral,
// matches only itself, and nothing in it runs as SQL.
void TestSql::hostileValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("apostrophe") << u"a'b"_s;
    QTest::newRow("injection") << u"'; DELETE FROM Zelvoran; --"_s;
    QTest::newRow("star") << u"*"_s;
    QTest::newRow("bracket") << u"["_s;
    QTest::newRow("percent") << u"%"_s;
    QTest::newRow("question mark and hash") << u"?#"_s;
}

void TestSql::hostileValues()
{
    QFETCH(QString, value);
    const QStringList hostile = {u"a'b"_s, u"'; DELETE FROM Zelvoran; --"_s, u"*"_s, u"["_s, u"%"_s, u"?#"_s};
    auto rs = m_db->openRecordset(u"Zelvoran"_s);
    for (const QString &h : hostile) {
        rs->addNew();
        rs->setField(u"Başlık"_s, h);
        rs->setField(u"Sözler"_s, QString(u"x"_s + h + u"y"_s));
        rs->update();
    }
    QCOMPARE(
        fixture::column(*m_db, u"SELECT * FROM Zelvoran WHERE Başlık = '"_s + db::quoted(value) + u'\'', u"Başlık"_s),
        QStringList{value});
    QCOMPARE(fixture::column(*m_db, u"select * from zelvoran where sözler like '*"_s + db::likeLiteral(value) + u"*'"_s,
                             u"Başlık"_s),
             QStringList{value});
    auto find = m_db->openRecordset(u"Zelvoran"_s);
    find->findFirst(u"[Başlık] = '"_s + db::quoted(value) + u'\'');
    QVERIFY(!find->noMatch());
    QCOMPARE(find->text(u"Başlık"_s), value);
    QCOMPARE(m_db->openRecordset(u"Zelvoran"_s)->recordCount(), 6 + int(hostile.size()));
}

void TestSql::storedQuery()
{
    const QString text = u"select * from muzik where muzik.dosya like '*Dağlar*' or muzik.dosya like '*Geldim*'"_s;
    m_db->setQuerySql(u"arama"_s, text);
    QCOMPARE(m_db->querySql(u"ARAMA"_s), text);
    QVERIFY(m_db->hasTable(u"Arama"_s));
    QCOMPARE(fixture::column(*m_db, u"select * from arama order by rate"_s, u"dosya"_s),
             (QStringList{u"Geldim.mp3"_s, u"Ey Dağlar.mp3"_s}));
    auto rs = m_db->openRecordset(u"arama"_s);
    QCOMPARE(rs->recordCount(), 2);
    QVERIFY(!rs->updatable());
    QVERIFY_DB_ERROR(rs->edit(), db::ReadOnlyDatabase);

    // A bad text is refused and the stored one stays.
    QVERIFY_DB_ERROR(m_db->setQuerySql(u"arama"_s, u"select * from muzik where dosya like '*a'b*'"_s),
                     db::QuerySyntaxError);
    QCOMPARE(m_db->querySql(u"arama"_s), text);

    m_db.reset();
    m_db = db::Database::open(m_path);
    QCOMPARE(m_db->querySql(u"arama"_s), text);
    QCOMPARE(m_db->openRecordset(u"select * from arama order by rate"_s)->recordCount(), 2);
    QVERIFY(!m_db->hasTable(u"_queries"_s));
}

void TestSql::emptyStoredQuery()
{
    m_db->setQuerySql(u"arama"_s, QString());
    QCOMPARE(m_db->querySql(u"arama"_s), QString());
    auto rs = m_db->openRecordset(u"select * from arama order by rate"_s);
    QVERIFY(rs->eof() && rs->bof());
    QCOMPARE(rs->recordCount(), 0);
    QVERIFY(rs->hasField(u"dosya"_s));
    auto byName = m_db->openRecordset(u"arama"_s);
    QVERIFY(byName->eof() && byName->bof());

    m_db->setQuerySql(u"arama"_s, u"select * from muzik where muzik.dosya like '*Sevda*'"_s);
    QCOMPARE(fixture::column(*m_db, u"select * from arama order by rate"_s, u"yol"_s), QStringList{u"/muzik/alt/"_s});
}

void TestSql::transactionAndVersion()
{
    auto rs = m_db->openRecordset(u"SELECT * FROM Zelvoran ORDER BY Başlık"_s);
    {
        db::Database::Transaction tx(*m_db);
        QCOMPARE(m_db->execute(u"UPDATE Zelvoran SET Yöresi = 'Sivas'"_s), 6);
        QCOMPARE(rs->text(u"Yöresi"_s), u"Sivas"_s);
        // A stored query keeps its own step inside a larger transaction.
        m_db->setQuerySql(u"arama"_s, u"select * from muzik"_s);
    }
    QCOMPARE(rs->text(u"Yöresi"_s), u"İzmir"_s);
    QCOMPARE(m_db->querySql(u"arama"_s), u"select * from muzik where muzik.dosya like '*Sevda*'"_s);
    {
        db::Database::Transaction tx(*m_db);
        m_db->execute(u"UPDATE Zelvoran SET Yöresi = 'Sivas' WHERE Başlık = 'Ali'"_s);
        tx.commit();
    }
    auto other = db::Database::open(m_path);
    QCOMPARE(fixture::column(*other, u"SELECT Yöresi FROM Zelvoran WHERE Başlık = 'Ali'"_s, u"Yöresi"_s),
             QStringList{u"Sivas"_s});
    QCOMPARE(rs->text(u"Yöresi"_s), u"Sivas"_s);

    QCOMPARE(m_db->userVersion(), 0);
    m_db->setUserVersion(3);
    QCOMPARE(db::Database::open(m_path)->userVersion(), 3);
}

QTEST_GUILESS_MAIN(TestSql)
#include "tst_sql.moc"
