#include "database.h"
#include "dberror.h"
#include "recordset.h"
#include "samplearchive.h"
#include "schema.h"
#include "turkish.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList kGrouped = {u"Yöresi"_s, u"Türü"_s, u"Türü2"_s, u"KaynakKişi"_s, u"Derleyen"_s, u"Söz"_s, u"Müzik"_s};
const QStringList kPeople = {u"KaynakKişi"_s, u"Derleyen"_s, u"Söz"_s, u"Müzik"_s};

QString dataDir()
{
    return QStringLiteral(QEL_DATA_DIR);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A copy of data/ that a test may change.
QString copyData(const QTemporaryDir &tmp)
{
    const QString to = tmp.filePath(u"data"_s);
    QDirIterator it(dataDir(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString target = to + u'/' + QDir(dataDir()).relativeFilePath(from);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(from, target);
    }
    return to;
}

QStringList significantLines(const QString &path)
{
    QStringList out;
    const QStringList lines = QString::fromUtf8(readFile(path)).split(u'\n');
    for (const QString &l : lines) {
        if (!l.trimmed().isEmpty() && !l.trimmed().startsWith(u'#'))
            out << l.trimmed();
    }
    return out;
}

QVariantList column(db::Database &db, const QString &sql, const QString &field)
{
    QVariantList out;
    auto rs = db.openRecordset(sql);
    for (; !rs->eof(); rs->moveNext())
        out << rs->field(field);
    return out;
}

int count(db::Database &db, const QString &source)
{
    auto rs = db.openRecordset(source);
    return rs->recordCount();
}

// Titles under one letter, by the statement of the by-letter tree.
QStringList titlesOfLetter(db::Database &db, const QString &letter)
{
    QStringList out;
    const QVariantList v = column(db,
                                  u"SELECT Zelvoran.Başlık FROM zelvoran WHERE zelvoran.Başlık Like '"_s + letter
                                      + u"*' ORDER BY Zelvoran.Başlık;"_s,
                                  u"Başlık"_s);
    for (const QVariant &t : v)
        out << t.toString();
    return out;
}

void checkTitlesUnderLetters(db::Database &db, int songs)
{
    const QVariantList letters = column(db, u"basharfler"_s, u"basharf"_s);
    int underLetters = 0;
    for (const QVariant &l : letters) {
        const QStringList t = titlesOfLetter(db, l.toString());
        QVERIFY2(!t.isEmpty(), qPrintable(u"no title begins with "_s + l.toString()));
        underLetters += int(t.size());
    }
    // Each title sits under exactly one letter.
    QCOMPARE(underLetters, songs);
}

void checkTitles(db::Database &db)
{
    QSet<QString> folded;
    const QVariantList titles = column(db, u"Zelvoran"_s, u"Başlık"_s);
    for (const QVariant &v : titles) {
        const QString t = v.toString();
        QVERIFY(!t.isEmpty());
        QVERIFY2(!t.contains(u'\''), qPrintable(t));
        QVERIFY2(!std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c.isDigit(); }), qPrintable(t));
        QVERIFY2(!t.endsWith(u'0'), qPrintable(t)); // a key ending in 0 is a folder node
        folded.insert(turkish::fold(t));
    }
    QCOMPARE(folded.size(), titles.size());
}

// Rows of a grouped field: Null, empty text, and the count of each value.
struct FieldSpread {
    int nulls = 0;
    int empties = 0;
    QHash<QString, int> values;
};

FieldSpread spread(db::Database &db, const QString &field)
{
    FieldSpread s;
    const QVariantList v = column(db, u"Zelvoran"_s, field);
    for (const QVariant &x : v) {
        if (x.isNull())
            ++s.nulls;
        else if (x.toString().isEmpty())
            ++s.empties;
        else
            ++s.values[x.toString()];
    }
    return s;
}

QString onlyRowText(db::Database &db, const QString &table, const QString &field)
{
    auto rs = db.openRecordset(table);
    return rs->eof() ? QString() : rs->field(field).toString();
}

} // namespace

class TestSample : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_archive;
    QString m_settings;

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_archive = m_tmp.filePath(u"ornek.qel"_s);
        m_settings = m_tmp.filePath(u"nsz.dll"_s);
        QString error;
        QVERIFY2(sample::buildArchive(dataDir(), m_archive, &error), qPrintable(error));
        QVERIFY2(sample::buildSettings(m_settings, m_archive, dataDir(), &error), qPrintable(error));
    }

    void sampleHasWhatTheSourcesHold()
    {
        auto db = db::Database::open(m_archive);
        const int songFiles = int(QDir(dataDir() + u"/songs"_s).entryList({u"*.txt"_s}, QDir::Files).size());
        QVERIFY(songFiles >= 20 && songFiles <= 30);
        QCOMPARE(count(*db, u"Zelvoran"_s), songFiles);
        QCOMPARE(count(*db, u"basharfler"_s), int(significantLines(dataDir() + u"/harfler.txt"_s).size()));
        const int idioms = int(significantLines(dataDir() + u"/sozluk.txt"_s).size());
        QVERIFY(idioms >= 10 && idioms <= 20);
        QCOMPARE(count(*db, u"sozluk"_s), idioms);
        QCOMPARE(count(*db, u"muzik"_s), 0);
        QCOMPARE(db->userVersion(), schema::kSongSchemaVersion);

        auto ayar = db->openRecordset(u"ayarlar"_s);
        QCOMPARE(ayar->recordCount(), 1);
        QVERIFY(!ayar->field(u"yol"_s).isNull());
        QCOMPARE(ayar->text(u"yol"_s), QString());
        QCOMPARE(ayar->text(u"uzantı1"_s), u"mp3"_s);
        QCOMPARE(ayar->text(u"uzantı2"_s), u"wav"_s);
        QCOMPARE(ayar->text(u"uzantı3"_s), u"wma"_s);

        // The candidate list reads the stored query before its first rewrite.
        QCOMPARE(db->querySql(u"arama"_s), QString());
        QCOMPARE(count(*db, u"select * from arama order by rate"_s), 0);
    }

    // A file of the first schema gets the title in its grouped fields' indexes when it
    // can be written; a read-only one is left as it is and still reads.
    void olderSongDatabaseIsUpgraded()
    {
        const QString older = m_tmp.filePath(u"eski.qel"_s);
        QFile::remove(older);
        QVERIFY(QFile::copy(m_archive, older));
        QFile::setPermissions(older, QFile::ReadOwner | QFile::WriteOwner);
        {
            auto db = db::Database::open(older);
            for (const QString &f : kGrouped) {
                db->executeNative(u"DROP INDEX \"Zelvoran_"_s + f + u'"');
                db->executeNative(u"CREATE INDEX \"Zelvoran_"_s + f + u"\" ON Zelvoran (\""_s + f + u"\")"_s);
            }
            db->setUserVersion(1);
        }
        const auto indexed = [](db::Database &db, const QString &field) {
            auto rs = db.openRecordset(u"SELECT name FROM pragma_index_info('Zelvoran_"_s + field
                                       + u"') ORDER BY seqno"_s);
            QStringList columns;
            for (; !rs->eof(); rs->moveNext())
                columns << rs->text(u"name"_s);
            return columns;
        };

        QFile::setPermissions(older, QFile::ReadOwner);
        {
            auto db = db::Database::open(older);
            schema::upgradeSongDatabase(*db);
            QCOMPARE(db->userVersion(), 1);
            QCOMPARE(indexed(*db, u"Derleyen"_s), QStringList{u"Derleyen"_s});
            QCOMPARE(count(*db, u"Zelvoran"_s), count(*db::Database::open(m_archive), u"Zelvoran"_s));
        }
        QFile::setPermissions(older, QFile::ReadOwner | QFile::WriteOwner);
        {
            auto db = db::Database::open(older);
            schema::upgradeSongDatabase(*db);
            QCOMPARE(db->userVersion(), schema::kSongSchemaVersion);
            for (const QString &f : kGrouped)
                QCOMPARE(indexed(*db, f), (QStringList{f, u"Başlık"_s}));
        }
    }

    // A file indexed when â, î and û were letters of their own is rebuilt in the current
    // order where it can be written; read-only, it answers in the order of its indexes.
    void olderOrderIsRebuiltOrKept()
    {
        const QString older = m_tmp.filePath(u"eski-sira.qel"_s);
        QFile::remove(older);
        {
            auto db = db::Database::create(older);
            db->setTurkishOrder(db::Database::Order::Former);
            schema::createSongDatabase(*db);
            db->executeNative(u"INSERT INTO Zelvoran (Başlık, Yöresi) VALUES ('Kaz Dağı', 'Sivas'), "
                              "('Kâtibim', 'İstanbul'), ('Katip', 'Sivas'), ('Katibim', 'Sivas'), ('Kuzu', 'Sivas')"_s);
            db->setUserVersion(2);
        }
        const auto titles = [](db::Database &db, const QString &sql) {
            QStringList out;
            for (auto rs = db.openRecordset(sql); !rs->eof(); rs->moveNext())
                out << rs->field(rs->fieldNames().first()).toString();
            return out;
        };
        const auto check = [&](db::Database &db, const QStringList &order) {
            QCOMPARE(titles(db, u"SELECT Başlık FROM Zelvoran ORDER BY Başlık"_s), order);
            QCOMPARE(titles(db, u"SELECT Başlık FROM Zelvoran WHERE Başlık = 'KÂTİBİM'"_s), QStringList{u"Kâtibim"_s});
            QCOMPARE(titles(db, u"SELECT Başlık FROM Zelvoran WHERE Başlık Like 'kâ*'"_s), QStringList{u"Kâtibim"_s});
            QStringList sivas = order;
            sivas.removeAll(u"Kâtibim"_s);
            QCOMPARE(titles(db, u"SELECT Başlık FROM Zelvoran WHERE Yöresi = 'Sivas' ORDER BY Yöresi, Başlık"_s),
                     sivas);
            QCOMPARE(titles(db, u"SELECT * FROM pragma_integrity_check()"_s), QStringList{u"ok"_s});
        };
        const QStringList former = {u"Katibim"_s, u"Katip"_s, u"Kaz Dağı"_s, u"Kâtibim"_s, u"Kuzu"_s};
        const QStringList current = {u"Katibim"_s, u"Kâtibim"_s, u"Katip"_s, u"Kaz Dağı"_s, u"Kuzu"_s};

        QFile::setPermissions(older, QFile::ReadOwner);
        {
            auto db = db::Database::open(older);
            schema::upgradeSongDatabase(*db);
            QCOMPARE(db->userVersion(), 2);
            check(*db, former);
        }
        QFile::setPermissions(older, QFile::ReadOwner | QFile::WriteOwner);
        {
            auto db = db::Database::open(older);
            schema::upgradeSongDatabase(*db);
            QCOMPARE(db->userVersion(), schema::kSongSchemaVersion);
            check(*db, current);
        }
        check(*db::Database::open(older), current);
    }

    void sampleTitlesFillTheLetterTree()
    {
        auto db = db::Database::open(m_archive);
        checkTitles(*db);
        checkTitlesUnderLetters(*db, count(*db, u"Zelvoran"_s));
        QStringList letters;
        for (const QVariant &l : column(*db, u"basharfler"_s, u"basharf"_s))
            letters << l.toString();
        for (const QString &l : {u"Ç"_s, u"İ"_s, u"Ö"_s, u"Ş"_s, u"Ü"_s})
            QVERIFY2(letters.contains(l), qPrintable(l));
        for (qsizetype i = 1; i < letters.size(); ++i)
            QVERIFY(turkish::compare(letters.at(i - 1), letters.at(i)) < 0);
        // The table's own order is title order, so the first record is the first title.
        const QVariantList titles = column(*db, u"Zelvoran"_s, u"Başlık"_s);
        for (qsizetype i = 1; i < titles.size(); ++i)
            QVERIFY(turkish::compare(titles.at(i - 1).toString(), titles.at(i).toString()) < 0);
    }

    void sampleGroupingsHaveWork_data()
    {
        QTest::addColumn<QString>("field");
        for (const QString &f : kGrouped)
            QTest::newRow(f.toUtf8().constData()) << f;
    }

    void sampleGroupingsHaveWork()
    {
        QFETCH(QString, field);
        auto db = db::Database::open(m_archive);
        const FieldSpread s = spread(*db, field);
        QVERIFY2(s.nulls + s.empties > 0, "no \" Bilinmeyen\" group");
        QVERIFY2(std::any_of(s.values.cbegin(), s.values.cend(), [](int n) { return n >= 2; }),
                 "no group with several songs");
        for (auto it = s.values.cbegin(); it != s.values.cend(); ++it) {
            QVERIFY2(!it.key().contains(u'\''), qPrintable(it.key()));
            QVERIFY2(!std::all_of(it.key().cbegin(), it.key().cend(), [](QChar c) { return c.isDigit(); }),
                     qPrintable(it.key()));
        }
        if (kPeople.contains(field) || field == u"Yöresi"_s)
            QVERIFY2(s.nulls > 0 && s.empties > 0, "needs both a Null and an empty text");
    }

    void sampleIdiomsOccurInLyrics()
    {
        auto db = db::Database::open(m_archive);
        QStringList lyrics;
        for (const QVariant &v : column(*db, u"Zelvoran"_s, u"Sözler"_s))
            lyrics << turkish::upper(v.toString());
        int afterBlank = 0, atLineStartOnly = 0;
        for (const QVariant &v : column(*db, u"select * from sozluk order by deyim"_s, u"Deyim"_s)) {
            const QString d = turkish::upper(v.toString());
            const bool blank = std::any_of(lyrics.cbegin(), lyrics.cend(),
                                           [&d](const QString &l) { return l.contains(u' ' + d); });
            const bool lineStart = std::any_of(lyrics.cbegin(), lyrics.cend(),
                                               [&d](const QString &l) { return l.contains(u'\n' + d + u' '); });
            afterBlank += blank;
            atLineStartOnly += lineStart && !blank;
        }
        QVERIFY2(afterBlank >= 5, qPrintable(QString::number(afterBlank)));
        QVERIFY(atLineStartOnly >= 1);
    }

    void settingsPointAtTheArchive()
    {
        auto ayar = db::Database::open(m_settings);
        QCOMPARE(ayar->userVersion(), schema::kSettingsSchemaVersion);
        QCOMPARE(count(*ayar, u"ayarlar"_s), 1);
        QCOMPARE(onlyRowText(*ayar, u"ayarlar"_s, u"vtyol"_s), m_archive);
        QCOMPARE(count(*ayar, u"onsoz"_s), 1);
        const QString vu = onlyRowText(*ayar, u"onsoz"_s, u"vu"_s);
        const QString qel = onlyRowText(*ayar, u"onsoz"_s, u"qel"_s);
        QVERIFY(vu.count(u"\n\n"_s) >= 2); // a few paragraphs
        QVERIFY(qel.count(u"\n\n"_s) >= 2);
        QVERIFY(!vu.contains(u"\n\n\n"_s));
        QVERIFY(vu != qel);
    }

    void rebuildReplacesExistingFiles()
    {
        QTemporaryDir tmp;
        const QString archive = tmp.filePath(u"a.qel"_s), settings = tmp.filePath(u"nsz.dll"_s);
        writeFile(archive, "eski dosya");
        writeFile(settings, "eski dosya");
        QString error;
        for (int round = 0; round < 2; ++round) {
            QVERIFY2(sample::buildArchive(dataDir(), archive, &error), qPrintable(error));
            QVERIFY2(sample::buildSettings(settings, archive, dataDir(), &error), qPrintable(error));
        }
        auto db = db::Database::open(archive);
        auto reference = db::Database::open(m_archive);
        QCOMPARE(count(*db, u"Zelvoran"_s), count(*reference, u"Zelvoran"_s));
        QCOMPARE(count(*db, u"sozluk"_s), count(*reference, u"sozluk"_s));
        QCOMPARE(count(*db::Database::open(settings), u"ayarlar"_s), 1);
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), 2); // nothing left beside them
    }

    void brokenSourcesLeaveTheTargetAlone_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content"); // null: the file is removed
        QTest::addColumn<QString>("expected");

        QTest::newRow("unknown field") << u"songs/zz.txt"_s << QByteArray("Başlık: Zil Sesi\nYöre: Ankara\n\nsöz\n")
                                       << u"\"Yöre\""_s;
        QTest::newRow("field twice") << u"songs/zz.txt"_s
                                     << QByteArray("Başlık: Zil Sesi\nTürü: Türkü\ntürü: Ninni\n\nsöz\n")
                                     << u"iki kez"_s;
        QTest::newRow("line without colon")
            << u"songs/zz.txt"_s << QByteArray("Başlık: Zil Sesi\nAnkara\n\nsöz\n") << u"\"Ankara\""_s;
        QTest::newRow("no title") << u"songs/zz.txt"_s << QByteArray("Yöresi: Ankara\n\nsöz\n") << u"başlık yok"_s;
        QTest::newRow("empty title") << u"songs/zz.txt"_s << QByteArray("Başlık:\nYöresi: Ankara\n\nsöz\n")
                                     << u"başlık yok"_s;
        QTest::newRow("same title, other case")
            << u"songs/zz.txt"_s << QByteArray("Başlık: SARI GELİN\n\nsöz\n") << u"aynı başlığı"_s;
        QTest::newRow("apostrophe in title")
            << u"songs/zz.txt"_s << QByteArray("Başlık: Sarı Gelin'in Türküsü\n\nsöz\n") << u"apostrof"_s;
        QTest::newRow("digits title") << u"songs/zz.txt"_s << QByteArray("Başlık: 1915\n\nsöz\n") << u"rakamlardan"_s;
        QTest::newRow("title ending in 0")
            << u"songs/zz.txt"_s << QByteArray("Başlık: Zil 1920\n\nsöz\n") << u"0 ile"_s;
        QTest::newRow("digits group value")
            << u"songs/zz.txt"_s << QByteArray("Başlık: Zil Sesi\nTürü2: 1915\n\nsöz\n") << u"\"Türü2\""_s;
        QTest::newRow("apostrophe in group value")
            << u"songs/zz.txt"_s << QByteArray("Başlık: Zil Sesi\nSöz: Ali'nin\n\nsöz\n") << u"\"Söz\""_s;
        QTest::newRow("initial not listed") << u"songs/zz.txt"_s << QByteArray("Başlık: Misket\n\nsöz\n") << u"\"M\""_s;
        QTest::newRow("letter without title")
            << u"harfler.txt"_s << QByteArray("A\nB\nÇ\nD\nG\nH\nİ\nK\nM\nÖ\nS\nŞ\nU\nÜ\nY\nZ\n") << u"\"M\""_s;
        QTest::newRow("letters out of order")
            << u"harfler.txt"_s << QByteArray("A\nB\nD\nÇ\nG\nH\nİ\nK\nÖ\nS\nŞ\nU\nÜ\nY\nZ\n") << u"alfabe sırasında"_s;
        QTest::newRow("dotless I for İ") << u"harfler.txt"_s
                                         << QByteArray("A\nB\nÇ\nD\nG\nH\nI\nK\nÖ\nS\nŞ\nU\nÜ\nY\nZ\n") << u"\"I\""_s;
        QTest::newRow("not UTF-8") << u"songs/zz.txt"_s << QByteArray("Başlık: Zil \xfe\xff\n\nsöz\n") << u"UTF-8"_s;
        QTest::newRow("dictionary missing") << u"sozluk.txt"_s << QByteArray() << u"sozluk.txt"_s;
        QTest::newRow("no songs") << u"songs"_s << QByteArray() << u"songs"_s;
    }

    void brokenSourcesLeaveTheTargetAlone()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir tmp;
        const QString data = copyData(tmp);
        const QString path = data + u'/' + file;
        if (content.isNull()) {
            if (QFileInfo(path).isDir())
                QVERIFY(QDir(path).removeRecursively());
            else
                QVERIFY(QFile::remove(path));
        } else {
            writeFile(path, content);
        }
        const QString target = tmp.filePath(u"a.qel"_s);
        writeFile(target, "eski dosya");

        QString error;
        QVERIFY(!sample::buildArchive(data, target, &error));
        QVERIFY2(error.contains(expected), qPrintable(error));
        QCOMPARE(readFile(target), QByteArray("eski dosya"));
        QVERIFY(!QFileInfo::exists(target + u".yapiliyor"_s));
    }

    // The people fields of one song and the credits line stored for it.
    void creditsLine_data()
    {
        QTest::addColumn<QString>("people");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("all four, same lyricist and composer")
            << u"KaynakKişi: A\nDerleyen: B\nSöz: C\nMüzik: C\n"_s << QVariant(u"K:A  D:B   SM:C"_s);
        QTest::newRow("no source person") << u"Derleyen: B\nSöz: C\nMüzik: D\n"_s << QVariant(u"  D:B   S:C  M:D"_s);
        QTest::newRow("composer alone") << u"KaynakKişi: A\nMüzik: D\n"_s << QVariant(u"K:A  M:D"_s);
        QTest::newRow("lyricist alone") << u"Söz: C\n"_s << QVariant(u"  S:C"_s);
        QTest::newRow("no lyricist or composer") << u"KaynakKişi: A\nDerleyen: B\n"_s << QVariant(u"K:A  D:B"_s);
        QTest::newRow("nobody") << QString() << QVariant();
        QTest::newRow("only empty texts") << u"KaynakKişi:\nDerleyen:\nSöz:\nMüzik:\n"_s << QVariant();
        QTest::newRow("case differs") << u"Söz: Anonim\nMüzik: anonim\n"_s << QVariant(u"   S:Anonim  M:anonim"_s);
        // A cleared box counts as no value: the other person still gets the line.
        QTest::newRow("empty lyricist") << u"Söz:\nMüzik: D\n"_s << QVariant(u"  M:D"_s);
        QTest::newRow("empty composer") << u"Söz: C\nMüzik:\n"_s << QVariant(u"  S:C"_s);
    }

    void creditsLine()
    {
        QFETCH(QString, people);
        QFETCH(QVariant, expected);
        QTemporaryDir tmp;
        const QString data = copyData(tmp);
        QDir(data + u"/songs"_s).removeRecursively();
        writeFile(data + u"/songs/a.txt"_s, (u"Başlık: Ali\n"_s + people + u"\nBir iki\n"_s).toUtf8());
        writeFile(data + u"/harfler.txt"_s, "A\n");
        QString error;
        QVERIFY2(sample::buildArchive(data, tmp.filePath(u"a.qel"_s), &error), qPrintable(error));
        auto db = db::Database::open(tmp.filePath(u"a.qel"_s));
        const QVariantList v = column(*db, u"Zelvoran"_s, u"girişmodu"_s);
        QCOMPARE(v.size(), 1);
        QCOMPARE(v.first().isNull(), expected.isNull());
        QCOMPARE(v.first().toString(), expected.toString());
    }

    void repairSettings_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QVariant>("vtyol"); // afterwards
        QTest::addColumn<QString>("vu");     // afterwards
        QTest::newRow("missing file") << u"missing"_s << QVariant() << QString();
        QTest::newRow("no ayarlar table") << u"noAyarlar"_s << QVariant() << u"Önsöz"_s;
        QTest::newRow("ayarlar without rows") << u"emptyAyarlar"_s << QVariant() << u"Önsöz"_s;
        QTest::newRow("ayarlar without its field") << u"noVtyol"_s << QVariant() << u"Önsöz"_s;
        QTest::newRow("no onsoz table") << u"noOnsoz"_s << QVariant(u"/a/b.qel"_s) << QString();
        QTest::newRow("healthy") << u"healthy"_s << QVariant(u"/a/b.qel"_s) << u"Önsöz"_s;
    }

    void repairSettings()
    {
        QFETCH(QString, setup);
        QFETCH(QVariant, vtyol);
        QFETCH(QString, vu);
        QTemporaryDir tmp;
        const QString path = tmp.filePath(u"nsz.dll"_s);
        if (setup != u"missing"_s) {
            auto db = db::Database::create(path);
            if (setup == u"emptyAyarlar"_s)
                db->executeNative(u"CREATE TABLE ayarlar (vtyol TEXT)"_s);
            if (setup == u"noVtyol"_s)
                db->executeNative(u"CREATE TABLE ayarlar (eski TEXT); INSERT INTO ayarlar VALUES ('x')"_s);
            if (setup == u"noOnsoz"_s || setup == u"healthy"_s)
                db->executeNative(u"CREATE TABLE ayarlar (vtyol TEXT); INSERT INTO ayarlar VALUES ('/a/b.qel')"_s);
            if (setup != u"noOnsoz"_s)
                db->executeNative(
                    u"CREATE TABLE onsoz (vu TEXT, qel TEXT); INSERT INTO onsoz VALUES ('Önsöz', 'İkinci')"_s);
        }
        // Twice: a second repair finds nothing to add.
        for (int round = 0; round < 2; ++round) {
            const std::optional<db::Error> failure = schema::repairSettingsDatabase(path);
            QVERIFY2(!failure, failure ? failure->what() : "");
        }

        auto db = db::Database::open(path);
        QCOMPARE(count(*db, u"ayarlar"_s), 1);
        auto rs = db->openRecordset(u"ayarlar"_s);
        QCOMPARE(rs->field(u"vtyol"_s).isNull(), vtyol.isNull());
        QCOMPARE(rs->text(u"vtyol"_s), vtyol.toString());
        QCOMPARE(count(*db, u"onsoz"_s), 1);
        QCOMPARE(onlyRowText(*db, u"onsoz"_s, u"vu"_s), vu);
        if (!vu.isEmpty())
            QCOMPARE(onlyRowText(*db, u"onsoz"_s, u"qel"_s), u"İkinci"_s);
        QCOMPARE(db->userVersion(), schema::kSettingsSchemaVersion);
    }

    void repairRefusesWhatItCannotMend_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not a database") << QByteArray("bu bir veritabanı değil, yalnızca metin");
        QTest::newRow("empty file") << QByteArray("");
    }

    void repairRefusesWhatItCannotMend()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir tmp;
        const QString path = tmp.filePath(u"nsz.dll"_s);
        writeFile(path, content);
        const std::optional<db::Error> failure = schema::repairSettingsDatabase(path);
        QVERIFY(failure);
        QVERIFY(!failure->description().isEmpty());
        QCOMPARE(readFile(path), content);
    }

    void generatedArchive_data()
    {
        QTest::addColumn<int>("songs");
        QTest::addColumn<int>("distinct");
        QTest::newRow("fewer songs than letters") << 5 << 3;
        QTest::newRow("one per letter") << 29 << 10;
        QTest::newRow("several hundred values") << 3000 << 300;
    }

    void generatedArchive()
    {
        QFETCH(int, songs);
        QFETCH(int, distinct);
        QTemporaryDir tmp;
        const QString path = tmp.filePath(u"buyuk.qel"_s);
        QString error;
        QVERIFY2(sample::generateArchive(path, songs, distinct, &error), qPrintable(error));
        auto db = db::Database::open(path);
        QCOMPARE(count(*db, u"Zelvoran"_s), songs);
        QCOMPARE(count(*db, u"basharfler"_s), std::min(songs, 29));
        checkTitles(*db);
        checkTitlesUnderLetters(*db, songs);
        QVERIFY(count(*db, u"sozluk"_s) > 0);
        QCOMPARE(db->userVersion(), schema::kSongSchemaVersion);
        for (const QString &f : kGrouped) {
            const FieldSpread s = spread(*db, f);
            QVERIFY(s.values.size() <= distinct);
            if (songs >= 1000) {
                QVERIFY2(s.nulls > 0 && s.empties > 0, qPrintable(f));
                QVERIFY2(s.values.size() >= distinct * 9 / 10, qPrintable(f));
                // The grouped tree's statement sees the same groups: values, empty text, Null.
                QCOMPARE(
                    count(*db, u"SELECT Zelvoran.%1 From Zelvoran GROUP BY Zelvoran.%1 ORDER BY Zelvoran.%1;"_s.arg(f)),
                    int(s.values.size()) + 2);
            }
        }
        const QVariantList lyrics = column(*db, u"Zelvoran"_s, u"Sözler"_s);
        for (const QVariant &l : lyrics)
            QVERIFY(l.toString().count(u'\n') >= 2);
    }

    void generatorIsRepeatable()
    {
        QTemporaryDir tmp;
        QString error;
        QByteArray digests[2];
        for (int i = 0; i < 2; ++i) {
            const QString path = tmp.filePath(u"g%1.qel"_s.arg(i));
            QVERIFY2(sample::generateArchive(path, 200, 20, &error), qPrintable(error));
            auto db = db::Database::open(path);
            QCryptographicHash hash(QCryptographicHash::Sha1);
            auto rs = db->openRecordset(u"Zelvoran"_s);
            for (; !rs->eof(); rs->moveNext()) {
                for (const QString &f : schema::songFields())
                    hash.addData((rs->field(f).isNull() ? u"<null>"_s : rs->text(f)).toUtf8());
            }
            digests[i] = hash.result();
        }
        QCOMPARE(digests[0], digests[1]);
        QVERIFY(!sample::generateArchive(tmp.filePath(u"bos.qel"_s), 0, 20, &error));
        QVERIFY(!QFileInfo::exists(tmp.filePath(u"bos.qel"_s)));
    }

    void toolWritesArchiveAndSettings()
    {
#ifndef QEL_ORNEK
        QSKIP("qel-ornek is not part of this build");
#else
        QTemporaryDir tmp;
        writeFile(tmp.filePath(u"cikti/ornek.qel"_s), "eski dosya");
        QProcess tool;
        tool.setWorkingDirectory(tmp.path());
        tool.start(QStringLiteral(QEL_ORNEK), {dataDir(), u"cikti"_s});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        const QString archive = QFileInfo(tmp.filePath(u"cikti/ornek.qel"_s)).absoluteFilePath();
        auto ayar = db::Database::open(tmp.filePath(u"cikti/nsz.dll"_s));
        QCOMPARE(onlyRowText(*ayar, u"ayarlar"_s, u"vtyol"_s), archive);
        QVERIFY(count(*db::Database::open(archive), u"Zelvoran"_s) >= 20);

        tool.start(QStringLiteral(QEL_ORNEK), {tmp.filePath(u"yok"_s), tmp.filePath(u"cikti2"_s)});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY(tool.exitCode() != 0);
        QVERIFY(!tool.readAllStandardError().isEmpty());

        tool.start(QStringLiteral(QEL_ORNEK), {u"--generate"_s, u"100"_s, tmp.filePath(u"g.qel"_s)});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(count(*db::Database::open(tmp.filePath(u"g.qel"_s)), u"Zelvoran"_s), 100);

        tool.start(QStringLiteral(QEL_ORNEK), {u"--generate"_s, u"çok"_s, tmp.filePath(u"h.qel"_s)});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY(tool.exitCode() != 0);
        QVERIFY(!tool.readAllStandardError().isEmpty());
#endif
    }
};

QTEST_GUILESS_MAIN(TestSample)
#include "test_sample.moc"
