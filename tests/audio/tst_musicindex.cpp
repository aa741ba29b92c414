#include "database.h"
#include "keywordquery.h"
#include "musicindex.h"
#include "recordset.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kHead = u"select * from muzik where muzik.dosya like '*"_s;
const QString kOr = u"*' or muzik.dosya like '*"_s;

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

struct Row {
    QString yol, dosya;
    int rate;
    bool operator==(const Row &o) const { return yol == o.yol && dosya == o.dosya && rate == o.rate; }
};

QList<Row> rows(db::Database &vt, const QString &source = u"muzik"_s)
{
    QList<Row> out;
    auto rs = vt.openRecordset(source);
    for (; !rs->eof(); rs->moveNext())
        out.append({rs->text(u"yol"_s), rs->text(u"dosya"_s), rs->field(u"Rate"_s).toInt()});
    return out;
}

} // namespace

class TestMusicIndex : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::shared_ptr<db::Database> m_vt;

    QString music(const QString &rel = {}) const { return m_dir.filePath(u"müzik/"_s + rel); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_vt = db::Database::create(m_dir.filePath(u"arşiv.qel"_s));
        schema::createSongDatabase(*m_vt);
    }

    void querySql_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("sql");

        QTest::newRow("four positions only")
            << u"Ey Dağlar Ben Geldim Yine"_s << kHead + u"Dağlar"_s + kOr + u"Geldim*'"_s;
        QTest::newRow("one word") << u"Sevda"_s << kHead + u"Sevda*'"_s;
        QTest::newRow("trailing blank") << u"Sevda "_s << kHead + u"Sevda*'"_s;
        QTest::newRow("dropped words only") << u"Ben Sen"_s << QString();
        QTest::newRow("short words only") << u"Ah Of"_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("two blanks") << u"Kara  Tren"_s << kHead + u"Kara"_s + kOr + u"Tren*'"_s;
        QTest::newRow("dropped spellings") << u"BEN SEN İLE İle ile Yar"_s << QString();
        QTest::newRow("other spellings kept")
            << u"bEn sEN ILE Yar"_s << kHead + u"bEn"_s + kOr + u"sEN"_s + kOr + u"ILE"_s + kOr + u"Yar*'"_s;
        QTest::newRow("three characters") << u"Yar Ah Gül"_s << kHead + u"Yar"_s + kOr + u"Gül*'"_s;
        QTest::newRow("leading blank") << u" Kara Tren"_s << kHead + u"Kara"_s + kOr + u"Tren*'"_s;
        QTest::newRow("apostrophe") << u"Nes'e"_s << kHead + u"Nes''e*'"_s;
        QTest::newRow("wildcards") << u"a*b? #12 [x]"_s
                                   << kHead + u"a[*]b[?]"_s + kOr + u"[#]12"_s + kOr + u"[[]x]*'"_s;
    }
    void querySql()
    {
        QFETCH(QString, title);
        QFETCH(QString, sql);
        QCOMPARE(audio::aramaSql(title), sql);
    }

    // The walk: extensions in any case, hidden names, links, order, folder spellings.
    void walk()
    {
        for (const QString &f : {u"b.Mp3"_s, u"a.mp3"_s, u"cmp3"_s, u"d.mp4"_s, u"e.mp3.bak"_s, u".x.mp3"_s,
                                 u"Alt/Sevda.mp3"_s, u"Alt/z.WAV"_s, u".cache/gizli.mp3"_s, u"Ç/ç.mp3"_s})
            touch(music(f));
        QVERIFY(QFile::link(music(), music(u"Alt/döngü"_s)));         // a loop
        QVERIFY(QFile::link(music(u"a.mp3"_s), music(u"bağ.mp3"_s))); // a link to a file
        QVERIFY(QFile::link(music(u"yok.mp3"_s), music(u"kırık.mp3"_s)));

        for (const QString &folder : {music(), music().chopped(1)}) {
            const audio::Listing l = audio::walk(folder);
            QCOMPARE(l.folders, (QStringList{music(), music(u"Alt/"_s), music(u"Ç/"_s)}));
            QStringList names;
            for (const auto &f : l.files)
                names << l.folders.at(f.folder) + f.name;
            QCOMPARE(names, (QStringList{music(u"Alt/Sevda.mp3"_s), music(u"Alt/z.WAV"_s), music(u"a.mp3"_s),
                                         music(u"b.Mp3"_s), music(u"bağ.mp3"_s), music(u"cmp3"_s), music(u"d.mp4"_s),
                                         music(u"e.mp3.bak"_s), music(u"Ç/ç.mp3"_s)}));
        }
        QVERIFY(audio::walk(QString()).files.empty());
        QVERIFY(audio::walk(music(u"yok"_s)).files.empty());
        QDir().mkpath(music(u"boş"_s));
        QVERIFY(audio::walk(music(u"boş"_s)).files.empty());
        if (geteuid() != 0) { // root reads every folder
            touch(music(u"kilitli/k.mp3"_s));
            QFile::setPermissions(music(u"kilitli"_s), QFileDevice::Permissions());
            const audio::Listing l = audio::walk(music());
            QFile::setPermissions(music(u"kilitli"_s),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QDir(music(u"kilitli"_s)).removeRecursively();
            QCOMPARE(l.files.size(), size_t(9));
        }
    }

    void extensionAndRate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("mp3");
        QTest::addColumn<int>("rate"); // for the title "Sevda"

        QTest::newRow("exact") << u"Sevda.mp3"_s << true << 0;
        QTest::newRow("other case") << u"sevda.mp3"_s << true << 1;
        QTest::newRow("numbered") << u"Sevda (2).mp3"_s << true << 1;
        QTest::newRow("upper extension") << u"Sevda.MP3"_s << true << 0;
        QTest::newRow("no dot") << u"Sevdaxmp3"_s << true << 0;
        QTest::newRow("short name") << u"mp3"_s << true << 1;
        QTest::newRow("other extension") << u"Sevda.mp4"_s << false << 0;
        QTest::newRow("empty") << QString() << false << 1;
    }
    void extensionAndRate()
    {
        QFETCH(QString, name);
        QFETCH(bool, mp3);
        QFETCH(int, rate);
        QCOMPARE(audio::hasExtension(name, u"MP3"_s), mp3);
        QVERIFY(!audio::hasExtension(name, QString()));
        QCOMPARE(audio::rate(name, u"Sevda"_s), rate);
    }

    // One row per file and extension, extension by extension; the old rows go.
    void indexRows()
    {
        audio::klasortara(*m_vt, u"Sevda"_s, {u"wav"_s, QString(), u"mp3"_s}, music());
        const QList<Row> first = rows(*m_vt);
        QCOMPARE(first.value(0), (Row{music(u"Alt/"_s), u"z.WAV"_s, 1}));
        QCOMPARE(first.value(1), (Row{music(u"Alt/"_s), u"Sevda.mp3"_s, 0}));
        QCOMPARE(first.size(), 7); // z.WAV, Sevda, a, b, bağ, cmp3, ç
        audio::klasortara(*m_vt, u"Sevda"_s, {u"mp3"_s, u"mp3"_s, u"ogg"_s}, music(u"Alt"_s));
        QCOMPARE(rows(*m_vt),
                 (QList<Row>{{music(u"Alt/"_s), u"Sevda.mp3"_s, 0}, {music(u"Alt/"_s), u"Sevda.mp3"_s, 0}}));
    }

    // Title words are matched as text, also when they hold quotes or wildcards.
    void hostileWords_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("found");

        QTest::newRow("apostrophe") << u"Nes'e"_s << QStringList{u"Nes'e.mp3"_s};
        QTest::newRow("or 1=1") << u"a' or 1=1 or dosya like 'b"_s << QStringList{};
        QTest::newRow("star") << u"**"_s << QStringList{};
        QTest::newRow("brackets") << u"[a-z]"_s << QStringList{u"[a-z].mp3"_s};
        QTest::newRow("hash") << u"#12"_s << QStringList{u"#12.mp3"_s};
    }
    void hostileWords()
    {
        QFETCH(QString, title);
        QFETCH(QStringList, found);
        QTemporaryDir dir;
        for (const QString &f :
             {u"Nes'e.mp3"_s, u"Nese.mp3"_s, u"b.mp3"_s, u"[a-z].mp3"_s, u"q.mp3"_s, u"#12.mp3"_s, u"512.mp3"_s})
            touch(dir.filePath(f));
        const QStringList list = audio::candidateList(*m_vt, title, dir.path(), {u"mp3"_s, {}, {}});
        QCOMPARE(list.value(0), u"Aradığım Listede Yok..."_s);
        QStringList names;
        for (const QString &p : list.mid(1))
            names << QFileInfo(p).fileName();
        QCOMPARE(names, found);
        QCOMPARE(m_vt->querySql(u"arama"_s), audio::aramaSql(title));
    }

    // At most 50 candidates, the exact title first; none when nothing matches.
    void candidates()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 72; ++i)
            touch(dir.filePath(u"a%1 Sevda.mp3"_s.arg(i, 2, 10, QChar(u'0'))));
        touch(dir.filePath(u"Sevda.wav"_s));
        QStringList list = audio::candidateList(*m_vt, u"Sevda"_s, dir.path(), {u"mp3"_s, u"wav"_s, u"wma"_s});
        QCOMPARE(list.size(), 51);
        QCOMPARE(list.value(1), dir.path() + u"/Sevda.wav"_s);
        QCOMPARE(rows(*m_vt).size(), 73);
        list = audio::candidateList(*m_vt, u"Gurbet"_s, dir.path(), {u"mp3"_s, u"wav"_s, u"wma"_s});
        QCOMPARE(list, QStringList{u"Aradığım Listede Yok..."_s});
        list = audio::candidateList(*m_vt, u"Ah"_s, dir.path(), {u"mp3"_s, u"wav"_s, u"wma"_s});
        QCOMPARE(list, QStringList{u"Aradığım Listede Yok..."_s});
        QCOMPARE(m_vt->querySql(u"arama"_s), QString());
    }

    // Names in another encoding than the file system's (Latin-5 bytes here): every path
    // offered exists.
    void namesNotInTheFileSystemEncoding()
    {
        QTemporaryDir dir;
        const QByteArray base = QFile::encodeName(dir.path());
        QVERIFY(::mkdir(QByteArray(base + "/Alt\xFD").constData(), 0700) == 0);
        for (const QByteArray &name : {QByteArray("/Sevda \xFE\xFDk.mp3"), QByteArray("/Alt\xFD/Sevda.mp3")}) {
            const int fd = ::open(QByteArray(base + name).constData(), O_CREAT | O_WRONLY, 0600);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        touch(dir.filePath(u"Sevda şarkı.mp3"_s));
        const QStringList list = audio::candidateList(*m_vt, u"Sevda"_s, dir.path(), {u"mp3"_s, u"wav"_s, u"wma"_s});
        QCOMPARE(list, (QStringList{u"Aradığım Listede Yok..."_s, dir.filePath(u"Sevda şarkı.mp3"_s)}));
        for (const QString &path : list.mid(1))
            QVERIFY2(QFile::exists(path), qPrintable(path));
    }

    // Engine failures come out as errors, and a failed rebuild keeps the old rows.
    void failures()
    {
        QTemporaryDir dir;
        touch(dir.filePath(u"Sevda.mp3"_s));
        audio::klasortara(*m_vt, u"Sevda"_s, {u"mp3"_s, {}, {}}, dir.path());
        const QString copy = m_dir.filePath(u"salt.qel"_s);
        QVERIFY(QFile::copy(m_vt->name(), copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner);
        if (geteuid() != 0) {
            auto ro = db::Database::open(copy);
            QVERIFY(ro->isReadOnly());
            try {
                audio::candidateList(*ro, u"Sevda"_s, dir.path(), {u"mp3"_s, {}, {}});
                QFAIL("a read-only archive took the index");
            } catch (const db::Error &e) {
                QCOMPARE(e.number(), int(db::ReadOnlyDatabase));
            }
        }
        m_vt->executeNative(u"ALTER TABLE muzik RENAME TO muzik_eski"_s);
        try {
            audio::candidateList(*m_vt, u"Sevda"_s, dir.path(), {u"mp3"_s, {}, {}});
            QFAIL("no muzik table, no error");
        } catch (const db::Error &e) {
            QCOMPARE(e.number(), int(db::ObjectNotFound));
        }
        m_vt->executeNative(u"ALTER TABLE muzik_eski RENAME TO muzik"_s);
        QCOMPARE(rows(*m_vt).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestMusicIndex)
#include "tst_musicindex.moc"
