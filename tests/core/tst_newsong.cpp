#include "database.h"
#include "dberror.h"
#include "faultfile.h"
#include "faults.h"
#include "newsong.h"
#include "recordset.h"
#include "schema.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <optional>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

enum class Fault { None, RefusingTrigger, ReadOnlyFile, FullDisk };

using Fields = QList<std::pair<QString, QString>>;

QString makeArchive(const QString &path)
{
    auto vt = db::Database::create(path);
    schema::createSongDatabase(*vt);
    vt->execute(u"INSERT INTO Zelvoran (Başlık, Yöresi) VALUES ('Ali Paşa', 'Sivas')"_s);
    return path;
}

QStringList titles(db::Database &vt)
{
    QStringList out;
    for (auto rs = vt.openRecordset(u"SELECT Başlık FROM Zelvoran ORDER BY Başlık"_s); !rs->eof(); rs->moveNext())
        out << rs->text(u"Başlık"_s);
    return out;
}

} // namespace

class TestNewSong : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { fault::install(); }
    void add_data();
    void add();
};

void TestNewSong::add_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("error");

    const Fields some = {{u"Yöresi"_s, u"Konya"_s}, {u"Türü"_s, QString()}, {u"Sözler"_s, u" Gel yanıma "_s}};
    QTest::newRow("song") << u"Yeni Türkü"_s << some << Fault::None << 0;
    QTest::newRow("title only") << u"Yeni Türkü"_s << Fields{} << Fault::None << 0;
    QTest::newRow("title of blanks") << u"  "_s << some << Fault::None << 0;
    QTest::newRow("title taken, other case") << u"ALİ PAŞA"_s << some << Fault::None << int(db::DuplicateKey);
    QTest::newRow("field the table lacks")
        << u"Yeni Türkü"_s << Fields{{u"Yöre"_s, u"Konya"_s}} << Fault::None << int(db::ItemNotFound);
    QTest::newRow("write refused") << u"Yeni Türkü"_s << some << Fault::RefusingTrigger << int(db::EngineFailure);
    QTest::newRow("read-only file") << u"Yeni Türkü"_s << some << Fault::ReadOnlyFile << int(db::ReadOnlyDatabase);
    QTest::newRow("full disk") << u"Yeni Türkü"_s << some << Fault::FullDisk << int(db::DiskFull);
}

// The row is stored as given, or the engine's error comes back and the table is as it was.
void TestNewSong::add()
{
    QFETCH(QString, title);
    QFETCH(Fields, fields);
    QFETCH(Fault, fault);
    QFETCH(int, error);

    QTemporaryDir dir;
    const QString path = makeArchive(dir.filePath(u"a.qel"_s));
    if (fault == Fault::RefusingTrigger)
        QVERIFY(faults::refuseWrites(path, u"Zelvoran"_s, u"Disk dolu"_s));
    if (fault == Fault::ReadOnlyFile)
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    std::optional<fault::RefusedWrites> full;
    if (fault == Fault::FullDisk)
        full.emplace(path, SQLITE_FULL);

    auto vt = db::Database::open(path);
    const std::optional<db::Error> e = newsong::add(*vt, title, fields);
    full.reset();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    auto reopened = db::Database::open(path);
    if (error != 0) {
        QVERIFY(e);
        QCOMPARE(e->number(), error);
        QVERIFY(!e->description().isEmpty());
        if (fault == Fault::RefusingTrigger)
            QVERIFY2(e->description().contains(u"Disk dolu"_s), qPrintable(e->description()));
        QCOMPARE(titles(*reopened), QStringList{u"Ali Paşa"_s});
        return;
    }
    QVERIFY2(!e, e ? qPrintable(e->description()) : "");
    QCOMPARE(titles(*reopened).size(), 2);
    QVERIFY(titles(*reopened).contains(title));
    auto rs = reopened->openRecordset(u"SELECT * FROM Zelvoran WHERE Başlık = ?"_s, {title});
    QVERIFY(!rs->eof());
    // Texts as typed, an empty text and every field not given as Null.
    for (const QString &field : schema::songFields().mid(1)) {
        const auto given = std::find_if(fields.cbegin(), fields.cend(),
                                        [&](const auto &f) { return f.first == field; });
        if (given == fields.cend() || given->second.isEmpty())
            QVERIFY2(rs->field(field).isNull(), qPrintable(field));
        else
            QCOMPARE(rs->text(field), given->second);
    }
}

QTEST_GUILESS_MAIN(TestNewSong)
#include "tst_newsong.moc"
